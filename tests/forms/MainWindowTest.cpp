#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "display/GridViews.h"
#include "forms/MainWindow.h"
#include "program/CommandStates.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using namespace frmKV_Puzzle;

struct MainWindowTest : ::testing::Test {
  testing::TestApp app;
  MainWindow main{app.ctx};
  Form& form = app.ctx.MainForm();
  PuzzleState& s = app.ctx.state;
};

// Build says why a list without words builds nothing. No
// Duplicate Words is on at start and Lower Case Letters off; the words to avoid come
// from a list file, and a cancelled choice avoids nothing any more. Lower case redraws
// a grid on screen (outlines too) in the other case, and draws nothing without one.
TEST_F(MainWindowTest, BuildSaysWhyNothingIsBuiltAndTheOptionsTakeEffect) {
  app.AddEntries({"[a note]", "?!"});
  SetListReadyState(app.ctx);
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kNothingToBuildMessage);
  form.Raise(cmdBuild, Event::Click);
  EXPECT_EQ(s.PuzzleBuilt, 0);

  StartUp(app.ctx, 1);
  EXPECT_TRUE(form.Checked(mnuNoDuplicates) && !form.Checked(mnuLowerCase));
  testing::TempDir dir;
  app.dialogs.ExpectFile(dir.Write("avoid.txt", "bad\r\nNew York [city]\r\n\r\n!?\r\n")).ExpectFile(std::nullopt);
  form.Raise(mnuAvoidWords, Event::Click);
  EXPECT_EQ(app.ctx.AvoidWords, (std::vector<std::string>{"BAD", "NEWYORK"}));
  EXPECT_TRUE(form.Checked(mnuAvoidWords));
  form.Raise(mnuAvoidWords, Event::Click);
  EXPECT_TRUE(app.ctx.AvoidWords.empty() && !form.Checked(mnuAvoidWords));

  testing::MakeGrid(app.ctx, 5, 5);
  testing::PlaceWord(app.ctx, "ÄRA", 1, 1, 1);
  auto drawn = [&] {
    app.picture.ops.clear();
    form.Raise(mnuLowerCase, Event::Click);
    std::string texts;
    for (const std::string& text : app.picture.Texts()) texts += text;
    return texts + (app.picture.OfKind(testing::DrawOp::Kind::Arc).empty() ? "" : " outlined");
  };
  EXPECT_EQ(drawn(), "");  // no puzzle on screen
  EXPECT_TRUE(form.Checked(mnuLowerCase));
  s.PuzzleBuilt = kTrue;
  ToggleOutlines(app.ctx);
  const std::string upper = drawn();
  EXPECT_EQ(upper + "/" + drawn(), "ÄRA outlined/ära outlined");
}

// (Which lists the menu offers is tested with the menu itself, in tests/ui.) An example
// opens as an untitled list after the save prompt: saving it asks for a name and never
// writes over the file that came with the program.
TEST_F(MainWindowTest, AnExampleListOpensUntitledAfterTheSavePrompt) {
  const std::vector<ThemeList>& lists = main.ExampleLists();
  const auto sea = std::find_if(lists.begin(), lists.end(), [](const ThemeList& l) { return l.Name == "ocean"; });
  ASSERT_NE(sea, lists.end());
  app.AddEntries({"CAT"});
  s.WordListChanged = kTrue;
  app.dialogs.ExpectMessage(MessageAnswer::No, kSaveListPrompt);
  main.mnuExampleList_Click(static_cast<int>(sea - lists.begin()));
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.WordListFileName, s.WordCount, s.WordListChanged),
            std::make_tuple(std::string("Under the Sea"), std::string(), i16{27}, i16{0}));
  EXPECT_EQ(app.ctx.WordListForm().Text(frmWordList::lblFileName), "untitled");
  app.dialogs.ExpectFile(std::nullopt);  // Save List asks for a name; cancelled
  SaveList(app.ctx);
}

// Exit, pressed again and again, and the close box during a build cancel it; the window
// stays while the build ends, and the question comes once, after it. A puzzle built
// since it was last saved is named by the question, which offers to save it: Yes saves
// it (a save that does not happen keeps the program), No exits. A saved puzzle gets
// the plain question, and Cancel keeps every window. Exit closes the other windows in
// order; a window never used is not made to close it.
TEST_F(MainWindowTest, ExitCancelsTheBuildAndOffersToSaveAPuzzleBuiltSinceItWasSaved) {
  std::vector<std::string> unloaded;
  for (const Window* w : {&frmWordList::kWindow, &frmPrintOptions::kWindow, &frmAttributes::kWindow, &kWindow}) {
    Form& f = app.ctx.forms.Get(*w);
    f.Subscribe([&unloaded, &f](Control control, Property p) {
      if (control.IsWindow() && p == Property::Unload) unloaded.emplace_back(f.Name());
    });
  }
  app.SetUpPuzzle({"ELEPHANT", "GIRAFFE", "KANGAROO", "PENGUIN", "DOLPHIN", "TORTOISE", "OSTRICH", "LEOPARD", "BUFFALO",
                   "CHEETAH", "GORILLA", "HEDGEHOG"},
                  12, 12, 1);  // a build of many yields
  s.PuzzleTitle = "Zoo";
  SetListReadyState(app.ctx);
  form.Show();
  bool refused = false;
  app.pump.on_yield = [this, &refused] {
    if (app.pump.yields == 2) {
      form.Raise(cmdExit, Event::Click);
      form.Raise(mnuExit, Event::Click);
      refused = !form.Unload();
    }
    EXPECT_TRUE(app.dialogs.messages.empty()) << "asked while the build runs";
  };
  const std::string question = "Do you want to save the puzzle \"Zoo\" before you exit Kivrel?";
  app.dialogs.ExpectMessage(MessageAnswer::Yes, question).ExpectFile(std::nullopt);  // Save As cancelled
  form.Raise(cmdBuild, Event::Click);
  EXPECT_TRUE(refused);
  EXPECT_EQ(app.dialogs.messages.at(0).Buttons, MessageButtons::YesNoCancel);
  EXPECT_TRUE(!BuildRunning(app.ctx) && form.Visible() && s.PuzzleBuilt);
  app.pump.on_yield = nullptr;

  testing::TempDir dir;
  app.dialogs.ExpectFile(dir.File("zoo.kvp"));
  form.Raise(mnuSavePuzzleAs, Event::Click);
  app.dialogs.ExpectMessage(MessageAnswer::Cancel, std::string(kExitQuestion));
  form.Raise(mnuExit, Event::Click);
  EXPECT_EQ(std::make_pair(app.dialogs.messages.back().Title, unloaded.empty()),
            std::make_pair(std::string("Exit Kivrel"), true));
  const std::string first = testing::TempDir::Read(dir.File("zoo.kvp"));
  BuildPuzzle(app.ctx);
  app.dialogs.ExpectMessage(MessageAnswer::Yes, question);
  form.Raise(mnuExit, Event::Click);
  EXPECT_FALSE(form.Visible());
  EXPECT_NE(testing::TempDir::Read(dir.File("zoo.kvp")), first) << "the new puzzle was saved";
  EXPECT_EQ(unloaded, (std::vector<std::string>{"frmAttributes", "frmWordList", "frmPrintOptions", "frmKV_Puzzle"}));
  EXPECT_FALSE(app.ctx.forms.Has(frmPrintPreview::kWindow));
}

}  // namespace
}  // namespace kivrel
