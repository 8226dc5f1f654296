#pragma once
// The build's search checked against the plain search it stands for: every offset of
// every line tried in turn, in the order of the directions and lines, with the same
// tie rules and random draws. The line scanner must choose the same place for every
// word, draw the same numbers and yield once for every line.
//
// The case is made from bytes (a fuzz input, or random bytes in the tests): the size,
// the options and which of the processor's builds of the search runs (the top two bits
// of the third byte), the yields and where Cancel is pressed, then the words, from a
// small alphabet with two letters outside ASCII so that words cross often.
#include <string>
#include <string_view>

namespace kivrel::testing {

/// Builds the case the bytes describe, searching each word with the line scanner and
/// with the plain search. Returns "" when they agree throughout, else what differed.
std::string CheckSearches(std::string_view bytes);

}  // namespace kivrel::testing
