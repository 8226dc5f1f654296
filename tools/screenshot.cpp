// Takes the README's picture of the main window: starts Kivrel in-process, and saves
// the main window (frame excluded) as a PNG.
//
//   kivrel-screenshot OUTPUT.png
#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "ui/KivrelApp.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kivrel-screenshot OUTPUT.png\n");
    return 2;
  }
  QApplication qt(argc, argv);
  kivrel::KivrelApp app;
  app.Start(1);
  QApplication::processEvents();
  QTimer::singleShot(300, [&] {
    QPixmap shot = app.mainWindow()->grab();
    bool saved = shot.save(QString::fromLocal8Bit(argv[1]));
    std::fprintf(stderr, "%s %dx%d\n", saved ? "saved" : "could not save", shot.width(), shot.height());
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
