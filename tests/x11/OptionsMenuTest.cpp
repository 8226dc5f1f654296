// The Options menu by keyboard on a real X server: Alt+O opens it, and an item's letter
// runs that item.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <gtest/gtest.h>

#include "RealDialogs.h"

namespace kivrel::testing {
namespace {

constexpr int kPatience = 10000;

// Alt+O, then the item's letter; true once the menu has closed again.
bool ChooseOption(XInput& input, unsigned long letter) {
  input.Key(XK_o, {XK_Alt_L});
  if (!WaitFor(
          [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu && menu->menuAction()->objectName() == "mnuOptions";
          },
          kPatience)) {
    return false;
  }
  input.Key(letter);
  return WaitFor([] { return QApplication::activePopupWidget() == nullptr; }, kPatience);
}

TEST(OptionsMenu, TheAccessKeysToggleTheMarksAndOpenAvoidWords) {
  RealProgram program;
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(Ready(main));
  Settle(300);  // the window manager hands the keyboard over just after activating it
  auto* avoid = main->findChild<QAction*>("mnuAvoidWords");
  ASSERT_TRUE(avoid);

  XInput input;
  const std::pair<unsigned long, Control> marks[] = {{XK_n, frmKV_Puzzle::mnuNoDuplicates},
                                                     {XK_l, frmKV_Puzzle::mnuLowerCase}};
  for (auto [letter, control] : marks) {
    auto* item = main->findChild<QAction*>(QString::fromUtf8(control.Name().data(), control.Name().size()));
    ASSERT_TRUE(item) << control;
    const bool was = item->isChecked();
    for (bool expected : {!was, was}) {
      ASSERT_TRUE(ChooseOption(input, letter));
      EXPECT_TRUE(WaitFor([&] { return item->isChecked() == expected; }, kPatience)) << control;
      EXPECT_EQ(program.ctx().MainForm().Checked(control), expected) << control;
      ASSERT_TRUE(Ready(main));
    }
  }

  // The real file dialog comes up; cancelled, no words are avoided.
  BoxAnswers boxes(input);
  boxes.Then(XK_Escape);
  ASSERT_TRUE(ChooseOption(input, XK_a));
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Avoid Words"});
  EXPECT_FALSE(avoid->isChecked());
  EXPECT_TRUE(program.ctx().AvoidWords.empty());
}

}  // namespace
}  // namespace kivrel::testing
