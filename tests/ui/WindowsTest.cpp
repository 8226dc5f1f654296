// The windows on the offscreen platform: the binder between widgets and forms, and the
// whole program driven by objectName with the mouse and the keys, what only the widgets
// show: the main window as it opens, every window's widgets against its form's
// controls, a build in the window, the print options with the preview, and the word
// list's own widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <map>

#include "RunningProgram.h"
#include "commands/BuildCommands.h"
#include "controls/Declare.h"
#include "controls/Windows.h"
#include "display/GridViews.h"
#include "files/ThemeLists.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "ui/Design.h"
#include "ui/FormBinder.h"
#include "ui/PathLabel.h"
#include "ui/WordListBox.h"

#define KIVREL_TEST_WINDOW_CONTROLS(X) X(cmdGo) X(chkOption) X(radLeft) X(radRight) X(lblCount) X(txtName) X(mnuSound)

namespace kivrel::frmTest {
KIVREL_DECLARE_WINDOW(frmTest, KIVREL_TEST_WINDOW_CONTROLS)
}  // namespace kivrel::frmTest

namespace kivrel {
namespace {

using testing::RunningProgram;

// The binder between a window's widgets and its form: the design's values, what the
// program sets and the user's actions. (A modal window's keys and clicks reaching its
// form are tested on an X server.)
TEST(FormBinder, TakesTheDesignShowsWhatTheProgramSetsAndForwardsTheUsersActions) {
  using namespace frmTest;
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
  form.SetToolTip(lblCount, "Not placed: LION");
  form.SetChecked(mnuSound, false);
  EXPECT_EQ((go->text() + "|" + dialog.windowTitle() + "|" + go->font().family() + "|" + name->text() + "|" +
             count->toolTip())
                .toStdString(),
            "Hide &Word|Kivrel Puzzle Maker - Zoo|Liberation Serif|apple|Not placed: LION");
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
}

// The main window as it opens, with its example lists; the example list opened from the
// menu then built in it: letters go straight onto the window after a clear, over what
// the last build left there or after anything else was shown, and what the window shows
// is the picture. The preview shows the page as it is after a change made while it was
// closed. The paper is the locale's (the US locale here: Letter) until a printer is chosen.
// Then the word list window marks the words left out, keeps the last word added in view
// and shortens a long file name in its middle; last, a build that never ends while the
// user resizes the window is cancelled by Escape.
TEST(MainWindow, OpensBuildsPreviewsShowsTheListsWordsAndNameAndCancelsALongBuild) {
  RunningProgram p;
  ASSERT_TRUE(p.window()->isVisible());
  // The command buttons side by side; no caption clipped in the Linux face.
  int right = 0;
  for (const char* name : {"cmdAttributes", "cmdBuild", "cmdFillinBlanks", "cmdOutlineWords", "cmdViewMatches",
                           "cmdPrint", "cmdViewList", "cmdSavePuzzle", "cmdCancel", "cmdExit"}) {
    QPushButton* b = p.Button(name);
    EXPECT_EQ(b->pos(), QPoint(right, 0)) << name;
    right = b->geometry().right() + 1;
    EXPECT_LT(b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 6, b->width()) << name;
  }
  // The picture shows 15 x 15 cells.
  EXPECT_EQ(p.In(p.window(), "picPuzzle")->size(), p.Picture().size());
  EXPECT_NEAR(p.Picture().width(), 15 * p.ctx().display.CellSize / 15.0, 1);
  // The form's client area is the window's below its menu bar.
  EXPECT_EQ(p.ctx().MainForm().Geometry().ScaleHeight, p.window()->centralWidget()->height() * 15);
  EXPECT_LT(p.window()->centralWidget()->height(), p.window()->height());

  // Every window: what the core sets on a control reaches exactly one widget, and no
  // widget waits for a control the core cannot name.
  for (const Window* declared : kWindows) {
    p.ctx().forms.Get(*declared).Load();
    QWidget* window = p.Window(*declared);
    ASSERT_NE(window, nullptr) << declared->Name();
    EXPECT_EQ(window->objectName().toStdString(), declared->Name());
    std::map<std::string, int> carried;
    for (QObject* object : FormBinder::NamedObjects(window)) ++carried[object->objectName().toStdString()];
    for (int i = 0; i < declared->Size(); ++i) {
      const std::string name(declared->At(i).Name());
      EXPECT_EQ(carried[name], 1) << declared->Name() << " has " << carried[name] << " widgets for " << name;
      carried.erase(name);
    }
    for (const auto& [name, count] : carried) ADD_FAILURE() << declared->Name() << " has the stray widget " << name;
  }

  // File > Open Example List offers the themed lists by title and opens the one chosen.
  QMenu* examples = p.Action("mnuOpenExampleList")->menu();
  QStringList offered, titles;
  for (QAction* item : examples->actions()) offered << item->text();
  for (const ThemeList& list : TitledThemeLists(ThemeFolder())) titles << QString::fromStdString(list.Title);
  EXPECT_EQ(offered, titles);
  ASSERT_TRUE(offered.contains("Under the Sea"));
  examples->actions()[offered.indexOf("Under the Sea")]->trigger();
  EXPECT_EQ(p.ctx().state.PuzzleTitle, "Under the Sea");

  QMainWindow* w = p.window();
  QWidget* stats = p.In(w, frmKV_Puzzle::fraStats);
  auto move_figure = [&](int across, int wider) {
    Form& main = p.ctx().MainForm();
    Rect bounds = main.Bounds(frmKV_Puzzle::lblMatches);
    bounds.Left += across;
    bounds.Width += wider;
    main.SetBounds(frmKV_Puzzle::lblMatches, bounds);
  };
  const std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"built", [&] { p.Click("cmdBuild"); }},
      {"built again", [&] { p.Click("cmdBuild"); }},
      {"outlined", [&] { p.Click("cmdOutlineWords"); }},
      {"built over the outlines", [&] { p.Click("cmdBuild"); }},
      {"resized", [&] { w->resize(w->width() + 40, w->height() + 30); }},
      {"built after the resize", [&] { p.Click("cmdBuild"); }},
      {"hidden and shown",
       [&] {
         w->hide();
         w->show();
       }},
      {"built again", [&] { p.Click("cmdBuild"); }},
      {"a figure moved", [&] { move_figure(300, 0); }},
      {"a figure too narrow for itself", [&] { move_figure(0, -400); }},
      {"the figure as it was", [&] { move_figure(-300, 400); }}};
  for (const auto& [what, step] : steps) {
    step();
    // The picture as the window shows it, from its backing store, read before the picture.
    QApplication::processEvents();
    const QImage shown = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint corner = p.In(w, frmKV_Puzzle::picPuzzle)->mapTo(w, QPoint(0, 0)) * shown.devicePixelRatio();
    EXPECT_TRUE(shown.copy(QRect(corner, p.Picture().size())) == p.Picture().convertToFormat(QImage::Format_RGB32))
        << what;
    // The statistics, repainted where their figures changed, as the whole frame drawn anew.
    const QRect figures = QRect(stats->mapTo(w, QPoint(0, 0)), stats->size());
    const double ratio = shown.devicePixelRatio();
    const QRect in_pixels(figures.topLeft() * ratio, figures.size() * ratio);
    EXPECT_TRUE(shown.copy(in_pixels) == w->grab(figures).toImage().convertToFormat(QImage::Format_RGB32)) << what;
  }
  // The statistics frame, drawn once and copied, is drawn again for a new title or size.
  Form& main = p.ctx().MainForm();
  const QImage framed = stats->grab().toImage();
  {
    // Its figures and captions aside, it shows what Qt's own group box would, over the
    // window's background (it hides what lies behind it).
    QGroupBox bare(p.In<QGroupBox>(w, frmKV_Puzzle::fraStats)->title(), stats->parentWidget());
    bare.setFont(stats->font());
    bare.setGeometry(stats->geometry());
    const QList<QWidget*> inside = stats->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : inside) child->hide();
    EXPECT_TRUE(stats->grab().toImage().convertToFormat(QImage::Format_RGB32) ==
                bare.grab().toImage().convertToFormat(QImage::Format_RGB32));
    for (QWidget* child : inside) child->show();
  }
  main.SetText(frmKV_Puzzle::fraStats, "Counts");
  EXPECT_FALSE(stats->grab().toImage() == framed);
  main.SetText(frmKV_Puzzle::fraStats, "Statistics");
  EXPECT_TRUE(stats->grab().toImage() == framed);
  Rect taller = main.Bounds(frmKV_Puzzle::fraStats);
  taller.Height += 900;
  main.SetBounds(frmKV_Puzzle::fraStats, taller);
  const QImage grown = stats->grab().toImage();
  const int edge = 6 * static_cast<int>(grown.devicePixelRatio());  // the frame's bottom edge
  EXPECT_TRUE(grown.copy(0, grown.height() - edge, grown.width(), edge) ==
              framed.copy(0, framed.height() - edge, framed.width(), edge));

  // The statistics' figures, drawn by their frame from texts laid out once and kept,
  // show what a plain label there would: figures, texts of other kinds, and a disabled
  // figure, which paints itself.
  QLabel* figure = p.In<QLabel>(w, frmKV_Puzzle::lblMatches);
  QLabel plain(stats);
  plain.setFont(figure->font());
  plain.setAlignment(figure->alignment());
  plain.setGeometry(figure->geometry());
  plain.show();
  // Every pair of digits, and the widths of larger figures.
  QStringList texts = {"417", "1414", "1600", "9999", "-7", "1,024", "a & b", "<b>9</b>", "123456789012", "Spaces"};
  for (int n = 0; n <= 99; ++n) texts << QString::number(n);
  auto same_as_plain = [&](const QString& text) {
    main.SetText(frmKV_Puzzle::lblMatches, text.toStdString());
    plain.setText("");
    const QImage drawn = stats->grab().toImage();
    main.SetText(frmKV_Puzzle::lblMatches, "");
    plain.setText(text);
    return stats->grab().toImage() == drawn;
  };
  for (const QString& text : texts) EXPECT_TRUE(same_as_plain(text)) << text.toStdString();
  figure->setEnabled(false);
  plain.setEnabled(false);
  EXPECT_TRUE(same_as_plain("25")) << "disabled";
  figure->setEnabled(true);
  plain.setEnabled(true);
  // The widest figure the box holds, shown again in a larger font that it overflows.
  QString widest = "8";
  while (figure->fontMetrics().horizontalAdvance(widest + "8") <= figure->contentsRect().width()) widest += "8";
  EXPECT_TRUE(same_as_plain(widest)) << widest.toStdString();
  const QFont usual = figure->font();
  QFont larger = usual;
  larger.setPointSizeF(larger.pointSizeF() + 1.5);
  figure->setFont(larger);
  plain.setFont(larger);
  for (const QString& text : {QString("25"), widest})
    EXPECT_TRUE(same_as_plain(text)) << "larger font, " << text.toStdString();
  figure->setFont(usual);
  plain.setFont(usual);
  // A figure shown again in another colour.
  EXPECT_TRUE(same_as_plain("25"));
  const QPalette usual_colours = figure->palette();
  QPalette red = usual_colours;
  red.setColor(QPalette::WindowText, Qt::red);
  figure->setPalette(red);
  plain.setPalette(red);
  EXPECT_TRUE(same_as_plain("25")) << "another colour";
  figure->setPalette(usual_colours);
  plain.setPalette(usual_colours);
  // A figure narrowed under its text, cut off as a plain label is.
  const QRect usual_box = figure->geometry();
  main.SetText(frmKV_Puzzle::lblMatches, "1414");
  plain.setText("");
  move_figure(0, -400);
  EXPECT_LT(figure->width(), usual_box.width());
  const QImage narrowed = stats->grab().toImage();
  main.SetText(frmKV_Puzzle::lblMatches, "");
  plain.setGeometry(figure->geometry());
  plain.setText("1414");
  EXPECT_TRUE(stats->grab().toImage() == narrowed);
  move_figure(0, 400);
  EXPECT_EQ(figure->geometry(), usual_box);
  plain.setGeometry(usual_box);
  EXPECT_TRUE(same_as_plain("1414")) << "wide again";

  p.Click("cmdPrint");
  QWidget* dialog = p.Window(frmPrintOptions::kWindow);
  p.Activate(dialog);
  p.ClickIn(dialog, "cmdPreview");
  QWidget* preview = p.Window(frmPrintPreview::kWindow);
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  p.ctx().forms.Get(frmPrintPreview::kWindow).Hide();
  p.Activate(dialog);
  p.dialogs.ExpectFont(FontSpec{"Arial", 30, true, false});
  p.ClickIn(dialog, "cmdPuzzleFont");
  p.ClickIn(dialog, "cmdPreview");
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  QWidget* page = p.In(preview, frmPrintPreview::picPrintPreview);
  QRect visible = QRect(QPoint(0, 0), preview->size()).intersected(page->geometry()).adjusted(0, 0, -40, -40);
  visible.setLeft(std::max(visible.left(), 200));  // past the Close button
  const QImage shown = preview->screen()->grabWindow(preview->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(shown.copy(visible) ==
              p.app.preview().Image().convertToFormat(QImage::Format_RGB32).copy(visible.translated(-page->pos())));

  // A printer chosen: its paper, on the page and in the preview.
  EXPECT_EQ(p.ctx().print.Paper, kLetterPaper);
  p.dialogs.ExpectPrinter(PrintChoice{1, kLegalPaper});
  p.ClickIn(dialog, "cmdPrinter");
  EXPECT_EQ(page->size(), QSize(816, 1344));
  EXPECT_EQ(p.app.preview().Image().size(), QSize(816, 1344) * p.app.preview().DevicePixelRatio());

  // Four words of three letters in a 3 x 3 grid, across and down only: one is left out.
  testing::TempDir dir;
  p.OpenList(dir.Write("tight.kvl", "1\tTight\t3\t3\t0\t1\tFind them.\r\nABC\r\nDEF\r\nGHI\r\nJKL\r\n"));
  p.Click("cmdBuild");
  QApplication::processEvents();
  ASSERT_EQ(p.ctx().list.LeftOut().size(), 1u);
  const std::string left_out = p.ctx().list.LeftOut()[0];
  p.Action("mnuViewList")->trigger();
  QWidget* window = p.Window(frmWordList::kWindow);
  QListWidget* list = p.In<WordListBox>(window, "cboWordList")->list();
  const QColor normal = list->palette().color(QPalette::Text);
  for (int row = 0; row < list->count(); ++row) {
    const bool marked = list->item(row)->text().toStdString() == left_out;
    EXPECT_EQ(list->item(row)->foreground().color() != normal, marked) << row;
    EXPECT_EQ(list->item(row)->font().italic(), marked) << row;
  }

  // Words added to a new list: the last stays in view.
  p.Action("mnuNewList")->trigger();
  p.Activate(window);
  for (int i = 0; i < 60; ++i) {
    p.ctx().list.SetEditText("word" + std::to_string(i));
    p.ctx().WordListForm().Raise(frmWordList::cmdAdd, Event::Click);
  }
  ASSERT_EQ(list->count(), 60);
  EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(59)))) << "WORD59 is out of view";

  p.ctx().WordListForm().SetText(frmWordList::lblFileName, "/home/teacher/" + std::string(200, 'x') + "/animals.kvl");
  const QString path = p.In<PathLabel>(window, "lblFileName")->ShownText();
  EXPECT_TRUE(path.startsWith("/home/") && path.endsWith("/animals.kvl")) << path.toStdString();

  // A list that never fits whole in 5 x 5, with restart on the first reject: the build
  // starts over until Cancel.
  p.OpenList(dir.Write("never.kvl",
                       "1\tZoo\t5\t5\t1\t1\t\r\nHORSE\r\nZEBRA\r\nTIGER\r\nCAMEL\r\nSHEEP\r\nGOOSE\r\n"
                       "HYENA\r\nBISON\r\nLLAMA\r\nOTTER\r\nPANDA\r\nRHINO\r\nMOUSE\r\nSKUNK\r\nWHALE\r\n"));
  p.ctx().state.RestartOnFirstReject = 1;
  // The user while it builds: sees it counting, resizes the window and presses Escape,
  // which presses Cancel. (The commands while a build runs and after it are the core's.)
  bool building = false;
  QTimer::singleShot(0, w, [&] {
    building = BuildRunning(p.ctx()) && !p.In<QLabel>(w, "lblInsertedCount")->text().isEmpty();
    w->resize(w->width() + 90, w->height() + 45);
    QApplication::setActiveWindow(w);
    QTest::keyClick(w, Qt::Key_Escape);
  });
  p.Click("cmdBuild");  // returns when the build has ended

  EXPECT_TRUE(building);
  EXPECT_FALSE(BuildRunning(p.ctx()) || p.Button("cmdCancel")->isEnabled());
  // The picture kept every letter through the resizing: drawing them all again changes nothing.
  QApplication::processEvents();
  const QImage kept = p.Picture().copy();
  RepaintGrid(p.ctx());
  EXPECT_TRUE(p.Picture() == kept);

  // A program started in a metric locale prints on A4.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  RunningProgram german;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(german.ctx().print.Paper, kA4Paper);
}

}  // namespace
}  // namespace kivrel
