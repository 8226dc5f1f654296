#include "HandPlaced.h"

#include <tuple>

#include "engine/FillInBlanks.h"
#include "model/Text.h"
#include "program/WindowTitle.h"

namespace kivrel::testing {

void MakeGrid(AppContext& ctx, int width, int height) {
  PuzzleState& s = ctx.state;
  s.PuzzleWidth = i16(width);
  s.PuzzleHeight = i16(height);
  s.Grid.Create(height, width);
  s.Words.assign(1, WordRecord{});
  s.WordCount = s.InsertedCount = 0;
  if (s.RowStep[1] == 0 && s.ColStep[1] == 0) s.FillDirectionTable();
}

int AddUnplacedWord(AppContext& ctx, const std::string& entry) {
  PuzzleState& s = ctx.state;
  WordRecord& word = s.Words.emplace_back();
  word.DisplayText = entry;
  word.Text = PlacedWord(entry);
  word.Length = static_cast<i16>(CharCount(word.Text));
  s.WordCount = static_cast<i16>(s.Words.size() - 1);
  return s.WordCount;
}

int PlaceWord(AppContext& ctx, const std::string& entry, int row, int col, int dir) {
  PuzzleState& s = ctx.state;
  const int index = AddUnplacedWord(ctx, entry);
  WordRecord& word = s.Words[static_cast<std::size_t>(index)];
  word.Status = kStatusPlaced;
  word.StartRow = i16(row);
  word.StartCol = i16(col);
  word.Direction = i16(dir);
  for (int i = 0; i < word.Length; ++i) {
    CellRecord& cell = s.Grid.At(row + i * s.RowStep[static_cast<std::size_t>(dir)],
                                 col + i * s.ColStep[static_cast<std::size_t>(dir)]);
    cell.Letter = CharAt(word.Text, static_cast<std::size_t>(i) + 1);
    ++cell.UseCount;
  }
  ++s.InsertedCount;
  return index;
}

void SetTitle(AppContext& ctx, const std::string& title) {
  ctx.state.PuzzleTitle = title;
  SetWindowTitle(ctx);
}

void MakeSeaPuzzle(AppContext& ctx) {
  MakeGrid(ctx, 10, 10);
  SetTitle(ctx, "Sea Creatures");
  ctx.state.PuzzleInstructions = "Find every creature of the sea hidden in the grid.";
  PlaceWord(ctx, "OCTOPUS", 1, 1, 1);
  PlaceWord(ctx, "SQUID", 2, 10, 3);
  PlaceWord(ctx, "CRAB [shell]", 10, 1, 7);
  PlaceWord(ctx, "EEL", 9, 9, 2);
  PlaceWord(ctx, "WHALE", 4, 2, 5);
  PlaceWord(ctx, "SHARK", 8, 1, 1);
  for (auto [r, c] : UnusedCells(ctx.state.Grid)) {
    ctx.state.Grid.At(r, c).Letter = std::string(1, static_cast<char>('A' + (r * 7 + c * 3) % 26));
  }
  ctx.state.BlanksFilled = kTrue;
}

}  // namespace kivrel::testing
