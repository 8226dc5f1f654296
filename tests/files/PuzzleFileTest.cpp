#include <gtest/gtest.h>

#include <functional>

#include "SamplePuzzle.h"
#include "TempDir.h"
#include "files/PuzzleFile.h"

namespace kivrel {
namespace {

using testing::Bytes;
using testing::SamplePuzzleBytes;

std::string Encode(const PuzzleFile& file) {
  auto bytes = EncodePuzzleFile(file);
  EXPECT_TRUE(bytes) << bytes.Error().Reason;
  return bytes.ValueOr("");
}

// The sample file read into a program and taken from it again for writing.
PuzzleFile SampleFile() {
  testing::TestApp app;
  testing::MakeSamplePuzzle(app);
  return PuzzleFileFromState(app.ctx.state);
}

TEST(PuzzleFile, TheWriterLaysOutEveryByte) { EXPECT_EQ(Encode(SampleFile()), SamplePuzzleBytes()); }

TEST(PuzzleFile, ReadsCodePage1252TextAndPassesOverWhatNothingUses) {
  // Code page 1252 text, CR LF inside the instructions, a mystery quote in the text that
  // puzzles without one leave empty, and bytes left behind by a longer file written over.
  std::string bytes = SamplePuzzleBytes();
  bytes.replace(40, 2, Bytes().S("Gr\xFC\xDF Gott!").str());
  std::size_t consumed = 0;
  auto file = ParsePuzzleFile(bytes + "leftover", &consumed);
  ASSERT_TRUE(file) << file.Error().Reason << " at " << file.Error().Offset;
  EXPECT_EQ(consumed, bytes.size());
  const PuzzleFileHeader& h = file->Header;
  EXPECT_EQ(std::tie(h.InsertedCount, h.PuzzleWidth, h.BalanceDirections, h.StopRemainingOperator),
            std::make_tuple(i16{2}, i16{3}, i16{-1}, std::string("<=")));
  EXPECT_EQ(file->PuzzleInstructions, "Find them all.\r\nGood luck!");
  const WordRecord& to = file->Words[2];
  EXPECT_EQ(std::tie(to.SortPosition, to.StartCol, to.Direction, to.Text, to.DisplayText),
            std::make_tuple(i16{3}, i16{3}, i16{3}, std::string("TO"), std::string("to [prep]")));
  EXPECT_EQ(file->Words[3].DisplayText, "Éléphant");
  EXPECT_EQ(file->Grid.At(1, 3).WordRefs[2], 2);
  EXPECT_EQ(file->MysteryQuote, "Grüß Gott!");
  EXPECT_EQ(Encode(*file), bytes);  // written again, the same bytes
}

TEST(PuzzleFile, TheZooWordListAndEveryShortenedFileAreRefused) {
  // As a puzzle, "1" and a tab make WordCount 2353 and "Zo" InsertedCount 28506.
  const std::string zoo = testing::TempDir::Read(std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl");
  ASSERT_EQ(zoo.substr(0, 6), "1\tZoo\t");
  auto refused = ParsePuzzleFile(zoo);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.Error().Fault, FileFault::Invalid);
  EXPECT_EQ(refused.Error().Offset, 34u);  // told by the counts of its header

  const std::string bytes = SamplePuzzleBytes();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    EXPECT_FALSE(ParsePuzzleFile(bytes.substr(0, length))) << "length " << length;
  }
}

// Counts that promise more than the file holds, or far less, are refused from the
// header, before the reader takes a text or makes room for a record.
TEST(PuzzleFile, AHeaderAskingForMoreOrFarLessThanTheFileHoldsIsRefusedAtOnce) {
  // Each of the 3 words' four texts and each of the 6 cells' letter at most 32767
  // bytes, and the three texts before them: no file of these counts is longer.
  const std::string sample = SamplePuzzleBytes();
  const std::size_t most = 40 + 3 * 32769 + 3 * (30 + 4 * 32767) + 6 * (22 + 32767) + 16;
  EXPECT_TRUE(ParsePuzzleFile(sample + std::string(most - sample.size(), 'x')));
  auto longer = ParsePuzzleFile(sample + std::string(most - sample.size() + 1, 'x'));
  ASSERT_FALSE(longer);
  EXPECT_EQ(longer.Error().Reason, "the file is longer than its counts of words and cells allow");

  std::string bytes = SamplePuzzleBytes();
  bytes.replace(8, 2, Bytes().N(181 * 181).str());    // SpaceCount
  bytes.replace(22, 4, Bytes().N(181).N(181).str());  // width, height
  auto refused = ParsePuzzleFile(bytes);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.Error().Reason.find("shorter than its counts"), std::string::npos) << refused.Error().Reason;
  EXPECT_EQ(refused.Error().Offset, 38u + 2);  // the header with its stop operator "<="
}

// Hostile files: each breaks one rule the rest of the program relies on.
TEST(PuzzleFile, RefusesContentThatCannotBeAPuzzle) {
  struct Case {
    const char* reason;  // part of the reason given
    std::function<void(PuzzleFile&)> change;
  };
  const Case cases[] = {
      {"no words",
       [](PuzzleFile& f) {
         f.Header.WordCount = 0;
         f.Words.resize(1);
       }},
      {"inserted or rejected", [](PuzzleFile& f) { f.Header.RejectedCount = 4; }},
      {"width times the height", [](PuzzleFile& f) { f.Header.SpaceCount = 7; }},
      {"more spaces remain", [](PuzzleFile& f) { f.Header.SpacesRemaining = 7; }},
      {"count is negative", [](PuzzleFile& f) { f.Header.LettersRemaining = -1; }},
      {"longest word", [](PuzzleFile& f) { f.Header.LongestWordIndex = 4; }},
      {"build option", [](PuzzleFile& f) { f.Header.IncludeDiagonals = -32768; }},
      {"stop operator", [](PuzzleFile& f) { f.Header.StopRemainingOperator = "<>"; }},
      {"word 2 has no direction", [](PuzzleFile& f) { f.Words[2].Direction = 9; }},
      {"without letters", [](PuzzleFile& f) { f.Words[1].Length = 0; }},
      {"word 2 leaves the grid", [](PuzzleFile& f) { f.Words[2].Length = 3; }},
      {"word 1 leaves the grid", [](PuzzleFile& f) { f.Words[1].StartRow = 0; }},
      {"more than 8 words", [](PuzzleFile& f) { f.Grid.At(1, 1).UseCount = 9; }},
      {"refers to a word", [](PuzzleFile& f) { f.Grid.At(2, 3).WordRefs[1] = 4; }},
      {"refers to a word", [](PuzzleFile& f) { f.Grid.At(1, 3).WordRefs[2] = 0; }},
      {"direction count", [](PuzzleFile& f) { f.DirectionWordCount[5] = -1; }},
      {"no entries",
       [](PuzzleFile& f) {
         for (auto& w : f.Words) w.DisplayText = "  ";
       }},
  };
  for (const Case& c : cases) {
    PuzzleFile file = SampleFile();
    c.change(file);
    auto refused = ParsePuzzleFile(Encode(file));
    ASSERT_FALSE(refused) << c.reason;
    EXPECT_NE(refused.Error().Reason.find(c.reason), std::string::npos) << refused.Error().Reason;
  }
  // Patched bytes: a negative size whose product still matches, a negative length.
  for (auto [offset, patch, reason] : {std::make_tuple(22, Bytes().N(-3).N(-2).str(), "size is negative"),
                                       std::make_tuple(42, Bytes().N(-8).str(), "negative length")}) {
    std::string bytes = SamplePuzzleBytes();
    bytes.replace(static_cast<std::size_t>(offset), patch.size(), patch);
    auto refused = ParsePuzzleFile(bytes);
    ASSERT_FALSE(refused) << reason;
    EXPECT_NE(refused.Error().Reason.find(reason), std::string::npos) << refused.Error().Reason;
  }
}

// A list's note alone ("[Big ones]") leaves a blank record marked placed: it is read,
// and opens as a note. A placed word without letters is still refused.
TEST(PuzzleFile, ARecordMarkedPlacedWithoutAnyLettersIsANote) {
  PuzzleFile file = SampleFile();
  WordRecord& note = file.Words[3];
  note = WordRecord{};
  note.Status = kStatusPlaced;
  note.Direction = 77;
  note.DisplayText = "[Big ones]";
  auto parsed = ParsePuzzleFile(Encode(file));
  ASSERT_TRUE(parsed) << parsed.Error().Reason;
  EXPECT_EQ(*parsed, file);
  testing::TestApp app;
  ApplyPuzzleFile(app.ctx.state, *parsed);
  const WordRecord& read = app.ctx.state.Words[3];
  EXPECT_EQ(std::tie(read.Status, read.Direction, read.DisplayText),
            std::make_tuple(kStatusNotPlaced, i16{0}, std::string("[Big ones]")));
}

TEST(PuzzleFile, TheWriterRefusesATextTooLongForItsCount) {
  PuzzleFile file = SampleFile();
  file.PuzzleInstructions = std::string(32767, 'x');
  EXPECT_TRUE(EncodePuzzleFile(file));
  file.PuzzleInstructions += "x";
  auto refused = EncodePuzzleFile(file);
  EXPECT_TRUE(!refused && !refused.Error().Reason.empty());
}

}  // namespace
}  // namespace kivrel
