#pragma once
// The print fonts: title, instructions, puzzle, word list, and the quotation that an
// answer key prints under the grid.
#include <array>
#include <string>

#include "model/PuzzleState.h"

namespace kivrel {

struct FontRecord {
  std::string Section;
  std::string FontName;
  i16 Size = 0;  // whole points
  i16 Bold = 0;
  i16 Italic = 0;
  bool operator==(const FontRecord&) const = default;
};

constexpr int kTitleFont = 1;
constexpr int kInstructionsFont = 2;
constexpr int kPuzzleFont = 3;
constexpr int kWordListFont = 4;
constexpr int kQuotationFont = 5;

class FontTable {
 public:
  /// Slot 1..5.
  FontRecord& operator()(int slot) { return slots_.at(static_cast<std::size_t>(slot)); }
  const FontRecord& operator()(int slot) const { return slots_.at(static_cast<std::size_t>(slot)); }

  /// Title "Times New Roman" 18 bold italic, Instructions "Times New Roman" 13 italic,
  /// Puzzle "Arial" 16, Word List "Arial" 12 bold, Quotation "Times New Roman" 13 italic.
  void SetDefaults();

 private:
  std::array<FontRecord, 6> slots_{};  // slot 0 unused
};

}  // namespace kivrel
