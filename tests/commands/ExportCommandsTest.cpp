#include <gtest/gtest.h>

#include <stdexcept>

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
                                         {"/t/page", 9, Format::Pdf, "/t/page.pdf"}}) {
    const PageRequest request = ExportRequest({c.path, c.filter, true});
    EXPECT_EQ(request.Kind, c.kind) << c.path;
    EXPECT_EQ(request.Path, c.written) << c.path;
    EXPECT_TRUE(request.AnswerKey);
  }
}

struct ExportFlow : ::testing::Test {
  testing::TestApp app;
  std::vector<PageRequest> written;
  std::vector<int> pointers;
  std::string failure;  // the writer throws this when set

  ExportFlow() {
    StartUp(app.ctx, 1);
    app.ctx.state.PuzzleFileName = "/home/teacher/zoo.kvp";
  }
  void Export() {
    mnuExportPage_Click(app.ctx, [this](AppContext& ctx, const PageRequest& request) {
      pointers.push_back(ctx.MainForm().MousePointer());
      if (!failure.empty()) throw std::runtime_error(failure);
      written.push_back(request);
      return std::vector<std::string>{request.Path};
    });
  }
};

TEST_F(ExportFlow, AsksForTheFileAndWritesThePagesChosen) {
  app.dialogs.ExpectSaveChoice(SaveChoice{"/home/teacher/zoo", 2, true});
  Export();
  ASSERT_EQ(app.dialogs.files.size(), 1u);
  EXPECT_EQ(app.dialogs.files[0].DialogTitle, "Export Page");
  EXPECT_EQ(app.dialogs.files[0].FileName, "/home/teacher/zoo");
  EXPECT_EQ(app.dialogs.check_boxes, (std::vector<std::string>{kAnswerKeyCheckBox}));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].Path, "/home/teacher/zoo.png");
  EXPECT_TRUE(written[0].AnswerKey);
  EXPECT_EQ(pointers, std::vector<int>{kPointerHourglass});
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);

  app.dialogs.ExpectSaveChoice(std::nullopt);  // Cancel
  Export();
  EXPECT_EQ(written.size(), 1u);
}

TEST_F(ExportFlow, AFileThatCannotBeWrittenIsReported) {
  failure = "cannot write \"/full/zoo.pdf\"";
  app.dialogs.ExpectSaveChoice(SaveChoice{"/full/zoo.pdf", 1, false})
      .ExpectMessage(MessageAnswer::Ok, "Error while exporting page: cannot write \"/full/zoo.pdf\"");
  Export();
  EXPECT_EQ(app.dialogs.messages.at(0).Title, kErrorTitle);
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);
}

}  // namespace
}  // namespace kivrel
