#include <gtest/gtest.h>

#include "model/Text.h"

namespace kivrel {
namespace {

// An entry, the word it shows (notes and spaces dropped, punctuation kept) and the word
// it places (only what can stand in a cell, in capitals).
TEST(Text, TheWordOfAnEntry) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"A [B [C] D] E", "ADE", "ADE"},
      {"A]B", "AB", "AB"},
      {"[see page 2]", "", ""},
      {"New York [city]", "NewYork", "NEWYORK"},
      {"O'Neil", "O'Neil", "ONEIL"},
      {"R2-D2", "R2-D2", "R2D2"},
      {"straße", "straße", "STRAßE"},
      {"Crème brûlée", "Crèmebrûlée", "CRÈMEBRÛLÉE"},
      {"œuvre", "œuvre", "ŒUVRE"},
      {"Ωmega", "Ωmega", "MEGA"},  // Greek is beyond the files' code page
  };
  for (auto [entry, word, placed] : cases) {
    EXPECT_EQ(ExtractWord(entry), word) << entry;
    EXPECT_EQ(PlacedWord(entry), placed) << entry;
  }
  EXPECT_EQ(ToUpper("apple é ÿ š ÷"), "APPLE É Ÿ Š ÷");  // ÷ is not a letter
  EXPECT_EQ(ToLower("APPLE É Ÿ Š"), "apple é ÿ š");
}

TEST(Text, MalformedUtf8DecodesAsReplacementCharacters) {
  std::size_t pos = 1;
  EXPECT_EQ(DecodeUtf8("A\xC3", pos), U'\xFFFD');  // the text ends inside a two-byte character
  EXPECT_EQ(std::make_pair(pos, CharCount("A\xC3")), std::make_pair(2ul, 2ul));
  EXPECT_EQ(CharCount("\xC0\xAF"), 2u);  // an overlong form is two bad bytes
  EXPECT_EQ(CharAt("aéb", 2) + CharAt("ab", 3), "é");
  EXPECT_EQ(FindLast("C:\\PUZ\\ANIMALS.kvp", "\\") + FindLast("name", "\\"), 7);
  EXPECT_EQ(Trim("  \ta b  "), "\ta b");  // spaces only
}

}  // namespace
}  // namespace kivrel
