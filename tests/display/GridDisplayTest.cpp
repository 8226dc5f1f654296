#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "HandPlaced.h"
#include "TestApp.h"
#include "display/GridDisplay.h"
#include "display/GridViews.h"
#include "forms/MainWindow.h"

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
  testing::MakeGrid(app.ctx, 6, 6);
  SizePuzzleDisplay(app.ctx);  // 12 points: cells of 240 twips, "W" 180 wide
  testing::PlaceWord(app.ctx, "CAT", 2, 1, 1);
  testing::PlaceWord(app.ctx, "MAP", 1, 2, 3);
  testing::PlaceWord(app.ctx, "HAM", 1, 1, 5);
  testing::PlaceWord(app.ctx, "YAK", 6, 1, 7);
  testing::AddUnplacedWord(app.ctx, "DOG");
  // What a toggle leaves: both flags, whether it cleared the picture first, the lines drawn.
  auto toggle = [&](void (*command)(AppContext&)) {
    app.picture.ops.clear();
    command(app.ctx);
    const bool cleared = !app.picture.ops.empty() && app.picture.ops.front().kind == DrawOp::Kind::Cls;
    return std::make_tuple(s.OutlinesShown, s.JunctionsShown, cleared, app.picture.OfKind(DrawOp::Kind::Line).size());
  };
  EXPECT_EQ(toggle(ToggleOutlines), std::make_tuple(kTrue, i16{0}, false, 8u));
  // A capsule per word (the page's answer key draws the same, in every direction): two
  // half circles round the centres of its end cells, (col - 0.5) and (row - 0.5) x 240,
  // joined by a line on either side, 60 away across the word.
  const DrawOp line = app.picture.OfKind(DrawOp::Kind::Line)[0], arc = app.picture.OfKind(DrawOp::Kind::Arc)[0];
  EXPECT_EQ(std::vector<double>({line.x, line.y, line.x2, line.y2, arc.x, arc.y, arc.radius}),
            std::vector<double>({120, 300, 600, 300, 120, 360, 60}));
  EXPECT_NEAR(arc.start + arc.end, 2 * std::numbers::pi, 1e-6);

  // Junctions show the count in red over the grey letter; the outlines stay.
  EXPECT_EQ(toggle(ToggleJunctions), std::make_tuple(kTrue, kTrue, false, 0u));
  std::vector<std::tuple<std::string, Rgb, double, double>> texts;
  for (const DrawOp& op : app.picture.OfKind(DrawOp::Kind::Text)) texts.emplace_back(op.text, op.color, op.x, op.y);
  EXPECT_EQ(texts,
            (std::vector<std::tuple<std::string, Rgb, double, double>>{{"A", kGrey, 300, 240}, {"3", kRed, 300, 240}}));

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
}

// The grid's letters go to the picture a row at a time, each filled cell once, where
// DrawCellLetter puts a cell's letter: centred on the width of the letter as shown, in the
// case shown (the recording surface measures "L" twice as wide as "l"). A letter that is
// not A-Z or 0-9 goes its own way. DrawWords draws its words' cells alone.
TEST(GridDisplay, AGridsLettersGoWhereEachCellsOwnLetterGoes) {
  testing::TestApp app;
  testing::MakeGrid(app.ctx, 5, 3);
  SizePuzzleDisplay(app.ctx);
  const char* const rows[2][5] = {{"L", "", "M", "7", " "}, {"", "\xC3\x89", "W", "", "I"}};
  for (int row = 1; row <= 2; ++row) {
    for (int col = 1; col <= 5; ++col) app.ctx.state.Grid.At(row, col).Letter = rows[row - 1][col - 1];
  }
  const int cab = testing::PlaceWord(app.ctx, "CAB", 3, 2, 1);
  using Drawn = std::vector<std::tuple<std::string, double, double>>;
  auto drawn = [&](auto draw) {
    app.picture.ops.clear();
    draw();
    Drawn texts;
    for (const DrawOp& op : app.picture.OfKind(DrawOp::Kind::Text)) texts.emplace_back(op.text, op.x, op.y);
    return texts;
  };
  auto cell_by_cell = [&](int first_row) {
    return drawn([&] {
      for (int row = first_row; row <= 3; ++row) {
        for (int col = 1; col <= 5; ++col) {
          const std::string& letter = app.ctx.state.Grid.At(row, col).Letter;
          if (!app.ctx.state.Grid.At(row, col).IsEmpty()) DrawCellLetter(app.ctx, row, col, letter);
        }
      }
    });
  };
  for (bool lower : {false, true}) {
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuLowerCase, lower);
    const Drawn grid = drawn([&] { DrawGridLetters(app.ctx); });
    EXPECT_EQ(grid, cell_by_cell(1)) << lower;
    std::vector<std::string> texts;
    for (const auto& text : grid) texts.push_back(std::get<0>(text));
    EXPECT_EQ(texts, (lower ? std::vector<std::string>{"l", "m", "7", "\xC3\xA9", "w", "i", "c", "a", "b"}
                            : std::vector<std::string>{"L", "M", "7", "\xC3\x89", "W", "I", "C", "A", "B"}));
    const int words[] = {cab};
    EXPECT_EQ(drawn([&] { DrawWords(app.ctx, words); }), cell_by_cell(3)) << lower;
  }
}

// The recording surface measures "A" as FontSize x 20 twips high and "W" as FontSize x
// 15 wide, so at 12 points a cell is 240 twips. At s points a 40 x 40 picture is 800s
// twips: it needs 2670 + 800s across (45 + picture + 2220 frame + 3 x 60 border + 225)
// and 1395 + 800s down. The window only grows; a maximised window keeps its size.
TEST(GridDisplay, TheFontShrinksUntilThePuzzleFitsTheScreenAndTheWindowOnlyGrows) {
  testing::TestApp app;
  // The main window as the window system keeps it: its design geometry in twips (client
  // area 7650 x 5580, a 60-twip border and 600 twips of title bar and menu), and a resize
  // event raised before a size setter returns, as the real window system does.
  Form& form = app.ctx.MainForm();
  form.UpdateGeometry({0, 0, 7650 + 120, 5580 + 120 + 600, 7650, 5580});
  form.Define(frmKV_Puzzle::picPuzzle, [](ControlState& c) { c.Bounds = {45, 495, 0, 0}; });
  form.Define(frmKV_Puzzle::fraStats, [](ControlState& c) { c.Bounds = {5205, 495, 2220, 5055}; });
  form.Define(frmKV_Puzzle::cmdExit, [](ControlState& c) { c.Bounds = {6900, 0, 690, 465}; });
  FormGeometry last = form.Geometry();
  form.Subscribe([&](Control control, Property property) {
    if (!control.IsWindow() || property != Property::FormBounds || form.Geometry() == last) return;
    last = form.Geometry();
    form.Raise({}, Event::Resize);
  });
  MainWindow main{app.ctx};  // its resize handler runs the nested sizing
  // Sizes the display for a puzzle of w x h (0: none), and tells the font size, cell
  // size and width of "W" it measured, the picture's bounds and the window's size.
  auto size = [&](int w, int h) {
    app.ctx.state.PuzzleWidth = i16(w);
    app.ctx.state.PuzzleHeight = i16(h);
    SizePuzzleDisplay(app.ctx);
    const DisplayMetrics& m = app.ctx.display;
    return std::make_tuple(m.DisplayFontSize, m.CellSize, m.WideCharWidth, form.Bounds(frmKV_Puzzle::picPuzzle),
                           form.Geometry().Width, form.Geometry().Height);
  };
  // No puzzle: 15 x 15 cells at 12 points.
  EXPECT_EQ(size(0, 0), std::make_tuple(12, 240, 180, Rect{45, 495, 3600, 3600}, 7770, 5055 + 495 + 720 + 180));
  EXPECT_TRUE(form.IsVisible(frmKV_Puzzle::picPuzzle));
  app.metrics = FixedWindowMetrics(9000, 20000);  // the outline radius keeps the 12-point width
  EXPECT_EQ(size(40, 40), std::make_tuple(7, 140, 180, Rect{45, 495, 5600, 5600}, 2670 + 5600, 1395 + 5600));
  app.metrics = FixedWindowMetrics(3000, 3000);  // even 5 points is too large: 5, and the window grows
  EXPECT_EQ(std::get<1>(size(40, 40)), 100);

  app.metrics = FixedWindowMetrics();
  form.UpdateGeometry({0, 0, 5000, 4000, 4880, 3280});
  size(30, 25);
  EXPECT_EQ(size(5, 5), std::make_tuple(12, 240, 180, Rect{45, 495, 1200, 1200}, 9870, 6000 + 495 + 720 + 180));
  form.SetWindowState(kWindowMaximized);
  EXPECT_EQ(size(30, 30), std::make_tuple(12, 240, 180, Rect{45, 495, 7200, 7200}, 9870, 7395));
}

}  // namespace
}  // namespace kivrel
