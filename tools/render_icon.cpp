// Renders the program's SVG icon into a square PNG of the size given, for the icon
// theme's fixed-size folders. Run by the build; it needs no display (the icon
// holds no text, so no fonts are looked up).
//
//   kivrel-render-icon ICON.svg SIZE OUTPUT.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kivrel-render-icon ICON.svg SIZE OUTPUT.png\n");
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  const int size = std::atoi(argv[2]);
  if (!svg.isValid() || size <= 0) {
    std::fprintf(stderr, "kivrel-render-icon: cannot render %s at size %s\n", argv[1], argv[2]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
  }
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "kivrel-render-icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
