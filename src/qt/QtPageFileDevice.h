#pragma once
// Page files drawn with Qt: a PDF at the resolution of Qt's printers, a PNG at 300 dots
// per inch, an SVG drawing, each on the paper asked for and made in memory. Text is
// measured as on paper on every one, so all lay a page out alike.
#include <QByteArray>
#include <memory>

#include "platform/PageFileDevice.h"

class QBuffer;
class QGuiApplication;
class QPdfWriter;
class QSvgGenerator;

namespace kivrel {

class QtImageSurface;
class QtSurface;

class QtPageFileDevice : public PageFileDevice {
 public:
  QtPageFileDevice();
  ~QtPageFileDevice() override;
  QtPageFileDevice(const QtPageFileDevice&) = delete;
  QtPageFileDevice& operator=(const QtPageFileDevice&) = delete;

  /// Qt draws text only with an application object: when none runs, the first document
  /// makes one, on the offscreen platform unless a platform is chosen, which lives as
  /// long as the device.
  Surface* BeginDocument(PageFormat format, const std::string& title, const PaperSize& paper) override;
  void NewPage() override;
  std::string EndDocument() override;

 private:
  void Reset();

  std::unique_ptr<QGuiApplication> application_;
  PageFormat format_ = PageFormat::Pdf;
  QByteArray bytes_;
  std::unique_ptr<QBuffer> buffer_;
  std::unique_ptr<QPdfWriter> pdf_;
  std::unique_ptr<QSvgGenerator> svg_;
  std::unique_ptr<QtSurface> page_;
  QtImageSurface* image_ = nullptr;  // page_, for a PNG
};

}  // namespace kivrel
