#pragma once
// The case letters are shown in. The grid, the placed words and the files keep their
// capitals; with Options > Lower Case Letters the picture, the page's grid and word list,
// the answer key and the web page show small letters, the ones a child learning to read
// knows first. Whatever shows a letter or a list entry asks here.
#include <string>
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// A grid letter, a word or a list entry as it is shown: in lower case while that is
/// chosen, accented capitals too ("Ä" as "ä"; "ß" has no capital and stays), otherwise
/// as it is.
std::string ShownLetters(AppContext& ctx, std::string_view text);

}  // namespace kivrel
