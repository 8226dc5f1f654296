#pragma once
// The GUI program as one object: the Qt platform services, the program context and the
// windows. Tests create it in-process and drive the windows by objectName.
#include <QPrinter>
#include <cstdint>
#include <memory>
#include <optional>

#include "model/AppContext.h"
#include "platform/qt/QtServices.h"

class QMainWindow;

namespace kivrel {

class FormBinder;

class KivrelApp {
 public:
  /// A QApplication must exist.
  KivrelApp();
  ~KivrelApp();

  /// Starts the program: StartUp with the windows attached (the random source is
  /// seeded from the clock unless a seed is given).
  void Start(std::optional<std::uint64_t> seed = std::nullopt);

  AppContext& context() { return ctx_; }
  QMainWindow* mainWindow() const { return main_window_.get(); }
  QtDialogs& dialogs() { return dialogs_; }

 private:
  QPrinter printer_;
  QtDialogs dialogs_{printer_};
  QtEventPump pump_;
  QtBeeper beeper_;
  QtWindowMetrics metrics_;
  NullSurface no_picture_;
  AppContext ctx_{dialogs_, pump_, beeper_, metrics_, no_picture_};
  std::unique_ptr<QMainWindow> main_window_;
  FormBinder* main_binder_ = nullptr;
};

/// The whole GUI program: QApplication, KivrelApp, StartUp, the event loop.
int RunKivrel(int argc, char** argv);

}  // namespace kivrel
