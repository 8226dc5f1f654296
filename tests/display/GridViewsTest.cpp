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

TEST_F(Views, OutlinesOfHorizontalAndVerticalWordsAreCapsulesInTwips) {
  // "CAT" Left from (2, 5): its left end is column 3, its right end column 5.
  Place("CAT", 2, 5, 2);
  // "DOG" Up from (6, 1): the top end is row 4.
  Place("DOG", 6, 1, 4);
  DrawWordOutlines(app.ctx);
  auto lines = Ops(DrawOp::Kind::Line);
  auto arcs = Ops(DrawOp::Kind::Arc);
  ASSERT_EQ(lines.size(), 4u);
  ASSERT_EQ(arcs.size(), 4u);
  // Centres of the end cells: (col - 0.5) x 240, (row - 0.5) x 240.
  ExpectLine(lines[0], 600, 360 - kR, 1080, 360 - kR);
  ExpectLine(lines[1], 600, 360 + kR, 1080, 360 + kR);
  ExpectArc(arcs[0], 600, 360, 0.5 * kPi, 1.5 * kPi);  // the left half circle
  ExpectArc(arcs[1], 1080, 360, 1.5 * kPi, 0.5 * kPi);
  ExpectLine(lines[2], 120 - kR, 840, 120 - kR, 1320);
  ExpectLine(lines[3], 120 + kR, 840, 120 + kR, 1320);
  ExpectArc(arcs[2], 120, 840, 0, kPi);  // the upper half circle
  ExpectArc(arcs[3], 120, 1320, kPi, 0);
}

TEST_F(Views, OutlinesOfDiagonalWordsRunAlongBothDiagonals) {
  Place("EMU", 4, 4, 6);  // Up-Left from (4, 4): P1 = (col 2, row 2), P2 = (4, 4)
  Place("YAK", 5, 1, 7);  // Up-Right from (5, 1): P1 = (1, 5), P2 = (3, 3)
  DrawWordOutlines(app.ctx);
  auto lines = Ops(DrawOp::Kind::Line);
  auto arcs = Ops(DrawOp::Kind::Arc);
  ASSERT_EQ(lines.size(), 4u);
  ASSERT_EQ(arcs.size(), 4u);
  ExpectLine(lines[0], 360 - kD, 360 + kD, 840 - kD, 840 + kD);
  ExpectLine(lines[1], 360 + kD, 360 - kD, 840 + kD, 840 - kD);
  ExpectArc(arcs[0], 360, 360, 0.25 * kPi, 1.25 * kPi);
  ExpectArc(arcs[1], 840, 840, 1.25 * kPi, 0.25 * kPi);
  ExpectLine(lines[2], 120 - kD, 1080 - kD, 600 - kD, 600 - kD);
  ExpectLine(lines[3], 120 + kD, 1080 + kD, 600 + kD, 600 + kD);
  ExpectArc(arcs[2], 120, 1080, 0.75 * kPi, 1.75 * kPi);
  ExpectArc(arcs[3], 600, 600, 1.75 * kPi, 0.75 * kPi);
}

TEST_F(Views, ASingleLetterWordGetsAFullCircleAndUnplacedWordsNone) {
  s.Words[static_cast<std::size_t>(testing::AddUnplacedWord(app.ctx, "ANT"))].Status = kStatusRejected;
  testing::AddUnplacedWord(app.ctx, "ANT");
  Place("X", 3, 3, 5);
  DrawWordOutlines(app.ctx);
  auto lines = Ops(DrawOp::Kind::Line);
  auto arcs = Ops(DrawOp::Kind::Arc);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(std::make_pair(lines[0].x, lines[0].y), std::make_pair(lines[0].x2, lines[0].y2));
  // Two half circles around the same centre, end to end.
  EXPECT_EQ(std::make_pair(arcs[0].x, arcs[0].y), std::make_pair(arcs[1].x, arcs[1].y));
  EXPECT_NEAR(arcs[0].end, arcs[1].start, 1e-6);
  EXPECT_NEAR(arcs[1].end, arcs[0].start, 1e-6);
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
  app.ctx.MainForm().Subscribe([&](std::string_view, Property p) {
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

  // A print layout may set the flag while no outline is on the picture: the command
  // then takes the "off" branch and repaints the plain grid.
  ToggleOutlines(app.ctx);
  s.OutlinesShown = kTrue;
  app.picture.ops.clear();
  ToggleOutlines(app.ctx);
  EXPECT_EQ(count(DrawOp::Kind::Cls), 1u);
  EXPECT_EQ(count(DrawOp::Kind::Line), 0u);
}

}  // namespace
}  // namespace kivrel
