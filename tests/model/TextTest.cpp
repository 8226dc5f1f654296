#include <gtest/gtest.h>

#include "model/Text.h"

namespace kivrel {
namespace {

using Pairs = std::vector<std::pair<const char*, const char*>>;

TEST(ExtractWord, DropsNotesAndSpacesButKeepsPunctuation) {
  const Pairs cases = {{"A[B]C", "AC"},           {"A]B", "AB"},        {"[A", ""},
                       {"A [B [C] D] E", "ADE"},  {"O'Neil", "O'Neil"}, {"New York [city]", "NewYork"},
                       {"Mc Intyre", "McIntyre"}, {"[see page 2]", ""}, {"Crème brûlée", "Crèmebrûlée"}};
  for (auto [entry, want] : cases) EXPECT_EQ(ExtractWord(entry), want) << entry;
}

TEST(PlacedWord, KeepsOnlyWhatCanStandInACell) {
  const Pairs cases = {{"O'Neil", "ONEIL"},
                       {"New York [city]", "NEWYORK"},
                       {"R2-D2", "R2D2"},
                       {"straße", "STRAßE"},
                       {"Crème brûlée", "CRÈMEBRÛLÉE"},
                       {"smörgåsbord", "SMÖRGÅSBORD"},
                       {"œuvre", "ŒUVRE"},
                       {"?!-", ""},
                       {"Ωmega", "MEGA"},  // Greek is beyond the files' code page
                       {"Café [crème] au lait", "CAFÉAULAIT"}};
  for (auto [entry, want] : cases) EXPECT_EQ(PlacedWord(entry), want) << entry;
  EXPECT_EQ(ToUpper("apple é ÿ š ÷"), "APPLE É Ÿ Š ÷");  // ÷ is not a letter
  EXPECT_EQ(ToLower("APPLE É Ÿ Š"), "apple é ÿ š");
}

TEST(Text, MalformedUtf8DecodesAsReplacementCharacters) {
  std::size_t pos = 1;
  EXPECT_EQ(DecodeUtf8("A\xC3", pos), U'\xFFFD');  // the text ends inside a two-byte character
  EXPECT_EQ(std::make_pair(pos, CharCount("A\xC3")), std::make_pair(2ul, 2ul));
  EXPECT_EQ(CharCount("\xC0\xAF"), 2u);  // an overlong form is two bad bytes
  EXPECT_EQ(CharAt("aéb", 2) + CharAt("ab", 3), "é");
}

TEST(Text, FindLastAndTrim) {
  EXPECT_EQ(FindLast("C:\\PUZ\\ANIMALS.kvp", "\\"), 7);
  for (auto [text, find] : Pairs{{"name", "\\"}, {"name", "ab"}, {"", "\\"}}) EXPECT_EQ(FindLast(text, find), 0);
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");  // spaces only
}

}  // namespace
}  // namespace kivrel
