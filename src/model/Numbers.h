#pragma once
// Number helpers shared by every part of the program: rounding the way the layouts
// expect, reading the leading number of a text, and the display pictures.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kivrel {

/// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
/// Values beyond the int range saturate; NaN gives 0.
int Nearest(double x);

/// The largest integer not above x ("Int"): Int(2.7) = 2, Int(-2.1) = -3.
int Int(double x);

/// The leading decimal number of a text: leading blanks are skipped, an optional sign,
/// digits with at most one decimal point and an optional exponent are read, and reading
/// stops at the first character that cannot continue the number. No number gives 0.
double Val(std::string_view text);

/// True when the whole trimmed text is one decimal number (what "numeric" means to the
/// attributes dialog): "12", " 3.5 ", "-4" are numeric; "", "12a", "a" are not.
bool IsNumeric(std::string_view text);

/// A count shown through a picture of '#' and '0' characters: '#' prints a digit only
/// where the number has one, '0' always prints one. "####" shows 0 as "" and 15 as
/// "15"; "###0" shows 0 as "0". A negative number gets a leading minus sign.
std::string FormatPicture(long long value, std::string_view picture);

/// A margin in inches through the picture "#.0#": the integer part only when it is not
/// 0, a decimal point, one digit always and a second when it is not 0. 1 -> "1.0",
/// 1.25 -> "1.25", 0.5 -> ".5", 0 -> ".0", 10.333 -> "10.33".
std::string FormatMargin(double inches);

/// A number with its sign place, as written into word list headers: " 15", " 0", "-3".
std::string SignedNumberText(long long value);

/// A number as printed on a surface: the sign place, the digits, and one blank after
/// them: 12 -> " 12 ", -3 -> "-3 ".
std::string PrintedNumberText(long long value);

/// The value as a signed 16-bit integer, or nothing when it does not fit.
std::optional<std::int16_t> FitI16(long long value);

/// Thrown when a value that must be a signed 16-bit integer does not fit. The program
/// checks its inputs so this never fires in use; reaching it is a programming error.
class CountOverflow : public std::range_error {
 public:
  using std::range_error::range_error;
};

/// The value as a signed 16-bit integer; throws CountOverflow when it does not fit.
std::int16_t CheckedI16(long long value);

}  // namespace kivrel
