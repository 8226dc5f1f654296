#pragma once
// The GUI program as one object: the Qt platform services, the program context, the
// puzzle picture and the windows. Tests create it in-process and drive the windows by
// objectName.
//
// Windows: the main window is made with the program. Every other window is made the
// first time the program shows its Form (RegisterWindow gives the function that builds
// its widgets), bound to the Form by a FormBinder, sent its Load event, and then kept
// for the rest of the run: the Form shows and hides it.
#include <QPointer>
#include <QPrinter>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "controls/AboutControls.h"
#include "forms/AttributesDialog.h"
#include "forms/MainWindow.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "forms/WordListWindow.h"
#include "program/AppContext.h"
#include "qt/QtEditHistory.h"
#include "qt/QtPageFileDevice.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"
#include "qt/QtSurface.h"
#include "ui/Design.h"

class QMainWindow;
class QWidget;

namespace kivrel {

class FormBinder;

class KivrelApp {
 public:
  /// A QApplication must exist. `dialogs`, when given, answers every dialog instead of
  /// Qt's (tests script them); it must outlive the program.
  explicit KivrelApp(Dialogs* dialogs = nullptr);
  ~KivrelApp();
  KivrelApp(const KivrelApp&) = delete;
  KivrelApp& operator=(const KivrelApp&) = delete;

  /// Starts the program: StartUp with the windows attached (the random source is
  /// seeded from the clock unless a seed is given).
  void Start(std::optional<std::uint64_t> seed = std::nullopt);

  AppContext& context() { return ctx_; }
  QMainWindow* mainWindow() const { return main_window_.get(); }
  /// The window of a form once it has been made, else null.
  QWidget* window(const Window& form) const;
  /// The retained image of the puzzle picture.
  QtImageSurface& picture() { return picture_; }
  /// The retained image of the preview page.
  QtImageSurface& preview() { return preview_; }
  QtDialogs& dialogs() { return qt_dialogs_; }
  const Design& design() const { return design_; }

 private:
  using WindowMaker = std::function<QWidget*(const Design&, QWidget* main_window)>;
  /// Makes the form's window (with `make`) the first time the program shows or loads
  /// it; Escape presses `cancel_button` when one is named.
  void RegisterWindow(const Window& form, WindowMaker make, Control cancel_button = {});

  QPrinter printer_{QPrinter::HighResolution};
  QtPrinterDevice printer_device_{printer_};
  QtPageFileDevice page_file_device_;
  QtDialogs qt_dialogs_{printer_};
  QtEventPump pump_;
  QtBeeper beeper_;
  QtWindowMetrics metrics_;
  Design design_{metrics_.TwipsPerPixelX()};
  QtImageSurface picture_;
  QtImageSurface preview_;
  AppContext ctx_;
  QtEditHistory history_;
  MainWindow main_;
  WordListWindow word_list_;
  AttributesDialog attributes_;
  PrintPreview print_preview_;
  PrintOptionsDialog print_options_;
  std::map<const Window*, QPointer<QWidget>> windows_;
  // Last, so the widgets go before the context their binders talk to.
  std::unique_ptr<QMainWindow> main_window_;
};

/// The whole GUI program: QApplication, KivrelApp, StartUp, the event loop.
int RunKivrel(int argc, char** argv);

}  // namespace kivrel
