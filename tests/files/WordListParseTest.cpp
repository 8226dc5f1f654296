#include <gtest/gtest.h>

#include "TestApp.h"
#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
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

std::string Utf16(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(ParseWordList, ReadsWhatAListMayHoldAndRefusesWhatIsNone) {
  const std::string not_text = "! " + std::string(kNotAWordListMessage) + " - it holds bytes that are not text";
  const std::u16string utf16 =
      u"1\tStra\u00DFe\t 9\t 9\t 1\t 1\t\r\nSTRA\u00DFE\r\n\U0001F600\U0010FFFD smile\r\n\xD800x\r\n";
  const std::string utf8 = "1\tStraße\t 9\t 9\t 1\t 1\t\r\nStraße\r\nŁódź\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"1\tMy Puzzle\t 15\t 14\t 1\t 1\tFind it.\r\nCAT\r\nNew York [city]\r\n",
       "{My Puzzle 15x14 111 Find it.}|CAT|New York [city]"},
      // Empty fields count, and the options are read as absolute values.
      {"1\t\t 15\t 15\t-1\t-1\t\r\n", "{ 15x15 111 }"},
      // A ninth field of 0, and only 0, turns backwards words off.
      {"1\tT\t 5\t 5\t 1\t 1\tI\t\t 0\r\n", "{T 5x5 110 I}"},
      {"1\tT\t 5\t 5\t 1\t 1\tI\tHi\t 0\r\n", "{T 5x5 110 I}"},
      {"1\tT\t 5\t 5\t 1\t 1\tI\tHi\t-1\r\n", "{T 5x5 111 I}"},
      {"1\tT\t 5\t 5\t 1\t 1\tI\tHi\t 2\r\n", "{T 5x5 111 I}"},
      {"1\tT\t 5\t 5\t 1\t 1\tI\tHi\t\r\n", "{T 5x5 111 I}"},
      // Any line end, quotes taken off, blank lines left out, the later header wins and
      // a width is rounded.
      {"1\tFirst\t 5\t 5\t 0\t 0\tx\n2\tsomething else\n\"quoted entry\"\r\"\na\"b\r\n\n1\tSecond\t 7.6\t 8\ncaf\xE9",
       "{Second 8x8 001 }|quoted entry|\"|café"},
      // A line holding a quote loses its first and last characters, whatever they are.
      {"say \"hi\"\né\"é\n", "|ay \"hi|\""},
      {"1\tBig\t-3\t 5\t 1\t 1\t\r\n", "! The word list's header gives a negative width or height"},
      {"1\tBig\t 5\t 5\t 99999\t 1\t\r\n", "! The word list's header holds a number that is out of range"},
      // A side above 99 is named and left out; the list stays.
      {"1\tBig\t 100\t 15\t 1\t 1\t\r\nCAT\r\n", "{Big 0x0 111 }<100 x 15>|CAT"},
      {"1\tBig\t 15\t 700\t 1\t 1\t\r\n", "{Big 0x0 111 }<15 x 700>"},
      {"1\tBig\t 40000\t 99999\t 1\t 1\t\r\nCAT\r\n", "{Big 0x0 111 }<40000 x 99999>|CAT"},
      {"1\tJust\t 99\t 99\t 1\t 1\t\r\n", "{Just 99x99 111 }"},
      // UTF-16 either way round: a pair joined, a lone half U+FFFD.
      {Utf16(utf16, false), "{Straße 9x9 111 }|STRAßE|\U0001F600\U0010FFFD smile|\uFFFDx"},
      {Utf16(utf16, true), "{Straße 9x9 111 }|STRAßE|\U0001F600\U0010FFFD smile|\uFFFDx"},
      // UTF-8 with or without a mark; a mark over other bytes decides all the same; no
      // mark and not UTF-8 is code page 1252.
      {utf8, "{Straße 9x9 111 }|Straße|Łódź"},
      {"\uFEFF" + utf8, "{Straße 9x9 111 }|Straße|Łódź"},
      {"\uFEFFcaf\xE9\n", "|caf\uFFFD"},
      {"Stra\337e\r\n\x80uro\r\n", "|Straße|€uro"},
      // A stray control is text; a DOS end-of-file mark ends the list.
      {"C\x01T\r\nDOG\r\n\x1A", "|C\x01T|DOG"},
      {std::string("LION\r\nTI\0GER\r\n", 14), not_text},
      {"LION\r\n\x01\x02\x7F\x1BT\x06\r\n", not_text},
      {std::string("\xFF\xFEL\0I\0\0\0", 8), not_text},
      {"CAT\r\n\r\n" + std::string(1001, '-') + "\r\n",
       "! The entry on line 3 of the word list is longer than the 1000 characters an entry may have"},
      {"\"" + std::string(1000, 'a') + "\"\n", "|" + std::string(1000, 'a')},
  };
  for (const auto& [bytes, want] : cases) EXPECT_EQ(Read(bytes), want) << bytes.substr(0, 40);

  // The limits, noticed at the entry that passes them; blank lines cost nothing.
  std::string entries;
  for (int i = 0; i < WordList::kMaxEntries; ++i) entries += "a\n";
  const auto full = ParseWordList(std::string(200000, '\n') + entries);
  EXPECT_EQ(full ? full->Entries.size() : 0u, std::size_t{WordList::kMaxEntries});
  EXPECT_EQ(Read(entries + "a\n"),
            "! " + std::string(kNotAWordListMessage) +
                " - line 32768 takes it past what a list holds: 32767 entries and 32767 letters");
  EXPECT_EQ(Read(std::string(32768, 'x') + "\n").substr(0, 2), "! ");
}

TEST(LoadWordList, APlainListTakesTheDefaults) {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  s.PuzzleTitle = "old";
  s.IncludeDiagonals = s.BalanceDirections = s.BackwardsWords = 0;
  s.StopOnFirstReject = 1;
  ASSERT_TRUE(LoadWordList(app.ctx, *ParseWordList("cat\ndog\n\n  \nhorse\n"), nullptr));
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - (untitled)");
  // StopOnFirstReject is not a default build option: it stays.
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.IncludeDiagonals, s.BalanceDirections, s.BackwardsWords, s.StopRemainingCount,
                     s.StopOnFirstReject, s.RestartOnFirstReject, s.WordCount, s.LongestWordLength),
            std::make_tuple(i16{0}, i16{1}, i16{1}, i16{1}, i16{-1}, i16{1}, i16{0}, i16{3}, i16{5}));
}

}  // namespace
}  // namespace kivrel
