#include "ui/Design.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <cmath>

namespace kivrel {

int Design::Px(int twips) const { return static_cast<int>(std::lround(twips / twips_per_pixel_)); }

void Design::Place(QWidget* widget, int left, int top, int width, int height) const {
  widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QAction* Design::Item(QMenu* menu, std::string_view name, const char* caption, bool enabled) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  Named(action, name);
  action->setEnabled(enabled);
  return action;
}

}  // namespace kivrel
