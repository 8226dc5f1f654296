// Opening and saving word lists and puzzles, and the files given to the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "SamplePuzzle.h"
#include "TempDir.h"
#include "commands/OpenGivenFile.h"
#include "commands/PuzzleCommands.h"
#include "commands/WordListCommands.h"
#include "program/CommandStates.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::SamplePuzzleBytes;
using testing::TempDir;
using Entries = std::vector<std::string>;

// Another list, with its attributes, and a puzzle built from it on screen.
struct FileCommands : ::testing::Test {
  FileCommands() {
    app.AddEntries({"OLD", "WORDS"});
    BuildWordTable(app.ctx);
    s.PuzzleTitle = "My Puzzle";
    s.PuzzleInstructions = "Find all the words.";
    s.IncludeDiagonals = s.BalanceDirections = -1;
    s.PuzzleWidth = s.PuzzleHeight = 4;
    s.Grid.Create(4, 4);
    s.PuzzleBuilt = s.OutlinesShown = kTrue;
    s.WordListFileName = "/lists/old.kvl";
    s.PuzzleFileName = "/puzzles/old.kvp";
    SetPuzzleReadyState(app.ctx);
    app.ctx.SizePuzzleDisplay = [this] { ++sized; };
    app.ctx.display.CellSize = 300;
    app.picture.SetForeColor(kRed);
  }
  std::string Bytes() const { return WordListFileBytes(app.ctx.state, app.ctx.list.Entries()); }

  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  TempDir dir;
  int sized = 0;
};

// Save asks for a name with the list's name as the suggestion (the extension of a
// puzzle in place of the list's), and writes the grid at its own size. A failed save is
// reported; characters the file cannot hold are named first, and the user may keep the
// old file.
TEST_F(FileCommands, SavePuzzleAsksForANameAndAFailedOrCancelledSaveKeepsTheOldFile) {
  testing::MakeSamplePuzzle(app);
  s.WordListFileName = "C:\\LISTS\\ZOO.KVL";
  s.PuzzleFileName = "";
  s.PuzzleWidth = i16{10};
  app.dialogs.ExpectFile(std::nullopt).ExpectFile(dir.File("zoo.kvp"));
  EXPECT_FALSE(WritePuzzleFile(app.ctx));
  EXPECT_EQ(s.PuzzleFileName, "");
  EXPECT_TRUE(WritePuzzleFile(app.ctx));
  EXPECT_EQ(app.dialogs.files.at(0).FileName, "C:\\LISTS\\ZOO.kvp");
  EXPECT_EQ(TempDir::Read(dir.File("zoo.kvp")), SamplePuzzleBytes());

  s.PuzzleFileName = dir.Write("zoo.kvp", "old puzzle");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Error while saving puzzle\n\n" + s.PuzzleFileName + ": File too large")
      .ExpectMessage(MessageAnswer::Ok, "Error while saving puzzle")
      .ExpectMessage(MessageAnswer::Cancel,
                     "The file cannot hold these characters, which will be written as \"?\": ✓\n\nSave all the same?")
      .ExpectMessage(MessageAnswer::Ok);
  {
    testing::FileSizeLimit limit(32);
    EXPECT_FALSE(WritePuzzleFile(app.ctx));
  }
  // Instructions the format cannot carry fail the same way.
  const std::string instructions = std::exchange(s.PuzzleInstructions, std::string(40000, 'x'));
  EXPECT_FALSE(WritePuzzleFile(app.ctx));
  s.PuzzleInstructions = instructions;
  s.PuzzleTitle = "Zoo ✓";
  EXPECT_FALSE(WritePuzzleFile(app.ctx));
  EXPECT_EQ(std::make_pair(TempDir::Read(s.PuzzleFileName), dir.EntryCount()),
            std::make_pair(std::string("old puzzle"), 1L));
  EXPECT_TRUE(WritePuzzleFile(app.ctx));
}

// Every field of the file comes back, with the flags adjusted and the highlights
// cleared; the list, the captions and the statistics follow, and the picture is
// cleared, sized and every letter drawn in black in its cell.
TEST_F(FileCommands, OpenRestoresTheWholePuzzle) {
  const std::string path = dir.Write("zoo.kvp", SamplePuzzleBytes());
  s.WordTableStale = kTrue;
  app.dialogs.ExpectFile(path);
  OpenPuzzle(app.ctx);
  PuzzleFile file = *ParsePuzzleFile(SamplePuzzleBytes());
  for (WordRecord& word : file.Words) word.Shown = 0;
  for (int col = 1; col <= 3; ++col) file.Grid.At(1, col).ShowCount = 0;
  file.Header.BalanceDirections = file.Header.IncludeDiagonals = file.Header.FastBuild = 1;
  EXPECT_EQ(PuzzleFileFromState(s), file);
  EXPECT_EQ(std::tie(s.PuzzleFileName, s.WordListFileName), std::make_tuple(path, std::string()));
  EXPECT_EQ(app.ctx.list.Entries(), (Entries{"CAT", "to [prep]", "Éléphant"}));
  EXPECT_EQ(std::tie(s.WordCount, s.WordListChanged, s.PuzzleBuilt, s.OutlinesShown, s.WordTableStale),
            std::make_tuple(i16{3}, i16{0}, kTrue, i16{0}, i16{0}));
  EXPECT_TRUE(app.ctx.WordListForm().Visible() && app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint));
  EXPECT_EQ(sized, 1);
  ASSERT_EQ(app.picture.ops.at(0).kind, testing::DrawOp::Kind::Cls);
  EXPECT_EQ(app.picture.Texts(), (Entries{"C", "A", "T", "O"}));
  for (const auto& op : app.picture.OfKind(testing::DrawOp::Kind::Text)) EXPECT_EQ(op.color, kBlack);
  EXPECT_TRUE(app.picture.TextAt(750, 300));  // the O: column 3, row 2
}

// A cancelled or refused open leaves the puzzle on screen, and Save Puzzle must not
// write over the file that was refused. A puzzle's header on 2 GB is refused from the
// header, without reading the rest (there is not memory enough for it here). A file
// given that can be read opens.
TEST_F(FileCommands, ARefusedOpenOrGivenFileLeavesThePuzzleAndAGoodOneOpens) {
  const PuzzleState before = app.ctx.state;
  app.dialogs.ExpectFile(std::nullopt);
  OpenPuzzle(app.ctx);
  EXPECT_FALSE(app.ctx.WordListForm().Visible());
  const std::string zoo = std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl";
  app.dialogs.ExpectFile(zoo).ExpectMessage(MessageAnswer::Ok, "File does not contain a Kivrel puzzle");
  OpenPuzzle(app.ctx);
  const std::string huge = dir.Sparse("huge.kvp", SamplePuzzleBytes().substr(0, 42), 2'000'000'000);
  if (testing::MemoryLimit::Applies()) {
    const testing::MemoryLimit limit(256 << 20);
    app.dialogs.ExpectFile(huge).ExpectMessage(MessageAnswer::Ok, "File does not contain a Kivrel puzzle");
    OpenPuzzle(app.ctx);
  }
  // A file given to the program that it cannot read is named with the reason, the only
  // hint a user who started `kivrel FILE` gets. (Which files are refused for what reason,
  // a FIFO among them, is tested in tests/files.)
  const std::tuple<std::string, std::string, const char*> cases[] = {
      {dir.File("missing.kvl"),
       "File name error - please check the name\n\n" + dir.File("missing.kvl") + ": No such file or directory",
       "Kivrel Message"},
      {dir.Write("picture.png", "\x89PNG\r\n\x1A\n"), "File does not contain a Kivrel word list or puzzle",
       "Kivrel Error"},
      {dir.Write("photo.kvl", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01", 13)),
       "File does not contain a Kivrel word list - it holds bytes that are not text", "Kivrel Error"}};
  for (const auto& [path, message, title] : cases) {
    app.dialogs.ExpectMessage(MessageAnswer::Ok, message);
    OpenGivenFile(app.ctx, path);
    EXPECT_EQ(app.dialogs.messages.back().Title, title) << path;
  }
  EXPECT_EQ(
      std::tie(s.PuzzleTitle, s.Grid, s.Words, s.PuzzleBuilt, s.OutlinesShown, s.PuzzleFileName, s.WordListFileName),
      std::tie(before.PuzzleTitle, before.Grid, before.Words, before.PuzzleBuilt, before.OutlinesShown,
               before.PuzzleFileName, before.WordListFileName));
  EXPECT_EQ(app.ctx.list.Entries(), (Entries{"OLD", "WORDS"}));
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuSavePuzzle) && app.picture.ops.empty());
  EXPECT_TRUE(app.ctx.WordListForm().Visible());  // shown all the same

  // A list given opens as Open List opens it, after the offer to save a changed list
  // (whose answers ConfirmDiscardList's test follows) and without a file dialog; a
  // puzzle as Open Puzzle does.
  s.WordListChanged = kTrue;
  app.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?");
  OpenGivenFile(app.ctx, zoo);
  EXPECT_EQ(std::tie(s.WordListFileName, s.PuzzleTitle, s.PuzzleBuilt),
            std::make_tuple(zoo, std::string("Zoo"), i16{0}));
  const std::string puzzle = dir.Write("trip", SamplePuzzleBytes());  // known by its contents
  OpenGivenFile(app.ctx, puzzle);
  EXPECT_EQ(std::tie(s.PuzzleFileName, s.PuzzleTitle, s.PuzzleBuilt),
            std::make_tuple(puzzle, std::string("Zoo Trip"), kTrue));
}

TEST(KindOfFile, TheNameDecidesAndOtherwiseTheContents) {
  const std::string puzzle = SamplePuzzleBytes();
  const std::tuple<const char*, std::string, FileKind> cases[] = {
      // The extension, in any case, even when the contents disagree.
      {"/lists/zoo.KVL", puzzle, FileKind::WordList},
      {"/puzzles/zoo.Kvp", "1\tZoo\r\nLION\r\n", FileKind::Puzzle},
      // Otherwise what the bytes hold; a dot in a folder name is no extension.
      {"/home/ann.kvp/zoo", puzzle, FileKind::Puzzle},
      {"/home/ann.kvp/zoo", "1\tZoo\t 12\t 10\r\nLION\r\nTIGER\fEND\r\n", FileKind::WordList},
      {"zoo.kvp.bak", std::string("LION\0TIGER", 10), FileKind::Neither}};
  for (const auto& [path, bytes, kind] : cases) EXPECT_EQ(KindOfFile(path, bytes), kind) << path;
}

// A list file too big for the memory left (sparse: no disk used) is reported and changes
// nothing; after a file name error the dialog asks again, then the list is read. A size
// no page holds is named and the list opens without it; a file without entries leaves
// the empty list's state.
TEST_F(FileCommands, OpenListRefusesWhatItCannotTakeAndReadsTheRest) {
  if (testing::MemoryLimit::Applies()) {
    const testing::MemoryLimit limit(64u << 20);
    app.dialogs.ExpectFile(dir.Sparse("huge.kvl", "", 512u << 20))
        .ExpectMessage(MessageAnswer::Ok, "Not enough memory to open the file");
    OpenList(app.ctx);
  }
  EXPECT_EQ(std::tie(app.ctx.list.Entries(), s.PuzzleWidth, s.WordListFileName),
            std::make_tuple(Entries{"OLD", "WORDS"}, i16{4}, std::string("/lists/old.kvl")));
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
  EXPECT_FALSE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild)) << "the empty list's commands";
}

// The header and the entries in code page 1252 (a tab or line break in a field is a
// blank). The quote is an eighth field and Backwards Words off a ninth; readers of seven
// pass over them. Every field before the last is written, an empty one as a blank, so
// that a reader that takes a run of tabs for one separator still finds each in its place.
TEST_F(FileCommands, AListFileHasTheHeaderFieldsInTheirPlaces) {
  app.AddEntries({"New York [city]", "café", "O\"Brien", "tab\there"});
  s.PuzzleInstructions = "Two\r\nlines";
  s.MysteryQuote = "Cats\tnap";
  EXPECT_EQ(Bytes(),
            "1\tMy Puzzle\t 4\t 4\t-1\t 1\tTwo lines\tCats nap\r\n"
            "OLD\r\nWORDS\r\nNew York [city]\r\ncaf\xE9\r\n\"O\"Brien\"\r\ntab here\r\n");
  const std::tuple<const char*, const char*, i16, const char*> cases[] = {
      {"Find.", "", 1, "1\tMy Puzzle\t 4\t 4\t-1\t 1\tFind.\r\n"},
      {"", "", 0, "1\tMy Puzzle\t 4\t 4\t-1\t 1\t \t \t 0\r\n"}};
  for (const auto& [instructions, quote, backwards, header] : cases) {
    s.PuzzleInstructions = instructions;
    s.MysteryQuote = quote;
    s.BackwardsWords = backwards;
    EXPECT_EQ(Bytes().substr(0, Bytes().find("\r\n") + 2), header);
  }
}

// Save asks for a name (before writing over a file) until one can be written. What code
// page 1252 cannot hold is named before anything is written, and Cancel writes nothing
// and keeps the list changed. (A failed write is reported as a puzzle's is, above.)
TEST_F(FileCommands, SaveListAsksForANameUntilOneCanBeWritten) {
  s.PuzzleFileName = "/puzzles/ANIMALS.KVP";
  s.WordListFileName = "";
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
  s.WordListChanged = kTrue;
  s.WordListSaved = kFalse;
  app.dialogs.ExpectMessage(
      MessageAnswer::Cancel,
      "The file cannot hold these characters, which will be written as \"?\": Ł ź ✓\n\nSave all the same?");
  EXPECT_FALSE(SaveWordList(app.ctx));
  EXPECT_EQ(std::make_pair(s.WordListChanged, s.WordListSaved), std::make_pair(kTrue, i16{0}));
  EXPECT_EQ(TempDir::Read(s.WordListFileName), "OLD LIST\r\n");
}

TEST_F(FileCommands, ConfirmDiscardAsksOnlyForAChangedListAndFollowsTheAnswer) {
  s.WordListChanged = kTrue;
  s.WordListFileName = "";
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

}  // namespace
}  // namespace kivrel
