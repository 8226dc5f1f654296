#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "HandPlaced.h"
#include "TestApp.h"
#include "display/GridViews.h"

// Cells are 240 twips and WideCharWidth 180, so the outline radius is 180 / 2 - 30 = 60
// and its diagonal offset 60 / sqrt(2).
namespace kivrel {
namespace {

using testing::DrawOp;
using testing::TestApp;

struct Views : ::testing::Test {
  TestApp app;
  PuzzleState& s = app.ctx.state;

  Views() {
    s.Pi = 4.0f * std::atan(1.0f);
    app.ctx.display.CellSize = 240;
    app.ctx.display.WideCharWidth = 180;
    for (int code = '0'; code <= 'Z'; ++code) app.ctx.display.CharWidths[static_cast<std::size_t>(code)] = 120;
    testing::MakeGrid(app.ctx, 6, 6);
  }
  std::vector<DrawOp> Ops(DrawOp::Kind kind) { return app.picture.OfKind(kind); }
};

TEST_F(Views, EachPlacedWordGetsACapsuleAlongItsDirectionInTwips) {
  s.Words[static_cast<std::size_t>(testing::AddUnplacedWord(app.ctx, "ANT"))].Status = kStatusRejected;
  testing::AddUnplacedWord(app.ctx, "ANT");
  testing::PlaceWord(app.ctx, "CAT", 2, 5, 2);  // Left from (2, 5): its left end is column 3
  testing::PlaceWord(app.ctx, "DOG", 6, 1, 4);  // Up from (6, 1): the top end is row 4
  testing::PlaceWord(app.ctx, "EMU", 4, 4, 6);  // Up-Left from (4, 4): P1 = (col 2, row 2), P2 = (4, 4)
  testing::PlaceWord(app.ctx, "YAK", 5, 1, 7);  // Up-Right from (5, 1): P1 = (1, 5), P2 = (3, 3)
  testing::PlaceWord(app.ctx, "X", 3, 3, 5);    // a single letter: a full circle
  DrawWordOutlines(app.ctx);
  const auto lines = Ops(DrawOp::Kind::Line), arcs = Ops(DrawOp::Kind::Arc);
  ASSERT_EQ(std::make_pair(lines.size(), arcs.size()), std::make_pair(10ul, 10ul));
  // Per word: the centres of its end cells ((col - 0.5) x 240, (row - 0.5) x 240), the
  // offset of its first side line (the second is on the other side) and the start of
  // the first half circle in turns of pi (the second one runs the other way).
  const double r = 60, d = 60 / std::numbers::sqrt2, pi = std::numbers::pi;
  const std::array<double, 7> capsules[] = {{600, 360, 1080, 360, 0, -r, 0.5},
                                            {120, 840, 120, 1320, -r, 0, 0},
                                            {360, 360, 840, 840, -d, d, 0.25},
                                            {120, 1080, 600, 600, -d, -d, 0.75},
                                            {600, 600, 600, 600, -d, d, 0.25}};
  for (std::size_t w = 0; w < 5; ++w) {
    const auto [x1, y1, x2, y2, dx, dy, turn] = capsules[w];
    const DrawOp &one = lines[2 * w], &two = lines[2 * w + 1], &first = arcs[2 * w], &second = arcs[2 * w + 1];
    const std::vector<double> got = {one.x,     one.y,     one.x2,       one.y2,     two.x,       two.y,
                                     two.x2,    two.y2,    first.x,      first.y,    first.start, first.end,
                                     second.x,  second.y,  second.start, second.end, first.radius};
    const std::vector<double> want = {x1 + dx, y1 + dy, x2 + dx,          y2 + dy, x1 - dx,         y1 - dy,
                                      x2 - dx, y2 - dy, x1,               y1,      turn * pi,       (turn + 1) * pi,
                                      x2,      y2,      (turn + 1) * pi, turn * pi, r};
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-3) << "word " << w << ", " << i;
    EXPECT_TRUE(one.color == kBlack && two.color == kBlack && second.radius == first.radius);
  }
}

// Junctions show the count in red over the grey letter, outlines staying; outlines off
// clears the picture, junction marks and all.
TEST_F(Views, TheTwoTogglesShareThePicture) {
  testing::PlaceWord(app.ctx, "CAT", 2, 1, 1);
  testing::PlaceWord(app.ctx, "MAP", 1, 2, 3);
  testing::PlaceWord(app.ctx, "SAW", 3, 1, 5);  // S(3,1) A(4,2) W(5,3): does not cross the others
  testing::PlaceWord(app.ctx, "HAM", 1, 1, 5);  // H(1,1) A(2,2) M(3,3): through the shared A
  s.Grid.At(1, 2).ShowCount = 1;                // M belongs to a word the list window shows
  std::vector<int> pointers;
  app.ctx.MainForm().Subscribe([&](Control, Property p) {
    if (p == Property::MousePointer) pointers.push_back(app.ctx.MainForm().MousePointer());
  });
  // What a toggle leaves: both flags, whether it cleared the picture first, the lines drawn.
  auto toggle = [&](void (*command)(AppContext&)) {
    app.picture.ops.clear();
    command(app.ctx);
    const bool cleared = !app.picture.ops.empty() && app.picture.ops.front().kind == DrawOp::Kind::Cls;
    return std::make_tuple(s.OutlinesShown, s.JunctionsShown, cleared, Ops(DrawOp::Kind::Line).size());
  };
  EXPECT_EQ(toggle(ToggleOutlines), std::make_tuple(kTrue, i16{0}, false, 8u));
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kTrue, kTrue, false, 0u));
  std::vector<std::tuple<std::string, Rgb, double, double>> texts;
  for (const DrawOp& op : Ops(DrawOp::Kind::Text)) texts.emplace_back(op.text, op.color, op.x, op.y);
  EXPECT_EQ(texts, (std::vector<std::tuple<std::string, Rgb, double, double>>{{"A", kGrey, 300, 240},
                                                                              {"3", kRed, 300, 240}}));
  EXPECT_EQ(pointers, (std::vector<int>{kPointerHourglass, kPointerDefault}));
  EXPECT_EQ(toggle(ToggleOutlines), std::make_tuple(kFalse, kTrue, true, 0u));
  auto m = app.picture.TextAt(300, 0);
  EXPECT_TRUE(m && m->color == kRed) << "a shown word comes back red";
  // So the next junction command takes the "off" branch: the plain grid again.
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kFalse, kFalse, true, 0u));
  // Junctions off with outlines on redraws the outlines after clearing.
  toggle(ToggleOutlines);
  toggle(ToggleJunctions);
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kTrue, kFalse, true, 8u));
  EXPECT_EQ(app.picture.ops.back().kind, DrawOp::Kind::Arc);
}

}  // namespace
}  // namespace kivrel
