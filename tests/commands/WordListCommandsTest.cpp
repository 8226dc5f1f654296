#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "TestApp.h"
#include "commands/WordListCommands.h"
#include "program/CommandStates.h"

namespace kivrel {
namespace {

using testing::TempDir;
using Entries = std::vector<std::string>;

// A changed list with attributes, as the user leaves it before saving.
struct ListFixture : ::testing::Test {
  ListFixture() {
    std::tie(s.PuzzleTitle, s.PuzzleWidth, s.PuzzleHeight, s.PuzzleInstructions) =
        std::make_tuple("My Puzzle", i16{15}, i16{14}, "Find all the words.");
    s.IncludeDiagonals = s.BalanceDirections = -1;
    app.AddEntries({"CAT"});
    s.WordListChanged = kTrue;
  }
  std::string Bytes() const { return WordListFileBytes(app.ctx.state, app.ctx.list.Entries()); }

  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  TempDir dir;
};

// The header and the entries in code page 1252 (a tab or line break in a field is a
// blank). The quote is an eighth field and Backwards Words off a ninth; readers of seven
// pass over them. Every field before the last is written, an empty one as a blank, so
// that a reader that takes a run of tabs for one separator still finds each in its place.
TEST_F(ListFixture, WritesTheHeaderFieldsInTheirPlaces) {
  app.AddEntries({"New York [city]", "café", "O\"Brien", "tab\there"});
  std::tie(s.PuzzleInstructions, s.MysteryQuote) = std::make_tuple("Two\r\nlines", "Cats\tnap");
  EXPECT_EQ(Bytes(),
            "1\tMy Puzzle\t 15\t 14\t-1\t 1\tTwo lines\tCats nap\r\n"
            "CAT\r\nNew York [city]\r\ncaf\xE9\r\n\"O\"Brien\"\r\ntab here\r\n");
  const std::tuple<const char*, const char*, i16, const char*> cases[] = {
      {"Find.", "", 1, "1\tMy Puzzle\t 15\t 14\t-1\t 1\tFind.\r\n"},
      {"", "Hi", 1, "1\tMy Puzzle\t 15\t 14\t-1\t 1\t \tHi\r\n"},
      {"", "", 0, "1\tMy Puzzle\t 15\t 14\t-1\t 1\t \t \t 0\r\n"}};
  for (const auto& [instructions, quote, backwards, header] : cases) {
    std::tie(s.PuzzleInstructions, s.MysteryQuote, s.BackwardsWords) = std::tie(instructions, quote, backwards);
    EXPECT_EQ(Bytes().substr(0, Bytes().find("\r\n") + 2), header);
  }
}

// Save asks for a name (before writing over a file) until one can be written. A failed
// write keeps the old file and the list changed; what code page 1252 cannot hold is
// named before anything is written, and Cancel writes nothing.
TEST_F(ListFixture, SaveAsksForANameUntilOneCanBeWrittenAndAFailedWriteKeepsTheOldFile) {
  s.PuzzleFileName = "/puzzles/ANIMALS.KVP";
  const std::string folder = dir.File("folder.kvl");
  std::filesystem::create_directory(folder);
  app.dialogs.ExpectFile(folder)
      .ExpectMessage(MessageAnswer::Ok, "Error while saving word list\n\n" + folder + ": Is a directory")
      .ExpectFile(dir.File("zoo.kvl"));
  EXPECT_TRUE(SaveWordList(app.ctx));
  const FileRequest& first = app.dialogs.files.at(0);
  EXPECT_EQ(std::tie(first.FileName, first.Flags), std::make_tuple("/puzzles/ANIMALS.kvl", kFileOverwritePrompt));
  EXPECT_EQ(std::make_pair(app.dialogs.files.at(1).FileName, TempDir::Read(dir.File("zoo.kvl"))),
            std::make_pair(folder, Bytes()));
  EXPECT_EQ(app.ctx.WordListForm().Text(frmWordList::lblFileName), dir.File("zoo.kvl"));
  EXPECT_TRUE(!s.WordListChanged && s.WordListSaved);

  s.WordListFileName = dir.Write("zoo.kvl", "OLD LIST\r\n");
  app.AddEntries({"Łódź", "✓ done"});
  std::tie(s.WordListChanged, s.WordListSaved) = std::make_pair(kTrue, kFalse);
  app.dialogs.ExpectMessage(MessageAnswer::Ok)
      .ExpectMessage(MessageAnswer::Ok, "Error while saving word list\n\n" + s.WordListFileName + ": File too large")
      .ExpectMessage(
          MessageAnswer::Cancel,
          "The file cannot hold these characters, which will be written as \"?\": Ł ź ✓\n\nSave all the same?");
  {
    testing::FileSizeLimit limit(16);
    EXPECT_FALSE(SaveWordList(app.ctx));
  }
  EXPECT_EQ(std::make_pair(s.WordListChanged, s.WordListSaved), std::make_pair(kTrue, i16{0}));
  EXPECT_FALSE(SaveWordList(app.ctx));
  EXPECT_EQ(TempDir::Read(s.WordListFileName), "OLD LIST\r\n");
}

TEST_F(ListFixture, ConfirmDiscardAsksOnlyForAChangedListAndFollowsTheAnswer) {
  app.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?")
      .ExpectMessage(MessageAnswer::Cancel)
      .ExpectMessage(MessageAnswer::Yes)
      .ExpectFile(std::nullopt)  // Yes, and Save As cancelled: the caller must not go on
      .ExpectMessage(MessageAnswer::Yes)
      .ExpectFile(dir.File("saved.kvl"));
  for (bool go_on : {true, false, false, true, true}) EXPECT_EQ(ConfirmDiscardList(app.ctx), go_on);
  EXPECT_EQ(app.dialogs.messages.at(0).Buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(s.WordListChanged, 0);  // saved: the last call asked nothing
}

// Another list on screen and a puzzle built from it. A file too big for the memory left
// (sparse: no disk used) is reported and changes nothing; after a file name error the
// dialog asks again, then the list is read. A size no page holds is named and the list
// opens without it; a file without entries leaves the empty list's state.
TEST_F(ListFixture, OpenListRefusesWhatItCannotTakeAndReadsTheRest) {
  app.ctx.list.Clear();
  app.AddEntries({"OLD"});
  std::tie(s.PuzzleWidth, s.PuzzleHeight, s.PuzzleBuilt, s.WordListChanged, s.WordListFileName) =
      std::make_tuple(i16{9}, i16{9}, kTrue, kFalse, "/lists/old.kvl");
  SetPuzzleReadyState(app.ctx);
  const std::string huge = dir.Sparse("huge.kvl", "", 512u << 20);
  if (testing::MemoryLimit::Applies()) {
    const testing::MemoryLimit limit(64u << 20);
    app.dialogs.ExpectFile(huge).ExpectMessage(MessageAnswer::Ok, "Not enough memory to open the file");
    OpenList(app.ctx);
  }
  EXPECT_EQ(std::tie(app.ctx.list.Entries(), s.PuzzleWidth, s.WordListFileName),
            std::make_tuple(Entries{"OLD"}, i16{9}, std::string("/lists/old.kvl")));
  const std::string path = dir.Write("zoo.kvl", "1\tZoo\t 12\t 10\t 0\t 1\tFind them.\r\nLION\r\nTIGER\r\n");
  app.dialogs.ExpectFile("C:\\LISTS\\missing.kvl")
      .ExpectMessage(MessageAnswer::Ok, "File name error - please check the name")
      .ExpectFile(path);
  OpenList(app.ctx);
  EXPECT_EQ(app.dialogs.files.back().FileName, "missing.kvl");  // what came before the backslash is dropped
  EXPECT_EQ(app.ctx.list.Entries(), (Entries{"LION", "TIGER"}));
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.WordListFileName, s.PuzzleWidth, s.SpaceCount, s.PuzzleBuilt, s.WordListChanged),
            std::make_tuple(std::string("Zoo"), path, i16{12}, i16{120}, i16{0}, i16{0}));
  EXPECT_EQ(app.ctx.WordListForm().Text(frmWordList::lblFileName), path);
  EXPECT_TRUE(app.ctx.WordListForm().Visible() && !app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint));

  app.dialogs.ExpectFile(dir.Write("wide.kvl", "1\tWide\t 500\t 15\t 1\t 1\t\r\nCAT\r\n"))
      .ExpectMessage(MessageAnswer::Ok,
                     "The list asks for a 500 x 15 puzzle. The largest puzzle is 99 x 99 letters: "
                     "Default Dimensions proposes a size for it.");
  OpenList(app.ctx);
  EXPECT_EQ(std::tie(app.ctx.list.Entries(), s.PuzzleTitle, s.PuzzleWidth, s.PuzzleHeight),
            std::make_tuple(Entries{"CAT"}, std::string("Wide"), i16{0}, i16{0}));
  app.dialogs.ExpectFile(dir.Write("empty.kvl", "1\tNothing yet\t 10\t 10\t 1\t 1\t\r\n"));
  OpenList(app.ctx);
  EXPECT_EQ(s.PuzzleTitle, "Nothing yet");
  EXPECT_TRUE(!app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild) &&
              app.ctx.WordListForm().Enabled(frmWordList::cmdAdd));
}

}  // namespace
}  // namespace kivrel
