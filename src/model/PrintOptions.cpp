#include "model/PrintOptions.h"

#include "model/Numbers.h"

namespace kivrel {

int MarginTwips(std::string_view text) { return Nearest(Val(text) * 1440.0); }

void FollowPuzzlePlace(PrintOptions& o) {
  const bool bottom = o.PuzzleVertical == VerticalPlace::Bottom;
  o.Above = bottom ? 1 : 0;
  o.Below = bottom ? 0 : 1;
  if (bottom) o.Right = 0;
  if (bottom || o.PuzzleHorizontal == Align::Left) o.Left = 0;
}

namespace {

std::string Inches(double twips) { return FormatMargin(twips / 1440.0) + std::string(kInchMark); }

// "The left and right margins (4.2" and 4.2") leave .1" of the paper's 8.5" width", or
// nothing when they leave enough.
std::string Shortfall(const char* sides, int first, int second, int paper, const char* side) {
  const int left = paper - first - second;
  if (left >= kSmallestPrintableTwips) return {};
  return std::string("The ") + sides + " margins (" + Inches(first) + " and " + Inches(second) + ") leave " +
         (left > 0 ? Inches(left) + " of" : std::string("nothing of")) + " the paper's " + Inches(paper) + " " + side;
}

}  // namespace

std::string MarginsRefusal(const std::array<int, 4>& twips, const PaperSize& paper) {
  std::string across = Shortfall("left and right", twips[kLeftMargin], twips[kRightMargin], paper.Width, "width");
  const std::string down = Shortfall("top and bottom", twips[kTopMargin], twips[kBottomMargin], paper.Height, "height");
  if (across.empty() && down.empty()) return {};
  if (!across.empty() && !down.empty()) across += "; t" + down.substr(1);
  return (across.empty() ? down : across) + ". At least " + Inches(kSmallestPrintableTwips) +
         " must remain across and down.";
}

}  // namespace kivrel
