#pragma once
// Pages drawn into the bytes of a file instead of onto a printer: a PDF of one or more
// pages, a PNG image or an SVG drawing of one. Which pages, their files and saving them
// are the program's (print/PageFiles.h); the device only draws. The programs draw with
// Qt (qt/QtPageFileDevice.h); tests with a recording device.
#include <string>

#include "platform/Paper.h"
#include "platform/Surface.h"

namespace kivrel {

enum class PageFormat { Pdf, Png, Svg };

class PageFileDevice {
 public:
  virtual ~PageFileDevice() = default;

  /// Starts a document titled `title` and returns the surface of its first page: a
  /// sheet of `paper` in twips from its top-left corner, every page surface measuring
  /// text alike. Null when the document cannot be drawn.
  virtual Surface* BeginDocument(PageFormat format, const std::string& title, const PaperSize& paper) = 0;

  /// Starts the next page of the document on the same surface (a PDF; PNG and SVG hold
  /// one page).
  virtual void NewPage() = 0;

  /// Ends the document and returns the file's bytes; empty when they could not be
  /// made. The page surface is gone afterwards.
  virtual std::string EndDocument() = 0;
};

}  // namespace kivrel
