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

constexpr double kR = 60;
const double kD = 60 / std::numbers::sqrt2;
constexpr double kPi = std::numbers::pi;

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
  void Place(const std::string& text, int row, int col, int direction) {
    testing::PlaceWord(app.ctx, text, row, col, direction);
  }

  std::vector<DrawOp> Ops(DrawOp::Kind kind) { return app.picture.OfKind(kind); }
};

void ExpectLine(const DrawOp& op, double x1, double y1, double x2, double y2) {
  EXPECT_NEAR(op.x, x1, 1e-3);
  EXPECT_NEAR(op.y, y1, 1e-3);
  EXPECT_NEAR(op.x2, x2, 1e-3);
  EXPECT_NEAR(op.y2, y2, 1e-3);
  EXPECT_EQ(op.color, kBlack);
}

void ExpectArc(const DrawOp& op, double x, double y, double start, double end) {
  EXPECT_NEAR(op.x, x, 1e-3);
  EXPECT_NEAR(op.y, y, 1e-3);
  EXPECT_NEAR(op.radius, kR, 1e-3);
  EXPECT_NEAR(op.start, start, 1e-5);
  EXPECT_NEAR(op.end, end, 1e-5);
}

TEST_F(Views, EachPlacedWordGetsACapsuleAlongItsDirectionInTwips) {
  s.Words[static_cast<std::size_t>(testing::AddUnplacedWord(app.ctx, "ANT"))].Status = kStatusRejected;
  testing::AddUnplacedWord(app.ctx, "ANT");
  Place("CAT", 2, 5, 2);  // Left from (2, 5): its left end is column 3
  Place("DOG", 6, 1, 4);  // Up from (6, 1): the top end is row 4
  Place("EMU", 4, 4, 6);  // Up-Left from (4, 4): P1 = (col 2, row 2), P2 = (4, 4)
  Place("YAK", 5, 1, 7);  // Up-Right from (5, 1): P1 = (1, 5), P2 = (3, 3)
  Place("X", 3, 3, 5);    // a single letter: a full circle
  DrawWordOutlines(app.ctx);
  auto lines = Ops(DrawOp::Kind::Line);
  auto arcs = Ops(DrawOp::Kind::Arc);
  ASSERT_EQ(lines.size(), 10u);
  ASSERT_EQ(arcs.size(), 10u);
  // Per word: the centres of its end cells ((col - 0.5) x 240, (row - 0.5) x 240), the
  // offset of its first side line (the second is on the other side) and the start of
  // the first half circle in turns of pi (the second one runs the other way).
  struct Capsule {
    double x1, y1, x2, y2, dx, dy, turn;
  };
  const Capsule capsules[] = {{600, 360, 1080, 360, 0, -kR, 0.5},
                              {120, 840, 120, 1320, -kR, 0, 0},
                              {360, 360, 840, 840, -kD, kD, 0.25},
                              {120, 1080, 600, 600, -kD, -kD, 0.75},
                              {600, 600, 600, 600, -kD, kD, 0.25}};
  for (std::size_t w = 0; w < 5; ++w) {
    const Capsule& c = capsules[w];
    SCOPED_TRACE(w);
    ExpectLine(lines[2 * w], c.x1 + c.dx, c.y1 + c.dy, c.x2 + c.dx, c.y2 + c.dy);
    ExpectLine(lines[2 * w + 1], c.x1 - c.dx, c.y1 - c.dy, c.x2 - c.dx, c.y2 - c.dy);
    ExpectArc(arcs[2 * w], c.x1, c.y1, c.turn * kPi, (c.turn + 1) * kPi);
    ExpectArc(arcs[2 * w + 1], c.x2, c.y2, (c.turn + 1) * kPi, c.turn * kPi);
  }
}

TEST_F(Views, JunctionsShowTheCountInRedOverTheGreyLetter) {
  Place("CAT", 2, 1, 1);
  Place("MAP", 1, 2, 3);
  Place("SAW", 3, 1, 5);  // S(3,1) A(4,2) W(5,3): does not cross the others
  Place("HAM", 1, 1, 5);  // H(1,1) A(2,2) M(3,3): through the shared A
  ASSERT_EQ(s.Grid.At(2, 2).UseCount, 3);
  app.picture.ops.clear();
  ShowJunctions(app.ctx);
  auto texts = Ops(DrawOp::Kind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_TRUE(texts[0].text == "A" && texts[0].color == kGrey);
  EXPECT_TRUE(texts[1].text == "3" && texts[1].color == kRed);
  EXPECT_EQ(std::make_pair(texts[1].x, texts[1].y), std::make_pair(240.0 + 60, 240.0));
  EXPECT_TRUE(Ops(DrawOp::Kind::Cls).empty()) << "outlines on the picture stay";
}

TEST_F(Views, TheTwoTogglesShareThePicture) {
  Place("CAT", 2, 1, 1);
  Place("MAP", 1, 2, 3);
  s.Grid.At(1, 2).ShowCount = 1;  // M belongs to a word the list window shows
  auto count = [&](DrawOp::Kind kind) { return Ops(kind).size(); };
  std::vector<int> pointers;
  app.ctx.MainForm().Subscribe([&](Control, Property p) {
    if (p == Property::MousePointer) pointers.push_back(app.ctx.MainForm().MousePointer());
  });

  ToggleOutlines(app.ctx);
  EXPECT_EQ(s.OutlinesShown, kTrue);
  EXPECT_EQ(count(DrawOp::Kind::Line), 4u);

  ToggleJunctions(app.ctx);
  EXPECT_EQ(s.JunctionsShown, kTrue);
  EXPECT_EQ(app.picture.Texts().back(), "2");
  EXPECT_EQ(pointers, (std::vector<int>{kPointerHourglass, kPointerDefault}));

  // Outlines off clears the picture, junction marks included, but the flag stays.
  app.picture.ops.clear();
  ToggleOutlines(app.ctx);
  EXPECT_EQ(std::make_pair(s.OutlinesShown, s.JunctionsShown), std::make_pair(kFalse, kTrue));
  EXPECT_EQ(count(DrawOp::Kind::Cls), 1u);
  EXPECT_EQ(count(DrawOp::Kind::Line), 0u);
  auto m = app.picture.TextAt(240 + 60, 0);
  EXPECT_TRUE(m && m->color == kRed) << "a shown word comes back red";

  // So the next junction command takes the "off" branch: the plain grid again.
  app.picture.ops.clear();
  ToggleJunctions(app.ctx);
  EXPECT_EQ(s.JunctionsShown, kFalse);
  EXPECT_EQ(count(DrawOp::Kind::Cls), 1u);
  EXPECT_EQ(count(DrawOp::Kind::Line), 0u);

  // Junctions off with outlines on redraws the outlines after clearing.
  ToggleOutlines(app.ctx);
  ToggleJunctions(app.ctx);
  app.picture.ops.clear();
  ToggleJunctions(app.ctx);
  ASSERT_FALSE(app.picture.ops.empty());
  EXPECT_EQ(app.picture.ops.front().kind, DrawOp::Kind::Cls);
  EXPECT_EQ(count(DrawOp::Kind::Line), 4u);
  EXPECT_EQ(app.picture.ops.back().kind, DrawOp::Kind::Arc);
  EXPECT_EQ(s.OutlinesShown, kTrue);
}

}  // namespace
}  // namespace kivrel
