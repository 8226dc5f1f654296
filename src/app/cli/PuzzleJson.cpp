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

void OrderedJsonObject::Add(std::string_view key, const QJsonValue& value) { AddJson(key, JsonText(value)); }

void OrderedJsonObject::AddJson(std::string_view key, const std::string& json) {
  text_ += text_.empty() ? "{" : ",";
  text_ += JsonText(JsonStringOf(key)) + ":" + json;
}

std::string OrderedJsonObject::Text() const { return text_.empty() ? "{}" : text_ + "}"; }

void WritePuzzleJson(std::ostream& out, const PuzzleState& s, const std::optional<BuildRunInfo>& run) {
  int words = 0;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) words += s.Words[static_cast<std::size_t>(i)].Length > 0;
  OrderedJsonObject puzzle;
  puzzle.Add("title", JsonStringOf(s.PuzzleTitle));
  puzzle.Add("instructions", JsonStringOf(s.PuzzleInstructions));
  puzzle.Add("width", s.Grid.Width());
  puzzle.Add("height", s.Grid.Height());
  if (run) {
    puzzle.Add("seed", static_cast<qint64>(run->Seed));  // at most 2^53 - 1: exact
    puzzle.Add("attempts", static_cast<qint64>(run->Attempts));
    puzzle.Add("gaveUp", run->GaveUp);
    puzzle.Add("elapsedMs", std::round(run->ElapsedMs * 1000) / 1000);
    puzzle.Add("fillRedrawn", run->FillRedrawn);
    QJsonArray twice;
    for (const std::string& word : run->FoundTwice) twice.append(JsonStringOf(word));
    puzzle.Add("foundTwice", twice);
  } else {
    for (const char* key : {"seed", "attempts", "gaveUp", "elapsedMs", "fillRedrawn", "foundTwice"}) {
      puzzle.Add(key, QJsonValue::Null);
    }
  }
  puzzle.Add("mysteryQuote", JsonStringOf(s.MysteryQuote));
  puzzle.Add("wordCount", words);
  puzzle.Add("inserted", s.InsertedCount);
  puzzle.Add("rejected", s.RejectedCount);
  puzzle.Add("junctions", s.JunctionCount);
  puzzle.Add("lettersRemaining", s.LettersRemaining);
  puzzle.Add("spacesRemaining", s.SpacesRemaining);
  puzzle.Add("blanksFilled", s.BlanksFilled != 0);
  QJsonArray directions;
  for (int d = 1; d <= kDirectionCount; ++d) directions.append(s.DirectionWordCount[static_cast<std::size_t>(d)]);
  puzzle.Add("directionCounts", directions);
  QJsonArray grid;
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    std::string line;
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      line += cell.IsEmpty() ? " " : cell.Letter;
    }
    grid.append(JsonStringOf(line));
  }
  puzzle.Add("grid", grid);
  std::string list;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Length <= 0) continue;
    OrderedJsonObject entry;
    entry.Add("text", JsonStringOf(word.Text));
    entry.Add("display", JsonStringOf(word.DisplayText));
    entry.Add("status", QString::fromLatin1(StatusName(word.Status)));
    const bool placed = word.Status == kStatusPlaced && word.Direction >= 1 && word.Direction <= kDirectionCount;
    entry.Add("row", placed ? QJsonValue(word.StartRow) : QJsonValue::Null);
    entry.Add("col", placed ? QJsonValue(word.StartCol) : QJsonValue::Null);
    entry.Add("direction", placed ? QJsonValue(word.Direction) : QJsonValue::Null);
    entry.Add("directionName", placed ? JsonStringOf(kDirectionNames[word.Direction]) : QJsonValue::Null);
    entry.Add("length", word.Length);
    list += (list.empty() ? "" : ",") + entry.Text();
  }
  puzzle.AddJson("words", "[" + list + "]");
  out << puzzle.Text() << "\n";
}

}  // namespace kivrel::cli
