#include <gtest/gtest.h>

#include "controls/Declare.h"

// clang-format off
#define KIVREL_TEST_WINDOW_CONTROLS(X)                                                                 \
  X(chkBox) X(txtName) X(txtOther) X(txtWord) X(radLeft) X(radCenter) X(radRight) X(cmdGo) X(cmdAdd) \
  X(cmdBuild) X(cmdCancel) X(cmdNothing) X(lblCount)
// clang-format on

#define KIVREL_OTHER_WINDOW_CONTROLS(X) X(cmdGo)

namespace kivrel::frmTest {
KIVREL_DECLARE_WINDOW(frmTest, KIVREL_TEST_WINDOW_CONTROLS)
}  // namespace kivrel::frmTest
namespace kivrel::frmOther {
KIVREL_DECLARE_WINDOW(frmOther, KIVREL_OTHER_WINDOW_CONTROLS)
}  // namespace kivrel::frmOther

namespace kivrel {
namespace {

using namespace frmTest;
using Heard = std::vector<std::pair<Control, Property>>;

TEST(Form, EventsRunOnChangesOnlyInTheOrderTheyWereAddedAndOptionsClearTheirGroupQuietly) {
  Form form(kWindow);
  std::vector<std::string> seen;
  form.On(chkBox, Event::Click, [&] { seen.push_back("click"); });
  form.On(txtName, Event::Change, [&] { seen.push_back(form.Text(txtName)); });
  form.On({}, Event::Activate, [&] { seen.push_back("first"); });
  form.On({}, Event::Activate, [&] { seen.push_back("second"); });
  form.SetOptionGroup({radLeft, radCenter, radRight});
  for (auto [option, name] : {std::pair{radLeft, "left"}, {radCenter, "center"}, {radRight, "right"}}) {
    form.On(option, Event::Click, [&seen, name] { seen.push_back(name); });
  }
  for (int value : {1, 1, 0}) form.SetValue(chkBox, value);
  for (const char* text : {"a", "a", ""}) form.SetText(txtName, text);
  form.SetValue(radCenter, 1);
  form.SetValue(radRight, 1);
  form.Raise({}, Event::Activate);
  form.Raise(cmdNothing, Event::Click);
  EXPECT_EQ(seen, (std::vector<std::string>{"click", "click", "a", "", "center", "right", "first", "second"}));
  EXPECT_EQ(std::make_pair(form.Value(radCenter), form.Value(radRight)), std::make_pair(0, 1));
  EXPECT_EQ(form.RaiseKeyPress(txtOther, 'x'), 'x');
}

TEST(Form, ListenersHearEveryChangeButDefineAndAHoldPassesOnlyNetChangesToThoseWhoWait) {
  Form form(kWindow);
  Heard now, waited;
  const int id = form.Subscribe([&](Control control, Property p) { now.emplace_back(control, p); });
  form.Subscribe([&](Control control, Property p) { waited.emplace_back(control, p); }, true);
  form.Define(cmdGo, [](ControlState& s) { s.Text = "&Go"; });
  EXPECT_TRUE(now.empty());
  EXPECT_EQ(form.Text(cmdGo), "&Go");
  EXPECT_FALSE(form.State(cmdGo).IsAssigned(Property::Text));
  form.SetText(lblCount, "12");
  form.SetDefault(cmdAdd, true);
  form.Show(true);
  EXPECT_TRUE(form.ShownModal());
  EXPECT_EQ(now.back().second, Property::Shown);
  now.clear();
  waited.clear();

  form.HoldChanges();
  form.SetEnabled(cmdBuild, false);  // off and on again: never shown
  form.SetText(lblCount, "");
  form.SetEnabled(cmdBuild, true);
  form.SetText(lblCount, "12");
  form.SetEnabled(cmdCancel, false);  // a real change
  form.SetEnabled(cmdCancel, false);  // no change at all
  form.SetDefault(cmdGo, true);       // takes the default from cmdAdd
  form.SetCaption("Building");        // the window itself is never held
  EXPECT_EQ(now.size(), 8u) << "listeners that do not wait hear every change at once";
  EXPECT_EQ(waited, (Heard{{Control{}, Property::Caption}}));

  form.SetEnabled(txtWord, false);
  form.SetFocus(txtName);  // what was held is passed on first
  EXPECT_EQ(waited, (Heard{{Control{}, Property::Caption},
                           {cmdCancel, Property::Enabled},
                           {cmdAdd, Property::Default},
                           {cmdGo, Property::Default},
                           {txtWord, Property::Enabled},
                           {txtName, Property::Focus}}));
  waited.clear();
  form.SetText(lblCount, "13");
  form.ShowHeldChanges();  // as before events run
  form.SetText(lblCount, "12");
  form.ReleaseChanges();
  form.SetEnabled(cmdBuild, false);  // no hold: heard at once
  EXPECT_EQ(waited, (Heard{{lblCount, Property::Text}, {lblCount, Property::Text}, {cmdBuild, Property::Enabled}}));
  EXPECT_TRUE(form.State(cmdCancel).IsAssigned(Property::Enabled));
  form.Unsubscribe(id);
  now.clear();
  form.Hide();
  EXPECT_TRUE(now.empty());
  EXPECT_FALSE(form.Visible());
}

// A control of another window, a name the window does not declare and an element past
// the end of a control array are all refused out loud.
TEST(Form, RefusesWhatIsNoControlOfItsWindow) {
  Form form(kWindow);
  const Control other = frmOther::cmdGo;  // the same name in another window
  EXPECT_THROW(form.SetEnabled(other, false), std::invalid_argument);
  EXPECT_THROW(form.Text(other), std::invalid_argument);
  EXPECT_THROW(form.On(other, Event::Click, [] {}), std::invalid_argument);
  EXPECT_THROW(form.SetOptionGroup({radLeft, other}), std::invalid_argument);
  EXPECT_EQ(kWindow.Find("cmdGo"), cmdGo);
  EXPECT_EQ(kWindow.Find("cmdgo"), std::nullopt);
  EXPECT_THROW(kWindow.Get("cmdgo"), std::invalid_argument);
  const ControlArray<2> sides{{radLeft, radRight}};
  EXPECT_EQ(sides[1], radRight);
  EXPECT_THROW(sides[2], std::out_of_range);
}

}  // namespace
}  // namespace kivrel
