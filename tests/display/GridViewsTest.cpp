#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "HandPlaced.h"
#include "TestApp.h"
#include "display/GridDisplay.h"
#include "display/GridViews.h"

namespace kivrel {
namespace {

using testing::DrawOp;

// A 6 x 6 grid of 240-twip cells with WideCharWidth 180, so an outline's radius is
// 180 / 2 - 30 = 60. CAT (Right from 2, 1), MAP (Down from 1, 2) and HAM (Down-Right
// from 1, 1) share the A at (2, 2); YAK goes Up-Right from (6, 1); DOG is not placed.
// Outlines, junctions and highlights share the picture: each toggle redraws what the
// others show.
TEST(GridViews, OutlinesJunctionsAndHighlightsShareThePicture) {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  s.Pi = 4.0f * std::atan(1.0f);
  app.ctx.display.CellSize = 240;
  app.ctx.display.WideCharWidth = 180;
  for (int code = '0'; code <= 'Z'; ++code) app.ctx.display.CharWidths[static_cast<std::size_t>(code)] = 120;
  app.AddEntries({"CAT", "MAP", "HAM", "YAK", "DOG"});
  testing::MakeGrid(app.ctx, 6, 6);
  testing::PlaceWord(app.ctx, "CAT", 2, 1, 1);
  testing::PlaceWord(app.ctx, "MAP", 1, 2, 3);
  testing::PlaceWord(app.ctx, "HAM", 1, 1, 5);
  testing::PlaceWord(app.ctx, "YAK", 6, 1, 7);
  testing::AddUnplacedWord(app.ctx, "DOG");
  std::vector<int> pointers;
  app.ctx.MainForm().Subscribe([&](Control, Property p) {
    if (p == Property::MousePointer) pointers.push_back(app.ctx.MainForm().MousePointer());
  });
  // What a toggle leaves: both flags, whether it cleared the picture first, the lines drawn.
  auto toggle = [&](void (*command)(AppContext&)) {
    app.picture.ops.clear();
    command(app.ctx);
    const bool cleared = !app.picture.ops.empty() && app.picture.ops.front().kind == DrawOp::Kind::Cls;
    return std::make_tuple(s.OutlinesShown, s.JunctionsShown, cleared, app.picture.OfKind(DrawOp::Kind::Line).size());
  };
  EXPECT_EQ(toggle(ToggleOutlines), std::make_tuple(kTrue, i16{0}, false, 8u));
  // A capsule per word: two half circles round the centres of its end cells, (col - 0.5)
  // and (row - 0.5) x 240, joined by a line on either side, 60 away across the word.
  const double d = 60 / std::numbers::sqrt2, pi = std::numbers::pi;
  const auto lines = app.picture.OfKind(DrawOp::Kind::Line), arcs = app.picture.OfKind(DrawOp::Kind::Arc);
  const std::vector<std::array<double, 5>> want = {
      {120, 360 - 60, 600, 360 - 60, 0}, {120, 360 + 60, 600, 360 + 60, 0}, {120, 360, 60, 0.5 * pi, 1.5 * pi},
      {600, 360, 60, 1.5 * pi, 0.5 * pi}, {120 - d, 1320 - d, 600 - d, 840 - d, 0},  // YAK, the fourth word
      {120, 1320, 60, 0.75 * pi, 1.75 * pi}};
  const DrawOp* got[] = {&lines[0], &lines[1], &arcs[0], &arcs[1], &lines[6], &arcs[6]};
  for (std::size_t i = 0; i < want.size(); ++i) {
    const DrawOp& op = *got[i];
    const std::array<double, 5> seen = op.kind == DrawOp::Kind::Line
                                           ? std::array<double, 5>{op.x, op.y, op.x2, op.y2, 0}
                                           : std::array<double, 5>{op.x, op.y, op.radius, op.start, op.end};
    for (std::size_t k = 0; k < 5; ++k) EXPECT_NEAR(seen[k], want[i][k], 1e-3) << i << ", " << k;
  }

  // Junctions show the count in red over the grey letter, with the hourglass meanwhile;
  // the outlines stay.
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kTrue, kTrue, false, 0u));
  std::vector<std::tuple<std::string, Rgb, double, double>> texts;
  for (const DrawOp& op : app.picture.OfKind(DrawOp::Kind::Text)) texts.emplace_back(op.text, op.color, op.x, op.y);
  EXPECT_EQ(texts, (std::vector<std::tuple<std::string, Rgb, double, double>>{{"A", kGrey, 300, 240},
                                                                              {"3", kRed, 300, 240}}));
  EXPECT_EQ(pointers, (std::vector<int>{kPointerHourglass, kPointerDefault}));

  // A cell stays highlighted until the last shown word through it is hidden. No entry,
  // one not placed or one past the table shows nothing. Outlines off clears the picture,
  // junction marks and all, and a shown word comes back red; so the next junction
  // command takes the "off" branch.
  const std::tuple<int, WriteMode, int> steps[] = {{0, WriteMode::Show, 0}, {5, WriteMode::Show, 0},
                                                   {9, WriteMode::Show, 0}, {1, WriteMode::Show, 1},
                                                   {2, WriteMode::Show, 2}, {2, WriteMode::Hide, 1}};
  for (auto [index, mode, shared] : steps) {
    s.SelectedWordIndex = static_cast<i16>(index);
    ShowSelectedWord(app.ctx, mode);
    EXPECT_EQ(s.Grid.At(2, 2).ShowCount, shared) << index;
  }
  EXPECT_EQ(toggle(ToggleOutlines), std::make_tuple(kFalse, kTrue, true, 0u));
  EXPECT_EQ(app.picture.TextAt(60, 240)->color, kRed);  // C of CAT
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kFalse, kFalse, true, 0u));
  // Junctions off with outlines on redraws the outlines after clearing.
  toggle(ToggleOutlines);
  toggle(ToggleJunctions);
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kTrue, kFalse, true, 8u));

  // Clear Highlights turns red letters black without clearing the picture.
  app.picture.ops.clear();
  ClearHighlights(app.ctx);
  EXPECT_EQ(app.picture.TextAt(60, 240)->color, kBlack);
  for (const DrawOp& op : app.picture.ops) EXPECT_TRUE(op.kind != DrawOp::Kind::Cls && op.color == kBlack);
  EXPECT_EQ(std::tie(s.Grid.At(2, 2).ShowCount, s.Words[1].Shown), std::make_tuple(i16{0}, i16{0}));
}

}  // namespace
}  // namespace kivrel
