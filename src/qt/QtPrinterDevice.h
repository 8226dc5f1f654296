#pragma once
// The printer device over Qt's QPrinter: the printer and paper the print dialogs chose.
// Each document is one job; on Linux Qt hands it to the CUPS server (CUPS_SERVER picks
// another server than the system's).
#include <memory>

#include "platform/PrinterDevice.h"

class QPrinter;

namespace kivrel {

class QtSurface;

class QtPrinterDevice : public PrinterDevice {
 public:
  /// The printer must outlive the device.
  explicit QtPrinterDevice(QPrinter& printer);
  ~QtPrinterDevice() override;

  Surface* BeginDocument(const std::string& name, std::string& error) override;
  bool EndDocument(std::string& error) override;

 private:
  QPrinter& printer_;
  std::unique_ptr<QtSurface> page_;
};

}  // namespace kivrel
