#include "print/PageDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "controls/PrintOptionsControls.h"
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

// A font of the table at `points` (by default the size the user chose for it).
void UseFont(Surface& page, const FontRecord& font, double points) {
  page.SetFontName(font.FontName);
  page.SetFontSize(points);
  page.SetFontBold(font.Bold != 0);
  page.SetFontItalic(font.Italic != 0);
}
void UseFont(Surface& page, const FontRecord& font) { UseFont(page, font, font.Size); }

// Tries the sizes `chosen`, one point less, two points less, ... down to `smallest`
// (never below 1, nor above `chosen`), each as the surface really draws it, until `fits`
// says the block fits at the size in use. Returns false when even the smallest did not
// fit; the surface is left at the last size tried either way.
template <typename Fits>
bool ShrinkToFit(Surface& page, double chosen, double smallest, Fits fits) {
  chosen = std::max(chosen, 1.0);
  smallest = std::clamp(smallest, 1.0, chosen);
  double tried = -1;
  for (double asked = chosen;; asked = std::max(asked - 1, smallest)) {
    page.SetFontSize(asked);
    if (page.FontSize() != tried) {  // a device may draw two asked sizes alike
      tried = page.FontSize();
      if (fits()) return true;
    }
    if (asked <= smallest) return false;
  }
}

// The font button of the print options dialog shows its section's font at the size the
// page used; the size the user chose stays in the font table for the next layout.
void ShowUsedSize(AppContext& ctx, int slot, Control button, double used) {
  const FontRecord& record = ctx.fonts(slot);
  Form& dialog = ctx.forms.Get(frmPrintOptions::kWindow);
  FontSpec font = dialog.Font(button);
  if (font.Name.empty()) font = {record.FontName, used, record.Bold != 0, record.Italic != 0};
  font.Size = used;
  dialog.SetFont(button, font);
}

PageBlock Block(double left, double top, double width, double height) {
  return {true, {Nearest(left), Nearest(top), Max(Nearest(width), 0), Max(Nearest(height), 0)}};
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

// Wraps text as PrintWrappedText says; draws it only when `draw` (otherwise it only
// moves the current position, to measure).
void WrapText(Surface& page, int left, int right, std::string_view text, bool draw) {
  const int space = Nearest(page.TextWidth(" "));
  const int line = LineHeight(page);
  page.CurrentX = left;
  bool first = true;
  std::size_t pos = 0;
  for (;;) {
    // The blanks before the next word: tabs count as blanks, a line break (CR LF, LF or
    // CR) separates words like one, and an empty line between two words starts a new
    // paragraph, a blank line further down.
    int breaks = 0;
    for (; pos < text.size(); ++pos) {
      const char ch = text[pos];
      if (ch == '\n' || (ch == '\r' && (pos + 1 >= text.size() || text[pos + 1] != '\n'))) {
        ++breaks;
      } else if (ch != ' ' && ch != '\t' && ch != '\r') {
        break;
      }
    }
    if (pos >= text.size()) break;
    std::size_t end = text.find_first_of(" \t\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(pos, end - pos);
    pos = end;
    if (breaks >= 2 && !first) {
      page.CurrentX = left;
      page.CurrentY += 2.0 * line;
    } else if (page.CurrentX + CharacterWidthSum(page, word) > right) {
      page.CurrentX = left;
      page.CurrentY += line;
    }
    if (draw) {
      page.Print(word);
    } else {
      page.CurrentX += page.TextWidth(word);
    }
    page.CurrentX += space;
    first = false;
  }
}

// Where the word list goes at the list font's current size.
struct ListPlan {
  int line = 0;
  int widest = 0;
  bool side = false;      // beside the puzzle
  long long side_width = 0;  // the entries' column, or the header when it is wider
  int side_count = 0;     // entries beside it
  double side_end = 0;    // the bottom of the side list's last line
  int columns = 1;        // the rest in columns across the page
  int step = 0;
  int rows = 0;
  double column_top = 0;  // the first row of the columns
  double bottom = 0;      // the bottom of the list's last line
  bool fits = true;       // above the bottom margin (or the grid below it), within the margins
};

ListPlan PlanWordList(AppContext& ctx, Surface& page, int listed, double page_height) {
  const PuzzleState& s = ctx.state;
  const PageLayout& p = ctx.page;
  const PrintOptions& o = ctx.print;
  ListPlan plan;
  plan.line = LineHeight(page);
  for (int k = 1; k <= listed; ++k) {
    plan.widest = Max(plan.widest, CharacterWidthSum(page, s.Words[static_cast<std::size_t>(k)].ListDisplayText, true));
  }
  const long long column_width = static_cast<long long>(plan.widest) + plan.line;
  // Beside the puzzle when asked and there is room for the entries and for the header
  // above them; never with the list above the puzzle, where the side list would run past
  // the grid's bottom into the bottom margin.
  page.SetFontBold(false);
  plan.side_width = Max(column_width, CharacterWidthSum(page, WordListHeader(listed)));
  page.SetFontBold(true);
  plan.side = o.Left != 0 && o.Above == 0 && p.PuzzleLeft - p.LeftMargin >= plan.side_width;
  double y = p.PuzzleTop;
  if (plan.side) {
    // Entries go on until the line below one starts past the grid's bottom plus a line.
    y += plan.line;
    plan.side_count = listed;
    for (int k = 1; k <= listed; ++k) {
      y += plan.line;
      if (y > p.PuzzleBottom + plan.line) {
        plan.side_count = k;
        break;
      }
    }
    plan.side_end = plan.bottom = y;
  }
  if (plan.side_count < listed) {
    if (o.Above != 0) {
      y = p.HeaderBottom + plan.line;
    } else if (!plan.side) {
      y = p.PuzzleBottom + 2.0 * plan.line;
    }  // else the columns go on where the side list ended
    plan.column_top = Nearest(y);
    // At least one column, however wide an entry is.
    plan.columns = column_width > 0 ? Max(Nearest(static_cast<double>(p.PrintableWidth) / column_width), 1) : 1;
    plan.step = Nearest(static_cast<double>(p.PrintableWidth) / plan.columns);
    plan.rows = (listed - plan.side_count - 1) / plan.columns + 1;
    plan.bottom = plan.column_top + static_cast<double>(plan.rows) * plan.line;
    // An entry wider than its column would run into the next one, or past the margin.
    if (plan.widest > plan.step) plan.fits = false;
  }
  // A list above the puzzle ends where the grid begins; any other ends at the bottom margin.
  const double limit = o.Above != 0 ? p.PuzzleTop : page_height - p.BottomMargin;
  if (plan.bottom > limit) plan.fits = false;
  return plan;
}

// The word list in the word-list font: beside the puzzle when "Left" is chosen and
// there is room, the rest (or all) in columns across the page. The font shrinks a point
// at a time from the chosen size until the whole list fits on the page; a list that does
// not fit even at the smallest size is left off rather than printed in part. Returns
// whether the layout cleared "Left".
bool DrawWordList(AppContext& ctx, Surface& page, int listed, double page_height) {
  PuzzleState& s = ctx.state;
  PageLayout& p = ctx.page;
  PagePrinted& printed = ctx.printed;
  const FontRecord& font = ctx.fonts(kWordListFont);
  UseFont(page, font);
  ListPlan plan;
  printed.ListFits = ShrinkToFit(page, font.Size, kSmallestListSize, [&] {
    plan = PlanWordList(ctx, page, listed, page_height);
    return plan.fits;
  });
  printed.ListSize = page.FontSize();
  for (int k = 1; k <= listed; ++k) {
    WordRecord& entry = s.Words[static_cast<std::size_t>(k)];
    entry.ListWidth = Store(CharacterWidthSum(page, entry.ListDisplayText, true));
  }
  p.ListColumnWidth = Store(static_cast<long long>(plan.widest) + plan.line);
  if (!printed.ListFits) return false;

  const int line = plan.line;
  bool left_cleared = false;
  if (plan.side) {
    p.SideListX = p.LeftMargin;
    page.CurrentX = p.SideListX;
    page.CurrentY = p.PuzzleTop;
    PrintHeader(page, listed);
    page.SetFontBold(true);
    page.CurrentY = p.PuzzleTop + line;
    for (int k = 1; k <= plan.side_count; ++k) {
      page.CurrentX = p.SideListX;
      PrintListEntry(s, page, k);
      page.CurrentY += line;
    }
    printed.SideList = Block(p.SideListX, p.PuzzleTop, static_cast<double>(plan.side_width), plan.side_end - p.PuzzleTop);
  } else if (ctx.print.Left != 0) {
    // No room beside the puzzle: the whole list goes into columns, and "Left" is
    // cleared. The dialog hears of it once the page is drawn.
    ctx.print.Left = 0;
    left_cleared = true;
  }

  if (plan.side_count >= listed) return left_cleared;
  p.ColumnListTop = Store(Nearest(plan.column_top));
  p.ColumnListHeight = Store(static_cast<long long>(plan.rows) * line);
  page.CurrentY = plan.column_top;
  auto column_x = [&](int c) { return static_cast<double>(c - 1) * plan.step + p.LeftMargin; };

  double block_top = plan.column_top;
  if (plan.side_count == 0) {  // the header stands one line above the first column
    page.CurrentX = column_x(1);
    page.CurrentY -= line;
    PrintHeader(page, listed);
    page.CurrentY = plan.column_top;
    block_top -= line;
  }
  printed.ColumnList = Block(p.LeftMargin, block_top, p.PrintableWidth, plan.bottom - block_top);
  page.SetFontBold(true);
  // Down the first column, then down the second, in list order.
  for (int r = 1; r <= plan.rows; ++r) {
    for (int c = 1; c <= plan.columns; ++c) {
      int n = plan.side_count + (c - 1) * plan.rows + r;
      if (n > listed) continue;
      page.CurrentX = column_x(c);
      PrintListEntry(s, page, n);
    }
    page.CurrentY += line;
  }
  return left_cleared;
}

// The placed words, packed to the front of the table, are what the list prints. The
// whole table is read: the list may have lost or gained entries since the build.
// Returns how many there are.
int CopyPlacedWordsToList(PuzzleState& s) {
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
  return listed;
}

// The margins, and the printable area between them.
void LayOutMargins(const PrintOptions& o, PageLayout& p, double page_width, double page_height) {
  p.LeftMargin = Store(MarginTwips(o.Margins[kLeftMargin]));
  p.RightMargin = Store(MarginTwips(o.Margins[kRightMargin]));
  p.TopMargin = Store(MarginTwips(o.Margins[kTopMargin]));
  p.BottomMargin = Store(MarginTwips(o.Margins[kBottomMargin]));
  p.PrintableWidth = Store(Nearest(page_width - p.LeftMargin - p.RightMargin));
  p.PrintableHeight = Store(Nearest(page_height - p.TopMargin - p.BottomMargin));
}

// The title at the top margin, shrunk a point at a time until the sum of its character
// widths fits. Leaves CurrentY below its line.
void DrawTitle(AppContext& ctx, Surface& page, double page_width) {
  PageLayout& p = ctx.page;
  const std::string title = ctx.AttributesForm().Text(frmAttributes::txtPuzName);
  const FontRecord& title_font = ctx.fonts(kTitleFont);
  UseFont(page, title_font);
  int title_width = 0;
  ShrinkToFit(page, title_font.Size, 1, [&] {
    title_width = CharacterWidthSum(page, title);
    return title_width <= p.PrintableWidth;
  });
  p.TitleWidth = Store(title_width);
  ctx.printed.TitleSize = page.FontSize();

  switch (ctx.print.TitleAlign) {
    case Align::Left: page.CurrentX = p.LeftMargin; break;
    case Align::Right: page.CurrentX = page_width - p.RightMargin - p.TitleWidth; break;
    case Align::Center: page.CurrentX = Int((p.PrintableWidth - p.TitleWidth) / 2.0) + p.LeftMargin; break;
  }
  p.TitleX = Store(Nearest(page.CurrentX));
  page.CurrentY = p.TopMargin;
  page.Print(title);
  const int line = LineHeight(page);
  p.TitleHeight = Store(line);
  page.CurrentY += line;
  p.HeaderBottom = Store(Nearest(page.CurrentY));
  if (!title.empty()) ctx.printed.Title = Block(p.TitleX, p.TopMargin, p.TitleWidth, p.TitleHeight);
}

// The grid's letters and cells as they will be drawn.
struct GridSize {
  int columns = 0;
  int rows = 0;
  int cell = 0;           // the height of "A" in the puzzle font
  double points = 0;      // the puzzle font's size, as the surface draws it
  long long width = 0;    // columns x cell
  long long height = 0;
  bool fits = false;      // within the printable width and the room given
  int line = 0;           // the line height of the block above the grid, the gap below it
};

// The largest puzzle font, from the chosen size down, whose grid fits the printable
// width and `room` down the page.
GridSize SizeGrid(AppContext& ctx, Surface& page, long long room) {
  const PageLayout& p = ctx.page;
  const FontRecord& puzzle_font = ctx.fonts(kPuzzleFont);
  GridSize grid;
  grid.columns = ctx.state.Grid.Width();
  grid.rows = ctx.state.Grid.Height();
  UseFont(page, puzzle_font);
  grid.fits = ShrinkToFit(page, puzzle_font.Size, 1, [&] {
    grid.cell = LineHeight(page);
    grid.width = static_cast<long long>(grid.cell) * grid.columns;
    grid.height = static_cast<long long>(grid.cell) * grid.rows;
    return grid.width <= p.PrintableWidth && grid.height <= room;
  });
  grid.points = page.FontSize();
  return grid;
}

// The grid's place across the page.
void PlaceGridAcross(const PrintOptions& o, PageLayout& p, const GridSize& grid, double page_width) {
  p.GridWidth = Store(grid.width);
  p.GridHeight = Store(grid.height);
  switch (o.PuzzleHorizontal) {
    case Align::Left: p.PuzzleLeft = p.LeftMargin; break;
    case Align::Right: p.PuzzleLeft = Store(Nearest(page_width - p.RightMargin - p.GridWidth)); break;
    case Align::Center: p.PuzzleLeft = Store(Nearest((p.PrintableWidth - p.GridWidth) / 2.0 + p.LeftMargin)); break;
  }
  p.PuzzleRight = Store(static_cast<long long>(p.PuzzleLeft) + p.GridWidth);
}

// The instructions' line height, and CurrentY moved from `top` past them and the blank
// lines around them, as DrawInstructions will draw them in the band of the grid placed.
int MeasureInstructions(AppContext& ctx, Surface& page, double page_width, double top) {
  UseFont(page, ctx.fonts(kInstructionsFont));
  const int line = LineHeight(page);
  InstructionBand(ctx.print, ctx.page, page_width);
  page.CurrentY = top + line;  // a blank line under the title
  WrapText(page, ctx.page.InstructionsLeft, ctx.page.InstructionsRight, ctx.state.PuzzleInstructions, false);
  page.CurrentY += line;
  return line;
}

// The cell is the height of "A" in the puzzle font as the letters are drawn, which
// shrinks until the grid fits the printable area and, below the title and the
// instructions, the room left down to the bottom margin; the letters and the frame are
// then drawn in that very font and cell. The instructions wrap in a band that follows
// the grid's width, so each smaller grid measures them again. What is drawn is the grid
// as it is, whatever size the attributes now name.
GridSize FitGrid(AppContext& ctx, Surface& page, double page_width, double below_title) {
  PageLayout& p = ctx.page;
  const long long page_bottom = static_cast<long long>(p.TopMargin) + p.PrintableHeight;
  long long room = p.PrintableHeight;
  for (int tries = 0;; ++tries) {
    GridSize grid = SizeGrid(ctx, page, room);
    PlaceGridAcross(ctx.print, p, grid, page_width);
    grid.line = grid.cell;
    page.CurrentY = below_title;
    if (ctx.print.PrintInstructions != 0) grid.line = MeasureInstructions(ctx, page, page_width, below_title);
    const long long left = page_bottom - (Nearest(page.CurrentY) + static_cast<long long>(grid.line));
    if (!grid.fits || grid.height <= left || left >= room || tries == 100) return grid;
    room = left;
  }
}

// The instructions from `top`, after a blank line, wrapped in the band FitGrid chose.
void DrawInstructions(AppContext& ctx, Surface& page, double top, int line) {
  PageLayout& p = ctx.page;
  UseFont(page, ctx.fonts(kInstructionsFont));
  page.CurrentY = top + line;  // a blank line under the title
  p.InstructionsTop = Store(Nearest(page.CurrentY));
  PrintWrappedText(page, p.InstructionsLeft, p.InstructionsRight, ctx.state.PuzzleInstructions);
  p.HeaderBottom = Store(Nearest(page.CurrentY + line));
  p.InstructionsHeight = Store(static_cast<long long>(p.HeaderBottom) - p.InstructionsTop);
  if (ctx.state.PuzzleInstructions.find_first_not_of(" \t\r\n") != std::string::npos) {
    ctx.printed.Instructions =
        Block(p.InstructionsLeft, p.InstructionsTop, p.InstructionsRight - p.InstructionsLeft, p.InstructionsHeight);
  }
}

// The grid's place down the page: the middle and bottom places look at the margins, but
// never reach up into the title and the instructions.
void PlaceGridDown(AppContext& ctx, const GridSize& grid) {
  PageLayout& p = ctx.page;
  const long long highest = static_cast<long long>(p.HeaderBottom) + grid.line;
  switch (ctx.print.PuzzleVertical) {
    case VerticalPlace::Top: p.PuzzleTop = Store(highest); break;
    case VerticalPlace::Middle:
      p.PuzzleTop = Store(std::max<long long>(Nearest((p.PrintableHeight - p.GridHeight) / 2.0 + p.TopMargin), highest));
      break;
    case VerticalPlace::Bottom:
      p.PuzzleTop = Store(std::max<long long>(static_cast<long long>(p.PrintableHeight) - p.GridHeight + p.TopMargin,
                                              highest));
      break;
  }
  p.PuzzleBottom = Store(static_cast<long long>(p.PuzzleTop) + p.GridHeight);
  if (grid.columns > 0 && grid.rows > 0) ctx.printed.Puzzle = Block(p.PuzzleLeft, p.PuzzleTop, p.GridWidth, p.GridHeight);
}

// The letters, each centred across its cell and hanging from the cell's top. Returns
// the grid's top edge.
double DrawLetters(AppContext& ctx, Surface& page, const GridSize& grid) {
  const PageLayout& p = ctx.page;
  UseFont(page, ctx.fonts(kPuzzleFont), grid.points);
  page.CurrentY = p.PuzzleTop;
  const double grid_top = Nearest(page.CurrentY);
  for (int r = 1; r <= grid.rows; ++r) {
    for (int c = 1; c <= grid.columns; ++c) {
      const std::string& letter = ctx.state.Grid.At(r, c).Letter;
      if (letter.empty()) continue;
      page.CurrentX = Int((grid.cell - page.TextWidth(letter)) * 0.5) +
                      (static_cast<double>(c - 1) * grid.cell + p.PuzzleLeft);
      page.Print(letter);
    }
    page.CurrentY += grid.cell;
  }
  return grid_top;
}

// The frame round the grid: a box on the preview, four lines on a printer.
void DrawFrame(Surface& page, const PageLayout& p, const GridSize& grid, double grid_top, Run run) {
  page.SetDrawWidth(1);
  const double frame_right = static_cast<double>(grid.columns) * grid.cell + p.PuzzleLeft;
  const double frame_bottom = static_cast<double>(grid.rows) * grid.cell + grid_top;
  if (run == Run::Preview) {
    page.Box(p.PuzzleLeft, grid_top, frame_right, frame_bottom);
  } else {
    page.Line(p.PuzzleLeft, grid_top, frame_right, grid_top);
    page.Line(frame_right, grid_top, frame_right, frame_bottom);
    page.Line(frame_right, frame_bottom, p.PuzzleLeft, frame_bottom);
    page.Line(p.PuzzleLeft, frame_bottom, p.PuzzleLeft, grid_top);
  }
}

// A ring round every placed word. The outlines follow the print option; the main
// window's own outline flag stays as the main window's picture shows it.
void DrawOutlines(AppContext& ctx, Surface& page, const GridSize& grid, double grid_top) {
  const PuzzleState& s = ctx.state;
  page.SetForeColor(kBlack);
  // The full half width of "W": on paper the outline needs no gap to the cell edge.
  const double r = page.TextWidth("W") * 0.5;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Status != kStatusPlaced || word.Direction < 1 || word.Direction > kDirectionCount) continue;
    DrawWordOutline(page, word, ctx.page.PuzzleLeft, grid_top, grid.cell, r, s.Pi);
  }
}

// An answer key tells the hidden message: below the grid and the word list.
void DrawHiddenMessage(AppContext& ctx, Surface& page, double page_width) {
  const PageLayout& p = ctx.page;
  const double bottom = ctx.print.PrintWordList != 0 ? Max(p.PuzzleBottom, Nearest(page.CurrentY)) : p.PuzzleBottom;
  UseFont(page, ctx.fonts(kQuotationFont));
  page.CurrentY = bottom + LineHeight(page);
  PrintWrappedText(page, p.LeftMargin, Nearest(page_width - p.RightMargin),
                   std::string(kHiddenMessageCaption) + " " + ctx.state.MysteryQuote);
}

// The page from the top: the title, the grid fitted below it (and the instructions
// between), the letters in their frame, the outlines, the word list and, on an answer
// key, the hidden message.
void DrawPage(AppContext& ctx, Surface& page, Run run) {
  const PrintOptions& o = ctx.print;
  PagePrinted& printed = ctx.printed;
  printed = PagePrinted{};
  const int listed = CopyPlacedWordsToList(ctx.state);

  page.SetForeColor(kBlack);
  const double page_width = page.ScaleWidth();
  const double page_height = page.ScaleHeight();
  LayOutMargins(o, ctx.page, page_width, page_height);
  DrawTitle(ctx, page, page_width);
  const double below_title = page.CurrentY;
  const GridSize grid = FitGrid(ctx, page, page_width, below_title);
  printed.PuzzleSize = grid.points;
  page.CurrentY = below_title;
  if (o.PrintInstructions != 0) DrawInstructions(ctx, page, below_title, grid.line);
  PlaceGridDown(ctx, grid);

  const double grid_top = DrawLetters(ctx, page, grid);
  DrawFrame(page, ctx.page, grid, grid_top, run);
  if (o.OutlineWords != 0) DrawOutlines(ctx, page, grid, grid_top);
  const bool left_cleared = o.PrintWordList != 0 && DrawWordList(ctx, page, listed, page_height);
  if (o.OutlineWords != 0 && !Trim(ctx.state.MysteryQuote).empty()) DrawHiddenMessage(ctx, page, page_width);

  if (run == Run::Preview) {
    ShowUsedSize(ctx, kTitleFont, frmPrintOptions::cmdTitleFont, printed.TitleSize);
    ShowUsedSize(ctx, kPuzzleFont, frmPrintOptions::cmdPuzzleFont, printed.PuzzleSize);
    if (o.PrintWordList != 0) ShowUsedSize(ctx, kWordListFont, frmPrintOptions::cmdWordListFont, printed.ListSize);
  }
  // Only now, with the whole page drawn once: the dialog mirrors the cleared "Left",
  // which lays the page out again from the start (not while the printer draws).
  if (left_cleared) ctx.PrintOptionChangedByLayout(frmPrintOptions::chkLeft);
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
  WrapText(page, left, right, text, true);
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
