#pragma once
// Code page 1252, the one-byte character set of word list and puzzle files, and UTF-8,
// the text of the program itself.
#include <string>
#include <string_view>
#include <vector>

namespace kivrel {

/// The Unicode character of a code page 1252 byte. The five bytes 1252 leaves undefined
/// map to the control characters of the same number, as the system conversion does.
char32_t Cp1252ToUnicode(unsigned char byte);

/// The code page 1252 byte of a character, or -1 when 1252 cannot hold it.
int UnicodeToCp1252(char32_t ch);

/// Bytes on disk to program text.
std::string Cp1252ToUtf8(std::string_view bytes);

/// Program text to bytes on disk; a character that 1252 cannot hold is written as "?".
std::string Utf8ToCp1252(std::string_view text);

/// The characters of the texts that 1252 cannot hold, each once, in the order they
/// first occur, separated by spaces ("Ω ✓"); "" when 1252 holds them all.
std::string UnstorableCharacters(const std::vector<std::string_view>& texts);

}  // namespace kivrel
