#include "ui/SpinButton.h"

#include <QToolButton>

namespace kivrel {

namespace {
QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);  // the number box keeps the focus while spinning
  return button;
}
}  // namespace

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow)) {
  connect(up_, &QToolButton::clicked, this, &SpinButton::spinUp);
  connect(down_, &QToolButton::clicked, this, &SpinButton::spinDown);
}

void SpinButton::resizeEvent(QResizeEvent*) {
  int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace kivrel
