#include "files/Cp1252.h"

#include "model/Text.h"

namespace kivrel {
namespace {

// Bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr char32_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

int UnicodeToCp1252(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<int>(ch);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == ch) return 0x80 + i;
  }
  return -1;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (char b : bytes) AppendUtf8(text, Cp1252ToUnicode(static_cast<unsigned char>(b)));
  return text;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    int code = UnicodeToCp1252(DecodeUtf8(text, pos));
    bytes += code < 0 ? '?' : static_cast<char>(code);
  }
  return bytes;
}

std::string UnstorableCharacters(const std::vector<std::string_view>& texts) {
  std::u32string seen;
  for (std::string_view text : texts) {
    std::size_t pos = 0;
    while (pos < text.size()) {
      const char32_t ch = DecodeUtf8(text, pos);
      if (UnicodeToCp1252(ch) < 0 && seen.find(ch) == std::u32string::npos) seen += ch;
    }
  }
  std::string listed;
  for (char32_t ch : seen) {
    if (!listed.empty()) listed += ' ';
    AppendUtf8(listed, ch);
  }
  return listed;
}

}  // namespace kivrel
