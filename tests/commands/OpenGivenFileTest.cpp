#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "SamplePuzzle.h"
#include "TempDir.h"
#include "commands/OpenGivenFile.h"

namespace kivrel {
namespace {

using testing::SamplePuzzleBytes;
using testing::TempDir;
using testing::TestApp;

TEST(KindOfFile, TheNameDecidesAndOtherwiseTheContents) {
  const std::string puzzle = SamplePuzzleBytes();
  const std::tuple<const char*, std::string, FileKind> cases[] = {
      // The extension, in any case, even when the contents disagree.
      {"/lists/zoo.KVL", puzzle, FileKind::WordList},
      {"notes.txt", "", FileKind::WordList},
      {"/puzzles/zoo.Kvp", "1\tZoo\r\nLION\r\n", FileKind::Puzzle},
      // Otherwise what the bytes hold; a dot in a folder name is no extension.
      {"/home/ann.kvp/zoo", puzzle, FileKind::Puzzle},
      {"/home/ann.kvp/zoo", "1\tZoo\t 12\t 10\r\nLION\r\nTIGER\fEND\r\n", FileKind::WordList},
      {"words.lst", "K\xC3\xA4se\nBrot\n", FileKind::WordList},
      {"picture.png", "\x89PNG\r\n\x1A\n", FileKind::Neither},
      {"zoo.kvp.bak", std::string("LION\0TIGER", 10), FileKind::Neither}};
  for (const auto& [path, bytes, kind] : cases) EXPECT_EQ(KindOfFile(path, bytes), kind) << path;
}

TEST(OpenGivenFile, OpensAListAsOpenListDoesAndAPuzzleAsOpenPuzzleDoes) {
  TestApp app;
  const std::string list = std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl";
  OpenGivenFile(app.ctx, list);
  const PuzzleState& s = app.ctx.state;
  EXPECT_TRUE(app.dialogs.files.empty());
  EXPECT_EQ(std::tie(s.WordListFileName, s.PuzzleTitle, s.PuzzleWidth, s.PuzzleHeight),
            std::make_tuple(list, std::string("Zoo"), i16{12}, i16{10}));
  EXPECT_EQ(app.ctx.list.Entries().front(), "LION");
  EXPECT_TRUE(app.ctx.WordListForm().Visible() && app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));
  EXPECT_EQ(s.WordListChanged, kFalse);

  TempDir dir;
  const std::string puzzle = dir.Write("trip", SamplePuzzleBytes());  // known by its contents
  OpenGivenFile(app.ctx, puzzle);
  EXPECT_EQ(std::tie(s.PuzzleFileName, s.PuzzleTitle, s.PuzzleBuilt),
            std::make_tuple(puzzle, std::string("Zoo Trip"), kTrue));
  EXPECT_EQ(app.ctx.list.Entries().size(), 3u);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint));
}

TEST(OpenGivenFile, AFileItCannotTakeIsReportedAndTheListStaysEmpty) {
  TestApp app;
  TempDir dir;
  std::filesystem::create_directory(dir.File("folder.kvl"));
  ASSERT_EQ(::mkfifo(dir.File("pipe.kvl").c_str(), 0600), 0);  // nobody writes: reading it would wait for ever
  // A file that cannot be read is named with the reason, the only hint a user who
  // started `kivrel FILE` gets.
  const std::string kNameError = "File name error - please check the name\n\n";
  const std::tuple<std::string, std::string, const char*> cases[] = {
      {dir.File("missing.kvl"), kNameError + dir.File("missing.kvl") + ": No such file or directory", "Kivrel Message"},
      {dir.File("folder.kvl"), kNameError + dir.File("folder.kvl") + ": Is a directory", "Kivrel Message"},
      {dir.File("pipe.kvl"), kNameError + dir.File("pipe.kvl") + ": Not a regular file", "Kivrel Message"},
      {dir.Write("picture.png", "\x89PNG\r\n\x1A\n"), "File does not contain a Kivrel word list or puzzle",
       "Kivrel Error"},
      {dir.Write("zoo.kvp", "1\tZoo\r\nLION\r\n"), "File does not contain a Kivrel puzzle", "Kivrel Error"},
      {dir.Write("photo.kvl", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01", 13)),
       "File does not contain a Kivrel word list - it holds bytes that are not text", "Kivrel Error"}};
  for (const auto& [path, message, title] : cases) {
    app.dialogs.ExpectMessage(MessageAnswer::Ok, message);
    OpenGivenFile(app.ctx, path);
    EXPECT_EQ(app.dialogs.messages.back().Title, title) << path;
  }
  const PuzzleState& s = app.ctx.state;
  EXPECT_TRUE(app.ctx.list.Entries().empty());
  EXPECT_EQ(std::tie(s.WordListFileName, s.PuzzleFileName, s.PuzzleBuilt), std::make_tuple("", "", i16{0}));
}

TEST(OpenGivenFile, OffersToSaveAChangedListFirst) {
  TestApp app;
  app.AddEntries({"OLD"});
  app.ctx.state.WordListChanged = kTrue;
  app.dialogs.ExpectMessage(MessageAnswer::Cancel, "Do you want to save the current list?");
  OpenGivenFile(app.ctx, std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl");
  EXPECT_EQ(app.ctx.list.Entries(), std::vector<std::string>{"OLD"});
}

}  // namespace
}  // namespace kivrel
