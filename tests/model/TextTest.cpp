#include <gtest/gtest.h>

#include "model/Text.h"

namespace kivrel {
namespace {

// An entry, the word it shows (notes and spaces dropped, punctuation kept) and the word
// it places (only what can stand in a cell, in capitals). Malformed UTF-8 decodes as
// replacement characters.
TEST(Text, TheWordOfAnEntryAndMalformedUtf8) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"A [B [C] D] E", "ADE", "ADE"},
      {"A]B", "AB", "AB"},
      {"New York [city]", "NewYork", "NEWYORK"},
      {"O'Neil", "O'Neil", "ONEIL"},
      {"straße", "straße", "STRAßE"},
      {"Crème brûlée", "Crèmebrûlée", "CRÈMEBRÛLÉE"},
      {"Ωmega", "Ωmega", "MEGA"},  // Greek is beyond the files' code page
  };
  for (auto [entry, word, placed] : cases) {
    EXPECT_EQ(ExtractWord(entry), word) << entry;
    EXPECT_EQ(PlacedWord(entry), placed) << entry;
  }
  EXPECT_EQ(ToUpper("apple é ÿ š ÷") + ToLower("É Ÿ Š"), "APPLE É Ÿ Š ÷é ÿ š");  // ÷ is not a letter
  std::size_t pos = 1;
  EXPECT_EQ(DecodeUtf8("A\xC3", pos), U'\xFFFD');  // the text ends inside a two-byte character
  EXPECT_EQ(std::make_tuple(pos, CharCount("A\xC3"), CharCount("\xC0\xAF")), std::make_tuple(2ul, 2ul, 2ul));
  EXPECT_EQ(CharAt("aéb", 2) + CharAt("ab", 3), "é");
  EXPECT_EQ(FindLast("C:\\PUZ\\ANIMALS.kvp", "\\") + FindLast("name", "\\"), 7);
  EXPECT_EQ(Trim("  \ta b  "), "\ta b");  // spaces only
}

}  // namespace
}  // namespace kivrel
