// The fill of the blanks over many seeded builds: with the No Duplicate Words mark off
// (and no quote) it is one draw of A-Z per blank in reading order; with it on, no placed
// or avoided word can be read anywhere but where it was placed, unless that reading is
// made of letters the fill may not change, and then it is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>
#include <set>

#include "HandPlaced.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "engine/SecondReadings.h"
#include "model/Text.h"

namespace kivrel {
namespace {

using namespace testing;
using Cells = std::vector<std::pair<int, int>>;

// Every place each placed or avoided word can be read, as its cells in order, that is
// not where a record with that text was placed. Worked out cell by cell, apart from the
// finder.
std::map<std::string, std::set<Cells>> ReadingsElsewhere(const AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  auto line = [&](int r, int c, int d, std::size_t n, std::string* text) {
    Cells cells;
    for (int i = 0; cells.size() < n && s.Grid.Contains(r + i * kRowSteps[d], c + i * kColSteps[d]); ++i) {
      cells.emplace_back(r + i * kRowSteps[d], c + i * kColSteps[d]);
      if (text) *text += s.Grid.At(cells.back().first, cells.back().second).Letter;
    }
    std::sort(cells.begin(), cells.end());
    return cells;
  };
  std::set<std::string> words(ctx.AvoidWords.begin(), ctx.AvoidWords.end());
  std::map<std::string, std::set<Cells>> placements, found;
  for (const WordRecord& w : s.Words) {
    if (w.Status != kStatusPlaced) continue;
    words.insert(w.Text);
    placements[w.Text].insert(line(w.StartRow, w.StartCol, w.Direction, CharCount(w.Text), nullptr));
  }
  for (const std::string& word : words) {
    for (int r = 1; r <= s.Grid.Height(); ++r) {
      for (int c = 1; c <= s.Grid.Width(); ++c) {
        for (int d = 1; d <= 8; ++d) {
          std::string text;
          Cells cells = line(r, c, d, CharCount(word), &text);
          if (text == word && placements[word].count(cells) == 0) found[word].insert(cells);
        }
      }
    }
  }
  return found;
}

struct Seeded : TestApp {
  Seeded(const std::vector<std::string>& words, int size, std::uint64_t seed, bool check = true) {
    SetUpPuzzle(words, size, size, seed);
    BuildPuzzle(ctx);
    ctx.MainForm().SetChecked(frmKV_Puzzle::mnuNoDuplicates, check);
    placed = ctx.state.Grid;
  }
  // The fill as it always was: one draw of A-Z per unused cell, in reading order.
  LetterGrid PlainFill() const {
    LetterGrid grid = placed;
    Random rng = ctx.rng;
    for (auto [r, c] : UnusedCells(grid)) grid.At(r, c).Letter = std::string(1, static_cast<char>('A' + rng.Below(26)));
    return grid;
  }
  LetterGrid placed;
};

// Short words in a small grid, so that random letters spell them often; EAR inside
// BEAR is a second reading no fill can mend, EYE reads the same both ways.
const std::vector<std::string> kShortWords = {"BEAR", "EAR", "CAT", "DOG", "EMU", "OWL", "APE", "YAK",
                                              "ELK",  "RAT", "EEL", "HEN", "ANT", "EYE", "ZOO"};

TEST(FillCheck, OffItIsOneDrawPerBlankOnNoWordCanBeFoundTwiceUnlessItsLettersAreFixed) {
  int fills[2] = {};  // left as drawn, re-drawn
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    Seeded off(kShortWords, 9, seed, false);
    const LetterGrid plain_off = off.PlainFill();
    EXPECT_EQ(FillInBlanks(off.ctx).Redrawn, 0);
    ASSERT_TRUE(off.ctx.state.Grid == plain_off) << "seed " << seed;

    Seeded app(kShortWords, 9, seed);
    app.ctx.AvoidWords = {"TOE", "SOS"};
    const PuzzleState& s = app.ctx.state;
    const LetterGrid plain = app.PlainFill();
    const FillReport report = FillInBlanks(app.ctx);
    std::set<std::string> fixed_twice;
    for (const auto& [word, places] : ReadingsElsewhere(app.ctx)) {
      for (const Cells& cells : places) {
        for (auto [r, c] : cells) ASSERT_GT(s.Grid.At(r, c).UseCount, 0) << word << " seed " << seed;
      }
      fixed_twice.insert(word);
    }
    EXPECT_EQ(std::set<std::string>(report.FoundTwice.begin(), report.FoundTwice.end()), fixed_twice) << seed;
    // Named in the message, which speaks of no quote where none was written.
    EXPECT_EQ(FillReportMessage(report).rfind("These words can be found a second time, in letters of other words: ", 0),
              fixed_twice.empty() ? std::string::npos : 0)
        << FillReportMessage(report);
    EXPECT_TRUE(report.NotCleared.empty());
    // Only fill letters change, and only when the plain fill spelled a word twice.
    int changed = 0;
    for (auto [r, c] : UnusedCells(app.placed)) changed += s.Grid.At(r, c).Letter != plain.At(r, c).Letter;
    EXPECT_TRUE(changed <= report.Redrawn && (report.Redrawn > 0 || s.Grid == plain)) << "seed " << seed;
    EXPECT_EQ(app.ctx.MainForm().Text(frmKV_Puzzle::lblRedrawnCount),
              report.Redrawn ? std::to_string(report.Redrawn) : "");
    ++fills[report.Redrawn > 0];
  }
  EXPECT_TRUE(fills[0] > 30 && fills[1] > 30) << "the list makes both kinds of fill common";
}

// The search finds what reading every cell in every direction finds: small grids of two
// letters and an accented one, so that words overlap, repeat, read backwards and as
// palindromes, with empty cells, one-letter words and words placed twice.
TEST(FillCheck, TheSearchFindsWhatReadingEveryCellFinds) {
  std::mt19937 random(28);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::string letters[] = {"A", "B", "Ä", " "};
  auto word = [&](std::string text = "") {
    for (int n = 1 + pick(4); n > 0; --n) text += letters[pick(3)];
    return text;
  };
  for (int trial = 0; trial < 300; ++trial) {
    TestApp app;
    const int width = 1 + pick(7), height = 1 + pick(7);
    MakeGrid(app.ctx, width, height);
    PuzzleState& s = app.ctx.state;
    for (auto [r, c] : UnusedCells(s.Grid)) s.Grid.At(r, c).Letter = letters[pick(4)];
    for (int k = pick(5); k > 0; --k) {
      const std::string text = word();
      const int r = 1 + pick(height), c = 1 + pick(width), d = 1 + pick(8);
      if (WordInsideGrid(s.Grid, r, c, d, static_cast<int>(CharCount(text)))) PlaceWord(app.ctx, text, r, c, d);
    }
    for (int k = pick(4); k > 0; --k) app.ctx.AvoidWords.push_back(word());
    std::map<std::string, std::set<Cells>> found;
    for (SecondReading reading : FindSecondReadings(s, app.ctx.AvoidWords)) {
      std::sort(reading.Cells.begin(), reading.Cells.end());
      EXPECT_TRUE(found[reading.Word].insert(reading.Cells).second) << "reported twice, trial " << trial;
    }
    ASSERT_EQ(found, ReadingsElsewhere(app.ctx)) << "trial " << trial;
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
    if (!BuildRunning(app.ctx) || !counted.empty()) return;
    EXPECT_TRUE(main.Enabled(frmKV_Puzzle::cmdCancel) && !main.Enabled(frmKV_Puzzle::mnuFillinBlanks));
    counted = main.Text(frmKV_Puzzle::lblRedrawnCount);
    CancelBuild(app.ctx);
  };
  app.dialogs.ExpectMessage(MessageAnswer::Ok);
  FillBlanks(app.ctx);
  EXPECT_NE(counted, "");
  EXPECT_TRUE(std::regex_search(app.dialogs.messages.at(0).Text,
                                std::regex("\n\nFill in was cancelled: these words can still be found a "
                                           "second time: [A-Z]{2}(, [A-Z]{2}){9} and [0-9]+ more$")))
      << app.dialogs.messages.at(0).Text;
  EXPECT_TRUE(app.ctx.state.BlanksFilled && !BuildRunning(app.ctx) && main.Enabled(frmKV_Puzzle::mnuFillinBlanks));
}

// Letters beyond A-Z that the placed words use join the fill's alphabet, each drawn
// about as often as the words use it (here half and a quarter of their letters); A-Z
// share the rest.
TEST(FillAlphabet, TakesTheLettersBeyondAToZAsOftenAsTheWordsUseThem) {
  TestApp app;
  MakeGrid(app.ctx, 4, 1);
  PlaceWord(app.ctx, "ÄÖÄZ", 1, 1, 1);
  const FillAlphabet alphabet(app.ctx.state);
  EXPECT_TRUE(alphabet.Extras() == U"ÄÖ" && alphabet.Contains(U'Z') && !alphabet.Contains(U'Ü'));
  std::map<std::string, int> drawn;
  Random rng(1);
  for (int i = 0; i < 40000; ++i) ++drawn[alphabet.Draw(rng)];
  EXPECT_EQ(drawn.size(), 28u);
  EXPECT_NEAR(drawn["Ä"], 20000, 600);
  EXPECT_NEAR(drawn["Ö"], 10000, 500);
  EXPECT_NEAR(drawn["Q"], 10000 / 26, 100);
}

// Fill in draws the blanks' letters; a second time takes them away again, drawing them
// in white (the cells count as empty all along). A quote of exactly the spaces left is
// read back in order (the puzzle file's test keeps a quote); a longer one loses its end,
// and says so.
TEST(FillInBlanks, TogglesTheLettersAndWritesAQuoteFirst) {
  Seeded app({"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "POSSUM"}, 8, 11, false);
  PuzzleState& s = app.ctx.state;
  ASSERT_EQ(s.SpacesRemaining, 38);
  std::vector<std::string> letters;
  for (auto [r, c] : UnusedCells(app.placed)) letters.push_back(app.PlainFill().At(r, c).Letter);
  for (const auto color : {kBlack, kWhite}) {
    app.picture.ops.clear();
    FillInBlanks(app.ctx);
    EXPECT_EQ(std::make_tuple(s.BlanksFilled, s.SpacesRemaining, app.picture.Texts(), app.picture.ForeColor()),
              std::make_tuple(color == kBlack ? kTrue : i16{0}, i16{38}, letters, color));
  }
  EXPECT_EQ(s.Grid.At(UnusedCells(app.placed)[0].first, UnusedCells(app.placed)[0].second).Letter, " ");

  s.MysteryQuote = "Look deep, find all the animals! They hid in rows.";  // 38 letters, and others
  EXPECT_EQ(FillInBlanks(app.ctx).QuoteLettersLeftOut, 0);
  std::string read;
  for (auto [r, c] : UnusedCells(s.Grid)) read += s.Grid.At(r, c).Letter;
  EXPECT_EQ(read, "LOOKDEEPFINDALLTHEANIMALSTHEYHIDINROWS");
  FillInBlanks(app.ctx);
  s.MysteryQuote += " Twice over";
  EXPECT_EQ(FillInBlanks(app.ctx).QuoteLettersLeftOut, 9);
}

}  // namespace
}  // namespace kivrel
