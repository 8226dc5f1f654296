#include "ui/PuzzlePicture.h"

#include <QPainter>
#include <QPaintEvent>

#include "qt/QtSurface.h"

namespace kivrel {

PuzzlePicture::PuzzlePicture(QtImageSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Drawing on the image schedules a repaint (once until the picture has painted).
  surface_.SetChangedCallback([this] { update(); });
}

PuzzlePicture::~PuzzlePicture() { surface_.SetChangedCallback(nullptr); }

void PuzzlePicture::paintEvent(QPaintEvent* event) {
  // The image follows the pixel ratio of the screen the window is on (the first paint,
  // or the window moved to another screen).
  surface_.SetDevicePixelRatio(devicePixelRatioF());
  surface_.ChangesShown();
  QPainter painter(this);
  const QImage& image = surface_.Image();
  // White where the image does not reach (the widget may be larger); the image is
  // opaque, so under it there is nothing to clear.
  const QSizeF covered = image.deviceIndependentSize();  // whole pixels only
  const QRegion uncovered =
      QRegion(event->rect()) - QRect(0, 0, static_cast<int>(covered.width()), static_cast<int>(covered.height()));
  for (const QRect& rect : uncovered) painter.fillRect(rect, Qt::white);
  painter.drawImage(0, 0, image);
}

void PuzzlePicture::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  update();
}

void PuzzlePicture::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  update();
}

}  // namespace kivrel
