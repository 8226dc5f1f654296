// The windows on a real screen with a window manager: where they open, what leaving or
// closing a dialog does, and where the wheel and the keys go in the print windows.
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

#include "Desktop.h"
#include "commands/BuildCommands.h"
#include "forms/AttributesDialog.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "ui/SpinButton.h"

namespace kivrel::testing {
namespace {

std::string Text(const QRect& r) {
  return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}
bool OnScreen(QWidget* window) {
  return window && QApplication::primaryScreen()->availableGeometry().contains(window->frameGeometry());
}
QRect OnScreenRect(const QWidget* widget) { return {widget->mapToGlobal(QPoint(0, 0)), widget->size()}; }

struct WindowPlacement : Desktop {
  QWidget* picture = RunningProgram::In(main, "picPuzzle");
  void Build(int side) {
    ctx.state.PuzzleWidth = ctx.state.PuzzleHeight = static_cast<i16>(side);
    ASSERT_NE(BuildPuzzle(ctx).End, BuildEnd::NotStarted) << side;
  }
  QWidget* Show(const Window& form) {
    ctx.forms.Get(form).Show(false);
    return Shown(form);
  }
};

// Print opens its options beside the main window and the preview beside them: a change
// of an option can be watched on the page, and neither covers the puzzle. Escape in the
// options hides both. Opened again: the wheel scrolls the preview's page, Shift+wheel
// across; after the font dialog the keys are back on its button; Enter belongs to a
// margin box while it has the focus, and to Print again after it. The word list opens
// beside the puzzle, and moves aside when a build grows the main window over it.
TEST_F(WindowPlacement, ThePrintWindowsAndTheWordListOpenBesideThePuzzleAndKeepTheKeys) {
  program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  Build(15);
  QWidget* options = Show(frmPrintOptions::kWindow);
  ASSERT_TRUE(options);
  input.Click(RunningProgram::In(options, "cmdPreview"));
  QWidget* preview = Shown(frmPrintPreview::kWindow);
  ASSERT_TRUE(preview);
  EXPECT_TRUE(WaitFor([&] {
    return OnScreen(options) && OnScreen(preview) && !options->frameGeometry().intersects(preview->frameGeometry()) &&
           !options->frameGeometry().intersects(OnScreenRect(picture));
  })) << "options "
      << Text(options->frameGeometry()) << ", preview " << Text(preview->frameGeometry());
  options->activateWindow();
  ASSERT_TRUE(Ready(options));
  input.Key(XK_Escape);
  EXPECT_TRUE(WaitFor([&] { return !options->isVisible() && !preview->isVisible(); })) << "Escape hides both";

  ASSERT_TRUE(options = Show(frmPrintOptions::kWindow));
  input.Click(RunningProgram::In(options, "cmdPreview"));
  ASSERT_TRUE(preview = Shown(frmPrintPreview::kWindow));
  auto* down = RunningProgram::In<QScrollBar>(preview, frmPrintPreview::VScrollBar);
  auto* across = RunningProgram::In<QScrollBar>(preview, frmPrintPreview::HScrollBar);
  ASSERT_TRUE(down->isVisible() && across->isVisible()) << "the page fits: nothing to scroll";
  const QWidget* page = RunningProgram::In(preview, frmPrintPreview::picPrintPreview);
  const QPoint over = page->geometry().intersected(preview->rect()).center();
  input.Click(preview, over, 5);  // the wheel towards the user: further down the page
  ASSERT_TRUE(WaitFor([&] { return down->value() > 0; })) << "the wheel did not scroll";
  input.Click(preview, over, 4);
  EXPECT_TRUE(WaitFor([&] { return down->value() == 0; }));
  input.Click(preview, over, 5, {XK_Shift_L});
  EXPECT_TRUE(WaitFor([&] { return across->value() > 0; })) << "Shift+wheel did not scroll across";
  EXPECT_EQ(down->value(), 0);
  input.Click(RunningProgram::In(preview, frmPrintPreview::Close));
  ASSERT_TRUE(WaitFor([&] { return !preview->isVisible() && input.HasKeys(options); }));

  boxes.Then(XK_Escape);
  QWidget* title_font = RunningProgram::In(options, "cmdTitleFont");
  input.Click(title_font);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && input.HasKeys(options); }));
  EXPECT_EQ(QApplication::focusWidget(), title_font);
  auto* top = RunningProgram::In<QLineEdit>(options, frmPrintOptions::txtMargin[kTopMargin]);
  input.Click(top);
  input.Key(XK_a, {XK_Control_L});
  input.Type("1.5\r");  // the box's Enter: a print box here would be unexpected
  ASSERT_TRUE(WaitFor([&] { return top->text() == "1.5\""; })) << top->text().toStdString();
  EXPECT_EQ(ctx.page.TopMargin, 2160);
  input.Click(RunningProgram::In(options, "radTitleLeft"));  // the focus outside the margin boxes
  input.Click(RunningProgram::In<SpinButton>(options, frmPrintOptions::spnMargin[kTopMargin])->upArrow());
  ASSERT_TRUE(WaitFor([&] { return top->text() == "1.75\""; })) << top->text().toStdString();
  boxes.Then(XK_Escape);
  input.Key(XK_Return);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_EQ(boxes.seen, (std::vector<std::string>{"Font", "Print"})) << "Enter did not print";

  // The list shown before a build of 40, then shown after one.
  QWidget* list = nullptr;
  ASSERT_TRUE(list = Show(frmWordList::kWindow));
  for (bool list_first : {true, false}) {
    Build(40);
    if (!list_first) list = Show(frmWordList::kWindow);
    ASSERT_TRUE(list);
    EXPECT_TRUE(WaitFor([&] { return !list->frameGeometry().intersects(main->frameGeometry()) && OnScreen(list); }))
        << list_first << ": list " << Text(list->frameGeometry()) << ", main window " << Text(main->frameGeometry());
    ctx.forms.Get(frmWordList::kWindow).Hide();
  }
  // A request to activate the list that comes back after it was hidden (as one of a busy
  // start-up can) leaves the keys with the main window.
  ASSERT_TRUE(HasKeys(main));
  QSignalSpy focus(qApp, &QGuiApplication::focusWindowChanged);
  input.AskToActivate(list);
  EXPECT_TRUE(WaitFor([&] { return !focus.isEmpty() && input.HasKeys(main); }));
}

TEST_F(WindowPlacement, TheOtherWindowsOpenInsideTheScreen) {
  program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  Build(99);
  for (const Window* form : {&frmAttributes::kWindow, &frmPrintOptions::kWindow, &frmPrintPreview::kWindow}) {
    EXPECT_TRUE(OnScreen(Show(*form))) << form->Name();
    ctx.forms.Get(*form).Hide();
  }
}

// A build opens the attributes dialog when the grid is too small for the longest word.
// Its close box gives the build up like Cancel; going back to the main window closes it
// and builds. Either way the main window's commands end in step. Then, built from 5 x 5
// to 99 x 99, the main window stays on the screen and shows the whole grid.
TEST_F(WindowPlacement, TheAttributesForABuildCloseOrBuildAndTheMainWindowShowsGridsUpTo99) {
  TempDir dir;  // ALLIGATOR in 8 x 10
  program.OpenList(dir.Write("zoo.kvl", "1\tZoo\t8\t10\t1\t1\t\r\nALLIGATOR\r\nCAT\r\nDOG\r\n"));
  QWidget* dialog = nullptr;
  const auto open_for_build = [&] {
    input.Click(program.Button("cmdBuild"));
    return (dialog = Shown(frmAttributes::kWindow)) != nullptr;
  };

  ASSERT_TRUE(open_for_build());
  input.Key(XK_F4, {XK_Alt_L});  // the window manager's close, as its close box
  ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible() && input.HasKeys(main); }));
  EXPECT_EQ(std::tie(ctx.state.PuzzleBuilt, ctx.state.AttributesForBuild, ctx.state.PuzzleWidth),
            std::make_tuple(i16{0}, i16{0}, i16{8}));

  ASSERT_TRUE(open_for_build());
  // A click on the main window's title bar, which the dialog (mid-screen) does not cover.
  input.Click(main, QPoint(main->width() / 2, (main->frameGeometry().top() - main->geometry().top()) / 2));
  ASSERT_TRUE(WaitFor([&] { return ctx.state.PuzzleBuilt != 0 && !BuildRunning(ctx); }));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ctx.state.PuzzleWidth, 9);
  EXPECT_TRUE(program.Button("cmdPrint")->isEnabled() && !program.Button("cmdCancel")->isEnabled());

  program.OpenList(dir.Write("three.kvl", "CAT\r\nDOG\r\nEMU\r\n"));
  for (int side : {5, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 99}) {
    Build(side);
    // Inside the screen, and every cell can be seen: the picture lies inside the window's
    // client area, once the window manager has done its part.
    EXPECT_TRUE(WaitFor([&] { return OnScreen(main) && OnScreenRect(main).contains(OnScreenRect(picture)); }))
        << side << ": window " << Text(main->frameGeometry()) << ", picture " << Text(OnScreenRect(picture));
  }
}

}  // namespace
}  // namespace kivrel::testing
