#pragma once
// The puzzle as a web page to solve on screen: one UTF-8 HTML file with its style sheet
// and script inside, which opens anywhere without a network. The page lays out the
// title, the instructions, the grid and the word list as the print options place them on
// paper; the student marks words with the mouse, a finger or the keys, and the page
// rings each word found and strikes it off the list.
#include <string>
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// The page's own captions.
inline constexpr std::string_view kShowAnswersCaption = "Show the answers";
inline constexpr std::string_view kHideAnswersCaption = "Hide the answers";

/// The puzzle of ctx as a web page. The grid is written as it stands: the caller fills
/// the blanks first, as printing does. The page checks a marked line against the placed
/// words, whose places it carries scrambled with a key beside them: reading the page's
/// source does not give them away at a glance (it is a puzzle, not a secret).
std::string WebPage(AppContext& ctx);

}  // namespace kivrel
