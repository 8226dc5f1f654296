#pragma once
// The printer the program prints to: one print job at a time, each with one page drawn
// on a Surface. The GUI prints through Qt's printer (the one the print dialogs choose);
// tests print through a recording device or a real print server.
#include <string>

#include "platform/Surface.h"

namespace kivrel {

class PrinterDevice {
 public:
  virtual ~PrinterDevice() = default;

  /// Starts a print job named `name` and returns the surface of its page: twips over
  /// the printable area of the paper, measured from its top-left corner. Returns null
  /// with `error` set (a short sentence for the user) when the job cannot start.
  virtual Surface* BeginDocument(const std::string& name, std::string& error) = 0;

  /// Ends the page and the job, which goes to the printer or its spooler; no blank page
  /// is added. Returns false with `error` set when the job failed. The page surface is
  /// gone afterwards.
  virtual bool EndDocument(std::string& error) = 0;
};

}  // namespace kivrel
