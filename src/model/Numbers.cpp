#include "model/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kivrel {

int Nearest(double x) {
  if (std::isnan(x)) return 0;
  double r = std::nearbyint(x);  // the default rounding mode rounds halves to even
  if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

int Int(double x) { return Nearest(std::floor(x)); }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads a number starting at text[pos]; returns the end position (pos when no number).
std::size_t ScanNumber(std::string_view text, std::size_t pos, double* out) {
  std::size_t i = pos;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  double mantissa = 0;
  int digits = 0;
  int fraction_digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + (c - '0');
      ++digits;
      if (point) ++fraction_digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return pos;
  std::size_t end = i;
  int exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool exp_negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exp_negative = text[j] == '-';
      ++j;
    }
    if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      for (; j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])); ++j) {
        if (exponent < 10000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (exp_negative) exponent = -exponent;
      end = j;
    }
  }
  double value = mantissa * std::pow(10.0, exponent - fraction_digits);
  *out = negative ? -value : value;
  return end;
}

}  // namespace

double Val(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  double value = 0;
  ScanNumber(text, i, &value);
  return value;
}

bool IsNumeric(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (begin == end) return false;
  double value = 0;
  return ScanNumber(text, begin, &value) == end;
}

std::string FormatPicture(long long value, std::string_view picture) {
  std::size_t forced = 0;
  for (char c : picture) forced += c == '0';
  unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits = magnitude == 0 ? std::string() : std::to_string(magnitude);
  std::string text = value < 0 ? "-" : "";
  if (digits.size() < forced) text.append(forced - digits.size(), '0');
  return text + digits;
}

std::string FormatMargin(double inches) {
  bool negative = inches < 0;
  long long hundredths = static_cast<long long>(std::nearbyint(std::fabs(inches) * 100.0));
  long long whole = hundredths / 100;
  int tenth = static_cast<int>(hundredths / 10 % 10);
  int hundredth = static_cast<int>(hundredths % 10);
  std::string text = negative && hundredths != 0 ? "-" : "";
  if (whole != 0) text += std::to_string(whole);
  text += '.';
  text += static_cast<char>('0' + tenth);
  if (hundredth != 0) text += static_cast<char>('0' + hundredth);
  return text;
}

std::string SignedNumberText(long long value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string PrintedNumberText(long long value) { return SignedNumberText(value) + " "; }

std::optional<std::int16_t> FitI16(long long value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

std::int16_t CheckedI16(long long value) {
  if (auto fitted = FitI16(value)) return *fitted;
  throw CountOverflow("value " + std::to_string(value) + " does not fit a 16-bit count");
}

}  // namespace kivrel
