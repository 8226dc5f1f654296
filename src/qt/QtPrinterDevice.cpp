#include "qt/QtPrinterDevice.h"

#include <QPrinter>

#include "qt/QtSurface.h"

namespace kivrel {

namespace {
std::string PrinterName(const QPrinter& printer) {
  if (printer.printerName().isEmpty()) return "the printer";
  return "the printer \"" + printer.printerName().toStdString() + "\"";
}
}  // namespace

QtPrinterDevice::QtPrinterDevice(QPrinter& printer) : printer_(printer) {}

QtPrinterDevice::~QtPrinterDevice() = default;

Surface* QtPrinterDevice::BeginDocument(const std::string& name, std::string& error) {
  page_.reset();
  if (!printer_.isValid()) {
    error = "no printer is available";
    return nullptr;
  }
  printer_.setDocName(QString::fromStdString(name));
  page_ = std::make_unique<QtSurface>(&printer_);
  if (!page_->IsActive()) {
    page_.reset();
    error = PrinterName(printer_) + " could not start the print job";
    return nullptr;
  }
  page_->MeasureAsPaper();  // laid out as the preview and the page files are
  return page_.get();
}

bool QtPrinterDevice::EndDocument(std::string& error) {
  if (!page_) {
    error = "no print job was started";
    return false;
  }
  page_->End();  // the job goes to the spooler here
  page_.reset();
  if (printer_.printerState() == QPrinter::Error || printer_.printerState() == QPrinter::Aborted) {
    error = PrinterName(printer_) + " could not print the page";
    return false;
  }
  return true;
}

}  // namespace kivrel
