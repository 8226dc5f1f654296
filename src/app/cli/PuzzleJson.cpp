#include "PuzzleJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <cmath>
#include <ostream>
#include <string>

namespace kivrel::cli {

namespace {

const char* StatusName(i16 status) {
  switch (status) {
    case kStatusPlaced:
      return "placed";
    case kStatusRejected:
      return "rejected";
    default:
      return "not placed";
  }
}

// Program text as a JSON value; a byte that is not UTF-8 becomes U+FFFD, so the
// output is always valid UTF-8.
QJsonValue JsonStringOf(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Text as a JSON string, escaped as Qt escapes it. Plain ASCII (the grid, the words,
// the names) is written here directly: going through a Qt document for each of a
// puzzle's thousand strings cost several times the build itself and left the caches
// cold for the next build. Anything else goes through Qt, which also mends bad UTF-8.
void AppendJsonString(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      out += JsonText(JsonStringOf(text));
      return;
    }
  }
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[(c >> 4) & 0xf];
          out += kHex[c & 0xf];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace

std::string JoinWords(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
  return text;
}

std::string JsonText(const QJsonValue& value) {
  // Qt writes whole documents only: the value is written as the one element of an
  // array, whose brackets are taken off again.
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return array.mid(1, array.size() - 2).toStdString();
}

void OrderedJsonObject::Key(std::string_view key) {
  text_ += text_.empty() ? '{' : ',';
  AppendJsonString(text_, key);
  text_ += ':';
}

void OrderedJsonObject::AddString(std::string_view key, std::string_view text) {
  Key(key);
  AppendJsonString(text_, text);
}

void OrderedJsonObject::AddNumber(std::string_view key, long long number) {
  Key(key);
  text_ += std::to_string(number);
}

void OrderedJsonObject::AddBool(std::string_view key, bool flag) {
  Key(key);
  text_ += flag ? "true" : "false";
}

void OrderedJsonObject::AddNull(std::string_view key) {
  Key(key);
  text_ += "null";
}

void OrderedJsonObject::AddJson(std::string_view key, std::string_view json) {
  Key(key);
  text_ += json;
}

std::string OrderedJsonObject::Text() const { return text_.empty() ? "{}" : text_ + "}"; }

void WritePuzzleJson(std::ostream& out, const PuzzleState& s, const std::optional<BuildRunInfo>& run, bool with_words) {
  int words = 0;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) words += s.Words[static_cast<std::size_t>(i)].Length > 0;
  OrderedJsonObject puzzle;
  puzzle.AddString("title", s.PuzzleTitle);
  puzzle.AddString("instructions", s.PuzzleInstructions);
  puzzle.AddNumber("width", s.Grid.Width());
  puzzle.AddNumber("height", s.Grid.Height());
  if (run) {
    puzzle.AddNumber("seed", static_cast<long long>(run->Seed));  // at most 2^53 - 1: exact
    puzzle.AddNumber("attempts", run->Attempts);
    puzzle.AddBool("gaveUp", run->GaveUp);
    puzzle.AddJson("elapsedMs", JsonText(std::round(run->ElapsedMs * 1000) / 1000));
    puzzle.AddNumber("fillRedrawn", run->FillRedrawn);
    std::string twice;
    for (const std::string& word : run->FoundTwice) {
      twice += twice.empty() ? "" : ",";
      AppendJsonString(twice, word);
    }
    puzzle.AddJson("foundTwice", "[" + twice + "]");
  } else {
    for (const char* key : {"seed", "attempts", "gaveUp", "elapsedMs", "fillRedrawn", "foundTwice"}) {
      puzzle.AddNull(key);
    }
  }
  puzzle.AddString("mysteryQuote", s.MysteryQuote);
  puzzle.AddNumber("wordCount", words);
  puzzle.AddNumber("inserted", s.InsertedCount);
  puzzle.AddNumber("rejected", s.RejectedCount);
  puzzle.AddNumber("junctions", s.JunctionCount);
  puzzle.AddNumber("lettersRemaining", s.LettersRemaining);
  puzzle.AddNumber("spacesRemaining", s.SpacesRemaining);
  puzzle.AddBool("blanksFilled", s.BlanksFilled != 0);
  std::string directions;
  for (int d = 1; d <= kDirectionCount; ++d) {
    directions += (d > 1 ? "," : "") + std::to_string(s.DirectionWordCount[static_cast<std::size_t>(d)]);
  }
  puzzle.AddJson("directionCounts", "[" + directions + "]");
  std::string grid;
  std::string line;
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    line.clear();
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      line += cell.IsEmpty() ? " " : cell.Letter;
    }
    grid += row > 1 ? "," : "";
    AppendJsonString(grid, line);
  }
  puzzle.AddJson("grid", "[" + grid + "]");
  if (!with_words) {
    out << puzzle.Text() << "\n";
    return;
  }
  std::string list;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Length <= 0) continue;
    OrderedJsonObject entry;
    entry.AddString("text", word.Text);
    entry.AddString("display", word.DisplayText);
    entry.AddString("status", StatusName(word.Status));
    if (word.Status == kStatusPlaced && word.Direction >= 1 && word.Direction <= kDirectionCount) {
      entry.AddNumber("row", word.StartRow);
      entry.AddNumber("col", word.StartCol);
      entry.AddNumber("direction", word.Direction);
      entry.AddString("directionName", kDirectionNames[word.Direction]);
    } else {
      for (const char* key : {"row", "col", "direction", "directionName"}) entry.AddNull(key);
    }
    entry.AddNumber("length", word.Length);
    list += (list.empty() ? "" : ",") + entry.Text();
  }
  puzzle.AddJson("words", "[" + list + "]");
  out << puzzle.Text() << "\n";
}

}  // namespace kivrel::cli
