// The main of the Qt test suite: a QApplication on the offscreen platform (unless the
// environment picks another), in the United States' locale whatever the machine's (the
// window lays pages out on its locale's paper: Letter there), then every GoogleTest test.
// Qt keeps its file dialogs' last folder and history in the user's configuration
// folder; the tests, and the programs they start, get one of their own for each run,
// so that no run starts where another left a dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
