#pragma once
// A booklet: several built puzzles in one paged document, for a class or a term. A
// contents page when there are more than four puzzles, then one page per puzzle exactly
// as it prints, then the answer keys, two or four to a page, each titled "Key n" after
// its puzzle's number. Every page carries its number at the foot, and each puzzle page
// its seed in small type, so that any puzzle can be made again.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/FileResult.h"
#include "platform/PageFileDevice.h"
#include "platform/Surface.h"
#include "program/AppContext.h"

namespace kivrel {

/// A rectangle of another surface used as a page of its own: what is drawn at (x, y)
/// lands at (left + x, top + y) underneath, in the same size, and text is measured on
/// the surface underneath. Clearing it clears nothing (the page holds other areas).
class PageArea : public Surface {
 public:
  PageArea(Surface& base, double left, double top, double width, double height);

  double ScaleWidth() const override { return width_ / user_x_; }
  double ScaleHeight() const override { return height_ / user_y_; }
  void Scale(double width, double height) override;
  double TextWidth(std::string_view text) override;
  double TextHeight(std::string_view text) override;
  void Line(double x1, double y1, double x2, double y2) override;
  void Box(double x1, double y1, double x2, double y2) override;
  void Arc(double x, double y, double radius, double start, double end) override;
  void Cls() override {}
  void PrintRow(double y, std::span<const PlacedText> texts) override;

 protected:
  void DrawText(double x, double y, std::string_view text) override;

 private:
  void Sync();
  double X(double x) const { return left_ + x * user_x_; }
  double Y(double y) const { return top_ + y * user_y_; }

  Surface& base_;
  double left_, top_, width_, height_;
  double user_x_ = 1;  // units underneath per unit of the area
  double user_y_ = 1;
};

/// One puzzle of a booklet: its program, built and with the print options set, the
/// seed it was built from, and its title as the contents list it.
struct BookletPuzzle {
  AppContext* ctx = nullptr;
  std::uint64_t Seed = 0;
  std::string Title;
};

/// What drawing a booklet tells its caller, and waits for; either may be empty.
struct BookletHooks {
  /// Before page `page` of `pages` is drawn.
  std::function<void(int page, int pages)> OnPage;
  /// Before the program of puzzle `index` (from 0) is read, in the order of the puzzles
  /// (the first may be asked for more than once): a caller still building them waits
  /// here for that one.
  std::function<void(std::size_t index)> Ready;
};

/// More puzzles than this get a contents page.
inline constexpr int kContentsAfter = 4;

/// Where the parts of a booklet fall; pages count from 1.
struct BookletPlan {
  int ContentsPages = 0;
  int FirstPuzzlePage = 1;
  int FirstKeyPage = 1;
  int PageCount = 0;
};

/// The plan for the puzzles with keys_per_page (2 or 4) keys to a page, on pages the
/// size of `page` in its current units (the contents may need more than one page).
BookletPlan PlanBooklet(Surface& page, const std::vector<BookletPuzzle>& puzzles, int keys_per_page);

/// Draws the whole booklet on a paged surface (a page in twips after
/// DrawPrinterPage's scaling). `new_page` starts the next page. Each puzzle's page is
/// drawn by DrawPrinterPage from its own program; its blanks should be filled already.
/// The contents and the keys take their fonts and margins from the first puzzle.
void DrawBooklet(const std::vector<BookletPuzzle>& puzzles, Surface& page, int keys_per_page,
                 const std::function<void()>& new_page, const BookletHooks& hooks = {});

/// Draws the whole booklet into a PDF on the device, on the first puzzle's paper, and
/// saves it at `path` (as SaveFileAtomically saves). Returns where its parts fell.
FileResult<BookletPlan> WriteBooklet(PageFileDevice& device, const std::string& path,
                                     const std::vector<BookletPuzzle>& puzzles, int keys_per_page,
                                     const BookletHooks& hooks = {});

/// The title of puzzle n's answer key: "Key 3: Animals" ("Key 3" without a title).
std::string KeyTitle(int number, const std::string& title);

}  // namespace kivrel
