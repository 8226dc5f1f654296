#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "BuildHelpers.h"
#include "commands/BuildCommands.h"
#include "display/GridViews.h"
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

// How a build ends under the reject options and the "spaces remaining" rule. In a 3 x 3
// grid without diagonals ABC, DEF and GHI fill the rows (or the columns) and JKL fits
// nowhere. In a 4 x 4 grid ABCD comes first and the shorter words cannot cross it, so
// the empty cells go 12, 10, 8 (or 9 after a word of three).
TEST(BuildPuzzle, TheRejectOptionsAndTheSpacesRule) {
  const std::vector<std::string> full = {"ABC", "DEF", "GHI", "JKL"};
  struct Case {
    std::vector<std::string> words;
    i16 restart, stop;
    const char* op;
    int remaining;
    long long limit;
    const char* want;
  } cases[] = {
      {full, 0, 0, "", 0, 0, "finished x1, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      // A stop at the first reject is quiet and wins over the restart (a file may hold both).
      {full, 0, 1, "", 0, 5, "finished x1, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      {full, 1, 1, "", 0, 5, "finished x1, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      {full, 1, 0, "", 0, 7, "gave up x7, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      // Reaches 10 exactly: GH is never tried; it beeps.
      {{"ABCD", "EF", "GH"}, 0, 0, "=", 10, 0, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // 12, then 9: every attempt is abandoned.
      {{"ABCD", "EFG", "HI"}, 0, 0, "=", 10, 5, "gave up x5, 2 placed, 0 rejected, 9 spaces, 0 beeps"},
      // Ends with empty cells, not repeated.
      {{"ABCD", "EF"}, 0, 0, "=", 0, 5, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // A count above 0 that an attempt never reached (12, then 10) starts another, whatever the operator.
      {{"ABCD", "EF"}, 0, 0, "=", 5, 4, "gave up x4, 2 placed, 0 rejected, 10 spaces, 0 beeps"},
      {{"ABCD", "EF"}, 0, 0, "<", 5, 4, "gave up x4, 2 placed, 0 rejected, 10 spaces, 0 beeps"},
      {{"ABCD", "EF"}, 0, 0, "<=", 5, 4, "gave up x4, 2 placed, 0 rejected, 10 spaces, 0 beeps"},
      {{"ABCD", "EF", "GH"}, 0, 0, "<", 11, 0, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // "<" is not met at equality.
      {{"ABCD", "EF", "GH"}, 0, 0, "<", 10, 0, "finished x1, 3 placed, 0 rejected, 8 spaces, 1 beeps"},
      // The first word is never compared.
      {{"ABCD", "EF", "GH"}, 0, 0, "<=", 12, 0, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // No known operator: the rule is off.
      {{"ABCD", "EF", "GH"}, 0, 0, "", 5, 5, "finished x1, 3 placed, 0 rejected, 8 spaces, 1 beeps"},
  };
  Puzzle first(full, 3, 1);  // every attempt with JKL places three words: of those ties the first is kept
  first.ctx.state.IncludeDiagonals = 0;
  first.Build(1);
  for (const Case& c : cases) {
    Puzzle app(c.words, c.words == full ? 3 : 4, c.words == full ? 1 : 3);
    app.ctx.state.IncludeDiagonals = c.words != full;
    app.ctx.state.RestartOnFirstReject = c.restart;
    app.ctx.state.StopOnFirstReject = c.stop;
    app.ctx.state.StopRemainingOperator = c.op;
    app.ctx.state.StopRemainingCount = static_cast<i16>(c.remaining);
    EXPECT_EQ(app.Run(c.limit), c.want) << c.words.size() << " words, " << c.restart << c.stop << " \"" << c.op
                                        << "\" " << c.remaining;
    EXPECT_TRUE(c.words != full || GridText(app.ctx.state) == GridText(first.ctx.state));
    ExpectConsistent(app.ctx);
  }
  Puzzle quiet({"ABCD", "EF", "GH"}, 4, 3);  // a stop by the rule beeps unless the sound is off
  quiet.ctx.state.StopRemainingOperator = "=";
  quiet.ctx.state.StopRemainingCount = 10;
  quiet.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, false);
  EXPECT_EQ(quiet.Run(), "finished x1, 2 placed, 0 rejected, 10 spaces, 0 beeps");
}

// The marks are set, and the list edited, in the middle of the first attempt: the later
// attempts clear the marks and read no word of the edited list; the next build reads
// it. An impossible rule repeats until a time limit, or a Cancel that the next attempt
// must not forget.
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

  // So the first Outline after a rebuild draws the rings.
  Puzzle app(4);
  app.Build();
  ToggleOutlines(app.ctx);
  app.Build();
  app.picture.ops.clear();
  ToggleOutlines(app.ctx);
  EXPECT_FALSE(app.picture.OfKind(DrawOp::Kind::Arc).empty());
}

// The engine alone, watched by nobody, against the Build command with its window: the
// same puzzle and the same draws, and nothing drawn, shown, yielded or sounded.
TEST(RunBuild, WithNobodyWatchingBuildsWhatTheBuildCommandBuilds) {
  const std::vector<std::string> too_many = {"ABC", "DEF", "GHI", "JKL"};
  const std::tuple<std::vector<std::string>, int, i16, long long, BuildEnd> cases[] = {
      {kAnimals, 10, 0, 0, BuildEnd::Finished},
      {too_many, 3, 1, 4, BuildEnd::GaveUp},  // the best attempt put back
  };
  for (const auto& [words, size, restart, attempts, end] : cases) {
    Puzzle window(words, size, 7), bare(words, size, 7);
    window.ctx.state.RestartOnFirstReject = bare.ctx.state.RestartOnFirstReject = restart;
    const BuildOutcome shown = window.Build(attempts);
    BuildWordTable(bare.ctx);
    bare.picture.ops.clear();
    const std::string labels = bare.Main().Text(frmKV_Puzzle::lblSpacesRemaining);
    BuildProgress nobody;
    BuildLimits limits;
    limits.MaxAttempts = attempts;
    const BuildOutcome unseen = RunBuild(bare.ctx.state, bare.ctx.rng, nobody, limits);
    EXPECT_EQ(std::make_tuple(unseen.End, unseen.Attempts, shown.End), std::make_tuple(end, shown.Attempts, end));
    // The grid, the places, the counts and the next draw.
    EXPECT_EQ(BuildDigest(bare.ctx), BuildDigest(window.ctx)) << GridText(bare.ctx.state);
    EXPECT_TRUE(window.ctx.state.Words == bare.ctx.state.Words);
    EXPECT_EQ(std::make_tuple(bare.picture.ops.size(), bare.pump.yields, bare.beeper.beeps,
                              bare.Main().Text(frmKV_Puzzle::lblSpacesRemaining)),
              std::make_tuple(0u, 0, 0, labels));
  }
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
