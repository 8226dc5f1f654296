#include "program/WindowTitle.h"

namespace kivrel {

void SetWindowTitle(AppContext& ctx) {
  ctx.AttributesForm().SetText(frmAttributes::txtPuzName, ctx.state.PuzzleTitle);
  ctx.MainForm().SetCaption("Kivrel Puzzle Maker - " + ctx.state.PuzzleTitle);
}

}  // namespace kivrel
