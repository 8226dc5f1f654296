#pragma once
// What a build tells whoever watches it, and when it lets them act. The window draws each
// word as it is placed and lets its events run between the steps of the search (a press
// of Cancel sets CancelRequested there); a build that nobody watches passes the plain
// BuildProgress, which does nothing.
#include <cstddef>

#include "model/PuzzleState.h"

namespace kivrel {

class BuildProgress {
 public:
  virtual ~BuildProgress() = default;

  /// False when Yield lets nothing run: the build then never calls it.
  virtual bool Yields() const { return false; }
  /// How many steps the build may pass on to Yield together, at most.
  virtual int YieldsAtOnce() const { return 1; }
  /// Lets the window system run once per step, `steps` steps in a row (a search passes
  /// over several lines at once); the yields may stop once CancelRequested is set.
  virtual void Yield(int /*steps*/) {}
  /// An attempt starts: the grid is empty and the counters are those of the word table.
  virtual void AttemptStarts() {}
  /// The word with this index of the table has just been written into the grid.
  virtual void WordPlaced(int /*index*/) {}
  /// The grid and the counters were put back to those of an earlier attempt.
  virtual void GridRestored() {}
};

/// The size and the word table a build started with. A command that runs while the build
/// yields may replace them (a new size, another list): the puzzle under the build is then
/// discarded.
class BuildShape {
 public:
  explicit BuildShape(const PuzzleState& state)
      : state_(state), width_(state.PuzzleWidth), height_(state.PuzzleHeight), words_(state.Words.size()) {}

  /// True when the puzzle being built was discarded (or replaced) by another command.
  bool Discarded() const {
    return state_.PuzzleWidth != width_ || state_.PuzzleHeight != height_ || state_.Words.size() != words_ ||
           state_.Grid.Width() != width_ || state_.Grid.Height() != height_;
  }

 private:
  const PuzzleState& state_;
  int width_;
  int height_;
  std::size_t words_;
};

/// The build's side of its progress: yields between two steps and says whether the build
/// goes on (not after Cancel), and whether the puzzle was discarded meanwhile (the build
/// checks that between words).
class BuildPause {
 public:
  BuildPause(const PuzzleState& state, BuildProgress& progress)
      : progress_(progress),
        yields_(progress.Yields()),
        at_once_(progress.YieldsAtOnce()),
        state_(state),
        shape_(state) {}

  /// Yields once; false when Cancel was pressed.
  bool Yield() { return Yield(1); }
  /// Yields `times` times in a row, as that many steps would one after another; false
  /// when Cancel was pressed.
  bool Yield(int times) {
    // The steps are passed on in batches where the progress takes them so: a call from
    // the search's inner loop costs it its registers every time.
    if (yields_ && (waiting_ += times) >= at_once_) {
      progress_.Yield(waiting_);
      waiting_ = 0;
    }
    return state_.CancelRequested == 0;
  }

  /// Whether the yields let anything run at all.
  bool Yields() const { return yields_; }
  /// Whether the progress takes its steps in batches rather than each as it comes: a
  /// search may then look at a run of lines without a word to the progress and pass
  /// their steps on after them, as nothing runs between two yields of a batch anyway.
  bool Batched() const { return yields_ && at_once_ > 1; }
  /// The same pause, letting nothing run (it still says whether Cancel was pressed).
  BuildPause Quiet() const {
    BuildPause quiet = *this;
    quiet.yields_ = false;
    return quiet;
  }
  bool Discarded() const { return shape_.Discarded(); }

 private:
  BuildProgress& progress_;
  bool yields_;  // a progress that lets nothing run need not be called
  int at_once_;
  int waiting_ = 0;  // steps not passed on yet
  const PuzzleState& state_;
  BuildShape shape_;
};

}  // namespace kivrel
