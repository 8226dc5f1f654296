// The program on a real X server with a window manager: the window it opens is the active
// one, and keys typed on the keyboard reach it through the server.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <gtest/gtest.h>

#include "RunningProgram.h"
#include "XInput.h"

namespace kivrel::testing {
namespace {

TEST(Desktop, TheMainWindowOpensActiveAndAnswersTheKeyboard) {
  RunningProgram program;
  ASSERT_TRUE(WaitActive(program.window())) << "the main window did not become the active window";
  EXPECT_EQ(QApplication::activeWindow(), program.window());

  XInput input;
  input.Key(XK_f, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->menuAction()->objectName(), "mnuFile");

  input.Key(XK_Escape);
  EXPECT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
}

}  // namespace
}  // namespace kivrel::testing
