#include "print/Booklet.h"

#include <algorithm>
#include <vector>

#include "files/FileIO.h"
#include "model/Numbers.h"
#include "print/PageDrawing.h"
#include "print/PageFiles.h"

namespace kivrel {

PageArea::PageArea(Surface& base, double left, double top, double width, double height)
    : base_(base), left_(left), top_(top), width_(width), height_(height) {}

void PageArea::Scale(double width, double height) {
  user_x_ = width > 0 ? width_ / width : 1;
  user_y_ = height > 0 ? height_ / height : 1;
}

// The surface underneath draws and measures in this area's font, colour and pen.
void PageArea::Sync() {
  base_.SetFontName(FontName());
  base_.SetFontSize(FontSize());
  base_.SetFontBold(FontBold());
  base_.SetFontItalic(FontItalic());
  base_.SetForeColor(ForeColor());
  base_.SetDrawWidth(DrawWidth());
}

double PageArea::TextWidth(std::string_view text) {
  Sync();
  return base_.TextWidth(text) / user_x_;
}

double PageArea::TextHeight(std::string_view text) {
  Sync();
  return base_.TextHeight(text) / user_y_;
}

void PageArea::Line(double x1, double y1, double x2, double y2) {
  Sync();
  base_.Line(X(x1), Y(y1), X(x2), Y(y2));
}

void PageArea::Box(double x1, double y1, double x2, double y2) {
  Sync();
  base_.Box(X(x1), Y(y1), X(x2), Y(y2));
}

void PageArea::Arc(double x, double y, double radius, double start, double end) {
  Sync();
  base_.Arc(X(x), Y(y), radius * user_x_, start, end);
}

void PageArea::PrintRow(double y, std::span<const PlacedText> texts) {
  Sync();
  std::vector<PlacedText> moved(texts.begin(), texts.end());
  for (PlacedText& text : moved) text.X = X(text.X);
  base_.PrintRow(Y(y), moved);
}

void PageArea::DrawText(double x, double y, std::string_view text) {
  Sync();
  base_.CurrentX = X(x);
  base_.CurrentY = Y(y);
  base_.Print(text);
}

namespace {

constexpr double kFootPoints = 8;
constexpr int kFootFromBottom = 720;  // the foot's line sits half an inch above the paper's edge
constexpr int kKeyBandMargin = 720;   // the keys keep half an inch from the paper's edges,
constexpr int kKeyBandBottom = 1080;  // and three quarters at the bottom, clear of the foot
constexpr double kKeyTitlePoints = 12;
constexpr double kKeyMarginInches = 0.2;

int PagesFor(int items, int per_page) { return (items + per_page - 1) / per_page; }

int KeysPerPage(int asked) { return asked <= 2 ? 2 : 4; }

// The contents page's fonts and places, from the first puzzle's print settings.
struct ContentsLayout {
  int top = 0, left = 0, right = 0, first_row = 0, line = 0, rows_per_page = 1;
};

void UseContentsHeading(Surface& page, const FontRecord& title) {
  page.SetFontName(title.FontName);
  page.SetFontSize(title.Size);
  page.SetFontBold(title.Bold != 0);
  page.SetFontItalic(title.Italic != 0);
}

void UseContentsText(Surface& page, const FontRecord& list) {
  page.SetFontName(list.FontName);
  page.SetFontSize(list.Size);
  page.SetFontBold(false);
  page.SetFontItalic(false);
}

ContentsLayout LayOutContents(Surface& page, AppContext& first) {
  ContentsLayout c;
  c.top = MarginTwips(first.print.Margins[kTopMargin]);
  c.left = MarginTwips(first.print.Margins[kLeftMargin]);
  c.right = Nearest(page.ScaleWidth()) - MarginTwips(first.print.Margins[kRightMargin]);
  UseContentsHeading(page, first.fonts(kTitleFont));
  const int heading = Nearest(page.TextHeight("A"));
  UseContentsText(page, first.fonts(kWordListFont));
  c.line = Max(1, Nearest(page.TextHeight("A") * 1.5));
  c.first_row = c.top + 2 * heading;
  const int bottom = Nearest(page.ScaleHeight()) - MarginTwips(first.print.Margins[kBottomMargin]);
  c.rows_per_page = Max(1, (bottom - c.first_row) / c.line);
  return c;
}

void DrawFoot(Surface& page, int number, const std::string& left_text, int left) {
  page.SetFontName("Arial");
  page.SetFontSize(kFootPoints);
  page.SetFontBold(false);
  page.SetFontItalic(false);
  page.SetForeColor(kBlack);
  const std::string text = std::to_string(number);
  page.CurrentY = page.ScaleHeight() - kFootFromBottom - page.TextHeight("A") / 2;
  page.CurrentX = (page.ScaleWidth() - page.TextWidth(text)) / 2;
  page.Print(text);
  if (!left_text.empty()) {
    page.CurrentX = left;
    page.Print(left_text);
  }
}

void PrintRightAligned(Surface& page, double right, const std::string& text) {
  page.CurrentX = right - page.TextWidth(text);
  page.Print(text);
}

// One page of the contents: heading, then `rows` rows from `first_row` on, a row per
// puzzle (number, title, seed, page) and, after the last puzzle, the row of the answer
// keys.
void DrawContentsPage(Surface& page, const std::vector<BookletPuzzle>& puzzles, const BookletPlan& plan,
                      const ContentsLayout& c, int first_row, int rows) {
  AppContext& first = *puzzles.front().ctx;
  page.SetForeColor(kBlack);
  UseContentsHeading(page, first.fonts(kTitleFont));
  const std::string heading = "Contents";
  page.CurrentX = (c.left + c.right - page.TextWidth(heading)) / 2;
  page.CurrentY = c.top;
  page.Print(heading);
  UseContentsText(page, first.fonts(kWordListFont));
  const int count = static_cast<int>(puzzles.size());
  const int number_width = Nearest(page.TextWidth("0000  "));
  const int seed_right = c.right - Nearest(page.TextWidth("00000"));
  for (int row = 0; row < rows; ++row) {
    const int n = first_row + row;  // 0-based: the puzzles, then the keys' row
    if (n > count) break;
    page.CurrentY = c.first_row + row * c.line;
    if (n == count) {
      page.CurrentX = c.left + number_width;
      page.Print("Answer keys");
      PrintRightAligned(page, c.right, std::to_string(plan.FirstKeyPage));
      break;
    }
    PrintRightAligned(page, c.left + number_width - page.TextWidth("  "), std::to_string(n + 1) + ".");
    page.CurrentX = c.left + number_width;
    page.Print(puzzles[static_cast<std::size_t>(n)].Title);
    PrintRightAligned(page, seed_right, "seed " + std::to_string(puzzles[static_cast<std::size_t>(n)].Seed));
    PrintRightAligned(page, c.right, std::to_string(plan.FirstPuzzlePage + n));
  }
}

// Puzzle n's answer key in an area of a key page: its title and its grid, the words
// outlined, in a layout of the area's own size. The program is as it was afterwards.
void DrawKey(AppContext& ctx, int number, Surface& area) {
  Form& attributes = ctx.AttributesForm();
  const std::string title = attributes.Text(frmAttributes::txtPuzName);
  const FontTable fonts = ctx.fonts;
  const PageLayout layout = ctx.page;
  attributes.SetText(frmAttributes::txtPuzName, KeyTitle(number, title));
  WithAnswerKey(ctx, [&] {
    PrintOptions& o = ctx.print;
    o.PrintWordList = 0;
    o.PrintInstructions = 0;
    o.TitleAlign = Align::Center;
    o.PuzzleHorizontal = Align::Center;
    o.PuzzleVertical = VerticalPlace::Top;
    o.Left = 0;
    for (std::string& margin : o.Margins) margin = FormatMargin(kKeyMarginInches) + std::string(kInchMark);
    ctx.fonts(kTitleFont).Size = static_cast<i16>(kKeyTitlePoints);
    DrawPrinterPage(ctx, area);
  });
  attributes.SetText(frmAttributes::txtPuzName, title);
  ctx.fonts = fonts;
  ctx.page = layout;
}

}  // namespace

std::string KeyTitle(int number, const std::string& title) {
  std::string text = "Key " + std::to_string(number);
  return title.empty() ? text : text + ": " + title;
}

BookletPlan PlanBooklet(Surface& page, const std::vector<BookletPuzzle>& puzzles, int keys_per_page) {
  BookletPlan plan;
  const int count = static_cast<int>(puzzles.size());
  if (count > kContentsAfter) {
    // A row per puzzle and one for the keys; the contents may take more than a page.
    plan.ContentsPages = PagesFor(count + 1, LayOutContents(page, *puzzles.front().ctx).rows_per_page);
  }
  plan.FirstPuzzlePage = plan.ContentsPages + 1;
  plan.FirstKeyPage = plan.FirstPuzzlePage + count;
  plan.PageCount = plan.FirstKeyPage - 1 + PagesFor(count, KeysPerPage(keys_per_page));
  return plan;
}

void DrawBooklet(const std::vector<BookletPuzzle>& puzzles, Surface& page, int keys_per_page,
                 const std::function<void()>& new_page, const BookletHooks& hooks) {
  if (puzzles.empty()) return;
  const int count = static_cast<int>(puzzles.size());
  keys_per_page = KeysPerPage(keys_per_page);
  page.Scale(Nearest(page.ScaleWidth()), Nearest(page.ScaleHeight()));
  // Puzzles are ready in their order: none is read before it, each once it is.
  std::size_t ready = 0;
  auto ready_to = [&](std::size_t index) {
    for (; ready <= index; ++ready) {
      if (hooks.Ready) hooks.Ready(ready);
    }
  };
  ready_to(0);
  AppContext& first = *puzzles.front().ctx;
  const ContentsLayout contents = LayOutContents(page, first);
  const BookletPlan plan = PlanBooklet(page, puzzles, keys_per_page);
  const int left = MarginTwips(first.print.Margins[kLeftMargin]);

  int number = 0;
  auto next_page = [&] {
    if (number > 0) new_page();
    ++number;
    if (hooks.OnPage) hooks.OnPage(number, plan.PageCount);
  };

  // The rows shared evenly among the contents pages, so that the last holds more than
  // the answer keys' row.
  const int rows = plan.ContentsPages > 0 ? PagesFor(count + 1, plan.ContentsPages) : 0;
  for (int p = 0; p < plan.ContentsPages; ++p) {
    next_page();
    DrawContentsPage(page, puzzles, plan, contents, p * rows, rows);
    DrawFoot(page, number, "", left);
  }
  for (int n = 0; n < count; ++n) {
    ready_to(static_cast<std::size_t>(n));
    next_page();
    const BookletPuzzle& puzzle = puzzles[static_cast<std::size_t>(n)];
    DrawPaperPage(*puzzle.ctx, page);
    DrawFoot(page, number, "Puzzle " + std::to_string(n + 1) + ", seed " + std::to_string(puzzle.Seed), left);
  }

  // The keys in a band clear of the paper's edges and of the foot: four in two columns
  // and two rows, or two one above the other, in the order of the puzzles.
  const double band_left = kKeyBandMargin;
  const double band_top = kKeyBandMargin;
  const double band_width = page.ScaleWidth() - 2 * kKeyBandMargin;
  const double band_height = page.ScaleHeight() - kKeyBandMargin - kKeyBandBottom;
  const int across = keys_per_page == 4 ? 2 : 1;
  const double key_width = band_width / across;
  const double key_height = band_height / 2;
  for (int n = 0; n < count; ++n) {
    const int slot = n % keys_per_page;
    if (slot == 0) next_page();
    PageArea area(page, band_left + (slot % across) * key_width, band_top + (slot / across) * key_height, key_width,
                  key_height);
    DrawKey(*puzzles[static_cast<std::size_t>(n)].ctx, n + 1, area);
    if (slot == keys_per_page - 1 || n == count - 1) DrawFoot(page, number, "", left);
  }
}

FileResult<BookletPlan> WriteBooklet(PageFileDevice& device, const std::string& path,
                                     const std::vector<BookletPuzzle>& puzzles, int keys_per_page,
                                     const BookletHooks& hooks) {
  BookletPlan plan;
  if (!puzzles.empty() && hooks.Ready) hooks.Ready(0);  // the paper is the first puzzle's
  FileResult<std::string> bytes =
      DrawDocument(device, PageFormat::Pdf, puzzles.empty() ? kLetterPaper : puzzles.front().ctx->print.Paper,
                   "Kivrel puzzles", path, [&](Surface& page, const std::function<void()>& new_page) {
                     page.Scale(Nearest(page.ScaleWidth()), Nearest(page.ScaleHeight()));
                     plan = PlanBooklet(page, puzzles, keys_per_page);
                     DrawBooklet(puzzles, page, keys_per_page, new_page, hooks);
                   });
  if (!bytes) return bytes.Error();
  if (FileResult<void> saved = SaveFileAtomically(path, *bytes); !saved) return saved.Error();
  return plan;
}

}  // namespace kivrel
