#include "display/GridViews.h"

#include <cmath>

#include "display/GridDisplay.h"
#include "model/Numbers.h"

namespace kivrel {

namespace {

// Column and row of one end of a word.
struct CellPos {
  int Col = 0;
  int Row = 0;
};

// The two end cells of a placed word: P1 is the left end (the top end of a vertical
// word) whichever way the word reads, so for Up-Right and Down-Left it is the lower
// left end.
void WordEnds(const WordRecord& word, CellPos& p1, CellPos& p2) {
  const int c = word.StartCol, w = word.StartRow, n = word.Length - 1;
  switch (word.Direction) {
    case 1:
      p1 = {c, w};
      p2 = {c + n, w};
      break;
    case 2:
      p1 = {c - n, w};
      p2 = {c, w};
      break;
    case 3:
      p1 = {c, w};
      p2 = {c, w + n};
      break;
    case 4:
      p1 = {c, w - n};
      p2 = {c, w};
      break;
    case 5:
      p1 = {c, w};
      p2 = {c + n, w + n};
      break;
    case 6:
      p1 = {c - n, w - n};
      p2 = {c, w};
      break;
    case 7:
      p1 = {c, w};
      p2 = {c + n, w - n};
      break;
    default:
      p1 = {c - n, w + n};
      p2 = {c, w};
      break;  // 8
  }
}

}  // namespace

void RepaintGrid(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  Surface& picture = *ctx.picture;
  picture.Cls();
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      if (cell.IsEmpty()) continue;
      picture.SetForeColor(cell.ShowCount > 0 ? kRed : kBlack);
      DrawCellLetter(ctx, row, col, cell.Letter);
    }
  }
}

void RedrawGrid(AppContext& ctx) {
  RepaintGrid(ctx);
  if (ctx.state.OutlinesShown) DrawWordOutlines(ctx);
  if (ctx.state.JunctionsShown) ShowJunctions(ctx);
}

void DrawWordOutline(Surface& surface, const WordRecord& word, double left, double top, double cell, double r,
                     float pi) {
  CellPos p1, p2;
  WordEnds(word, p1, p2);
  const double x1 = left + (p1.Col - 0.5) * cell, y1 = top + (p1.Row - 0.5) * cell;
  const double x2 = left + (p2.Col - 0.5) * cell, y2 = top + (p2.Row - 0.5) * cell;
  const double d = std::sqrt(r * r / 2);  // the radius along a diagonal
  // Two lines along the word, then the half circle at each end on the side away from
  // the word (angles counter-clockwise as seen, 0 pointing right).
  switch (word.Direction) {
    case 1:
    case 2:
      surface.Line(x1, y1 - r, x2, y2 - r);
      surface.Line(x1, y1 + r, x2, y2 + r);
      surface.Arc(x1, y1, r, 0.5 * pi, 1.5 * pi);
      surface.Arc(x2, y2, r, 1.5 * pi, 0.5 * pi);
      break;
    case 3:
    case 4:
      surface.Line(x1 - r, y1, x2 - r, y2);
      surface.Line(x1 + r, y1, x2 + r, y2);
      surface.Arc(x1, y1, r, 0, pi);
      surface.Arc(x2, y2, r, pi, 0);
      break;
    case 5:
    case 6:
      surface.Line(x1 - d, y1 + d, x2 - d, y2 + d);
      surface.Line(x1 + d, y1 - d, x2 + d, y2 - d);
      surface.Arc(x1, y1, r, 0.25 * pi, 1.25 * pi);
      surface.Arc(x2, y2, r, 1.25 * pi, 0.25 * pi);
      break;
    default:  // 7, 8
      surface.Line(x1 - d, y1 - d, x2 - d, y2 - d);
      surface.Line(x1 + d, y1 + d, x2 + d, y2 + d);
      surface.Arc(x1, y1, r, 0.75 * pi, 1.75 * pi);
      surface.Arc(x2, y2, r, 1.75 * pi, 0.75 * pi);
      break;
  }
}

void DrawWordOutlines(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  Surface& picture = *ctx.picture;
  picture.SetForeColor(kBlack);
  // The capsule's half width is a little under half a wide letter, so neighbouring
  // outlines do not touch.
  const float r = static_cast<float>(ctx.display.WideCharWidth) * 0.5f - 30.0f;
  const int words = Min(s.WordCount, s.WordsUpperBound());
  for (int k = 1; k <= words; ++k) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(k)];
    if (word.Status != kStatusPlaced || word.Direction < 1 || word.Direction > 8) continue;
    DrawWordOutline(picture, word, 0, 0, ctx.display.CellSize, r, s.Pi);
  }
}

void ShowJunctions(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  Surface& picture = *ctx.picture;
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      if (cell.UseCount <= 1) continue;
      picture.SetForeColor(kGrey);
      DrawCellLetter(ctx, row, col, cell.Letter);
      picture.SetForeColor(kRed);
      DrawCellLetter(ctx, row, col, FormatPicture(cell.UseCount, "##"));
    }
  }
}

void ToggleOutlines(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  if (s.OutlinesShown) {
    RepaintGrid(ctx);
    s.OutlinesShown = kFalse;
  } else {
    DrawWordOutlines(ctx);
    s.OutlinesShown = kTrue;
  }
}

void ToggleJunctions(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  Form& main = ctx.MainForm();
  main.SetMousePointer(kPointerHourglass);
  if (!s.JunctionsShown) {
    ShowJunctions(ctx);
    s.JunctionsShown = kTrue;
  } else {
    RepaintGrid(ctx);
    if (s.OutlinesShown) DrawWordOutlines(ctx);
    s.JunctionsShown = kFalse;
  }
  main.SetMousePointer(kPointerDefault);
}

}  // namespace kivrel
