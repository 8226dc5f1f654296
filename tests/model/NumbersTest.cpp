#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Numbers.h"

namespace kivrel {
namespace {

TEST(Numbers, RoundingReadingAndPictures) {
  // Halves round to even; Int is the floor; Val reads the leading number ("2e": no
  // exponent digits).
  EXPECT_EQ(std::make_tuple(Nearest(2.5), Nearest(-3.5), Nearest(std::nan("")), Nearest(1e300), Int(-0.5)),
            std::make_tuple(2, -4, 0, std::numeric_limits<int>::max(), -1));
  const std::pair<const char*, double> vals[] = {{".5\"", 0.5}, {"  -3abc", -3}, {"1.2.3", 1.2}, {"2e3x", 2000},
                                                 {"2e", 2},      {"-", 0}};
  for (auto [text, want] : vals) EXPECT_DOUBLE_EQ(Val(text), want) << text;
  EXPECT_TRUE(IsNumeric(" 3.5 ") && !IsNumeric("  ") && !IsNumeric("12a"));
  // A picture shows 0 only where it must and never cuts digits.
  EXPECT_EQ(FormatPicture(0, "####") + "," + FormatPicture(0, "###0") + "," + FormatPicture(-12345, "##"),
            ",0,-12345");
  EXPECT_EQ(FormatMargin(0.5) + "," + FormatMargin(10.333) + "," + FormatMargin(0.999), ".5,10.33,1.0");
  // Sixteen-bit counts never wrap.
  EXPECT_TRUE(FitI16(-32768) == -32768 && !FitI16(32768));
  EXPECT_THROW(CheckedI16(40000), CountOverflow);
}

}  // namespace
}  // namespace kivrel
