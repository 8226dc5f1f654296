#include "ui/Design.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <cmath>

namespace kivrel {

int Design::Px(int twips) const { return static_cast<int>(std::lround(twips / twips_per_pixel_)); }

void Design::Place(QWidget* widget, int left, int top, int width, int height) const {
  widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QPushButton* Design::Button(QWidget* parent, Control control, const char* caption, int left, int top, int width,
                            int height) const {
  auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), control);
  button->setAutoDefault(false);
  Place(button, left, top, width, height);
  return button;
}

QCheckBox* Design::Check(QWidget* parent, Control control, const char* caption, int left, int top, int width) const {
  auto* check = Named(new QCheckBox(QString::fromUtf8(caption), parent), control);
  Place(check, left, top, width, 285);
  return check;
}

QAction* Design::Item(QMenu* menu, Control control, const char* caption, bool enabled) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  Named(action, control);
  action->setEnabled(enabled);
  return action;
}

}  // namespace kivrel
