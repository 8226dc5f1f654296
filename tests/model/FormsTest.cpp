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

TEST(Form, ValuesAndTextsRaiseTheirEventsOnlyWhenTheyChange) {
  Form form(kWindow);
  std::vector<std::string> seen;
  form.On(chkBox, Event::Click, [&] { seen.push_back("click"); });
  form.On(txtName, Event::Change, [&] { seen.push_back(form.Text(txtName)); });
  form.SetValue(chkBox, 1);
  form.SetValue(chkBox, 1);
  form.SetValue(chkBox, 0);
  form.SetText(txtName, "a");
  form.SetText(txtName, "a");
  form.SetText(txtName, "");
  EXPECT_EQ(seen, (std::vector<std::string>{"click", "click", "a", ""}));
}

TEST(Form, SelectingAnOptionClearsTheOthersOfItsGroupQuietly) {
  Form form(kWindow);
  form.SetOptionGroup({radLeft, radCenter, radRight});
  std::vector<Control> clicked;
  for (Control option : {radLeft, radCenter, radRight}) {
    form.On(option, Event::Click, [&clicked, option] { clicked.push_back(option); });
  }
  form.SetValue(radCenter, 1);
  form.SetValue(radRight, 1);
  EXPECT_EQ(form.Value(radCenter), 0);
  EXPECT_EQ(form.Value(radRight), 1);
  EXPECT_EQ(clicked, (std::vector<Control>{radCenter, radRight}));
}

TEST(Form, ListenersHearEveryChangeAndDefineIsQuiet) {
  Form form(kWindow);
  std::vector<std::pair<Control, Property>> heard;
  int id = form.Subscribe([&](Control control, Property p) { heard.emplace_back(control, p); });
  form.Define(cmdGo, [](ControlState& s) {
    s.Text = "&Go";
    s.Enabled = false;
  });
  EXPECT_TRUE(heard.empty());
  EXPECT_EQ(form.Text(cmdGo), "&Go");
  EXPECT_FALSE(form.State(cmdGo).IsAssigned(Property::Text));
  form.SetEnabled(cmdGo, true);
  form.SetEnabled(cmdGo, true);
  form.SetCaption("Title");
  form.Show(true);
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[0], (std::pair<Control, Property>{cmdGo, Property::Enabled}));
  EXPECT_EQ(heard[1].second, Property::Caption);
  EXPECT_EQ(heard[2].second, Property::Shown);
  EXPECT_TRUE(form.ShownModal());
  EXPECT_TRUE(form.State(cmdGo).IsAssigned(Property::Enabled));
  form.Unsubscribe(id);
  form.Hide();
  EXPECT_EQ(heard.size(), 3u);
  EXPECT_FALSE(form.Visible());
}

TEST(Form, AHoldPassesOnlyNetChangesToWaitingListenersAndAFocusFindsTheControlsAsTheyAre) {
  Form form(kWindow);
  using Heard = std::vector<std::pair<Control, Property>>;
  Heard now, waited;
  form.Subscribe([&](Control control, Property p) { now.emplace_back(control, p); });
  form.Subscribe([&](Control control, Property p) { waited.emplace_back(control, p); }, true);
  form.SetText(lblCount, "12");
  form.SetDefault(cmdAdd, true);
  now.clear();
  waited.clear();

  form.HoldChanges();
  form.SetEnabled(cmdBuild, false);  // off and on again: never shown
  form.SetText(lblCount, "");
  form.SetEnabled(cmdBuild, true);
  form.SetText(lblCount, "12");
  form.SetEnabled(cmdCancel, false);  // a real change
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
  EXPECT_EQ(waited, (Heard{{lblCount, Property::Text}}));
  form.SetText(lblCount, "12");
  form.ReleaseChanges();
  EXPECT_EQ(waited, (Heard{{lblCount, Property::Text}, {lblCount, Property::Text}}));
  EXPECT_EQ(form.Text(lblCount), "12");

  waited.clear();
  form.SetEnabled(cmdBuild, false);  // no hold: heard at once
  EXPECT_EQ(waited, (Heard{{cmdBuild, Property::Enabled}}));
}

TEST(Form, HandlersRunInTheOrderTheyWereAddedAndUnhandledKeysPass) {
  Form form(kWindow);
  std::string order;
  form.On({}, Event::Activate, [&] { order += "a"; });
  form.On({}, Event::Activate, [&] { order += "b"; });
  form.Raise({}, Event::Activate);
  form.Raise(cmdNothing, Event::Click);
  EXPECT_EQ(order, "ab");
  EXPECT_EQ(form.RaiseKeyPress(txtOther, 'x'), 'x');
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
