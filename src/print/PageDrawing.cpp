#include "print/PageDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "controls/PrintOptionsControls.h"
#include "display/GridViews.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "program/LetterCase.h"

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

// The sizes a block may be drawn in, from `chosen` down a point at a time to `smallest`
// (never below 1, nor above `chosen`), as the surface really draws them: the first for
// which `fits` holds, or nothing. The surface is left at the last size tried.
template <typename Fits>
std::optional<double> LargestFitting(Surface& page, double chosen, double smallest, Fits fits) {
  chosen = std::max(chosen, 1.0);
  smallest = std::clamp(smallest, 1.0, chosen);
  double tried = -1;
  for (double asked = chosen;; asked = std::max(asked - 1, smallest)) {
    page.SetFontSize(asked);
    if (page.FontSize() != tried) {  // a device may draw two asked sizes alike
      tried = page.FontSize();
      if (fits(tried)) return tried;
    }
    if (asked <= smallest) return std::nullopt;
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

// The page being laid out: its size, and the placed words the list prints.
struct Sheet {
  AppContext& ctx;
  Surface& page;
  double width;
  double height;
  int listed;  // entries of the list copy
  Run run;
  double kept_below = 0;  // room above the bottom margin that the grid and the list leave free
};

// The margins, and the printable area between them.
void LayOutMargins(const Sheet& sheet) {
  const PrintOptions& o = sheet.ctx.print;
  PageLayout& p = sheet.ctx.page;
  p.LeftMargin = Store(MarginTwips(o.Margins[kLeftMargin]));
  p.RightMargin = Store(MarginTwips(o.Margins[kRightMargin]));
  p.TopMargin = Store(MarginTwips(o.Margins[kTopMargin]));
  p.BottomMargin = Store(MarginTwips(o.Margins[kBottomMargin]));
  p.PrintableWidth = Store(Nearest(sheet.width - p.LeftMargin - p.RightMargin));
  p.PrintableHeight = Store(Nearest(sheet.height - p.TopMargin - p.BottomMargin));
}

// ---------------------------------------------------------------------------------
// The title

struct TitleLine {
  std::string text;
  int width = 0;
};

// The title as one line, or as two when one is wider than `width`: split at the blank
// that makes the wider of the two lines narrowest.
std::vector<TitleLine> TitleLines(Surface& page, const std::string& title, int width) {
  std::vector<TitleLine> one{{title, CharacterWidthSum(page, title)}};
  if (one[0].width <= width) return one;
  std::vector<TitleLine> best = one;
  int best_width = one[0].width;
  for (std::size_t blank = title.find(' '); blank != std::string::npos; blank = title.find(' ', blank + 1)) {
    const std::string first = Trim(title.substr(0, blank));
    const std::string second = Trim(title.substr(blank + 1));
    if (first.empty() || second.empty()) continue;
    const int first_width = CharacterWidthSum(page, first);
    const int second_width = CharacterWidthSum(page, second);
    if (Max(first_width, second_width) < best_width) {
      best = {{first, first_width}, {second, second_width}};
      best_width = Max(first_width, second_width);
    }
  }
  return best;
}

int Widest(const std::vector<TitleLine>& lines) {
  int widest = 0;
  for (const TitleLine& line : lines) widest = Max(widest, line.width);
  return widest;
}

// The title at the top margin: on one line at the chosen size when it fits, else on two
// lines, else on two lines a point smaller at a time until they fit. Leaves CurrentY
// below its last line.
void DrawTitle(const Sheet& sheet) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  PageLayout& p = ctx.page;
  const std::string title = ctx.AttributesForm().Text(frmAttributes::txtPuzName);
  const FontRecord& title_font = ctx.fonts(kTitleFont);
  UseFont(page, title_font);
  std::vector<TitleLine> lines;
  LargestFitting(page, title_font.Size, 1, [&](double) {
    lines = TitleLines(page, title, p.PrintableWidth);
    return Widest(lines) <= p.PrintableWidth;
  });
  ctx.printed.TitleSize = page.FontSize();
  const int line = LineHeight(page);
  p.TitleWidth = Store(Widest(lines));
  p.TitleHeight = Store(line);
  double left_most = sheet.width;
  page.CurrentY = p.TopMargin;
  for (const TitleLine& title_line : lines) {
    switch (ctx.print.TitleAlign) {
      case Align::Left:
        page.CurrentX = p.LeftMargin;
        break;
      case Align::Right:
        page.CurrentX = sheet.width - p.RightMargin - title_line.width;
        break;
      case Align::Center:
        page.CurrentX = Int((p.PrintableWidth - title_line.width) / 2.0) + p.LeftMargin;
        break;
    }
    left_most = std::min(left_most, page.CurrentX);
    page.Print(title_line.text);
    page.CurrentY += line;
  }
  p.TitleX = Store(Nearest(left_most));
  p.HeaderBottom = Store(Nearest(page.CurrentY));
  if (!title.empty()) {
    ctx.printed.Title = Block(p.TitleX, p.TopMargin, p.TitleWidth, static_cast<double>(line) * lines.size());
  }
}

// ---------------------------------------------------------------------------------
// The instructions

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

// Wraps text as PrintWrappedText says; draws it only when `draw` (otherwise it only
// moves the current position, to measure).
void WrapText(Surface& page, int left, int right, std::string_view text, bool draw) {
  const int space = Nearest(page.TextWidth(" "));
  const int line = LineHeight(page);
  page.CurrentX = left;
  bool first = true;
  std::size_t pos = 0;
  for (;;) {
    // The blanks before the next word: tabs count as blanks; a line break (CR LF, LF or
    // CR) between two words starts a new line, and an empty line between them a new
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
    if (breaks > 0 && !first) {
      page.CurrentX = left;
      page.CurrentY += (breaks >= 2 ? 2.0 : 1.0) * line;
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

// The instructions from `top` (below the title), after a blank line, in the band of the
// grid as placed across: drawn, or only measured. Sets HeaderBottom below them and a
// blank line; returns their line height.
int LayOutInstructions(const Sheet& sheet, double top, bool draw) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  PageLayout& p = ctx.page;
  UseFont(page, ctx.fonts(kInstructionsFont));
  const int line = LineHeight(page);
  InstructionBand(ctx.print, p, sheet.width);
  page.CurrentY = top + line;  // a blank line under the title
  p.InstructionsTop = Store(Nearest(page.CurrentY));
  WrapText(page, p.InstructionsLeft, p.InstructionsRight, ctx.state.PuzzleInstructions, draw);
  p.HeaderBottom = Store(Nearest(page.CurrentY + line));
  p.InstructionsHeight = Store(static_cast<long long>(p.HeaderBottom) - p.InstructionsTop);
  return line;
}

// ---------------------------------------------------------------------------------
// The grid

// The grid's letters and cells as they will be drawn.
struct GridSize {
  int columns = 0;
  int rows = 0;
  int cell = 0;         // the height of "A" in the puzzle font
  double points = 0;    // the puzzle font's size, as the surface draws it
  long long width = 0;  // columns x cell
  long long height = 0;
  bool fits = false;  // within the printable width, and down to the bottom margin
  int line = 0;       // the line height of the block above the grid, the gap below it
};

// The grid in the puzzle font at `points`, placed across and down the page below the
// title (`below_title`) and the instructions, which wrap in a band that follows the
// grid's width. Sets the grid's and the instructions' places in the page layout.
GridSize PlaceGrid(const Sheet& sheet, double below_title, double points) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  PageLayout& p = ctx.page;
  const PrintOptions& o = ctx.print;
  GridSize grid;
  grid.columns = ctx.state.Grid.Width();
  grid.rows = ctx.state.Grid.Height();
  UseFont(page, ctx.fonts(kPuzzleFont), points);
  grid.points = page.FontSize();
  grid.cell = LineHeight(page);
  grid.width = static_cast<long long>(grid.cell) * grid.columns;
  grid.height = static_cast<long long>(grid.cell) * grid.rows;

  p.GridWidth = Store(grid.width);
  p.GridHeight = Store(grid.height);
  switch (o.PuzzleHorizontal) {
    case Align::Left:
      p.PuzzleLeft = p.LeftMargin;
      break;
    case Align::Right:
      p.PuzzleLeft = Store(Nearest(sheet.width - p.RightMargin - p.GridWidth));
      break;
    case Align::Center:
      p.PuzzleLeft = Store(Nearest((p.PrintableWidth - p.GridWidth) / 2.0 + p.LeftMargin));
      break;
  }
  p.PuzzleRight = Store(static_cast<long long>(p.PuzzleLeft) + p.GridWidth);

  grid.line = grid.cell;
  p.HeaderBottom = Store(Nearest(below_title));
  if (ctx.print.PrintInstructions != 0) grid.line = LayOutInstructions(sheet, below_title, false);

  // Down the page: the middle and bottom places look at the margins, but never reach
  // up into the title and the instructions.
  const long long highest = static_cast<long long>(p.HeaderBottom) + grid.line;
  const long long page_bottom = static_cast<long long>(p.TopMargin) + p.PrintableHeight - Nearest(sheet.kept_below);
  switch (o.PuzzleVertical) {
    case VerticalPlace::Top:
      p.PuzzleTop = Store(highest);
      break;
    case VerticalPlace::Middle:
      p.PuzzleTop = Store(std::max<long long>(
          Nearest((p.PrintableHeight - sheet.kept_below - p.GridHeight) / 2.0 + p.TopMargin), highest));
      break;
    case VerticalPlace::Bottom:
      p.PuzzleTop = Store(std::max(page_bottom - grid.height, highest));
      break;
  }
  p.PuzzleBottom = Store(static_cast<long long>(p.PuzzleTop) + p.GridHeight);
  grid.fits = grid.width <= p.PrintableWidth && highest + grid.height <= page_bottom;
  return grid;
}

// The letters, each centred across its cell and hanging from the cell's top, a row at
// a time. Returns the grid's top edge.
double DrawLetters(const Sheet& sheet, const GridSize& grid) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  const PageLayout& p = ctx.page;
  UseFont(page, ctx.fonts(kPuzzleFont), grid.points);
  const double grid_top = p.PuzzleTop;
  std::vector<PlacedText> row;
  row.reserve(static_cast<std::size_t>(grid.columns));
  std::vector<std::string> shown(static_cast<std::size_t>(grid.columns));  // the row's letters, as shown
  for (int r = 1; r <= grid.rows; ++r) {
    row.clear();
    for (int c = 1; c <= grid.columns; ++c) {
      const std::string& cell = ctx.state.Grid.At(r, c).Letter;
      if (cell.empty() || cell == " ") continue;  // nothing to see
      const std::string& letter = shown[static_cast<std::size_t>(c - 1)] = ShownLetters(ctx, cell);
      row.push_back(
          {Int((grid.cell - page.TextWidth(letter)) * 0.5) + (static_cast<double>(c - 1) * grid.cell + p.PuzzleLeft),
           letter});
    }
    page.PrintRow(grid_top + static_cast<double>(r - 1) * grid.cell, row);
  }
  return grid_top;
}

// The frame round the grid: a box on the preview, four lines on a printer.
void DrawFrame(const Sheet& sheet, const GridSize& grid, double grid_top) {
  Surface& page = sheet.page;
  const PageLayout& p = sheet.ctx.page;
  page.SetDrawWidth(1);
  const double frame_right = static_cast<double>(grid.columns) * grid.cell + p.PuzzleLeft;
  const double frame_bottom = static_cast<double>(grid.rows) * grid.cell + grid_top;
  if (sheet.run == Run::Preview) {
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
void DrawOutlines(const Sheet& sheet, const GridSize& grid, double grid_top) {
  const PuzzleState& s = sheet.ctx.state;
  Surface& page = sheet.page;
  page.SetForeColor(kBlack);
  // The half width of "W": on paper the outline needs no gap to the cell edge. But a
  // ring stays inside its cells, a pen's width clear of their edges, so that a word
  // along the grid's edge keeps off the frame in a wide or small font.
  constexpr double kPenTwips = 15;  // a pen of width 1: 1/96 inch
  const double r = std::max(std::min(page.TextWidth("W") * 0.5, grid.cell * 0.5 - kPenTwips), grid.cell * 0.25);
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Status != kStatusPlaced || word.Direction < 1 || word.Direction > kDirectionCount) continue;
    DrawWordOutline(page, word, sheet.ctx.page.PuzzleLeft, grid_top, grid.cell, r, s.Pi);
  }
}

// ---------------------------------------------------------------------------------
// The word list

void PrintHeader(Surface& page, int count) {
  page.SetFontBold(false);
  page.Print(WordListHeader(count));
}

// What the list measures at one size of the word-list font.
struct ListMetrics {
  double points = 0;
  int line = 0;
  int em = 0;      // the font's size in twips: the least gap between two columns
  int widest = 0;  // the widest entry, brackets left out
  int header = 0;  // the header line, in the regular weight
};

// Entry k of the list copy, as the list shows it.
std::string ListedEntry(AppContext& ctx, int k) {
  return ShownLetters(ctx, ctx.state.Words[static_cast<std::size_t>(k)].ListDisplayText);
}

ListMetrics MeasureList(const Sheet& sheet) {
  Surface& page = sheet.page;
  ListMetrics m;
  m.points = page.FontSize();
  m.line = LineHeight(page);
  m.em = Nearest(m.points * 20);
  for (int k = 1; k <= sheet.listed; ++k) {
    m.widest = Max(m.widest, CharacterWidthSum(page, ListedEntry(sheet.ctx, k), true));
  }
  page.SetFontBold(false);
  m.header = CharacterWidthSum(page, WordListHeader(sheet.listed));
  page.SetFontBold(true);
  return m;
}

// Where the word list goes at one size of its font, with the grid where it now is.
struct ListPlan {
  ListMetrics metrics;
  bool side = false;         // beside the puzzle
  long long side_width = 0;  // the entries' column, or the header when it is wider
  int side_count = 0;        // entries beside it
  double side_end = 0;       // the bottom of the side list's last line
  int columns = 1;           // the rest in columns across the page
  int step = 0;
  int rows = 0;
  double column_top = 0;  // the first row of the columns
  double bottom = 0;      // the bottom of the list's last line
  bool fits = true;       // above the bottom margin (or the grid below it), within the margins
};

ListPlan PlanWordList(const Sheet& sheet, const ListMetrics& m) {
  const PageLayout& p = sheet.ctx.page;
  const PrintOptions& o = sheet.ctx.print;
  const int listed = sheet.listed;
  ListPlan plan;
  plan.metrics = m;
  const int line = m.line;
  // Beside the puzzle when asked and there is room for the entries and for the header
  // above them, a line apart from the grid; never with the list above the puzzle, where
  // the side list would run past the grid's bottom into the bottom margin.
  plan.side_width = Max(static_cast<long long>(m.widest) + line, m.header);
  plan.side = o.Left != 0 && o.Above == 0 && p.PuzzleLeft - p.LeftMargin >= plan.side_width;
  double y = p.PuzzleTop;
  if (plan.side) {
    // Entries go on until the line below one starts past the grid's bottom plus a line.
    y += line;
    plan.side_count = listed;
    for (int k = 1; k <= listed; ++k) {
      y += line;
      if (y > p.PuzzleBottom + line) {
        plan.side_count = k;
        break;
      }
    }
    plan.side_end = plan.bottom = y;
  }
  if (plan.side_count < listed) {
    if (o.Above != 0) {
      y = p.HeaderBottom + line;
    } else if (!plan.side) {
      y = p.PuzzleBottom + 2.0 * line;
    }  // else the columns go on where the side list ended
    plan.column_top = Nearest(y);
    // As many columns as the page holds with at least an em between two of them, and
    // at least one, however wide an entry is; they share the printable width.
    plan.columns = Max(1, static_cast<int>(p.PrintableWidth / std::max(1LL, static_cast<long long>(m.widest) + m.em)));
    plan.step = Nearest(static_cast<double>(p.PrintableWidth) / plan.columns);
    plan.rows = (listed - plan.side_count - 1) / plan.columns + 1;
    plan.bottom = plan.column_top + static_cast<double>(plan.rows) * line;
    // An entry wider than the page would run past the margin.
    if (m.widest > p.PrintableWidth) plan.fits = false;
  }
  // A list above the puzzle ends a line above the grid; any other at the bottom margin.
  const double limit = o.Above != 0 ? p.PuzzleTop - line : sheet.height - p.BottomMargin - sheet.kept_below;
  if (plan.bottom > limit) plan.fits = false;
  return plan;
}

// The word list's sizes, measured once each and kept while one page is laid out.
class ListSizes {
 public:
  explicit ListSizes(const Sheet& sheet) : sheet_(sheet), font_(sheet.ctx.fonts(kWordListFont)) {}

  // The plan at the largest size from the chosen one down to the smallest legible one
  // (or `only` alone) that fits with the grid as it is placed now, or nothing.
  std::optional<ListPlan> Fit(std::optional<double> only = std::nullopt) {
    Surface& page = sheet_.page;
    UseFont(page, font_);
    const double chosen = only.value_or(font_.Size);
    const double smallest = only.value_or(std::min<double>(font_.Size, kSmallestListSize));
    std::optional<ListPlan> plan;
    LargestFitting(page, chosen, smallest, [&](double points) {
      plan = PlanWordList(sheet_, Metrics(points));
      return plan->fits;
    });
    if (plan && !plan->fits) plan.reset();
    return plan;
  }

 private:
  const ListMetrics& Metrics(double points) {
    for (const ListMetrics& m : known_) {
      if (m.points == points) return m;
    }
    return known_.emplace_back(MeasureList(sheet_));
  }

  const Sheet& sheet_;
  const FontRecord& font_;
  std::vector<ListMetrics> known_;
};

// The word list as planned: beside the puzzle when "Left" is chosen and there is room,
// the rest (or all) in columns across the page. Returns whether the layout cleared
// "Left".
bool DrawWordList(const Sheet& sheet, const ListPlan& plan) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  PuzzleState& s = ctx.state;
  PageLayout& p = ctx.page;
  PagePrinted& printed = ctx.printed;
  const int listed = sheet.listed;
  UseFont(page, ctx.fonts(kWordListFont), plan.metrics.points);
  printed.ListSize = page.FontSize();
  for (int k = 1; k <= listed; ++k) {
    WordRecord& entry = s.Words[static_cast<std::size_t>(k)];
    entry.ListWidth = Store(CharacterWidthSum(page, ListedEntry(ctx, k), true));
  }
  const int line = plan.metrics.line;
  p.ListColumnWidth = Store(static_cast<long long>(plan.metrics.widest) + line);

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
      PrintListEntry(page, ListedEntry(ctx, k));
      page.CurrentY += line;
    }
    printed.SideList =
        Block(p.SideListX, p.PuzzleTop, static_cast<double>(plan.side_width), plan.side_end - p.PuzzleTop);
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
      PrintListEntry(page, ListedEntry(ctx, n));
    }
    page.CurrentY += line;
  }
  return left_cleared;
}

// ---------------------------------------------------------------------------------
// The grid and the list together

// The sizes of the grid and the word list on this page. The grid takes the largest size
// up to the chosen one that fits below the title and the instructions; the list then
// takes the largest that fits, down to the smallest legible size. When even that does
// not fit, the grid is made smaller for it, down to its own smallest size; when that
// does not help either, the list is left off and the grid keeps its size. With "Fill
// the page" the grid then grows as long as a legible list keeps its place (beside the
// grid or below it) and fits, in the largest size that does.
struct PageFit {
  GridSize grid;
  std::optional<ListPlan> list;
};

PageFit FitGridAndList(const Sheet& sheet, double below_title) {
  AppContext& ctx = sheet.ctx;
  const double chosen = std::max<double>(ctx.fonts(kPuzzleFont).Size, 1.0);
  constexpr double kLargestGridSize = 999;
  auto place = [&](double points) { return PlaceGrid(sheet, below_title, points); };
  // The next size a point up or down that the surface draws otherwise than the grid's
  // (a device may draw two asked sizes alike), kept between 1 and the largest.
  auto next_size = [&](const GridSize& grid, double step) {
    for (double asked = grid.points + step;; asked += step) {
      if (asked <= 1 || asked >= kLargestGridSize) return std::clamp(asked, 1.0, kLargestGridSize);
      sheet.page.SetFontSize(asked);
      if (sheet.page.FontSize() != grid.points) return asked;
    }
  };

  PageFit fit;
  fit.grid = place(chosen);
  while (!fit.grid.fits && fit.grid.points > 1) fit.grid = place(next_size(fit.grid, -1));
  const bool list_wanted = ctx.print.PrintWordList != 0;
  ListSizes list(sheet);
  if (list_wanted) fit.list = list.Fit();

  if (list_wanted && !fit.list) {
    // Room for a legible list, from the grid's size down to its smallest.
    const GridSize largest = fit.grid;
    const double smallest = std::min(chosen, kSmallestGridSize);
    for (GridSize grid = largest; grid.points > smallest && !fit.list;) {
      grid = place(next_size(grid, -1));
      if (grid.points < smallest) break;
      if (grid.fits) {
        fit.list = list.Fit();
        if (fit.list) fit.grid = grid;
      }
    }
    if (!fit.list) fit.grid = place(largest.points);  // no list: the grid as it was
  }

  if (ctx.print.FillPage != 0 && fit.grid.fits && fit.grid.points >= chosen) {
    // Larger while the page holds the grid and a legible list (the largest that fits),
    // in the same place.
    for (GridSize grid = fit.grid; grid.points < kLargestGridSize;) {
      grid = place(next_size(grid, 1));
      if (!grid.fits) break;
      if (fit.list) {
        std::optional<ListPlan> still = list.Fit();
        if (!still || still->side != fit.list->side) break;
        fit.list = still;
      }
      fit.grid = grid;
    }
    fit.grid = place(fit.grid.points);
    if (fit.list) fit.list = list.Fit();
  }
  return fit;
}

// ---------------------------------------------------------------------------------

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

// An answer key tells the hidden message: below the grid and the word list.
bool TellsHiddenMessage(const AppContext& ctx) {
  return ctx.print.OutlineWords != 0 && !Trim(ctx.state.MysteryQuote).empty();
}

// Wraps the hidden message from the current position, a line below it; draws it only
// when `draw`.
void WrapHiddenMessage(const Sheet& sheet, bool draw) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  const PageLayout& p = ctx.page;
  UseFont(page, ctx.fonts(kQuotationFont));
  page.CurrentY += LineHeight(page);
  WrapText(page, p.LeftMargin, Nearest(sheet.width - p.RightMargin),
           std::string(kHiddenMessageCaption) + " " + ctx.state.MysteryQuote, draw);
}

// The room the message takes below the list: its lines and the blank line above them.
double HiddenMessageHeight(const Sheet& sheet) {
  Surface& page = sheet.page;
  const double x = page.CurrentX, y = page.CurrentY;
  page.CurrentY = 0;
  WrapHiddenMessage(sheet, false);
  const double height = page.CurrentY + LineHeight(page);
  page.CurrentX = x;
  page.CurrentY = y;
  return height;
}

void DrawHiddenMessage(const Sheet& sheet) {
  const AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  const PageLayout& p = ctx.page;
  page.CurrentY = ctx.print.PrintWordList != 0 ? Max(p.PuzzleBottom, Nearest(page.CurrentY)) : p.PuzzleBottom;
  WrapHiddenMessage(sheet, true);
}

// The page from the top: the title, the grid and the word list fitted below it (and the
// instructions between), the letters in their frame, the outlines, the word list and,
// on an answer key, the hidden message.
void DrawPage(Sheet sheet) {
  AppContext& ctx = sheet.ctx;
  Surface& page = sheet.page;
  const PrintOptions& o = ctx.print;
  PagePrinted& printed = ctx.printed;
  printed = PagePrinted{};
  sheet.listed = CopyPlacedWordsToList(ctx.state);

  page.SetForeColor(kBlack);
  LayOutMargins(sheet);
  if (TellsHiddenMessage(ctx)) sheet.kept_below = HiddenMessageHeight(sheet);
  DrawTitle(sheet);
  const double below_title = page.CurrentY;
  const PageFit fit = FitGridAndList(sheet, below_title);
  const GridSize& grid = fit.grid;
  printed.PuzzleSize = grid.points;
  if (ctx.print.PrintInstructions != 0) {
    LayOutInstructions(sheet, below_title, true);
    if (ctx.state.PuzzleInstructions.find_first_not_of(" \t\r\n") != std::string::npos) {
      const PageLayout& p = ctx.page;
      printed.Instructions =
          Block(p.InstructionsLeft, p.InstructionsTop, p.InstructionsRight - p.InstructionsLeft, p.InstructionsHeight);
    }
  }
  if (grid.columns > 0 && grid.rows > 0) {
    const PageLayout& p = ctx.page;
    printed.Puzzle = Block(p.PuzzleLeft, p.PuzzleTop, p.GridWidth, p.GridHeight);
  }

  const double grid_top = DrawLetters(sheet, grid);
  DrawFrame(sheet, grid, grid_top);
  if (o.OutlineWords != 0) DrawOutlines(sheet, grid, grid_top);
  bool left_cleared = false;
  if (o.PrintWordList != 0) {
    printed.ListFits = fit.list.has_value();
    if (fit.list) {
      left_cleared = DrawWordList(sheet, *fit.list);
    } else {
      printed.ListSize = std::min<double>(ctx.fonts(kWordListFont).Size, kSmallestListSize);
    }
  }
  if (TellsHiddenMessage(ctx)) DrawHiddenMessage(sheet);

  if (sheet.run == Run::Preview) {
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

void PrintListEntry(Surface& page, std::string_view text) {
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
  const PaperSize& paper = ctx.print.Paper;
  DrawPage({ctx, *ctx.preview, static_cast<double>(paper.Width), static_cast<double>(paper.Height), 0, Run::Preview});
}

namespace {

// The page on a printer or a sheet of `width` x `height` twips, which the surface's
// coordinates are made to cover.
void DrawPrintedPage(AppContext& ctx, Surface& surface, double width, double height) {
  struct Printing {
    PuzzleState& s;
    explicit Printing(PuzzleState& state) : s(state) { s.PrintingInProgress = kTrue; }
    ~Printing() { s.PrintingInProgress = kFalse; }
  } printing(ctx.state);
  surface.Scale(width, height);
  DrawPage({ctx, surface, width, height, 0, Run::Printer});
}

}  // namespace

void DrawPrinterPage(AppContext& ctx, Surface& printer) {
  // The printer's own coordinates: its printable area in whole twips.
  DrawPrintedPage(ctx, printer, Nearest(printer.ScaleWidth()), Nearest(printer.ScaleHeight()));
}

void DrawPaperPage(AppContext& ctx, Surface& sheet) {
  DrawPrintedPage(ctx, sheet, ctx.print.Paper.Width, ctx.print.Paper.Height);
}

}  // namespace kivrel
