// The fill over many seeded builds: with the No Duplicate Words mark off (and no quote,
// and A-Z words) it is exactly the one-draw-per-blank fill; with it on, no placed or
// avoided word can be read anywhere but where it was placed, unless that reading is
// made of letters the fill may not change, and then it is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <regex>
#include <set>

#include "BuildHelpers.h"
#include "HandPlaced.h"
#include "commands/BuildCommands.h"
#include "engine/SecondReadings.h"
#include "files/PuzzleFile.h"
#include "model/Text.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::SetUpPuzzle;
using testing::TestApp;
using Cells = std::vector<std::pair<int, int>>;

// The fill as it always was: one draw of A-Z per unused cell, in reading order.
LetterGrid OneDrawPerBlank(LetterGrid grid, Random rng) {
  for (int r = 1; r <= grid.Height(); ++r) {
    for (int c = 1; c <= grid.Width(); ++c) {
      if (grid.At(r, c).UseCount == 0) grid.At(r, c).Letter = std::string(1, static_cast<char>('A' + rng.Below(26)));
    }
  }
  return grid;
}

// Every place a word can be read, as the text of its cells joined, that is not where a
// record with that text was placed. Worked out cell by cell, apart from the finder.
std::vector<Cells> ReadingsElsewhere(const PuzzleState& s, const std::string& word) {
  std::set<Cells> placements;
  for (const WordRecord& w : s.Words) {
    if (w.Status != kStatusPlaced || w.Text != word) continue;
    Cells cells;
    for (int i = 0; i < w.Length; ++i) {
      cells.emplace_back(w.StartRow + i * kRowSteps[w.Direction], w.StartCol + i * kColSteps[w.Direction]);
    }
    std::sort(cells.begin(), cells.end());
    placements.insert(cells);
  }
  std::set<Cells> found;
  const int n = static_cast<int>(CharCount(word));
  for (int r = 1; r <= s.Grid.Height(); ++r) {
    for (int c = 1; c <= s.Grid.Width(); ++c) {
      for (int d = 1; d <= 8; ++d) {
        std::string text;
        Cells cells;
        for (int i = 0; i < n && s.Grid.Contains(r + i * kRowSteps[d], c + i * kColSteps[d]); ++i) {
          cells.emplace_back(r + i * kRowSteps[d], c + i * kColSteps[d]);
          text += s.Grid.At(cells.back().first, cells.back().second).Letter;
        }
        std::sort(cells.begin(), cells.end());
        if (text == word && placements.count(cells) == 0) found.insert(cells);
      }
    }
  }
  return {found.begin(), found.end()};
}

struct Seeded : TestApp {
  Seeded(const std::vector<std::string>& words, int size, std::uint64_t seed) {
    SetUpPuzzle(*this, words, size, size, seed);
    BuildPuzzle(ctx);
  }
  LetterGrid ExpectedPlainFill() const { return OneDrawPerBlank(ctx.state.Grid, ctx.rng); }
};

// Short words in a small grid, so that random letters spell them often; EAR inside
// BEAR is a second reading no fill can mend, EYE reads the same both ways.
const std::vector<std::string> kShortWords = {"BEAR", "EAR", "CAT", "DOG", "EMU", "OWL", "APE",
                                              "YAK",  "ELK", "RAT", "EEL", "HEN", "ANT", "EYE"};

TEST(FillCheck, WithTheMarkOffEveryFillIsOneDrawPerBlank) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    Seeded app(kShortWords, 9, seed);
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuNoDuplicates, false);
    const LetterGrid expected = app.ExpectedPlainFill();
    FillReport report = FillInBlanks(app.ctx);
    ASSERT_TRUE(app.ctx.state.Grid == expected) << "seed " << seed;
    EXPECT_EQ(report.Redrawn, 0);
  }
}

TEST(FillCheck, WithTheMarkOnNoWordCanBeFoundTwiceUnlessItsLettersAreFixed) {
  int redrawn_fills = 0;
  int untouched_fills = 0;
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    Seeded app(kShortWords, 9, seed);
    app.ctx.AvoidWords = {"TOE", "SOS"};
    ASSERT_TRUE(app.ctx.MainForm().Checked(frmKV_Puzzle::mnuNoDuplicates));  // on from the start
    const PuzzleState& s = app.ctx.state;
    const LetterGrid plain = app.ExpectedPlainFill();
    const FillReport report = FillInBlanks(app.ctx);

    std::set<std::string> words(app.ctx.AvoidWords.begin(), app.ctx.AvoidWords.end());
    for (const WordRecord& w : s.Words) {
      if (w.Status == kStatusPlaced) words.insert(w.Text);
    }
    std::set<std::string> fixed_twice;
    for (const std::string& word : words) {
      for (const Cells& cells : ReadingsElsewhere(s, word)) {
        for (auto [r, c] : cells) ASSERT_GT(s.Grid.At(r, c).UseCount, 0) << word << " seed " << seed;
        fixed_twice.insert(word);
      }
    }
    EXPECT_EQ(std::set<std::string>(report.FoundTwice.begin(), report.FoundTwice.end()), fixed_twice) << seed;
    EXPECT_TRUE(report.NotCleared.empty());

    // Only fill letters change, and only when the plain fill spelled a word twice.
    int changed = 0;
    for (int r = 1; r <= s.Grid.Height(); ++r) {
      for (int c = 1; c <= s.Grid.Width(); ++c) {
        if (s.Grid.At(r, c).Letter == plain.At(r, c).Letter) continue;
        ASSERT_EQ(s.Grid.At(r, c).UseCount, 0);
        ++changed;
      }
    }
    EXPECT_LE(changed, report.Redrawn);
    if (report.Redrawn > 0) {
      ++redrawn_fills;
      EXPECT_EQ(app.ctx.MainForm().Text(frmKV_Puzzle::lblRedrawnCount), std::to_string(report.Redrawn));
    } else {
      ++untouched_fills;
      EXPECT_TRUE(s.Grid == plain) << "seed " << seed;
    }
  }
  // The list is one that makes both kinds of fill common.
  EXPECT_GT(redrawn_fills, 30);
  EXPECT_GT(untouched_fills, 30);
}

TEST(FillCheck, ReadingsOfPlacedLettersAreNamedAndPalindromesAreTheirOwnPlacement) {
  TestApp app;
  StartUp(app.ctx, 5);
  testing::MakeGrid(app.ctx, 8, 3);
  testing::PlaceWord(app.ctx, "ICECREAM", 1, 1, 1);
  testing::PlaceWord(app.ctx, "CREAM", 2, 8, 2);  // placed too, leftwards on row 2
  testing::PlaceWord(app.ctx, "LEVEL", 3, 1, 1);  // a palindrome: its reverse is itself
  const std::vector<SecondReading> readings = FindSecondReadings(app.ctx.state, {"ICE"});
  std::map<std::string, int> by_word;
  for (const SecondReading& r : readings) ++by_word[r.Word];
  // CREAM inside ICECREAM (once, not once per direction); ICE is placed nowhere, so its
  // reading inside ICECREAM counts; LEVEL is only where it was placed.
  EXPECT_EQ(by_word, (std::map<std::string, int>{{"CREAM", 1}, {"ICE", 1}}));

  const FillReport report = FillInBlanks(app.ctx);
  EXPECT_EQ(report.FoundTwice, (std::vector<std::string>{"CREAM"}));  // ICE is not avoided there
  // No quote was written: the message does not speak of one.
  EXPECT_EQ(FillReportMessage(report), "These words can be found a second time, in letters of other words: CREAM");
}

// The search finds what reading every cell in every direction finds: small grids of two
// letters and an accented one, so that words overlap, repeat, read backwards and as
// palindromes, with empty cells, one-letter words and words placed twice.
TEST(FillCheck, TheSearchFindsWhatReadingEveryCellFinds) {
  std::mt19937 random(28);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::string letters[] = {"A", "B", "Ä", " "};
  auto word = [&] {
    std::string text;
    for (int n = 1 + pick(4); n > 0; --n) text += letters[pick(3)];
    return text;
  };
  for (int trial = 0; trial < 300; ++trial) {
    TestApp app;
    const int width = 1 + pick(7), height = 1 + pick(7);
    testing::MakeGrid(app.ctx, width, height);
    PuzzleState& s = app.ctx.state;
    for (int r = 1; r <= height; ++r) {
      for (int c = 1; c <= width; ++c) s.Grid.At(r, c).Letter = letters[pick(4)];
    }
    for (int k = pick(5); k > 0; --k) {
      const std::string text = word();
      const int r = 1 + pick(height), c = 1 + pick(width), d = 1 + pick(8);
      if (WordInsideGrid(s.Grid, r, c, d, static_cast<int>(CharCount(text))))
        testing::PlaceWord(app.ctx, text, r, c, d);
    }
    std::vector<std::string> avoid;
    for (int k = pick(4); k > 0; --k) avoid.push_back(word());

    std::map<std::string, std::set<Cells>> found, expected;
    for (const SecondReading& reading : FindSecondReadings(s, avoid)) {
      Cells cells = reading.Cells;
      std::sort(cells.begin(), cells.end());
      EXPECT_TRUE(found[reading.Word].insert(cells).second) << "reported twice, trial " << trial;
    }
    std::set<std::string> words(avoid.begin(), avoid.end());
    for (const WordRecord& w : s.Words) {
      if (w.Status == kStatusPlaced) words.insert(w.Text);
    }
    for (const std::string& w : words) {
      for (const Cells& cells : ReadingsElsewhere(s, w)) expected[w].insert(cells);
    }
    ASSERT_EQ(found, expected) << "trial " << trial;
  }
}

// In the window a long fill lets events run between its rounds: the commands are a
// build's and the count of letters re-drawn counts along. Cancel stops it where it is,
// and the message names the first ten words still found twice and how many more.
TEST(FillCheck, ALongFillInTheWindowCanBeCancelledAndNamesAFewWords) {
  Seeded app(kShortWords, 12, 3);
  for (char a = 'A'; a <= 'Z'; ++a) {
    for (char b = 'A'; b <= 'Z'; ++b) app.ctx.AvoidWords.push_back({a, b});  // no fill clears them all
  }
  Form& main = app.ctx.MainForm();
  std::string counted;
  app.pump.on_yield = [&] {
    if (BuildRunning(app.ctx) && counted.empty()) {
      EXPECT_TRUE(main.Enabled(frmKV_Puzzle::cmdCancel) && !main.Enabled(frmKV_Puzzle::mnuFillinBlanks));
      counted = main.Text(frmKV_Puzzle::lblRedrawnCount);
      CancelBuild(app.ctx);
    }
  };
  app.dialogs.ExpectMessage(MessageAnswer::Ok);
  FillBlanks(app.ctx);
  EXPECT_NE(counted, "");
  ASSERT_EQ(app.dialogs.messages.size(), 1u);
  const std::string& message = app.dialogs.messages[0].Text;
  EXPECT_TRUE(std::regex_search(message, std::regex("\n\nFill in was cancelled: these words can still be found a "
                                                    "second time: [A-Z]{2}(, [A-Z]{2}){9} and [0-9]+ more$")))
      << message;
  EXPECT_EQ(app.ctx.state.BlanksFilled, kTrue);
  EXPECT_TRUE(!BuildRunning(app.ctx) && main.Enabled(frmKV_Puzzle::mnuFillinBlanks) &&
              !main.Enabled(frmKV_Puzzle::cmdCancel));
}

TEST(FillCheck, AccentedWordsLendTheFillTheirLettersAsOftenAsTheyUseThem) {
  const std::vector<std::string> words = {"ÄRGER", "GRÜN", "MÜDE", "BÄR", "TÜR", "ÖL", "FÜß", "KÄSE"};
  std::map<std::string, int> fill_counts;
  std::map<std::string, int> placed_counts;
  int fill_total = 0;
  int placed_total = 0;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    Seeded app(words, 8, seed);
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuNoDuplicates, false);
    FillInBlanks(app.ctx);
    const PuzzleState& s = app.ctx.state;
    for (int r = 1; r <= 8; ++r) {
      for (int c = 1; c <= 8; ++c) {
        const CellRecord& cell = s.Grid.At(r, c);
        std::map<std::string, int>& counts = cell.UseCount == 0 ? fill_counts : placed_counts;
        ++counts[cell.Letter];
        ++(cell.UseCount == 0 ? fill_total : placed_total);
      }
    }
  }
  for (const auto& [letter, count] : fill_counts) {
    const bool a_to_z = letter.size() == 1 && letter[0] >= 'A' && letter[0] <= 'Z';
    EXPECT_TRUE(a_to_z || placed_counts.count(letter)) << letter;
  }
  for (const std::string letter : {"Ä", "Ü", "Ö", "ß"}) {
    const double in_fill = static_cast<double>(fill_counts[letter]) / fill_total;
    const double in_words = static_cast<double>(placed_counts[letter]) / placed_total;
    EXPECT_GT(fill_counts[letter], 0) << letter;
    EXPECT_NEAR(in_fill, in_words, in_words * 0.35) << letter;
  }
}

TEST(FillCheck, AQuoteOfExactlyTheSpacesLeftIsReadBackInOrderAndKeptInThePuzzleFile) {
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "POSSUM"}, 8, 8, 11);
  PuzzleState& s = app.ctx.state;
  BuildPuzzle(app.ctx);
  // A quote of as many letters as the build left spaces, with spaces and punctuation.
  const std::string text = "Look deep, find all the animals! They hide in every row and column of it.";
  std::string quote;
  std::string letters;
  for (char c : text) {
    if (static_cast<int>(letters.size()) == s.SpacesRemaining) break;
    quote += c;
    if (std::isalpha(static_cast<unsigned char>(c))) letters += static_cast<char>(std::toupper(c));
  }
  ASSERT_EQ(static_cast<int>(letters.size()), s.SpacesRemaining) << "the text is long enough";
  s.MysteryQuote = quote;
  const FillReport report = FillInBlanks(app.ctx);
  EXPECT_EQ(report.QuoteLettersLeftOut, 0);
  std::string read;
  for (auto [r, c] : UnusedCells(s.Grid)) read += s.Grid.At(r, c).Letter;
  EXPECT_EQ(read, letters);

  auto bytes = EncodePuzzleFile(PuzzleFileFromState(s));
  ASSERT_TRUE(bytes) << bytes.Error().Reason;
  auto parsed = ParsePuzzleFile(*bytes);
  ASSERT_TRUE(parsed);
  PuzzleState reopened;
  ApplyPuzzleFile(reopened, *parsed);
  EXPECT_EQ(reopened.MysteryQuote, quote);
  EXPECT_TRUE(reopened.Grid == s.Grid);

  // A quote longer than the blanks loses its end, and says so.
  FillInBlanks(app.ctx);
  s.MysteryQuote = quote + " Twice over";
  EXPECT_EQ(FillInBlanks(app.ctx).QuoteLettersLeftOut, 9);
}

}  // namespace
}  // namespace kivrel
