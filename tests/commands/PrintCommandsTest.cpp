#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "TestApp.h"
#include "commands/PrintCommands.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::RecordingSurface;

// A printer that keeps each job's page and the main window's pointer at its start, and
// can be told to fail ending a given job.
class RecordingPrinter : public PrinterDevice {
 public:
  explicit RecordingPrinter(AppContext& ctx) : ctx_(ctx) {}
  Surface* BeginDocument(const std::string& name, std::string&) override {
    names.push_back(name);
    pointers.push_back(ctx_.MainForm().MousePointer());
    pages.push_back(std::make_unique<RecordingSurface>());
    return pages.back().get();
  }
  bool EndDocument(std::string& error) override {
    if (static_cast<int>(pages.size()) != fail_at) return true;
    error = "the printer ran out of paper";
    return false;
  }

  int fail_at = 0;
  std::vector<std::string> names;
  std::vector<int> pointers;
  std::vector<std::unique_ptr<RecordingSurface>> pages;

 private:
  AppContext& ctx_;
};

class PrintTest : public ::testing::Test {
 protected:
  PrintTest() {
    StartUp(ctx, 3);
    ctx.printer = &printer;
    testing::MakeGrid(ctx, 5, 5);
    testing::PlaceWord(ctx, "LYNX", 1, 1, 1);
    testing::SetTitle(ctx, "Cats");
  }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  RecordingPrinter printer{ctx};
};

TEST_F(PrintTest, EachCopyIsAJobOfItsOwnWithTheBlanksFilledOnce) {
  ASSERT_EQ(ctx.state.BlanksFilled, kFalse);
  app.dialogs.ExpectPrinter(PrintChoice{3, {}});
  PrintPuzzle(ctx);
  EXPECT_EQ(printer.names, std::vector<std::string>(3, "Kivrel - Cats"));
  EXPECT_EQ(printer.pointers, std::vector<int>(3, kPointerHourglass));
  EXPECT_EQ(ctx.MainForm().MousePointer(), kPointerDefault);
  EXPECT_EQ(ctx.state.PrintingInProgress, kFalse);
  // The first copy filled the blanks (and the main window shows them); the others print
  // the same letters.
  EXPECT_EQ(ctx.state.BlanksFilled, kTrue);
  EXPECT_EQ(app.picture.OfKind(DrawOp::Kind::Text).size(), 21u);
  for (const auto& page : printer.pages) {
    EXPECT_EQ(page->Texts(), printer.pages[0]->Texts());
    EXPECT_EQ(page->OfKind(DrawOp::Kind::Line).size(), 4u);  // the printer's frame
  }
  EXPECT_EQ(printer.pages[0]->Texts().size(), 1u + 25 + 2);  // title, letters, header and entry

  // A BlanksFilled of 1 (a check box's true) counts as filled: nothing is taken away.
  ctx.state.BlanksFilled = 1;
  const LetterGrid before = ctx.state.Grid;
  std::string error;
  ASSERT_TRUE(PrintPuzzleCopy(ctx, error));
  EXPECT_EQ(ctx.state.Grid, before);
}

TEST_F(PrintTest, PrinterErrorsAreReportedAndStopTheRemainingCopies) {
  printer.fail_at = 2;
  app.dialogs.ExpectPrinter(PrintChoice{3, {}})
      .ExpectMessage(MessageAnswer::Ok, std::string("Error while printing puzzle: the printer ran out of paper"));
  PrintPuzzle(ctx);
  EXPECT_EQ(printer.pages.size(), 2u);
  ASSERT_EQ(app.dialogs.messages.size(), 1u);
  EXPECT_EQ(app.dialogs.messages[0].Title, kErrorTitle);
  EXPECT_EQ(app.dialogs.messages[0].Icon, MessageIcon::Critical);
  EXPECT_EQ(ctx.MainForm().MousePointer(), kPointerDefault);

  ctx.printer = nullptr;
  app.dialogs.ExpectPrinter(PrintChoice{1, {}})
      .ExpectMessage(MessageAnswer::Ok, std::string("Error while printing puzzle: no printer is available"));
  PrintPuzzle(ctx);
}

TEST_F(PrintTest, CancelAndPrinterSetUpPrintNothing) {
  int pointer_changes = 0;
  ctx.MainForm().Subscribe([&](Control, Property property) { pointer_changes += property == Property::MousePointer; });
  app.dialogs.ExpectPrinter(std::nullopt).ExpectPrinter(PrintChoice{1, {}});
  EXPECT_FALSE(PrintPuzzle(ctx));
  EXPECT_FALSE(ChoosePrinter(ctx));
  EXPECT_EQ(app.dialogs.printer_flags, (std::vector<int>{kPrintDialogFlags, kPrintSetupFlag}));
  EXPECT_TRUE(printer.pages.empty());
  EXPECT_EQ(pointer_changes, 0);
  EXPECT_EQ(ctx.state.BlanksFilled, kFalse);

  // The printer chosen brings its paper: the pages are laid out on it from then on.
  app.dialogs.ExpectPrinter(PrintChoice{1, kLegalPaper}).ExpectPrinter(PrintChoice{1, kLegalPaper});
  EXPECT_TRUE(ChoosePrinter(ctx));
  EXPECT_EQ(ctx.print.Paper, kLegalPaper);
  EXPECT_FALSE(ChoosePrinter(ctx)) << "the same paper again";
}

}  // namespace
}  // namespace kivrel
