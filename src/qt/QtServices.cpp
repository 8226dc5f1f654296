#include "qt/QtServices.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFontDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <cmath>
#include <xcb/xcb.h>

#include "qt/QtPrinterSetup.h"
#include "qt/QtSurface.h"

namespace kivrel {

QtEventPump::QtEventPump(int interval_ms) : interval_ms_(interval_ms) { clock_.start(); }

void QtEventPump::Yield() {
  if (++calls_ % kCallsPerClockRead != 0) return;
  RunEventsIfDue();
}

void QtEventPump::Yield(int times, const std::function<bool()>& stop) {
  if (times <= 0) return;
  const unsigned before = calls_;
  calls_ += static_cast<unsigned>(times);
  // The clock is read when the count passes a multiple of kCallsPerClockRead, as it
  // would be one yield at a time.
  if (calls_ / kCallsPerClockRead == before / kCallsPerClockRead || stop()) return;
  RunEventsIfDue();
}

void QtEventPump::WorkStarts() {
  calls_ = 0;
  clock_.restart();
}

void QtEventPump::RunEventsIfDue() {
  if (clock_.elapsed() < interval_ms_) return;
  RunBeforeEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  clock_.restart();
}

QtBeeper::QtBeeper() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  auto* dispatcher = QAbstractEventDispatcher::instance();
  if (!x11 || !x11->connection() || !dispatcher) return;
  x_ = x11->connection();
  // Whatever else happens, the bell is sent before the program waits for events.
  before_wait_ = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] {
    if (!bell_waiting_) return;
    bell_waiting_ = false;
    xcb_flush(x_);  // nothing to do when a repaint has sent it
  });
}

QtBeeper::~QtBeeper() { QObject::disconnect(before_wait_); }

void QtBeeper::Beep() {
  if (!x_) return QApplication::beep();
  xcb_bell(x_, 0);
  bell_waiting_ = true;
}

namespace {
constexpr int kFallbackWidth = 1920;
constexpr int kFallbackHeight = 1080;

const QScreen* Screen() { return QGuiApplication::primaryScreen(); }

double DotsPerInch(bool horizontal) {
  const QScreen* screen = Screen();
  if (!screen) return 96.0;
  double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
  return dpi > 0 ? dpi : 96.0;
}
}  // namespace

double QtWindowMetrics::TwipsPerPixelX() const { return 1440.0 / DotsPerInch(true); }
double QtWindowMetrics::TwipsPerPixelY() const { return 1440.0 / DotsPerInch(false); }

int QtWindowMetrics::ScreenWidth() const {
  const QScreen* screen = Screen();
  int pixels = screen ? screen->geometry().width() : kFallbackWidth;
  return static_cast<int>(std::lround(pixels * TwipsPerPixelX()));
}

int QtWindowMetrics::ScreenHeight() const {
  const QScreen* screen = Screen();
  int pixels = screen ? screen->geometry().height() : kFallbackHeight;
  return static_cast<int>(std::lround(pixels * TwipsPerPixelY()));
}

ScreenArea QtWindowMetrics::AvailableArea() const {
  const QScreen* screen = Screen();
  if (!screen) return WindowMetrics::AvailableArea();
  const QRect area = screen->availableGeometry();
  auto x = [this](int pixels) { return static_cast<int>(std::lround(pixels * TwipsPerPixelX())); };
  auto y = [this](int pixels) { return static_cast<int>(std::lround(pixels * TwipsPerPixelY())); };
  return {x(area.x()), y(area.y()), x(area.width()), y(area.height())};
}

namespace {

// A dialog belongs to the window the user was in, and when it closes the focus goes
// back to the window and the control that had it, so the next key reaches them.
class FocusReturn {
 public:
  explicit FocusReturn(QWidget* fallback) : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {
    if (!window_ || !window_->isVisible()) window_ = fallback;
  }
  ~FocusReturn() {
    if (!window_ || !window_->isVisible()) return;
    window_->activateWindow();
    if (focus_ && focus_->window() == window_ && focus_->isVisible() && focus_->isEnabled()) {
      focus_->setFocus(Qt::OtherFocusReason);
    }
  }
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;
  /// The window a dialog opens over.
  QWidget* Parent() const { return window_; }

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

}  // namespace

MessageAnswer QtDialogs::Message(const MessageRequest& request) {
  FocusReturn focus(parent_);
  QMessageBox box(focus.Parent());
  box.setWindowTitle(QString::fromStdString(request.Title));
  box.setText(QString::fromStdString(request.Text));
  switch (request.Icon) {
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
  switch (request.Buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:
      return request.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  }
}

QStringList ToQtNameFilters(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    if (patterns.trimmed() == "*.*") patterns = "*";
    // The description names its patterns already; Qt reads the patterns in brackets.
    qsizetype bracket = description.lastIndexOf('(');
    if (bracket >= 0) description = description.left(bracket).trimmed();
    filters << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  return filters;
}

namespace {

// Icons and type names from the kind of entry and its name alone. Qt's own provider
// reads a file to learn its type, and reading some special files (/proc/kmsg) waits for
// ever: the dialog, and the program with it, would hang in such a folder. The icons are
// the desktop theme's, or the style's where there is no theme.
class NamesOnlyIconProvider : public QFileIconProvider {
 public:
  NamesOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }
  using QFileIconProvider::icon;  // by kind of entry: the theme's or the style's
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("Folder");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
  }
};

// The provider comes first and goes last: the dialog's file model uses it until the
// model is gone.
struct IconsFirst {
  NamesOnlyIconProvider icons;
};

// A file dialog over `parent` that starts in the request's folder (else the current
// one) and never looks into the files it lists. The provider is in place before the
// first entries of the folder reach the dialog.
class FileDialog : private IconsFirst, public QFileDialog {
 public:
  FileDialog(QWidget* parent, const FileRequest& request)
      : QFileDialog(parent, QString::fromStdString(request.DialogTitle),
                    request.Folder.empty() ? QDir::currentPath() : QString::fromStdString(request.Folder)) {
    setIconProvider(&icons);
    setOption(QFileDialog::DontUseCustomDirectoryIcons, true);
  }
};

// The dialog set up as the request asks.
QStringList Prepare(QFileDialog& dialog, const FileRequest& request) {
  QStringList filters = ToQtNameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  }
  if (!request.DefaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.DefaultExt).toLower());
  if (request.Action == FileRequest::Kind::SaveAs) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.Flags & kFileOverwritePrompt) == 0);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!request.FileName.empty()) dialog.selectFile(QString::fromStdString(request.FileName));
  return filters;
}

}  // namespace

std::optional<std::string> QtDialogs::File(const FileRequest& request) {
  FocusReturn focus(parent_);
  FileDialog dialog(focus.Parent(), request);
  Prepare(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<SaveChoice> QtDialogs::SaveWithCheckBox(const FileRequest& request, const std::string& check_box,
                                                      bool checked) {
  FocusReturn focus(parent_);
  FileDialog dialog(focus.Parent(), request);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  const QStringList filters = Prepare(dialog, request);
  auto* box = new QCheckBox(QString::fromStdString(check_box), &dialog);
  box->setObjectName(QStringLiteral("chkFileDialogOption"));
  box->setChecked(checked);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
  } else {
    dialog.layout()->addWidget(box);
  }
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    // "PNG Image (*.png)" -> "png"
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    if (match.hasMatch()) dialog.setDefaultSuffix(match.captured(1).toLower());
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
  return SaveChoice{dialog.selectedFiles().first().toStdString(), index >= 0 ? static_cast<int>(index) + 1 : 1,
                    box->isChecked()};
}

PaperSize PaperOf(const QPrinter& printer) {
  const QSizeF points = printer.pageLayout().fullRectPoints().size();
  return {static_cast<int>(std::lround(points.width() * 20)), static_cast<int>(std::lround(points.height() * 20))};
}

PaperSize PaperOfLocale(const QLocale& locale) {
  return locale.measurementSystem() == QLocale::ImperialUSSystem ? kLetterPaper : kA4Paper;
}

std::optional<PrintChoice> QtDialogs::Printer(int flags) {
  FocusReturn focus(parent_);
  if (flags & kPrintSetupFlag) {
    PrinterSetupDialog dialog(printer_, focus.Parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PrintChoice{1, PaperOf(printer_)};
  }
  QPrintDialog dialog(&printer_, focus.Parent());
  // One page, each copy a job of its own: no file, no selection, no collating, and no
  // page range. Qt's dialog shows its range box whatever its options say, so the box
  // is moved into a hidden holder.
  dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  if (auto* range = dialog.findChild<QWidget*>(QStringLiteral("gbPrintRange"))) {
    auto* holder = new QWidget(&dialog);
    holder->hide();
    range->setParent(holder);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // Each copy is its own job, so the copies are taken from the printer and the printer
  // itself is set to print one.
  int copies = std::max(1, printer_.copyCount());
  printer_.setCopyCount(1);
  return PrintChoice{copies, PaperOf(printer_)};
}

std::optional<FontSpec> QtDialogs::ChooseFont(const FontSpec& initial, int) {
  FocusReturn focus(parent_);
  bool accepted = false;
  QFont start = MakeFont(initial.Name, initial.Size, initial.Bold, initial.Italic);
  QFont chosen =
      QFontDialog::getFont(&accepted, start, focus.Parent(), QStringLiteral("Font"), QFontDialog::ScalableFonts);
  if (!accepted) return std::nullopt;
  return FontSpec{chosen.family().toStdString(), chosen.pointSizeF(), chosen.bold(), chosen.italic()};
}

}  // namespace kivrel
