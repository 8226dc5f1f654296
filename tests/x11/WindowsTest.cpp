// The windows on a real screen with a window manager: where they open, what leaving or
// closing a dialog does, and where the keys go after a dialog.
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "RealDialogs.h"
#include "commands/BuildCommands.h"
#include "forms/AttributesDialog.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "program/WordTable.h"
#include "qt/QtPrinterDevice.h"
#include "ui/SpinButton.h"

namespace kivrel::testing {
namespace {

std::string Text(const QRect& r) {
  return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}
QRect Available() { return QApplication::primaryScreen()->availableGeometry(); }
bool OnScreen(QWidget* window) { return window && Available().contains(window->frameGeometry()); }
QRect OnScreenRect(const QWidget* widget) { return {widget->mapToGlobal(QPoint(0, 0)), widget->size()}; }

// The program with a list of its own, `side` x `side`, built.
void Build(RunningProgram& program, int side) {
  program.ctx().state.PuzzleWidth = program.ctx().state.PuzzleHeight = static_cast<i16>(side);
  ASSERT_NE(BuildPuzzle(program.ctx()).End, BuildEnd::NotStarted) << side;
}

// Shows a form's window and waits until it is placed and has the keys.
QWidget* Show(RunningProgram& program, const Window& form) {
  program.ctx().forms.Get(form).Show(false);
  QWidget* window = program.Window(form);
  EXPECT_TRUE(Ready(window)) << form.Name();
  return window;
}

TEST(WindowPlacement, TheMainWindowStaysOnTheScreenAndShowsTheWholeGridFrom5To99) {
  RunningProgram program;
  for (const char* word : {"CAT", "DOG", "EMU"}) AddEntry(program.ctx(), word);
  UpdateWordCount(program.ctx());
  QMainWindow* main = program.window();
  QWidget* picture = program.Widget("picPuzzle");
  ASSERT_TRUE(Ready(main));
  for (int side : {5, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 99}) {
    Build(program, side);
    // Inside the screen, and every cell can be seen: the picture lies inside the window's
    // client area, once the window manager has done its part.
    const auto placed = [&] { return OnScreen(main) && OnScreenRect(main).contains(OnScreenRect(picture)); };
    EXPECT_TRUE(WaitFor(placed)) << side << ": window " << Text(main->frameGeometry()) << " in " << Text(Available())
                                 << ", picture " << Text(OnScreenRect(picture));
    EXPECT_EQ(picture->width(), std::lround(side * program.ctx().display.CellSize / 15.0));
    if (side == 40 || side == 99) SaveScreen("main-" + std::to_string(side));
  }
}

TEST(WindowPlacement, TheWordListWindowOpensBesideThePuzzle) {
  // Opened before the puzzle grows to 40, and opened after a puzzle of 40 was built.
  for (bool list_first : {true, false}) {
    RunningProgram program;
    program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
    ASSERT_TRUE(Ready(program.window()));
    if (!list_first) Build(program, 40);
    QWidget* list = Show(program, frmWordList::kWindow);
    if (list_first) Build(program, 40);
    const QWidget* picture = program.Widget("picPuzzle");
    EXPECT_TRUE(WaitFor([&] { return !list->frameGeometry().intersects(OnScreenRect(picture)) && OnScreen(list); }))
        << list_first << ": list " << Text(list->frameGeometry()) << ", picture " << Text(OnScreenRect(picture));
    SaveScreen(list_first ? "word-list-15" : "word-list-40");
  }
}

// Print opens its options beside the main window and the preview beside them: a change
// of an option can be watched on the page, and neither covers the puzzle.
TEST(WindowPlacement, ThePrintOptionsAndThePreviewOpenSideBySide) {
  RunningProgram program;
  program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  ASSERT_TRUE(Ready(program.window()));
  Build(program, 15);
  program.form().Raise(frmKV_Puzzle::mnuPrint, Event::Click);
  QWidget* options = program.Window(frmPrintOptions::kWindow);
  ASSERT_TRUE(Ready(options));
  XInput().Click(RunningProgram::In(options, "cmdPreview"));
  QWidget* preview = program.Window(frmPrintPreview::kWindow);
  const QRect picture = OnScreenRect(program.Widget("picPuzzle"));
  EXPECT_TRUE(WaitFor([&] {
    return preview && preview->isVisible() && OnScreen(options) && OnScreen(preview) &&
           !options->frameGeometry().intersects(preview->frameGeometry()) &&
           !options->frameGeometry().intersects(picture);
  })) << "options " << Text(options->frameGeometry()) << ", preview " << Text(preview->frameGeometry());
  SaveScreen("print-windows");
}

TEST(WindowPlacement, TheOtherWindowsOpenInsideTheScreen) {
  RunningProgram program;
  program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  ASSERT_TRUE(Ready(program.window()));
  Build(program, 99);
  for (const Window* form : {&frmAttributes::kWindow, &frmPrintOptions::kWindow, &frmPrintPreview::kWindow}) {
    program.ctx().forms.Get(*form).Show(false);
    EXPECT_TRUE(WaitFor([&] { return OnScreen(program.Window(*form)) && program.Window(*form)->isVisible(); }))
        << form->Name();
    SaveScreen(std::string(form->Name()));
    program.ctx().forms.Get(*form).Hide();
  }
}

// A build opens the attributes dialog when the grid is too small for the longest word.
// Its close box gives the build up like Cancel; going back to the main window closes it
// and builds. Either way the main window's commands end in step.
TEST(AttributesForBuild, TheCloseBoxGivesTheBuildUpAndLeavingTheDialogBuilds) {
  RunningProgram program;
  AppContext& ctx = program.ctx();
  for (const char* word : {"ALLIGATOR", "CAT", "DOG"}) AddEntry(ctx, word);
  UpdateWordCount(ctx);
  ctx.state.PuzzleWidth = 8;
  ctx.state.PuzzleHeight = 10;
  SetListReadyState(ctx);
  QMainWindow* main = program.window();
  ASSERT_TRUE(Ready(main));
  XInput input;
  const auto open_for_build = [&] {
    input.Click(program.Button("cmdBuild"));
    return Ready(program.Window(frmAttributes::kWindow));
  };

  ASSERT_TRUE(open_for_build());
  QWidget* dialog = program.Window(frmAttributes::kWindow);
  input.Key(XK_F4, {XK_Alt_L});  // the window manager's close, as its close box
  ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible() && input.HasKeys(main); }));
  EXPECT_EQ(ctx.state.PuzzleBuilt, 0);
  EXPECT_EQ(ctx.state.AttributesForBuild, 0);
  EXPECT_EQ(ctx.state.PuzzleWidth, 8);
  EXPECT_TRUE(program.Button("cmdBuild")->isEnabled());

  ASSERT_TRUE(open_for_build());
  // A click on the main window's title bar, which the dialog (mid-screen) does not cover.
  const QRect frame = main->frameGeometry();
  input.ClickAt(QPoint(frame.center().x(), (frame.top() + main->geometry().top()) / 2));
  ASSERT_TRUE(WaitFor([&] { return ctx.state.PuzzleBuilt != 0 && !BuildRunning(ctx); }));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ctx.state.PuzzleWidth, 9);
  for (const char* command : {"cmdAttributes", "cmdBuild", "cmdPrint", "cmdSavePuzzle", "cmdViewList"}) {
    EXPECT_TRUE(program.Button(command)->isEnabled()) << command;
  }
  EXPECT_FALSE(program.Button("cmdCancel")->isEnabled());
}

// The program with a puzzle built and the print options open, placed, with the keys.
template <typename Program = RunningProgram>
struct PrintOnDesktop : Program {
  XInput input;
  QWidget* options = nullptr;
  PrintOnDesktop() {
    MakeSeaPuzzle(this->ctx());
    SetPuzzleReadyState(this->ctx());
    EXPECT_TRUE(Ready(this->window()));
    input.Click(RunningProgram::In(this->window(), "cmdPrint"));
    EXPECT_TRUE(WaitFor([this] { return (options = this->Window(frmPrintOptions::kWindow)) != nullptr; }));
    EXPECT_TRUE(Ready(options));
  }
};

TEST(PrintWindowsDesktop, TheWheelScrollsThePageAndShiftWheelAcross) {
  PrintOnDesktop<> p;
  p.input.Click(RunningProgram::In(p.options, "cmdPreview"));
  QWidget* preview = p.Window(frmPrintPreview::kWindow);
  ASSERT_TRUE(Ready(preview));
  QWidget* page = RunningProgram::In(preview, frmPrintPreview::picPrintPreview);
  auto* down = RunningProgram::In<QScrollBar>(preview, frmPrintPreview::VScrollBar);
  auto* across = RunningProgram::In<QScrollBar>(preview, frmPrintPreview::HScrollBar);
  ASSERT_TRUE(down->isVisible() && across->isVisible()) << "the page fits: nothing to scroll";
  ASSERT_EQ(down->value() + across->value(), 0);
  const int top = page->y();
  const auto over = [&] { return preview->mapToGlobal(page->geometry().intersected(preview->rect()).center()); };

  p.input.Wheel(over(), -1);  // towards the user: further down the page
  ASSERT_TRUE(WaitFor([&] { return down->value() > 0; })) << "the wheel did not scroll";
  EXPECT_LT(page->y(), top);
  const int one_notch = down->value();
  p.input.Wheel(over(), -1);
  EXPECT_TRUE(WaitFor([&] { return down->value() == std::min(2 * one_notch, down->maximum()); }));
  p.input.Wheel(over(), 2);
  EXPECT_TRUE(WaitFor([&] { return down->value() == 0 && page->y() == top; }));
  EXPECT_EQ(across->value(), 0);

  p.input.Wheel(over(), -1, {XK_Shift_L});
  EXPECT_TRUE(WaitFor([&] { return across->value() > 0; })) << "Shift+wheel did not scroll across";
  EXPECT_EQ(down->value(), 0);
  p.input.Wheel(over(), 1, {XK_Shift_L});
  EXPECT_TRUE(WaitFor([&] { return across->value() == 0; }));
}

TEST(PrintWindowsDesktop, EnterPrintsAfterAMarginSpinArrowWasClicked) {
  TempDir dir;
  PrintOnDesktop<> p;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(QString::fromStdString(dir.File("sea.pdf")));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));  // the page's twips are the sheet's
  QtPrinterDevice device(printer);
  p.ctx().printer = &device;

  auto* top = RunningProgram::In<QLineEdit>(p.options, frmPrintOptions::txtMargin[kTopMargin]);
  p.input.Click(RunningProgram::In(p.options, "radTitleLeft"));  // the focus outside the margin boxes
  p.input.Click(RunningProgram::In<SpinButton>(p.options, frmPrintOptions::spnMargin[kTopMargin])->upArrow());
  ASSERT_TRUE(WaitFor([&] { return top->text() == "1.25\""; })) << top->text().toStdString();

  p.dialogs.ExpectPrinter(PrintChoice{1, {}});
  p.input.Key(XK_Return);
  ASSERT_TRUE(WaitFor([&] { return p.dialogs.Done(); })) << "Enter did not print";
  const auto pages = ReadPdfWords(dir.File("sea.pdf"));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(p.ctx().page.TopMargin, 1800);  // 1.25 inches
  ExpectPageMatchesLayout(p.ctx(), pages[0]);
}

TEST(PrintWindowsDesktop, AfterTheFontDialogTheKeysGoBackToThePrintOptions) {
  PrintOnDesktop<RealProgram> p;
  BoxAnswers boxes(p.input);
  boxes.Then(XK_Escape);
  auto* title_font = RunningProgram::In(p.options, "cmdTitleFont");
  p.input.Click(title_font);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && p.input.HasKeys(p.options); }));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Font"});
  EXPECT_EQ(QApplication::focusWidget(), title_font);
  p.input.Key(XK_Escape);  // Close
  EXPECT_TRUE(WaitFor([&] { return !p.options->isVisible(); }));
}

}  // namespace
}  // namespace kivrel::testing
