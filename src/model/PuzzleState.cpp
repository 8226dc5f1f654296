#include "model/PuzzleState.h"

#include <stdexcept>

#include "model/Numbers.h"

namespace kivrel {

const char* const kDirectionNames[kDirectionCount + 1] = {"",           "Right",   "Left",     "Down",     "Up",
                                                          "Down-Right", "Up-Left", "Up-Right", "Down-Left"};

bool GridSizeFits(long long width, long long height) {
  return width >= 0 && height >= 0 && width <= 32767 && height <= 32767 && width * height <= 32767;
}

void LetterGrid::Create(int height, int width) {
  if (height < 0 || width < 0 || !GridSizeFits(width, height)) {
    throw std::invalid_argument("grid size out of range");
  }
  const std::size_t cells = static_cast<std::size_t>(height + 1) * static_cast<std::size_t>(width + 1);
  if (height == height_ && width == width_ && cells_.size() == cells) {
    if (emptied_) return;
    // The same size again (every build attempt): the cells are emptied where they are.
    emptied_ = true;
    for (CellRecord& cell : cells_) {
      cell.Letter.clear();
      cell.UseCount = 0;
      cell.ShowCount = 0;
      cell.WordRefs.fill(0);
    }
    static_assert(sizeof(CellRecord) == sizeof(std::string) + 22 + 2, "a new field of CellRecord is emptied here too");
    return;
  }
  height_ = height;
  width_ = width;
  cells_.assign(cells, CellRecord{});
  emptied_ = true;
}

void LetterGrid::OutOfRange(int row, int col) {
  throw std::out_of_range("grid cell (" + std::to_string(row) + ", " + std::to_string(col) + ") out of range");
}

bool WordInsideGrid(const LetterGrid& grid, int row, int col, int d, int length) {
  if (d < 1 || d > kDirectionCount || length < 1) return false;
  const int last_row = row + (length - 1) * kRowSteps[static_cast<std::size_t>(d)];
  const int last_col = col + (length - 1) * kColSteps[static_cast<std::size_t>(d)];
  return grid.Contains(row, col) && grid.Contains(last_row, last_col);
}

void PuzzleState::FillDirectionTable() {
  RowStep = kRowSteps;
  ColStep = kColSteps;
}

void PuzzleState::ResetCounts() {
  SpaceCount = CheckedI16(static_cast<long long>(PuzzleWidth) * PuzzleHeight);
  SpacesRemaining = SpaceCount;
  LettersRemaining = LetterCount;
}

void PuzzleState::SetDefaultBuildOptions() {
  StopRemainingCount = -1;
  IncludeDiagonals = 1;
  BalanceDirections = 1;
  BackwardsWords = 1;
  FastBuild = 1;
}

void PuzzleState::SetBuildDirections() {
  DirectionCount = static_cast<i16>((IncludeDiagonals != 0 ? 8 : 4) / (BackwardsWords != 0 ? 1 : 2));
}

}  // namespace kivrel
