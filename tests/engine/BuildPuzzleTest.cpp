#include <gtest/gtest.h>

#include "BuildHelpers.h"
#include "commands/BuildCommands.h"
#include "display/GridViews.h"
#include "model/Numbers.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "program/Statistics.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::ExpectConsistent;
using testing::GridText;
using testing::SetUpPuzzle;
using testing::TestApp;

// Four words of three different letters in a 3 x 3 grid without diagonals: three fill
// the rows (or the columns) and the fourth fits nowhere.
struct FullGrid : TestApp {
  FullGrid() {
    SetUpPuzzle(*this, {"ABC", "DEF", "GHI", "JKL"}, 3, 3, 1);
    ctx.state.IncludeDiagonals = 0;
  }
};

// ABCD, then words that cannot cross it in a 4 x 4 grid: the empty cells go 12, 10, ...
struct NoCrossings : TestApp {
  NoCrossings(std::vector<std::string> more, std::string op, int remaining) {
    more.insert(more.begin(), "ABCD");
    SetUpPuzzle(*this, more, 4, 4, 3);
    ctx.state.StopRemainingOperator = std::move(op);
    ctx.state.StopRemainingCount = static_cast<i16>(remaining);
  }
};

BuildOutcome BuildWithLimit(AppContext& ctx, long long attempts) {
  BuildLimits limits;
  limits.MaxAttempts = attempts;
  return BuildPuzzle(ctx, limits);
}

TEST(BuildPuzzle, OrdersLongestFirstInListOrderAndEntriesWithoutAWordTakeNoPart) {
  TestApp app;
  SetUpPuzzle(app, {"OX", "CAT", "???", "ELEPHANT", "DOG", "EMU", "GIRAFFE"}, 10, 10, 1);
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  const std::vector<i16>& order = app.ctx.state.BuildOrder;
  EXPECT_EQ(std::vector<i16>(order.begin(), order.begin() + 7), (std::vector<i16>{0, 3, 6, 2, 4, 5, 1}));
  EXPECT_EQ(app.ctx.state.InsertedCount, 6);
  EXPECT_EQ(app.ctx.state.Words[7].Status, kStatusNotPlaced);  // the blank record "???" left
  ExpectConsistent(app.ctx);

  TestApp nothing;
  SetUpPuzzle(nothing, {"!!!", "[note only]"}, 5, 5, 1);
  EXPECT_EQ(BuildPuzzle(nothing.ctx).End, BuildEnd::NotStarted);
  EXPECT_EQ(nothing.ctx.state.PuzzleBuilt, 0);
}

TEST(BuildPuzzle, RunsInTheBuildingStateAndEndsPuzzleReady) {
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 4);
  int sized = 0;
  app.ctx.SizePuzzleDisplay = [&] { ++sized; };
  app.ctx.state.BlanksFilled = kTrue;
  Form& main = app.ctx.MainForm();
  app.pump.on_yield = [&] {
    EXPECT_TRUE(BuildRunning(app.ctx) && main.Enabled(frmKV_Puzzle::cmdCancel) &&
                !main.Enabled(frmKV_Puzzle::mnuBuild));
  };
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  EXPECT_FALSE(BuildRunning(app.ctx));
  EXPECT_EQ(sized, 1);
  EXPECT_TRUE(main.Visible() && !main.Enabled(frmKV_Puzzle::cmdCancel) && main.Enabled(frmKV_Puzzle::mnuFillinBlanks));
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleBuilt, app.ctx.state.BlanksFilled), std::make_tuple(kTrue, i16{0}));
  EXPECT_EQ(app.beeper.beeps, 1);
  ExpectConsistent(app.ctx);
}

TEST(BuildPuzzle, TheStatisticsPanelShowsTheCountsWheneverEventsRunAndAtTheEnd) {
  const std::vector<std::string> words = {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "QUOKKA", "PLATYPUS"};
  // A program whose pump never runs events formats the counts once, when the build ends.
  HeadlessProgram headless;
  StartUp(headless.ctx, 1);
  for (const std::string& word : words) headless.ctx.list.AddItem(word);
  headless.ctx.state.WordCount = static_cast<i16>(words.size());
  headless.ctx.state.PuzzleWidth = headless.ctx.state.PuzzleHeight = 10;
  headless.ctx.state.SetDefaultBuildOptions();
  int shown = 0;
  headless.ctx.MainForm().Subscribe([&](Control control, Property property) {
    if (control == frmKV_Puzzle::lblInsertedCount && property == Property::Text &&
        !headless.ctx.MainForm().Text(frmKV_Puzzle::lblInsertedCount).empty()) {
      ++shown;
    }
  });
  ASSERT_EQ(BuildPuzzle(headless.ctx).End, BuildEnd::Finished);
  EXPECT_EQ(shown, 1);
  ExpectConsistent(headless.ctx);

  // Where events run, the panel holds the counts as they stand each time they do.
  TestApp app;
  SetUpPuzzle(app, words, 10, 10, 1);
  Form& main = app.ctx.MainForm();
  int checked = 0;
  app.pump.on_yield = [&] {
    const PuzzleState& s = app.ctx.state;
    ASSERT_EQ(main.Text(frmKV_Puzzle::lblInsertedCount), FormatPicture(s.InsertedCount, kCountPicture));
    ASSERT_EQ(main.Text(frmKV_Puzzle::lblSpacesRemaining), FormatPicture(s.SpacesRemaining, kCountPicture));
    ASSERT_EQ(main.Text(frmKV_Puzzle::lblMatches), FormatPicture(s.JunctionCount, kJunctionPicture));
    ++checked;
  };
  ASSERT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  EXPECT_GT(checked, static_cast<int>(words.size()));
  ExpectConsistent(app.ctx);
}

TEST(BuildPuzzle, YieldsAfterEveryLineSearchedAndEveryWordTried) {
  // 3 x 3 and words of 3: one line per diagonal direction, three per straight one.
  for (i16 diagonals : {0, 1}) {
    FullGrid app;
    app.ctx.state.IncludeDiagonals = diagonals;
    BuildPuzzle(app.ctx);
    const int lines = diagonals ? 3 * 4 + 4 : 3 * 4;
    EXPECT_EQ(app.pump.yields, 1 + 3 * (lines + 1)) << diagonals;
  }
}

TEST(BuildPuzzle, ARejectIsCountedOrStopsTheBuild) {
  FullGrid counted;
  BuildPuzzle(counted.ctx);
  EXPECT_EQ(counted.ctx.state.Words[4].Status, kStatusRejected);
  EXPECT_EQ(counted.beeper.beeps, 0);
  ExpectConsistent(counted.ctx);  // counted and shown

  // Stopping at the first reject: quiet, and the panel counts what was left out. When
  // the restart option is set as well (a file may hold both), the stop wins.
  for (i16 restart : {0, 1}) {
    FullGrid stopped;
    stopped.ctx.state.StopOnFirstReject = 1;
    stopped.ctx.state.RestartOnFirstReject = restart;
    BuildOutcome outcome = BuildWithLimit(stopped.ctx, 5);
    EXPECT_EQ(std::tie(outcome.End, outcome.Attempts), std::make_tuple(BuildEnd::Finished, 1LL)) << restart;
    EXPECT_EQ(stopped.beeper.beeps, 0);
    EXPECT_EQ(std::tie(stopped.ctx.state.RejectedCount, stopped.ctx.state.PuzzleBuilt), std::make_tuple(i16{1}, kTrue));
    EXPECT_EQ(stopped.ctx.MainForm().Text(frmKV_Puzzle::lblRejectedCount), "1");
    EXPECT_EQ(stopped.ctx.state.Words[4].Status, kStatusRejected);
    ExpectConsistent(stopped.ctx);
  }

  // A stop early in the list leaves every word not yet tried out as well: four rows of
  // four letters, none shared, fill the grid, and neither short word finds room.
  TestApp early;
  SetUpPuzzle(early, {"ABCD", "EFGH", "IJKL", "MNOP", "QR", "ST"}, 4, 4, 3);
  early.ctx.state.IncludeDiagonals = 0;
  early.ctx.state.StopOnFirstReject = 1;
  BuildPuzzle(early.ctx);
  EXPECT_EQ(early.ctx.state.InsertedCount + early.ctx.state.RejectedCount, 6);
  EXPECT_GE(early.ctx.state.RejectedCount, 2);
  ExpectConsistent(early.ctx);
}

TEST(BuildPuzzle, AnImpossibleRestartRepeatsUntilCancelOrALimit) {
  FullGrid cancelled;
  cancelled.ctx.state.RestartOnFirstReject = 1;
  cancelled.pump.on_yield = [&] {
    if (cancelled.pump.yields == 500) cancelled.ctx.state.CancelRequested = kTrue;
  };
  BuildOutcome outcome = BuildPuzzle(cancelled.ctx);
  EXPECT_EQ(outcome.End, BuildEnd::Cancelled);
  EXPECT_GT(outcome.Attempts, 10);

  FullGrid limited;
  limited.ctx.state.RestartOnFirstReject = 1;
  outcome = BuildWithLimit(limited.ctx, 7);
  EXPECT_EQ(outcome.End, BuildEnd::GaveUp);
  EXPECT_EQ(outcome.Attempts, 7);
  EXPECT_EQ(limited.ctx.state.InsertedCount, 3);
  EXPECT_EQ(limited.ctx.state.Words[4].Status, kStatusRejected);  // the word that restarted it
  ExpectConsistent(limited.ctx);

  FullGrid timed;
  timed.ctx.state.RestartOnFirstReject = 1;
  BuildLimits limits;
  limits.Deadline = std::chrono::steady_clock::now();
  EXPECT_EQ(BuildPuzzle(timed.ctx, limits).Attempts, 1);
}

TEST(BuildPuzzle, SpacesRemainingRules) {
  NoCrossings equal({"EF", "GH"}, "=", 10);  // reaches 10 exactly: GH is never tried
  BuildPuzzle(equal.ctx);
  EXPECT_EQ(equal.ctx.state.SpacesRemaining, 10);
  EXPECT_EQ(equal.ctx.state.Words[3].Status, kStatusNotPlaced);
  EXPECT_EQ(equal.beeper.beeps, 1);  // a stop by this rule still beeps, unless the sound is off
  NoCrossings quiet({"EF", "GH"}, "=", 10);
  quiet.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, false);
  BuildPuzzle(quiet.ctx);
  EXPECT_EQ(quiet.beeper.beeps, 0);

  NoCrossings below({"EFG", "HI"}, "=", 10);  // 12, then 9: every attempt is abandoned
  EXPECT_EQ(BuildWithLimit(below.ctx, 5).End, BuildEnd::GaveUp);
  EXPECT_EQ(below.ctx.state.Words[3].Status, kStatusNotPlaced);

  NoCrossings zero({"EF"}, "=", 0);  // ends with empty cells and is not repeated
  EXPECT_EQ(BuildWithLimit(zero.ctx, 5).Attempts, 1);
  // A count above 0 that an attempt never reached starts another, whatever the operator.
  for (const char* op : {"=", "<", "<="}) {
    NoCrossings unmet({"EF"}, op, 5);  // 12, then 10
    BuildOutcome outcome = BuildWithLimit(unmet.ctx, 4);
    EXPECT_EQ(std::tie(outcome.End, outcome.Attempts), std::make_tuple(BuildEnd::GaveUp, 4LL)) << op;
    EXPECT_EQ(unmet.beeper.beeps, 0) << op;
  }

  NoCrossings less({"EF", "GH"}, "<", 11);
  BuildPuzzle(less.ctx);
  EXPECT_EQ(less.ctx.state.SpacesRemaining, 10);
  NoCrossings at_most({"EF", "GH"}, "<=", 12);  // the first word is never compared
  BuildPuzzle(at_most.ctx);
  EXPECT_EQ(at_most.ctx.state.SpacesRemaining, 10);

  NoCrossings unknown({"EF", "GH"}, "", 5);  // no known operator: the rule is off
  BuildOutcome outcome = BuildWithLimit(unknown.ctx, 5);
  EXPECT_EQ(outcome.End, BuildEnd::Finished);
  EXPECT_EQ(outcome.Attempts, 1);
  EXPECT_EQ(unknown.ctx.state.InsertedCount, 3);
}

TEST(BuildPuzzle, EveryAttemptStartsWithoutOutlinesOrJunctions) {
  // The marks are set in the middle of the first attempt; the later ones must clear them.
  NoCrossings restarted({"EFG", "HI"}, "=", 10);  // every attempt is abandoned
  restarted.pump.on_yield = [&] {
    if (restarted.pump.yields != 1) return;
    restarted.ctx.state.OutlinesShown = kTrue;
    restarted.ctx.state.JunctionsShown = kTrue;
  };
  EXPECT_EQ(BuildWithLimit(restarted.ctx, 3).Attempts, 3);
  EXPECT_EQ(std::tie(restarted.ctx.state.OutlinesShown, restarted.ctx.state.JunctionsShown),
            std::make_tuple(i16{0}, i16{0}));

  // So the first Outline after a rebuild draws the rings.
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 4);
  BuildPuzzle(app.ctx);
  ToggleOutlines(app.ctx);
  BuildPuzzle(app.ctx);
  app.picture.ops.clear();
  ToggleOutlines(app.ctx);
  EXPECT_FALSE(app.picture.OfKind(DrawOp::Kind::Arc).empty());
}

// The engine alone, watched by nobody, against the Build command with its window: the
// same puzzle and the same draws, and nothing drawn, shown, yielded or sounded.
TEST(RunBuild, WithNobodyWatchingBuildsWhatTheBuildCommandBuilds) {
  struct Case {
    std::vector<std::string> words;
    int size;
    i16 restart, stop;
    long long attempts;
    BuildEnd end;
  };
  const std::vector<std::string> animals = {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "QUOKKA", "PLATYPUS"};
  const std::vector<std::string> too_many = {"ABC", "DEF", "GHI", "JKL"};
  const Case cases[] = {{animals, 10, 0, 0, 0, BuildEnd::Finished},
                        {too_many, 3, 1, 0, 4, BuildEnd::GaveUp},  // the best attempt put back
                        {too_many, 3, 0, 1, 0, BuildEnd::Finished}};
  for (const Case& c : cases) {
    TestApp window, bare;
    for (TestApp* app : {&window, &bare}) {
      SetUpPuzzle(*app, c.words, c.size, c.size, 7);
      app->ctx.state.RestartOnFirstReject = c.restart;
      app->ctx.state.StopOnFirstReject = c.stop;
    }
    BuildLimits limits;
    limits.MaxAttempts = c.attempts;
    const BuildOutcome shown = BuildPuzzle(window.ctx, limits);
    BuildWordTable(bare.ctx);
    bare.picture.ops.clear();
    const std::string labels = bare.ctx.MainForm().Text(frmKV_Puzzle::lblSpacesRemaining);
    BuildProgress nobody;
    const BuildOutcome unseen = RunBuild(bare.ctx.state, bare.ctx.rng, nobody, limits);

    EXPECT_EQ(std::tie(unseen.End, unseen.Attempts), std::tie(shown.End, shown.Attempts));
    EXPECT_EQ(unseen.End, c.end);
    const PuzzleState &a = window.ctx.state, &b = bare.ctx.state;
    EXPECT_TRUE(a.Grid == b.Grid) << GridText(a) << "\n" << GridText(b);
    EXPECT_TRUE(a.Words == b.Words);
    EXPECT_EQ(std::tie(a.InsertedCount, a.RejectedCount, a.JunctionCount, a.SpacesRemaining, a.LettersRemaining),
              std::tie(b.InsertedCount, b.RejectedCount, b.JunctionCount, b.SpacesRemaining, b.LettersRemaining));
    EXPECT_EQ(window.ctx.rng.Next(), bare.ctx.rng.Next());
    EXPECT_TRUE(bare.picture.ops.empty());
    EXPECT_EQ(std::tie(bare.pump.yields, bare.beeper.beeps), std::make_tuple(0, 0));
    EXPECT_EQ(bare.ctx.MainForm().Text(frmKV_Puzzle::lblSpacesRemaining), labels);
  }
}

TEST(BuildPuzzle, TwoStartsWithoutASeedMakeDifferentPuzzles) {
  std::vector<std::string> grids;
  for (int start = 0; start < 2; ++start) {
    TestApp app;
    SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "PLATYPUS"}, 12, 12, 0);
    StartUp(app.ctx);  // again, without a seed: the clock chooses
    BuildPuzzle(app.ctx);
    grids.push_back(GridText(app.ctx.state));
  }
  EXPECT_NE(grids[0], grids[1]);
}

TEST(BuildPuzzle, CancelEndsTheBuildKeepingWhatWasPlaced) {
  for (int at : {1, 2, 40, 41}) {
    TestApp app;
    SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "CASSOWARY"}, 10, 10, 8);
    app.pump.on_yield = [&] {
      if (app.pump.yields == at) app.ctx.state.CancelRequested = kTrue;
    };
    EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Cancelled) << at;
    EXPECT_EQ(app.pump.yields, at);
    EXPECT_EQ(app.ctx.state.PuzzleBuilt, kTrue);
    EXPECT_FALSE(app.ctx.MainForm().Enabled(frmKV_Puzzle::cmdCancel));
    EXPECT_EQ(app.beeper.beeps, 0);
    ExpectConsistent(app.ctx);
  }
  // One word and a rule no attempt meets: each attempt yields once, after its first
  // word, and the next attempt must not forget a Cancel pressed there.
  TestApp app;
  SetUpPuzzle(app, {"CAT"}, 5, 5, 1);
  app.ctx.state.StopRemainingOperator = "<";
  app.ctx.state.StopRemainingCount = 3;
  app.pump.on_yield = [&] { app.ctx.state.CancelRequested = kTrue; };
  EXPECT_EQ(BuildPuzzle(app.ctx).Attempts, 1);
}

TEST(AfterBuild, RunsAtOnceWithoutABuildOtherwiseAfterTheCancelledBuildEnds) {
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 2);
  int ran = 0;
  AfterBuild(app.ctx, [&] { ++ran; });
  EXPECT_EQ(ran, 1);

  std::vector<std::string> seen;
  app.pump.on_yield = [&] {
    if (app.pump.yields != 3) return;
    EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);  // one build at a time
    AfterBuild(app.ctx, [&] {
      seen.push_back(BuildRunning(app.ctx) ? "running" : "ended");
      seen.push_back(app.ctx.state.PuzzleBuilt ? "built" : "not built");
      seen.push_back(app.ctx.MainForm().Enabled(frmKV_Puzzle::cmdCancel) ? "cancel on" : "cancel off");
    });
    AfterBuild(app.ctx, [&] { seen.push_back("second"); });
    EXPECT_TRUE(seen.empty());
  };
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Cancelled);
  EXPECT_EQ(seen, (std::vector<std::string>{"ended", "built", "cancel off", "second"}));
}

// The list emptied, or the size changed, under a build: the half-built puzzle goes and
// the commands are those of the list as it now stands.
TEST(BuildPuzzle, AListOrSizeChangedUnderTheBuildDropsThePuzzle) {
  for (bool emptied : {true, false}) {
    SCOPED_TRACE(emptied ? "list emptied" : "size changed");
    TestApp app;
    SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 2);
    app.pump.on_yield = [&] {
      if (app.pump.yields != 5) return;
      if (emptied) {
        app.ctx.list.Clear();
        UpdateWordCount(app.ctx);
      } else {
        app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 12;
      }
    };
    EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Interrupted);
    const Form& main = app.ctx.MainForm();
    EXPECT_FALSE(BuildRunning(app.ctx));
    EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
    EXPECT_FALSE(main.IsVisible(frmKV_Puzzle::picPuzzle));
    EXPECT_EQ(main.Enabled(frmKV_Puzzle::mnuBuild) && main.Enabled(frmKV_Puzzle::mnuAttributes) &&
                  main.Enabled(frmKV_Puzzle::cmdViewList),
              !emptied);
    EXPECT_FALSE(main.Enabled(frmKV_Puzzle::cmdPrint) || main.Enabled(frmKV_Puzzle::cmdSavePuzzle) ||
                 main.Enabled(frmKV_Puzzle::cmdCancel));
  }
}

TEST(BuildPuzzle, EditingTheListDuringABuildChangesNoWordOfIt) {
  NoCrossings app({"EFG", "HI"}, "=", 10);  // restarts at every attempt
  app.pump.on_yield = [&] {
    if (app.pump.yields != 1) return;
    app.ctx.list.SetList(0, "HIPPOPOTAMUS");
    app.ctx.state.WordTableStale = kTrue;
  };
  EXPECT_EQ(BuildWithLimit(app.ctx, 3).Attempts, 3);
  EXPECT_EQ(app.ctx.state.Words[1].Text, "ABCD");
  EXPECT_EQ(app.ctx.state.WordTableStale, kTrue);  // the next build reads the list again
}

}  // namespace
}  // namespace kivrel
