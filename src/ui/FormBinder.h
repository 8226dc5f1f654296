#pragma once
// Keeps a window's widgets and its Form in step. Widgets are found by objectName (the
// control's name); each property the core sets on the Form is shown on the widget, and
// each thing the user does is forwarded to the Form as the event the core handles:
// clicks, typed text, activation, resizing and closing here; focus changes and keys
// through ControlInput, access keys through AccessKeys. A control the Form has never
// been told about takes its first state from the widget, so a window's design values
// can live with the widgets.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <vector>

#include "model/Forms.h"
#include "ui/ModalLoop.h"
#include "ui/PlacementRetry.h"

class QCloseEvent;
class QWidget;

namespace kivrel {

class AccessKeys;
class ControlInput;

class FormBinder : public QObject {
 public:
  /// Binds window (and every named child widget and action) to form. `twips_per_pixel`
  /// converts the Form's geometry.
  FormBinder(QWidget* window, Form& form, double twips_per_pixel = 15.0);
  ~FormBinder() override;

  /// The objects of a window that stand for controls: its named widgets and menu items
  /// (Qt's own, named "qt_...", aside). Each must be a control of the window's form,
  /// which binds them by name; one that is not is left alone.
  static QList<QObject*> NamedObjects(const QWidget* window);

  /// Makes a button the window's cancel button: Escape presses it while it is enabled.
  /// Throws std::invalid_argument for a control of another window.
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
  /// The window's own events: activation, moves and resizes, its state, hiding, closing.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// The bound object of a control (a QWidget or QAction), or null.
  QObject* Find(Control control) const;
  void BindNamedObjects();
  void Bind(QObject* object, Control control);
  void Adopt(QObject* object, Control control);
  void Apply(Control control, Property property);
  void ApplyForm(Property property);
  /// The size the window's frame adds to its client area (for a window not shown yet,
  /// what its parent window's frame adds).
  QSize FrameExtra() const;
  /// Moves and sizes the window to the Form's geometry.
  void PlaceWindow();
  void ReportGeometry();
  /// Twips (or the parent's user units) per pixel of a widget's geometry.
  double UnitsPerPixel(const QWidget* widget) const;

  void WindowActivated();
  void WindowDeactivated();
  void WindowPlaced(bool resized);
  void WindowStateChanged();
  void WindowHidden(bool by_window_system);
  /// The close box or the session: false when the Form refuses to unload.
  bool WindowMayClose(QCloseEvent* close);

  QWidget* window_;
  Form& form_;
  double twips_per_pixel_;
  int subscription_ = 0;
  int applying_ = 0;                        // > 0 while the binder itself changes widgets
  std::vector<QPointer<QObject>> objects_;  // by control index
  AccessKeys* access_keys_;
  ControlInput* input_;
  ModalLoop modal_;
  PlacementRetry placement_;
  bool lent_to_modal_ = false;  // a modal box of the program holds the activation
};

}  // namespace kivrel
