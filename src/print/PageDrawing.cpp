#include "print/PageDrawing.h"

#include <cmath>
#include <limits>
#include <vector>

#include "display/GridViews.h"
#include "model/Numbers.h"
#include "model/Text.h"

namespace kivrel {

namespace {

enum class Run { Preview, Printer };

// Layout values are stored as 16-bit numbers; one that cannot be held (margins of
// several feet, a list of thousands of rows) is kept at the nearest end of the range
// instead of wrapping round.
i16 Store(long long value) {
  constexpr long long lo = std::numeric_limits<i16>::min();
  constexpr long long hi = std::numeric_limits<i16>::max();
  return static_cast<i16>(value < lo ? lo : value > hi ? hi : value);
}

// The line height of the current font: the height of "A", rounded.
int LineHeight(Surface& page) { return Nearest(page.TextHeight("A")); }

void UseFont(Surface& page, const FontRecord& font) {
  page.SetFontName(font.FontName);
  page.SetFontSize(font.Size);
  page.SetFontBold(font.Bold != 0);
  page.SetFontItalic(font.Italic != 0);
}

// One point smaller. Sizes stop at 1 point, and a surface that cannot go smaller stops
// the shrinking too, so a text that fits at no size ends the loop instead of hanging it.
bool ShrinkFont(Surface& page) {
  double size = page.FontSize();
  if (size - 1 < 1) return false;
  page.SetFontSize(size - 1);
  return page.FontSize() < size;
}

// The size the page used goes back into the font table (so a shrunk size stays) and
// onto the print options dialog's font button, which shows its section's font.
void KeepUsedSize(AppContext& ctx, int slot, std::string_view button, double used) {
  FontRecord& record = ctx.fonts(slot);
  record.Size = Store(Nearest(used));
  Form& dialog = ctx.forms.Get(kPrintOptionsForm);
  FontSpec font = dialog.Font(button);
  if (font.Name.empty()) font = {record.FontName, used, record.Bold != 0, record.Italic != 0};
  font.Size = used;
  dialog.SetFont(button, font);
}

// The band the instructions wrap in: the grid's width, or from a margin to the grid's
// far edge, or from a margin to the grid's middle when the grid stands on the other side.
void InstructionBand(const PrintOptions& o, PageLayout& p, double page_width) {
  int middle = Nearest((p.PuzzleRight + p.PuzzleLeft) / 2.0);
  int right_edge = Nearest(page_width - p.RightMargin);
  switch (o.InstructionsAlign) {
    case Align::Left:
      p.InstructionsLeft = p.LeftMargin;
      p.InstructionsRight = o.PuzzleHorizontal == Align::Right ? Store(middle) : p.PuzzleRight;
      break;
    case Align::Right:
      p.InstructionsLeft = o.PuzzleHorizontal == Align::Left ? Store(middle) : p.PuzzleLeft;
      p.InstructionsRight = Store(right_edge);
      break;
    case Align::Center:
      if (o.PuzzleHorizontal == Align::Center) {
        p.InstructionsLeft = p.PuzzleLeft;
        p.InstructionsRight = p.PuzzleRight;
      } else {
        // Centred on the page, as wide as the grid.
        int band_left = Nearest((p.PrintableWidth - p.GridWidth) / 2.0 + p.LeftMargin);
        p.InstructionsLeft = Store(band_left);
        p.InstructionsRight = Store(static_cast<long long>(band_left) + p.GridWidth);
      }
      break;
  }
}

void PrintHeader(Surface& page, int count) {
  page.SetFontBold(false);
  page.Print(WordListHeader(count));
}

// The word list in the word-list font: beside the puzzle when "Left" is chosen and
// there is room, the rest (or all) in columns across the page.
void DrawWordList(AppContext& ctx, Surface& page, int listed) {
  PuzzleState& s = ctx.state;
  PageLayout& p = ctx.page;
  UseFont(page, ctx.fonts(kWordListFont));
  const int line = LineHeight(page);

  int widest = 0;
  for (int k = 1; k <= listed; ++k) {
    WordRecord& entry = s.Words[static_cast<std::size_t>(k)];
    int width = CharacterWidthSum(page, entry.ListDisplayText, true);
    entry.ListWidth = Store(width);
    widest = Max(widest, width);
  }
  p.ListColumnWidth = Store(static_cast<long long>(widest) + line);

  const bool side = ctx.print.Left != 0 && p.PuzzleLeft - p.LeftMargin >= p.ListColumnWidth;
  int side_count = 0;
  if (side) {
    p.SideListX = p.LeftMargin;
    page.CurrentX = p.SideListX;
    page.CurrentY = p.PuzzleTop;
    PrintHeader(page, listed);
    page.SetFontBold(true);
    page.CurrentY = p.PuzzleTop + line;
    side_count = listed;
    for (int k = 1; k <= listed; ++k) {
      page.CurrentX = p.SideListX;
      PrintListEntry(s, page, k);
      page.CurrentY += line;
      if (page.CurrentY > p.PuzzleBottom + line) {
        side_count = k;
        break;
      }
    }
  } else if (ctx.print.Left != 0) {
    // No room beside the puzzle: the whole list goes into columns, and "Left" is
    // cleared. The dialog hears of it and lays the page out again (not while printing).
    ctx.print.Left = 0;
    ctx.PrintOptionChangedByLayout("chkLeft");
  }

  if (side_count >= listed) return;
  const int remaining = listed - side_count;
  if (ctx.print.Above != 0) {
    page.CurrentY = p.HeaderBottom + line;
  } else if (!side) {
    page.CurrentY = p.PuzzleBottom + 2.0 * line;
  }  // else the columns go on where the side list ended
  p.ColumnListTop = Store(Nearest(page.CurrentY));

  // At least one column, however wide an entry is.
  int columns = p.ListColumnWidth > 0 ? Nearest(static_cast<double>(p.PrintableWidth) / p.ListColumnWidth) : 1;
  columns = Max(columns, 1);
  const int step = Nearest(static_cast<double>(p.PrintableWidth) / columns);
  std::vector<double> column_x(static_cast<std::size_t>(columns) + 1);
  for (int c = 1; c <= columns; ++c) {
    column_x[static_cast<std::size_t>(c)] = static_cast<double>(c - 1) * step + p.LeftMargin;
  }
  const int rows = (remaining - 1) / columns + 1;
  p.ColumnListHeight = Store(static_cast<long long>(rows) * line);

  if (side_count == 0) {  // the header stands one line above the first column
    double y = page.CurrentY;
    page.CurrentX = column_x[1];
    page.CurrentY -= line;
    PrintHeader(page, listed);
    page.CurrentY = y;
  }
  page.SetFontBold(true);
  // Down the first column, then down the second, in list order.
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= columns; ++c) {
      int n = side_count + (c - 1) * rows + r;
      if (n > listed) continue;
      page.CurrentX = column_x[static_cast<std::size_t>(c)];
      PrintListEntry(s, page, n);
    }
    page.CurrentY += line;
  }
}

void DrawPage(AppContext& ctx, Surface& page, Run run) {
  PuzzleState& s = ctx.state;
  PageLayout& p = ctx.page;
  const PrintOptions& o = ctx.print;

  // The placed words, packed to the front of the table, are what the list prints. The
  // whole table is read: the list may have lost or gained entries since the build.
  const int words = s.WordsUpperBound();
  int listed = 0;
  for (int i = 1; i <= words; ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Status != kStatusPlaced) continue;
    WordRecord& entry = s.Words[static_cast<std::size_t>(++listed)];
    entry.ListText = word.Text;
    entry.ListDisplayText = word.DisplayText;
    entry.ListStartCol = word.StartCol;
    entry.ListStartRow = word.StartRow;
    entry.ListDirection = word.Direction;
  }

  page.SetForeColor(kBlack);
  p.LeftMargin = Store(MarginTwips(o.Margins[kLeftMargin]));
  p.RightMargin = Store(MarginTwips(o.Margins[kRightMargin]));
  p.TopMargin = Store(MarginTwips(o.Margins[kTopMargin]));
  p.BottomMargin = Store(MarginTwips(o.Margins[kBottomMargin]));
  const double page_width = page.ScaleWidth();
  const double page_height = page.ScaleHeight();
  p.PrintableWidth = Store(Nearest(page_width - p.LeftMargin - p.RightMargin));
  p.PrintableHeight = Store(Nearest(page_height - p.TopMargin - p.BottomMargin));

  // The title, shrunk a point at a time until the sum of its character widths fits.
  const std::string title = ctx.AttributesForm().Text("txtPuzName");
  UseFont(page, ctx.fonts(kTitleFont));
  int title_width = CharacterWidthSum(page, title);
  while (title_width > p.PrintableWidth && ShrinkFont(page)) title_width = CharacterWidthSum(page, title);
  p.TitleWidth = Store(title_width);
  KeepUsedSize(ctx, kTitleFont, "cmdTitleFont", page.FontSize());

  switch (o.TitleAlign) {
    case Align::Left: page.CurrentX = p.LeftMargin; break;
    case Align::Right: page.CurrentX = page_width - p.RightMargin - p.TitleWidth; break;
    case Align::Center: page.CurrentX = Int((p.PrintableWidth - p.TitleWidth) / 2.0) + p.LeftMargin; break;
  }
  p.TitleX = Store(Nearest(page.CurrentX));
  page.CurrentY = p.TopMargin;
  page.Print(title);
  int line = LineHeight(page);
  p.TitleHeight = Store(line);
  page.CurrentY += line;
  p.HeaderBottom = Store(Nearest(page.CurrentY));

  // The cell is the height of "A" in the puzzle font, which shrinks until the grid
  // fits the printable area. What is drawn is the grid as it is, whatever size the
  // attributes now name.
  const int columns = s.Grid.Width();
  const int rows = s.Grid.Height();
  UseFont(page, ctx.fonts(kPuzzleFont));
  int cell = line = LineHeight(page);
  page.SetFontBold(false);
  page.SetFontItalic(false);
  long long grid_width = static_cast<long long>(cell) * columns;
  long long grid_height = static_cast<long long>(cell) * rows;
  while ((grid_width > p.PrintableWidth || grid_height > p.PrintableHeight) && ShrinkFont(page)) {
    cell = line = LineHeight(page);
    grid_width = static_cast<long long>(cell) * columns;
    grid_height = static_cast<long long>(cell) * rows;
  }
  p.GridWidth = Store(grid_width);
  p.GridHeight = Store(grid_height);
  KeepUsedSize(ctx, kPuzzleFont, "cmdPuzzleFont", page.FontSize());

  switch (o.PuzzleHorizontal) {
    case Align::Left: p.PuzzleLeft = p.LeftMargin; break;
    case Align::Right: p.PuzzleLeft = Store(Nearest(page_width - p.RightMargin - p.GridWidth)); break;
    case Align::Center: p.PuzzleLeft = Store(Nearest((p.PrintableWidth - p.GridWidth) / 2.0 + p.LeftMargin)); break;
  }
  p.PuzzleRight = Store(static_cast<long long>(p.PuzzleLeft) + p.GridWidth);

  if (o.PrintInstructions != 0) {
    UseFont(page, ctx.fonts(kInstructionsFont));
    line = LineHeight(page);
    InstructionBand(o, p, page_width);
    page.CurrentY += line;  // a blank line under the title
    p.InstructionsTop = Store(Nearest(page.CurrentY));
    PrintWrappedText(page, p.InstructionsLeft, p.InstructionsRight, s.PuzzleInstructions);
    p.HeaderBottom = Store(Nearest(page.CurrentY + line));
    p.InstructionsHeight = Store(static_cast<long long>(p.HeaderBottom) - p.InstructionsTop);
  }

  // Down the page the middle and bottom places look only at the margins.
  switch (o.PuzzleVertical) {
    case VerticalPlace::Top: p.PuzzleTop = Store(static_cast<long long>(p.HeaderBottom) + line); break;
    case VerticalPlace::Middle:
      p.PuzzleTop = Store(Nearest((p.PrintableHeight - p.GridHeight) / 2.0 + p.TopMargin));
      break;
    case VerticalPlace::Bottom:
      p.PuzzleTop = Store(static_cast<long long>(p.PrintableHeight) - p.GridHeight + p.TopMargin);
      break;
  }
  p.PuzzleBottom = Store(static_cast<long long>(p.PuzzleTop) + p.GridHeight);

  // The letters, each centred across its cell and hanging from the cell's top.
  UseFont(page, ctx.fonts(kPuzzleFont));
  cell = line = LineHeight(page);
  page.CurrentY = p.PuzzleTop;
  const double grid_top = Nearest(page.CurrentY);
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= columns; ++c) {
      const std::string& letter = s.Grid.At(r, c).Letter;
      if (letter.empty()) continue;
      page.CurrentX = Int((cell - page.TextWidth(letter)) * 0.5) + (static_cast<double>(c - 1) * cell + p.PuzzleLeft);
      page.Print(letter);
    }
    page.CurrentY += cell;
  }

  page.SetDrawWidth(1);
  const double frame_right = static_cast<double>(columns) * cell + p.PuzzleLeft;
  const double frame_bottom = static_cast<double>(rows) * cell + grid_top;
  if (run == Run::Preview) {
    page.Box(p.PuzzleLeft, grid_top, frame_right, frame_bottom);
  } else {
    page.Line(p.PuzzleLeft, grid_top, frame_right, grid_top);
    page.Line(frame_right, grid_top, frame_right, frame_bottom);
    page.Line(frame_right, frame_bottom, p.PuzzleLeft, frame_bottom);
    page.Line(p.PuzzleLeft, frame_bottom, p.PuzzleLeft, grid_top);
  }

  s.OutlinesShown = Flag(o.OutlineWords != 0);
  if (o.OutlineWords != 0) {
    page.SetForeColor(kBlack);
    // The full half width of "W": on paper the outline needs no gap to the cell edge.
    const double r = page.TextWidth("W") * 0.5;
    for (int i = 1; i <= words; ++i) {
      const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
      if (word.Status != kStatusPlaced || word.Direction < 1 || word.Direction > kDirectionCount) continue;
      DrawWordOutline(page, word, p.PuzzleLeft, grid_top, cell, r, s.Pi);
    }
  }

  if (o.PrintWordList != 0) DrawWordList(ctx, page, listed);
}

}  // namespace

int CharacterWidthSum(Surface& page, std::string_view text, bool skip_brackets) {
  int width = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t start = pos;
    char32_t ch = DecodeUtf8(text, pos);
    if (skip_brackets && (ch == '[' || ch == ']')) continue;
    width = Nearest(width + page.TextWidth(text.substr(start, pos - start)));
  }
  return width;
}

std::string WordListHeader(int count) { return PrintedNumberText(count) + " words"; }

void PrintWrappedText(Surface& page, int left, int right, std::string_view text) {
  const int space = Nearest(page.TextWidth(" "));
  const int line = LineHeight(page);
  page.CurrentX = left;
  std::size_t pos = 0;
  for (;;) {
    pos = text.find_first_not_of(' ', pos);
    if (pos == std::string_view::npos) break;
    std::size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(pos, end - pos);
    pos = end;
    if (page.CurrentX + CharacterWidthSum(page, word) > right) {
      page.CurrentX = left;
      page.CurrentY += line;
    }
    page.Print(word);
    page.CurrentX += space;
  }
}

void PrintListEntry(const PuzzleState& state, Surface& page, int k) {
  const std::string& text = state.Words[static_cast<std::size_t>(k)].ListDisplayText;
  if (text.find('[') == std::string::npos) {
    page.Print(text);
    return;
  }
  // Character by character, so that the weight can change at each bracket.
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t start = pos;
    char32_t ch = DecodeUtf8(text, pos);
    if (ch == '[') {
      page.SetFontBold(false);
    } else if (ch == ']') {
      page.SetFontBold(true);
    } else {
      page.Print(std::string_view(text).substr(start, pos - start));
    }
  }
  page.SetFontBold(true);
}

void DrawPreviewPage(AppContext& ctx) {
  if (!ctx.state.LayoutEnabled || !ctx.preview) return;
  ctx.preview->Cls();
  DrawPage(ctx, *ctx.preview, Run::Preview);
}

void DrawPrinterPage(AppContext& ctx, Surface& printer) {
  struct Printing {
    PuzzleState& s;
    explicit Printing(PuzzleState& state) : s(state) { s.PrintingInProgress = kTrue; }
    ~Printing() { s.PrintingInProgress = kFalse; }
  } printing(ctx.state);
  // The printer's own coordinates: its printable area in whole twips.
  printer.Scale(Nearest(printer.ScaleWidth()), Nearest(printer.ScaleHeight()));
  DrawPage(ctx, printer, Run::Printer);
}

}  // namespace kivrel
