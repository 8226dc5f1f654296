#include "display/GridDisplay.h"

#include "files/Cp1252.h"
#include "model/Numbers.h"
#include "model/Text.h"

namespace kivrel {

void DrawCellLetter(AppContext& ctx, int row, int col, std::string_view text) {
  Surface& picture = *ctx.picture;
  const int cell = ctx.display.CellSize;
  int width = 0;
  if (!text.empty()) {
    std::size_t pos = 0;
    int code = UnicodeToCp1252(DecodeUtf8(text, pos));
    if (code >= 0) width = ctx.display.CharWidths[static_cast<std::size_t>(code)];
  }
  picture.CurrentY = static_cast<double>(row - 1) * cell;
  picture.CurrentX = Int((cell - width) * 0.5) + static_cast<double>(col - 1) * cell;
  picture.Print(text);
}

}  // namespace kivrel
