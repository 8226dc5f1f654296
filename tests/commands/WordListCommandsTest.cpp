#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

#include "TempDir.h"
#include "TestApp.h"
#include "commands/WordListCommands.h"
#include "model/Text.h"
#include "program/CommandStates.h"

namespace kivrel {
namespace {

using testing::FileSizeLimit;
using testing::TempDir;
using testing::TestApp;

// The n-th field of a header line as a reader that takes a run of tabs for one separator
// reads it, trimmed of spaces; "" when it is missing.
std::string FieldAcrossTabRuns(std::string_view line, int n) {
  for (std::size_t pos = line.find_first_not_of('\t'); pos != std::string_view::npos;
       pos = line.find_first_not_of('\t', pos)) {
    const std::size_t end = std::min(line.find('\t', pos), line.size());
    if (--n == 0) return Trim(line.substr(pos, end - pos));
    pos = end;
  }
  return "";
}

// A changed list with attributes, as the user leaves it before saving.
void MakeList(TestApp& app, std::initializer_list<const char*> entries) {
  PuzzleState& s = app.ctx.state;
  s.PuzzleTitle = "My Puzzle";
  s.PuzzleWidth = 15;
  s.PuzzleHeight = 14;
  s.IncludeDiagonals = s.BalanceDirections = -1;
  s.PuzzleInstructions = "Find all the words.";
  app.AddEntries(entries);
  s.WordListChanged = kTrue;
}

// That what is written reads back as it was is checked by the word list fuzz target.
TEST(WordListFileBytes, WritesTheHeaderAndTheEntriesInCodePage1252) {
  TestApp app;
  MakeList(app, {"CAT", "New York [city]", "café", "O\"Brien", "tab\there"});
  app.ctx.state.PuzzleInstructions = "Two\r\nlines";
  EXPECT_EQ(WordListFileBytes(app.ctx.state, app.ctx.list.Entries()),
            "1\tMy Puzzle\t 15\t 14\t-1\t 1\tTwo lines\r\n"
            "CAT\r\nNew York [city]\r\ncaf\xE9\r\n\"O\"Brien\"\r\ntab here\r\n");
}

TEST(WordListFileBytes, AQuoteIsAnEighthFieldThatReadersOfSevenPassOver) {
  TestApp app;
  MakeList(app, {"CAT"});
  const std::string plain = WordListFileBytes(app.ctx.state, app.ctx.list.Entries());
  app.ctx.state.MysteryQuote = "Cats\tnap all day";
  EXPECT_EQ(WordListFileBytes(app.ctx.state, app.ctx.list.Entries()),
            "1\tMy Puzzle\t 15\t 14\t-1\t 1\tFind all the words.\tCats nap all day\r\nCAT\r\n");
  app.ctx.state.MysteryQuote.clear();
  EXPECT_EQ(WordListFileBytes(app.ctx.state, app.ctx.list.Entries()), plain);  // no quote, no field

  // Empty instructions before a quote are written as a space, so that a reader that
  // takes a run of tabs for one still finds the instructions (empty) and the quote
  // where they belong; this reader reads the space back as nothing.
  app.ctx.state.PuzzleInstructions.clear();
  app.ctx.state.MysteryQuote = "Hi";
  const std::string bytes = WordListFileBytes(app.ctx.state, app.ctx.list.Entries());
  const std::string header = bytes.substr(0, bytes.find('\r'));
  EXPECT_EQ(FieldAcrossTabRuns(header, 7), "");
  EXPECT_EQ(FieldAcrossTabRuns(header, 8), "Hi");
  auto parsed = ParseWordList(bytes);
  ASSERT_TRUE(parsed && parsed->Header);
  EXPECT_EQ(std::tie(parsed->Header->Instructions, parsed->Header->MysteryQuote),
            std::make_tuple(std::string(), std::string("Hi")));
  LoadWordList(app.ctx, *parsed, nullptr);
  EXPECT_EQ(app.ctx.state.MysteryQuote, "Hi");
}

TEST(WordListFileBytes, BackwardsWordsOffIsANinthFieldAfterTheQuoteEmptyOrNot) {
  TestApp app;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  s.BackwardsWords = 0;
  EXPECT_EQ(WordListFileBytes(s, app.ctx.list.Entries()),
            "1\tMy Puzzle\t 15\t 14\t-1\t 1\tFind all the words.\t \t 0\r\nCAT\r\n");
  // With fields after the seventh, each stays in its place for a reader that takes a
  // run of tabs for one, and reads back as it was.
  const std::pair<const char*, i16> cases[] = {{"", 0}, {"Hi", 0}, {"Hi", 1}};
  for (auto [quote, backwards] : cases) {
    SCOPED_TRACE(::testing::Message() << "quote \"" << quote << "\", backwards " << backwards);
    s.PuzzleTitle.clear();
    s.PuzzleInstructions.clear();
    s.MysteryQuote = quote;
    s.BackwardsWords = backwards;
    const std::string bytes = WordListFileBytes(s, app.ctx.list.Entries());
    const std::string header = bytes.substr(0, bytes.find('\r'));
    EXPECT_EQ(FieldAcrossTabRuns(header, 3), "15");
    EXPECT_EQ(FieldAcrossTabRuns(header, 8), quote);
    EXPECT_EQ(FieldAcrossTabRuns(header, 9), backwards ? "" : "0");
    s.BackwardsWords = static_cast<i16>(1 - backwards);
    LoadWordList(app.ctx, ParseWordList(bytes).ValueOr({}), nullptr);
    EXPECT_EQ(std::tie(s.PuzzleTitle, s.PuzzleInstructions, s.MysteryQuote, s.BackwardsWords),
              std::make_tuple(std::string(), std::string(), std::string(quote), backwards));
  }
}

TEST(SuggestWordListName, FollowsTheExtensionRules) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"", "C:\\PUZ\\ANIMALS.kvp", "C:\\PUZ\\ANIMALS.kvl"},
      {"LIST.txt", "other.kvp", "LIST.txt"},
      {"ABCDEFGHIJ", "", "ABCDEFGH.kvl"},
      {"", "a.kv", ""},
      {"/home/ann/Übersetzungen", "", "/home/ann/Übersetz.kvl"}};  // folders stay whole
  for (auto [list, puzzle, want] : cases) EXPECT_EQ(SuggestWordListName(list, puzzle), want) << list << puzzle;
}

TEST(SaveWordList, AsksForANameUntilOneCanBeWritten) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  s.PuzzleFileName = "/puzzles/ANIMALS.KVP";
  std::filesystem::create_directory(dir.File("folder.kvl"));
  app.dialogs.ExpectFile(dir.File("folder.kvl"))
      .ExpectMessage(MessageAnswer::Ok,
                     "Error while saving word list\n\n" + dir.File("folder.kvl") + ": Is a directory")
      .ExpectFile(dir.File("zoo.kvl"));
  EXPECT_TRUE(SaveWordList(app.ctx));

  const FileRequest& first = app.dialogs.files.at(0);  // asks before writing over a file
  EXPECT_EQ(std::tie(first.Action, first.Filter, first.FileName, first.DefaultExt, first.Flags),
            std::make_tuple(FileRequest::Kind::SaveAs, std::string(kWordListFilter),
                            std::string("/puzzles/ANIMALS.kvl"), std::string("KVL"), kFileOverwritePrompt));
  EXPECT_EQ(app.dialogs.files.at(1).FileName, dir.File("folder.kvl"));  // the folder could not be written

  EXPECT_EQ(TempDir::Read(dir.File("zoo.kvl")), WordListFileBytes(s, app.ctx.list.Entries()));
  EXPECT_EQ(app.ctx.WordListForm().Text(frmWordList::lblFileName), dir.File("zoo.kvl"));
  EXPECT_EQ(s.WordListChanged, 0);
  EXPECT_NE(s.WordListSaved, 0);
}

TEST(SaveWordList, AFailedOrCancelledWriteKeepsTheOldFile) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT", "DOG", "HORSE"});
  PuzzleState& s = app.ctx.state;
  s.WordListFileName = dir.Write("zoo.kvl", "OLD LIST\r\n");
  app.dialogs.ExpectMessage(MessageAnswer::Ok,
                            "Error while saving word list\n\n" + s.WordListFileName + ": File too large");
  {
    FileSizeLimit limit(16);
    EXPECT_FALSE(SaveWordList(app.ctx));
  }
  EXPECT_EQ(TempDir::Read(s.WordListFileName), "OLD LIST\r\n");
  EXPECT_NE(s.WordListChanged, 0);
  EXPECT_EQ(s.WordListSaved, 0);

  // The file is code page 1252: what it cannot hold is named before anything is
  // written, and the user may keep the old file.
  app.ctx.list.Clear();
  app.AddEntries({"Łódź", "Straße", "✓ done"});
  const std::string question =
      "The file cannot hold these characters, which will be written as \"?\": Ł ź ✓\n\nSave all the same?";
  app.dialogs.ExpectMessage(MessageAnswer::Cancel, question);
  EXPECT_FALSE(SaveWordList(app.ctx));
  EXPECT_EQ(app.dialogs.messages.at(1).Buttons, MessageButtons::OkCancel);
  EXPECT_EQ(TempDir::Read(s.WordListFileName), "OLD LIST\r\n");
  EXPECT_EQ(s.WordListSaved, 0);

  app.dialogs.ExpectMessage(MessageAnswer::Ok, question);
  EXPECT_TRUE(SaveWordList(app.ctx));
  EXPECT_NE(TempDir::Read(s.WordListFileName)
                .find("\r\n?\xF3"
                      "d?\r\nStra\xDF"
                      "e\r\n? done\r\n"),
            std::string::npos);
}

// While it lives the test runs as an ordinary user, so that permissions hold when the
// suite runs as root too.
class AsOrdinaryUser {
 public:
  AsOrdinaryUser() : was_root_(::geteuid() == 0) {
    if (was_root_) {
      EXPECT_EQ(::seteuid(65534), 0);
    }
  }
  ~AsOrdinaryUser() {
    if (was_root_) {
      EXPECT_EQ(::seteuid(0), 0);
    }
  }
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

 private:
  bool was_root_;
};

// A file that is there but may not be read, and a folder that takes no file, are not
// "name errors" the user can mend by typing again: the message says why.
TEST(FileMessages, NameTheSystemsReasonForAFileThatCannotBeReadOrWritten) {
  namespace fs = std::filesystem;
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  fs::permissions(dir.File(""), fs::perms::all);
  const std::string locked = dir.Write("locked.kvl", "DOG\r\n");
  fs::permissions(locked, fs::perms::owner_write);
  const std::string folder = dir.File("read-only");
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const std::string missing = dir.File("missing/zoo.kvl");

  AsOrdinaryUser user;
  s.WordListChanged = kFalse;
  app.dialogs.ExpectFile(locked)
      .ExpectMessage(MessageAnswer::Ok, "File name error - please check the name\n\n" + locked + ": Permission denied")
      .ExpectFile(std::nullopt);
  OpenList(app.ctx);
  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"CAT"});

  s.WordListFileName = folder + "/zoo.kvl";
  app.dialogs
      .ExpectMessage(MessageAnswer::Ok, "Error while saving word list\n\n" + folder + "/zoo.kvl: Permission denied")
      .ExpectFile(missing)
      .ExpectMessage(MessageAnswer::Ok, "Error while saving word list\n\n" + missing + ": No such file or directory")
      .ExpectFile(std::nullopt);
  EXPECT_FALSE(SaveWordList(app.ctx));
  EXPECT_EQ(app.dialogs.messages.at(1).Title, "Kivrel Error");
  EXPECT_EQ(s.WordListSaved, 0);
}

TEST(ConfirmDiscardList, AsksOnlyForAChangedListAndFollowsTheAnswer) {
  TestApp app;
  TempDir dir;
  MakeList(app, {"CAT"});
  PuzzleState& s = app.ctx.state;
  app.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?");
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));
  EXPECT_EQ(app.dialogs.messages.at(0).Buttons, MessageButtons::YesNoCancel);

  app.dialogs.ExpectMessage(MessageAnswer::Cancel);
  EXPECT_FALSE(ConfirmDiscardList(app.ctx));
  // Yes with no file name and the Save As dialog cancelled: the caller must not go on.
  app.dialogs.ExpectMessage(MessageAnswer::Yes).ExpectFile(std::nullopt);
  EXPECT_FALSE(ConfirmDiscardList(app.ctx));
  app.dialogs.ExpectMessage(MessageAnswer::Yes).ExpectFile(dir.File("saved.kvl"));
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));
  EXPECT_EQ(s.WordListChanged, 0);
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));  // saved: no question
}

class OpenListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.AddEntries({"OLD"});
    app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 9;
    app.ctx.state.PuzzleBuilt = kTrue;
    app.ctx.state.WordListFileName = "/lists/old.kvl";
    SetPuzzleReadyState(app.ctx);
  }
  TestApp app;
  TempDir dir;
};

TEST_F(OpenListTest, AsksAgainAfterAFileNameErrorThenReadsTheList) {
  const std::string path = dir.Write("zoo.kvl", "1\tZoo\t 12\t 10\t 0\t 1\tFind them.\r\nLION\r\nTIGER\r\n");
  app.dialogs.ExpectFile("C:\\LISTS\\missing.kvl")
      .ExpectMessage(MessageAnswer::Ok, "File name error - please check the name")
      .ExpectFile(path);
  OpenList(app.ctx);

  const FileRequest& first = app.dialogs.files.at(0);
  EXPECT_EQ(std::tie(first.Action, first.Filter, first.FilterIndex, first.FileName),
            std::make_tuple(FileRequest::Kind::Open, std::string(kWordListFilter), 2, std::string()));
  EXPECT_EQ(app.dialogs.files.at(1).FileName, "missing.kvl");  // what came before the backslash is dropped
  EXPECT_EQ(app.dialogs.messages.at(0).Icon, MessageIcon::Critical);

  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(app.ctx.list.Entries(), (std::vector<std::string>{"LION", "TIGER"}));
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.PuzzleInstructions, s.WordListFileName),
            std::make_tuple(std::string("Zoo"), std::string("Find them."), path));
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.PuzzleHeight, s.IncludeDiagonals, s.SpaceCount, s.PuzzleBuilt, s.WordListChanged),
            std::make_tuple(i16{12}, i16{10}, i16{0}, i16{120}, i16{0}, i16{0}));
  EXPECT_EQ(app.ctx.WordListForm().Text(frmWordList::lblFileName), path);
  EXPECT_TRUE(app.ctx.WordListForm().Visible());
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild) &&
              !app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint));  // ListReady
}

// A Save As that writes nothing (a folder that takes no file, then Cancel) leaves the
// list its name; the next dialog of its kind starts in the folder of the last list.
TEST_F(OpenListTest, ASaveAsThatDoesNotHappenKeepsTheNameAndDialogsRememberTheFolder) {
  std::filesystem::create_directory(dir.File("lists"));
  const std::string path = dir.Write("lists/zoo.kvl", "LION\r\n");
  app.dialogs.ExpectFile(path);
  OpenList(app.ctx);
  app.dialogs.ExpectFile("/proc/zoo.kvl").ExpectMessage(MessageAnswer::Ok).ExpectFile(std::nullopt);
  SaveListAs(app.ctx);
  EXPECT_EQ(app.ctx.state.WordListFileName, path);
  EXPECT_EQ(app.ctx.WordListForm().Text(frmWordList::lblFileName), path);

  app.dialogs.ExpectFile(std::nullopt);
  OpenList(app.ctx);
  EXPECT_EQ(app.dialogs.files.back().Folder, dir.File("lists"));
  EXPECT_EQ(app.ctx.files.FolderOf(FileDialogKind::Puzzles), "") << "each kind of file has its own folder";
}

TEST_F(OpenListTest, ARefusedOrCancelledOpenChangesNothing) {
  const std::string path = dir.Write("long.kvl", "1\tLong\t 20\t 20\t 1\t 1\t\r\nCAT\r\n" + std::string(5000, 'x'));
  app.dialogs.ExpectFile(path).ExpectMessage(
      MessageAnswer::Ok, "The entry on line 3 of the word list is longer than the 1000 characters an entry may have");
  OpenList(app.ctx);
  app.dialogs.ExpectFile("/no/such/file.kvl").ExpectMessage(MessageAnswer::Ok).ExpectFile(std::nullopt);
  OpenList(app.ctx);

  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"OLD"});
  EXPECT_EQ(app.ctx.state.PuzzleWidth, 9);
  EXPECT_EQ(app.ctx.state.WordListFileName, "/lists/old.kvl");  // not a name that failed
}

// A size no page holds is named, and the list opens without it.
TEST_F(OpenListTest, ASizeAbove99By99IsRefusedAndTheListOpens) {
  app.dialogs.ExpectFile(dir.Write("wide.kvl", "1\tWide\t 500\t 15\t 1\t 1\t\r\nCAT\r\n"))
      .ExpectMessage(MessageAnswer::Ok,
                     "The list asks for a 500 x 15 puzzle. The largest puzzle is 99 x 99 letters: "
                     "Default Dimensions proposes a size for it.");
  OpenList(app.ctx);
  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"CAT"});
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleTitle, app.ctx.state.PuzzleWidth, app.ctx.state.PuzzleHeight),
            std::make_tuple(std::string("Wide"), i16{0}, i16{0}));
}

TEST_F(OpenListTest, AFileWithoutEntriesLeavesTheEmptyListState) {
  app.dialogs.ExpectFile(dir.Write("empty.kvl", "1\tNothing yet\t 10\t 10\t 1\t 1\t\r\n"));
  OpenList(app.ctx);
  EXPECT_EQ(app.ctx.state.PuzzleTitle, "Nothing yet");
  EXPECT_FALSE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));
  EXPECT_TRUE(app.ctx.WordListForm().Enabled(frmWordList::cmdAdd));
}

// Opens a list with the address space limited to 64 MB more than is in use: true
// when the failure was reported and the list stayed as it was.
bool OpenWithLittleMemory(TestApp& app, const std::string& path) {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (64u << 20);
  const rlimit address_space{limit, limit};
  ::setrlimit(RLIMIT_AS, &address_space);
  app.dialogs.ExpectFile(path).ExpectMessage(MessageAnswer::Ok, "Not enough memory to open the file");
  OpenList(app.ctx);
  return app.dialogs.Done() && app.ctx.list.Entries() == std::vector<std::string>{"OLD"} &&
         app.ctx.state.WordListFileName == "/lists/old.kvl";
}

// A file too big for the memory left is reported, and the program goes on with the
// list it had (in a child process, whose address space is limited for the purpose).
TEST_F(OpenListTest, AFileTooBigForMemoryIsReportedAndChangesNothing) {
  const std::string path = dir.Write("huge.kvl", "");
  std::filesystem::resize_file(path, 512u << 20);  // sparse: no disk used
  EXPECT_EXIT(std::exit(OpenWithLittleMemory(app, path) ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kivrel
