// The puzzle picture on a screen of device pixel ratio 2: the same cells in twips, twice
// the pixels each way, each letter in its own cell.
#include <gtest/gtest.h>

#include <QImage>

#include "display/GridDisplay.h"
#include "platform/NullPlatform.h"
#include "qt/QtSurface.h"
#include "program/AppContext.h"

namespace kivrel {
namespace {

struct Picture {
  explicit Picture(double ratio) : surface(1, 1, 96, ratio) {
    surface.SetSmoothText(false);
    SetPictureDesignFont(surface);
    ctx.state.PuzzleWidth = 6;
    ctx.state.PuzzleHeight = 5;
    SizePuzzleDisplay(ctx);
    const Rect& bounds = ctx.MainForm().Bounds(frmKV_Puzzle::picPuzzle);
    surface.Resize(bounds.Width, bounds.Height);
    // A letter on every other cell, in a pattern that tells rows and columns apart.
    for (int row = 1; row <= 5; ++row) {
      for (int col = 1; col <= 6; ++col) {
        if ((row + 2 * col) % 3 == 0) DrawCellLetter(ctx, row, col, std::string(1, static_cast<char>('A' + row + col)));
      }
    }
  }
  // Dark pixels inside cell (row, col), its outermost pixel row and column left out.
  int InkIn(int row, int col) {
    const QImage& image = surface.Image();
    const double cell = ctx.display.CellSize * surface.PixelsPerTwipX() * image.devicePixelRatio();
    const int left = static_cast<int>(std::ceil((col - 1) * cell)) + 1;
    const int top = static_cast<int>(std::ceil((row - 1) * cell)) + 1;
    const int right = static_cast<int>(std::floor(col * cell)) - 1;
    const int bottom = static_cast<int>(std::floor(row * cell)) - 1;
    int ink = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
  }

  NullDialogs dialogs;
  NullEventPump pump;
  NullBeeper beeper;
  FixedWindowMetrics metrics;
  QtImageSurface surface;
  AppContext ctx{dialogs, pump, beeper, metrics, surface};
};

TEST(PicturePixelRatio, TwiceThePixelsEachWayWithEveryLetterInItsCell) {
  Picture one(1);
  Picture two(2);
  EXPECT_EQ(two.ctx.display.CellSize, one.ctx.display.CellSize) << "the cells measure the same in twips";
  EXPECT_EQ(two.surface.Image().size(), one.surface.Image().size() * 2);
  EXPECT_EQ(two.surface.Image().devicePixelRatio(), 2);
  for (int row = 1; row <= 5; ++row) {
    for (int col = 1; col <= 6; ++col) {
      if ((row + 2 * col) % 3 == 0) {
        EXPECT_GT(one.InkIn(row, col), 5) << row << "," << col;
        // Four times the pixels of the same letter, give or take its edges.
        EXPECT_GT(two.InkIn(row, col), 3 * one.InkIn(row, col)) << row << "," << col;
      } else {
        EXPECT_EQ(two.InkIn(row, col), 0) << row << "," << col;
      }
    }
  }
}

}  // namespace
}  // namespace kivrel
