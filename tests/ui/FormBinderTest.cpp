// The binder between a window's widgets and its form: the design's values, what the
// program sets, the user's actions, modal windows and the client area.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "controls/Declare.h"
#include "ui/Design.h"
#include "ui/FormBinder.h"

#define KIVREL_TEST_WINDOW_CONTROLS(X) X(cmdGo) X(chkOption) X(radLeft) X(radRight) X(lblCount) X(txtName) X(mnuSound)

namespace kivrel::frmTest {
KIVREL_DECLARE_WINDOW(frmTest, KIVREL_TEST_WINDOW_CONTROLS)
}  // namespace kivrel::frmTest

namespace kivrel {
namespace {

using namespace frmTest;

// A window of each kind of control, named as the program names its controls.
struct TestWindow {
  QDialog dialog;
  QPushButton* go = Design::Named(new QPushButton("&Go", &dialog), cmdGo);
  QCheckBox* option = Design::Named(new QCheckBox("Option", &dialog), chkOption);
  QRadioButton* left = Design::Named(new QRadioButton("Left", &dialog), radLeft);
  QRadioButton* right = Design::Named(new QRadioButton("Right", &dialog), radRight);
  QLabel* count = Design::Named(new QLabel("design", &dialog), lblCount);
  QLineEdit* name = Design::Named(new QLineEdit(&dialog), txtName);
  QAction* sound = Design::Named(new QAction("&Sound", &dialog), mnuSound);

  TestWindow() {
    Design::Named(&dialog, kWindow);
    dialog.setWindowTitle("Test Window");
    left->setChecked(true);
    name->move(0, 100);
    sound->setCheckable(true);
    sound->setChecked(true);
    dialog.addAction(sound);
  }
};

struct FormBinderTest : ::testing::Test {
  TestWindow w;
  Form form{kWindow};
};

// The form takes the design's values for what the program has not set, and the widgets
// show whatever it sets after.
TEST_F(FormBinderTest, TakesTheDesignAndShowsWhatTheProgramSets) {
  form.SetText(lblCount, "7");
  w.go->setEnabled(false);
  FormBinder binder(&w.dialog, form);
  EXPECT_EQ(form.Caption() + "|" + form.Text(cmdGo) + "|" + form.Text(lblCount), "Test Window|&Go|7");
  EXPECT_EQ(w.count->text(), "7");  // the program's value wins
  EXPECT_FALSE(form.Enabled(cmdGo));
  EXPECT_EQ(form.Value(radLeft), 1);
  EXPECT_TRUE(form.Checked(mnuSound));

  form.SetEnabled(cmdGo, true);
  form.SetText(cmdGo, "Hide &Word");
  form.SetValue(chkOption, 1);
  form.SetText(txtName, "apple");
  form.SetCaption("Kivrel Puzzle Maker - Zoo");
  form.SetDefault(cmdGo, true);
  form.SetVisible(lblCount, false);
  form.SetChecked(mnuSound, false);
  form.SetBounds(txtName, {150, 300, 1500, 450});  // twips, 15 to a pixel
  form.SetFont(cmdGo, FontSpec{"Times New Roman", 18, true, true});
  const QFont font = w.go->font();
  EXPECT_EQ(QStringList({w.go->text(), w.name->text(), w.dialog.windowTitle(), font.family()}).join("|"),
            "Hide &Word|apple|Kivrel Puzzle Maker - Zoo|Times New Roman");
  EXPECT_EQ(std::vector<bool>({w.go->isEnabled(), w.go->isDefault(), w.option->isChecked(), w.count->isHidden(),
                               w.sound->isChecked(), font.pointSizeF() == 18 && font.bold() && font.italic()}),
            std::vector<bool>({true, true, true, true, false, true}));
  EXPECT_EQ(w.name->geometry(), QRect(10, 20, 100, 30));
}

TEST_F(FormBinderTest, ForwardsTheUsersActions) {
  form.SetOptionGroup({radLeft, radRight});
  FormBinder binder(&w.dialog, form);
  std::vector<std::string> events;
  form.On(cmdGo, Event::Click, [&] { events.push_back("go"); });
  form.On(chkOption, Event::Click, [&] { events.push_back("option " + std::to_string(form.Value(chkOption))); });
  form.On(radRight, Event::Click, [&] { events.push_back("right"); });
  form.On(txtName, Event::Change, [&] { events.push_back("text " + form.Text(txtName)); });

  w.go->click();
  w.option->click();
  w.right->click();
  QTest::keyClicks(w.name, "ab");
  EXPECT_EQ(events, (std::vector<std::string>{"go", "option 1", "right", "text a", "text ab"}));
  EXPECT_EQ(form.Value(radLeft), 0);
  EXPECT_FALSE(w.left->isChecked());

  // A value the program sets raises the click once, not again through the widget.
  events.clear();
  form.SetValue(chkOption, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"option 0"}));
  EXPECT_FALSE(w.option->isChecked());

  // A menu item's check mark is the program's to set, not the click's.
  form.On(mnuSound, Event::Click, [&] { form.SetChecked(mnuSound, !form.Checked(mnuSound)); });
  w.sound->trigger();
  EXPECT_FALSE(form.Checked(mnuSound) || w.sound->isChecked());
}

TEST_F(FormBinderTest, ClicksInAModalWindowReachTheForm) {
  FormBinder binder(&w.dialog, form);
  bool unloaded = false;
  form.On(cmdGo, Event::Click, [&] { unloaded = form.Unload(); });
  QTimer::singleShot(0, [&] { QTest::mouseClick(w.go, Qt::LeftButton); });
  form.Show(true);
  EXPECT_TRUE(unloaded);
  EXPECT_FALSE(w.dialog.isVisible() || form.Visible());
}

TEST(FormBinder, TheClientAreaOfAMainWindowIsBelowItsMenuBar) {
  QMainWindow window;
  window.menuBar()->addMenu("&File");
  window.setCentralWidget(new QWidget);
  window.resize(300, 200);
  Form form(frmTest::kWindow);
  FormBinder binder(&window, form);
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(form.Geometry().ScaleWidth, 300 * 15);
  EXPECT_EQ(form.Geometry().ScaleHeight, window.centralWidget()->height() * 15);
  EXPECT_LT(form.Geometry().ScaleHeight, 200 * 15);
}

}  // namespace
}  // namespace kivrel
