#pragma once
// Finding a word where a solver could read it although it was not placed there: in any
// of the eight directions, anywhere in the grid. The fill uses it to make sure random
// letters never spell a listed word a second time (nor a word it was asked to avoid).
#include <string>
#include <vector>

#include "model/PuzzleState.h"

namespace kivrel {

/// One reading of a word outside its placements: the word and its cells (row, column),
/// from its first letter to its last.
struct SecondReading {
  std::string Word;
  std::vector<std::pair<int, int>> Cells;
};

/// Every reading of a placed word (Status placed) or of an avoided word in the grid,
/// in any of the eight directions, that is not a placement of that word. A placement
/// read backwards covers the same cells and is the same placement (a palindrome), and
/// so is a reading whose cells are those of another placement of the same text. A
/// reading is reported once, whichever way round it reads. `avoid` holds placed words
/// (upper case, cell characters only); those that are empty are passed over.
std::vector<SecondReading> FindSecondReadings(const PuzzleState& state, const std::vector<std::string>& avoid);

}  // namespace kivrel
