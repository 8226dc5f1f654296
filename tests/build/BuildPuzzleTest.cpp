#include <gtest/gtest.h>

#include "BuildHelpers.h"
#include "build/BuildPuzzle.h"
#include "model/CommandStates.h"
#include "model/WordTable.h"

namespace kivrel {
namespace {

using testing::ExpectConsistent;
using testing::SetUpPuzzle;
using testing::TestApp;

// Four words of three different letters each in a 3 x 3 grid without diagonals: three
// fill the rows (or the columns) and the fourth fits nowhere.
struct FullGrid : TestApp {
  explicit FullGrid(std::uint64_t seed = 1) {
    SetUpPuzzle(*this, {"ABC", "DEF", "GHI", "JKL"}, 3, 3, seed);
    ctx.state.IncludeDiagonals = 0;
  }
};

// ABCD and then two-letter words in a 4 x 4 grid: no word can cross another, so the
// empty cells go 12, 10, 8, ...
struct NoCrossings : TestApp {
  explicit NoCrossings(std::vector<std::string> more, std::string op, int remaining) {
    std::vector<std::string> words = {"ABCD"};
    words.insert(words.end(), more.begin(), more.end());
    SetUpPuzzle(*this, words, 4, 4, 3);
    ctx.state.StopRemainingOperator = std::move(op);
    ctx.state.StopRemainingCount = static_cast<i16>(remaining);
  }
};

TEST(BuildPuzzle, AGridSmallerThanTheLongestWordOpensTheAttributesDialogInstead) {
  TestApp app;
  SetUpPuzzle(app, {"ELEPHANTS", "CAT"}, 8, 10, 1);
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);
  EXPECT_EQ(app.ctx.state.AttributesForBuild, kTrue);
  EXPECT_TRUE(app.ctx.AttributesForm().Visible());
  EXPECT_FALSE(app.ctx.AttributesForm().ShownModal());
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
  EXPECT_EQ(app.pump.yields, 0);
  app.ctx.state.PuzzleWidth = 9;
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  EXPECT_EQ(app.ctx.state.InsertedCount, 2);
}

TEST(BuildPuzzle, AListWithoutAPlaceableWordBuildsNothing) {
  TestApp app;
  SetUpPuzzle(app, {"!!!", "[note only]"}, 5, 5, 1);
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
  EXPECT_FALSE(app.ctx.AttributesForm().Visible());
}

TEST(BuildPuzzle, EntriesWithoutAWordTakeNoPart) {
  TestApp app;
  SetUpPuzzle(app, {"CAT", "???", "DOG"}, 5, 5, 1);
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.InsertedCount, 2);
  EXPECT_EQ(s.Words[3].Status, kStatusNotPlaced);  // the blank record left by "???"
  EXPECT_EQ(s.BuildOrder[3], 0);
  ExpectConsistent(app.ctx);
}

TEST(BuildPuzzle, OrdersLongestFirstAndEqualLengthsInListOrder) {
  TestApp app;
  SetUpPuzzle(app, {"OX", "CAT", "ELEPHANT", "DOG", "EMU", "GIRAFFE"}, 10, 10, 1);
  BuildPuzzle(app.ctx);
  EXPECT_EQ(app.ctx.state.BuildOrder, (std::vector<i16>{0, 3, 6, 2, 4, 5, 1}));
}

TEST(BuildPuzzle, RunsInTheBuildingStateAndEndsPuzzleReady) {
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 4);
  int sized = 0;
  app.ctx.SizePuzzleDisplay = [&] { ++sized; };
  app.ctx.state.BlanksFilled = kTrue;
  app.ctx.state.OutlinesShown = kTrue;
  Form& main = app.ctx.MainForm();
  app.pump.on_yield = [&] {
    EXPECT_TRUE(BuildRunning(app.ctx));
    EXPECT_TRUE(main.Enabled("cmdCancel"));
    EXPECT_FALSE(main.Enabled("mnuBuild"));
    EXPECT_FALSE(main.Enabled("mnuPrint"));
  };
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  EXPECT_FALSE(BuildRunning(app.ctx));
  EXPECT_EQ(sized, 1);
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(main.Enabled("cmdCancel"));
  EXPECT_TRUE(main.Enabled("mnuFillinBlanks"));
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, kTrue);
  EXPECT_EQ(app.ctx.state.BlanksFilled, 0);
  EXPECT_EQ(app.ctx.state.OutlinesShown, 0);
  EXPECT_EQ(app.ctx.state.DirectionCount, 8);
  EXPECT_EQ(app.ctx.state.BlankRow, std::string(9, ' '));
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

TEST(BuildPuzzle, ARejectedWordIsCountedAndShown) {
  FullGrid app;
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.Words[4].Status, kStatusRejected);
  EXPECT_EQ(s.RejectedCount, 1);
  EXPECT_EQ(s.LettersRemaining, 0);
  EXPECT_EQ(app.ctx.MainForm().Text("lblRejectedCount"), "1");
  EXPECT_EQ(app.beeper.beeps, 0);
  ExpectConsistent(app.ctx);
}

TEST(BuildPuzzle, StopOnFirstRejectEndsTheBuildAtThatWord) {
  FullGrid app;
  app.ctx.state.StopOnFirstReject = 1;
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.Words[4].Status, kStatusNotPlaced);
  EXPECT_EQ(s.RejectedCount, 0);
  EXPECT_EQ(s.InsertedCount, 3);
  EXPECT_EQ(s.PuzzleBuilt, kTrue);
  EXPECT_EQ(app.beeper.beeps, 0);
}

TEST(BuildPuzzle, RestartOnFirstRejectRepeatsUntilCancel) {
  FullGrid app;
  app.ctx.state.RestartOnFirstReject = 1;
  app.pump.on_yield = [&] {
    if (app.pump.yields == 500) app.ctx.state.CancelRequested = kTrue;
  };
  BuildOutcome outcome = BuildPuzzle(app.ctx);
  EXPECT_EQ(outcome.End, BuildEnd::Cancelled);
  EXPECT_GT(outcome.Attempts, 10);
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, kTrue);
  ExpectConsistent(app.ctx);
}

TEST(BuildPuzzle, AnImpossibleRestartGivesUpAtTheLimitWithTheBestAttempt) {
  FullGrid app;
  app.ctx.state.RestartOnFirstReject = 1;
  BuildLimits limits;
  limits.MaxAttempts = 7;
  BuildOutcome outcome = BuildPuzzle(app.ctx, limits);
  EXPECT_EQ(outcome.End, BuildEnd::GaveUp);
  EXPECT_EQ(outcome.Attempts, 7);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.InsertedCount, 3);
  EXPECT_EQ(s.Words[4].Status, kStatusRejected);  // the word that restarted it
  EXPECT_EQ(s.PuzzleBuilt, kTrue);
  ExpectConsistent(app.ctx);

  FullGrid timed;
  timed.ctx.state.RestartOnFirstReject = 1;
  limits.MaxAttempts = 0;
  limits.Deadline = std::chrono::steady_clock::now();
  outcome = BuildPuzzle(timed.ctx, limits);
  EXPECT_EQ(outcome.End, BuildEnd::GaveUp);
  EXPECT_EQ(outcome.Attempts, 1);
}

TEST(BuildPuzzle, SpacesRemainingEqualStopsThereOrStartsAgain) {
  NoCrossings stops({"EF", "GH"}, "=", 10);
  EXPECT_EQ(BuildPuzzle(stops.ctx).End, BuildEnd::Finished);
  EXPECT_EQ(stops.ctx.state.SpacesRemaining, 10);
  EXPECT_EQ(stops.ctx.state.Words[3].Status, kStatusNotPlaced);  // GH is never tried
  EXPECT_EQ(stops.beeper.beeps, 1);

  // 12 empty cells, then 9 with EFG: below 10, so every attempt is abandoned at once.
  NoCrossings overshoots({"EFG", "HI"}, "=", 10);
  BuildLimits limits;
  limits.MaxAttempts = 5;
  BuildOutcome outcome = BuildPuzzle(overshoots.ctx, limits);
  EXPECT_EQ(outcome.End, BuildEnd::GaveUp);
  EXPECT_EQ(outcome.Attempts, 5);
  EXPECT_EQ(overshoots.ctx.state.Words[3].Status, kStatusNotPlaced);

  NoCrossings zero({"EF"}, "=", 0);  // ends with 10 empty cells and is not repeated
  outcome = BuildPuzzle(zero.ctx, limits);
  EXPECT_EQ(outcome.End, BuildEnd::Finished);
  EXPECT_EQ(outcome.Attempts, 1);
}

TEST(BuildPuzzle, SpacesRemainingLessThanAndAtMost) {
  NoCrossings less({"EF", "GH"}, "<", 11);  // 12 is not below 11, 10 is
  BuildPuzzle(less.ctx);
  EXPECT_EQ(less.ctx.state.SpacesRemaining, 10);
  NoCrossings at_most({"EF", "GH"}, "<=", 12);  // the first word is never compared
  BuildPuzzle(at_most.ctx);
  EXPECT_EQ(at_most.ctx.state.SpacesRemaining, 10);
  NoCrossings unmet({"EF", "GH"}, "<", 2);
  BuildLimits limits;
  limits.MaxAttempts = 3;
  BuildOutcome outcome = BuildPuzzle(unmet.ctx, limits);
  EXPECT_EQ(outcome.End, BuildEnd::GaveUp);
  EXPECT_EQ(unmet.ctx.state.SpacesRemaining, 8);
  ExpectConsistent(unmet.ctx);
}

TEST(BuildPuzzle, ASpacesRuleWithoutAKnownOperatorHasNoEffect) {
  NoCrossings app({"EF", "GH"}, "", 5);
  BuildLimits limits;
  limits.MaxAttempts = 3;
  BuildOutcome outcome = BuildPuzzle(app.ctx, limits);
  EXPECT_EQ(outcome.End, BuildEnd::Finished);
  EXPECT_EQ(outcome.Attempts, 1);
  EXPECT_EQ(app.ctx.state.InsertedCount, 3);
}

TEST(BuildPuzzle, BeepsOnlyWhenEveryWordWasPlacedAndSoundIsOn) {
  NoCrossings placed({"EF"}, "", -1);
  BuildPuzzle(placed.ctx);
  EXPECT_EQ(placed.beeper.beeps, 1);

  NoCrossings quiet({"EF"}, "", -1);
  quiet.ctx.MainForm().SetChecked("mnuSound", false);
  BuildPuzzle(quiet.ctx);
  EXPECT_EQ(quiet.beeper.beeps, 0);

  FullGrid rejected;
  BuildPuzzle(rejected.ctx);
  EXPECT_EQ(rejected.beeper.beeps, 0);
}

TEST(BuildPuzzle, CancelEndsTheBuildKeepingWhatWasPlaced) {
  for (int at : {1, 2, 40, 41}) {
    TestApp app;
    SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA", "DINGO", "CASSOWARY"}, 10, 10, 8);
    app.pump.on_yield = [&] {
      if (app.pump.yields == at) app.ctx.state.CancelRequested = kTrue;
    };
    BuildOutcome outcome = BuildPuzzle(app.ctx);
    EXPECT_EQ(outcome.End, BuildEnd::Cancelled) << at;
    EXPECT_EQ(app.pump.yields, at);
    EXPECT_LT(app.ctx.state.InsertedCount, 6);
    EXPECT_EQ(app.ctx.state.PuzzleBuilt, kTrue);
    EXPECT_FALSE(app.ctx.MainForm().Enabled("cmdCancel"));
    EXPECT_EQ(app.beeper.beeps, 0);
    ExpectConsistent(app.ctx);
  }
}

TEST(BuildPuzzle, CancelPressedAfterTheLastWordStillEndsARepeatingBuild) {
  // One word and a rule no attempt can meet: each attempt yields only after its first
  // word, and the next attempt must not clear that press.
  TestApp app;
  SetUpPuzzle(app, {"CAT"}, 5, 5, 1);
  app.ctx.state.StopRemainingOperator = "<";
  app.ctx.state.StopRemainingCount = 3;
  app.pump.on_yield = [&] { app.ctx.state.CancelRequested = kTrue; };
  BuildOutcome outcome = BuildPuzzle(app.ctx);
  EXPECT_EQ(outcome.End, BuildEnd::Cancelled);
  EXPECT_EQ(outcome.Attempts, 1);
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
    AfterBuild(app.ctx, [&] {
      seen.push_back(BuildRunning(app.ctx) ? "running" : "ended");
      seen.push_back(app.ctx.state.PuzzleBuilt ? "built" : "not built");
      seen.push_back(app.ctx.MainForm().Enabled("cmdCancel") ? "cancel on" : "cancel off");
    });
    AfterBuild(app.ctx, [&] { seen.push_back("second"); });
    EXPECT_TRUE(seen.empty());
  };
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Cancelled);
  EXPECT_EQ(seen, (std::vector<std::string>{"ended", "built", "cancel off", "second"}));
  EXPECT_EQ(app.pump.yields, 3);
}

TEST(BuildPuzzle, EmptyingTheListDuringABuildEndsItWithoutRebuildingThePuzzle) {
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 2);
  app.pump.on_yield = [&] {
    if (app.pump.yields != 5) return;
    app.ctx.list.Clear();
    UpdateWordCount(app.ctx);
  };
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Interrupted);
  EXPECT_FALSE(BuildRunning(app.ctx));
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
  EXPECT_FALSE(app.ctx.MainForm().Enabled("cmdCancel"));
  EXPECT_FALSE(app.ctx.MainForm().Enabled("mnuBuild"));  // the empty list's state stays
}

TEST(BuildPuzzle, EditingTheListDuringABuildChangesNoWordOfIt) {
  NoCrossings app({"EFG", "HI"}, "=", 10);  // restarts at every attempt
  app.pump.on_yield = [&] {
    if (app.pump.yields != 1) return;
    app.ctx.list.SetList(0, "HIPPOPOTAMUS");
    app.ctx.state.WordTableStale = kTrue;
  };
  BuildLimits limits;
  limits.MaxAttempts = 3;
  EXPECT_EQ(BuildPuzzle(app.ctx, limits).Attempts, 3);
  EXPECT_EQ(app.ctx.state.Words[1].Text, "ABCD");
  EXPECT_EQ(app.ctx.state.WordTableStale, kTrue);  // the next build reads the list again
}

TEST(BuildPuzzle, ASecondBuildWhileOneRunsIsRefused) {
  TestApp app;
  SetUpPuzzle(app, {"KANGAROO", "WOMBAT"}, 9, 9, 2);
  BuildEnd nested = BuildEnd::Finished;
  app.pump.on_yield = [&] {
    if (app.pump.yields == 2) nested = BuildPuzzle(app.ctx).End;
  };
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  EXPECT_EQ(nested, BuildEnd::NotStarted);
  ExpectConsistent(app.ctx);
}

}  // namespace
}  // namespace kivrel
