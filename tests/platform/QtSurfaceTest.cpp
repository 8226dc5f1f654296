#include <gtest/gtest.h>

#include <QFile>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <regex>
#include <string>

#include "platform/qt/QtSurface.h"

namespace kivrel {
namespace {

// Pixels of a colour inside a rectangle of the image.
int CountPixels(const QImage& image, QRect area, QRgb color) {
  int count = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
  }
  return count;
}

bool IsRedish(QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; }

TEST(QtImageSurface, IsInTwipsAtScreenResolution) {
  QtImageSurface surface(3000, 1500);
  EXPECT_EQ(surface.Image().width(), 200);
  EXPECT_EQ(surface.Image().height(), 100);
  EXPECT_NEAR(surface.ScaleWidth(), 3000, 0.01);
  EXPECT_NEAR(surface.ScaleHeight(), 1500, 0.01);
  surface.Scale(300, 150);  // user units of 10 twips
  EXPECT_NEAR(surface.ScaleWidth(), 300, 0.01);
}

TEST(QtImageSurface, FontSizesReadBackAsWholePixels) {
  QtImageSurface surface(1500, 1500);
  surface.SetFontSize(12);
  EXPECT_DOUBLE_EQ(surface.FontSize(), 12);  // 16 pixels
  surface.SetFontSize(8.25);
  EXPECT_DOUBLE_EQ(surface.FontSize(), 8.25);  // 11 pixels
  surface.SetFontSize(5);
  EXPECT_DOUBLE_EQ(surface.FontSize(), 5.25);  // 7 pixels
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
  int w_px = static_cast<int>(std::ceil(width / 15));
  int h_px = static_cast<int>(std::ceil(surface.TextHeight("W") / 15));
  int red_inside = 0, red_outside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsRedish(image.pixel(x, y))) continue;
      bool inside = x >= 40 && x <= 40 + w_px && y >= 40 && y <= 40 + h_px;
      (inside ? red_inside : red_outside)++;
    }
  }
  EXPECT_GT(red_inside, 20);
  EXPECT_EQ(red_outside, 0);
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

TEST(QtImageSurface, ResizingKeepsWhatWasDrawn) {
  QtImageSurface surface(1500, 1500);
  surface.Line(0, 0, 1500, 0);
  surface.Resize(3000, 3000);
  EXPECT_EQ(surface.Image().width(), 200);
  EXPECT_EQ(CountPixels(surface.Image(), QRect(0, 0, 100, 1), 0x000000), 100);
  EXPECT_EQ(CountPixels(surface.Image(), QRect(100, 0, 100, 1), 0x000000), 0);
  surface.Line(0, 2985, 3000, 2985);  // the new part can be drawn on
  EXPECT_EQ(CountPixels(surface.Image(), QRect(0, 199, 200, 1), 0x000000), 200);
}

std::string RunPdfToText(const QString& pdf) {
  std::string command = "pdftotext -bbox \"" + pdf.toStdString() + "\" - 2>/dev/null";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  pclose(pipe);
  return output;
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
    surface.CurrentX = 7200;
    surface.Print("SECOND");
    surface.Box(1440, 1440, 10800, 14400);
  }
  std::string bbox = RunPdfToText(path);
  std::smatch m;
  std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">KIVREL</word>)re");
  ASSERT_TRUE(std::regex_search(bbox, m, word)) << bbox;
  EXPECT_NEAR(std::stod(m[1]), 72, 1);
  // The glyph box starts below the line's top by the font's internal leading.
  EXPECT_NEAR(std::stod(m[2]), 144, 3);
  std::regex second(R"re(<word xMin="([0-9.]+)"[^>]*>SECOND</word>)re");
  ASSERT_TRUE(std::regex_search(bbox, m, second));
  EXPECT_NEAR(std::stod(m[1]), 360, 1);
}

TEST(QtSurfaceOnSvg, WritesTheTextAndShapes) {
  QTemporaryDir dir;
  QString path = dir.filePath("page.svg");
  {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(816, 1056));
    svg.setResolution(96);
    QtSurface surface(&svg);
    EXPECT_NEAR(surface.ScaleWidth(), 12240, 1);
    surface.Print("HELLO");
    surface.Arc(1000, 1000, 300, 0, std::numbers::pi);
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray content = file.readAll();
  EXPECT_TRUE(content.contains("HELLO"));
  EXPECT_TRUE(content.contains("<path"));
}

TEST(ResolveFontFamily, MapsTheProgramsFontNames) {
  EXPECT_EQ(ResolveFontFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(ResolveFontFamily("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(ResolveFontFamily("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(ResolveFontFamily("DejaVu Sans"), "DejaVu Sans");
}

}  // namespace
}  // namespace kivrel
