#pragma once
// A small built puzzle for the puzzle file tests, and a way to assemble file bytes by
// hand, number by number.
#include <cstdint>
#include <string>
#include <string_view>

#include "TestApp.h"
#include "model/WordTable.h"

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

/// A 3 x 2 puzzle: CAT across the top, TO down the right edge through CAT's T, and
/// Éléphant rejected. CAT is highlighted. Row 2 holds an empty cell "" and a cell " "
/// from which a fill letter was taken.
///
///   C A T
///   . _ O
inline void MakeSamplePuzzle(TestApp& app) {
  app.AddEntries({"CAT", "to [prep]", "Éléphant"});
  PuzzleState& s = app.ctx.state;
  BuildWordTable(app.ctx);
  s.PuzzleTitle = "Zoo Trip";
  s.PuzzleInstructions = "Find them all.\r\nGood luck!";
  s.PuzzleWidth = 3;
  s.PuzzleHeight = 2;
  s.SpaceCount = 6;
  s.InsertedCount = 2;
  s.RejectedCount = 1;
  s.LettersRemaining = 8;
  s.SpacesRemaining = 2;
  s.JunctionCount = 1;
  s.BlanksFilled = 0;
  s.BalanceDirections = -1;
  s.IncludeDiagonals = -1;
  s.FastBuild = 0;
  s.StopRemainingOperator = "<=";
  s.StopRemainingCount = 5;

  WordRecord& cat = s.Words[1];
  cat.SortPosition = 1;
  cat.Status = kStatusPlaced;
  cat.StartCol = 1;
  cat.StartRow = 1;
  cat.Direction = 1;
  cat.Shown = 1;
  cat.ListText = "CAT";
  cat.ListDisplayText = "CAT";
  cat.ListStartCol = 1;
  cat.ListStartRow = 1;
  cat.ListDirection = 1;
  cat.ListWidth = 480;
  WordRecord& to = s.Words[2];
  to.SortPosition = 3;
  to.Status = kStatusPlaced;
  to.StartCol = 3;
  to.StartRow = 1;
  to.Direction = 3;
  WordRecord& elephant = s.Words[3];
  elephant.SortPosition = 2;
  elephant.Status = kStatusRejected;

  s.Grid.Create(2, 3);
  auto set = [&](int row, int col, const char* letter, std::initializer_list<i16> refs, i16 shown) {
    CellRecord& cell = s.Grid.At(row, col);
    cell.Letter = letter;
    cell.UseCount = static_cast<i16>(refs.size());
    cell.ShowCount = shown;
    int slot = 1;
    for (i16 ref : refs) cell.WordRefs[static_cast<std::size_t>(slot++)] = ref;
  };
  set(1, 1, "C", {1}, 1);
  set(1, 2, "A", {1}, 1);
  set(1, 3, "T", {1, 2}, 1);
  set(2, 2, " ", {}, 0);
  set(2, 3, "O", {2}, 0);
  s.DirectionWordCount = {0, 1, 0, 1, 0, 0, 0, 0, 0};
  s.PuzzleBuilt = kTrue;
}

/// The sample puzzle's file, assembled by hand from the layout.
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

}  // namespace kivrel::testing
