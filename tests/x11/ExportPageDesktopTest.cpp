// File > Export Page... on a real X server: the menu, Qt's own file dialog and its type
// list driven by real keys, and the page written equal to what kivrel-cli prints for the
// same puzzle.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "RealDialogs.h"
#include "commands/BuildCommands.h"
#include "files/PuzzleFile.h"

namespace kivrel::testing {
namespace {

constexpr int kPatience = 10000;

TEST(ExportPageDesktop, KeysThroughTheRealDialogWriteTheSamePageAsKivrelCli) {
  TempDir dir;
  RealProgram program;
  AppContext& ctx = program.ctx();
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(Ready(main));
  OpenList(ctx, KIVREL_EXAMPLES_DIR "/animals.kvl");
  ctx.state.WordListFileName = dir.File("animals.kvl");  // the dialog opens in its folder
  BuildPuzzle(ctx);
  ASSERT_NE(ctx.state.PuzzleBuilt, 0);
  ASSERT_TRUE(Ready(main));
  Settle(300);

  XInput input;
  BoxAnswers boxes(input);
  // The type list is reached with Tab from the name box; PNG is the next type after PDF.
  // Then the answer key box by its access key, and the name typed and entered.
  bool reached_types = false;
  boxes.ThenDo([&](QDialog* dialog) {
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    Settle(500);  // the window manager hands the keyboard over just after activating it
    for (int i = 0; i < 20 && types && QApplication::focusWidget() != types; ++i) input.Key(XK_Tab);
    reached_types = types && QApplication::focusWidget() == types;
    if (!reached_types) return;
    input.Key(XK_Down);
    input.Key(XK_a, {XK_Alt_L});
    for (int i = 0; i < 20 && QApplication::focusWidget() != dialog->findChild<QWidget*>("fileNameEdit"); ++i) {
      input.Key(XK_Tab);
    }
    input.Key(XK_a, {XK_Control_L});
    input.Type("page");
    input.Key(XK_Return);
    // An Enter while the name box offers names that start alike closes that offer only.
    if (dialog->isVisible()) input.Key(XK_Return);
  });
  input.Key(XK_f, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }, kPatience));
  input.Key(XK_e);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Export Page"});
  ASSERT_TRUE(reached_types) << "Tab did not reach the type list";
  ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(QString::fromStdString(dir.File("page-key.png"))); }, kPatience))
      << "the page and its answer key were not written";

  // The same puzzle, its fill letters as exported, through the command-line program.
  const std::string puzzle = dir.Write("zoo.kvp", *EncodePuzzleFile(PuzzleFileFromState(ctx.state)));
  CliRun run = RunCli("print " + puzzle + " --answer-key --png " + dir.File("cli.png"), true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_TRUE(TempDir::Read(dir.File("page.png")) == TempDir::Read(dir.File("cli.png")));
  EXPECT_TRUE(TempDir::Read(dir.File("page-key.png")) == TempDir::Read(dir.File("cli-key.png")));
}

}  // namespace
}  // namespace kivrel::testing
