#include "engine/Placement.h"

#include <stdexcept>
#include <string_view>

#include "display/GridDisplay.h"
#include "model/Text.h"

namespace kivrel {

namespace {

// True when all `length` cells from (row, col) in direction d lie inside the grid.
bool InsideGrid(const PuzzleState& s, int row, int col, int d, int length) {
  if (d < 1 || d > kDirectionCount || length < 1) return false;
  int last_row = row + (length - 1) * s.RowStep[d];
  int last_col = col + (length - 1) * s.ColStep[d];
  return s.Grid.Contains(row, col) && s.Grid.Contains(last_row, last_col);
}

// The walk of WriteWord over one word record placed at (row, col) in direction d.
void Walk(AppContext& ctx, const WordRecord& word, int index, int row, int col, int d, WriteMode mode) {
  PuzzleState& s = ctx.state;
  if (!InsideGrid(s, row, col, d, word.Length)) throw std::logic_error("word placed outside the grid");
  const std::string_view text = word.Text;
  std::size_t pos = 0;
  for (int k = 1; k <= word.Length && pos < text.size(); ++k) {
    std::size_t start = pos;
    DecodeUtf8(text, pos);
    const std::string_view letter = text.substr(start, pos - start);
    CellRecord& cell = s.Grid.At(row, col);
    switch (mode) {
      case WriteMode::Insert:
        if (cell.UseCount >= 8) throw std::logic_error("a ninth word through one cell");
        if (cell.IsEmpty()) {
          cell.Letter.assign(letter);
          --s.SpacesRemaining;
        }
        --s.LettersRemaining;
        ++cell.UseCount;
        cell.WordRefs[static_cast<std::size_t>(cell.UseCount)] = static_cast<i16>(index);
        DrawCellLetter(ctx, row, col, cell.Letter);
        break;
      case WriteMode::Show:
        ++cell.ShowCount;
        DrawCellLetter(ctx, row, col, cell.Letter);
        break;
      case WriteMode::Hide:
        // A cell no shown word covers stays at 0: hiding twice must not make it negative.
        if (cell.ShowCount > 0 && --cell.ShowCount == 0) DrawCellLetter(ctx, row, col, cell.Letter);
        break;
    }
    row += s.RowStep[d];
    col += s.ColStep[d];
  }
}

}  // namespace

void PlaceFirstWord(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  Random& r = ctx.rng;
  const int w = s.PuzzleWidth;
  const int h = s.PuzzleHeight;
  const int l = s.CurrentWordLength;
  int row = 0;
  int col = 0;
  switch (s.CurrentDirection) {
    case 1: row = r.Below(h) + 1; col = r.Below(w - l + 1) + 1; break;
    case 2: row = r.Below(h) + 1; col = r.Below(w - l) + l; break;
    case 3: col = r.Below(w) + 1; row = r.Below(h - l + 1) + 1; break;
    case 4: col = r.Below(w) + 1; row = r.Below(h - l) + l; break;
    case 5: col = r.Below(w - l + 1) + 1; row = r.Below(h - l + 1) + 1; break;
    case 6: col = r.Below(w - l) + l; row = r.Below(h - l) + l; break;
    case 7: col = r.Below(w - l + 1) + 1; row = r.Below(h - l) + l; break;
    case 8: col = r.Below(w - l) + l; row = r.Below(h - l + 1) + 1; break;
    default: throw std::logic_error("no direction for the first word");
  }
  s.CurrentRow = static_cast<i16>(row);
  s.CurrentCol = static_cast<i16>(col);
}

void InsertWord(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  ctx.picture->SetForeColor(kBlack);
  WriteWord(ctx, WriteMode::Insert);
  WordRecord& word = s.Words.at(static_cast<std::size_t>(s.CurrentWordIndex));
  word.Status = kStatusPlaced;
  word.StartCol = s.CurrentCol;
  word.StartRow = s.CurrentRow;
  word.Direction = s.CurrentDirection;
  const int d = s.CurrentDirection;
  ++s.DirectionWordCount[static_cast<std::size_t>(d)];
  ++s.InsertedCount;
  s.JunctionCount = static_cast<i16>(s.JunctionCount + s.BestCrossings);
}

void WriteWord(AppContext& ctx, WriteMode mode) {
  PuzzleState& s = ctx.state;
  const WordRecord& word = s.Words.at(static_cast<std::size_t>(s.CurrentWordIndex));
  Walk(ctx, word, s.CurrentWordIndex, s.CurrentRow, s.CurrentCol, s.CurrentDirection, mode);
}

void ShowSelectedWord(AppContext& ctx, WriteMode mode) {
  PuzzleState& s = ctx.state;
  const int index = s.SelectedWordIndex;
  if (index < 1 || index > s.WordsUpperBound()) return;
  const WordRecord& word = s.Words[static_cast<std::size_t>(index)];
  if (word.Status != kStatusPlaced || !InsideGrid(s, word.StartRow, word.StartCol, word.Direction, word.Length)) return;
  s.CurrentCol = word.StartCol;
  s.CurrentRow = word.StartRow;
  s.CurrentDirection = word.Direction;
  s.CurrentWord = word.Text;
  s.CurrentWordLength = word.Length;
  Walk(ctx, word, index, word.StartRow, word.StartCol, word.Direction, mode);
}

}  // namespace kivrel
