#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <cmath>

#include "platform/qt/QtSurface.h"

namespace kivrel {

QtEventPump::QtEventPump(int interval_ms) : interval_ms_(interval_ms) { clock_.start(); }

void QtEventPump::Yield() {
  if (++calls_ % kCallsPerClockRead != 0) return;
  if (clock_.elapsed() < interval_ms_) return;
  RunBeforeEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  clock_.restart();
}

void QtBeeper::Beep() { QApplication::beep(); }

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

MessageAnswer QtDialogs::Message(const MessageRequest& request) {
  QMessageBox box(parent_);
  box.setWindowTitle(QString::fromStdString(request.Title));
  box.setText(QString::fromStdString(request.Text));
  switch (request.Icon) {
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
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
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: return request.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
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

std::optional<std::string> QtDialogs::File(const FileRequest& request) {
  QFileDialog dialog(parent_, QString::fromStdString(request.DialogTitle));
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
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<PrintChoice> QtDialogs::Printer(int flags) {
  if (flags & kPrintSetupFlag) {
    QPageSetupDialog dialog(&printer_, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PrintChoice{1};
  }
  QPrintDialog dialog(&printer_, parent_);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // Each copy is its own job, so the copies are taken from the printer and the printer
  // itself is set to print one.
  int copies = std::max(1, printer_.copyCount());
  printer_.setCopyCount(1);
  return PrintChoice{copies};
}

std::optional<FontSpec> QtDialogs::ChooseFont(const FontSpec& initial, int) {
  bool accepted = false;
  QFont start = MakeFont(initial.Name, initial.Size, initial.Bold, initial.Italic);
  QFont chosen = QFontDialog::getFont(&accepted, start, parent_, QStringLiteral("Font"),
                                      QFontDialog::ScalableFonts);
  if (!accepted) return std::nullopt;
  return FontSpec{chosen.family().toStdString(), chosen.pointSizeF(), chosen.bold(), chosen.italic()};
}

}  // namespace kivrel
