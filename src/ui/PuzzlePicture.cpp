#include "ui/PuzzlePicture.h"

#include <QPainter>
#include <QPaintEvent>

#include "platform/qt/QtSurface.h"

namespace kivrel {

PuzzlePicture::PuzzlePicture(QtImageSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Every drawing on the image schedules a repaint; the event loop merges them.
  surface_.SetChangedCallback([this] { update(); });
}

PuzzlePicture::~PuzzlePicture() { surface_.SetChangedCallback(nullptr); }

void PuzzlePicture::paintEvent(QPaintEvent* event) {
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
