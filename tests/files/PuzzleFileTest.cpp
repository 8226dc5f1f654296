#include <gtest/gtest.h>

#include <functional>

#include "SamplePuzzle.h"
#include "TempDir.h"
#include "TestApp.h"
#include "files/PuzzleFile.h"

namespace kivrel {
namespace {

using testing::Bytes;
using testing::MakeSamplePuzzle;
using testing::SamplePuzzleBytes;
using testing::TestApp;

std::string Encode(const PuzzleFile& file) {
  std::string error;
  auto bytes = EncodePuzzleFile(file, &error);
  EXPECT_TRUE(bytes) << error;
  return bytes.value_or("");
}

PuzzleFile SampleFile() {
  TestApp app;
  MakeSamplePuzzle(app);
  return PuzzleFileFromState(app.ctx.state);
}

TEST(PuzzleFile, TheWriterLaysOutEveryByte) {
  const std::string bytes = Encode(SampleFile());
  EXPECT_EQ(bytes, SamplePuzzleBytes());
  // Header 38 + the operator; the discarded text 2; title and instructions 2 + their
  // lengths; each word 30 + its four texts; each cell 22 + its letter; directions 16.
  const std::size_t expected = (38 + 2) + 2 + (2 + 8) + (2 + 26) + (30 + 12) + (30 + 11) + (30 + 16) +
                               (5 * 23 + 22) + 16;
  EXPECT_EQ(bytes.size(), expected);
}

TEST(PuzzleFile, AFilledFifteenByFifteenGridTakes5175BytesOfCells) {
  PuzzleFile file = SampleFile();
  const std::size_t without_cells = Encode(file).size() - (5 * 23 + 22);
  file.Grid.Create(15, 15);
  for (int row = 1; row <= 15; ++row) {
    for (int col = 1; col <= 15; ++col) file.Grid.At(row, col).Letter = "Q";
  }
  file.Header.PuzzleWidth = file.Header.PuzzleHeight = 15;
  EXPECT_EQ(Encode(file).size() - without_cells, 5175u);
}

TEST(PuzzleFile, ReadsAFileAsTheOriginalProgramWroteIt) {
  // Code page 1252 text, CR LF inside the instructions, and bytes left after the
  // direction counts by an earlier, longer file written over from its first byte.
  const std::string bytes = SamplePuzzleBytes() + "leftover bytes";
  PuzzleFileError error;
  std::size_t consumed = 0;
  auto file = ParsePuzzleFile(bytes, &error, &consumed);
  ASSERT_TRUE(file) << error.Reason << " at " << error.Offset;
  EXPECT_EQ(consumed, SamplePuzzleBytes().size());
  EXPECT_EQ(file->Header.WordCount, 3);
  EXPECT_EQ(file->Header.BalanceDirections, -1);  // stored values, not yet adjusted
  EXPECT_EQ(file->Header.StopRemainingOperator, "<=");
  EXPECT_EQ(file->PuzzleInstructions, "Find them all.\r\nGood luck!");
  EXPECT_EQ(file->Words[3].DisplayText, "Éléphant");
  EXPECT_EQ(file->Words[3].Text, "ÉLÉPHANT");
  EXPECT_EQ(file->Grid.At(1, 3).WordRefs[2], 2);
  EXPECT_EQ(file->Grid.At(2, 1).Letter, "");
  EXPECT_EQ(file->Grid.At(2, 2).Letter, " ");
  EXPECT_EQ(file->DirectionWordCount[3], 1);
  // Written again, it is the same file.
  EXPECT_EQ(Encode(*file), SamplePuzzleBytes());
}

TEST(PuzzleFile, TheTextAfterTheHeaderIsReadAndLeftOut) {
  std::string bytes = SamplePuzzleBytes();
  bytes.replace(40, 2, Bytes().S("anything").str());
  auto file = ParsePuzzleFile(bytes, nullptr);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->PuzzleTitle, "Zoo Trip");
  EXPECT_EQ(Encode(*file), SamplePuzzleBytes());
}

TEST(PuzzleFile, ApplyAdjustsTheFlagsAndKeepsTheRest) {
  TestApp app;
  auto file = ParsePuzzleFile(SamplePuzzleBytes(), nullptr);
  ASSERT_TRUE(file);
  ApplyPuzzleFile(app.ctx.state, *file);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.BalanceDirections, 1);
  EXPECT_EQ(s.IncludeDiagonals, 1);
  EXPECT_EQ(s.FastBuild, 1);
  EXPECT_EQ(s.WordsUpperBound(), 3);
  EXPECT_EQ(s.BuildOrder.size(), 4u);
  EXPECT_EQ(s.Words[1], file->Words[1]);
  EXPECT_EQ(s.Grid, file->Grid);
}

TEST(PuzzleFile, TheZooWordListIsNotAPuzzle) {
  const std::string zoo = testing::TempDir::Read(std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl");
  // Read as a puzzle, "1" and a tab make WordCount 2353 and "Zo" InsertedCount 28506.
  ASSERT_EQ(zoo.substr(0, 6), "1\tZoo\t");
  PuzzleFileError error;
  EXPECT_FALSE(ParsePuzzleFile(zoo, &error));
  EXPECT_EQ(error.Reason, "the width times the height is not the number of spaces");
  EXPECT_EQ(error.Offset, 34u);  // refused by the counts of its header
}

TEST(PuzzleFile, EveryShortenedFileIsRefused) {
  const std::string bytes = SamplePuzzleBytes();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    PuzzleFileError error;
    EXPECT_FALSE(ParsePuzzleFile(bytes.substr(0, length), &error)) << "length " << length;
    EXPECT_LE(error.Offset, length);
  }
}

// Hostile files: each breaks one rule the rest of the program relies on.
TEST(PuzzleFile, RefusesContentThatCannotBeAPuzzle) {
  struct Case {
    const char* what;
    const char* reason;  // part of the reason given
    std::function<void(PuzzleFile&)> change;
  };
  const Case cases[] = {
      {"no words", "no words", [](PuzzleFile& f) { f.Header.WordCount = 0; f.Words.resize(1); }},
      {"more inserted than words", "inserted or rejected", [](PuzzleFile& f) { f.Header.InsertedCount = 4; }},
      {"more rejected than words", "inserted or rejected", [](PuzzleFile& f) { f.Header.RejectedCount = 4; }},
      {"size not the spaces", "width times the height", [](PuzzleFile& f) { f.Header.SpaceCount = 7; }},
      {"more spaces remaining", "more spaces remain", [](PuzzleFile& f) { f.Header.SpacesRemaining = 7; }},
      {"negative count", "count is negative", [](PuzzleFile& f) { f.Header.LettersRemaining = -1; }},
      {"negative inserted", "count is negative", [](PuzzleFile& f) { f.Header.InsertedCount = -5; }},
      {"longest word outside the table", "longest word", [](PuzzleFile& f) { f.Header.LongestWordIndex = 4; }},
      {"flag that has no absolute value", "build option", [](PuzzleFile& f) { f.Header.IncludeDiagonals = -32768; }},
      {"unknown operator", "stop operator", [](PuzzleFile& f) { f.Header.StopRemainingOperator = "<>"; }},
      {"stop count below -1", "stop count", [](PuzzleFile& f) { f.Header.StopRemainingCount = -2; }},
      {"direction 9", "word 2 has no direction", [](PuzzleFile& f) { f.Words[2].Direction = 9; }},
      {"direction 0", "word 1 has no direction", [](PuzzleFile& f) { f.Words[1].Direction = 0; }},
      {"placed without letters", "without letters", [](PuzzleFile& f) { f.Words[1].Length = 0; }},
      {"runs off the grid", "word 2 leaves the grid", [](PuzzleFile& f) { f.Words[2].Length = 3; }},
      {"starts outside", "word 1 leaves the grid", [](PuzzleFile& f) { f.Words[1].StartRow = 0; }},
      {"nine words in a cell", "more than 8 words", [](PuzzleFile& f) { f.Grid.At(1, 1).UseCount = 9; }},
      {"negative use count", "more than 8 words", [](PuzzleFile& f) { f.Grid.At(1, 1).UseCount = -1; }},
      {"reference past the table", "refers to a word", [](PuzzleFile& f) { f.Grid.At(2, 3).WordRefs[1] = 4; }},
      {"reference to word 0", "refers to a word", [](PuzzleFile& f) { f.Grid.At(1, 3).WordRefs[2] = 0; }},
      {"negative direction count", "direction count", [](PuzzleFile& f) { f.DirectionWordCount[5] = -1; }},
      {"no entries to list", "no entries", [](PuzzleFile& f) { for (auto& w : f.Words) w.DisplayText = "  "; }},
      {"negative size", "size is negative", [](PuzzleFile& f) {
         f.Header.PuzzleWidth = -3;
         f.Header.PuzzleHeight = -2;
       }},
  };
  for (const Case& c : cases) {
    PuzzleFile file = SampleFile();
    c.change(file);
    std::string bytes;
    if (file.Header.PuzzleWidth >= 0) {
      bytes = Encode(file);
    } else {  // the writer keeps the header and the grid in step; patch the bytes instead
      bytes = Encode(SampleFile());
      bytes.replace(22, 4, Bytes().N(-3).N(-2).str());
    }
    PuzzleFileError error;
    EXPECT_FALSE(ParsePuzzleFile(bytes, &error)) << c.what;
    EXPECT_NE(error.Reason.find(c.reason), std::string::npos) << c.what << ": " << error.Reason;
  }
}

TEST(PuzzleFile, RefusesATextOfNegativeLength) {
  std::string bytes = SamplePuzzleBytes();
  bytes.replace(42, 2, Bytes().N(-8).str());  // the title's length
  PuzzleFileError error;
  EXPECT_FALSE(ParsePuzzleFile(bytes, &error));
  EXPECT_EQ(error.Reason, "a text has a negative length");
  EXPECT_EQ(error.Offset, 42u);
}

TEST(PuzzleFile, TheWriterRefusesWhatTheFormatCannotCarry) {
  std::string error;
  PuzzleFile file = SampleFile();
  file.PuzzleInstructions = std::string(32768, 'x');
  EXPECT_FALSE(EncodePuzzleFile(file, &error));
  EXPECT_FALSE(error.empty());

  file = SampleFile();
  file.PuzzleInstructions = std::string(32767, 'x');
  EXPECT_TRUE(EncodePuzzleFile(file, &error));

  file = SampleFile();
  file.Header.WordCount = 5;  // more than the table holds
  EXPECT_FALSE(EncodePuzzleFile(file, &error));
}

TEST(PuzzleFile, TheFileDescribesTheGridAndTableItCarries) {
  // After the size was changed the counts and the grid disagree; the file follows
  // the grid, so it still reads back.
  TestApp app;
  MakeSamplePuzzle(app);
  app.ctx.state.PuzzleWidth = 10;
  app.ctx.state.PuzzleHeight = 10;
  PuzzleFile file = PuzzleFileFromState(app.ctx.state);
  EXPECT_EQ(file.Header.PuzzleWidth, 3);
  EXPECT_EQ(file.Header.SpaceCount, 6);
  EXPECT_TRUE(ParsePuzzleFile(Encode(file), nullptr));
}

}  // namespace
}  // namespace kivrel
