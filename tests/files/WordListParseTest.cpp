#include <gtest/gtest.h>

#include <fstream>

#include "TestApp.h"
#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
#include "model/Text.h"
#include "model/WordList.h"

namespace kivrel {
namespace {

// What a reader makes of the bytes, in one line: "! reason" when refused; otherwise the
// header as {title WxH diagonals balance backwards instructions}, a size it refused as
// <size>, then each entry after a "|".
std::string Read(std::string_view bytes) {
  auto parsed = ParseWordList(bytes);
  if (!parsed) return "! " + parsed.Error().Reason;
  std::string out;
  if (const auto& h = parsed->Header) {
    out = "{" + h->Title + " " + std::to_string(h->Width) + "x" + std::to_string(h->Height) + " " +
          std::to_string(h->IncludeDiagonals) + std::to_string(h->BalanceDirections) +
          std::to_string(h->BackwardsWords) + " " + h->Instructions + "}";
  }
  if (!parsed->RefusedSize.empty()) out += "<" + parsed->RefusedSize + ">";
  for (const std::string& entry : parsed->Entries) out += "|" + entry;
  return out;
}

// The escapes of tests/data/word-lists.txt: \t \r \n \\ and \xHH, a byte.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] == '\\' ? text[++i] : '\0';
    if (c == 'x') out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
    i += c == 'x' ? 2 : 0;
    if (c != 'x') out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c ? c : text[i];
  }
  return out;
}

TEST(ParseWordList, ReadsWhatAListMayHoldAndRefusesWhatIsNone) {
  std::ifstream cases(std::string(KIVREL_TEST_DATA_DIR) + "/word-lists.txt");
  std::string bytes;
  int read = 0;
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (!line.starts_with("= ")) {
      bytes = Unescape(line);
    } else {
      EXPECT_EQ(Read(bytes), Unescape(line.substr(2))) << line;
      ++read;
    }
  }
  EXPECT_EQ(read, 23);  // every case of the file

  // An entry of 1000 characters is the longest; blank lines cost nothing, and the limit
  // of entries is noticed at the entry that passes it.
  EXPECT_EQ(Read("\"" + std::string(1000, 'a') + "\"\n"), "|" + std::string(1000, 'a'));
  EXPECT_EQ(Read("CAT\r\n\r\n" + std::string(1001, '-') + "\r\n"),
            "! The entry on line 3 of the word list is longer than the 1000 characters an entry may have");
  std::string entries;
  for (int i = 0; i < WordList::kMaxEntries; ++i) entries += "a\n";
  const auto full = ParseWordList(std::string(200000, '\n') + entries);
  EXPECT_EQ(full ? full->Entries.size() : 0u, std::size_t{WordList::kMaxEntries});
  EXPECT_EQ(Read(entries + "a\n"),
            "! " + std::string(kNotAWordListMessage) +
                " - line 32768 takes it past what a list holds: 32767 entries and 32767 letters");
}

// A list without a header takes the default build options, but Stop on First Reject,
// which is none of them, stays.
TEST(LoadWordList, APlainListTakesTheDefaults) {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = s.BalanceDirections = s.BackwardsWords = 0;
  s.StopOnFirstReject = 1;
  ASSERT_TRUE(LoadWordList(app.ctx, *ParseWordList("cat\ndog\n\n  \nhorse\n"), nullptr));
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - (untitled)");
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.IncludeDiagonals, s.BalanceDirections, s.BackwardsWords, s.StopRemainingCount,
                     s.StopOnFirstReject, s.WordCount),
            std::make_tuple(i16{0}, i16{1}, i16{1}, i16{1}, i16{-1}, i16{1}, i16{3}));
}

}  // namespace
}  // namespace kivrel
