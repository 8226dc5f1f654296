// Where the line scan puts a word in a hand-made grid. (Every other decision of the
// build, and the first word's place, is pinned by the seeded builds' digests.)
#include <gtest/gtest.h>

#include <set>

#include "BuildHelpers.h"
#include "engine/LineScanner.h"
#include "engine/Placement.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::TestApp;

// Each case: a grid ('.' or past the end of its row: empty; every letter used by one
// word unless `uses` gives a digit per cell), the word and its directions, a direction
// made busy, and the places allowed as direction (0: any), row, column, crossings.
TEST(LineScanRules, MoreCrossingsWinThenBusierCellsThenTheLessUsedDirectionAndNeverANinthWord) {
  struct Case {
    const char* rule;
    std::vector<std::string> rows;
    std::string word;
    int directions, busy_direction;
    std::vector<std::string> uses;
    std::set<std::array<int, 4>> allowed;
  };
  const std::vector<std::string> corner = {"C....", ".....", ".....", ".....", "....."};
  const std::vector<std::string> ring = {"BBB", "BAB", "BBB"};
  const Case cases[] = {
      {"more crossings", {"C....", ".....", "..CA.", ".....", "....."}, "CAT", 4, 0, {}, {{1, 3, 3, 2}}},
      // One crossing either way; the lower C has three words through it.
      {"busier", {"C....", "", "", "", "....C"}, "CAT", 4, 0, {"1", "", "", "", "00003"}, {{2, 5, 5, 1}, {4, 5, 5, 1}}},
      // CAT crosses the C going Right or going Down, equally well.
      {"fewer words Right", corner, "CAT", 4, 1, {}, {{3, 1, 1, 1}}},
      {"fewer words Down", corner, "CAT", 4, 3, {}, {{1, 1, 1, 1}}},
      {"inside a placed word", {"ELEPHANT", "........", "........"}, "ANT", 4, 0, {}, {{1, 1, 6, 3}}},
      // Only the bottom row is free: the first place found there.
      {"no crossing", {"XXXX", "XXXX", "...."}, "ABC", 4, 0, {}, {{1, 3, 1, 0}, {2, 3, 4, 0}}},
      // The only place for A is the middle cell: an eighth word may cross there, no ninth.
      {"seven words", ring, "A", 8, 0, {"111", "171", "111"}, {{0, 2, 2, 1}}},
      {"eight words", ring, "A", 8, 0, {"111", "181", "111"}, {{0, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    TestApp app;
    PuzzleState& s = app.ctx.state;
    const int h = static_cast<int>(c.rows.size()), w = static_cast<int>(c.rows[0].size());
    testing::SetUpPuzzle(app, {c.word}, w, h, 5);
    BuildWordTable(app.ctx);
    s.Grid.Create(h, w);
    auto at = [](const std::vector<std::string>& rows, int r, int col) {
      const std::string& row = rows[static_cast<std::size_t>(r - 1)];
      return static_cast<std::size_t>(col) <= row.size() ? row[static_cast<std::size_t>(col - 1)] : '.';
    };
    for (int r = 1; r <= h; ++r) {
      for (int col = 1; col <= w; ++col) {
        if (at(c.rows, r, col) == '.') continue;
        s.Grid.At(r, col).Letter = std::string(1, at(c.rows, r, col));
        s.Grid.At(r, col).UseCount = static_cast<i16>(c.uses.empty() ? 1 : at(c.uses, r, col) == '.' ? 0 : at(c.uses, r, col) - '0');
      }
    }
    s.DirectionCount = static_cast<i16>(c.directions);
    s.CurrentWordIndex = 1;
    if (c.busy_direction > 0) s.DirectionWordCount[static_cast<std::size_t>(c.busy_direction)] = 5;
    BuildProgress unwatched;
    BuildPause pause(s, unwatched);
    LineScanner scanner;
    scanner.StartBuild(s);
    scanner.StartAttempt(s);
    ASSERT_TRUE(scanner.Search(s, app.ctx.rng, pause));
    const std::array<int, 4> found = {s.BestDirection, s.BestRow, s.BestCol, s.BestCrossings};
    EXPECT_TRUE(c.allowed.count(found) || (found[0] > 0 && c.allowed.count({0, found[1], found[2], found[3]})))
        << c.rule << ": " << found[0] << " " << found[1] << "," << found[2] << " x" << found[3];
    // Nor can a ninth word be put there by hand.
    if (c.rule == std::string("eight words")) {
      s.CurrentDirection = s.CurrentRow = s.CurrentCol = 2;
      s.CurrentWordLength = 1;
      EXPECT_THROW(InsertWord(s), std::logic_error);
    }
  }
}

}  // namespace
}  // namespace kivrel
