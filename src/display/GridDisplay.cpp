#include "display/GridDisplay.h"

#include <array>

#include "files/Cp1252.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "program/LetterCase.h"

namespace kivrel {

namespace {

i16 NearestI16(double value) { return CheckedI16(Nearest(value)); }

// Cells of the picture along one side; an empty side shows the default 15.
int PictureCells(int cells) { return cells == 0 ? kEmptyPictureCells : cells; }

// The outer window size the picture needs beside the statistics frame, twips.
int WidthForPicture(const Rect& picture, const Rect& stats, int border) {
  return Nearest(picture.Left + picture.Width + stats.Width + 3.0 * border + kStatsRightGap);
}

int HeightForPicture(const Form& main, const Rect& picture, const Rect& stats, int border) {
  const FormGeometry& g = main.Geometry();
  return Nearest(Max(picture.Height, stats.Height) + picture.Top + (g.Height - g.ScaleHeight) + 3.0 * border);
}

// Setting the window's width or height: the window system answers with a resize event
// before this returns (when the size really changes). A window never grows past the
// screen's available area: it is moved up or left first, and what is still too much is
// cut off.
void SetWindowWidth(Form& main, int width, const ScreenArea& area) {
  FormGeometry g = main.Geometry();
  width = Min(width, area.Width);
  if (g.Width == width) return;
  g.ScaleWidth += width - g.Width;
  g.Width = width;
  g.Left = Max(area.Left, Min(g.Left, area.Left + area.Width - width));
  main.SetGeometry(g);
}

void SetWindowHeight(Form& main, int height, const ScreenArea& area) {
  FormGeometry g = main.Geometry();
  height = Min(height, area.Height);
  if (g.Height == height) return;
  g.ScaleHeight += height - g.Height;
  g.Height = height;
  g.Top = Max(area.Top, Min(g.Top, area.Top + area.Height - height));
  main.SetGeometry(g);
}

void MeasureCharWidths(Surface& picture, DisplayMetrics& m) {
  m.CharWidths.fill(0);
  for (int code = 0; code < 256; ++code) {
    char32_t ch = Cp1252ToUnicode(static_cast<unsigned char>(code));
    // Digits, upper-case letters and the punctuation between them, every other
    // character a placed word can hold, and the small letters they are shown as.
    if (!(code >= '0' && code <= 'Z') && !IsCellCharacter(UpperChar(ch))) continue;
    std::string text;
    AppendUtf8(text, ch);
    m.CharWidths[static_cast<std::size_t>(code)] = NearestI16(picture.TextWidth(text));
  }
}

}  // namespace

void SetPictureDesignFont(Surface& picture) {
  picture.SetFontName(kPictureFontName);
  picture.SetFontBold(true);
  picture.SetFontItalic(false);
  picture.SetFontSize(kPictureFontSize);
}

bool SizePuzzleDisplay(AppContext& ctx) {
  Form& main = ctx.MainForm();
  Surface& picture = *ctx.picture;
  DisplayMetrics& m = ctx.display;
  const PuzzleState& s = ctx.state;

  // A built grid (or the one being built) is shown with its own size, whatever the
  // attributes say meanwhile; without one the picture shows the size they give.
  const bool grid_shown = s.PuzzleBuilt != 0 || ctx.build.Running;
  const int rows = grid_shown ? s.Grid.Height() : s.PuzzleHeight;
  const int cols = grid_shown ? s.Grid.Width() : s.PuzzleWidth;

  const FormGeometry start = main.Geometry();
  // The fit is to the part of the screen a window may take.
  const ScreenArea area = ctx.metrics.AvailableArea();
  const Rect start_pic = main.Bounds(frmKV_Puzzle::picPuzzle);
  const Rect stats = main.Bounds(frmKV_Puzzle::fraStats);
  const Rect exit = main.Bounds(frmKV_Puzzle::cmdExit);
  // What the sizing starts from: from the same, it comes to the same.
  std::vector<int> inputs{rows,       cols,        main.WindowState(), area.Left,           area.Top,
                          area.Width, area.Height, picture.FontBold(), picture.FontItalic()};
  for (const Rect& r : {start_pic, stats, exit}) inputs.insert(inputs.end(), {r.Left, r.Top, r.Width, r.Height});
  inputs.insert(inputs.end(), {start.Left, start.Top, start.Width, start.Height, start.ScaleWidth, start.ScaleHeight});
  if (inputs == m.SizedFor && picture.FontName() == m.SizedFontName) {
    picture.SetFontSize(m.SizedFontSize);
    main.SetVisible(frmKV_Puzzle::picPuzzle, true);
    return false;
  }
  m.SizedFor.clear();  // a nested run must not take what this one has not finished

  m.BorderWidth = Nearest((start.Width - start.ScaleWidth) * 0.5);
  m.StartWidth = start.Width;
  m.StartHeight = start.Height;

  picture.SetFontSize(kPictureFontSize);
  m.CellSize = NearestI16(picture.TextHeight("A"));
  m.WideCharWidth = NearestI16(picture.TextWidth("W"));

  main.SetVisible(frmKV_Puzzle::picPuzzle, false);
  Rect pic = main.Bounds(frmKV_Puzzle::picPuzzle);
  pic.Height = PictureCells(rows) * m.CellSize;
  pic.Width = PictureCells(cols) * m.CellSize;
  main.SetBounds(frmKV_Puzzle::picPuzzle, pic);

  // Room for the picture and the statistics frame, or for the row of buttons.
  m.RequiredWidth =
      Max(WidthForPicture(pic, stats, m.BorderWidth), Nearest(exit.Width + exit.Left + 2.0 * m.BorderWidth));
  m.RequiredHeight = HeightForPicture(main, pic, stats, m.BorderWidth);

  // The font may not take every size exactly; the loop counts down from what it took.
  m.DisplayFontSize = NearestI16(picture.FontSize());
  while ((m.RequiredWidth > area.Width || m.RequiredHeight > area.Height) &&
         m.DisplayFontSize > kSmallestPictureFontSize) {
    --m.DisplayFontSize;
    picture.SetFontSize(m.DisplayFontSize);
    m.CellSize = NearestI16(picture.TextHeight("A"));
    pic.Height = PictureCells(rows) * m.CellSize;
    pic.Width = PictureCells(cols) * m.CellSize;
    main.SetBounds(frmKV_Puzzle::picPuzzle, pic);
    // Only the picture counts here: the button row is left out of the fit.
    m.RequiredWidth = WidthForPicture(pic, stats, m.BorderWidth);
    m.RequiredHeight = HeightForPicture(main, pic, stats, m.BorderWidth);
  }
  // WideCharWidth keeps its 12-point value: the outlines are drawn at that radius.

  bool grows = false;
  if (main.WindowState() == kWindowNormal) {
    // Each setter may run this procedure again before it returns; the scratch values
    // are shared, so the height test below sees what a nested run found.
    grows = m.RequiredWidth > m.StartWidth || m.RequiredHeight > m.StartHeight;
    if (m.RequiredWidth > m.StartWidth) SetWindowWidth(main, m.RequiredWidth, area);
    if (m.RequiredHeight > m.StartHeight) SetWindowHeight(main, m.RequiredHeight, area);
  }

  MeasureCharWidths(picture, m);
  main.SetVisible(frmKV_Puzzle::picPuzzle, true);
  if (main.Geometry() == start && main.Bounds(frmKV_Puzzle::picPuzzle) == start_pic) {
    m.SizedFor = std::move(inputs);
    m.SizedFontName = picture.FontName();
    m.SizedFontSize = picture.FontSize();
  }
  return grows;
}

namespace {

// Where a text goes across cell column col of `cell` twips: centred on `width`, that of
// its first character. Int((cell - width) / 2): a whole number or a half, so a shift
// floors it the same.
double CellTextX(int cell, int width, int col) { return ((cell - width) >> 1) + static_cast<double>(col - 1) * cell; }

// Where a text in the case it is shown in goes across cell column col: centred on the
// width of its first character.
double CellLetterX(const AppContext& ctx, int col, std::string_view text) {
  int width = 0;
  if (!text.empty()) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t pos = 0;
    const int code = lead < 0x80 ? lead : UnicodeToCp1252(DecodeUtf8(text, pos));
    if (code >= 0) width = ctx.display.CharWidths[static_cast<std::size_t>(code)];
  }
  return CellTextX(ctx.display.CellSize, width, col);
}

}  // namespace

void DrawCellLetter(AppContext& ctx, int row, int col, std::string_view letters) {
  if (ctx.picture->DrawsNothing()) return;
  const std::string text = ShownLetters(ctx, letters);
  ctx.picture->PrintAt(CellLetterX(ctx, col, text), static_cast<double>(row - 1) * ctx.display.CellSize, text);
}

void ClearHighlights(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  ctx.picture->SetForeColor(kBlack);
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      CellRecord& cell = s.Grid.At(row, col);
      if (!cell.IsEmpty()) DrawCellLetter(ctx, row, col, cell.Letter);
      cell.ShowCount = 0;
    }
  }
  const int words = Min(s.WordCount, s.WordsUpperBound());
  for (int k = 1; k <= words; ++k) s.Words[static_cast<std::size_t>(k)].Shown = 0;
}

namespace {

// Calls visit(cell, row, col) for the first `cells` cells of a placed word, from its
// first letter.
template <typename Visit>
void WalkWord(LetterGrid& grid, const WordRecord& word, int cells, Visit visit) {
  const std::size_t d = static_cast<std::size_t>(word.Direction);
  int row = word.StartRow;
  int col = word.StartCol;
  for (int k = 1; k <= cells; ++k) {
    visit(grid.At(row, col), row, col);
    row += kRowSteps[d];
    col += kColSteps[d];
  }
}

// Draws the letters of the cells `drawn(row, col, cell)` picks from rows first_row to
// last_row, row by row, the order in which the picture's pixels lie.
template <typename Picks>
void DrawLetterRows(AppContext& ctx, int first_row, int last_row, Picks drawn) {
  const LetterGrid& grid = ctx.state.Grid;
  const int cell_size = ctx.display.CellSize;
  const auto& widths = ctx.display.CharWidths;
  // A letter of A-Z or 0-9, one byte, in the case it is shown in needs no conversion of
  // its own: a row's such letters go to the picture together. By its byte, what it is
  // shown as (0 for every other byte).
  const std::string ascii_shown = ShownLetters(ctx, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  std::array<char, 256> shown{};
  for (int k = 0; k < 26; ++k) shown[static_cast<std::size_t>('A' + k)] = ascii_shown[static_cast<std::size_t>(k)];
  for (char digit = '0'; digit <= '9'; ++digit) shown[static_cast<std::size_t>(digit)] = digit;
  std::vector<PlacedText> texts(static_cast<std::size_t>(grid.Width()));
  for (int row = first_row; row <= last_row; ++row) {
    // A row's cells lie side by side, from column 0. Whether a cell is drawn decides
    // only whether its text is kept, not what is done: in a new grid filled and empty
    // cells come in no order a guess could follow.
    const CellRecord* cells = &grid.At(row, 0);
    std::size_t count = 0;
    for (int col = 1; col <= grid.Width(); ++col) {
      const std::string& letter = cells[col].Letter;
      const auto first = static_cast<unsigned char>(letter.c_str()[0]);  // 0 for ""
      const bool picked = drawn(row, col, cells[col]);
      const char* text = &shown[first];
      // Bitwise: one test, taken for a rare letter only.
      if (picked & ((letter.size() != 1) | (*text == 0))) {
        DrawCellLetter(ctx, row, col, letter);
        continue;
      }
      texts[count] = {CellTextX(cell_size, widths[static_cast<unsigned char>(*text)], col), std::string_view(text, 1)};
      count += picked ? 1 : 0;
    }
    ctx.picture->PrintRow(static_cast<double>(row - 1) * cell_size, {texts.data(), count});
  }
}

}  // namespace

void DrawWords(AppContext& ctx, std::span<const int> indexes) {
  if (ctx.picture->DrawsNothing() || indexes.empty()) return;
  LetterGrid& grid = ctx.state.Grid;
  const auto width = static_cast<std::size_t>(grid.Width());
  // Words cross: a cell is drawn once however many of them pass through it.
  std::vector<bool> covered(width * static_cast<std::size_t>(grid.Height()));
  int first_row = grid.Height() + 1;
  int last_row = 0;
  for (int index : indexes) {
    const WordRecord& word = ctx.state.Words[static_cast<std::size_t>(index)];
    WalkWord(grid, word, word.Length, [&](const CellRecord&, int row, int col) {
      covered[static_cast<std::size_t>(row - 1) * width + static_cast<std::size_t>(col - 1)] = true;
      first_row = Min(first_row, row);
      last_row = Max(last_row, row);
    });
  }
  DrawLetterRows(ctx, first_row, last_row, [&](int row, int col, const CellRecord&) {
    return covered[static_cast<std::size_t>(row - 1) * width + static_cast<std::size_t>(col - 1)];
  });
}

void DrawGridLetters(AppContext& ctx) {
  if (ctx.picture->DrawsNothing()) return;
  const LetterGrid& grid = ctx.state.Grid;
  DrawLetterRows(ctx, 1, grid.Height(), [](int, int, const CellRecord& cell) { return !cell.IsEmpty(); });
}

void ShowSelectedWord(AppContext& ctx, WriteMode mode) {
  PuzzleState& s = ctx.state;
  const int index = s.SelectedWordIndex;
  if (index < 1 || index > s.WordsUpperBound()) return;
  const WordRecord& word = s.Words[static_cast<std::size_t>(index)];
  if (word.Status != kStatusPlaced ||
      !WordInsideGrid(s.Grid, word.StartRow, word.StartCol, word.Direction, word.Length)) {
    return;
  }
  s.CurrentCol = word.StartCol;
  s.CurrentRow = word.StartRow;
  s.CurrentDirection = word.Direction;
  s.CurrentWord = word.Text;
  s.CurrentWordLength = word.Length;
  // A record read from a file may say more letters than its word has: only those are walked.
  const int cells = Min(word.Length, static_cast<int>(CharCount(word.Text)));
  WalkWord(s.Grid, word, cells, [&ctx, mode](CellRecord& cell, int row, int col) {
    if (mode == WriteMode::Show) {
      ++cell.ShowCount;
      DrawCellLetter(ctx, row, col, cell.Letter);
    } else if (cell.ShowCount > 0 && --cell.ShowCount == 0) {
      // A cell no shown word covers stays at 0: hiding twice must not make it negative.
      DrawCellLetter(ctx, row, col, cell.Letter);
    }
  });
}

}  // namespace kivrel
