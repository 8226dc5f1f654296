#include "program/LetterCase.h"

#include "model/Text.h"

namespace kivrel {

std::string ShownLetters(AppContext& ctx, std::string_view text) {
  // The mark of Options > Lower Case Letters.
  return ctx.MainForm().Checked(frmKV_Puzzle::mnuLowerCase) ? ToLower(text) : std::string(text);
}

}  // namespace kivrel
