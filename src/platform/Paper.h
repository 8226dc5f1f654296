#pragma once
// Sheets of paper, in twips: what a page is laid out on and a page file is drawn on.

namespace kivrel {

struct PaperSize {
  int Width = 12240;
  int Height = 15840;
  bool operator==(const PaperSize&) const = default;
};

inline constexpr PaperSize kLetterPaper{12240, 15840};  // 8.5 x 11 inches
inline constexpr PaperSize kA4Paper{11906, 16838};      // 210 x 297 mm
inline constexpr PaperSize kLegalPaper{12240, 20160};   // 8.5 x 14 inches

}  // namespace kivrel
