#include <gtest/gtest.h>

#include "model/Forms.h"

namespace kivrel {
namespace {

TEST(Form, ValuesAndTextsRaiseTheirEventsOnlyWhenTheyChange) {
  Form form("frmTest");
  std::vector<std::string> seen;
  form.On("chkBox", Event::Click, [&] { seen.push_back("click"); });
  form.On("txtName", Event::Change, [&] { seen.push_back(form.Text("txtName")); });
  form.SetValue("chkBox", 1);
  form.SetValue("chkBox", 1);
  form.SetValue("chkBox", 0);
  form.SetText("txtName", "a");
  form.SetText("txtName", "a");
  form.SetText("txtName", "");
  EXPECT_EQ(seen, (std::vector<std::string>{"click", "click", "a", ""}));
}

TEST(Form, SelectingAnOptionClearsTheOthersOfItsGroupQuietly) {
  Form form("frmTest");
  form.SetOptionGroup({"radLeft", "radCenter", "radRight"});
  std::vector<std::string> clicked;
  for (auto name : {"radLeft", "radCenter", "radRight"}) {
    form.On(name, Event::Click, [&clicked, name] { clicked.push_back(name); });
  }
  form.SetValue("radCenter", 1);
  form.SetValue("radRight", 1);
  EXPECT_EQ(form.Value("radCenter"), 0);
  EXPECT_EQ(form.Value("radRight"), 1);
  EXPECT_EQ(clicked, (std::vector<std::string>{"radCenter", "radRight"}));
}

TEST(Form, ListenersHearEveryChangeAndDefineIsQuiet) {
  Form form("frmTest");
  std::vector<std::pair<std::string, Property>> heard;
  int id = form.Subscribe([&](std::string_view control, Property p) { heard.emplace_back(control, p); });
  form.Define("cmdGo", [](ControlState& s) {
    s.Text = "&Go";
    s.Enabled = false;
  });
  EXPECT_TRUE(heard.empty());
  EXPECT_EQ(form.Text("cmdGo"), "&Go");
  EXPECT_FALSE(form.Control("cmdGo").IsAssigned(Property::Text));
  form.SetEnabled("cmdGo", true);
  form.SetEnabled("cmdGo", true);
  form.SetCaption("Title");
  form.Show(true);
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[0], (std::pair<std::string, Property>{"cmdGo", Property::Enabled}));
  EXPECT_EQ(heard[1].second, Property::Caption);
  EXPECT_EQ(heard[2].second, Property::Shown);
  EXPECT_TRUE(form.ShownModal());
  EXPECT_TRUE(form.Control("cmdGo").IsAssigned(Property::Enabled));
  form.Unsubscribe(id);
  form.Hide();
  EXPECT_EQ(heard.size(), 3u);
  EXPECT_FALSE(form.Visible());
}

TEST(Form, AHoldPassesOnlyNetChangesToWaitingListenersAndAFocusFindsTheControlsAsTheyAre) {
  Form form("frmTest");
  using Heard = std::vector<std::pair<std::string, Property>>;
  Heard now, waited;
  form.Subscribe([&](std::string_view control, Property p) { now.emplace_back(control, p); });
  form.Subscribe([&](std::string_view control, Property p) { waited.emplace_back(control, p); }, true);
  form.SetText("lblCount", "12");
  form.SetDefault("cmdAdd", true);
  now.clear();
  waited.clear();

  form.HoldChanges();
  form.SetEnabled("cmdBuild", false);  // off and on again: never shown
  form.SetText("lblCount", "");
  form.SetEnabled("cmdBuild", true);
  form.SetText("lblCount", "12");
  form.SetEnabled("cmdCancel", false);  // a real change
  form.SetDefault("cmdGo", true);       // takes the default from cmdAdd
  form.SetCaption("Building");          // the window itself is never held
  EXPECT_EQ(now.size(), 8u) << "listeners that do not wait hear every change at once";
  EXPECT_EQ(waited, (Heard{{"", Property::Caption}}));

  form.SetEnabled("txtWord", false);
  form.SetFocus("txtName");  // what was held is passed on first
  EXPECT_EQ(waited, (Heard{{"", Property::Caption},
                           {"cmdCancel", Property::Enabled},
                           {"cmdAdd", Property::Default},
                           {"cmdGo", Property::Default},
                           {"txtWord", Property::Enabled},
                           {"txtName", Property::Focus}}));

  waited.clear();
  form.SetText("lblCount", "13");
  form.ShowHeldChanges();  // as before events run
  EXPECT_EQ(waited, (Heard{{"lblCount", Property::Text}}));
  form.SetText("lblCount", "12");
  form.ReleaseChanges();
  EXPECT_EQ(waited, (Heard{{"lblCount", Property::Text}, {"lblCount", Property::Text}}));
  EXPECT_EQ(form.Text("lblCount"), "12");

  waited.clear();
  form.SetEnabled("cmdBuild", false);  // no hold: heard at once
  EXPECT_EQ(waited, (Heard{{"cmdBuild", Property::Enabled}}));
}

TEST(Form, HandlersRunInTheOrderTheyWereAddedAndUnhandledKeysPass) {
  Form form("frmTest");
  std::string order;
  form.On("", Event::Activate, [&] { order += "a"; });
  form.On("", Event::Activate, [&] { order += "b"; });
  form.Raise("", Event::Activate);
  form.Raise("cmdNothing", Event::Click);
  EXPECT_EQ(order, "ab");
  form.Raise("txtName", Event::GotFocus);
  EXPECT_EQ(form.FocusedControl(), "txtName");
  EXPECT_EQ(form.RaiseKeyPress("txtOther", 'x'), 'x');
}

}  // namespace
}  // namespace kivrel
