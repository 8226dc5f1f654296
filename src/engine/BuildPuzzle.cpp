#include "engine/BuildPuzzle.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/LineScanner.h"
#include "engine/Placement.h"
#include "display/GridDisplay.h"
#include "program/CommandStates.h"
#include "program/HeldWindowChanges.h"
#include "program/LeftOutWords.h"
#include "program/Statistics.h"
#include "program/WordTable.h"

namespace kivrel {

BuildPause::BuildPause(AppContext& ctx)
    : pump_(ctx.pump),
      runs_events_(ctx.pump.RunsEvents()),
      state_(ctx.state),
      width_(ctx.state.PuzzleWidth),
      height_(ctx.state.PuzzleHeight),
      words_(ctx.state.Words.size()) {}

namespace {

// The rule "stop when spaces remaining" compares with one of these; with any other
// operator text it has no effect.
bool KnownOperator(const std::string& op) { return op == "=" || op == "<" || op == "<="; }

// What an attempt leaves for the best-attempt bookkeeping of a limited build.
struct Attempt {
  LetterGrid Grid;
  std::vector<WordRecord> Words;
  std::vector<i16> BuildOrder;
  std::array<i16, 9> DirectionWordCount{};
  i16 InsertedCount = 0;
  i16 RejectedCount = 0;
  i16 JunctionCount = 0;
  i16 LettersRemaining = 0;
  i16 SpacesRemaining = 0;
};

class BuildRun {
 public:
  BuildRun(AppContext& ctx, const BuildLimits& limits, PlaceFinder& finder, HeldWindowChanges& held)
      : ctx_(ctx),
        s_(ctx.state),
        limits_(limits),
        finder_(finder),
        held_(held),
        pause_(ctx),
        table_(ctx.state.Words) {}

  BuildEnd Run();
  long long Attempts() const { return attempts_; }

 private:
  enum class AttemptEnd { Done, Restart, Stopped };

  AttemptEnd RunAttempt();
  // A stop at the first reject leaves the words from `position` on out of the puzzle:
  // they count as rejected, so the panel says how many were not placed.
  void RejectTheRest(int position);
  // Yields after a word; false when the build must end (Cancel, or the puzzle discarded).
  bool GoOn() { return pause_.Yield() && !pause_.Discarded(); }
  void OrderWords();
  bool Limited() const { return limits_.MaxAttempts > 0 || limits_.Deadline.has_value(); }
  bool LimitReached() const;
  void KeepIfBest();
  void RestoreBest();

  AppContext& ctx_;
  PuzzleState& s_;
  const BuildLimits& limits_;
  PlaceFinder& finder_;
  HeldWindowChanges& held_;
  BuildPause pause_;
  const std::vector<WordRecord> table_;  // the word table as read at the start
  int ordered_ = 0;                      // words in BuildOrder
  int restart_word_ = 0;                 // the reject that restarted the attempt
  long long attempts_ = 0;
  std::optional<Attempt> best_;
};

BuildEnd BuildRun::Run() {
  // The counters reach the statistics panel whenever the window can show them, not
  // after every word: formatting them is most of a build's work that is not the search.
  // A program without a window never formats them until the build ends. The commands
  // held back from the windows are shown then too.
  struct ShowCounts {
    BuildRun& run;
    explicit ShowCounts(BuildRun& r) : run(r) {
      run.ctx_.pump.BeforeEvents = [this] {
        if (!run.pause_.Discarded()) ShowBuildCounters(run.ctx_);
        run.held_.Show();
      };
    }
    ~ShowCounts() { run.ctx_.pump.BeforeEvents = nullptr; }
  } show_counts(*this);
  if (pause_.RunsEvents()) ctx_.pump.WorkStarts();
  finder_.StartBuild(ctx_);
  for (;;) {
    ++attempts_;
    restart_word_ = 0;
    switch (RunAttempt()) {
      case AttemptEnd::Done:
        return BuildEnd::Finished;
      case AttemptEnd::Stopped:
        return pause_.Discarded() ? BuildEnd::Interrupted : BuildEnd::Cancelled;
      case AttemptEnd::Restart:
        break;
    }
    if (Limited()) {
      KeepIfBest();
      if (LimitReached()) {
        RestoreBest();
        return BuildEnd::GaveUp;
      }
    }
  }
}

void BuildRun::OrderWords() {
  // Longest first, ties in list order. Records without a word (entries that give
  // none) take no part.
  ordered_ = 0;
  std::fill(s_.BuildOrder.begin(), s_.BuildOrder.end(), 0);
  for (int i = 1; i <= s_.WordsUpperBound(); ++i) {
    if (s_.Words[static_cast<std::size_t>(i)].Length > 0) s_.BuildOrder[static_cast<std::size_t>(++ordered_)] = static_cast<i16>(i);
  }
  std::stable_sort(s_.BuildOrder.begin() + 1, s_.BuildOrder.begin() + 1 + ordered_, [this](i16 a, i16 b) {
    return s_.Words[static_cast<std::size_t>(a)].Length > s_.Words[static_cast<std::size_t>(b)].Length;
  });
}

BuildRun::AttemptEnd BuildRun::RunAttempt() {
  PuzzleState& s = s_;
  ClearStatistics(ctx_);
  // Every attempt starts from the table read at the start of the build, so editing the
  // list while a build runs cannot change the words under it. (The first attempt has it.)
  if (attempts_ > 1) s.Words = table_;
  const i16 stale = s.WordTableStale;
  ResetCounts(ctx_);
  s.WordTableStale = stale;
  s.Grid.Create(s.PuzzleHeight, s.PuzzleWidth);
  s.LineUse.assign(static_cast<std::size_t>(Max(s.PuzzleWidth, s.PuzzleHeight)) + 1, 0);
  ctx_.picture->Cls();
  s.BlanksFilled = kFalse;
  s.CancelRequested = kFalse;
  s.OutlinesShown = kFalse;
  s.JunctionsShown = kFalse;
  OrderWords();
  s.DirectionWordCount.fill(0);
  s.JunctionCount = 0;
  s.InsertedCount = 0;
  s.RejectedCount = 0;
  s.BestCrossings = 0;
  ctx_.picture->SetForeColor(kBlack);
  finder_.StartAttempt(ctx_);

  // The first word goes anywhere it fits.
  s.OrderPosition = 1;
  s.CurrentWordIndex = s.BuildOrder[1];
  s.CurrentWord = s.Words[static_cast<std::size_t>(s.CurrentWordIndex)].Text;
  s.CurrentWordLength = s.Words[static_cast<std::size_t>(s.CurrentWordIndex)].Length;
  s.CurrentDirection = static_cast<i16>(ctx_.rng.Below(s.DirectionCount) + 1);
  PlaceFirstWord(ctx_);
  InsertWord(ctx_);
  finder_.WordInserted(ctx_);
  if (!GoOn()) return AttemptEnd::Stopped;

  const bool spaces_rule = s.StopRemainingCount >= 0 && KnownOperator(s.StopRemainingOperator);
  bool stop_mark = false;
  for (int position = 2; position <= ordered_; ++position) {
    s.OrderPosition = static_cast<i16>(position);
    const int index = s.BuildOrder[static_cast<std::size_t>(position)];
    s.CurrentWordIndex = static_cast<i16>(index);
    s.CurrentWord = s.Words[static_cast<std::size_t>(index)].Text;
    s.CurrentWordLength = s.Words[static_cast<std::size_t>(index)].Length;
    if (!finder_.Search(ctx_, pause_) || pause_.Discarded()) return AttemptEnd::Stopped;
    if (s.BestDirection == 0) {
      if (s.StopOnFirstReject != 0) {
        RejectTheRest(position);
        return AttemptEnd::Done;
      }
      if (s.RestartOnFirstReject != 0) {
        restart_word_ = index;
        return AttemptEnd::Restart;
      }
      WordRecord& word = s.Words[static_cast<std::size_t>(index)];
      word.Status = kStatusRejected;
      ++s.RejectedCount;
      s.LettersRemaining = static_cast<i16>(s.LettersRemaining - word.Length);
    } else {
      InsertWord(ctx_);
      finder_.WordInserted(ctx_);
      if (spaces_rule) {
        const int spaces = s.SpacesRemaining;
        const int target = s.StopRemainingCount;
        const std::string& op = s.StopRemainingOperator;
        if (op == "=") {
          if (spaces == target) stop_mark = true;
          if (spaces < target) return AttemptEnd::Restart;
        } else if (op == "<") {
          stop_mark = stop_mark || spaces < target;
        } else {
          stop_mark = stop_mark || spaces <= target;
        }
      }
    }
    if (!GoOn()) return AttemptEnd::Stopped;
    if (stop_mark) break;
  }
  // A rule of N > 0 spaces that this attempt did not meet starts another.
  if (spaces_rule && s.StopRemainingCount > 0 && !stop_mark) return AttemptEnd::Restart;
  if (ctx_.MainForm().Checked(frmKV_Puzzle::mnuSound) && s.RejectedCount == 0) ctx_.beeper.Beep();
  return AttemptEnd::Done;
}

void BuildRun::RejectTheRest(int position) {
  PuzzleState& s = s_;
  for (int p = position; p <= ordered_; ++p) {
    WordRecord& word = s.Words[static_cast<std::size_t>(s.BuildOrder[static_cast<std::size_t>(p)])];
    word.Status = kStatusRejected;
    ++s.RejectedCount;
    s.LettersRemaining = static_cast<i16>(s.LettersRemaining - word.Length);
  }
  ShowStatistic(ctx_, frmKV_Puzzle::lblRejectedCount, s.RejectedCount, kCountPicture);
  ShowStatistic(ctx_, frmKV_Puzzle::lblLettersRemaining, s.LettersRemaining, kCountPicture);
}

bool BuildRun::LimitReached() const {
  if (limits_.MaxAttempts > 0 && attempts_ >= limits_.MaxAttempts) return true;
  return limits_.Deadline && std::chrono::steady_clock::now() >= *limits_.Deadline;
}

void BuildRun::KeepIfBest() {
  // The word that restarted the attempt counts as rejected in what is kept.
  Attempt now{s_.Grid, s_.Words, s_.BuildOrder, s_.DirectionWordCount, s_.InsertedCount, s_.RejectedCount,
              s_.JunctionCount, s_.LettersRemaining, s_.SpacesRemaining};
  if (restart_word_ > 0) {
    WordRecord& word = now.Words[static_cast<std::size_t>(restart_word_)];
    word.Status = kStatusRejected;
    ++now.RejectedCount;
    now.LettersRemaining = static_cast<i16>(now.LettersRemaining - word.Length);
  }
  auto distance = [this](const Attempt& a) {
    return s_.StopRemainingCount >= 0 ? std::abs(a.SpacesRemaining - s_.StopRemainingCount) : 0;
  };
  if (!best_ || now.InsertedCount > best_->InsertedCount ||
      (now.InsertedCount == best_->InsertedCount && distance(now) < distance(*best_))) {
    best_ = std::move(now);
  }
}

void BuildRun::RestoreBest() {
  if (!best_) return;
  PuzzleState& s = s_;
  s.Grid = best_->Grid;
  s.Words = best_->Words;
  s.BuildOrder = best_->BuildOrder;
  s.DirectionWordCount = best_->DirectionWordCount;
  s.InsertedCount = best_->InsertedCount;
  s.RejectedCount = best_->RejectedCount;
  s.JunctionCount = best_->JunctionCount;
  s.LettersRemaining = best_->LettersRemaining;
  s.SpacesRemaining = best_->SpacesRemaining;

  ctx_.picture->Cls();
  ctx_.picture->SetForeColor(kBlack);
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      if (!cell.IsEmpty()) DrawCellLetter(ctx_, row, col, cell.Letter);
    }
  }
  ShowBuildCounters(ctx_);
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
  if (s.WordCount < 1 || s.LongestWordLength < 1) return outcome;
  if (s.PuzzleWidth < s.LongestWordLength || s.PuzzleHeight < s.LongestWordLength) {
    s.AttributesForBuild = kTrue;
    ctx.AttributesForm().Show(false);
    return outcome;
  }
  s.FillDirectionTable();  // constant; set here too for a caller that skipped start-up

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

  // The picture is sized for the grid being built, not for the one it replaces.
  s.Grid.Create(s.PuzzleHeight, s.PuzzleWidth);
  ctx.SizePuzzleDisplay();
  SetBuildingState(ctx);
  ctx.MainForm().SetEnabled(frmKV_Puzzle::cmdCancel, true);
  s.BlankRow.assign(static_cast<std::size_t>(Max(s.PuzzleWidth, s.PuzzleHeight)), ' ');
  s.DirectionCount = s.IncludeDiagonals != 0 ? 8 : 4;
  ctx.MainForm().Show(false);

  // The scanner keeps its lines and scratch from one build to the next, so a build of
  // the same size lays out nothing. A build started while another runs in this thread
  // (another program's, from the events the first lets run) gets one of its own.
  static thread_local LineScanner kept_scanner;
  static thread_local bool kept_scanner_busy = false;
  std::optional<LineScanner> own_scanner;
  LineScanner& scanner = kept_scanner_busy ? own_scanner.emplace() : kept_scanner;
  struct Busy {
    bool& busy;
    bool was;
    ~Busy() { busy = was; }
  } busy{kept_scanner_busy, kept_scanner_busy};
  kept_scanner_busy = true;
  BuildRun run(ctx, limits, limits.Finder != nullptr ? *limits.Finder : scanner, held);
  outcome.End = run.Run();
  outcome.Attempts = run.Attempts();

  // The end of a build: the commands always follow what is on screen. A puzzle another
  // command pulled from under the build (a new size, another list) is no puzzle: it is
  // put away, and the commands are those of the list, whatever that command left.
  if (outcome.End != BuildEnd::Interrupted) {
    ShowBuildCounters(ctx);
    s.PuzzleBuilt = kTrue;
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

}  // namespace kivrel
