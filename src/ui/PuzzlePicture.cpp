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
  surface_.Show(painter, event->region(), rect());
}

void PuzzlePicture::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  update();
}

void PuzzlePicture::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  surface_.ForgetShown();  // the window paints over where it was
}

void PuzzlePicture::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  surface_.ForgetShown();
  update();
}

void PuzzlePicture::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  surface_.ForgetShown();
}

}  // namespace kivrel
