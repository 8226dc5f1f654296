#include <gtest/gtest.h>

#include "controls/Declare.h"

// clang-format off
#define KIVREL_TEST_WINDOW_CONTROLS(X) \
  X(txtName) X(radLeft) X(radRight) X(cmdGo) X(cmdAdd) X(cmdBuild) X(cmdCancel) X(lblCount)
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

// Listeners that do not wait hear every change at once; a hold passes only the net
// changes on to those who wait, when it is shown or released or before a focus change.
TEST(Form, AHoldPassesOnlyNetChangesToThoseWhoWait) {
  Form form(kWindow);
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
  form.SetEnabled(cmdCancel, false);  // no change at all
  form.SetDefault(cmdGo, true);       // takes the default from cmdAdd
  form.SetCaption("Building");        // the window itself is never held
  EXPECT_EQ(now.size(), 8u);
  EXPECT_EQ(waited, (Heard{{Control{}, Property::Caption}}));
  form.SetFocus(txtName);
  EXPECT_EQ(waited, (Heard{{Control{}, Property::Caption},
                           {cmdCancel, Property::Enabled},
                           {cmdAdd, Property::Default},
                           {cmdGo, Property::Default},
                           {txtName, Property::Focus}}));
  waited.clear();
  form.SetText(lblCount, "13");
  form.ShowHeldChanges();  // as before events run
  form.SetText(lblCount, "12");
  form.ReleaseChanges();
  form.SetEnabled(cmdBuild, false);  // no hold: heard at once
  EXPECT_EQ(waited, (Heard{{lblCount, Property::Text}, {lblCount, Property::Text}, {cmdBuild, Property::Enabled}}));
}

// A control of another window, a name the window does not declare and an element past
// the end of a control array are all refused out loud.
TEST(Form, RefusesWhatIsNoControlOfItsWindow) {
  Form form(kWindow);
  const Control other = frmOther::cmdGo;  // the same name in another window
  EXPECT_THROW(form.SetEnabled(other, false), std::invalid_argument);
  EXPECT_THROW(form.Text(other), std::invalid_argument);
  EXPECT_THROW(form.On(other, Event::Click, [] {}), std::invalid_argument);
  EXPECT_EQ(kWindow.Find("cmdGo"), cmdGo);
  EXPECT_THROW(kWindow.Get("cmdgo"), std::invalid_argument);
  const ControlArray<2> sides{{radLeft, radRight}};
  EXPECT_THROW(sides[2], std::out_of_range);
}

}  // namespace
}  // namespace kivrel
