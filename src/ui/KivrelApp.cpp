#include "ui/KivrelApp.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

#include "display/GridDisplay.h"
#include "program/StartUp.h"
#include "ui/FormBinder.h"
#include "ui/MainWindowWidgets.h"
#include "ui/PrintWindowWidgets.h"
#include "ui/WordListWidgets.h"

namespace kivrel {

namespace {
// The device pixel ratio the pictures start at; each follows its own screen once shown.
double ScreenPixelRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->devicePixelRatio() : 1.0;
}
}  // namespace

KivrelApp::KivrelApp(Dialogs* dialogs)
    : picture_(1, 1, 1440.0 / metrics_.TwipsPerPixelX(), ScreenPixelRatio()),
      preview_(kPageWidthTwips, kPageHeightTwips, 1440.0 / metrics_.TwipsPerPixelX(), ScreenPixelRatio()),
      ctx_(dialogs ? *dialogs : qt_dialogs_, pump_, beeper_, metrics_, picture_),
      main_(ctx_),
      word_list_(ctx_),
      attributes_(ctx_),
      print_preview_(ctx_),
      print_options_(ctx_) {
  ctx_.SizePuzzleDisplay = [this] { SizePuzzleDisplay(ctx_); };
  // Fill letters are taken away by drawing them again in white: that must leave nothing.
  picture_.SetSmoothText(false);
  ctx_.printer = &printer_device_;
  ctx_.preview = &preview_;

  Form& main = ctx_.MainForm();
  // The picture's image follows the size the display gives it. The sizing hides the
  // picture while it tries font sizes: the image takes the size it settles on when the
  // picture shows again.
  main.Subscribe([this](std::string_view control, Property property) {
    if ((property == Property::Bounds || property == Property::Visible) && control == kPicture) {
      Form& form = ctx_.MainForm();
      if (!form.IsVisible(kPicture)) return;
      const Rect& bounds = form.Bounds(kPicture);
      picture_.Resize(bounds.Width, bounds.Height);
    }
  });
  main.Subscribe([](std::string_view control, Property property) {
    if (control.empty() && property == Property::Unload) QApplication::quit();
  });

  main_window_ = MakeMainWindowWidgets(design_, picture_);
  auto* binder = new FormBinder(main_window_.get(), main, design_.TwipsPerPixel());
  binder->SetCancelButton("cmdCancel");
  qt_dialogs_.SetParent(main_window_.get());
  main.Raise({}, Event::Load);

  RegisterWindow(kAboutForm, [](const Design& design, QWidget* parent) { return MakeAboutBox(design, parent); });
  RegisterWindow(
      kWordListForm,
      [this](const Design& design, QWidget* parent) { return MakeWordListWindow(design, parent, ctx_, word_list_); },
      "cmdClose");
  RegisterWindow(
      kAttributesForm, [](const Design& design, QWidget* parent) { return MakeAttributesDialog(design, parent); },
      "cmdCancel");
  RegisterWindow(kPrintOptionsForm, MakePrintOptionsDialog, "cmdCancel");
  RegisterWindow(
      kPrintPreviewForm,
      [this](const Design& design, QWidget* parent) { return MakePrintPreviewWindow(design, parent, preview_); },
      "Close");
}

KivrelApp::~KivrelApp() = default;

void KivrelApp::Start(std::optional<std::uint64_t> seed) { StartUp(ctx_, seed); }

QWidget* KivrelApp::window(std::string_view form) const {
  if (form == kMainForm) return main_window_.get();
  auto it = windows_.find(form);
  return it == windows_.end() ? nullptr : it->second.data();
}

void KivrelApp::RegisterWindow(std::string_view name, WindowMaker make, std::string_view cancel_button) {
  Form& form = ctx_.forms.Get(name);
  form.Subscribe([this, &form, make = std::move(make), cancel = std::string(cancel_button)](std::string_view control,
                                                                                         Property property) {
    if (!control.empty() || (property != Property::Shown && property != Property::Load) || window(form.Name())) return;
    QWidget* widget = make(design_, main_window_.get());
    windows_[form.Name()] = widget;
    auto* binder = new FormBinder(widget, form, design_.TwipsPerPixel());
    if (!cancel.empty()) binder->SetCancelButton(cancel);
    form.Raise({}, Event::Load);
    // This notice reached the form before the binder listened to it.
    if (property == Property::Shown) binder->Present();
  });
}

int RunKivrel(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kivrel"));
  QApplication::setApplicationVersion(QStringLiteral(KIVREL_VERSION));
  KivrelApp kivrel;
  kivrel.Start();
  return QApplication::exec();
}

}  // namespace kivrel
