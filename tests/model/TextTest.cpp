#include <gtest/gtest.h>

#include "model/Text.h"

namespace kivrel {
namespace {

TEST(ExtractWord, DropsNotesAndSpacesButKeepsPunctuation) {
  EXPECT_EQ(ExtractWord("A[B]C"), "AC");
  EXPECT_EQ(ExtractWord("A]B"), "AB");
  EXPECT_EQ(ExtractWord("[A"), "");
  EXPECT_EQ(ExtractWord("A [B [C] D] E"), "ADE");
  EXPECT_EQ(ExtractWord("O'Neil"), "O'Neil");
  EXPECT_EQ(ExtractWord("New York [city]"), "NewYork");
  EXPECT_EQ(ExtractWord("Mc Intyre"), "McIntyre");
  EXPECT_EQ(ExtractWord("[see page 2]"), "");
  EXPECT_EQ(ExtractWord("Crème brûlée"), "Crèmebrûlée");
}

TEST(PlacedWord, KeepsOnlyWhatCanStandInACell) {
  EXPECT_EQ(PlacedWord("O'Neil"), "ONEIL");
  EXPECT_EQ(PlacedWord("New York [city]"), "NEWYORK");
  EXPECT_EQ(PlacedWord("R2-D2"), "R2D2");
  EXPECT_EQ(PlacedWord("Crème brûlée"), "CRÈMEBRÛLÉE");
  EXPECT_EQ(PlacedWord("straße"), "STRAßE");
  EXPECT_EQ(PlacedWord("smörgåsbord"), "SMÖRGÅSBORD");
  EXPECT_EQ(PlacedWord("œuvre"), "ŒUVRE");
  EXPECT_EQ(PlacedWord("?!-"), "");
  EXPECT_EQ(PlacedWord("Ωmega"), "MEGA");  // Greek is beyond the files' code page
}

TEST(Text, CaseOfTheCodePageLetters) {
  EXPECT_EQ(ToUpper("apple é ÿ š"), "APPLE É Ÿ Š");
  EXPECT_EQ(ToLower("APPLE É Ÿ Š"), "apple é ÿ š");
  EXPECT_EQ(ToUpper("÷"), "÷");  // not a letter
}

TEST(Text, MalformedUtf8DecodesAsReplacementCharacters) {
  std::string bad = "A\xC3";  // the text ends inside a two-byte character
  EXPECT_EQ(CharCount(bad), 2u);
  std::size_t pos = 1;
  EXPECT_EQ(DecodeUtf8(bad, pos), U'\xFFFD');
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(CharCount("\xC0\xAF"), 2u);  // an overlong form is two bad bytes
  EXPECT_EQ(CharAt("aéb", 2), "é");
  EXPECT_EQ(CharAt("ab", 3), "");
}

TEST(GetField, FieldsAreSeparatedByRunsOfTheSeparator) {
  EXPECT_EQ(GetField("1\tTitle\t 15", 3, '\t'), "15");
  EXPECT_EQ(GetField("1\tTitle\t 15", 2, '\t'), "Title");
  EXPECT_EQ(GetField("x", 2, '\t'), "");
  EXPECT_EQ(GetField("a\t\tb", 2, '\t'), "b");  // an empty field does not count
  EXPECT_EQ(GetField("\t\ta", 1, '\t'), "a");
  EXPECT_EQ(GetField("a b", 0, ' '), "");
  EXPECT_EQ(GetField("  two   words  ", 2, ' '), "words");
  EXPECT_EQ(GetField("", 1, ' '), "");
}

TEST(Text, SkipCharAndFindLast) {
  EXPECT_EQ(SkipChar("\t\tab", 1, '\t'), 3);
  EXPECT_EQ(SkipChar("\t\t", 1, '\t'), 0);
  EXPECT_EQ(SkipChar("abc", 5, 'a'), 0);
  EXPECT_EQ(FindLast("C:\\PUZ\\ANIMALS.kvp", "\\"), 7);
  EXPECT_EQ(FindLast("name", "\\"), 0);
  EXPECT_EQ(FindLast("name", "ab"), 0);
  EXPECT_EQ(FindLast("", "\\"), 0);
}

TEST(Text, CountLettersIgnoresCase) {
  EXPECT_EQ(CountLetters("Hello, World!", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 10);
  EXPECT_EQ(CountLetters("Hello", ""), 5);
  EXPECT_EQ(CountLetters("été", "É"), 2);
}

TEST(Text, TrimRemovesSpacesOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(Trim("   "), "");
}

}  // namespace
}  // namespace kivrel
