#include <gtest/gtest.h>

#include "FakeMainWindow.h"
#include "TempDir.h"
#include "TestApp.h"
#include "engine/BuildPuzzle.h"
#include "forms/MainWindow.h"
#include "program/CommandStates.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::FakeMainWindow;
using testing::TestApp;

struct MainWindowTest : ::testing::Test {
  TestApp app;
  FakeMainWindow window{app.ctx};
  MainWindow main{app.ctx};
  Form& form = app.ctx.MainForm();
};

TEST_F(MainWindowTest, LoadCentresTheWindow) {
  form.Raise({}, Event::Load);
  const FormGeometry& g = form.Geometry();
  EXPECT_EQ(g.Left, (app.metrics.ScreenWidth() - g.Width) / 2);
  EXPECT_EQ(g.Top, (app.metrics.ScreenHeight() - g.Height) / 2);
}

TEST_F(MainWindowTest, BuildSaysWhyAListWithoutWordsBuildsNothing) {
  app.AddEntries({"[a note]", "?!"});
  SetListReadyState(app.ctx);
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kNothingToBuildMessage);
  form.Raise("cmdBuild", Event::Click);
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
}

TEST_F(MainWindowTest, NoDuplicateWordsIsOnAtStartAndAvoidWordsComeFromAListFile) {
  StartUp(app.ctx, 1);
  EXPECT_TRUE(form.Checked(kNoDuplicatesMark));
  form.Raise(kNoDuplicatesMark, Event::Click);
  EXPECT_FALSE(form.Checked(kNoDuplicatesMark));

  testing::TempDir dir;
  const std::string list = dir.Write("avoid.txt", "bad\r\nNew York [city]\r\n\r\n!?\r\n");
  app.dialogs.ExpectFile(list);
  form.Raise("mnuAvoidWords", Event::Click);
  EXPECT_EQ(app.ctx.AvoidWords, (std::vector<std::string>{"BAD", "NEWYORK"}));
  EXPECT_TRUE(form.Checked("mnuAvoidWords"));
  app.dialogs.ExpectFile(std::nullopt);  // cancelled: nothing is avoided any more
  form.Raise("mnuAvoidWords", Event::Click);
  EXPECT_TRUE(app.ctx.AvoidWords.empty());
  EXPECT_FALSE(form.Checked("mnuAvoidWords"));
}

TEST_F(MainWindowTest, ExitAsksThenClosesTheOtherWindowsInOrder) {
  std::vector<std::string> unloaded;
  for (std::string_view name : {kWordListForm, kPrintOptionsForm, kAttributesForm, kPrintPreviewForm, kMainForm}) {
    Form& f = app.ctx.forms.Get(name);
    f.Show();
    f.Subscribe([&unloaded, &f](std::string_view control, Property p) {
      if (control.empty() && p == Property::Unload) unloaded.push_back(f.Name());
    });
  }
  app.dialogs.ExpectMessage(MessageAnswer::Cancel);
  form.Raise("mnuExit", Event::Click);
  const MessageRequest& asked = app.dialogs.messages.at(0);
  EXPECT_EQ(std::tie(asked.Text, asked.Title, asked.Buttons, asked.Icon),
            std::make_tuple(std::string("Are you sure you want to exit Kivrel?"), std::string("Exit Kivrel"),
                            MessageButtons::OkCancel, MessageIcon::Question));
  EXPECT_TRUE(unloaded.empty()) << "Cancel keeps every window";

  app.dialogs.ExpectMessage(MessageAnswer::Ok);
  form.Raise("mnuExit", Event::Click);
  EXPECT_EQ(unloaded, (std::vector<std::string>{"frmPrintPreview", "frmAttributes", "frmWordList", "frmPrintOptions",
                                                "frmKV_Puzzle"}));
  EXPECT_FALSE(app.ctx.forms.Has("frmOpenSave")) << "a window never used is not made to close it";
}

// A list that keeps a 12 x 12 build busy for many yields.
struct DuringABuild : MainWindowTest {
  DuringABuild() {
    app.AddEntries({"ELEPHANT", "GIRAFFE", "KANGAROO", "PENGUIN", "DOLPHIN", "TORTOISE", "OSTRICH", "LEOPARD",
                    "BUFFALO", "CHEETAH", "GORILLA", "HEDGEHOG"});
    app.ctx.state.PuzzleWidth = 12;
    app.ctx.state.PuzzleHeight = 12;
    app.ctx.state.IncludeDiagonals = 1;
    SetListReadyState(app.ctx);
    form.Show();
  }
};

TEST_F(DuringABuild, ExitCancelsTheBuildAndAsksOnceItHasEnded) {
  app.pump.on_yield = [this] {
    if (app.pump.yields == 2) {
      form.Raise("cmdExit", Event::Click);
      form.Raise("mnuExit", Event::Click);  // impatient
    }
    EXPECT_TRUE(app.dialogs.messages.empty()) << "asked while the build runs";
  };
  app.dialogs.ExpectMessage(MessageAnswer::Cancel, "Are you sure you want to exit Kivrel?");
  form.Raise("cmdBuild", Event::Click);
  EXPECT_EQ(app.dialogs.messages.size(), 1u) << "asked once, however often Exit was pressed";
  EXPECT_FALSE(BuildRunning(app.ctx));
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, kTrue);
  EXPECT_TRUE(form.Enabled("cmdBuild") && form.Visible()) << "Cancel at the question keeps the program";
}

TEST_F(DuringABuild, TheCloseBoxWaitsForTheBuildToo) {
  bool refused = false;
  app.pump.on_yield = [this, &refused] {
    if (app.pump.yields == 2) refused = !form.Unload();
  };
  app.dialogs.ExpectMessage(MessageAnswer::Ok);
  form.Raise("cmdBuild", Event::Click);
  EXPECT_TRUE(refused) << "the window stays while the build ends";
  EXPECT_EQ(app.dialogs.messages.size(), 1u);
  EXPECT_FALSE(form.Visible()) << "then it closes after the question";
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, kTrue);
}

}  // namespace
}  // namespace kivrel
