#include <gtest/gtest.h>

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
using testing::RecordingSurface;

// Sixty copies of the sea puzzle in a booklet on a recording page, the texts of each
// page kept apart.
struct Booklet60 : ::testing::Test {
  std::vector<std::unique_ptr<testing::TestApp>> apps;
  std::vector<BookletPuzzle> puzzles;
  RecordingSurface page;
  std::vector<std::vector<DrawOp>> pages{1};
  std::size_t drawn = 0;  // ops already sorted into pages

  Booklet60() {
    for (int n = 0; n < 60; ++n) {
      auto& app = apps.emplace_back(std::make_unique<testing::TestApp>());
      StartUp(app->ctx, 1);
      testing::MakeSeaPuzzle(app->ctx);
      puzzles.push_back({&app->ctx, 100u + static_cast<unsigned>(n), "Sea Creatures"});
    }
  }
  void TakePage() {
    for (; drawn < page.ops.size(); ++drawn) {
      if (page.ops[drawn].kind == DrawOp::Kind::Text) pages.back().push_back(page.ops[drawn]);
    }
  }
  static bool Holds(const std::vector<DrawOp>& texts, const std::string& text) {
    for (const DrawOp& op : texts) {
      if (op.text == text) return true;
    }
    return false;
  }
};

TEST_F(Booklet60, ContentsRunOntoASecondPageAndEveryPageIsNumbered) {
  DrawBooklet(puzzles, page, 4, [&] {
    TakePage();
    pages.emplace_back();
  });
  TakePage();
  const BookletPlan plan = PlanBooklet(page, puzzles, 4);
  // 34 rows of contents fit a page (12-point rows of 18 points from 1.5 inches down to
  // the bottom margin): 61 rows take two pages, 31 and 30 (the keys' row never stands
  // alone); 60 puzzle pages; 15 pages of keys.
  EXPECT_EQ(plan.ContentsPages, 2);
  EXPECT_EQ(plan.FirstPuzzlePage, 3);
  EXPECT_EQ(plan.FirstKeyPage, 63);
  EXPECT_EQ(plan.PageCount, 77);
  ASSERT_EQ(pages.size(), 77u);

  for (int n = 1; n <= 60; ++n) {
    const auto& contents = pages[n <= 31 ? 0 : 1];
    EXPECT_TRUE(Holds(contents, std::to_string(n) + ".")) << n;
    EXPECT_TRUE(Holds(contents, "seed " + std::to_string(99 + n))) << n;
    EXPECT_TRUE(Holds(contents, std::to_string(n + 2))) << "page of puzzle " << n;
    const auto& puzzle = pages[static_cast<std::size_t>(n + 1)];
    EXPECT_TRUE(Holds(puzzle, "Sea Creatures"));
    EXPECT_TRUE(Holds(puzzle, "Puzzle " + std::to_string(n) + ", seed " + std::to_string(99 + n))) << n;
  }
  EXPECT_TRUE(Holds(pages[1], "Answer keys"));
  for (std::size_t p = 0; p < pages.size(); ++p) EXPECT_TRUE(Holds(pages[p], std::to_string(p + 1))) << p;

  // The keys of the last page: puzzles 57 to 60, left to right, then down.
  std::vector<DrawOp> titles;
  for (const DrawOp& op : pages[76]) {
    if (op.text.rfind("Key ", 0) == 0) titles.push_back(op);
  }
  ASSERT_EQ(titles.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(titles[static_cast<std::size_t>(k)].text, "Key " + std::to_string(57 + k) + ": Sea Creatures");
    EXPECT_EQ(titles[static_cast<std::size_t>(k)].x < 12240 / 2, k % 2 == 0) << k;
    EXPECT_EQ(titles[static_cast<std::size_t>(k)].y < 15840 / 2, k < 2) << k;
  }
  // A key leaves its puzzle as it was.
  EXPECT_EQ(puzzles[0].ctx->AttributesForm().Text(frmAttributes::txtPuzName), "Sea Creatures");
  EXPECT_EQ(puzzles[0].ctx->print.PrintWordList, 1);
}

}  // namespace
}  // namespace kivrel
