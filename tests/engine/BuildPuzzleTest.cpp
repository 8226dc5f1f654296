#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "BuildHelpers.h"
#include "commands/BuildCommands.h"
#include "program/StartUp.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using namespace testing;

const std::vector<std::string> kAnimals = {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "CASSOWARY"};

struct Puzzle : TestApp {
  Puzzle(const std::vector<std::string>& words, int size, std::uint64_t seed) {
    SetUpPuzzle(*this, words, size, size, seed);
  }
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

// While it runs the commands are a build's and the panel holds the counts as they stand
// each time events run; it ends with the puzzle ready, sized once, and a beep.
TEST(BuildPuzzle, RunsInTheBuildingStateShowingTheCountsAndEndsPuzzleReady) {
  Puzzle app(4);
  int sized = 0, checked = 0;
  app.ctx.SizePuzzleDisplay = [&] { ++sized; };
  app.ctx.state.BlanksFilled = kTrue;
  app.pump.on_yield = [&] {
    ASSERT_TRUE(BuildRunning(app.ctx) && app.Main().Enabled(frmKV_Puzzle::cmdCancel) &&
                !app.Main().Enabled(frmKV_Puzzle::mnuBuild));
    ExpectConsistent(app.ctx);
    ++checked;
  };
  EXPECT_EQ(app.Run(), "finished x1, 6 placed, 0 rejected, 70 spaces, 1 beeps");
  EXPECT_GT(checked, 4);
  EXPECT_EQ(sized, 1);
  EXPECT_TRUE(!BuildRunning(app.ctx) && app.Main().Visible() && !app.Main().Enabled(frmKV_Puzzle::cmdCancel) &&
              app.Main().Enabled(frmKV_Puzzle::mnuFillinBlanks));
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleBuilt, app.ctx.state.BlanksFilled), std::make_tuple(kTrue, i16{0}));
  ExpectConsistent(app.ctx);
}

// How a build ends under the reject options and the "spaces remaining" rule: the table
// of runs in tests/data/build-runs.txt.
TEST(BuildPuzzle, TheRejectOptionsAndTheSpacesRule) {
  std::ifstream runs(std::string(KIVREL_TEST_DATA_DIR) + "/build-runs.txt");
  std::string first_grid;
  int count = 0;
  for (std::string line; std::getline(runs, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string list, op, want;
    int side = 0, seed = 0, diagonals = 0, restart = 0, stop = 0, remaining = 0, sound = 0;
    long long limit = 0;
    in >> list >> side >> seed >> diagonals >> restart >> stop >> op >> remaining >> limit >> sound;
    std::getline(in >> want >> std::ws, want);
    std::vector<std::string> words;
    std::istringstream split(list);
    for (std::string word; std::getline(split, word, ',');) words.push_back(word);
    Puzzle app(words, side, static_cast<std::uint64_t>(seed));
    PuzzleState& s = app.ctx.state;
    std::tie(s.IncludeDiagonals, s.RestartOnFirstReject, s.StopOnFirstReject, s.StopRemainingCount) =
        std::make_tuple(i16(diagonals), i16(restart), i16(stop), i16(remaining));
    s.StopRemainingOperator = op == "-" ? "" : op;
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, sound != 0);
    EXPECT_EQ(app.Run(limit), want) << line;
    if (side == 3 && first_grid.empty()) first_grid = GridText(s);
    EXPECT_TRUE(side != 3 || GridText(s) == first_grid) << line;
    ExpectConsistent(app.ctx);
    ++count;
  }
  EXPECT_EQ(count, 15);
}

// The marks are set, and the list edited, in the middle of the first attempt: the later
// attempts clear the marks (so the first Outline after a rebuild draws the rings) and
// read no word of the edited list; the next build reads it. An impossible rule repeats until a time limit, or a Cancel
// that the next attempt must not forget.
TEST(BuildPuzzle, EveryAttemptStartsWithoutOutlinesOrJunctionsAndWithTheSameWords) {
  Puzzle restarted({"ABCD", "EFG", "HI"}, 4, 3);
  restarted.ctx.state.StopRemainingOperator = "=";
  restarted.ctx.state.StopRemainingCount = 10;  // every attempt is abandoned
  PuzzleState& s = restarted.ctx.state;
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
  endless.ctx.state.StopRemainingCount = 3;
  endless.OnYield(1, [&] { endless.ctx.state.CancelRequested = kTrue; });
  EXPECT_EQ(endless.Run(), "cancelled x1, 1 placed, 0 rejected, 22 spaces, 0 beeps");
  BuildLimits limits;
  limits.Deadline = std::chrono::steady_clock::now();
  EXPECT_EQ(BuildPuzzle(endless.ctx, limits).End, BuildEnd::GaveUp);
}

TEST(BuildPuzzle, TwoStartsWithoutASeedMakeDifferentPuzzles) {
  Puzzle one(0), two(0);
  for (Puzzle* app : {&one, &two}) {
    StartUp(app->ctx);  // again, without a seed: the clock chooses
    app->Build();
  }
  EXPECT_NE(GridText(one.ctx.state), GridText(two.ctx.state));
}

// Cancel ends the build at once, keeping what was placed. What is left to run after the
// build cancels it and runs then, in order; without a build it runs at once. The list
// emptied, or the size changed, under a build: the half-built puzzle goes and the
// commands are those of the list as it now stands.
TEST(BuildPuzzle, CancelOrAChangeUnderTheBuildEndItAtOnceThenWhatWaitedRuns) {
  std::string seen;
  Puzzle idle;
  AfterBuild(idle.ctx, [&] { seen = "at once"; });
  EXPECT_EQ(seen, "at once");
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

}  // namespace
}  // namespace kivrel
