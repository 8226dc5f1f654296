#include "program/LetterCase.h"

#include "model/Text.h"

namespace kivrel {

bool LowerCaseShown(AppContext& ctx) { return ctx.MainForm().Checked(frmKV_Puzzle::mnuLowerCase); }

std::string ShownLetters(AppContext& ctx, std::string_view text) {
  return LowerCaseShown(ctx) ? ToLower(text) : std::string(text);
}

}  // namespace kivrel
