#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "TestApp.h"
#include "files/WordListCommands.h"
#include "model/CommandStates.h"

namespace kivrel {
namespace {

using testing::FileSizeLimit;
using testing::TempDir;
using testing::TestApp;

// A list with attributes, as the user leaves it before saving.
void MakeList(TestApp& app, std::initializer_list<const char*> entries) {
  PuzzleState& s = app.ctx.state;
  s.PuzzleTitle = "My Puzzle";
  s.PuzzleWidth = 15;
  s.PuzzleHeight = 14;
  s.IncludeDiagonals = 1;
  s.BalanceDirections = -1;
  s.PuzzleInstructions = "Find all the words.";
  app.AddEntries(entries);
  s.WordListChanged = kTrue;
}

TEST(WordListFileBytes, WritesTheHeaderAndTheEntriesInCodePage1252) {
  TestApp app;
  MakeList(app, {"CAT", "New York [city]", "café"});
  app.ctx.state.IncludeDiagonals = -1;
  EXPECT_EQ(WordListFileBytes(app.ctx.state, app.ctx.list.Entries()),
            "1\tMy Puzzle\t 15\t 14\t-1\t 1\tFind all the words.\r\n"
            "CAT\r\nNew York [city]\r\ncaf\xE9\r\n");
}

TEST(WordListFileBytes, ReadsBackAsWritten) {
  // Everything the header carries comes back, an empty title included, and entries
  // that the reader would otherwise change (quotes, tabs) come back as they were.
  TestApp app;
  MakeList(app, {"O\"Brien", "\"", "\"quoted\"", " leading space", "tab\there", "Ünïcödé ✓", "\x01" "control"});
  PuzzleState& s = app.ctx.state;
  s.PuzzleTitle = "";
  s.PuzzleInstructions = "Line one\r\nline two\tand a tab";
  std::string error;
  auto parsed = ParseWordList(WordListFileBytes(s, app.ctx.list.Entries()), &error);
  ASSERT_TRUE(parsed) << error;
  TestApp back;
  ASSERT_TRUE(LoadWordList(back.ctx, *parsed, &error));
  const PuzzleState& r = back.ctx.state;
  EXPECT_EQ(r.PuzzleTitle, "");
  EXPECT_EQ(r.PuzzleWidth, 15);
  EXPECT_EQ(r.PuzzleHeight, 14);
  EXPECT_EQ(r.IncludeDiagonals, 1);
  EXPECT_EQ(r.BalanceDirections, 1);
  EXPECT_EQ(r.PuzzleInstructions, "Line one line two and a tab");
  EXPECT_EQ(back.ctx.list.Entries(),
            (std::vector<std::string>{"O\"Brien", "\"", "\"quoted\"", " leading space", "tab here", "Ünïcödé ?",
                                      "\x01" "control"}));
}

TEST(SuggestWordListName, FollowsTheExtensionRules) {
  EXPECT_EQ(SuggestWordListName("", "C:\\PUZ\\ANIMALS.kvp"), "C:\\PUZ\\ANIMALS.kvl");
  EXPECT_EQ(SuggestWordListName("LIST.txt", "other.kvp"), "LIST.txt");
  EXPECT_EQ(SuggestWordListName("ABCDEFGHIJ", ""), "ABCDEFGH.kvl");
  EXPECT_EQ(SuggestWordListName("Zoo.KVP", ""), "Zoo.kvl");
  EXPECT_EQ(SuggestWordListName("SHORT", ""), "SHORT.kvl");
  EXPECT_EQ(SuggestWordListName("", "a.kv"), "");                // a puzzle name of 4 characters is not used
  EXPECT_EQ(SuggestWordListName("abc", ""), "abc");
  EXPECT_EQ(SuggestWordListName("/home/ann/wordlists", ""), "/home/ann/wordlist.kvl");  // folders stay whole
  EXPECT_EQ(SuggestWordListName("/home/ann/Übersetzungen", ""), "/home/ann/Übersetz.kvl");
}

TEST(SaveWordList, WritesTheFileAndClearsTheChangedFlag) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  s.WordListFileName = dir.File("zoo.kvl");
  EXPECT_TRUE(SaveWordList(app.ctx));
  EXPECT_EQ(TempDir::Read(s.WordListFileName), WordListFileBytes(s, app.ctx.list.Entries()));
  EXPECT_EQ(s.WordListChanged, 0);
  EXPECT_NE(s.WordListSaved, 0);
}

TEST(SaveWordList, WithoutANameAsksForOneWithTheSaveAsDialog) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  s.PuzzleFileName = "/puzzles/ANIMALS.KVP";
  app.dialogs.ExpectFile(dir.File("chosen.kvl"));
  EXPECT_TRUE(SaveWordList(app.ctx));
  ASSERT_EQ(app.dialogs.files.size(), 1u);
  const FileRequest& request = app.dialogs.files[0];
  EXPECT_EQ(request.Action, FileRequest::Kind::SaveAs);
  EXPECT_EQ(request.DialogTitle, "Save Word List As");
  EXPECT_EQ(request.Filter, "All Files (*.*)|*.*|Word List Files (*.kvl)|*.kvl|Text Files (*.txt)|*.txt");
  EXPECT_EQ(request.FilterIndex, 2);
  EXPECT_EQ(request.FileName, "/puzzles/ANIMALS.kvl");
  EXPECT_EQ(request.DefaultExt, "KVL");
  EXPECT_EQ(request.Flags, 2);
  EXPECT_EQ(s.WordListFileName, dir.File("chosen.kvl"));
  EXPECT_EQ(app.ctx.WordListForm().Text("lblFileName"), dir.File("chosen.kvl"));
  EXPECT_FALSE(TempDir::Read(dir.File("chosen.kvl")).empty());
}

TEST(SaveWordList, ATargetThatCannotBeOpenedOffersTheDialogAgain) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  std::filesystem::create_directory(dir.File("folder.kvl"));
  s.WordListFileName = dir.File("folder.kvl");
  app.dialogs.ExpectFile(std::nullopt);
  EXPECT_FALSE(SaveWordList(app.ctx));
  EXPECT_EQ(app.dialogs.files.at(0).FileName, dir.File("folder.kvl"));  // a name with an extension is kept
  EXPECT_EQ(s.WordListFileName, "");
  EXPECT_EQ(app.ctx.WordListForm().Text("lblFileName"), "");
  EXPECT_NE(s.WordListChanged, 0);
  EXPECT_EQ(s.WordListSaved, 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.kvl")));
}

TEST(SaveWordList, AFailedWriteIsReportedAndTheOldFileStays) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT", "DOG", "HORSE"});
  PuzzleState& s = app.ctx.state;
  s.WordListFileName = dir.Write("zoo.kvl", "OLD LIST\r\n");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Error while saving word list");
  {
    FileSizeLimit limit(16);
    EXPECT_FALSE(SaveWordList(app.ctx));
  }
  EXPECT_EQ(app.dialogs.messages.at(0).Title, "Kivrel Error");
  EXPECT_EQ(app.dialogs.messages.at(0).Icon, MessageIcon::Exclamation);
  EXPECT_EQ(TempDir::Read(s.WordListFileName), "OLD LIST\r\n");
  EXPECT_NE(s.WordListChanged, 0);
  EXPECT_EQ(s.WordListSaved, 0);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(ConfirmDiscardList, AsksOnlyForAChangedListAndFollowsTheAnswer) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;

  s.WordListChanged = kFalse;
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));  // no prompt

  s.WordListChanged = kTrue;
  app.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?");
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));
  const MessageRequest& prompt = app.dialogs.messages.at(0);
  EXPECT_EQ(prompt.Title, "Kivrel");
  EXPECT_EQ(prompt.Buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(prompt.Icon, MessageIcon::None);

  app.dialogs.ExpectMessage(MessageAnswer::Cancel);
  EXPECT_FALSE(ConfirmDiscardList(app.ctx));

  // Yes with no file name, and the Save As dialog cancelled: the caller must not go on.
  app.dialogs.ExpectMessage(MessageAnswer::Yes).ExpectFile(std::nullopt);
  EXPECT_FALSE(ConfirmDiscardList(app.ctx));
  EXPECT_NE(s.WordListChanged, 0);

  app.dialogs.ExpectMessage(MessageAnswer::Yes).ExpectFile(dir.File("saved.kvl"));
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));
  EXPECT_EQ(s.WordListChanged, 0);
}

TEST(MainWindowSaveListCommands, SaveAsAsksEvenWhenTheListHasAName) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  s.WordListFileName = dir.File("old.kvl");
  app.dialogs.ExpectFile(dir.File("new.kvl"));
  mnuSaveListAs_Click(app.ctx);
  EXPECT_EQ(app.dialogs.files.at(0).FileName, dir.File("old.kvl"));
  EXPECT_FALSE(TempDir::Read(dir.File("new.kvl")).empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.kvl")));

  app.dialogs.ExpectFile(std::nullopt);
  mnuSaveListAs_Click(app.ctx);  // cancelled: nothing written, the name is gone
  EXPECT_EQ(s.WordListFileName, "");

  s.WordListFileName = dir.File("plain.kvl");
  mnuSaveList_Click(app.ctx);  // no dialog
  EXPECT_FALSE(TempDir::Read(dir.File("plain.kvl")).empty());
}

class OpenListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A puzzle on screen and a list that was saved.
    app.AddEntries({"OLD"});
    PuzzleState& s = app.ctx.state;
    s.PuzzleWidth = s.PuzzleHeight = 9;
    s.PuzzleBuilt = kTrue;
    s.WordListFileName = "/lists/old.kvl";
    SetPuzzleReadyState(app.ctx);
  }
  TestApp app;
  TempDir dir;
};

TEST_F(OpenListTest, ReadsTheChosenFileAfterAFileNameError) {
  const std::string path = dir.Write("zoo.kvl", "1\tZoo\t 12\t 10\t 0\t 1\tFind them.\r\nLION\r\nTIGER\r\n");
  app.dialogs.ExpectFile("C:\\LISTS\\missing.kvl")
      .ExpectMessage(MessageAnswer::Ok, "File name error - please check the name")
      .ExpectFile(path);
  mnuOpenList_Click(app.ctx);

  ASSERT_EQ(app.dialogs.files.size(), 2u);
  EXPECT_EQ(app.dialogs.files[0].DialogTitle, "Open Word List");
  EXPECT_EQ(app.dialogs.files[0].Action, FileRequest::Kind::Open);
  EXPECT_EQ(app.dialogs.files[0].FilterIndex, 2);
  EXPECT_EQ(app.dialogs.files[0].Filter, kWordListFilter);
  EXPECT_EQ(app.dialogs.files[0].FileName, "");
  EXPECT_EQ(app.dialogs.files[1].FileName, "missing.kvl");  // the folders are dropped
  EXPECT_EQ(app.dialogs.messages.at(0).Title, "Kivrel Message");
  EXPECT_EQ(app.dialogs.messages.at(0).Icon, MessageIcon::Critical);

  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(app.ctx.list.Entries(), (std::vector<std::string>{"LION", "TIGER"}));
  EXPECT_EQ(s.PuzzleTitle, "Zoo");
  EXPECT_EQ(s.PuzzleWidth, 12);
  EXPECT_EQ(s.PuzzleBuilt, 0);
  EXPECT_EQ(s.WordListFileName, path);
  EXPECT_EQ(s.WordListChanged, 0);
  EXPECT_EQ(app.ctx.WordListForm().Text("lblFileName"), path);
  EXPECT_TRUE(app.ctx.WordListForm().Visible());
  EXPECT_TRUE(app.ctx.MainForm().Enabled("mnuBuild"));  // ListReady
  EXPECT_FALSE(app.ctx.MainForm().Enabled("mnuPrint"));
}

TEST_F(OpenListTest, CancelChangesNothing) {
  app.dialogs.ExpectFile("/no/such/file.kvl").ExpectMessage(MessageAnswer::Ok).ExpectFile(std::nullopt);
  mnuOpenList_Click(app.ctx);
  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"OLD"});
  EXPECT_EQ(app.ctx.state.WordListFileName, "/lists/old.kvl");  // not the name that failed
  EXPECT_NE(app.ctx.state.PuzzleBuilt, 0);
}

TEST_F(OpenListTest, CancelAtTheSavePromptShowsNoDialog) {
  app.ctx.state.WordListChanged = kTrue;
  app.dialogs.ExpectMessage(MessageAnswer::Cancel);
  mnuOpenList_Click(app.ctx);
  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"OLD"});
}

TEST_F(OpenListTest, AFileTheReaderRefusesIsReportedAndChangesNothing) {
  const std::string path = dir.Write("big.kvl", "1\tBig\t 200\t 200\t 1\t 1\t\r\nCAT\r\n");
  app.dialogs.ExpectFile(path).ExpectMessage(MessageAnswer::Ok);
  mnuOpenList_Click(app.ctx);
  EXPECT_EQ(app.dialogs.messages.at(0).Title, "Kivrel Error");
  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"OLD"});
  EXPECT_EQ(app.ctx.state.PuzzleWidth, 9);
  EXPECT_EQ(app.ctx.state.WordListFileName, "/lists/old.kvl");
}

TEST_F(OpenListTest, AFileWithoutEntriesLeavesTheEmptyListState) {
  app.dialogs.ExpectFile(dir.Write("empty.kvl", "1\tNothing yet\t 10\t 10\t 1\t 1\t\r\n"));
  mnuOpenList_Click(app.ctx);
  EXPECT_EQ(app.ctx.state.WordCount, 0);
  EXPECT_EQ(app.ctx.state.PuzzleTitle, "Nothing yet");
  EXPECT_FALSE(app.ctx.MainForm().Enabled("mnuBuild"));
  EXPECT_TRUE(app.ctx.WordListForm().Enabled("cmdAdd"));
}

}  // namespace
}  // namespace kivrel
