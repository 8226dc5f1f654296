#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <tuple>
#include <vector>

#include "BuildHelpers.h"
#include "engine/LineScanner.h"
#include "engine/Placement.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::SetUpPuzzle;
using testing::TestApp;

// A hand-made grid ('.' or past the end of its row: empty; every letter used by one
// word unless `uses` says how many, a digit per cell) and one word to place in it.
struct HandGrid {
  TestApp app;
  PuzzleState& s = app.ctx.state;

  HandGrid(const std::vector<std::string>& rows, const std::string& word, int directions = 4,
           const std::vector<std::string>& uses = {}) {
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(rows[0].size());
    SetUpPuzzle(app, {word}, w, h, 5);
    BuildWordTable(app.ctx);
    s.Grid.Create(h, w);
    for (int r = 1; r <= h; ++r) {
      for (int c = 1; c <= w; ++c) {
        const char letter = At(rows, r, c, '.');
        if (letter == '.') continue;
        s.Grid.At(r, c).Letter = std::string(1, letter);
        s.Grid.At(r, c).UseCount = static_cast<i16>(uses.empty() ? 1 : At(uses, r, c, '0') - '0');
      }
    }
    s.DirectionCount = static_cast<i16>(directions);
    s.CurrentWordIndex = 1;
  }

  // The character at (row, col) of rows given as text; `none` past the end of a row.
  static char At(const std::vector<std::string>& rows, int r, int c, char none) {
    const std::string& row = rows[static_cast<std::size_t>(r - 1)];
    return static_cast<std::size_t>(c) <= row.size() ? row[static_cast<std::size_t>(c - 1)] : none;
  }

  // Searches with the build's line scanner (the plain scan is held to it over many
  // random builds, so these rules pin both).
  void Search() {
    BuildProgress unwatched;
    BuildPause pause(s, unwatched);
    LineScanner scanner;
    scanner.StartBuild(s);
    scanner.StartAttempt(s);
    ASSERT_TRUE(scanner.Search(s, app.ctx.rng, pause));
  }
};

TEST(LineScanRules, MoreCrossingsWinThenBusierCellsThenTheLessUsedDirection) {
  struct Case {
    const char* rule;
    std::vector<std::string> rows;
    std::string word;
    int directions, busy_direction;
    std::vector<std::string> uses;
    std::set<std::array<int, 4>> allowed;  // direction (0: any), row, column, crossings
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
    HandGrid g(c.rows, c.word, c.directions, c.uses);
    if (c.busy_direction > 0) g.s.DirectionWordCount[static_cast<std::size_t>(c.busy_direction)] = 5;
    g.Search();
    const std::array<int, 4> found = {g.s.BestDirection, g.s.BestRow, g.s.BestCol, g.s.BestCrossings};
    const std::array<int, 4> any_direction = {0, found[1], found[2], found[3]};
    EXPECT_TRUE(c.allowed.count(found) || (found[0] > 0 && c.allowed.count(any_direction)))
        << c.rule << ": " << found[0] << " " << found[1] << "," << found[2] << " x" << found[3];
  }
  // Nor can a ninth word be put there by hand.
  HandGrid full(ring, "A", 8, {"111", "181", "111"});
  full.s.CurrentDirection = full.s.CurrentRow = full.s.CurrentCol = 2;
  full.s.CurrentWordLength = 1;
  EXPECT_THROW(InsertWord(full.s), std::logic_error);
}

// Per direction, how the first word's row and column run: 'a' any, 1 .. side; 'f'
// forward, 1 .. side - L + 1; 'b' backward, L .. side - 1 (Int(r x (side - L)) + L), so
// a word as long as the side starts at its edge.
TEST(PlaceFirstWord, ChoosesEveryPlaceOfItsRangeAndNothingOutside) {
  const std::string row_kind = " aafbfbbf", col_kind = " fbaafbfb";
  auto range = [](char kind, int side, int length) {
    std::set<int> values;
    const int hi = kind == 'a' ? side : kind == 'f' ? side - length + 1 : std::max(length, side - 1);
    for (int v = kind == 'b' ? length : 1; v <= hi; ++v) values.insert(v);
    return values;
  };
  for (auto [w, h, length] : {std::tuple{6, 4, 3}, std::tuple{8, 8, 8}}) {
    TestApp app;
    SetUpPuzzle(app, {std::string(static_cast<std::size_t>(length), 'A')}, w, h, 3);
    PuzzleState& s = app.ctx.state;
    s.CurrentWordLength = static_cast<i16>(length);
    for (int d = 1; d <= 8; ++d) {
      std::set<int> seen_rows, seen_cols;
      for (int i = 0; i < 400; ++i) {
        s.CurrentDirection = static_cast<i16>(d);
        PlaceFirstWord(s, app.ctx.rng);
        seen_rows.insert(s.CurrentRow);
        seen_cols.insert(s.CurrentCol);
      }
      const auto k = static_cast<std::size_t>(d);
      EXPECT_EQ(std::tie(seen_rows, seen_cols),
                std::make_tuple(range(row_kind[k], h, length), range(col_kind[k], w, length)))
          << w << " x " << h << ", direction " << d;
    }
  }
}

}  // namespace
}  // namespace kivrel
