#pragma once
// Window designs are written in twips, as the program lays everything out; a Design
// turns them into pixels of the screen the windows are shown on, and makes the named
// widgets and menu items a window is built from.
#include <QString>
#include <string_view>

#include "model/Forms.h"

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QWidget;

namespace kivrel {

class Design {
 public:
  explicit Design(double twips_per_pixel) : twips_per_pixel_(twips_per_pixel > 0 ? twips_per_pixel : 15.0) {}

  double TwipsPerPixel() const { return twips_per_pixel_; }
  int Px(int twips) const;

  /// Places a widget at left, top, width, height twips inside its parent.
  void Place(QWidget* widget, int left, int top, int width, int height) const;

  /// Names a widget or menu item as the control it shows (the objectName FormBinder
  /// binds by), or a window as its form.
  template <typename T>
  static T* Named(T* object, Control control) {
    return WithName(object, control.Name());
  }
  template <typename T>
  static T* Named(T* object, const Window& window) {
    return WithName(object, window.Name());
  }

  /// A command button placed in its parent. It is never an automatic default: Enter
  /// presses the button the program makes the default.
  QPushButton* Button(QWidget* parent, Control control, const char* caption, int left, int top, int width,
                      int height) const;

  /// A check box one text line (285 twips) high.
  QCheckBox* Check(QWidget* parent, Control control, const char* caption, int left, int top, int width) const;

  /// A menu item for `control` with `caption` (access key marked with "&").
  static QAction* Item(QMenu* menu, Control control, const char* caption, bool enabled = true);

 private:
  template <typename T>
  static T* WithName(T* object, std::string_view name) {
    object->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return object;
  }

  double twips_per_pixel_;
};

}  // namespace kivrel
