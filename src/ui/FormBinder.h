#pragma once
// Keeps a window's widgets and its Form in step. Widgets are found by objectName (the
// control's name); each property the core sets on the Form is shown on the widget, and
// each thing the user does is forwarded to the Form as the event the core handles:
// clicks, typed text, focus changes, key presses, activation, resizing and closing.
// A control the Form has never been told about takes its first state from the widget,
// so a window's design values can live with the widgets.
//
// Access keys: one press does one thing. Where an Alt+letter belongs to more than one
// control of the window, the enabled button (or check box) wins, and a menu of the same
// letter answers it only while no such button is enabled (the menu stays reachable with
// Alt released, then the letter). In an open menu, a letter that several enabled items
// share runs the first of them.
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <vector>

#include "model/Forms.h"

class QWidget;
class QEventLoop;
class QMenu;

namespace kivrel {

class FormBinder : public QObject {
 public:
  /// Binds window (and every named child widget and action) to form. `twips_per_pixel`
  /// converts the Form's geometry.
  FormBinder(QWidget* window, Form& form, double twips_per_pixel = 15.0);
  ~FormBinder() override;

  /// Finds named children again (after widgets were added) and binds the new ones.
  void Rebind();

  /// The bound object of a control (a QWidget or QAction), or null.
  QObject* Find(Control control) const;

  /// The objects of a window that stand for controls: its named widgets and menu items
  /// (Qt's own, named "qt_...", aside). Each must be a control of the window's form,
  /// which binds them by name; one that is not is left alone.
  static QList<QObject*> NamedObjects(const QWidget* window);

  /// Makes a button the window's cancel button: Escape presses it while it is enabled.
  void SetCancelButton(Control control);

  /// Shows the window as the Form says (modal or not). For a window made after the
  /// program asked to show its form.
  void Present();

  /// Gives the children of `container` coordinates of their own: one twip of the
  /// container holds `units_per_twip` of their units, and their Bounds on the Form are
  /// in those units (a thumbnail of a page at a third of its size has 3).
  static void SetUserScale(QWidget* container, double units_per_twip);

  Form& form() { return form_; }
  QWidget* window() const { return window_; }

  int ToPixels(int twips) const;
  int ToTwips(int pixels) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Bind(QObject* object, Control control);
  void Adopt(QObject* object, Control control);
  void Apply(Control control, Property property);
  void ApplyForm(Property property);
  void ShowModal();
  /// Alt+key that Qt found ambiguous: runs the control that wins it; false if none.
  bool ResolveAccessKey(int key);
  /// A letter typed in an open menu: runs the first enabled item it stands for.
  bool ChooseMenuItem(QMenu* menu, int key);
  void ReportGeometry();
  /// Asks again for the place last asked for when the window system put the window,
  /// at its new size, somewhere else (see FormBinder.cpp).
  void KeepAskedPlace();
  /// Twips (or the parent's user units) per pixel of a widget's geometry.
  double UnitsPerPixel(const QWidget* widget) const;

  QWidget* window_;
  Form& form_;
  double twips_per_pixel_;
  int subscription_ = 0;
  int applying_ = 0;  // > 0 while the binder itself changes widgets
  std::vector<QPointer<QObject>> objects_;  // by control index
  QHash<const QObject*, Control> controls_;
  QEventLoop* modal_loop_ = nullptr;
  bool lent_to_modal_ = false;  // a modal box of the program holds the activation
  // The place and outer size last asked for, and when (reports later than that are the
  // window manager's or the user's own doing).
  static constexpr qint64 kAskedPlaceMs = 2000;
  QPoint asked_place_;
  QSize asked_size_;
  QElapsedTimer asked_at_;
  bool place_asked_again_ = false;
};

}  // namespace kivrel
