#include <gtest/gtest.h>

#include <array>
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

const std::vector<std::string> kAnimals = {"KANGAROO", "WOMBAT", "EMU", "KOALA"};

struct Puzzle : TestApp {
  Puzzle(const std::vector<std::string>& words, int size, std::uint64_t seed) {
    SetUpPuzzle(*this, words, size, size, seed);
  }
  explicit Puzzle(std::uint64_t seed = 2) : Puzzle(kAnimals, 9, seed) {}
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
  void CancelAt(int n) {
    OnYield(n, [this] { ctx.state.CancelRequested = kTrue; });
  }
  void StopWhen(std::string op, int remaining) {
    ctx.state.StopRemainingOperator = std::move(op);
    ctx.state.StopRemainingCount = static_cast<i16>(remaining);
  }
  const Form& Main() { return ctx.MainForm(); }
};

// Four words of three different letters in a 3 x 3 grid without diagonals: three fill
// the rows (or the columns) and the fourth fits nowhere.
struct FullGrid : Puzzle {
  explicit FullGrid(i16 restart = 0, i16 stop = 0) : Puzzle({"ABC", "DEF", "GHI", "JKL"}, 3, 1) {
    ctx.state.IncludeDiagonals = 0;
    ctx.state.RestartOnFirstReject = restart;
    ctx.state.StopOnFirstReject = stop;
  }
};

// ABCD, then words that cannot cross it in a 4 x 4 grid: the empty cells go 12, 10, ...
struct NoCrossings : Puzzle {
  NoCrossings(std::vector<std::string> more, std::string op, int remaining) : Puzzle(WithABCD(more), 4, 3) {
    StopWhen(std::move(op), remaining);
  }
  static std::vector<std::string> WithABCD(std::vector<std::string> more) {
    more.insert(more.begin(), "ABCD");
    return more;
  }
};

TEST(BuildPuzzle, OrdersLongestFirstInListOrderAndEntriesWithoutAWordTakeNoPart) {
  Puzzle app({"OX", "CAT", "???", "ELEPHANT", "DOG", "EMU", "GIRAFFE"}, 10, 1);
  EXPECT_EQ(app.Build().End, BuildEnd::Finished);
  const std::vector<i16>& order = app.ctx.state.BuildOrder;
  EXPECT_EQ(std::vector<i16>(order.begin(), order.begin() + 7), (std::vector<i16>{0, 3, 6, 2, 4, 5, 1}));
  EXPECT_EQ(app.ctx.state.InsertedCount, 6);
  EXPECT_EQ(app.ctx.state.Words[7].Status, kStatusNotPlaced);  // the blank record "???" left
  ExpectConsistent(app.ctx);

  Puzzle nothing({"!!!", "[note only]"}, 5, 1);
  EXPECT_EQ(nothing.Build().End, BuildEnd::NotStarted);
  EXPECT_EQ(nothing.ctx.state.PuzzleBuilt, 0);
}

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
  EXPECT_EQ(app.Build().End, BuildEnd::Finished);
  EXPECT_GT(checked, 4);
  EXPECT_EQ(sized, 1);
  EXPECT_TRUE(!BuildRunning(app.ctx) && app.Main().Visible() && !app.Main().Enabled(frmKV_Puzzle::cmdCancel) &&
              app.Main().Enabled(frmKV_Puzzle::mnuFillinBlanks));
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleBuilt, app.ctx.state.BlanksFilled), std::make_tuple(kTrue, i16{0}));
  EXPECT_EQ(app.beeper.beeps, 1);
  ExpectConsistent(app.ctx);
}

// JKL fits nowhere: it is counted and shown; a stop at the first reject is quiet and
// wins over the restart option (a file may hold both); a restart repeats until a limit,
// every attempt placing three words, and of those ties the first is kept.
TEST(BuildPuzzle, ARejectIsCountedStopsTheBuildOrRestartsItKeepingTheFirstOfTheBest) {
  const std::tuple<i16, i16, long long, const char*> cases[] = {
      // restart, stop, attempt limit
      {0, 0, 0, "finished x1, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      {0, 1, 5, "finished x1, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      {1, 1, 5, "finished x1, 3 placed, 1 rejected, 0 spaces, 0 beeps"},
      {1, 0, 7, "gave up x7, 3 placed, 1 rejected, 0 spaces, 0 beeps"}};
  FullGrid first(1);
  first.Build(1);
  for (auto [restart, stop, limit, want] : cases) {
    FullGrid app(restart, stop);
    EXPECT_EQ(app.Run(limit), want) << restart << stop;
    EXPECT_EQ(std::tie(app.ctx.state.Words[4].Status, app.ctx.state.PuzzleBuilt),
              std::make_tuple(kStatusRejected, kTrue));
    EXPECT_EQ(GridText(app.ctx.state), GridText(first.ctx.state));
    ExpectConsistent(app.ctx);
  }

  // A stop early in the list leaves every word not yet tried out as well: four rows of
  // four letters, none shared, fill the grid, and neither short word finds room.
  Puzzle early({"ABCD", "EFGH", "IJKL", "MNOP", "QR", "ST"}, 4, 3);
  early.ctx.state.IncludeDiagonals = 0;
  early.ctx.state.StopOnFirstReject = 1;
  early.Build();
  EXPECT_EQ(early.ctx.state.InsertedCount + early.ctx.state.RejectedCount, 6);
  EXPECT_GE(early.ctx.state.RejectedCount, 2);
  ExpectConsistent(early.ctx);
}

TEST(BuildPuzzle, AnImpossibleRestartRepeatsUntilCancelOrATimeLimit) {
  FullGrid cancelled(1);
  cancelled.CancelAt(500);
  BuildOutcome outcome = cancelled.Build();
  EXPECT_EQ(outcome.End, BuildEnd::Cancelled);
  EXPECT_GT(outcome.Attempts, 10);
  FullGrid timed(1);
  BuildLimits limits;
  limits.Deadline = std::chrono::steady_clock::now();
  EXPECT_EQ(BuildPuzzle(timed.ctx, limits).Attempts, 1);
}

TEST(BuildPuzzle, SpacesRemainingRules) {
  const std::tuple<std::vector<std::string>, const char*, int, long long, const char*> cases[] = {
      // Reaches 10 exactly: GH is never tried; it beeps.
      {{"EF", "GH"}, "=", 10, 0, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // 12, then 9: every attempt is abandoned.
      {{"EFG", "HI"}, "=", 10, 5, "gave up x5, 2 placed, 0 rejected, 9 spaces, 0 beeps"},
      // Ends with empty cells, not repeated.
      {{"EF"}, "=", 0, 5, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // A count above 0 that an attempt never reached (12, then 10) starts another, whatever the operator.
      {{"EF"}, "=", 5, 4, "gave up x4, 2 placed, 0 rejected, 10 spaces, 0 beeps"},
      {{"EF"}, "<", 5, 4, "gave up x4, 2 placed, 0 rejected, 10 spaces, 0 beeps"},
      {{"EF"}, "<=", 5, 4, "gave up x4, 2 placed, 0 rejected, 10 spaces, 0 beeps"},
      {{"EF", "GH"}, "<", 11, 0, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // "<" is not met at equality.
      {{"EF", "GH"}, "<", 10, 0, "finished x1, 3 placed, 0 rejected, 8 spaces, 1 beeps"},
      // The first word is never compared.
      {{"EF", "GH"}, "<=", 12, 0, "finished x1, 2 placed, 0 rejected, 10 spaces, 1 beeps"},
      // No known operator: the rule is off.
      {{"EF", "GH"}, "", 5, 5, "finished x1, 3 placed, 0 rejected, 8 spaces, 1 beeps"},
  };
  for (const auto& [more, op, remaining, limit, want] : cases) {
    NoCrossings app(more, op, remaining);
    EXPECT_EQ(app.Run(limit), want) << more.size() << " more, \"" << op << "\" " << remaining;
  }
  NoCrossings quiet({"EF", "GH"}, "=", 10);  // a stop by the rule beeps unless the sound is off
  quiet.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, false);
  quiet.Build();
  EXPECT_EQ(quiet.beeper.beeps, 0);
}

// The marks are set, and the list edited, in the middle of the first attempt: the later
// attempts clear the marks and read no word of the edited list; the next build reads it.
TEST(BuildPuzzle, EveryAttemptStartsWithoutOutlinesOrJunctionsAndWithTheSameWords) {
  NoCrossings restarted({"EFG", "HI"}, "=", 10);  // every attempt is abandoned
  restarted.OnYield(1, [&] {
    restarted.ctx.state.OutlinesShown = restarted.ctx.state.JunctionsShown = kTrue;
    restarted.ctx.list.SetList(0, "HIPPOPOTAMUS");
    restarted.ctx.state.WordTableStale = kTrue;
  });
  EXPECT_EQ(restarted.Build(3).Attempts, 3);
  const PuzzleState& s = restarted.ctx.state;
  EXPECT_EQ(std::tie(s.OutlinesShown, s.JunctionsShown, s.WordTableStale, s.Words[1].Text),
            std::make_tuple(i16{0}, i16{0}, kTrue, "ABCD"));

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
  const std::vector<std::string> animals = {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "QUOKKA", "PLATYPUS"};
  const std::vector<std::string> too_many = {"ABC", "DEF", "GHI", "JKL"};
  const std::tuple<std::vector<std::string>, int, i16, i16, long long, BuildEnd> cases[] = {
      {animals, 10, 0, 0, 0, BuildEnd::Finished},
      {too_many, 3, 1, 0, 4, BuildEnd::GaveUp},  // the best attempt put back
      {too_many, 3, 0, 1, 0, BuildEnd::Finished}};
  for (const auto& [words, size, restart, stop, attempts, end] : cases) {
    Puzzle window(words, size, 7), bare(words, size, 7);
    for (Puzzle* app : {&window, &bare}) {
      app->ctx.state.RestartOnFirstReject = restart;
      app->ctx.state.StopOnFirstReject = stop;
    }
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
    EXPECT_EQ(testing::BuildDigest(bare.ctx), testing::BuildDigest(window.ctx)) << GridText(bare.ctx.state);
    EXPECT_TRUE(window.ctx.state.Words == bare.ctx.state.Words);
    // Nothing drawn, yielded, sounded or shown.
    EXPECT_EQ(std::make_tuple(bare.picture.ops.size(), bare.pump.yields, bare.beeper.beeps,
                              bare.Main().Text(frmKV_Puzzle::lblSpacesRemaining)),
              std::make_tuple(0u, 0, 0, labels));
  }
}

TEST(BuildPuzzle, TwoStartsWithoutASeedMakeDifferentPuzzles) {
  std::vector<std::string> grids;
  for (int start = 0; start < 2; ++start) {
    Puzzle app({"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "PLATYPUS"}, 12, 0);
    StartUp(app.ctx);  // again, without a seed: the clock chooses
    app.Build();
    grids.push_back(GridText(app.ctx.state));
  }
  EXPECT_NE(grids[0], grids[1]);
}

// Cancel ends the build at once, keeping what was placed. What is left to run after the
// build cancels it and runs then, in order; without a build it runs at once.
TEST(BuildPuzzle, CancelEndsTheBuildAtOnceKeepingWhatWasPlacedThenRunsWhatWaited) {
  std::string seen;
  Puzzle idle;
  AfterBuild(idle.ctx, [&] { seen = "at once"; });
  EXPECT_EQ(seen, "at once");
  for (int at : {1, 2, 40, 41}) {
    Puzzle app({"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "CASSOWARY"}, 10, 8);
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
  // One word and a rule no attempt meets: each attempt yields once, after its first
  // word, and the next attempt must not forget a Cancel pressed there.
  Puzzle app({"CAT"}, 5, 1);
  app.StopWhen("<", 3);
  app.CancelAt(1);
  EXPECT_EQ(app.Build().Attempts, 1);
}

// The list emptied, or the size changed, under a build: the half-built puzzle goes and
// the commands are those of the list as it now stands.
TEST(BuildPuzzle, AListOrSizeChangedUnderTheBuildDropsThePuzzle) {
  for (bool emptied : {true, false}) {
    SCOPED_TRACE(emptied ? "list emptied" : "size changed");
    Puzzle app;
    app.OnYield(5, [&] {
      if (emptied) {
        app.ctx.list.Clear();
        UpdateWordCount(app.ctx);
      } else {
        app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 12;
      }
    });
    EXPECT_EQ(app.Build().End, BuildEnd::Interrupted);
    const Form& main = app.Main();
    EXPECT_TRUE(!BuildRunning(app.ctx) && !app.ctx.state.PuzzleBuilt && !main.IsVisible(frmKV_Puzzle::picPuzzle));
    EXPECT_EQ(main.Enabled(frmKV_Puzzle::mnuBuild) && main.Enabled(frmKV_Puzzle::mnuAttributes) &&
                  main.Enabled(frmKV_Puzzle::cmdViewList),
              !emptied);
    EXPECT_FALSE(main.Enabled(frmKV_Puzzle::cmdPrint) || main.Enabled(frmKV_Puzzle::cmdSavePuzzle) ||
                 main.Enabled(frmKV_Puzzle::cmdCancel));
  }
}

}  // namespace
}  // namespace kivrel
