// The binder between a window's widgets and its form: the design's values, what the
// program sets, the user's actions and a modal window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
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

TEST(FormBinder, TakesTheDesignShowsWhatTheProgramSetsAndForwardsTheUsersActions) {
  // A window of each kind of control, named as the program names its controls.
  QDialog dialog;
  dialog.setWindowTitle("Test Window");
  auto* go = Design::Named(new QPushButton("&Go", &dialog), cmdGo);
  auto* option = Design::Named(new QCheckBox("Option", &dialog), chkOption);
  auto* left = Design::Named(new QRadioButton("Left", &dialog), radLeft);
  auto* right = Design::Named(new QRadioButton("Right", &dialog), radRight);
  auto* count = Design::Named(new QLabel("design", &dialog), lblCount);
  auto* name = Design::Named(new QLineEdit(&dialog), txtName);
  auto* sound = Design::Named(new QAction("&Sound", &dialog), mnuSound);
  Design::Named(&dialog, kWindow);
  left->setChecked(true);
  sound->setCheckable(true);
  sound->setChecked(true);
  dialog.addAction(sound);
  go->setEnabled(false);

  // The design's values for what the program has not set; the program's value wins.
  Form form(kWindow);
  form.SetText(lblCount, "7");
  form.SetOptionGroup({radLeft, radRight});
  FormBinder binder(&dialog, form);
  EXPECT_EQ(form.Caption() + "|" + form.Text(cmdGo) + "|" + count->text().toStdString(), "Test Window|&Go|7");
  EXPECT_TRUE(!form.Enabled(cmdGo) && form.Value(radLeft) == 1 && form.Checked(mnuSound));

  form.SetEnabled(cmdGo, true);
  form.SetText(cmdGo, "Hide &Word");
  form.SetCaption("Kivrel Puzzle Maker - Zoo");
  form.SetDefault(cmdGo, true);
  form.SetVisible(lblCount, false);
  form.SetBounds(txtName, {150, 300, 1500, 450});  // twips, 15 to a pixel
  form.SetFont(cmdGo, FontSpec{"Times New Roman", 18, true, true});
  form.SetText(txtName, "apple");
  form.SetChecked(mnuSound, false);
  EXPECT_EQ((go->text() + "|" + dialog.windowTitle() + "|" + go->font().family() + "|" + name->text()).toStdString(),
            "Hide &Word|Kivrel Puzzle Maker - Zoo|Liberation Serif|apple");
  EXPECT_TRUE(go->isEnabled() && go->isDefault() && count->isHidden() && !sound->isChecked());
  form.SetChecked(mnuSound, true);
  name->clear();
  EXPECT_TRUE(go->font().pointSizeF() == 18 && go->font().bold() && go->font().italic());
  EXPECT_EQ(name->geometry(), QRect(10, 20, 100, 30));

  std::vector<std::string> events;
  form.On(cmdGo, Event::Click, [&] { events.push_back("go"); });
  form.On(chkOption, Event::Click, [&] { events.push_back("option " + std::to_string(form.Value(chkOption))); });
  form.On(radRight, Event::Click, [&] { events.push_back("right"); });
  form.On(txtName, Event::Change, [&] { events.push_back("text " + form.Text(txtName)); });
  // A menu item's check mark is the program's to set, not the click's.
  form.On(mnuSound, Event::Click, [&] { events.push_back("sound"); });
  go->click();
  option->click();
  right->click();
  QTest::keyClicks(name, "ab");
  sound->trigger();
  // A value the program sets raises the click once, not again through the widget.
  form.SetValue(chkOption, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"go", "option 1", "right", "text a", "text ab", "sound", "option 0"}));
  EXPECT_TRUE(form.Value(radLeft) == 0 && !left->isChecked() && !option->isChecked());
  EXPECT_TRUE(form.Checked(mnuSound) && sound->isChecked());

  // Shown modal, a click still reaches the form, which can unload the window.
  bool unloaded = false;
  form.On(cmdGo, Event::Click, [&] { unloaded = form.Unload(); });
  QTimer::singleShot(0, [&] { QTest::mouseClick(go, Qt::LeftButton); });
  form.Show(true);
  EXPECT_TRUE(unloaded);
  EXPECT_FALSE(dialog.isVisible() || form.Visible());
}

}  // namespace
}  // namespace kivrel
