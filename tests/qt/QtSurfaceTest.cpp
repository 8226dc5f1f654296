// The image surface in twips at screen resolution: what a drawing leaves on the image,
// the glyph cache against text drawn directly, and the image resized or moved to another
// pixel ratio, where a letter of the puzzle picture stands where it stood, twice the size.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "RunningProgram.h"
#include "qt/QtSurface.h"

namespace kivrel {
namespace {

using testing::CountWhere;

bool Dark(QRgb p) { return qGray(p) < 128; }
bool Ink(QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }

// The smallest rectangle that holds every pixel that is not white.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) bounds |= Ink(image.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
  }
  return bounds;
}

void PrintAt(Surface& s, double x, double y, std::string_view text) {
  s.CurrentX = x;
  s.CurrentY = y;
  s.Print(text);
}

// On an image of 200 x 200 pixels (3000 twips each way), in Arial 12 points bold: each
// drawing and where its ink lies.
TEST(QtImageSurface, EachDrawingLeavesItsInkWhereTheTwipsSay) {
  const std::pair<std::function<void(QtImageSurface&)>, QRect> drawings[] = {
      // Angles run counter-clockwise as seen: from 0 to pi over the top, back under it.
      {[](QtImageSurface& s) { s.Arc(1500, 1500, 600, 0, std::numbers::pi); }, QRect(60, 60, 80, 40)},
      {[](QtImageSurface& s) { s.Arc(1500, 1500, 600, std::numbers::pi, 0); }, QRect(60, 100, 81, 41)},
      // A text's top-left corner at the current position; short texts come from the
      // glyph cache, longer ones are laid out every time: the same top line.
      {[](QtImageSurface& s) { PrintAt(s, 300, 300, "HH"); }, QRect(21, 22, 21, 12)},
      {[](QtImageSurface& s) { PrintAt(s, 300, 300, "HHHH"); }, QRect(21, 22, 44, 12)},
      // Without smoothing a text drawn again in white erases itself, even between pixels.
      {[](QtImageSurface& s) {
         s.SetSmoothText(false);
         s.SetFontName("MS Sans Serif");
         for (Rgb colour : {kBlack, kWhite}) {
           s.SetForeColor(colour);
           PrintAt(s, 301.5, 300, "WAQ");
         }
       },
       QRect()},
      // A letter from the glyph cache waits to be copied; clearing takes it away.
      {[](QtImageSurface& s) {
         s.SetSmoothText(false);
         PrintAt(s, 0, 0, "W");
         s.Cls();
         PrintAt(s, 1500, 0, "I");
       },
       QRect(101, 3, 2, 11)},
  };
  for (std::size_t i = 0; i < std::size(drawings); ++i) {
    QtImageSurface surface(3000, 3000);
    surface.SetFontName("Arial");
    surface.SetFontBold(true);
    surface.SetFontSize(12);
    drawings[i].first(surface);
    EXPECT_EQ(InkBounds(surface.Image()), drawings[i].second) << "drawing " << i;
  }
}

TEST(QtImageSurface, MeasuresInTwipsWithFontSizesInWholePixels) {
  QtImageSurface surface(3000, 1500);
  EXPECT_EQ(surface.Image().size(), QSize(200, 100));
  // 5 points are 6.67 pixels: the nearest whole pixel size, 7, is 5.25 points.
  for (auto [asked, size] : {std::pair{12.0, 12.0}, std::pair{8.25, 8.25}, std::pair{5.0, 5.25}}) {
    surface.SetFontSize(asked);
    EXPECT_DOUBLE_EQ(surface.FontSize(), size) << asked;
  }
  surface.SetFontName("Arial");
  surface.SetFontSize(12);
  surface.SetSmoothText(false);  // as the puzzle picture draws its letters
  const double width = surface.TextWidth("W"), height = surface.TextHeight("W");
  PrintAt(surface, 600, 600, "W");
  const QRect letter = InkBounds(surface.Image());
  surface.Cls();

  // Resized, the image keeps what was drawn and can be drawn on where it grew.
  surface.Line(0, 0, 1500, 0);
  surface.Resize(3000, 3000);
  EXPECT_EQ(CountWhere(surface.Image(), QRect(0, 0, 200, 1), Dark), 100);
  surface.Line(0, 2985, 3000, 2985);
  EXPECT_EQ(CountWhere(surface.Image(), QRect(0, 199, 200, 1), Dark), 200);
  // At another pixel ratio: twice the pixels, the same twips, the same text widths.
  surface.SetDevicePixelRatio(2);
  EXPECT_EQ(surface.Image().size(), QSize(400, 400));
  EXPECT_EQ(surface.Image().devicePixelRatio(), 2);
  EXPECT_NEAR(surface.ScaleWidth(), 3000, 0.01);
  EXPECT_DOUBLE_EQ(surface.TextWidth("W"), width);
  EXPECT_DOUBLE_EQ(surface.TextHeight("W"), height);
  EXPECT_GT(CountWhere(surface.Image(), QRect(0, 0, 200, 2), Dark), 150);
  // A letter (as the picture draws one in each cell) where it stood, twice the size.
  surface.Cls();
  PrintAt(surface, 600, 600, "W");
  const QRect twice = InkBounds(surface.Image());
  EXPECT_LE((twice.topLeft() - letter.topLeft() * 2).manhattanLength(), 2) << letter.x() << "," << twice.x();
  EXPECT_LE((QPoint(twice.width(), twice.height()) - QPoint(letter.width(), letter.height()) * 2).manhattanLength(), 3);
  surface.Resize(3000, 1500);
  EXPECT_EQ(surface.Image().size(), QSize(400, 200)) << "resizing keeps the ratio";
}

TEST(QtImageSurface, LettersFromTheGlyphCacheAreThePixelsOfTheTextAtEveryPixelRatio) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789W";
  // Both ways of copying: by blending, and with masked stores where the processor has them.
  for (bool masked : {false, true}) {
    if (GlyphCache::UseMaskedStores(masked) != masked) continue;
    for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
      QtImageSurface cached(6000, 3000, 96, ratio);
      QtImageSurface drawn(6000, 3000, 96, ratio);
      drawn.SetGlyphCache(false);
      for (QtImageSurface* s : {&cached, &drawn}) {
        s->SetSmoothText(false);
        s->SetFontName("MS Sans Serif");
        s->SetFontBold(true);
        // Each letter again and again, at every fraction of a pixel, in every colour of
        // the picture (white takes some away again), lines drawn over some just after
        // them, and letters cut off by each edge of the image.
        for (double points : {12.0, 7.0}) {
          s->SetFontSize(points);
          for (int k = 0; k < 150; ++k) {
            const Rgb colours[] = {kBlack, kRed, kGrey, kBlack, kWhite};
            s->SetForeColor(colours[k % 5]);
            PrintAt(*s, (k % 25) * 233 + (points < 10 ? 41 : 7), (k / 25) * 251 + (points < 10 ? 1500 : 3),
                    letters.substr(static_cast<std::size_t>(k) % letters.size(), 1));
            if (k % 30 == 29) s->Line(0, s->CurrentY + 60, 6000, s->CurrentY + 90);
          }
          for (auto [x, y] : {std::pair{5950.0, 100.0}, {5990.0, 2950.0}, {-60.0, 700.0}, {300.0, -80.0}}) {
            PrintAt(*s, x, y, "W");
          }
        }
      }
      const QImage& image = drawn.Image();
      EXPECT_GT(CountWhere(image, image.rect(), Ink), image.width() * image.height() * 3 / 100) << "letters were drawn";
      EXPECT_TRUE(cached.Image() == image) << "device pixel ratio " << ratio << (masked ? ", masked stores" : "");
    }
  }
  GlyphCache::UseMaskedStores(true);
}

}  // namespace
}  // namespace kivrel
