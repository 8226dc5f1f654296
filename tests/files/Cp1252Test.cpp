#include <gtest/gtest.h>

#include "files/Cp1252.h"

namespace kivrel {
namespace {

TEST(Cp1252, RoundTripsEveryDefinedByteAndMapsTheSpecialCharacters) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x9F\xE9"), "€ŠŸé");
  EXPECT_EQ(UnicodeToCp1252(U'Œ'), 0x8C);
}

TEST(Cp1252, WhatItCannotHoldIsWrittenAsAQuestionMark) {
  EXPECT_EQ(UnicodeToCp1252(U'Ω'), -1);
  EXPECT_EQ(Utf8ToCp1252("aΩb✓"), "a?b?");
  EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");  // a malformed byte too
}

}  // namespace
}  // namespace kivrel
