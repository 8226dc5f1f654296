#pragma once
// The search for each word's place, as the build run sees it. The build's own search is
// the line scan of LineScanner; the interface lets a plain implementation of the same
// rules run in its place, so the two can be compared.
#include <cstddef>

#include "program/AppContext.h"

namespace kivrel {

/// Lets the window system run between two steps of a build and says whether the build
/// goes on: not after Cancel. A command may also have discarded the puzzle meanwhile (the
/// size or the word table changed under the build); the build checks that between words.
class BuildPause {
 public:
  /// Notes the shape of the puzzle being built.
  explicit BuildPause(AppContext& ctx);

  /// Yields once; false when Cancel was pressed.
  bool Yield() {
    if (runs_events_) pump_.Yield();
    return state_.CancelRequested == 0;
  }
  /// Yields `times` times in a row, as that many steps would one after another; false
  /// when Cancel was pressed (the yields stop there).
  bool Yield(int times) {
    if (runs_events_) pump_.Yield(times, [this] { return state_.CancelRequested != 0; });
    return state_.CancelRequested == 0;
  }

  /// Whether the yields let events run at all.
  bool RunsEvents() const { return runs_events_; }
  /// True when Cancel was pressed.
  bool Cancelled() const { return state_.CancelRequested != 0; }
  /// True when the puzzle being built was discarded (or replaced) by another command.
  bool Discarded() const {
    return state_.PuzzleWidth != width_ || state_.PuzzleHeight != height_ || state_.Words.size() != words_ ||
           state_.Grid.Width() != width_ || state_.Grid.Height() != height_;
  }

 private:
  EventPump& pump_;
  bool runs_events_;  // a pump that never runs events need not be called
  const PuzzleState& state_;
  int width_;
  int height_;
  std::size_t words_;
};

class PlaceFinder {
 public:
  virtual ~PlaceFinder() = default;

  /// A build starts: the size and the word table are those of the whole build.
  virtual void StartBuild(AppContext& ctx) = 0;
  /// An attempt starts; the grid may already hold letters (it is read as it is).
  virtual void StartAttempt(AppContext& ctx) = 0;
  /// The current word (CurrentWordIndex) has just been written at its place.
  virtual void WordInserted(AppContext& ctx) = 0;
  /// Searches the best place of the current word, yielding after every line. Leaves it
  /// in BestRow, BestCol, BestDirection, BestCrossings and, when found, in CurrentRow,
  /// CurrentCol, CurrentDirection (BestDirection 0: no place). Returns false when Cancel
  /// ended the search. It reads the grid through its own copy, so a command that
  /// discards the puzzle during a yield does not disturb it.
  virtual bool Search(AppContext& ctx, BuildPause& pause) = 0;
};

}  // namespace kivrel
