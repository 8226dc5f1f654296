#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "SamplePuzzle.h"
#include "TempDir.h"
#include "files/PuzzleFile.h"

namespace kivrel {
namespace {

using testing::Bytes;
using testing::SamplePuzzleBytes;

// Why the reader refuses the bytes ("read" when it does not).
std::string Refusal(std::string_view bytes) {
  auto file = ParsePuzzleFile(bytes);
  return file ? "read" : file.Error().Reason;
}

// The sample file read into a program and taken from it again for writing.
PuzzleFile SampleFile() {
  testing::TestApp app;
  testing::MakeSamplePuzzle(app);
  return PuzzleFileFromState(app.ctx.state);
}

TEST(PuzzleFile, TheWriterLaysOutEveryByteAndTheReaderPassesOverWhatNothingUses) {
  EXPECT_EQ(EncodePuzzleFile(SampleFile()).ValueOr(""), SamplePuzzleBytes());
  // Code page 1252 text, CR LF inside the instructions, a mystery quote in the text that
  // puzzles without one leave empty, and bytes left behind by a longer file written over.
  std::string bytes = SamplePuzzleBytes();
  bytes.replace(40, 2, Bytes().S("Gr\xFC\xDF Gott!").str());
  std::size_t consumed = 0;
  auto file = ParsePuzzleFile(bytes + "leftover", &consumed);
  ASSERT_TRUE(file) << file.Error().Reason << " at " << file.Error().Offset;
  EXPECT_EQ(consumed, bytes.size());
  const PuzzleFileHeader& h = file->Header;
  EXPECT_EQ(std::tie(h.BalanceDirections, h.StopRemainingOperator, h.StopRemainingCount),
            std::make_tuple(i16{-1}, std::string("<="), i16{5}));
  EXPECT_EQ(std::tie(file->PuzzleInstructions, file->MysteryQuote, file->Words[3].DisplayText),
            std::make_tuple("Find them all.\r\nGood luck!", "Grüß Gott!", "Éléphant"));
  EXPECT_EQ(EncodePuzzleFile(*file).ValueOr(""), bytes);  // written again, the same bytes

  // A list's note alone ("[Big ones]") leaves a blank record marked placed: it is read,
  // and opens as a note. (A placed word without letters is refused below.)
  WordRecord& note = file->Words[3] = WordRecord{};
  note.Status = kStatusPlaced;
  note.Direction = i16{77};
  note.DisplayText = "[Big ones]";
  auto parsed = ParsePuzzleFile(EncodePuzzleFile(*file).ValueOr(""));
  ASSERT_TRUE(parsed) << parsed.Error().Reason;
  EXPECT_EQ(*parsed, *file);
  PuzzleState opened;
  ApplyPuzzleFile(opened, *parsed);
  EXPECT_EQ(std::tie(opened.Words[3].Status, opened.Words[3].Direction), std::make_tuple(kStatusNotPlaced, i16{0}));

  // The writer refuses a text too long for its count.
  file->PuzzleInstructions = std::string(32767, 'x');
  EXPECT_TRUE(EncodePuzzleFile(*file));
  file->PuzzleInstructions += "x";
  EXPECT_FALSE(EncodePuzzleFile(*file));
}

// Counts that promise more than the file holds, or far less, are refused from the
// header, before the reader takes a text or makes room for a record; so is every
// shortened file.
TEST(PuzzleFile, AHeaderAskingForMoreOrFarLessThanTheFileHoldsIsRefusedAtOnce) {
  // As a puzzle, "1" and a tab make WordCount 2353 and "Zo" InsertedCount 28506.
  auto refused = ParsePuzzleFile(testing::TempDir::Read(std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl"));
  ASSERT_FALSE(refused);
  EXPECT_EQ(std::make_pair(refused.Error().Fault, refused.Error().Offset), std::make_pair(FileFault::Invalid, 34ul));

  // Each of the 3 words' four texts and each of the 6 cells' letter at most 32767
  // bytes, and the three texts before them: no file of these counts is longer.
  const std::string sample = SamplePuzzleBytes();
  const std::size_t most = 40 + 3 * 32769 + 3 * (30 + 4 * 32767) + 6 * (22 + 32767) + 16;
  EXPECT_EQ(Refusal(sample + std::string(most - sample.size(), 'x')), "read");
  EXPECT_EQ(Refusal(sample + std::string(most - sample.size() + 1, 'x')),
            "the file is longer than its counts of words and cells allow");

  std::string bytes = sample;
  bytes.replace(8, 2, Bytes().N(181 * 181).str());    // SpaceCount
  bytes.replace(22, 4, Bytes().N(181).N(181).str());  // width, height
  refused = ParsePuzzleFile(bytes);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.Error().Reason.find("shorter than its counts"), std::string::npos) << refused.Error().Reason;
  EXPECT_EQ(refused.Error().Offset, 38u + 2);  // the header with its stop operator "<="
  for (std::size_t length = 0; length < sample.size(); ++length) {
    EXPECT_NE(Refusal(sample.substr(0, length)), "read") << "length " << length;
  }
}

// Hostile files: each breaks one rule the rest of the program relies on.
TEST(PuzzleFile, RefusesContentThatCannotBeAPuzzle) {
  const std::pair<const char*, std::function<void(PuzzleFile&)>> cases[] = {
      {"no words", [](PuzzleFile& f) { f.Header.WordCount = 0, f.Words.resize(1); }},
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
      {"no entries", [](PuzzleFile& f) { std::ranges::for_each(f.Words, [](auto& w) { w.DisplayText = "  "; }); }},
  };
  for (const auto& [reason, change] : cases) {
    PuzzleFile file = SampleFile();
    change(file);
    const std::string refusal = Refusal(EncodePuzzleFile(file).ValueOr(""));
    EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
  }
  // Patched bytes: a negative size whose product still matches, a negative length.
  for (auto [offset, patch, reason] : {std::make_tuple(22, Bytes().N(-3).N(-2).str(), "size is negative"),
                                       std::make_tuple(42, Bytes().N(-8).str(), "negative length")}) {
    std::string bytes = SamplePuzzleBytes();
    bytes.replace(static_cast<std::size_t>(offset), patch.size(), patch);
    EXPECT_NE(Refusal(bytes).find(reason), std::string::npos) << Refusal(bytes);
  }
}

}  // namespace
}  // namespace kivrel
