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

}  // namespace

namespace {

// Whether a list file's bytes are UTF-8. Linux editors write UTF-8, the program's own
// lists code page 1252: a byte-order mark, or valid UTF-8 that holds anything beyond
// ASCII, says UTF-8. The mark is taken off `bytes`; a malformed byte after a mark
// reads as U+FFFD (the repaired text is kept in `repaired`).
bool ReadsAsUtf8(std::string_view& bytes, std::string& repaired) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kMark)) {
    bytes.remove_prefix(kMark.size());
    if (!IsValidUtf8(bytes)) {
      repaired = Utf8(Characters(bytes));
      bytes = repaired;
    }
    return true;
  }
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return !ascii && IsValidUtf8(bytes);
}

FileError Refusal(std::string reason) { return FileError(FileFault::Invalid, std::move(reason)); }

}  // namespace

FileResult<ParsedWordList> ParseWordList(std::string_view file_bytes) {
  std::string_view bytes = file_bytes;
  std::string repaired;
  const bool utf8 = ReadsAsUtf8(bytes, repaired);
  ParsedWordList result;
  // The limits are checked line by line, so a list far too long is refused as soon as
  // it passes them, and blank lines take no memory.
  WordList limits;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    std::string_view raw = bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (end == std::string_view::npos) {
      pos = bytes.size();
    } else {
      pos = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    if (raw.empty()) continue;
    std::string line = utf8 ? std::string(raw) : Cp1252ToUtf8(raw);
    if (line.find('\t') != std::string::npos) {
      std::vector<std::string> fields = HeaderFields(line);
      if (fields[0] != "1") continue;  // a record line of another kind
      WordListHeader header;
      header.Title = fields.size() > 1 ? fields[1] : "";
      header.Instructions = fields.size() > 6 ? fields[6] : "";
      header.MysteryQuote = fields.size() > 7 ? fields[7] : "";
      // Backwards words are off only where a ninth field says so: an empty one (a tab
      // left at the end of the line) leaves them on.
      const bool backwards_given = fields.size() > 8 && !fields[8].empty();
      if (!HeaderNumber(fields, 2, false, &header.Width) || !HeaderNumber(fields, 3, false, &header.Height) ||
          !HeaderNumber(fields, 4, true, &header.IncludeDiagonals) ||
          !HeaderNumber(fields, 5, true, &header.BalanceDirections) ||
          (backwards_given && !HeaderNumber(fields, 8, true, &header.BackwardsWords))) {
        return Refusal("The word list's header holds a number that is out of range");
      }
      if (header.BackwardsWords != 0) header.BackwardsWords = 1;
      if (header.Width < 0 || header.Height < 0) {
        return Refusal("The word list's header gives a negative width or height");
      }
      if (!GridSizeFits(header.Width, header.Height)) {
        return Refusal("The word list's header asks for a puzzle larger than 32767 cells");
      }
      result.Header = header;
    } else {
      std::string entry = UnquoteEntry(line);
      if (Trim(entry).empty()) continue;
      if (!limits.Fits(entry)) {
        return Refusal(kListFullMessage);
      }
      limits.AddItem(entry);
      result.Entries.push_back(std::move(entry));
    }
  }
  return result;
}

namespace {

// A header field or an entry kept on its one line: tabs and line breaks become spaces
// (a CR LF pair one space).
std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
  }
  return line;
}

}  // namespace

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
