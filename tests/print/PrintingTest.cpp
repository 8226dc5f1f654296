#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "TestApp.h"
#include "model/StartUp.h"
#include "print/Printing.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::RecordingSurface;

// A printer that keeps each job's page, and can be told to fail.
class RecordingPrinter : public PrinterDevice {
 public:
  Surface* BeginDocument(const std::string& name, std::string& error) override {
    ++begun;
    if (on_begin) on_begin();
    if (begun == fail_begin_at) {
      error = "the printer is offline";
      return nullptr;
    }
    names.push_back(name);
    pages.push_back(std::make_unique<RecordingSurface>(12240, 15840));
    open = true;
    return pages.back().get();
  }
  bool EndDocument(std::string& error) override {
    EXPECT_TRUE(open);
    open = false;
    ++ended;
    if (ended == fail_end_at) {
      error = "the printer ran out of paper";
      return false;
    }
    return true;
  }

  int begun = 0, ended = 0;
  int fail_begin_at = 0, fail_end_at = 0;
  bool open = false;
  std::function<void()> on_begin;
  std::vector<std::string> names;
  std::vector<std::unique_ptr<RecordingSurface>> pages;
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
  RecordingPrinter printer;
};

TEST_F(PrintTest, EachCopyIsAJobOfItsOwnUnderTheHourglass) {
  app.dialogs.ExpectPrinter(PrintChoice{3});
  std::vector<int> pointers;
  printer.on_begin = [&] { pointers.push_back(ctx.MainForm().MousePointer()); };
  cmdPrint_Click(ctx);
  EXPECT_EQ(app.dialogs.printer_flags, std::vector<int>{kPrintDialogFlags});
  EXPECT_EQ(printer.begun, 3);
  EXPECT_EQ(printer.ended, 3);
  EXPECT_EQ(pointers, std::vector<int>(3, kPointerHourglass));
  EXPECT_EQ(ctx.MainForm().MousePointer(), kPointerDefault);
  EXPECT_EQ(printer.names, std::vector<std::string>(3, "Kivrel - Cats"));
  for (const auto& page : printer.pages) {
    EXPECT_EQ(page->Texts(), printer.pages[0]->Texts());
    EXPECT_EQ(page->OfKind(DrawOp::Kind::Line).size(), 4u);  // the printer's frame
  }
  EXPECT_EQ(ctx.state.PrintingInProgress, kFalse);
}

TEST_F(PrintTest, BlanksAreFilledBeforeTheFirstCopyAndKeptForTheOthers) {
  ASSERT_EQ(ctx.state.BlanksFilled, kFalse);
  app.dialogs.ExpectPrinter(PrintChoice{3});
  cmdPrint_Click(ctx);
  EXPECT_EQ(ctx.state.BlanksFilled, kTrue);
  std::string letters;
  for (int r = 1; r <= 5; ++r) {
    for (int c = 1; c <= 5; ++c) letters += ctx.state.Grid.At(r, c).Letter;
  }
  EXPECT_EQ(letters.size(), 25u);  // every cell holds a letter
  EXPECT_EQ(letters.substr(0, 4), "LYNX");
  // The main window's picture shows the fill letters.
  EXPECT_EQ(app.picture.OfKind(DrawOp::Kind::Text).size(), 21u);
  ASSERT_EQ(printer.pages.size(), 3u);
  EXPECT_EQ(printer.pages[1]->Texts(), printer.pages[0]->Texts());
  EXPECT_EQ(printer.pages[2]->Texts(), printer.pages[0]->Texts());

  // Filled with the flag of a check box (1) counts as filled: nothing is taken away.
  ctx.state.BlanksFilled = 1;
  const LetterGrid before = ctx.state.Grid;
  std::string error;
  ASSERT_TRUE(PrintPuzzleCopy(ctx, error));
  EXPECT_EQ(ctx.state.Grid, before);
  EXPECT_EQ(ctx.state.BlanksFilled, 1);
}

TEST_F(PrintTest, CancelPrintsNothing) {
  app.dialogs.ExpectPrinter(std::nullopt);
  ctx.MainForm().SetMousePointer(kPointerDefault);
  int pointer_changes = 0;
  ctx.MainForm().Subscribe(
      [&](std::string_view, Property property) { pointer_changes += property == Property::MousePointer; });
  cmdPrint_Click(ctx);
  EXPECT_EQ(printer.begun, 0);
  EXPECT_EQ(pointer_changes, 0);
}

TEST_F(PrintTest, PrinterErrorsAreReportedAndStopTheRemainingCopies) {
  app.dialogs.ExpectPrinter(PrintChoice{3}).ExpectMessage(
      MessageAnswer::Ok, std::string("Error while printing puzzle: the printer ran out of paper"));
  printer.fail_end_at = 2;
  cmdPrint_Click(ctx);
  EXPECT_EQ(printer.begun, 2);
  ASSERT_EQ(app.dialogs.messages.size(), 1u);
  EXPECT_EQ(app.dialogs.messages[0].Title, kErrorTitle);
  EXPECT_EQ(app.dialogs.messages[0].Icon, MessageIcon::Critical);
  EXPECT_EQ(ctx.MainForm().MousePointer(), kPointerDefault);

  printer.begun = printer.ended = 0;
  printer.fail_end_at = 0;
  printer.fail_begin_at = 1;
  app.dialogs.ExpectPrinter(PrintChoice{2}).ExpectMessage(
      MessageAnswer::Ok, std::string("Error while printing puzzle: the printer is offline"));
  cmdPrint_Click(ctx);
  EXPECT_EQ(printer.begun, 1);
  EXPECT_EQ(printer.ended, 0);
  EXPECT_EQ(ctx.state.PrintingInProgress, kFalse);

  ctx.printer = nullptr;
  app.dialogs.ExpectPrinter(PrintChoice{1}).ExpectMessage(
      MessageAnswer::Ok, std::string("Error while printing puzzle: no printer is available"));
  cmdPrint_Click(ctx);
}

TEST_F(PrintTest, PrinterSetUpOnlyShowsItsDialog) {
  app.dialogs.ExpectPrinter(PrintChoice{1});
  const PageLayout before = ctx.page;
  cmdPrinter_Click(ctx);
  EXPECT_EQ(app.dialogs.printer_flags, std::vector<int>{kPrintSetupFlag});
  EXPECT_EQ(printer.begun, 0);
  EXPECT_EQ(ctx.page, before);
}

}  // namespace
}  // namespace kivrel
