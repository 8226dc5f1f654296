#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "DataTable.h"
#include "SearchCheck.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "display/FillLetters.h"
#include "files/FileIO.h"
#include "files/WordListFile.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "engine/LineScanner.h"
#include "engine/Placement.h"
#include "program/StartUp.h"
#include "program/Statistics.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using namespace testing;

// The grid as text, one line per row, "." for an empty cell.
std::string GridText(const PuzzleState& s) {
  std::string text;
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      text += cell.IsEmpty() ? "." : cell.Letter;
    }
    text += "\n";
  }
  return text;
}

// A short hash of everything a build leaves: the grid, each word's place and status,
// the counts and the random draw that comes next.
std::string BuildDigest(const PuzzleState& s, Random rng) {
  std::ostringstream text;
  text << GridText(s);
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& w = s.Words[static_cast<std::size_t>(i)];
    text << w.Status << ' ' << w.StartRow << ' ' << w.StartCol << ' ' << w.Direction << '\n';
  }
  for (int d = 1; d <= kDirectionCount; ++d) text << s.DirectionWordCount[static_cast<std::size_t>(d)] << ' ';
  text << s.InsertedCount << ' ' << s.RejectedCount << ' ' << s.JunctionCount << ' ' << rng.Next();
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const char byte : text.str()) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ULL;
  char digest[20];
  std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(hash));
  return digest;
}

// Checks everything a build must leave consistent: each placed word reads from the grid
// along its direction; every cell's UseCount and WordRefs are the placed words through it
// in the order they were placed; the counters equal a recount and the statistics panel
// shows them.
void ExpectConsistent(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  auto at = [](int i) { return static_cast<std::size_t>(i); };
  std::map<std::pair<int, int>, std::vector<int>> through;  // in the order the words were placed
  int placed = 0, rejected = 0, letters_left = 0, crossings = 0, empty = 0;
  std::array<i16, 9> by_direction{};
  for (std::size_t position = 1; position < s.BuildOrder.size(); ++position) {
    const int index = s.BuildOrder[position];
    const WordRecord& word = s.Words[at(index)];
    rejected += index > 0 && word.Status == kStatusRejected;
    letters_left += index > 0 && word.Status != kStatusPlaced && word.Status != kStatusRejected ? word.Length : 0;
    if (index == 0 || word.Status != kStatusPlaced) continue;
    ++placed;
    ++by_direction[at(word.Direction)];
    for (int k = 0; k < word.Length; ++k) {
      const int row = word.StartRow + k * s.RowStep[at(word.Direction)];
      const int col = word.StartCol + k * s.ColStep[at(word.Direction)];
      ASSERT_TRUE(s.Grid.Contains(row, col)) << word.Text << " leaves the grid";
      EXPECT_EQ(s.Grid.At(row, col).Letter, CharAt(word.Text, at(k + 1))) << word.Text << "\n" << GridText(s);
      through[{row, col}].push_back(index);
    }
  }
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      const std::vector<int>& words = through[{row, col}];
      ASSERT_EQ(cell.UseCount, static_cast<int>(words.size())) << "cell " << row << "," << col;
      for (std::size_t slot = 1; slot <= words.size(); ++slot) EXPECT_EQ(cell.WordRefs[slot], words[slot - 1]);
      empty += cell.IsEmpty();
      crossings += std::max(cell.UseCount - 1, 0);
    }
  }
  EXPECT_EQ(std::tie(s.InsertedCount, s.RejectedCount, s.JunctionCount, s.SpacesRemaining, s.LettersRemaining),
            std::make_tuple(placed, rejected, crossings, empty, letters_left));
  EXPECT_EQ(s.DirectionWordCount, by_direction);

  // The statistics panel shows the same counts (the rejected count once it is not 0).
  const Form& main = ctx.MainForm();
  EXPECT_EQ(main.Text(frmKV_Puzzle::lblInsertedCount) + "/" + main.Text(frmKV_Puzzle::lblSpacesRemaining) + "/" +
                main.Text(frmKV_Puzzle::lblMatches) + "/" + main.Text(frmKV_Puzzle::lblDirection[0]),
            FormatPicture(placed, kCountPicture) + "/" + FormatPicture(empty, kCountPicture) + "/" +
                FormatPicture(crossings, kJunctionPicture) + "/" + FormatPicture(by_direction[1], kCountPicture));
  EXPECT_TRUE(rejected == 0 || main.Text(frmKV_Puzzle::lblRejectedCount) == std::to_string(rejected));
}

const std::vector<std::string> kAnimals = {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "CASSOWARY"};

struct Puzzle : TestApp {
  Puzzle(const std::vector<std::string>& words, int size, std::uint64_t seed) { SetUpPuzzle(words, size, size, seed); }
  explicit Puzzle(std::uint64_t seed = 2) : Puzzle(kAnimals, 10, seed) {}
  BuildOutcome Build(long long attempts = 0) {
    BuildLimits limits;
    limits.MaxAttempts = attempts;
    return BuildPuzzle(ctx, limits);
  }
  // Builds, and tells how it ended: the end and the attempts made, the words placed and
  // rejected, the spaces left and the beeps.
  std::string Run(long long attempts = 0) {
    static const char* kEnds[] = {"not started", "finished", "cancelled", "gave up", "interrupted"};
    const BuildOutcome outcome = Build(attempts);
    std::ostringstream out;
    out << kEnds[static_cast<int>(outcome.End)] << " x" << outcome.Attempts << ", " << ctx.state.InsertedCount
        << " placed, " << ctx.state.RejectedCount << " rejected, " << ctx.state.SpacesRemaining << " spaces, "
        << beeper.beeps << " beeps";
    return out.str();
  }
  // Runs `act` once, when events run for the n-th time.
  void OnYield(int n, std::function<void()> act) {
    pump.on_yield = [this, n, act] {
      if (pump.yields == n) act();
    };
  }
  const Form& Main() { return ctx.MainForm(); }
};

// While it runs the commands are a build's, and the panel and the picture show the puzzle
// as it stands each time events run; it ends with the puzzle ready and a beep.
TEST(BuildPuzzle, RunsInTheBuildingStateShowingTheCountsAndEndsPuzzleReady) {
  Puzzle app(4);
  int checked = 0;
  app.ctx.display.CellSize = 240;  // each cell at a place of its own
  app.ctx.state.BlanksFilled = kTrue;
  // The picture shows a letter at every cell filled so far, and at no other, since the
  // attempt cleared it.
  auto expect_picture = [&app] {
    std::set<std::pair<double, double>> places;
    for (const DrawOp& op : app.picture.ops) {
      if (op.kind == DrawOp::Kind::Cls) places.clear();
      if (op.kind == DrawOp::Kind::Text) places.emplace(op.x, op.y);
    }
    const std::string grid = GridText(app.ctx.state);  // the words are in A-Z
    EXPECT_EQ(places.size(), std::count_if(grid.begin(), grid.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
  };
  app.pump.on_yield = [&] {
    ASSERT_TRUE(BuildRunning(app.ctx) && app.Main().Enabled(frmKV_Puzzle::cmdCancel) &&
                !app.Main().Enabled(frmKV_Puzzle::mnuBuild));
    ExpectConsistent(app.ctx);
    expect_picture();
    ++checked;
  };
  EXPECT_EQ(app.Run(), "finished x1, 6 placed, 0 rejected, 70 spaces, 1 beeps");
  EXPECT_GT(checked, 4);
  expect_picture();
  EXPECT_TRUE(!BuildRunning(app.ctx) && app.Main().Visible() && !app.Main().Enabled(frmKV_Puzzle::cmdCancel) &&
              app.Main().Enabled(frmKV_Puzzle::mnuFillinBlanks));
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleBuilt, app.ctx.state.BlanksFilled), std::make_tuple(kTrue, i16{0}));
  ExpectConsistent(app.ctx);
}

// How a build ends under the reject options and the "spaces remaining" rule: the table
// of runs in tests/data/build-runs.txt.
TEST(BuildPuzzle, TheRejectOptionsAndTheSpacesRule) {
  std::string first_grid;
  const std::vector<std::string> rows = DataTableRows("build-runs.txt");
  ASSERT_EQ(rows.size(), 15u);
  for (const std::string& line : rows) {
    std::istringstream in(line);
    std::string list, op, want;
    int side = 0, seed = 0, diagonals = 0, restart = 0, stop = 0, remaining = 0, sound = 0;
    long long limit = 0;
    in >> list >> side >> seed >> diagonals >> restart >> stop >> op >> remaining >> limit >> sound;
    std::getline(in >> want >> std::ws, want);  // past the "=", the rest of the line
    std::vector<std::string> words;
    std::istringstream split(list);
    for (std::string word; std::getline(split, word, ',');) words.push_back(word);
    Puzzle app(words, side, static_cast<std::uint64_t>(seed));
    PuzzleState& s = app.ctx.state;
    s.IncludeDiagonals = i16(diagonals);
    s.RestartOnFirstReject = i16(restart);
    s.StopOnFirstReject = i16(stop);
    s.StopRemainingCount = i16(remaining);
    s.StopRemainingOperator = op == "-" ? "" : op;
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, sound != 0);
    EXPECT_EQ(app.Run(limit), want) << line;
    if (side == 3 && first_grid.empty()) first_grid = GridText(s);
    EXPECT_TRUE(side != 3 || GridText(s) == first_grid) << line;
    ExpectConsistent(app.ctx);
  }
}

// The marks are set, and the list edited, in the middle of the first attempt: the later
// attempts clear the marks (so the first Outline after a rebuild draws the rings) and
// read no word of the edited list; the next build reads it. An impossible rule repeats
// until a time limit, or a Cancel that the next attempt must not forget.
TEST(BuildPuzzle, EveryAttemptStartsWithoutOutlinesOrJunctionsAndWithTheSameWords) {
  Puzzle restarted({"ABCD", "EFG", "HI"}, 4, 3);
  PuzzleState& s = restarted.ctx.state;
  s.StopRemainingOperator = "=";  // no attempt meets it
  s.StopRemainingCount = i16{10};
  restarted.OnYield(1, [&] {
    s.OutlinesShown = s.JunctionsShown = kTrue;
    restarted.ctx.list.SetList(0, "HIPPOPOTAMUS");
    s.WordTableStale = kTrue;
  });
  EXPECT_EQ(restarted.Build(3).Attempts, 3);
  EXPECT_EQ(std::tie(s.OutlinesShown, s.JunctionsShown, s.WordTableStale, s.Words[1].Text),
            std::make_tuple(i16{0}, i16{0}, kTrue, "ABCD"));
  // One word and a rule no attempt meets: each attempt yields once, after its word.
  Puzzle endless({"CAT"}, 5, 1);
  endless.ctx.state.StopRemainingOperator = "<";
  endless.ctx.state.StopRemainingCount = i16{3};
  endless.OnYield(1, [&] { endless.ctx.state.CancelRequested = kTrue; });
  EXPECT_EQ(endless.Run(), "cancelled x1, 1 placed, 0 rejected, 22 spaces, 0 beeps");
  EXPECT_EQ(BuildPuzzle(endless.ctx, {.Deadline = std::chrono::steady_clock::now()}).End, BuildEnd::GaveUp);
}

// Compared filled: six words in a 10 x 10 grid fall into the same places for about one
// pair of seeds in three hundred, the letters around them for none.
TEST(BuildPuzzle, TwoStartsWithoutASeedMakeDifferentPuzzles) {
  Puzzle one(0), two(0);
  for (Puzzle* app : {&one, &two}) {
    StartUp(app->ctx);  // again, without a seed: the clock chooses
    app->Build();
    FillInBlanks(app->ctx);
  }
  EXPECT_NE(GridText(one.ctx.state), GridText(two.ctx.state));
  // Nor does a clock that does not move between them make them alike.
  EXPECT_NE(FreshSeed(42), FreshSeed(42));
}

// Cancel ends the build at once, keeping what was placed. What is left to run after the
// build cancels it and runs then, in order (without a build it runs at once, as every
// command's test shows). The list emptied, or the size changed, under a build: the
// half-built puzzle goes and the commands are those of the list as it now stands.
TEST(BuildPuzzle, CancelOrAChangeUnderTheBuildEndItAtOnceThenWhatWaitedRuns) {
  std::string seen;
  for (int at : {1, 2, 40, 41}) {
    Puzzle app(8);
    seen.clear();
    app.OnYield(at, [&] {
      EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);  // one build at a time
      AfterBuild(app.ctx, [&] {
        seen += BuildRunning(app.ctx) || app.Main().Enabled(frmKV_Puzzle::cmdCancel) ? "running, " : "ended, ";
      });
      AfterBuild(app.ctx, [&] { seen += "second"; });
      EXPECT_EQ(seen, "");  // and the build is cancelled for them
    });
    EXPECT_EQ(app.Build().End, BuildEnd::Cancelled) << at;
    EXPECT_EQ(seen, "ended, second");
    EXPECT_EQ(std::tie(app.pump.yields, app.ctx.state.PuzzleBuilt, app.beeper.beeps), std::make_tuple(at, kTrue, 0));
    ExpectConsistent(app.ctx);
  }
  for (bool emptied : {true, false}) {
    Puzzle app;
    app.OnYield(5, [&] {
      if (emptied) app.ctx.list.Clear(), UpdateWordCount(app.ctx);
      if (!emptied) app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 12;
    });
    EXPECT_EQ(app.Build().End, BuildEnd::Interrupted);
    const Form& main = app.Main();
    EXPECT_TRUE(!BuildRunning(app.ctx) && !app.ctx.state.PuzzleBuilt && !main.IsVisible(frmKV_Puzzle::picPuzzle));
    EXPECT_EQ(main.Enabled(frmKV_Puzzle::mnuBuild) && main.Enabled(frmKV_Puzzle::cmdViewList), !emptied);
    EXPECT_FALSE(main.Enabled(frmKV_Puzzle::cmdPrint) || main.Enabled(frmKV_Puzzle::cmdCancel));
  }
}

// Eight words may cross in one cell, a ninth may not. (The rules of where the line scan
// puts a word, more crossings, then busier cells, then the less used direction, are
// checked against the plain search by LineScan below; they and the first word's place
// are pinned by the seeded builds' digests, which change with any decision or draw.)
TEST(InsertWord, NeverPutsANinthWordThroughACell) {
  Puzzle app({"A"}, 3, 5);
  BuildWordTable(app.ctx);
  PuzzleState& s = app.ctx.state;
  s.Grid.Create(3, 3);
  s.Grid.At(2, 2) = CellRecord{"A", 7};
  s.CurrentWordIndex = 1;
  s.CurrentDirection = s.CurrentRow = s.CurrentCol = 2;
  s.CurrentWordLength = 1;
  InsertWord(s);  // the eighth
  EXPECT_EQ(std::make_pair(s.Grid.At(2, 2).UseCount, s.Grid.At(2, 2).WordRefs[8]), std::make_pair(i16{8}, i16{1}));
  EXPECT_THROW(InsertWord(s), std::logic_error);
}

// Seeded builds over the shipped animals list and over random lists, sizes and options:
// each leaves a consistent puzzle, and each makes exactly the puzzle it always made
// (tests/data/build-digests.txt; KIVREL_UPDATE_GOLDEN=1 writes it anew after a change
// of the build's decisions that is meant).
// A random case: few different letters make many crossings, ties and full cells, under
// the reject options and the spaces rule. (The search's paths for every size of line are
// LineScan's, below.)
void SetUpRandom(TestApp& app, std::uint64_t seed) {
  Random r(seed * 7919 + 17);
  static const std::vector<std::string> kAlphabets = {"AB", "ABC", "ABCDE", "ETAOINSHRD", "A", "ÄÖ1A"};
  const std::u32string alphabet = Characters(kAlphabets[static_cast<std::size_t>(r.Below(6))]);
  static const std::pair<int, int> kSizes[] = {{5, 5},  {8, 6},  {3, 9},   {12, 12}, {1, 7},  {7, 1},
                                               {70, 4}, {4, 70}, {66, 66}, {2, 2},   {15, 15}};
  const auto [width, height] = kSizes[r.Below(11)];
  std::vector<std::string> words(static_cast<std::size_t>(1 + r.Below(width * height > 1000 ? 120 : 30)));
  for (std::string& word : words) {
    std::u32string letters;
    for (int k = 1 + r.Below(std::min({width, height, 9})); k > 0; --k)
      letters += alphabet[static_cast<std::size_t>(r.Below(static_cast<int>(alphabet.size())))];
    word = Utf8(letters);
  }
  words.push_back("A");
  app.SetUpPuzzle(words, width, height, seed);
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = static_cast<i16>(r.Below(2));
  s.BalanceDirections = static_cast<i16>(r.Below(3) - 1);  // -1, 0 or 1: only 1 balances
  const int rule = r.Below(6);
  s.RestartOnFirstReject = rule == 1;
  s.StopOnFirstReject = rule == 2;
  if (rule >= 3) {
    s.StopRemainingOperator = rule == 3 ? "=" : rule == 4 ? "<" : "<=";
    s.StopRemainingCount = static_cast<i16>(r.Below(width * height / 2 + 1));
  }
}

TEST(SeededBuilds, EachSeedBuildsAConsistentPuzzleAndThePuzzleItAlwaysBuilt) {
  const ParsedWordList animals =
      *ParseWordList(ReadWholeFile(std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl").ValueOr(""));
  std::vector<std::string> lines;
  std::array<int, 9> forward_placed{};
  // The Build command with its window, and the engine alone watched by nobody: the same
  // puzzle, the same end and the same draws.
  auto build = [&](const std::string& name, TestApp& app, long long attempts) {
    SCOPED_TRACE(name);
    BuildLimits limits;
    limits.MaxAttempts = attempts;
    BuildWordTable(app.ctx);
    PuzzleState bare = app.ctx.state;
    Random bare_rng = app.ctx.rng;
    const BuildOutcome outcome = BuildPuzzle(app.ctx, limits);
    ASSERT_NE(outcome.End, BuildEnd::NotStarted);
    ExpectConsistent(app.ctx);
    const std::string digest = BuildDigest(app.ctx.state, app.ctx.rng);
    BuildProgress nobody;
    const BuildOutcome unseen = RunBuild(bare, bare_rng, nobody, limits);
    EXPECT_TRUE(unseen.End == outcome.End && unseen.Attempts == outcome.Attempts && bare.Words == app.ctx.state.Words);
    EXPECT_EQ(BuildDigest(bare, bare_rng), digest);
    lines.push_back(name + " " + std::to_string(static_cast<int>(outcome.End)) + " " +
                    std::to_string(outcome.Attempts) + " " + digest);
  };
  // The animals list at its 15 x 15, with diagonals and balance seed by seed, with and
  // without backwards words.
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    for (i16 backwards : {1, 0}) {
      TestApp app;
      StartUp(app.ctx, seed);
      ASSERT_TRUE(LoadWordList(app.ctx, animals, nullptr));
      app.ctx.state.IncludeDiagonals = i16(seed % 2);
      app.ctx.state.BalanceDirections = i16(seed / 2 % 2);
      app.ctx.state.BackwardsWords = backwards;
      build((backwards ? "animals " : "forward ") + std::to_string(seed), app, 0);
      for (const WordRecord& word : app.ctx.state.Words) {
        if (!backwards && word.Status == kStatusPlaced) ++forward_placed[static_cast<std::size_t>(word.Direction)];
      }
    }
  }
  for (std::uint64_t seed = 1; seed <= 400; ++seed) {
    TestApp app;
    SetUpRandom(app, seed);
    build("random " + std::to_string(seed), app, 4);
  }
  // Without backwards words: Right, Down, Down-Right and Up-Right all take words; the
  // other four none.
  for (int d = 1; d <= kDirectionCount; ++d) {
    EXPECT_EQ(forward_placed[static_cast<std::size_t>(d)] > 0, d % 2 == 1) << kDirectionNames[d];
  }

  if (std::getenv("KIVREL_UPDATE_GOLDEN")) {
    std::ofstream out(std::string(KIVREL_TEST_DATA_DIR) + "/build-digests.txt");
    for (const std::string& line : lines) out << line << '\n';
  }
  const std::vector<std::string> golden = DataTableRows("build-digests.txt");
  ASSERT_EQ(golden.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i], golden[i]) << "a seeded build made another puzzle than it always made";
  }
}

// The line scanner against the plain search, offset by offset: the committed fuzz seeds
// (full cells, lines of every kind, Cancel) with each build of the search this processor
// runs, and cases of random bytes, half of them on small grids where words cross most.
// The fuzz target does the same with inputs it learns. The GCC build of the sanitizer
// tests checks GCC's build of the search for VBMI2, whose instructions are written out.
TEST(LineScan, ChoosesThePlacesDrawsAndYieldsOfThePlainSearch) {
  const std::filesystem::path seeds = std::filesystem::path(KIVREL_TEST_DATA_DIR) / "../../fuzz/corpus/build_search";
  const std::size_t searches = LineScanner::Runnable().size();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
    std::string bytes = ReadWholeFile(entry.path().string()).ValueOr("");
    if (bytes.size() < 3) bytes.resize(3);  // a missing byte reads as 0 (ReadCase)
    for (std::size_t code = 0; code < searches; ++code) {
      bytes[2] = static_cast<char>((bytes[2] & 0x3F) | code << 6);
      EXPECT_EQ(CheckSearches(bytes), "") << entry.path() << " search " << code;
    }
    ++files;
  }
  EXPECT_GE(files, 7);
  Random r(2026);
  for (int i = 0; i < 600; ++i) {
    std::string bytes(static_cast<std::size_t>(12 + r.Below(400)), '\0');
    for (char& byte : bytes) byte = static_cast<char>(r.Below(256));
    if (i % 2 == 1) {
      bytes[0] = static_cast<char>(r.Below(20));
      bytes[1] = static_cast<char>(r.Below(20));
    }
    ASSERT_EQ(CheckSearches(bytes), "") << "case " << i;
  }
}

}  // namespace
}  // namespace kivrel
