#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "RecordingPageFiles.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/ExportCommands.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using Format = PageRequest::Format;

TEST(ExportRequest, TheNamesExtensionOrElseTheFileTypeChosenDecidesTheKind) {
  struct Case {
    std::string path;
    int filter;
    Format kind;
    std::string written;
  };
  for (const Case& c : std::vector<Case>{{"/t/page.png", 1, Format::Png, "/t/page.png"},
                                         {"/t/page.SVG", 2, Format::Svg, "/t/page.SVG"},
                                         {"/t/page", 2, Format::Png, "/t/page.png"},
                                         {"/t/v1.0/page", 3, Format::Svg, "/t/v1.0/page.svg"},
                                         {"/t/page.txt", 1, Format::Pdf, "/t/page.txt.pdf"},
                                         {"/t/page.HTM", 1, Format::Html, "/t/page.HTM"},
                                         {"/t/page", 4, Format::Html, "/t/page.html"},
                                         {"/t/page", 9, Format::Pdf, "/t/page.pdf"}}) {
    const PageRequest request = ExportRequest({c.path, c.filter, true});
    EXPECT_EQ(request.Kind, c.kind) << c.path;
    EXPECT_EQ(request.Path, c.written) << c.path;
    EXPECT_TRUE(request.AnswerKey);
  }
}

// A puzzle of one word, and page files that record what is drawn.
struct ExportFlow : ::testing::Test {
  ExportFlow() {
    StartUp(app.ctx, 1);
    testing::MakeGrid(app.ctx, 5, 5);
    testing::PlaceWord(app.ctx, "LYNX", 1, 1, 1);
    app.ctx.page_files = &device;
  }
  testing::TestApp app;
  testing::RecordingPageFiles device{app.ctx};
};

TEST_F(ExportFlow, CancelWritesNothingAndAFileThatCannotBeWrittenIsReported) {
  app.dialogs.ExpectSaveChoice(std::nullopt);
  ExportPage(app.ctx);
  EXPECT_TRUE(device.pointers.empty());

  app.dialogs.ExpectSaveChoice(SaveChoice{"/no-such-folder/zoo", 1, false})
      .ExpectMessage(MessageAnswer::Ok,
                     "Error while exporting page: cannot write \"/no-such-folder/zoo.pdf\": No such file or directory");
  ExportPage(app.ctx);
  EXPECT_EQ(device.pointers, std::vector<int>{kPointerHourglass});
  EXPECT_EQ(app.dialogs.check_boxes.at(0), kAnswerKeyCheckBox);
  EXPECT_EQ(app.dialogs.messages.at(0).Title, kErrorTitle);
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);
}

// The next export starts where the last one left off: its folder, file type and box.
TEST_F(ExportFlow, TheDialogStartsAsTheLastExportLeftIt) {
  testing::TempDir dir;
  app.ctx.state.PuzzleFileName = "/puzzles/lynx.kvp";
  app.dialogs.ExpectSaveChoice(SaveChoice{dir.File("lynx"), 2, true});
  ExportPage(app.ctx);
  ASSERT_EQ(device.documents, 2);  // the page and its key
  app.dialogs.ExpectSaveChoice(std::nullopt);
  ExportPage(app.ctx);
  const FileRequest& first = app.dialogs.files.at(0);
  const FileRequest& next = app.dialogs.files.at(1);
  EXPECT_EQ(std::tie(first.FileName, first.FilterIndex, first.DefaultExt),
            std::make_tuple(std::string("/puzzles/lynx"), 1, std::string("pdf")));
  EXPECT_EQ(std::tie(next.Folder, next.FileName, next.FilterIndex, next.DefaultExt),
            std::make_tuple(dir.Folder(), std::string("lynx"), 2, std::string("png")));
  EXPECT_EQ(app.dialogs.boxes_checked, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace kivrel
