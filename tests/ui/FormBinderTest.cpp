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

#include "ui/FormBinder.h"
#include "ui/SpinButton.h"

#include <QToolButton>

namespace kivrel {
namespace {

struct Window {
  QDialog dialog;
  QPushButton* go;
  QCheckBox* option;
  QRadioButton* left;
  QRadioButton* right;
  QLabel* count;
  QLineEdit* name;
  QAction* sound;

  Window() {
    dialog.setObjectName("frmTest");
    dialog.setWindowTitle("Test Window");
    go = new QPushButton("&Go", &dialog);
    go->setObjectName("cmdGo");
    option = new QCheckBox("Option", &dialog);
    option->setObjectName("chkOption");
    left = new QRadioButton("Left", &dialog);
    left->setObjectName("radLeft");
    left->setChecked(true);
    right = new QRadioButton("Right", &dialog);
    right->setObjectName("radRight");
    count = new QLabel("design", &dialog);
    count->setObjectName("lblCount");
    name = new QLineEdit(&dialog);
    name->setObjectName("txtName");
    name->move(0, 100);
    sound = new QAction("&Sound", &dialog);
    sound->setObjectName("mnuSound");
    sound->setCheckable(true);
    sound->setChecked(true);
    dialog.addAction(sound);
  }
};

TEST(FormBinder, TakesDesignValuesForWhatTheProgramHasNotSet) {
  Window w;
  Form form("frmTest");
  form.SetText("lblCount", "7");
  w.go->setEnabled(false);
  FormBinder binder(&w.dialog, form);
  EXPECT_EQ(form.Caption(), "Test Window");
  EXPECT_EQ(form.Text("cmdGo"), "&Go");
  EXPECT_FALSE(form.Enabled("cmdGo"));
  EXPECT_EQ(form.Value("radLeft"), 1);
  EXPECT_TRUE(form.Checked("mnuSound"));
  EXPECT_EQ(w.count->text(), "7");  // the program's value wins
  EXPECT_EQ(form.Text("lblCount"), "7");
}

TEST(FormBinder, ShowsWhatTheProgramSets) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  form.SetEnabled("cmdGo", false);
  form.SetText("cmdGo", "Hide &Word");
  form.SetValue("chkOption", 1);
  form.SetText("txtName", "apple");
  form.SetCaption("Kivrel Puzzle Maker - Zoo");
  form.SetDefault("cmdGo", true);
  form.SetVisible("lblCount", false);
  form.SetChecked("mnuSound", false);
  EXPECT_FALSE(w.go->isEnabled());
  EXPECT_EQ(w.go->text(), "Hide &Word");
  EXPECT_TRUE(w.go->isDefault());
  EXPECT_TRUE(w.option->isChecked());
  EXPECT_EQ(w.name->text(), "apple");
  EXPECT_EQ(w.dialog.windowTitle(), "Kivrel Puzzle Maker - Zoo");
  EXPECT_TRUE(w.count->isHidden());
  EXPECT_FALSE(w.sound->isChecked());
}

TEST(FormBinder, ForwardsTheUsersActions) {
  Window w;
  Form form("frmTest");
  form.SetOptionGroup({"radLeft", "radRight"});
  FormBinder binder(&w.dialog, form);
  std::vector<std::string> events;
  form.On("cmdGo", Event::Click, [&] { events.push_back("go"); });
  form.On("chkOption", Event::Click, [&] { events.push_back("option " + std::to_string(form.Value("chkOption"))); });
  form.On("radRight", Event::Click, [&] { events.push_back("right"); });
  form.On("txtName", Event::Change, [&] { events.push_back("text " + form.Text("txtName")); });

  w.go->click();
  w.option->click();
  w.right->click();
  QTest::keyClicks(w.name, "ab");
  EXPECT_EQ(events, (std::vector<std::string>{"go", "option 1", "right", "text a", "text ab"}));
  EXPECT_EQ(form.Value("radLeft"), 0);
  EXPECT_FALSE(w.left->isChecked());

  // A value the program sets raises the click once, not again through the widget.
  events.clear();
  form.SetValue("chkOption", 0);
  EXPECT_EQ(events, (std::vector<std::string>{"option 0"}));
  EXPECT_FALSE(w.option->isChecked());
}

TEST(FormBinder, AKeyHandlerCanDropKeys) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  form.OnKeyPress("txtName", [](int key) { return (key >= '0' && key <= '9') || key == 8 || key == 13 ? key : 0; });
  QTest::keyClicks(w.name, "1x2");
  EXPECT_EQ(w.name->text(), "12");
  EXPECT_EQ(form.Text("txtName"), "12");
}

TEST(FormBinder, TheProgramOwnsAMenuItemsCheckMark) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  form.On("mnuSound", Event::Click, [&] { form.SetChecked("mnuSound", !form.Checked("mnuSound")); });
  w.sound->trigger();
  EXPECT_FALSE(form.Checked("mnuSound"));
  EXPECT_FALSE(w.sound->isChecked());
  w.sound->trigger();
  EXPECT_TRUE(w.sound->isChecked());

  Form silent("frmTest");  // without a handler the mark stays as it is
  Window v;
  FormBinder other(&v.dialog, silent);
  v.sound->trigger();
  EXPECT_TRUE(v.sound->isChecked());
}

TEST(FormBinder, FocusEventsReachTheForm) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  std::vector<std::string> events;
  form.On("txtName", Event::GotFocus, [&] { events.push_back("got"); });
  form.On("txtName", Event::LostFocus, [&] { events.push_back("lost"); });
  form.Show();
  QApplication::setActiveWindow(&w.dialog);
  form.SetFocus("txtName");
  form.SetFocus("cmdGo");
  EXPECT_EQ(events, (std::vector<std::string>{"got", "lost"}));
  form.Hide();
}

TEST(FormBinder, ClosingAsksTheForm) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  bool refuse = true;
  form.OnQueryUnload([&] { return refuse; });
  form.Show();
  EXPECT_TRUE(w.dialog.isVisible());
  EXPECT_FALSE(w.dialog.close());
  EXPECT_TRUE(w.dialog.isVisible());
  EXPECT_TRUE(form.Visible());
  refuse = false;
  EXPECT_TRUE(w.dialog.close());
  EXPECT_FALSE(form.Visible());
}

TEST(FormBinder, AModalShowReturnsWhenTheWindowCloses) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  bool was_visible = false;
  QTimer::singleShot(0, [&] {
    was_visible = w.dialog.isVisible();
    form.Hide();
  });
  form.Show(true);
  EXPECT_TRUE(was_visible);
  EXPECT_FALSE(w.dialog.isVisible());
  EXPECT_FALSE(form.Visible());
}

TEST(FormBinder, ClicksInAModalWindowReachTheForm) {
  Window w;
  Form form("frmTest");
  FormBinder binder(&w.dialog, form);
  bool unloaded = false;
  form.On("cmdGo", Event::Click, [&] { unloaded = form.Unload(); });
  QTimer::singleShot(0, [&] { QTest::mouseClick(w.go, Qt::LeftButton); });
  QTimer::singleShot(3000, [&] { w.dialog.reject(); });  // a safety net only
  form.Show(true);
  EXPECT_TRUE(unloaded);
  EXPECT_FALSE(w.dialog.isVisible());
  EXPECT_FALSE(form.Visible());
}

TEST(FormBinder, TheClientAreaOfAMainWindowIsBelowItsMenuBar) {
  QMainWindow window;
  window.menuBar()->addMenu("&File");
  window.setCentralWidget(new QWidget);
  window.resize(300, 200);
  Form form("frmMain");
  FormBinder binder(&window, form);
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(form.Geometry().ScaleWidth, 300 * 15);
  EXPECT_EQ(form.Geometry().ScaleHeight, window.centralWidget()->height() * 15);
  EXPECT_LT(form.Geometry().ScaleHeight, 200 * 15);
}

}  // namespace
}  // namespace kivrel

namespace kivrel {
namespace {

TEST(FormBinder, SpinArrowsRaiseSpinUpAndSpinDown) {
  QDialog dialog;
  auto* spin = new SpinButton(&dialog);
  spin->setObjectName("spnMargin_0");
  Form form("frmTest");
  FormBinder binder(&dialog, form);
  std::string steps;
  form.On("spnMargin_0", Event::SpinUp, [&] { steps += "+"; });
  form.On("spnMargin_0", Event::SpinDown, [&] { steps += "-"; });
  spin->upArrow()->click();
  spin->downArrow()->click();
  spin->downArrow()->click();
  EXPECT_EQ(steps, "+--");
}

// A thumbnail whose children are placed in units three times finer than twips.
TEST(FormBinder, ChildrenOfAScaledContainerUseItsUnits) {
  QDialog dialog;
  auto* thumbnail = new QWidget(&dialog);
  thumbnail->setObjectName("picLayout");
  thumbnail->setGeometry(10, 10, 272, 352);
  FormBinder::SetUserScale(thumbnail, 3);
  auto* block = new QLabel("PUZZLE", thumbnail);
  block->setObjectName("lblPuzzle");
  block->setGeometry(2, 4, 20, 30);
  Form form("frmTest");
  FormBinder binder(&dialog, form, 15);
  EXPECT_EQ(form.Bounds("lblPuzzle"), (Rect{90, 180, 900, 1350}));
  EXPECT_EQ(form.Bounds("picLayout"), (Rect{150, 150, 4080, 5280}));

  form.SetBounds("lblPuzzle", {2160, 1440, 4500, 450});
  EXPECT_EQ(block->geometry(), QRect(48, 32, 100, 10));
}

}  // namespace
}  // namespace kivrel
