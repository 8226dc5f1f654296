#include <gtest/gtest.h>

#include <filesystem>

#include "SamplePuzzle.h"
#include "TempDir.h"
#include "TestApp.h"
#include "files/PuzzleCommands.h"
#include "model/CommandStates.h"

namespace kivrel {
namespace {

using testing::FileSizeLimit;
using testing::MakeSamplePuzzle;
using testing::SamplePuzzleBytes;
using testing::TempDir;
using testing::TestApp;

const std::string kZoo = std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl";

TEST(SuggestPuzzleName, AnyExtensionBecomesKvp) {
  EXPECT_EQ(SuggestPuzzleName("", "C:\\LISTS\\ZOO.KVL"), "C:\\LISTS\\ZOO.kvp");
  EXPECT_EQ(SuggestPuzzleName("", "LIST.txt"), "LIST.kvp");
  EXPECT_EQ(SuggestPuzzleName("ABCDEFGHIJ", "LIST.txt"), "ABCDEFGHIJ.kvp");
  EXPECT_EQ(SuggestPuzzleName("  zoo.kvp  ", ""), "zoo.kvp");
  EXPECT_EQ(SuggestPuzzleName("", "a.kv"), "");  // a list name of 4 characters is not used
  EXPECT_EQ(SuggestPuzzleName("abcd", ""), "abcd");
  EXPECT_EQ(SuggestPuzzleName("", "/home/ann/Tiere.kvl"), "/home/ann/Tiere.kvp");
  EXPECT_EQ(SuggestPuzzleName("", "/home/ann/Tiere.äöü"), "/home/ann/Tiere.kvp");
}

TEST(WritePuzzleFile, WritesTheStateToTheNamedFile) {
  TestApp app;
  TempDir dir;
  MakeSamplePuzzle(app);
  app.ctx.state.PuzzleFileName = dir.File("zoo.kvp");
  EXPECT_TRUE(WritePuzzleFile(app.ctx));
  EXPECT_EQ(TempDir::Read(dir.File("zoo.kvp")), SamplePuzzleBytes());
}

TEST(WritePuzzleFile, WithoutANameAsksWithTheListsNameAsTheSuggestion) {
  TestApp app;
  TempDir dir;
  MakeSamplePuzzle(app);
  app.ctx.state.WordListFileName = "C:\\LISTS\\ZOO.KVL";
  app.dialogs.ExpectFile(std::nullopt);
  EXPECT_FALSE(WritePuzzleFile(app.ctx));
  const FileRequest& request = app.dialogs.files.at(0);
  EXPECT_EQ(request.Action, FileRequest::Kind::SaveAs);
  EXPECT_EQ(request.DialogTitle, "Save Puzzle As");
  EXPECT_EQ(request.Filter, "All Files (*.*)|*.*|Puzzle Files (*.kvp)|*.kvp");
  EXPECT_EQ(request.FilterIndex, 2);
  EXPECT_EQ(request.FileName, "C:\\LISTS\\ZOO.kvp");
  EXPECT_EQ(request.DefaultExt, "KVP");
  EXPECT_EQ(request.Flags, 2);
  EXPECT_EQ(app.ctx.state.PuzzleFileName, "");

  // A folder cannot be written: the dialog comes again.
  std::filesystem::create_directory(dir.File("folder.kvp"));
  app.ctx.state.PuzzleFileName = dir.File("folder.kvp");
  app.dialogs.ExpectFile(dir.File("chosen.kvp"));
  EXPECT_TRUE(WritePuzzleFile(app.ctx));
  EXPECT_EQ(TempDir::Read(dir.File("chosen.kvp")), SamplePuzzleBytes());
}

TEST(WritePuzzleFile, AFailedSaveIsReportedAndTheOldFileStays) {
  TestApp app;
  TempDir dir;
  MakeSamplePuzzle(app);
  PuzzleState& s = app.ctx.state;
  s.PuzzleFileName = dir.Write("zoo.kvp", "old puzzle");
  {
    FileSizeLimit limit(32);
    app.dialogs.ExpectMessage(MessageAnswer::Ok, "Error while saving puzzle");
    EXPECT_FALSE(WritePuzzleFile(app.ctx));
  }
  // Instructions the format cannot carry fail the same way, before anything is written.
  s.PuzzleInstructions = std::string(40000, 'x');
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Error while saving puzzle");
  EXPECT_FALSE(WritePuzzleFile(app.ctx));

  for (const MessageRequest& message : app.dialogs.messages) {
    EXPECT_EQ(message.Title, "Kivrel Error");
    EXPECT_EQ(message.Icon, MessageIcon::Critical);
  }
  EXPECT_EQ(TempDir::Read(s.PuzzleFileName), "old puzzle");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(SavePuzzleCommands, SaveAsAsksEvenWhenThePuzzleHasAName) {
  TestApp app;
  TempDir dir;
  MakeSamplePuzzle(app);
  app.ctx.state.PuzzleFileName = dir.File("old.kvp");
  app.dialogs.ExpectFile(dir.File("new.kvp"));
  mnuSavePuzzleAs_Click(app.ctx);
  EXPECT_EQ(app.dialogs.files.at(0).FileName, dir.File("old.kvp"));
  EXPECT_EQ(TempDir::Read(dir.File("new.kvp")), SamplePuzzleBytes());
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.kvp")));

  mnuSavePuzzle_Click(app.ctx);  // no dialog now
  EXPECT_EQ(app.ctx.state.PuzzleFileName, dir.File("new.kvp"));
}

class OpenPuzzleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Another list and puzzle on screen.
    app.AddEntries({"OLD", "WORDS"});
    PuzzleState& s = app.ctx.state;
    BuildWordTable(app.ctx);
    s.PuzzleTitle = "Before";
    s.PuzzleWidth = s.PuzzleHeight = 4;
    s.Grid.Create(4, 4);
    s.Grid.At(1, 1).Letter = "O";
    s.PuzzleBuilt = kTrue;
    s.InsertedCount = 2;
    s.WordListFileName = "/lists/old.kvl";
    s.PuzzleFileName = "/puzzles/old.kvp";
    s.OutlinesShown = kTrue;
    SetPuzzleReadyState(app.ctx);
    ShowStatistic(app.ctx, kInsertedLabel, 2, kCountPicture);
    app.ctx.SizePuzzleDisplay = [this] { ++sized; };
    app.ctx.display.CellSize = 300;
  }
  TestApp app;
  TempDir dir;
  int sized = 0;
};

TEST_F(OpenPuzzleTest, RestoresTheWholePuzzle) {
  TestApp writer;
  MakeSamplePuzzle(writer);
  const PuzzleState& w = writer.ctx.state;
  const std::string path = dir.Write("zoo.kvp", SamplePuzzleBytes());
  app.dialogs.ExpectFile(path);
  app.picture.SetForeColor(kRed);
  mnuOpenPuzzle_Click(app.ctx);

  const PuzzleState& s = app.ctx.state;
  // Every field of the file, with the flags adjusted and the highlights cleared.
  EXPECT_EQ(s.PuzzleTitle, "Zoo Trip");
  EXPECT_EQ(s.PuzzleInstructions, w.PuzzleInstructions);
  EXPECT_EQ(s.PuzzleWidth, 3);
  EXPECT_EQ(s.PuzzleHeight, 2);
  EXPECT_EQ(s.SpaceCount, 6);
  EXPECT_EQ(s.InsertedCount, 2);
  EXPECT_EQ(s.RejectedCount, 1);
  EXPECT_EQ(s.LetterCount, 13);
  EXPECT_EQ(s.LettersRemaining, 8);
  EXPECT_EQ(s.SpacesRemaining, 2);
  EXPECT_EQ(s.JunctionCount, 1);
  EXPECT_EQ(s.LongestWordIndex, 3);
  EXPECT_EQ(s.LongestWordLength, 8);
  EXPECT_EQ(s.ShortestWordLength, 2);
  EXPECT_EQ(s.StopRemainingOperator, "<=");
  EXPECT_EQ(s.StopRemainingCount, 5);
  EXPECT_EQ(s.BalanceDirections, 1);
  EXPECT_EQ(s.IncludeDiagonals, 1);
  EXPECT_EQ(s.FastBuild, 1);
  EXPECT_EQ(s.DirectionWordCount, w.DirectionWordCount);
  ASSERT_EQ(s.WordsUpperBound(), 3);
  for (int k = 1; k <= 3; ++k) {
    WordRecord expected = w.Words[static_cast<std::size_t>(k)];
    expected.Shown = 0;
    EXPECT_EQ(s.Words[static_cast<std::size_t>(k)], expected) << "word " << k;
  }
  for (int row = 1; row <= 2; ++row) {
    for (int col = 1; col <= 3; ++col) {
      CellRecord expected = w.Grid.At(row, col);
      expected.ShowCount = 0;
      EXPECT_EQ(s.Grid.At(row, col), expected) << row << ", " << col;
    }
  }

  // The files, the list and the flags.
  EXPECT_EQ(s.PuzzleFileName, path);
  EXPECT_EQ(s.WordListFileName, "");
  EXPECT_EQ(app.ctx.list.Entries(), (std::vector<std::string>{"CAT", "to [prep]", "Éléphant"}));
  EXPECT_EQ(s.WordCount, 3);
  EXPECT_EQ(s.WordListChanged, 0);
  EXPECT_NE(s.PuzzleBuilt, 0);
  EXPECT_EQ(s.OutlinesShown, 0);
  EXPECT_EQ(s.JunctionsShown, 0);

  // The windows.
  Form& main = app.ctx.MainForm();
  Form& list = app.ctx.WordListForm();
  EXPECT_EQ(main.Caption(), "Kivrel Puzzle Maker - Zoo Trip");
  EXPECT_EQ(app.ctx.AttributesForm().Text("txtInstructions"), w.PuzzleInstructions);
  EXPECT_EQ(list.Text("lblFileName"), "");
  EXPECT_FALSE(list.Enabled("cmdHideAll"));
  EXPECT_TRUE(list.Enabled("cmdSave"));
  EXPECT_TRUE(main.Enabled("mnuSaveList"));
  EXPECT_TRUE(main.Enabled("mnuPrint"));  // PuzzleReady
  EXPECT_TRUE(main.Visible());
  EXPECT_TRUE(list.Visible());
  EXPECT_EQ(main.Text("lblWordCount"), "3");
  EXPECT_EQ(main.Text(kInsertedLabel), "2");
  EXPECT_EQ(main.Text(kRejectedLabel), "1");
  EXPECT_EQ(main.Text(kLettersLabel), "13");
  EXPECT_EQ(main.Text(kSpacesLabel), "6");
  EXPECT_EQ(main.Text(kLettersRemainingLabel), "8");
  EXPECT_EQ(main.Text(kSpacesRemainingLabel), "2");
  EXPECT_EQ(main.Text(kJunctionsLabel), "1");
  EXPECT_EQ(main.Text(DirectionLabel(0)), "1");
  EXPECT_EQ(main.Text(DirectionLabel(1)), "");  // "####" shows 0 as nothing
  EXPECT_EQ(main.Text(DirectionLabel(2)), "1");

  // The picture: cleared, sized, every letter drawn in black.
  EXPECT_EQ(sized, 1);
  EXPECT_EQ(app.picture.Texts(), (std::vector<std::string>{"C", "A", "T", "O"}));
  for (const auto& op : app.picture.OfKind(testing::DrawOp::Kind::Text)) EXPECT_EQ(op.color, kBlack);
  EXPECT_EQ(app.picture.OfKind(testing::DrawOp::Kind::Cls).size(), 1u);
  ASSERT_TRUE(app.picture.TextAt(750, 300));  // the O: column 3, row 2, centred
  EXPECT_EQ(app.picture.TextAt(750, 300)->text, "O");
}

TEST_F(OpenPuzzleTest, ARefusedFileLeavesThePuzzleOnScreen) {
  const PuzzleState before = app.ctx.state;
  app.dialogs.ExpectFile(kZoo).ExpectMessage(MessageAnswer::Ok, "File does not contain a Kivrel puzzle");
  mnuOpenPuzzle_Click(app.ctx);

  const MessageRequest& message = app.dialogs.messages.at(0);
  EXPECT_EQ(message.Title, "Kivrel Error");
  EXPECT_EQ(message.Icon, MessageIcon::Critical);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.PuzzleTitle, "Before");
  EXPECT_EQ(s.PuzzleWidth, 4);
  EXPECT_EQ(s.Grid, before.Grid);
  EXPECT_EQ(s.Words, before.Words);
  EXPECT_EQ(s.WordCount, before.WordCount);
  EXPECT_EQ(s.PuzzleFileName, "/puzzles/old.kvp");  // Save Puzzle must not write over the list file
  EXPECT_EQ(s.WordListFileName, "/lists/old.kvl");
  EXPECT_NE(s.PuzzleBuilt, 0);
  EXPECT_NE(s.OutlinesShown, 0);
  EXPECT_EQ(app.ctx.list.Entries(), (std::vector<std::string>{"OLD", "WORDS"}));
  EXPECT_TRUE(app.ctx.MainForm().Enabled("mnuSavePuzzle"));
  EXPECT_EQ(app.ctx.MainForm().Text(kInsertedLabel), "2");
  EXPECT_TRUE(app.picture.ops.empty());
  EXPECT_EQ(sized, 0);
  EXPECT_TRUE(app.ctx.WordListForm().Visible());  // shown all the same
}

TEST_F(OpenPuzzleTest, AsksAgainAfterAFileNameErrorAndStopsOnCancel) {
  app.dialogs.ExpectFile("C:\\PUZ\\gone.kvp")
      .ExpectMessage(MessageAnswer::Ok, "File name error - please check the name")
      .ExpectFile(dir.path().string())  // a folder cannot be read either
      .ExpectMessage(MessageAnswer::Ok, "File name error - please check the name")
      .ExpectFile(std::nullopt);
  mnuOpenPuzzle_Click(app.ctx);
  ASSERT_EQ(app.dialogs.files.size(), 3u);
  EXPECT_EQ(app.dialogs.files[0].DialogTitle, "Open Puzzle");
  EXPECT_EQ(app.dialogs.files[0].Filter, kPuzzleFilter);
  EXPECT_EQ(app.dialogs.files[0].FilterIndex, 2);
  EXPECT_EQ(app.dialogs.files[1].FileName, "gone.kvp");
  EXPECT_EQ(app.dialogs.messages[0].Title, "Kivrel Message");
  EXPECT_EQ(app.ctx.state.PuzzleFileName, "/puzzles/old.kvp");
  EXPECT_EQ(app.ctx.state.PuzzleTitle, "Before");
  EXPECT_FALSE(app.ctx.WordListForm().Visible());
}

TEST_F(OpenPuzzleTest, AChangedListIsOfferedForSavingFirst) {
  app.ctx.state.WordListChanged = kTrue;
  app.dialogs.ExpectMessage(MessageAnswer::Cancel, "Do you want to save the current list?");
  mnuOpenPuzzle_Click(app.ctx);
  EXPECT_TRUE(app.dialogs.files.empty());
}

}  // namespace
}  // namespace kivrel
