#pragma once
// A plain implementation of the line scan for the tests: it reads every line cell by
// cell from the grid and tries every offset in turn, exactly as the placement rules
// are written. The build's own scanner must make the same decisions and draws.
#include <vector>

#include "engine/LineScanner.h"
#include "engine/PlaceFinder.h"

namespace kivrel::testing {

/// The lines of direction d for a word of length L in a W x H grid, by the table of
/// first start, number of lines and move to the next line.
std::vector<LineSpan> TableLines(int d, int width, int height, int length);

class ReferenceFinder : public PlaceFinder {
 public:
  void StartBuild(const PuzzleState&) override {}
  void StartAttempt(const PuzzleState&) override {}
  void WordInserted(const PuzzleState&) override {}
  bool Search(PuzzleState& s, Random& rng, BuildPause& pause) override;
};

}  // namespace kivrel::testing
