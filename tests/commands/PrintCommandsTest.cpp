// Printing, page files and Export Page on a one-word puzzle: printers and page files
// that record what is drawn. What the page files hold is read back in tests/cli.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/ExportCommands.h"
#include "commands/PrintCommands.h"
#include "platform/PageFileDevice.h"
#include "print/PageFiles.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using Format = PageRequest::Format;
using testing::RecordingSurface;
using testing::TempDir;

// A printer and a page file device in one: each document is drawn on a recording
// surface of its own; the printer can be told to fail ending a given job, and a page
// file's "bytes" say what was drawn, so that a test can tell a page from its answer key
// by the file's contents: "Cats: 1 outlined".
class RecordingDevices : public PrinterDevice, public PageFileDevice {
 public:
  explicit RecordingDevices(AppContext& ctx) : ctx_(ctx) {}

  Surface* BeginDocument(const std::string& name, std::string&) override {
    names.push_back(name);
    return pages.emplace_back(std::make_unique<RecordingSurface>()).get();
  }
  bool EndDocument(std::string& error) override {
    if (static_cast<int>(pages.size()) != fail_at) return true;
    error = "the printer ran out of paper";
    return false;
  }
  Surface* BeginDocument(PageFormat, const std::string& title, const PaperSize& paper) override {
    pointers.push_back(ctx_.MainForm().MousePointer());
    names.push_back(title);
    pages.push_back(std::make_unique<RecordingSurface>(paper.Width, paper.Height));
    return cannot_draw ? nullptr : pages.back().get();
  }
  void NewPage() override {}
  std::string EndDocument() override {
    const std::size_t rings = pages.back()->OfKind(testing::DrawOp::Kind::Arc).size() / 2;
    return names.back() + ": " + std::to_string(rings) + " outlined";
  }

  int fail_at = 0;
  bool cannot_draw = false;
  std::vector<std::string> names;
  std::vector<std::unique_ptr<RecordingSurface>> pages;
  std::vector<int> pointers;  // the main window's pointer as each page file began

 private:
  AppContext& ctx_;
};

class PrintTest : public ::testing::Test {
 protected:
  PrintTest() {
    StartUp(ctx, 3);
    ctx.printer = &devices;
    ctx.page_files = &devices;
    testing::MakeGrid(ctx, 5, 5);
    testing::PlaceWord(ctx, "LYNX", 1, 1, 1);
    testing::SetTitle(ctx, "Cats");
  }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  RecordingDevices devices{ctx};
  TempDir dir;
};

// Cancel prints nothing; the printer chosen brings its paper. Each copy is a job of its
// own; the first copy fills the blanks (and the main window shows them), the others
// print the same letters. A printer's error is reported and stops the remaining copies;
// no printer is one. A BlanksFilled of 1 (a check box's true) counts as filled: nothing
// is taken away.
TEST_F(PrintTest, EachCopyIsAJobOfItsOwnAndAnErrorStopsTheRest) {
  app.dialogs.ExpectPrinter(std::nullopt)
      .ExpectPrinter(PrintChoice{1, kLegalPaper})
      .ExpectPrinter(PrintChoice{1, kLegalPaper});
  EXPECT_FALSE(PrintPuzzle(ctx));
  EXPECT_TRUE(devices.pages.empty());
  EXPECT_TRUE(ChoosePrinter(ctx));
  EXPECT_EQ(ctx.print.Paper, kLegalPaper);
  EXPECT_FALSE(ChoosePrinter(ctx)) << "the same paper again";

  devices.fail_at = 2;
  app.dialogs.ExpectPrinter(PrintChoice{3, {}})
      .ExpectMessage(MessageAnswer::Ok, "Error while printing puzzle: the printer ran out of paper");
  PrintPuzzle(ctx);
  EXPECT_EQ(devices.names, std::vector<std::string>(2, "Kivrel - Cats"));  // the third copy never began
  EXPECT_EQ(std::make_tuple(ctx.state.BlanksFilled, ctx.MainForm().MousePointer(), app.picture.Texts().size()),
            std::make_tuple(kTrue, kPointerDefault, std::size_t{21}));
  EXPECT_EQ(devices.pages[1]->Texts(), devices.pages[0]->Texts());
  EXPECT_EQ(devices.pages[0]->Texts().size(), 1u + 25 + 2);  // title, letters, header and entry

  ctx.state.BlanksFilled = 1;
  const LetterGrid before = ctx.state.Grid;
  std::string error;
  ASSERT_TRUE(PrintPuzzleCopy(ctx, error));
  EXPECT_EQ(ctx.state.Grid, before);
  ctx.printer = nullptr;
  EXPECT_FALSE(PrintPuzzleCopy(ctx, error));
  EXPECT_EQ(error, "Error while printing puzzle: no printer is available");
}

// A page with its key is two files, the key's named "-key" (a dot in a folder's name is
// no extension), and the key's outlines were for the key only. The message says which
// file failed and, only when it is true, that the files there are unchanged. (That a
// page and its key are replaced together or not at all is tested in tests/files.)
TEST_F(PrintTest, APageWithItsKeyIsTwoFilesAndAFailureNamesTheFile) {
  std::filesystem::create_directories(dir.File("v1.0"));
  const FileResult<std::vector<std::string>> sheet = WritePages(ctx, {Format::Svg, dir.File("v1.0/sheet"), true});
  ASSERT_TRUE(sheet);
  EXPECT_EQ(*sheet, (std::vector<std::string>{dir.File("v1.0/sheet"), dir.File("v1.0/sheet-key")}));
  EXPECT_EQ(TempDir::Read(dir.File("v1.0/sheet-key")), "Cats: 1 outlined");
  EXPECT_EQ(ctx.print.OutlineWords, 0);

  devices.cannot_draw = true;
  const FileResult<std::vector<std::string>> drawn = WritePages(ctx, {Format::Pdf, dir.File("sheet.pdf"), false});
  ASSERT_FALSE(drawn);
  EXPECT_EQ(PageFileFailureText(drawn.Error()), "cannot draw the page for \"" + dir.File("sheet.pdf") + "\"");
  EXPECT_EQ(dir.EntryCount(), 1);
  // (When a rename failed after the page was replaced, the files are not unchanged.)
  EXPECT_EQ(PageFileFailureText({FileFault::PartlyReplaced, "Device or resource busy", "k-key.png"}).find("unchanged"),
            std::string::npos);
}

// The name's extension, or else the file type chosen, decides the kind, and the name
// written says it.
TEST(ExportRequest, TheNamesExtensionOrElseTheFileTypeChosenDecidesTheKind) {
  const std::tuple<std::string, int, Format, std::string> cases[] = {
      {"/t/page.HTM", 1, Format::Html, "/t/page.HTM"},      {"/t/page", 2, Format::Png, "/t/page.png"},
      {"/t/v1.0/page", 3, Format::Svg, "/t/v1.0/page.svg"}, {"/t/page.txt", 1, Format::Pdf, "/t/page.txt.pdf"},
      {"/t/page", 4, Format::Html, "/t/page.html"},         {"/t/page", 9, Format::Pdf, "/t/page.pdf"}};
  for (const auto& [path, filter, kind, written] : cases) {
    const PageRequest request = ExportRequest({path, filter, true});
    EXPECT_EQ(std::make_tuple(request.Kind, request.Path, request.AnswerKey), std::make_tuple(kind, written, true));
    EXPECT_EQ(FormatOfPath(written), kind) << path;
  }
}

// Cancel writes nothing; a file that cannot be written is reported. The next export
// starts where the last one left off: its folder, file type and box.
TEST_F(PrintTest, ExportReportsFailuresAndStartsAsTheLastExportLeftIt) {
  ctx.state.PuzzleFileName = "/puzzles/lynx.kvp";
  app.dialogs.ExpectSaveChoice(std::nullopt)
      .ExpectSaveChoice(SaveChoice{"/no-such-folder/zoo", 1, false})
      .ExpectMessage(MessageAnswer::Ok,
                     "Error while exporting page: cannot write \"/no-such-folder/zoo.pdf\": No such file or directory");
  ExportPage(ctx);
  ExportPage(ctx);
  EXPECT_EQ(devices.pointers, std::vector<int>{kPointerHourglass});
  EXPECT_EQ(ctx.MainForm().MousePointer(), kPointerDefault);

  app.dialogs.ExpectSaveChoice(SaveChoice{dir.File("lynx"), 2, true}).ExpectSaveChoice(std::nullopt);
  ExportPage(ctx);
  EXPECT_EQ(devices.pages.size(), 1u + 2);  // the failed one; the page and its key
  ExportPage(ctx);
  const FileRequest& first = app.dialogs.files.at(0);
  const FileRequest& next = app.dialogs.files.at(3);
  EXPECT_EQ(std::tie(first.FileName, first.FilterIndex, first.DefaultExt),
            std::make_tuple(std::string("/puzzles/lynx"), 1, std::string("pdf")));
  EXPECT_EQ(std::tie(next.Folder, next.FileName, next.FilterIndex, next.DefaultExt),
            std::make_tuple(dir.Folder(), std::string("lynx"), 2, std::string("png")));
  EXPECT_EQ(app.dialogs.boxes_checked, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(ctx.files.FolderOf(FileDialogKind::Lists), "") << "each kind of file has its own folder";
}

}  // namespace
}  // namespace kivrel
