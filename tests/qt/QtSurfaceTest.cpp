#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

#include "PdfWords.h"
#include "RunningProgram.h"
#include "qt/QtSurface.h"

namespace kivrel {
namespace {

using testing::CountWhere;

int CountPixels(const QImage& image, QRect area, QRgb color) {
  return CountWhere(image, area, [color](QRgb p) { return (p & 0xFFFFFF) == (color & 0xFFFFFF); });
}

bool IsRedish(QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; }

TEST(QtImageSurface, IsInTwipsAtScreenResolutionWithFontSizesInWholePixels) {
  QtImageSurface surface(3000, 1500);
  EXPECT_EQ(surface.Image().size(), QSize(200, 100));
  EXPECT_NEAR(surface.ScaleHeight(), 1500, 0.01);
  surface.Scale(300, 150);  // user units of 10 twips
  EXPECT_NEAR(surface.ScaleWidth(), 300, 0.01);
  surface.Scale(3000, 1500);

  // 16, 11 and 7 pixels: 5 points are 6.67 pixels, and the nearest whole pixel size is used
  for (auto [asked, size] : {std::pair{12.0, 12.0}, std::pair{8.25, 8.25}, std::pair{5.0, 5.25}}) {
    surface.SetFontSize(asked);
    EXPECT_DOUBLE_EQ(surface.FontSize(), size) << asked;
  }
  surface.SetFontName("Arial");
  surface.SetFontSize(12);
  double h12 = surface.TextHeight("A");
  surface.SetFontSize(24);
  EXPECT_NEAR(surface.TextHeight("A"), 2 * h12, 30);
  EXPECT_GT(surface.TextWidth("W"), surface.TextWidth("I"));
  EXPECT_GT(h12, 200);  // a 16-pixel font is more than 13 pixels tall
  EXPECT_LT(h12, 400);
}

TEST(QtImageSurface, WithoutSmoothingATextDrawnInWhiteErasesItself) {
  QtImageSurface surface(3000, 1500);
  surface.SetSmoothText(false);
  surface.SetFontName("MS Sans Serif");
  surface.SetFontBold(true);
  surface.SetFontSize(12);
  for (Rgb colour : {kBlack, kWhite}) {
    surface.SetForeColor(colour);
    surface.CurrentX = 301.5;  // between pixels, as cell positions often are
    surface.CurrentY = 300;
    surface.Print("WAQ");
  }
  EXPECT_EQ(CountPixels(surface.Image(), surface.Image().rect(), qRgb(255, 255, 255)),
            surface.Image().width() * surface.Image().height());
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
      for (QtImageSurface* surface : {&cached, &drawn}) {
        surface->SetSmoothText(false);
        surface->SetFontName("MS Sans Serif");
        surface->SetFontBold(true);
        // Each letter again and again, at positions with every fraction of a pixel, in
        // every colour of the picture; white takes some away again.
        for (double points : {12.0, 7.0}) {
          surface->SetFontSize(points);
          for (int k = 0; k < 150; ++k) {
            const Rgb colours[] = {kBlack, kRed, kGrey, kBlack, kWhite};
            surface->SetForeColor(colours[k % 5]);
            surface->CurrentX = (k % 25) * 233 + (points < 10 ? 41 : 7);
            surface->CurrentY = (k / 25) * 251 + (points < 10 ? 1500 : 3);
            surface->Print(letters.substr(static_cast<std::size_t>(k) % letters.size(), 1));
            // Lines over letters drawn just before and just after them: the order holds.
            if (k % 30 == 29) surface->Line(0, surface->CurrentY + 60, 6000, surface->CurrentY + 90);
          }
          // Letters cut off by each edge of the image.
          for (auto [x, y] : {std::pair{5950.0, 100.0}, {5990.0, 2950.0}, {-60.0, 700.0}, {300.0, -80.0}}) {
            surface->CurrentX = x;
            surface->CurrentY = y;
            surface->Print("W");
          }
        }
      }
      ASSERT_EQ(cached.Image().size(), drawn.Image().size());
      EXPECT_LT(CountPixels(drawn.Image(), drawn.Image().rect(), qRgb(255, 255, 255)),
                drawn.Image().width() * drawn.Image().height() * 97 / 100)
          << "letters were drawn";
      EXPECT_TRUE(cached.Image() == drawn.Image())
          << "device pixel ratio " << ratio << (masked ? ", masked stores" : "");
    }
  }
  GlyphCache::UseMaskedStores(true);
}

TEST(QtImageSurface, ClearingTakesAwayTheLettersNotCopiedYet) {
  QtImageSurface surface(3000, 3000);
  surface.SetSmoothText(false);
  surface.SetFontName("Arial");
  surface.Print("W");
  surface.Cls();
  surface.Print("I");
  const QImage& image = surface.Image();
  const int dark = CountWhere(image, image.rect(), [](QRgb p) { return qGray(p) < 128; });
  EXPECT_GT(dark, 0);
  surface.Cls();
  EXPECT_EQ(CountPixels(surface.Image(), surface.Image().rect(), qRgb(255, 255, 255)),
            surface.Image().width() * surface.Image().height());
  surface.Print("I");
  EXPECT_EQ(CountWhere(surface.Image(), surface.Image().rect(), [](QRgb p) { return qGray(p) < 128; }), dark)
      << "only the I is left";
}

TEST(QtImageSurface, PrintsTextWithItsTopLeftCornerAtTheCurrentPosition) {
  QtImageSurface surface(3000, 3000);
  surface.SetFontName("Arial");
  surface.SetFontBold(true);
  surface.SetFontSize(12);
  surface.SetForeColor(kRed);
  surface.CurrentX = 600;
  surface.CurrentY = 600;
  double width = surface.TextWidth("W");
  surface.Print("W");
  EXPECT_NEAR(surface.CurrentX, 600 + width, 0.01);
  EXPECT_EQ(surface.CurrentY, 600);
  const QImage& image = surface.Image();
  const QRect box(40, 40, static_cast<int>(std::ceil(width / 15)) + 1,
                  static_cast<int>(std::ceil(surface.TextHeight("W") / 15)) + 1);
  const int red_inside = CountWhere(image, box, IsRedish);
  EXPECT_GT(red_inside, 20);
  EXPECT_EQ(CountWhere(image, image.rect(), IsRedish), red_inside) << "no red outside the text's box";
}

// Short texts are drawn from a cache of laid-out texts, longer ones directly: both must
// put the glyphs at the same height, in every font.
TEST(QtImageSurface, ShortAndLongTextsShareTheirTopLine) {
  QtImageSurface surface(6000, 1500);
  surface.SetFontName("Arial");
  auto first_ink_row = [&](int left, int right) {
    for (int y = 0; y < surface.Image().height(); ++y) {
      for (int x = left; x < right; ++x) {
        if (qGray(surface.Image().pixel(x, y)) < 128) return y;
      }
    }
    return -1;
  };
  for (double size : {24.0, 12.0}) {
    surface.Cls();
    surface.SetFontSize(size);
    surface.CurrentY = 300;
    surface.CurrentX = 300;
    surface.Print("H");
    surface.CurrentX = 3000;
    surface.Print("HHH");
    EXPECT_GE(first_ink_row(0, 180), 20);
    EXPECT_EQ(first_ink_row(0, 180), first_ink_row(190, 400)) << size;
  }
}

TEST(QtImageSurface, DrawsLinesBoxesAndCounterClockwiseArcs) {
  QtImageSurface surface(3000, 3000);
  surface.SetForeColor(kBlack);
  surface.Box(150, 150, 1500, 1500);  // pixels 10..100
  const QImage& image = surface.Image();
  EXPECT_EQ(image.pixel(10, 50) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(100, 50) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(50, 50) & 0xFFFFFF, 0xFFFFFFu);

  surface.Cls();
  EXPECT_EQ(CountPixels(image, image.rect(), 0x000000), 0);
  // The half circle from 0 to pi goes through the top: counter-clockwise as seen.
  surface.Arc(1500, 1500, 600, 0, std::numbers::pi);
  EXPECT_GT(CountPixels(image, QRect(60, 55, 81, 10), 0x000000), 0);   // around y = 60
  EXPECT_EQ(CountPixels(image, QRect(60, 135, 81, 10), 0x000000), 0);  // nothing at y = 140
  // From pi to 0 wraps the other way, through the bottom.
  surface.Cls();
  surface.Arc(1500, 1500, 600, std::numbers::pi, 0);
  EXPECT_EQ(CountPixels(image, QRect(60, 55, 81, 10), 0x000000), 0);
  EXPECT_GT(CountPixels(image, QRect(60, 135, 81, 10), 0x000000), 0);

  surface.Cls();
  surface.Line(0, 1500, 3000, 1500);
  EXPECT_EQ(CountPixels(image, QRect(0, 100, 200, 1), 0x000000), 200);
}

TEST(QtImageSurface, ResizedOrAtAnotherPixelRatioMeasuresTheSameAndKeepsWhatWasDrawn) {
  QtImageSurface grown(1500, 1500);
  grown.Line(0, 0, 1500, 0);
  grown.Resize(3000, 3000);
  EXPECT_EQ(CountPixels(grown.Image(), QRect(0, 0, 100, 1), 0x000000), 100);
  EXPECT_EQ(CountPixels(grown.Image(), QRect(100, 0, 100, 1), 0x000000), 0);
  grown.Line(0, 2985, 3000, 2985);  // the new part can be drawn on
  EXPECT_EQ(CountPixels(grown.Image(), QRect(0, 199, 200, 1), 0x000000), 200);

  QtImageSurface surface(3000, 1500, 96, 1);
  surface.SetFontName("Arial");
  surface.SetFontSize(12);
  const double width = surface.TextWidth("W");
  surface.Line(0, 0, 1500, 0);
  surface.SetDevicePixelRatio(2);
  EXPECT_EQ(surface.Image().size(), QSize(400, 200));
  EXPECT_EQ(surface.Image().devicePixelRatio(), 2);
  EXPECT_NEAR(surface.ScaleWidth(), 3000, 0.01);
  EXPECT_DOUBLE_EQ(surface.TextWidth("W"), width);
  EXPECT_GT(CountWhere(surface.Image(), QRect(0, 0, 200, 2), [](QRgb p) { return qGray(p) < 128; }), 150);
  surface.Resize(3000, 3000);  // resizing keeps the ratio
  EXPECT_EQ(surface.Image().size(), QSize(400, 400));
}

TEST(QtSurfaceOnPdf, PutsTextWhereTheTwipsSay) {
  QTemporaryDir dir;
  QString path = dir.filePath("page.pdf");
  {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QtSurface surface(&writer);
    EXPECT_NEAR(surface.ScaleWidth(), 12240, 2);
    EXPECT_NEAR(surface.ScaleHeight(), 15840, 2);
    surface.SetFontName("Arial");
    surface.SetFontSize(12);
    surface.CurrentX = 1440;  // one inch: 72 points
    surface.CurrentY = 2880;  // two inches: 144 points
    surface.Print("KIVREL");
  }
  auto pages = testing::ReadPdfWords(path.toStdString());
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 1u);
  EXPECT_EQ(pages[0][0].text, "KIVREL");
  EXPECT_NEAR(pages[0][0].xMin, 72, 1);
  // The glyph box starts below the line's top by the font's internal leading.
  EXPECT_NEAR(pages[0][0].yMin, 144, 3);
}

}  // namespace
}  // namespace kivrel
