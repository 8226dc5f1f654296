// Takes the README's pictures of the windows: starts Kivrel in-process, reads a word
// list, builds it with a fixed seed, outlines the words, opens the window asked for and
// saves what the screen shows of it as a PNG. Run it under a real display (for example
// `xvfb-run -a`).
//
//   kivrel-screenshot LIST.kvl OUTPUT.png [SEED] [WINDOW]
//
// WINDOW is the form to picture: frmKV_Puzzle (the default), frmWordList,
// frmAttributes, frmPrintOptions or frmPrintPreview.
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/WordListCommands.h"
#include "controls/Windows.h"
#include "files/WordListFile.h"
#include "program/CommandStates.h"
#include "ui/KivrelApp.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: kivrel-screenshot LIST.kvl OUTPUT.png [SEED] [WINDOW]\n");
    return 2;
  }
  QApplication qt(argc, argv);
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "kivrel-screenshot: cannot read %s\n", argv[1]);
    return 2;
  }
  const kivrel::Window* shown = argc == 5 ? kivrel::FindWindow(argv[4]) : &kivrel::frmKV_Puzzle::kWindow;
  if (!shown) {
    std::fprintf(stderr, "kivrel-screenshot: no window %s\n", argv[4]);
    return 2;
  }
  kivrel::KivrelApp app;
  app.Start(argc >= 4 ? std::strtoull(argv[3], nullptr, 10) : 1);
  kivrel::AppContext& ctx = app.context();
  ctx.state.WordListFileName = argv[1];
  const auto parsed = kivrel::ParseWordList(file.readAll().toStdString());
  std::string error = parsed ? "" : parsed.Error().Reason;
  if (!parsed || !kivrel::LoadWordList(ctx, *parsed, &error)) {
    std::fprintf(stderr, "kivrel-screenshot: %s: %s\n", argv[1], error.c_str());
    return 2;
  }
  kivrel::SetListReadyState(ctx);
  kivrel::Form& main = ctx.MainForm();
  main.Raise(kivrel::frmKV_Puzzle::cmdBuild, kivrel::Event::Click);
  main.Raise(kivrel::frmKV_Puzzle::cmdOutlineWords, kivrel::Event::Click);
  if (shown != &kivrel::frmKV_Puzzle::kWindow) {
    // Shown modeless, so that the picture can be taken while it is open. The preview
    // shows the page the print options dialog lays out, with the blanks filled as a
    // printed copy has them.
    if (shown == &kivrel::frmPrintOptions::kWindow || shown == &kivrel::frmPrintPreview::kWindow) {
      main.Raise(kivrel::frmKV_Puzzle::cmdFillinBlanks, kivrel::Event::Click);
      ctx.forms.Get(kivrel::frmPrintOptions::kWindow).Show(false);
    }
    ctx.forms.Get(*shown).Show(false);
    if (!app.window(*shown)) {
      std::fprintf(stderr, "kivrel-screenshot: no window %s\n", argv[4]);
      return 2;
    }
  }

  QTimer::singleShot(500, [&] {
    QWidget* window = app.window(*shown);
    QPixmap shot = window->screen()->grabWindow(window->winId());
    bool saved = shot.save(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "%s %s (%dx%d)\n", saved ? "saved" : "could not save", argv[2], shot.width(), shot.height());
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
