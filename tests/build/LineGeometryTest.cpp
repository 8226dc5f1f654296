#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "BuildHelpers.h"
#include "ReferenceFinder.h"
#include "build/LineScanner.h"

namespace kivrel {
namespace {

using testing::TableLines;
using testing::TestApp;

constexpr int kRowStep[9] = {0, 0, 0, 1, -1, 1, -1, -1, 1};
constexpr int kColStep[9] = {0, 1, -1, 0, 0, 1, -1, 1, -1};

// Every whole line of direction d with at least `length` cells, found by walking from
// each cell whose predecessor lies outside the grid.
std::set<std::tuple<int, int, int>> BruteForceLines(int d, int w, int h, int length) {
  std::set<std::tuple<int, int, int>> lines;
  auto inside = [&](int r, int c) { return r >= 1 && r <= h && c >= 1 && c <= w; };
  for (int r = 1; r <= h; ++r) {
    for (int c = 1; c <= w; ++c) {
      if (inside(r - kRowStep[d], c - kColStep[d])) continue;
      int n = 0;
      while (inside(r + n * kRowStep[d], c + n * kColStep[d])) ++n;
      if (n >= length) lines.insert({r, c, n});
    }
  }
  return lines;
}

TEST(LineGeometry, EveryDirectionVisitsTheWholeLinesThatCanHoldTheWordInTableOrder) {
  std::vector<std::pair<int, int>> sizes;
  for (int w = 1; w <= 9; ++w) {
    for (int h = 1; h <= 9; ++h) sizes.push_back({w, h});
  }
  sizes.insert(sizes.end(), {{70, 3}, {3, 70}, {130, 2}, {1, 40}, {40, 1}, {65, 65}});
  for (auto [w, h] : sizes) {
    TestApp app;
    testing::SetUpPuzzle(app, {"A"}, w, h, 1);
    LineScanner scanner;
    scanner.StartBuild(app.ctx);
    for (int length = 1; length <= std::min(w, h); ++length) {
      for (int d = 1; d <= 8; ++d) {
        SCOPED_TRACE(::testing::Message() << w << " x " << h << ", length " << length << ", direction " << d);
        std::vector<LineSpan> lines = scanner.LinesOf(d, length);
        ASSERT_EQ(lines, TableLines(d, w, h, length));
        std::set<std::tuple<int, int, int>> found;
        for (const LineSpan& line : lines) found.insert({line.Row, line.Col, line.Length});
        EXPECT_EQ(found.size(), lines.size()) << "a line visited twice";
        EXPECT_EQ(found, BruteForceLines(d, w, h, length));
      }
    }
  }
}

}  // namespace
}  // namespace kivrel
