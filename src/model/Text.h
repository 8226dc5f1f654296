#pragma once
// Text routines of the word list: the placed word of an entry, fields of a record line,
// and the small searches the file commands use. Text is UTF-8; positions are 1-based
// byte positions (every separator the program searches for is a one-byte character).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivrel {

/// Decodes the character at text[pos] and moves pos past it. A malformed byte
/// decodes as U+FFFD and is passed over alone.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

/// True when the text holds no malformed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);
/// Appends the UTF-8 form of ch.
void AppendUtf8(std::string& out, char32_t ch);

/// The characters of a UTF-8 text, and back.
std::u32string Characters(std::string_view text);
std::string Utf8(std::u32string_view chars);

/// Number of characters (code points) of a UTF-8 text.
std::size_t CharCount(std::string_view text);

/// The n-th character (1-based) of a text as a UTF-8 string; "" beyond the end.
std::string CharAt(std::string_view text, std::size_t n);

/// Leading and trailing spaces removed (spaces only, like the file formats expect).
std::string Trim(std::string_view text);

/// Upper and lower case of the letters code page 1252 can hold (ASCII, Latin-1,
/// Š Œ Ž Ÿ); every other character stays as it is.
char32_t UpperChar(char32_t ch);
char32_t LowerChar(char32_t ch);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);

/// The entry without its notes and spaces: "[" starts a note, "]" ends it, neither is
/// kept, and spaces are dropped. Case and punctuation stay: "New York [city]" gives
/// "NewYork", "O'Neil" stays "O'Neil".
std::string ExtractWord(std::string_view entry);

/// True for a character that can stand in a grid cell: A-Z, 0-9 and the upper-case
/// letters of code page 1252 (À-Ö, Ø-ß, Š, Œ, Ž, Ÿ).
bool IsCellCharacter(char32_t ch);

/// The word that is placed in the grid for an entry: ExtractWord upper-cased, keeping
/// only the characters that can stand in a cell (so "O'Neil" is placed as "ONEIL").
std::string PlacedWord(std::string_view entry);

/// Position of the last occurrence of the one-character text ch; 0 when it does not
/// occur, when ch is not exactly one character, or when the text is shorter than ch.
int FindLast(std::string_view text, std::string_view ch);

/// Words for a message: all of them joined by ", " when there are at most `few`;
/// otherwise the first `few` and how many more ("CAT, DOG and 498 more").
std::string SomeWords(const std::vector<std::string>& words, std::size_t few = 10);

}  // namespace kivrel
