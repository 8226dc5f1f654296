#pragma once
// The search for each word's place, as the build run sees it. The build's own search is
// the line scan of LineScanner; the interface lets a plain implementation of the same
// rules run in its place, so the two can be compared.
#include "engine/BuildProgress.h"
#include "model/PuzzleState.h"
#include "model/Random.h"

namespace kivrel {

class PlaceFinder {
 public:
  virtual ~PlaceFinder() = default;

  /// A build starts: the size and the word table are those of the whole build.
  virtual void StartBuild(const PuzzleState& state) = 0;
  /// An attempt starts; the grid may already hold letters (it is read as it is).
  virtual void StartAttempt(const PuzzleState& state) = 0;
  /// The current word (CurrentWordIndex) has just been written at its place.
  virtual void WordInserted(const PuzzleState& state) = 0;
  /// Searches the best place of the current word, yielding after every line. Leaves it
  /// in BestRow, BestCol, BestDirection, BestCrossings and, when found, in CurrentRow,
  /// CurrentCol, CurrentDirection (BestDirection 0: no place). Returns false when Cancel
  /// ended the search. It reads the grid through its own copy, so a command that
  /// discards the puzzle during a yield does not disturb it.
  virtual bool Search(PuzzleState& state, Random& rng, BuildPause& pause) = 0;
};

}  // namespace kivrel
