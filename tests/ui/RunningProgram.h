#pragma once
// The whole GUI program started in-process on the offscreen platform, with its dialogs
// answered from a script, and helpers to find its widgets by objectName and to read
// the puzzle picture's pixels.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "ScriptedDialogs.h"
#include "files/WordListFile.h"
#include "model/AppContext.h"
#include "model/CommandStates.h"
#include "ui/KivrelApp.h"

namespace kivrel::testing {

struct RunningProgram {
  ScriptedDialogs dialogs;
  KivrelApp app{&dialogs};

  explicit RunningProgram(std::uint64_t seed = 7) {
    app.Start(seed);
    QApplication::processEvents();
  }

  AppContext& ctx() { return app.context(); }

  /// Reads a word list file as opening it would: the list, its attributes, ListReady.
  void OpenList(const std::string& path) {
    std::string error;
    auto parsed = ParseWordList(ReadBytes(path), &error);
    ASSERT_TRUE(parsed) << path << ": " << error;
    ASSERT_TRUE(LoadWordList(ctx(), *parsed, &error)) << error;
    SetListReadyState(ctx());
  }

  static std::string ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
  }
  Form& form() { return app.context().MainForm(); }
  QMainWindow* window() { return app.mainWindow(); }

  template <typename T = QWidget>
  T* Widget(const char* name) {
    return window()->findChild<T*>(QString::fromLatin1(name));
  }
  QPushButton* Button(const char* name) { return Widget<QPushButton>(name); }
  QLabel* Label(const char* name) { return Widget<QLabel>(name); }
  QAction* Action(const char* name) { return window()->findChild<QAction*>(QString::fromLatin1(name)); }

  /// Clicks a button with the mouse, as the user would.
  void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }

  /// The retained image of the puzzle picture.
  const QImage& Picture() { return app.picture().Image(); }

  /// The pixels of cell (row, col) of the picture.
  QRect CellRect(int row, int col) {
    const double cell = ctx().display.CellSize / app.design().TwipsPerPixel();
    return QRectF((col - 1) * cell, (row - 1) * cell, cell, cell).toAlignedRect().intersected(Picture().rect());
  }

  /// Pixels inside the rectangle for which the test holds.
  int Count(QRect area, const std::function<bool(QRgb)>& test) {
    const QImage& image = Picture();
    int count = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
  }
};

// Colours as text and lines come out with anti-aliasing: the core of a glyph is the
// colour itself, its edges blend into the white.
inline bool IsBlack(QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; }
inline bool IsRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
inline bool IsGrey(QRgb p) {
  return std::abs(qRed(p) - 127) < 20 && std::abs(qGreen(p) - 127) < 20 && std::abs(qBlue(p) - 127) < 20;
}
inline bool IsInk(QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }

}  // namespace kivrel::testing
