#include "ui/PuzzlePicture.h"

#include <QPainter>
#include <QPaintEvent>

#include "platform/qt/QtSurface.h"

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
  painter.fillRect(event->rect(), Qt::white);
  painter.drawImage(0, 0, surface_.Image());
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
