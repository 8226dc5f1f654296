#pragma once
// The search for each word's place, as the build run sees it. The build's own search is
// the line scan of LineScanner; the interface lets a plain implementation of the same
// rules run in its place, so the two can be compared.
#include <cstddef>

#include "model/AppContext.h"

namespace kivrel {

/// Lets the window system run between two steps of a build and says whether the build
/// goes on: not after Cancel, nor when a command discarded the puzzle meanwhile (the
/// size or the word table changed under the build).
class BuildPause {
 public:
  /// Notes the shape of the puzzle being built.
  explicit BuildPause(AppContext& ctx);

  /// Yields once; false when the build must end.
  bool Yield();

  /// True when Cancel was pressed.
  bool Cancelled() const { return ctx_.state.CancelRequested != 0; }
  /// True when the puzzle being built was discarded (or replaced) by another command.
  bool Discarded() const;

 private:
  AppContext& ctx_;
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
  /// CurrentCol, CurrentDirection (BestDirection 0: no place). Returns false when the
  /// pause said the build must end.
  virtual bool Search(AppContext& ctx, BuildPause& pause) = 0;
};

}  // namespace kivrel
