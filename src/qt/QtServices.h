#pragma once
// The platform services with Qt: yielding to the event loop, the alert sound, the
// screen's size, and the message, file, print and font dialogs.
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"
#include "platform/Services.h"

class QLocale;
class QPrinter;
class QWidget;
struct xcb_connection_t;

namespace kivrel {

/// Runs pending events at most every interval_ms, so a build can call it after every
/// line it searches. Reading the clock costs more than searching a short line, so only
/// every 1024th call reads it; the others cost a count.
class QtEventPump : public EventPump {
 public:
  explicit QtEventPump(int interval_ms = 15);
  void Yield() override;
  void Yield(int times, const std::function<bool()>& stop) override;
  void WorkStarts() override;
  int YieldsAtOnce() const override { return kCallsPerClockRead; }

 private:
  // Reading the clock costs far more than a yield (a system call on some virtual
  // machines), and 8192 yields of a 40 x 40 build take about 16 microseconds: events
  // still run within a fraction of a millisecond of being due.
  static constexpr unsigned kCallsPerClockRead = 8192;
  QElapsedTimer clock_;
  qint64 interval_ms_;
  unsigned calls_ = 0;

  void RunEventsIfDue();
};

/// The alert sound. On X the bell goes out with whatever the program sends the server
/// next, not on its own: a build's bell is followed at once by the repaint that shows
/// the puzzle, and every separate send wakes the server, a cost the program pays in
/// processor time of its own. When nothing else has gone out by the time the event
/// loop waits, the bell is sent then.
class QtBeeper : public Beeper {
 public:
  QtBeeper();
  ~QtBeeper() override;
  QtBeeper(const QtBeeper&) = delete;
  QtBeeper& operator=(const QtBeeper&) = delete;
  void Beep() override;

 private:
  xcb_connection_t* x_ = nullptr;  // null: not on X
  bool bell_waiting_ = false;      // asked for and perhaps not sent yet
  QMetaObject::Connection before_wait_;
};

/// The primary screen's size in twips (a screen of 1920 x 1080 pixels at 96 dots per
/// inch when there is none).
class QtWindowMetrics : public WindowMetrics {
 public:
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  ScreenArea AvailableArea() const override;
  double TwipsPerPixelX() const override;
  double TwipsPerPixelY() const override;
};

/// Qt's dialogs: QMessageBox, QFileDialog, QPrintDialog and QFontDialog, and the printer
/// set-up dialog of our own (PrinterSetupDialog). Each opens over the window the user is
/// in (the parent window when none is active) and gives the focus back to the control
/// that had it when it closes.
class QtDialogs : public Dialogs {
 public:
  /// `printer` is the printer the program prints to; the print dialogs change it.
  explicit QtDialogs(QPrinter& printer) : printer_(printer) {}

  /// The window the dialogs are centred on when no window of the program is active
  /// (may be null).
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer Message(const MessageRequest& request) override;
  std::optional<std::string> File(const FileRequest& request) override;
  /// Qt's own file dialog (not the desktop's, which takes no check box) with the box
  /// under the file list; choosing a file type makes its extension the one added to a
  /// name typed without one.
  std::optional<SaveChoice> SaveWithCheckBox(const FileRequest& request, const std::string& check_box,
                                             bool checked) override;
  std::optional<PrintChoice> Printer(int flags) override;
  std::optional<FontSpec> ChooseFont(const FontSpec& initial, int flags) override;

 private:
  QPrinter& printer_;
  QPointer<QWidget> parent_;
};

/// The whole sheet of the printer's paper, as it lies (a landscape sheet is wider).
PaperSize PaperOf(const QPrinter& printer);
/// The paper of a locale: Letter where US measures are used, A4 elsewhere.
PaperSize PaperOfLocale(const QLocale& locale);

/// "All Files (*.*)|*.*|Puzzle Files (*.kvp)|*.kvp" as Qt name filters
/// ("All Files (*)", "Puzzle Files (*.kvp)").
QStringList ToQtNameFilters(const std::string& filter);

}  // namespace kivrel
