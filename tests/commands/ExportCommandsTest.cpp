#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "RecordingPageFiles.h"
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

TEST(ExportFlow, CancelWritesNothingAndAFileThatCannotBeWrittenIsReported) {
  testing::TestApp app;
  StartUp(app.ctx, 1);
  testing::MakeGrid(app.ctx, 5, 5);
  testing::PlaceWord(app.ctx, "LYNX", 1, 1, 1);
  testing::RecordingPageFiles device(app.ctx);
  app.ctx.page_files = &device;
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

}  // namespace
}  // namespace kivrel
