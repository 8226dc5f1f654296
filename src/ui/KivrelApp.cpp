#include "ui/KivrelApp.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "model/StartUp.h"
#include "ui/FormBinder.h"

namespace kivrel {

KivrelApp::KivrelApp() {
  main_window_ = std::make_unique<QMainWindow>();
  main_window_->setObjectName(QString::fromLatin1(kMainForm.data(), kMainForm.size()));
  main_window_->setWindowTitle(QStringLiteral("Kivrel Puzzle Maker - (untitled)"));
  auto* picture = new QLabel(main_window_.get());
  picture->setObjectName(QStringLiteral("picPuzzle"));
  main_window_->setCentralWidget(picture);
  main_window_->resize(510, 372);  // the design client area of 7650 x 5580 twips
  main_binder_ = new FormBinder(main_window_.get(), ctx_.MainForm(), metrics_.TwipsPerPixelX());
  dialogs_.SetParent(main_window_.get());
  ctx_.MainForm().Subscribe([](std::string_view control, Property property) {
    if (control.empty() && property == Property::Unload) QApplication::quit();
  });
}

KivrelApp::~KivrelApp() = default;

void KivrelApp::Start(std::optional<std::uint64_t> seed) { StartUp(ctx_, seed); }

int RunKivrel(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kivrel"));
  QApplication::setApplicationVersion(QStringLiteral(KIVREL_VERSION));
  KivrelApp kivrel;
  kivrel.Start();
  return QApplication::exec();
}

}  // namespace kivrel
