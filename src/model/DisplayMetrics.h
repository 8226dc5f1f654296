#pragma once
// The measurements of the puzzle picture, set each time the display is sized.
#include <array>
#include <string>
#include <vector>

#include "model/PuzzleState.h"

namespace kivrel {

struct DisplayMetrics {
  i16 CellSize = 0;       // height of "A" in the picture's font, twips
  i16 WideCharWidth = 0;  // width of "W" at 12 points, twips
  /// Width of each character that can stand in a cell, by its code page 1252 code.
  std::array<i16, 256> CharWidths{};
  i16 DisplayFontSize = 12;
  // Scratch of the sizing, shared by nested runs.
  int BorderWidth = 0;
  int StartWidth = 0;
  int StartHeight = 0;
  int RequiredWidth = 0;
  int RequiredHeight = 0;
  /// What the last sizing that changed nothing started from, and the font size it
  /// left the picture at: sizing again from the same finds the same (a build sizes
  /// the picture every time).
  std::vector<int> SizedFor;
  std::string SizedFontName;
  double SizedFontSize = 0;
};

}  // namespace kivrel
