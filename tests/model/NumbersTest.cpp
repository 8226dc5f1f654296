#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Numbers.h"

namespace kivrel {
namespace {

TEST(Numbers, NearestRoundsHalvesToEvenAndIntIsTheFloor) {
  const std::pair<double, int> nearest[] = {
      {2.5, 2},      {3.5, 4},    {-2.5, -2},        {2247.5, 2248},
      {224.75, 225}, {2.4999, 2}, {std::nan(""), 0}, {1e300, std::numeric_limits<int>::max()}};
  for (auto [x, want] : nearest) EXPECT_EQ(Nearest(x), want) << x;
  const std::pair<double, int> floors[] = {{2.7, 2}, {-2.1, -3}, {-0.5, -1}, {0.0, 0}};
  for (auto [x, want] : floors) EXPECT_EQ(Int(x), want) << x;
}

TEST(Numbers, ValReadsTheLeadingNumberAndIsNumericWantsOneWholeNumber) {
  const std::pair<const char*, double> vals[] = {{"1.25\"", 1.25}, {".5\"", 0.5}, {"  15", 15},   {"-3abc", -3},
                                                 {"abc", 0},       {"", 0},       {"1.2.3", 1.2}, {"2e3x", 2000},
                                                 {"2e", 2},        {"-", 0}};  // "2e": no exponent digits
  for (auto [text, want] : vals) EXPECT_DOUBLE_EQ(Val(text), want) << text;
  for (auto text : {"12", " 3.5 ", "-4"}) EXPECT_TRUE(IsNumeric(text)) << text;
  for (auto text : {"", "  ", "12a", "a"}) EXPECT_FALSE(IsNumeric(text)) << text;
}

TEST(Numbers, PicturesShowZeroOnlyWhereTheyMustAndCountsNeverWrap) {
  const std::tuple<long long, const char*, const char*> cases[] = {
      {0, "####", ""},          {15, "####", "15"}, {0, "###0", "0"}, {7, "###0", "7"},
      {12345, "####", "12345"},  // a picture never cuts digits
      {-5, "##", "-5"},         {0, "##", ""}};
  for (auto [value, picture, want] : cases) EXPECT_EQ(FormatPicture(value, picture), want) << value << picture;
  const std::pair<double, const char*> margins[] = {{1, "1.0"}, {1.25, "1.25"},    {0.5, ".5"},
                                                    {0, ".0"},  {10.333, "10.33"}, {0.999, "1.0"}};
  for (auto [inches, want] : margins) EXPECT_EQ(FormatMargin(inches), want) << inches;
  // Sixteen-bit counts never wrap.
  EXPECT_EQ(std::make_pair(FitI16(32767), FitI16(-32768)),
            std::make_pair(std::optional<std::int16_t>(32767), std::optional<std::int16_t>(-32768)));
  EXPECT_FALSE(FitI16(32768) || FitI16(-32769));
  EXPECT_THROW(CheckedI16(40000), CountOverflow);
}

}  // namespace
}  // namespace kivrel
