#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "TestApp.h"
#include "display/GridDisplay.h"
#include "forms/MainWindow.h"
#include "forms/WindowPlacement.h"

// The recording surface measures a text "A" as FontSize x 20 twips high, "W" as
// FontSize x 15 wide and "I" as FontSize x 5 wide, so at 12 points a cell is 240 twips.
namespace kivrel {
namespace {

using namespace testing;

struct Display : ::testing::Test {
  TestApp app;
  FakeMainWindow window{app.ctx};
  MainWindow main{app.ctx};  // its resize handler runs the nested sizing

  Form& form() { return app.ctx.MainForm(); }
  void Size(int width, int height) {
    app.ctx.state.PuzzleWidth = static_cast<i16>(width);
    app.ctx.state.PuzzleHeight = static_cast<i16>(height);
    SizePuzzleDisplay(app.ctx);
  }
  // The font size, cell size and width of "W" the display measured, the picture's
  // bounds and the window's size.
  std::tuple<int, int, int, Rect, int, int> Shown() {
    const DisplayMetrics& m = app.ctx.display;
    return {m.DisplayFontSize,       m.CellSize,
            m.WideCharWidth,         form().Bounds(frmKV_Puzzle::picPuzzle),
            form().Geometry().Width, form().Geometry().Height};
  }
};

// At s points a 40 x 40 picture is 800s twips: it needs 2670 + 800s across (45 + picture
// + 2220 frame + 3 x 60 border + 225) and 1395 + 800s down. The window only grows, and
// makes room for the button row; a maximised window keeps its size.
TEST_F(Display, TheFontShrinksUntilThePuzzleFitsTheScreenAndTheWindowOnlyGrows) {
  SizePuzzleDisplay(app.ctx);  // no puzzle: 15 x 15 cells at 12 points
  EXPECT_EQ(Shown(), std::make_tuple(12, 240, 180, Rect{45, 495, 3600, 3600}, 7770, 5055 + 495 + 720 + 180));
  EXPECT_TRUE(form().IsVisible(frmKV_Puzzle::picPuzzle));
  app.metrics = FixedWindowMetrics(9000, 20000);
  Size(40, 40);  // the outline radius keeps the 12-point width
  EXPECT_EQ(Shown(), std::make_tuple(7, 140, 180, Rect{45, 495, 5600, 5600}, 2670 + 5600, 1395 + 5600));
  EXPECT_EQ(app.ctx.display.CharWidths['A'], 70) << "letters are measured in the final font";
  app.metrics = FixedWindowMetrics(3000, 3000);  // even 5 points is too large: 5, and the window grows anyway
  Size(40, 40);
  EXPECT_EQ(app.ctx.display.CellSize, 100);

  app.metrics = FixedWindowMetrics();
  form().UpdateGeometry({0, 0, 5000, 4000, 4880, 3280});
  Size(3, 3);  // the button row (6900 + 690 + 2 x 60) is wider than picture and frame
  EXPECT_EQ(Shown(), std::make_tuple(12, 240, 180, Rect{45, 495, 720, 720}, 7710, 5055 + 495 + 720 + 180));
  Size(30, 25);  // the resize handler re-anchors the statistics frame to the new width
  EXPECT_EQ(form().Bounds(frmKV_Puzzle::fraStats).Left, 45 + 7200 + 180);
  Size(5, 5);
  EXPECT_EQ(Shown(), std::make_tuple(12, 240, 180, Rect{45, 495, 1200, 1200}, 9870, 6000 + 495 + 720 + 180));
  form().SetWindowState(kWindowMaximized);
  Size(30, 30);
  EXPECT_EQ(Shown(), std::make_tuple(12, 240, 180, Rect{45, 495, 7200, 7200}, 9870, 7395));
}

}  // namespace
}  // namespace kivrel
