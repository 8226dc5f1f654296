#include "model/Text.h"

namespace kivrel {

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char b0 = byte(pos);
  int extra = 0;
  char32_t ch = 0;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    ch = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    ch = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    ch = b0 & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + extra >= text.size()) {  // the text ends inside the character
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    ch = (ch << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (ch < kMinimum[extra] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += extra + 1;
  return ch;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    // A malformed byte decodes as U+FFFD and is passed over alone; the real U+FFFD
    // takes three bytes.
    if (DecodeUtf8(text, pos) == 0xFFFD && pos - start == 1) return false;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

std::u32string Characters(std::string_view text) {
  std::u32string chars;
  for (std::size_t pos = 0; pos < text.size();) chars += DecodeUtf8(text, pos);
  return chars;
}

std::string Utf8(std::u32string_view chars) {
  std::string text;
  for (char32_t ch : chars) AppendUtf8(text, ch);
  return text;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) DecodeUtf8(text, pos);
  return count;
}

std::string CharAt(std::string_view text, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t i = 1; pos < text.size(); ++i) {
    std::size_t start = pos;
    DecodeUtf8(text, pos);
    if (i == n) return std::string(text.substr(start, pos - start));
  }
  return {};
}

std::string Trim(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

char32_t UpperChar(char32_t ch) {
  if (ch >= 'a' && ch <= 'z') return ch - 32;
  if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return ch - 32;
  switch (ch) {
    case 0xFF:
      return 0x178;  // ÿ
    case 0x153:
      return 0x152;  // œ
    case 0x161:
      return 0x160;  // š
    case 0x17E:
      return 0x17D;  // ž
    default:
      return ch;
  }
}

char32_t LowerChar(char32_t ch) {
  if (ch >= 'A' && ch <= 'Z') return ch + 32;
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return ch + 32;
  switch (ch) {
    case 0x178:
      return 0xFF;
    case 0x152:
      return 0x153;
    case 0x160:
      return 0x161;
    case 0x17D:
      return 0x17E;
    default:
      return ch;
  }
}

namespace {

template <typename Map>
std::string MapChars(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) AppendUtf8(out, map(DecodeUtf8(text, pos)));
  return out;
}

}  // namespace

std::string ToUpper(std::string_view text) { return MapChars(text, UpperChar); }
std::string ToLower(std::string_view text) { return MapChars(text, LowerChar); }

std::string ExtractWord(std::string_view entry) {
  std::string word;
  bool keep = true;
  for (char c : entry) {  // the markers are one-byte characters, so bytes will do
    if (c == '[') {
      keep = false;
    } else if (c == ']') {
      keep = true;
    } else if (keep && c != ' ') {
      word += c;
    }
  }
  return word;
}

bool IsCellCharacter(char32_t ch) {
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) return true;
  if (ch >= 0xC0 && ch <= 0xDF) return ch != 0xD7;
  return ch == 0x160 || ch == 0x152 || ch == 0x17D || ch == 0x178;
}

std::string PlacedWord(std::string_view entry) {
  // ExtractWord, ToUpper and the cell characters in one pass (every build does it for
  // every entry); one-byte characters need no decoding.
  std::string placed;
  placed.reserve(entry.size());
  bool keep = true;  // outside a [...] note
  for (std::size_t pos = 0; pos < entry.size();) {
    const auto byte = static_cast<unsigned char>(entry[pos]);
    if (byte < 0x80) {
      ++pos;
      if (byte == '[') {
        keep = false;
      } else if (byte == ']') {
        keep = true;
      } else if (keep && IsCellCharacter(UpperChar(byte))) {
        placed += static_cast<char>(UpperChar(byte));
      }
      continue;
    }
    const char32_t ch = UpperChar(DecodeUtf8(entry, pos));
    if (keep && IsCellCharacter(ch)) AppendUtf8(placed, ch);
  }
  return placed;
}

int FindLast(std::string_view text, std::string_view ch) {
  if (ch.empty() || CharCount(ch) != 1 || text.size() < ch.size()) return 0;
  std::size_t at = text.rfind(ch);
  return at == std::string_view::npos ? 0 : static_cast<int>(at + 1);
}

std::string SomeWords(const std::vector<std::string>& words, std::size_t few) {
  std::string text;
  for (std::size_t i = 0; i < words.size() && i < few; ++i) text += (i == 0 ? "" : ", ") + words[i];
  if (words.size() > few) text += " and " + std::to_string(words.size() - few) + " more";
  return text;
}

}  // namespace kivrel
