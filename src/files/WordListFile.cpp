#include "files/WordListFile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "files/Cp1252.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "model/WordList.h"

namespace kivrel {

std::vector<std::string> HeaderFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(Trim(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start)));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

std::string UnquoteEntry(std::string_view line) {
  if (line.find('"') == std::string_view::npos) return std::string(line);
  std::size_t count = CharCount(line);
  if (count < 2) return {};
  std::size_t first_end = 0;
  DecodeUtf8(line, first_end);
  std::size_t last_start = line.size() - 1;
  while (last_start > 0 && (static_cast<unsigned char>(line[last_start]) & 0xC0) == 0x80) --last_start;
  return std::string(line.substr(first_end, last_start - first_end));
}

std::vector<std::string> PlacedWords(const ParsedWordList& list) {
  std::vector<std::string> words;
  for (const std::string& entry : list.Entries) {
    std::string word = PlacedWord(entry);
    if (!word.empty()) words.push_back(std::move(word));
  }
  return words;
}

namespace {

// A header number: the field's leading number rounded, which must fit 16 bits.
bool HeaderNumber(const std::vector<std::string>& fields, std::size_t index, bool absolute, i16* out) {
  if (index >= fields.size()) {
    *out = 0;
    return true;
  }
  double value = Val(fields[index]);
  if (absolute) value = std::fabs(value);
  if (!(value > -32768.5 && value < 32767.5)) return false;
  *out = static_cast<i16>(Nearest(value));
  return true;
}

// A side of the size: the field's leading number rounded, 0 when there is none.
int HeaderSide(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? Nearest(Val(fields[index])) : 0;
}

// The text of a UTF-16 file, with its byte-order mark, as UTF-8; a lone surrogate or an
// odd last byte reads as U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  std::string text;
  text.reserve(bytes.size());
  auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (first << 8 | second) : (second << 8 | first);
  };
  std::size_t i = 2;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t ch = unit(i);
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (ch >= 0xD800 && ch <= 0xDFFF) {
      ch = 0xFFFD;
    }
    AppendUtf8(text, ch);
  }
  if (i < bytes.size()) AppendUtf8(text, 0xFFFD);
  return text;
}

// How a list file's bytes are read. Linux editors write UTF-8, the program's own lists
// code page 1252, some editors UTF-16: a byte-order mark says UTF-8 (or UTF-16, made
// UTF-8 in `decoded`); so does valid UTF-8 that holds anything beyond ASCII, though code
// page 1252 text can look like it ("Ã©"). A malformed byte after a UTF-8 mark reads as
// U+FFFD.
enum class Reading { Cp1252, Utf8, Utf8ByItsBytes };

Reading ReadingOf(std::string_view& bytes, std::string& decoded) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    decoded = Utf16ToUtf8(bytes, bytes[0] == '\xFE');
    bytes = decoded;
    return Reading::Utf8;
  }
  if (bytes.starts_with(kMark)) {
    bytes.remove_prefix(kMark.size());
    if (!IsValidUtf8(bytes)) {
      decoded = Utf8(Characters(bytes));
      bytes = decoded;
    }
    return Reading::Utf8;
  }
  const bool ascii =
      std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return !ascii && IsValidUtf8(bytes) ? Reading::Utf8ByItsBytes : Reading::Cp1252;
}

// An entry that is mostly control characters (other than the form feed) is no text.
// Entries are written as they are read, so a list that was read reads again.
bool MostlyControls(std::string_view entry) {
  std::size_t controls = 0;
  for (char c : entry) {
    const auto byte = static_cast<unsigned char>(c);
    controls += (byte < 0x20 && c != '\f') || byte == 0x7F;
  }
  return controls * 2 > CharCount(entry);
}

// Calls `line(text, number)` for each line of the text that is not empty (numbered from
// 1, empty ones too), until it returns false; returns whether every call returned true.
template <typename Line>
bool EachLine(std::string_view text, Line&& line) {
  std::size_t pos = 0;
  std::size_t number = 0;
  while (pos < text.size()) {
    ++number;
    std::size_t end = text.find_first_of("\r\n", pos);
    std::string_view raw = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (end == std::string_view::npos) {
      pos = text.size();
    } else {
      pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    if (!raw.empty() && !line(raw, number)) return false;
  }
  return true;
}

FileError Refusal(std::string reason) { return FileError(FileFault::Invalid, std::move(reason)); }

std::string NotAList(const std::string& why) { return std::string(kNotAWordListMessage) + " - " + why; }

const char* const kNotText = "it holds bytes that are not text";

// Whether no entry line of the text, read as UTF-8 or as code page 1252, is mostly
// control characters.
bool LinesAreText(std::string_view bytes, bool utf8) {
  return EachLine(bytes, [utf8](std::string_view raw, std::size_t) {
    return raw.find('\t') != std::string_view::npos ||
           !MostlyControls(UnquoteEntry(utf8 ? std::string(raw) : Cp1252ToUtf8(raw)));
  });
}

// Whether the text of a list file is UTF-8 (see ReadingOf). Code page 1252 that happens
// to be valid UTF-8 can hold fewer characters read that way, and so too many controls
// among them: read as the program writes its lists, it is text again.
bool ReadsAsUtf8(std::string_view& bytes, std::string& decoded) {
  const Reading reading = ReadingOf(bytes, decoded);
  if (reading == Reading::Utf8ByItsBytes) return LinesAreText(bytes, true) || !LinesAreText(bytes, false);
  return reading == Reading::Utf8;
}

}  // namespace

bool IsWordListText(std::string_view bytes) {
  if (bytes.ends_with('\x1A')) bytes.remove_suffix(1);
  std::string decoded;
  const bool utf8 = ReadsAsUtf8(bytes, decoded);
  if (bytes.find('\0') != std::string_view::npos) return false;
  return LinesAreText(bytes, utf8);
}

std::string RefusedSizeMessage(const std::string& size) {
  return "The list asks for a " + size + " puzzle. " + kLargestSizeText +
         ": Default Dimensions proposes a size for it.";
}

FileResult<ParsedWordList> ParseWordList(std::string_view file_bytes) {
  std::string_view bytes = file_bytes;
  if (bytes.ends_with('\x1A')) bytes.remove_suffix(1);  // the end-of-file mark of old DOS editors
  std::string decoded;
  const bool utf8 = ReadsAsUtf8(bytes, decoded);
  // Text holds no NUL: a picture, a program or an archive nearly always does.
  if (bytes.find('\0') != std::string_view::npos) return Refusal(NotAList(kNotText));
  ParsedWordList result;
  std::optional<FileError> refused;
  // The limits are checked line by line, so a list far too long is refused as soon as
  // it passes them, and blank lines take no memory.
  WordList limits;
  EachLine(bytes, [&](std::string_view raw, std::size_t number) {
    auto line_name = [number] { return "line " + std::to_string(number); };
    auto too_long = [&] {
      refused = Refusal("The entry on " + line_name() + " of the word list is longer than the " +
                        std::to_string(kLongestEntry) + " characters an entry may have");
      return false;
    };
    // A line far too long is refused before it is converted (+ 2: the quotes it may have).
    const bool record = raw.find('\t') != std::string_view::npos;
    if (!record && (utf8 ? CharCount(raw) : raw.size()) > kLongestEntry + 2) return too_long();
    std::string line = utf8 ? std::string(raw) : Cp1252ToUtf8(raw);
    if (!record) {
      std::string entry = UnquoteEntry(line);
      if (Trim(entry).empty()) return true;
      if (CharCount(entry) > kLongestEntry) return too_long();
      if (MostlyControls(entry)) {
        refused = Refusal(NotAList(kNotText));
        return false;
      }
      if (!limits.Fits(entry)) {
        refused = Refusal(NotAList(line_name() +
                                   " takes it past what a list holds: " + std::to_string(WordList::kMaxEntries) +
                                   " entries and " + std::to_string(WordList::kMaxLetters) + " letters"));
        return false;
      }
      limits.AddItem(entry);
      result.Entries.push_back(std::move(entry));
      return true;
    }
    std::vector<std::string> fields = HeaderFields(line);
    if (fields[0] != "1") return true;  // a record line of another kind
    WordListHeader header;
    header.Title = fields.size() > 1 ? fields[1] : "";
    header.Instructions = fields.size() > 6 ? fields[6] : "";
    header.MysteryQuote = fields.size() > 7 ? fields[7] : "";
    // Backwards words are off only where a ninth field says so: an empty one (a tab
    // left at the end of the line) leaves them on.
    const bool backwards_given = fields.size() > 8 && !fields[8].empty();
    if (!HeaderNumber(fields, 4, true, &header.IncludeDiagonals) ||
        !HeaderNumber(fields, 5, true, &header.BalanceDirections) ||
        (backwards_given && !HeaderNumber(fields, 8, true, &header.BackwardsWords))) {
      refused = Refusal("The word list's header holds a number that is out of range");
      return false;
    }
    if (header.BackwardsWords != 0) header.BackwardsWords = 1;
    const int width = HeaderSide(fields, 2);
    const int height = HeaderSide(fields, 3);
    if (width < 0 || height < 0) {
      refused = Refusal("The word list's header gives a negative width or height");
      return false;
    }
    result.RefusedSize.clear();
    if (width > kLargestSide || height > kLargestSide) {
      result.RefusedSize = fields[2] + " x " + (fields.size() > 3 ? fields[3] : "0");
    } else {
      header.Width = static_cast<i16>(width);
      header.Height = static_cast<i16>(height);
    }
    result.Header = header;
    return true;
  });
  if (refused) return *refused;
  return result;
}

namespace {

// A header field or an entry kept on its one line: tabs and line breaks become spaces
// (a CR LF pair one space), and so does a NUL, which no list file holds.
std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    line += (c == '\t' || c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
  }
  return line;
}

}  // namespace

WordListHeader HeaderOf(const PuzzleState& state) {
  return {state.PuzzleTitle,       state.PuzzleWidth,        state.PuzzleHeight, state.IncludeDiagonals,
          state.BalanceDirections, state.PuzzleInstructions, state.MysteryQuote, state.BackwardsWords};
}

void ApplyHeader(PuzzleState& state, const WordListHeader& header) {
  state.PuzzleTitle = header.Title;
  state.PuzzleWidth = header.Width;
  state.PuzzleHeight = header.Height;
  state.IncludeDiagonals = header.IncludeDiagonals;
  state.BalanceDirections = header.BalanceDirections;
  state.PuzzleInstructions = header.Instructions;
  state.MysteryQuote = header.MysteryQuote;
  state.BackwardsWords = header.BackwardsWords;
}

std::string WordListFileBytes(const PuzzleState& state, const std::vector<std::string>& entries) {
  const std::string tab(1, '\t');
  const std::string quote = Trim(OneLine(state.MysteryQuote));
  const bool backwards = state.BackwardsWords != 0;
  // The fields after the seventh are written only when they say something.
  const bool more_fields = !quote.empty() || !backwards;
  auto field = [more_fields](const std::string& text) {
    std::string line = OneLine(text);
    return more_fields && Trim(line).empty() ? std::string(" ") : line;
  };
  std::string text = "1" + tab + field(state.PuzzleTitle) + tab + SignedNumberText(state.PuzzleWidth) + tab +
                     SignedNumberText(state.PuzzleHeight) + tab + SignedNumberText(state.IncludeDiagonals) + tab +
                     SignedNumberText(std::abs(state.BalanceDirections)) + tab + field(state.PuzzleInstructions);
  if (more_fields) text += tab + (backwards ? quote : field(quote));
  if (!backwards) text += tab + SignedNumberText(0);
  text += "\r\n";
  for (const std::string& entry : entries) {
    if (Trim(entry).empty()) continue;
    std::string line = OneLine(entry);
    if (line.find('"') != std::string::npos) line = '"' + line + '"';
    text += line + "\r\n";
  }
  return Utf8ToCp1252(text);
}

}  // namespace kivrel
