#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Numbers.h"

namespace kivrel {
namespace {

TEST(Numbers, RoundingReadingAndPictures) {
  // Halves round to even; Int is the floor.
  const std::pair<double, int> nearest[] = {{2.5, 2},         {3.5, 4},   {-2.5, -2}, {224.75, 225},
                                            {std::nan(""), 0}, {1e300, std::numeric_limits<int>::max()}};
  for (auto [x, want] : nearest) EXPECT_EQ(Nearest(x), want) << x;
  EXPECT_EQ(std::make_pair(Int(2.7), Int(-0.5)), std::make_pair(2, -1));
  // Val reads the leading number ("2e": no exponent digits); IsNumeric wants one whole number.
  const std::pair<const char*, double> vals[] = {{".5\"", 0.5}, {"  15", 15},   {"-3abc", -3}, {"abc", 0},
                                                 {"1.2.3", 1.2}, {"2e3x", 2000}, {"2e", 2},     {"-", 0}};
  for (auto [text, want] : vals) EXPECT_DOUBLE_EQ(Val(text), want) << text;
  for (auto text : {"12", " 3.5 ", "-4"}) EXPECT_TRUE(IsNumeric(text)) << text;
  for (auto text : {"", "  ", "12a"}) EXPECT_FALSE(IsNumeric(text)) << text;
  // A picture shows 0 only where it must and never cuts digits.
  const std::tuple<long long, const char*, const char*> pictures[] = {
      {0, "####", ""}, {0, "###0", "0"}, {12345, "####", "12345"}, {-5, "##", "-5"}};
  for (auto [value, picture, want] : pictures) EXPECT_EQ(FormatPicture(value, picture), want) << value << picture;
  const std::pair<double, const char*> margins[] = {{1, "1.0"}, {0.5, ".5"}, {10.333, "10.33"}, {0.999, "1.0"}};
  for (auto [inches, want] : margins) EXPECT_EQ(FormatMargin(inches), want) << inches;
  // Sixteen-bit counts never wrap.
  EXPECT_TRUE(FitI16(32767) == 32767 && FitI16(-32768) == -32768 && !FitI16(32768) && !FitI16(-32769));
  EXPECT_THROW(CheckedI16(40000), CountOverflow);
}

}  // namespace
}  // namespace kivrel
