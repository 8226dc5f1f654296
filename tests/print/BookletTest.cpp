#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "TestApp.h"
#include "print/Booklet.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::DrawOp;

// Sixty copies of the sea puzzle in a booklet on a recording page. 34 rows of contents
// fit a page (12-point rows of 18 points from 1.5 inches down to the bottom margin): 61
// rows take two pages, 31 and 30 (the keys' row never stands alone); 60 puzzle pages;
// 15 pages of keys. A key leaves its puzzle as it was. (Where the keys stand on their
// pages is read back from kivrel-cli booklet's PDF.)
TEST(Booklet, ContentsRunOntoASecondPageAndEveryPageIsNumbered) {
  std::vector<std::unique_ptr<testing::TestApp>> apps;
  std::vector<BookletPuzzle> puzzles;
  for (int n = 0; n < 60; ++n) {
    AppContext& ctx = apps.emplace_back(std::make_unique<testing::TestApp>())->ctx;
    StartUp(ctx, 1);
    testing::MakeSeaPuzzle(ctx);
    puzzles.push_back({&ctx, 100u + static_cast<unsigned>(n), "Sea Creatures"});
  }
  testing::RecordingSurface page;
  std::vector<std::vector<DrawOp>> pages{1};
  auto take_page = [&] {
    pages.back() = page.OfKind(DrawOp::Kind::Text);
    page.ops.clear();
  };
  DrawBooklet(puzzles, page, 4, [&] {
    take_page();
    pages.emplace_back();
  });
  take_page();
  const BookletPlan plan = PlanBooklet(page, puzzles, 4);
  EXPECT_EQ(std::make_tuple(plan.ContentsPages, plan.FirstPuzzlePage, plan.FirstKeyPage, plan.PageCount),
            std::make_tuple(2, 3, 63, 77));
  ASSERT_EQ(pages.size(), 77u);
  auto holds = [&](std::size_t p, const std::string& text) {
    return std::any_of(pages[p].begin(), pages[p].end(), [&](const DrawOp& op) { return op.text == text; });
  };
  for (std::size_t p = 0; p < pages.size(); ++p) EXPECT_TRUE(holds(p, std::to_string(p + 1))) << p;
  for (int n = 1; n <= 60; ++n) {
    const std::size_t contents = n <= 31 ? 0 : 1, puzzle = static_cast<std::size_t>(n + 1);
    const std::string seed = "seed " + std::to_string(99 + n);
    EXPECT_TRUE(holds(contents, std::to_string(n) + ".") && holds(contents, seed) &&
                holds(contents, std::to_string(n + 2)) && holds(puzzle, "Puzzle " + std::to_string(n) + ", " + seed))
        << n;
  }
  EXPECT_TRUE(holds(1, "Answer keys"));
  EXPECT_EQ(puzzles[0].ctx->AttributesForm().Text(frmAttributes::txtPuzName), "Sea Creatures");
  EXPECT_EQ(puzzles[0].ctx->print.PrintWordList, 1);
}

}  // namespace
}  // namespace kivrel
