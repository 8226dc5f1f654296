#pragma once
// A small puzzle for the puzzle file tests, assembled by hand number by number.
#include <cstdint>
#include <string>
#include <string_view>

#include "TestApp.h"
#include "files/PuzzleFile.h"

namespace kivrel::testing {

/// Little-endian 16-bit numbers and counted strings, appended in order.
class Bytes {
 public:
  Bytes& N(int value) {
    auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    bytes_ += static_cast<char>(bits & 0xFF);
    bytes_ += static_cast<char>(bits >> 8);
    return *this;
  }
  Bytes& S(std::string_view cp1252) {
    N(static_cast<int>(cp1252.size()));
    bytes_ += cp1252;
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

/// The sample puzzle's file, assembled by hand from the layout: a 3 x 2 puzzle with CAT
/// across the top, TO down the right edge through CAT's T, and Éléphant rejected; CAT is
/// highlighted. Row 2 holds an empty cell "" and a cell " " from which a fill letter was
/// taken.
///
///   C A T
///   . _ O
inline std::string SamplePuzzleBytes() {
  Bytes b;
  // Header: WordCount .. FastBuild, the stop operator, StopRemainingCount.
  b.N(3).N(2).N(1).N(13).N(6).N(8).N(2).N(1).N(3).N(8).N(2).N(3).N(2).N(0).N(-1).N(-1).N(0).S("<=").N(5);
  b.S("").S("Zoo Trip").S("Find them all.\r\nGood luck!");
  // Words: 11 numbers, then Text, DisplayText, ListText, ListDisplayText.
  b.N(1).N(1).N(1).N(1).N(1).N(3).N(1).N(1).N(1).N(1).N(480).S("CAT").S("CAT").S("CAT").S("CAT");
  b.N(3).N(1).N(3).N(1).N(3).N(2).N(0).N(0).N(0).N(0).N(0).S("TO").S("to [prep]").S("").S("");
  b.N(2).N(2).N(0).N(0).N(0).N(8).N(0).N(0).N(0).N(0).N(0).S("\xC9L\xC9PHANT").S("\xC9l\xE9phant").S("").S("");
  // Cells row by row: Letter, UseCount, ShowCount, WordRefs 1..8.
  b.S("C").N(1).N(1).N(1).N(0).N(0).N(0).N(0).N(0).N(0).N(0);
  b.S("A").N(1).N(1).N(1).N(0).N(0).N(0).N(0).N(0).N(0).N(0);
  b.S("T").N(2).N(1).N(1).N(2).N(0).N(0).N(0).N(0).N(0).N(0);
  b.S("").N(0).N(0).N(0).N(0).N(0).N(0).N(0).N(0).N(0).N(0);
  b.S(" ").N(0).N(0).N(0).N(0).N(0).N(0).N(0).N(0).N(0).N(0);
  b.S("O").N(1).N(0).N(2).N(0).N(0).N(0).N(0).N(0).N(0).N(0);
  // Direction counts 1..8.
  b.N(1).N(0).N(1).N(0).N(0).N(0).N(0).N(0);
  return b.str();
}

/// The sample puzzle in a program's state, as it was when it was written.
inline void MakeSamplePuzzle(TestApp& app) {
  PuzzleState& s = app.ctx.state;
  ApplyPuzzleFile(s, *ParsePuzzleFile(SamplePuzzleBytes()));
  s.BalanceDirections = s.IncludeDiagonals = -1;  // reading takes the absolute values
  s.FastBuild = 0;                                // and sets FastBuild
}

}  // namespace kivrel::testing
