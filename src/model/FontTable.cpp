#include "model/FontTable.h"

namespace kivrel {

void FontTable::SetDefaults() {
  (*this)(kTitleFont) = {"Title", "Times New Roman", 18, kTrue, kTrue};
  (*this)(kInstructionsFont) = {"Instructions", "Times New Roman", 13, kFalse, kTrue};
  (*this)(kPuzzleFont) = {"Puzzle", "Arial", 16, kFalse, kFalse};
  (*this)(kWordListFont) = {"Word List", "Arial", 12, kTrue, kFalse};
  (*this)(kQuotationFont) = {"Quotation", "Times New Roman", 13, kFalse, kTrue};
}

}  // namespace kivrel
