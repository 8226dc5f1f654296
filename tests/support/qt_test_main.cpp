// The main of the Qt test suite: a QApplication on the offscreen platform (unless the
// environment picks another), in the United States' locale whatever the machine's (the
// window lays pages out on its locale's paper: Letter there), then every GoogleTest test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
