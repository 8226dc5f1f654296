#include <gtest/gtest.h>

#include <filesystem>

#include "HandPlaced.h"
#include "RecordingPageFiles.h"
#include "TempDir.h"
#include "TestApp.h"
#include "print/PageFiles.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using Format = PageRequest::Format;
using testing::TempDir;

class PageFilesTest : public ::testing::Test {
 protected:
  PageFilesTest() {
    StartUp(ctx, 3);
    ctx.page_files = &device;
    testing::MakeGrid(ctx, 5, 5);
    testing::PlaceWord(ctx, "LYNX", 1, 1, 1);
    testing::SetTitle(ctx, "Cats");
  }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  testing::RecordingPageFiles device{ctx};
  TempDir dir;
};

// The page as printed (blanks filled first) and its answer key: the words outlined
// and no fill letters, a second PDF page or a second file named "-key".
TEST_F(PageFilesTest, ThePageAndItsKeyGoWhereTheRequestSays) {
  struct Case {
    Format kind;
    std::string name;
    std::vector<std::pair<std::string, std::string>> files;
  };
  const std::string page = "Cats: page 1 (25 letters)", key = "(4 letters, 1 outlined)";
  for (const Case& c : std::vector<Case>{
           {Format::Pdf, "sheet.pdf", {{"sheet.pdf", page + ", page 2 " + key}}},
           {Format::Png, "sheet.png", {{"sheet.png", page}, {"sheet-key.png", "Cats: page 1 " + key}}},
           {Format::Svg, "v1.0/sheet", {{"v1.0/sheet", page}, {"v1.0/sheet-key", "Cats: page 1 " + key}}}}) {
    std::filesystem::create_directories(dir.File("v1.0"));
    const FileResult<std::vector<std::string>> written = WritePages(ctx, {c.kind, dir.File(c.name), true});
    ASSERT_TRUE(written) << PageFileFailureText(written.Error());
    ASSERT_EQ(written->size(), c.files.size()) << c.name;
    for (std::size_t i = 0; i < c.files.size(); ++i) {
      EXPECT_EQ((*written)[i], dir.File(c.files[i].first));
      EXPECT_EQ(TempDir::Read(dir.File(c.files[i].first)), c.files[i].second) << c.files[i].first;
    }
  }
  EXPECT_NE(ctx.state.BlanksFilled, kFalse);
  EXPECT_EQ(ctx.print.OutlineWords, 0);  // the key's outlines were for the key only
  EXPECT_EQ(FormatOfPath("/t/v1.0/page.SVG"), Format::Svg);
  EXPECT_EQ(FormatOfPath("/t/v1.0/page"), std::nullopt);
}

// A page and its key are replaced together or not at all, and the message says which
// file failed and, only when it is true, that the files there are unchanged.
TEST_F(PageFilesTest, WhenTheKeyCannotBeWrittenThePageStaysAsItWas) {
  const std::string page = dir.Write("sheet.png", "OLD PAGE");
  std::filesystem::create_directory(dir.File("sheet-key.png"));
  const FileResult<std::vector<std::string>> written = WritePages(ctx, {Format::Png, page, true});
  ASSERT_FALSE(written);
  EXPECT_EQ(PageFileFailureText(written.Error()), "cannot write \"" + dir.File("sheet-key.png") + "\": Is a directory");
  EXPECT_EQ(TempDir::Read(page), "OLD PAGE");
  EXPECT_EQ(dir.EntryCount(), 2);

  device.cannot_draw = true;
  const FileResult<std::vector<std::string>> drawn = WritePages(ctx, {Format::Pdf, dir.File("sheet.pdf"), false});
  ASSERT_FALSE(drawn);
  EXPECT_EQ(PageFileFailureText(drawn.Error()), "cannot draw the page for \"" + dir.File("sheet.pdf") + "\"");
  EXPECT_EQ(dir.EntryCount(), 2);
  // (A file left as it was is said so for a write that failed part-way; when a rename
  // failed after the page was replaced, it is not.)
  EXPECT_EQ(PageFileFailureText({FileFault::PartlyReplaced, "Device or resource busy", "k-key.png"}).find("unchanged"),
            std::string::npos);
}

}  // namespace
}  // namespace kivrel
