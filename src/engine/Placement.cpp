#include "engine/Placement.h"

#include <stdexcept>
#include <string_view>

#include "model/Text.h"

namespace kivrel {

void PlaceFirstWord(PuzzleState& s, Random& r) {
  const int w = s.PuzzleWidth;
  const int h = s.PuzzleHeight;
  const int l = s.CurrentWordLength;
  int row = 0;
  int col = 0;
  switch (s.CurrentDirection) {
    case 1:
      row = r.Below(h) + 1;
      col = r.Below(w - l + 1) + 1;
      break;
    case 2:
      row = r.Below(h) + 1;
      col = r.Below(w - l) + l;
      break;
    case 3:
      col = r.Below(w) + 1;
      row = r.Below(h - l + 1) + 1;
      break;
    case 4:
      col = r.Below(w) + 1;
      row = r.Below(h - l) + l;
      break;
    case 5:
      col = r.Below(w - l + 1) + 1;
      row = r.Below(h - l + 1) + 1;
      break;
    case 6:
      col = r.Below(w - l) + l;
      row = r.Below(h - l) + l;
      break;
    case 7:
      col = r.Below(w - l + 1) + 1;
      row = r.Below(h - l) + l;
      break;
    case 8:
      col = r.Below(w - l) + l;
      row = r.Below(h - l + 1) + 1;
      break;
    default:
      throw std::logic_error("no direction for the first word");
  }
  s.CurrentRow = static_cast<i16>(row);
  s.CurrentCol = static_cast<i16>(col);
}

void InsertWord(PuzzleState& s) {
  const int index = s.CurrentWordIndex;
  WordRecord& word = s.Words.at(static_cast<std::size_t>(index));
  const int d = s.CurrentDirection;
  int row = s.CurrentRow;
  int col = s.CurrentCol;
  if (!WordInsideGrid(s.Grid, row, col, d, word.Length)) throw std::logic_error("word placed outside the grid");
  const std::string_view text = word.Text;
  std::size_t pos = 0;
  for (int k = 1; k <= word.Length && pos < text.size(); ++k) {
    const std::size_t start = pos;
    const bool ascii = static_cast<unsigned char>(text[pos]) < 0x80;  // most letters are
    if (ascii) {
      ++pos;
    } else {
      DecodeUtf8(text, pos);
    }
    CellRecord& cell = s.Grid.At(row, col);
    if (cell.UseCount >= 8) throw std::logic_error("a ninth word through one cell");
    if (cell.IsEmpty()) {
      if (ascii && cell.Letter.empty()) {
        cell.Letter.push_back(text[start]);
      } else {
        cell.Letter.assign(text.substr(start, pos - start));
      }
      --s.SpacesRemaining;
    }
    --s.LettersRemaining;
    ++cell.UseCount;
    cell.WordRefs[static_cast<std::size_t>(cell.UseCount)] = static_cast<i16>(index);
    row += s.RowStep[static_cast<std::size_t>(d)];
    col += s.ColStep[static_cast<std::size_t>(d)];
  }
  word.Status = kStatusPlaced;
  word.StartCol = s.CurrentCol;
  word.StartRow = s.CurrentRow;
  word.Direction = s.CurrentDirection;
  ++s.DirectionWordCount[static_cast<std::size_t>(d)];
  ++s.InsertedCount;
  s.JunctionCount = static_cast<i16>(s.JunctionCount + s.BestCrossings);
}

}  // namespace kivrel
