#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Numbers.h"

namespace kivrel {
namespace {

TEST(Numbers, NearestRoundsHalvesToEven) {
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(3.5), 4);
  EXPECT_EQ(Nearest(-2.5), -2);
  EXPECT_EQ(Nearest(2247.5), 2248);
  EXPECT_EQ(Nearest(224.75), 225);
  EXPECT_EQ(Nearest(2.4999), 2);
  EXPECT_EQ(Nearest(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(Nearest(std::nan("")), 0);
}

TEST(Numbers, IntIsTheFloor) {
  EXPECT_EQ(Int(2.7), 2);
  EXPECT_EQ(Int(-2.1), -3);
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Int(0.0), 0);
}

TEST(Numbers, ValReadsTheLeadingNumber) {
  EXPECT_DOUBLE_EQ(Val("1.25\""), 1.25);
  EXPECT_DOUBLE_EQ(Val(".5\""), 0.5);
  EXPECT_DOUBLE_EQ(Val("  15"), 15);
  EXPECT_DOUBLE_EQ(Val("-3abc"), -3);
  EXPECT_DOUBLE_EQ(Val("abc"), 0);
  EXPECT_DOUBLE_EQ(Val(""), 0);
  EXPECT_DOUBLE_EQ(Val("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(Val("2e3x"), 2000);
  EXPECT_DOUBLE_EQ(Val("2e"), 2);  // an exponent without digits is not read
  EXPECT_DOUBLE_EQ(Val("-"), 0);
}

TEST(Numbers, IsNumericWantsOneWholeNumber) {
  EXPECT_TRUE(IsNumeric("12"));
  EXPECT_TRUE(IsNumeric(" 3.5 "));
  EXPECT_TRUE(IsNumeric("-4"));
  EXPECT_FALSE(IsNumeric(""));
  EXPECT_FALSE(IsNumeric("  "));
  EXPECT_FALSE(IsNumeric("12a"));
  EXPECT_FALSE(IsNumeric("a"));
}

TEST(Numbers, PicturesShowZeroOnlyWhereTheyMust) {
  EXPECT_EQ(FormatPicture(0, "####"), "");
  EXPECT_EQ(FormatPicture(15, "####"), "15");
  EXPECT_EQ(FormatPicture(0, "###0"), "0");
  EXPECT_EQ(FormatPicture(7, "###0"), "7");
  EXPECT_EQ(FormatPicture(12345, "####"), "12345");  // a picture never cuts digits
  EXPECT_EQ(FormatPicture(-5, "##"), "-5");
  EXPECT_EQ(FormatPicture(0, "##"), "");
}

TEST(Numbers, MarginPicture) {
  EXPECT_EQ(FormatMargin(1), "1.0");
  EXPECT_EQ(FormatMargin(1.25), "1.25");
  EXPECT_EQ(FormatMargin(0.5), ".5");
  EXPECT_EQ(FormatMargin(0), ".0");
  EXPECT_EQ(FormatMargin(10.333), "10.33");
  EXPECT_EQ(FormatMargin(0.999), "1.0");  // rounding carries into the whole inches
}

TEST(Numbers, NumbersWithTheirSignPlace) {
  EXPECT_EQ(SignedNumberText(15), " 15");
  EXPECT_EQ(SignedNumberText(0), " 0");
  EXPECT_EQ(SignedNumberText(-3), "-3");
  EXPECT_EQ(PrintedNumberText(12), " 12 ");
  EXPECT_EQ(PrintedNumberText(-3), "-3 ");
}

TEST(Numbers, SixteenBitCountsNeverWrap) {
  EXPECT_EQ(FitI16(32767), 32767);
  EXPECT_EQ(FitI16(-32768), -32768);
  EXPECT_FALSE(FitI16(32768));
  EXPECT_FALSE(FitI16(-32769));
  EXPECT_THROW(CheckedI16(40000), CountOverflow);
}

}  // namespace
}  // namespace kivrel
