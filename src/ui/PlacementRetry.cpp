#include "ui/PlacementRetry.h"

#include <QWidget>

namespace kivrel {

void PlacementRetry::Asked(QPoint place, QSize size) {
  place_ = place;
  size_ = size;
  asked_at_.start();
  asked_again_ = false;
}

void PlacementRetry::Reported() {
  if (!asked_at_.isValid() || asked_at_.elapsed() > kAskedPlaceMs) return;
  const QRect frame = window_->frameGeometry();
  if (frame.topLeft() == place_) {
    asked_at_.invalidate();
  } else if (frame.size() == size_ && !asked_again_) {
    asked_again_ = true;
    window_->move(place_);
  }
}

}  // namespace kivrel
