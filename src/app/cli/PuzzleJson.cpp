#include "PuzzleJson.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace kivrel::cli {

namespace {

const char* StatusName(i16 status) {
  switch (status) {
    case kStatusPlaced: return "placed";
    case kStatusRejected: return "rejected";
    default: return "not placed";
  }
}

}  // namespace

std::string JoinWords(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
  return text;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;  // UTF-8 passes through
    }
  }
  return out + "\"";
}

void WritePuzzleJson(std::ostream& out, const PuzzleState& s, const std::optional<BuildRunInfo>& run) {
  int words = 0;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) words += s.Words[static_cast<std::size_t>(i)].Length > 0;
  out << "{\"title\":" << JsonString(s.PuzzleTitle) << ",\"instructions\":" << JsonString(s.PuzzleInstructions)
      << ",\"width\":" << s.Grid.Width() << ",\"height\":" << s.Grid.Height();
  if (run) {
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.3f", run->ElapsedMs);
    out << ",\"seed\":" << run->Seed << ",\"attempts\":" << run->Attempts
        << ",\"gaveUp\":" << (run->GaveUp ? "true" : "false") << ",\"elapsedMs\":" << elapsed
        << ",\"fillRedrawn\":" << run->FillRedrawn << ",\"foundTwice\":[";
    for (std::size_t i = 0; i < run->FoundTwice.size(); ++i) out << (i ? "," : "") << JsonString(run->FoundTwice[i]);
    out << "]";
  } else {
    out << ",\"seed\":null,\"attempts\":null,\"gaveUp\":null,\"elapsedMs\":null"
        << ",\"fillRedrawn\":null,\"foundTwice\":null";
  }
  out << ",\"mysteryQuote\":" << JsonString(s.MysteryQuote);
  out << ",\"wordCount\":" << words << ",\"inserted\":" << s.InsertedCount << ",\"rejected\":" << s.RejectedCount
      << ",\"junctions\":" << s.JunctionCount << ",\"lettersRemaining\":" << s.LettersRemaining
      << ",\"spacesRemaining\":" << s.SpacesRemaining << ",\"blanksFilled\":" << (s.BlanksFilled ? "true" : "false");
  out << ",\"directionCounts\":[";
  for (int d = 1; d <= kDirectionCount; ++d) out << (d > 1 ? "," : "") << s.DirectionWordCount[static_cast<std::size_t>(d)];
  out << "],\"grid\":[";
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    std::string line;
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      line += cell.IsEmpty() ? " " : cell.Letter;
    }
    out << (row > 1 ? "," : "") << JsonString(line);
  }
  out << "],\"words\":[";
  bool first = true;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Length <= 0) continue;
    out << (first ? "" : ",") << "{\"text\":" << JsonString(word.Text) << ",\"display\":" << JsonString(word.DisplayText)
        << ",\"status\":\"" << StatusName(word.Status) << "\"";
    const bool placed = word.Status == kStatusPlaced && word.Direction >= 1 && word.Direction <= kDirectionCount;
    if (placed) {
      out << ",\"row\":" << word.StartRow << ",\"col\":" << word.StartCol << ",\"direction\":" << word.Direction
          << ",\"directionName\":\"" << kDirectionNames[word.Direction] << "\"";
    } else {
      out << ",\"row\":null,\"col\":null,\"direction\":null,\"directionName\":null";
    }
    out << ",\"length\":" << word.Length << "}";
    first = false;
  }
  out << "]}\n";
}

}  // namespace kivrel::cli
