#include "commands/BuildCommands.h"

#include <utility>
#include <vector>

#include "display/GridDisplay.h"
#include "display/GridViews.h"
#include "model/Text.h"
#include "program/CommandStates.h"
#include "program/HeldWindowChanges.h"
#include "program/LeftOutWords.h"
#include "program/Statistics.h"
#include "program/WordTable.h"

namespace kivrel {

namespace {

// The windows' side of a running build: the words placed drawn, the events let through
// between the steps of the search, and the statistics panel.
class WindowProgress final : public BuildProgress {
 public:
  WindowProgress(AppContext& ctx, HeldWindowChanges& held)
      : ctx_(ctx),
        pump_(ctx.pump),
        held_(held),
        shape_(ctx.state),
        yields_(ctx.pump.RunsEvents()),
        cancelled_([&state = ctx.state] { return state.CancelRequested != 0; }) {
    // The counters reach the statistics panel whenever the window can show them, not
    // after every word: formatting them is most of a build's work that is not the search.
    // A program without a window never formats them until the build ends. The commands
    // held back from the windows are shown then too.
    ctx.pump.BeforeEvents = [this] {
      if (!shape_.Discarded()) {
        DrawPlacedWords();
        ShowBuildCounters(ctx_);
      }
      held_.Show();
    };
    if (yields_) ctx.pump.WorkStarts();
  }
  ~WindowProgress() override { ctx_.pump.BeforeEvents = nullptr; }
  WindowProgress(const WindowProgress&) = delete;
  WindowProgress& operator=(const WindowProgress&) = delete;

  bool Yields() const override { return yields_; }
  int YieldsAtOnce() const override { return pump_.YieldsAtOnce(); }
  // The build passes on as many steps at once as the pump takes (the window's, a batch;
  // a pump that counts every yield, one at a time). One step goes straight on to the
  // pump, and the batches, kept out of line, cost it nothing. No steps, no yield.
  void Yield(int steps) override {
    if (steps == 1) return pump_.Yield();
    if (steps > 1) YieldSteps(steps);
  }
  void AttemptStarts() override {
    ClearStatistics(ctx_);
    ShowTableCounts(ctx_);
    placed_.clear();
    whole_grid_ = true;
    ctx_.picture->Cls();
    ctx_.picture->SetForeColor(kBlack);
  }
  // The words placed are drawn together, when the window can show them (before events
  // run) and when the build ends: drawing a word between two searches would cost the
  // search its cache each time.
  void WordPlaced(int index) override {
    if (draws_) placed_.push_back(index);
  }
  void GridRestored() override {
    placed_.clear();
    whole_grid_ = false;
    RepaintGrid(ctx_);
  }
  /// Draws the words placed since the last time: the whole grid while the picture shows
  /// nothing of the attempt yet, its every letter being one of theirs.
  void DrawPlacedWords() {
    ctx_.picture->SetForeColor(kBlack);
    if (whole_grid_ && !placed_.empty()) {
      DrawGridLetters(ctx_);
      whole_grid_ = false;
    } else {
      DrawWords(ctx_, placed_);
    }
    placed_.clear();
  }

 private:
  [[gnu::noinline]] void YieldSteps(int steps) { pump_.Yield(steps, cancelled_); }

  AppContext& ctx_;
  EventPump& pump_;
  HeldWindowChanges& held_;
  BuildShape shape_;
  bool yields_;
  bool draws_ = !ctx_.picture->DrawsNothing();
  std::vector<int> placed_;  // the indexes of the words placed and not drawn yet
  bool whole_grid_ = false;  // placed_ holds every word of the grid
  std::function<bool()> cancelled_;
};

// The windows made ready for a build of the current size: the picture sized for the grid
// being built (not for the one it replaces), only the commands a build allows, Cancel.
void ShowBuilding(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.Grid.Create(s.PuzzleHeight, s.PuzzleWidth);
  ctx.SizePuzzleDisplay();
  SetBuildingState(ctx);
  ctx.MainForm().SetEnabled(frmKV_Puzzle::cmdCancel, true);
  ctx.MainForm().Show(false);
}

// The end of a build: the commands always follow what is on screen. A puzzle another
// command pulled from under the build (a new size, another list) is no puzzle: it is
// put away, and the commands are those of the list, whatever that command left.
void ShowBuildEnd(AppContext& ctx, BuildEnd end) {
  PuzzleState& s = ctx.state;
  if (end != BuildEnd::Interrupted) {
    ShowBuildCounters(ctx);
    s.PuzzleBuilt = kTrue;
    s.PuzzleChanged = kTrue;
    SetPuzzleReadyState(ctx);
    ShowLeftOutWords(ctx);
  } else {
    s.PuzzleBuilt = kFalse;
    ctx.MainForm().SetVisible(frmKV_Puzzle::picPuzzle, false);
    ctx.picture->Cls();
    if (ctx.list.ListCount() > 0) {
      SetListReadyState(ctx);
    } else {
      SetEmptyListState(ctx);
    }
  }
  ctx.MainForm().SetEnabled(frmKV_Puzzle::cmdCancel, false);
}

void RunAfterBuild(AppContext& ctx) {
  std::vector<std::function<void()>> actions;
  actions.swap(ctx.build.AfterBuild);
  for (auto& action : actions) action();
}

}  // namespace

BuildOutcome BuildPuzzle(AppContext& ctx, const BuildLimits& limits) {
  BuildOutcome outcome;
  if (ctx.build.Running) return outcome;
  PuzzleState& s = ctx.state;
  // The windows are brought up to date whenever events run during the build, and when
  // it ends; a build over before that never shows its commands switched off and on.
  HeldWindowChanges held(ctx);
  ClearStatistics(ctx);
  BuildWordTable(ctx);
  switch (CheckBuild(s)) {
    case BuildCheck::NothingToPlace:
      return outcome;
    case BuildCheck::GridTooSmall:
      s.AttributesForBuild = kTrue;
      ctx.AttributesForm().Show(false);
      return outcome;
    case BuildCheck::Ready:
      break;
  }

  ctx.build.Running = true;
  struct Guard {  // a build that throws still leaves the commands usable
    AppContext& ctx;
    bool armed = true;
    ~Guard() {
      if (!armed) return;
      ctx.build.Running = false;
      ctx.build.AfterBuild.clear();
      ctx.MainForm().SetEnabled(frmKV_Puzzle::cmdCancel, false);
    }
  } guard{ctx};

  ShowBuilding(ctx);
  {
    WindowProgress progress(ctx, held);
    outcome = RunBuild(s, ctx.rng, progress, limits);
    if (outcome.End != BuildEnd::Interrupted) progress.DrawPlacedWords();
  }
  if (outcome.End == BuildEnd::Finished && s.RejectedCount == 0 && ctx.MainForm().Checked(frmKV_Puzzle::mnuSound)) {
    ctx.beeper.Beep();
  }
  ShowBuildEnd(ctx, outcome.End);
  ctx.build.Running = false;
  guard.armed = false;
  held.Release();
  RunAfterBuild(ctx);
  return outcome;
}

bool BuildRunning(const AppContext& ctx) { return ctx.build.Running; }

void CancelBuild(AppContext& ctx) {
  if (ctx.build.Running) ctx.state.CancelRequested = kTrue;
}

void AfterBuild(AppContext& ctx, std::function<void()> action) {
  if (!ctx.build.Running) {
    action();
    return;
  }
  ctx.build.AfterBuild.push_back(std::move(action));
  ctx.state.CancelRequested = kTrue;
}

namespace {

// The windows' side of a long fill: events let through after each round of
// re-drawing (as often as the pump lets them), the count of letters re-drawn shown
// meanwhile, stopped by Cancel.
class WindowFillProgress final : public FillProgress {
 public:
  WindowFillProgress(AppContext& ctx, HeldWindowChanges& held)
      : ctx_(ctx), steps_(kDirectionCount * Max(1, ctx.state.Grid.Width() * ctx.state.Grid.Height())) {
    ctx.pump.BeforeEvents = [this, &held] {
      ShowStatistic(ctx_, frmKV_Puzzle::lblRedrawnCount, redrawn_, kCountPicture);
      held.Show();
    };
    ctx.pump.WorkStarts();
  }
  ~WindowFillProgress() override { ctx_.pump.BeforeEvents = nullptr; }
  WindowFillProgress(const WindowFillProgress&) = delete;
  WindowFillProgress& operator=(const WindowFillProgress&) = delete;

  // A round reads every cell in the eight directions: that many steps of work.
  bool RoundDone(int redrawn) override {
    redrawn_ = redrawn;
    ctx_.pump.Yield(steps_, [this] { return ctx_.state.CancelRequested != 0; });
    return ctx_.state.CancelRequested == 0;
  }

 private:
  AppContext& ctx_;
  int steps_;
  int redrawn_ = 0;
};

}  // namespace

void FillBlanks(AppContext& ctx) {
  if (ctx.build.Running) return;
  if (!ctx.pump.RunsEvents()) {
    TellFillReport(ctx, FillInBlanks(ctx));
    return;
  }
  // As a build: the windows see the building state only when events run, and commands
  // that must wait for the fill are handed to AfterBuild.
  HeldWindowChanges held(ctx);
  Form& main = ctx.MainForm();
  ctx.build.Running = true;
  ctx.state.CancelRequested = kFalse;
  SetBuildingState(ctx);
  main.SetEnabled(frmKV_Puzzle::cmdCancel, true);
  struct Done {  // however the fill ends, the commands are those of the puzzle again
    AppContext& ctx;
    ~Done() {
      ctx.build.Running = false;
      ctx.state.CancelRequested = kFalse;
      SetPuzzleReadyState(ctx);
      ctx.MainForm().SetEnabled(frmKV_Puzzle::cmdCancel, false);
    }
  };
  FillReport report;
  {
    Done done{ctx};
    WindowFillProgress progress(ctx, held);
    report = FillInBlanks(ctx, &progress);
  }
  held.Release();
  // A command that stopped the fill goes on at once; what the fill did not do is news
  // only to a user who is still looking at it.
  if (ctx.build.AfterBuild.empty()) TellFillReport(ctx, report);
  RunAfterBuild(ctx);
}

std::string FillReportMessage(const FillReport& report) {
  std::string message;
  auto line = [&message](const std::string& text) { message += (message.empty() ? "" : "\n\n") + text; };
  if (!report.FoundTwice.empty()) {
    line(std::string("These words can be found a second time, in letters of other words") +
         (report.QuoteWritten ? " or of the quote" : "") + ": " + SomeWords(report.FoundTwice));
  }
  if (report.Stopped && !report.NotCleared.empty()) {
    line("Fill in was cancelled: these words can still be found a second time: " + SomeWords(report.NotCleared));
  } else if (!report.NotCleared.empty()) {
    line("The fill letters could not be drawn so that these words are found only once: " +
         SomeWords(report.NotCleared));
  }
  if (report.QuoteLettersLeftOut > 0) {
    line("The mystery quote does not fit: its last " + std::to_string(report.QuoteLettersLeftOut) +
         " letters found no empty cell");
  }
  return message;
}

void TellFillReport(AppContext& ctx, const FillReport& report) {
  const std::string message = FillReportMessage(report);
  if (!message.empty()) ShowMessage(ctx.dialogs, message, kMessageTitle, MessageIcon::Exclamation);
}

}  // namespace kivrel
