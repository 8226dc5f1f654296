#include "engine/BuildRun.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/LineScanner.h"
#include "engine/Placement.h"

namespace kivrel {

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
  BuildRun(PuzzleState& state, Random& rng, BuildProgress& progress, const BuildLimits& limits, LineScanner& scanner)
      : s_(state), rng_(rng), progress_(progress), limits_(limits), scanner_(scanner), pause_(state, progress) {
    // Every attempt starts from the word table as it was at the start. While the build
    // lets events run, a command may replace the table: the whole of it is kept. A build
    // that runs through only needs back what an attempt changes.
    if (pause_.Yields()) {
      table_ = state.Words;
    } else {
      placements_.reserve(state.Words.size());
      for (const WordRecord& word : state.Words) {
        placements_.push_back({word.Status, word.StartCol, word.StartRow, word.Direction});
      }
    }
  }

  BuildEnd Run();
  long long Attempts() const { return attempts_; }

 private:
  enum class AttemptEnd { Done, Restart, Stopped };
  // Where the empty cells stand against the "stop when spaces remaining" rule after a
  // word was placed: with "=" a count below the number abandons the attempt.
  enum class Spaces { NotYet, Met, Passed };

  AttemptEnd RunAttempt();
  // An empty grid, the full counts of the table and the words in the order they are placed.
  void StartAttempt();
  void OrderWords();
  // The words after the first, each placed where the search finds for it or rejected,
  // as far as the reject and stop rules let the attempt go.
  AttemptEnd PlaceTheRest();
  // Makes the word at `position` of BuildOrder the current word.
  void TakeWord(int position);
  // Writes the current word at its place and tells the search and the progress.
  void Insert();
  void Reject(WordRecord& word);
  // A stop at the first reject leaves the words from `position` on out of the puzzle:
  // they count as rejected, so the counts say how many were not placed.
  void RejectTheRest(int position);
  Spaces CompareSpaces() const;
  // Yields after a word; false when the build must end (Cancel, or the puzzle discarded).
  bool GoOn() { return pause_.Yield() && !pause_.Discarded(); }
  bool Limited() const { return limits_.MaxAttempts > 0 || limits_.Deadline.has_value(); }
  bool LimitReached() const;
  void KeepIfBest();
  void RestoreBest();

  PuzzleState& s_;
  Random& rng_;
  BuildProgress& progress_;
  const BuildLimits& limits_;
  LineScanner& scanner_;
  BuildPause pause_;
  // What an attempt changes in a record of the word table.
  struct Placement {
    i16 Status, StartCol, StartRow, Direction;
  };
  std::vector<WordRecord> table_;      // the word table as read at the start,
  std::vector<Placement> placements_;  // or only its placements
  int ordered_ = 0;                    // words in BuildOrder
  std::vector<int> order_scratch_;
  int restart_word_ = 0;  // the reject that restarted the attempt
  long long attempts_ = 0;
  std::optional<Attempt> best_;
};

BuildEnd BuildRun::Run() {
  scanner_.StartBuild(s_);
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

BuildRun::AttemptEnd BuildRun::RunAttempt() {
  StartAttempt();
  // The first word goes anywhere it fits.
  TakeWord(1);
  s_.CurrentDirection = static_cast<i16>(s_.BuildDirection(rng_.Below(s_.DirectionCount) + 1));
  PlaceFirstWord(s_, rng_);
  Insert();
  if (!GoOn()) return AttemptEnd::Stopped;
  return PlaceTheRest();
}

void BuildRun::StartAttempt() {
  PuzzleState& s = s_;
  // Every attempt starts from the table read at the start of the build, so editing the
  // list while a build runs cannot change the words under it. (The first attempt has it.)
  if (attempts_ > 1 && !placements_.empty()) {
    for (std::size_t k = 0; k < placements_.size(); ++k) {
      WordRecord& word = s.Words[k];
      const Placement& was = placements_[k];
      word.Status = was.Status;
      word.StartCol = was.StartCol;
      word.StartRow = was.StartRow;
      word.Direction = was.Direction;
    }
  } else if (attempts_ > 1) {
    s.Words = table_;
  }
  s.ResetCounts();
  s.Grid.Create(s.PuzzleHeight, s.PuzzleWidth);
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
  progress_.AttemptStarts();
  scanner_.StartAttempt();
}

void BuildRun::OrderWords() {
  // Longest first, ties in list order. Records without a word (entries that give
  // none) take no part. Counted by length: each length's words start where the longer
  // ones end.
  std::fill(s_.BuildOrder.begin(), s_.BuildOrder.end(), 0);
  const int last = s_.WordsUpperBound();
  int longest = 0;
  for (int i = 1; i <= last; ++i) longest = Max(longest, s_.Words[static_cast<std::size_t>(i)].Length);
  std::vector<int>& next = order_scratch_;  // per length, the next position for it
  next.assign(static_cast<std::size_t>(longest) + 2, 0);
  for (int i = 1; i <= last; ++i) {
    const int length = s_.Words[static_cast<std::size_t>(i)].Length;
    if (length > 0) ++next[static_cast<std::size_t>(length)];
  }
  int position = 1;
  for (int length = longest; length >= 1; --length) {
    const int count = next[static_cast<std::size_t>(length)];
    next[static_cast<std::size_t>(length)] = position;
    position += count;
  }
  ordered_ = position - 1;
  for (int i = 1; i <= last; ++i) {
    const int length = s_.Words[static_cast<std::size_t>(i)].Length;
    if (length > 0)
      s_.BuildOrder[static_cast<std::size_t>(next[static_cast<std::size_t>(length)]++)] = static_cast<i16>(i);
  }
}

BuildRun::AttemptEnd BuildRun::PlaceTheRest() {
  PuzzleState& s = s_;
  const bool spaces_rule = s.StopRemainingCount >= 0 && KnownOperator(s.StopRemainingOperator);
  bool stop_mark = false;
  for (int position = 2; position <= ordered_; ++position) {
    TakeWord(position);
    if (!scanner_.Search(s, rng_, pause_) || pause_.Discarded()) return AttemptEnd::Stopped;
    if (s.BestDirection == 0) {
      if (s.StopOnFirstReject != 0) {
        RejectTheRest(position);
        return AttemptEnd::Done;
      }
      if (s.RestartOnFirstReject != 0) {
        restart_word_ = s.CurrentWordIndex;
        return AttemptEnd::Restart;
      }
      Reject(s.Words[static_cast<std::size_t>(s.CurrentWordIndex)]);
    } else {
      Insert();
      if (spaces_rule) {
        const Spaces spaces = CompareSpaces();
        if (spaces == Spaces::Passed) return AttemptEnd::Restart;
        stop_mark = stop_mark || spaces == Spaces::Met;
      }
    }
    if (!GoOn()) return AttemptEnd::Stopped;
    if (stop_mark) break;
  }
  // A rule of N > 0 spaces that this attempt did not meet starts another.
  if (spaces_rule && s.StopRemainingCount > 0 && !stop_mark) return AttemptEnd::Restart;
  return AttemptEnd::Done;
}

void BuildRun::TakeWord(int position) {
  PuzzleState& s = s_;
  const int index = s.BuildOrder[static_cast<std::size_t>(position)];
  const WordRecord& word = s.Words[static_cast<std::size_t>(index)];
  s.CurrentWordIndex = static_cast<i16>(index);
  s.CurrentWord = word.Text;
  s.CurrentWordLength = word.Length;
}

void BuildRun::Insert() {
  InsertWord(s_);
  progress_.WordPlaced(s_.CurrentWordIndex);
  scanner_.WordInserted(s_);
}

void BuildRun::Reject(WordRecord& word) {
  word.Status = kStatusRejected;
  ++s_.RejectedCount;
  s_.LettersRemaining = static_cast<i16>(s_.LettersRemaining - word.Length);
}

void BuildRun::RejectTheRest(int position) {
  for (int p = position; p <= ordered_; ++p) {
    Reject(s_.Words[static_cast<std::size_t>(s_.BuildOrder[static_cast<std::size_t>(p)])]);
  }
}

BuildRun::Spaces BuildRun::CompareSpaces() const {
  const int spaces = s_.SpacesRemaining;
  const int target = s_.StopRemainingCount;
  const std::string& op = s_.StopRemainingOperator;
  if (op == "=") return spaces == target ? Spaces::Met : spaces < target ? Spaces::Passed : Spaces::NotYet;
  if (op == "<") return spaces < target ? Spaces::Met : Spaces::NotYet;
  return spaces <= target ? Spaces::Met : Spaces::NotYet;
}

bool BuildRun::LimitReached() const {
  if (limits_.MaxAttempts > 0 && attempts_ >= limits_.MaxAttempts) return true;
  return limits_.Deadline && std::chrono::steady_clock::now() >= *limits_.Deadline;
}

void BuildRun::KeepIfBest() {
  // The word that restarted the attempt counts as rejected in what is kept.
  Attempt now{s_.Grid,          s_.Words,         s_.BuildOrder,       s_.DirectionWordCount, s_.InsertedCount,
              s_.RejectedCount, s_.JunctionCount, s_.LettersRemaining, s_.SpacesRemaining};
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
  progress_.GridRestored();
}

}  // namespace

BuildCheck CheckBuild(const PuzzleState& s) {
  if (s.WordCount < 1 || s.LongestWordLength < 1) return BuildCheck::NothingToPlace;
  if (s.PuzzleWidth < s.LongestWordLength || s.PuzzleHeight < s.LongestWordLength) return BuildCheck::GridTooSmall;
  return BuildCheck::Ready;
}

BuildOutcome RunBuild(PuzzleState& state, Random& rng, BuildProgress& progress, const BuildLimits& limits) {
  BuildOutcome outcome;
  if (CheckBuild(state) != BuildCheck::Ready) return outcome;
  state.FillDirectionTable();  // constant; set here too for a caller that skipped start-up
  state.SetBuildDirections();

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

  BuildRun run(state, rng, progress, limits, scanner);
  outcome.End = run.Run();
  outcome.Attempts = run.Attempts();
  return outcome;
}

}  // namespace kivrel
