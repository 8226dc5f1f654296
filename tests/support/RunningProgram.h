#pragma once
// The whole GUI program started in-process, with its dialogs answered from a script (or
// Qt's own, answered on the screen), and helpers to find its widgets by objectName and to read
// the puzzle picture's pixels.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
#include "program/AppContext.h"
#include "program/CommandStates.h"
#include "ui/KivrelApp.h"

namespace kivrel::testing {

/// Reads a word list file into the program as opening it would: the list, its
/// attributes, ListReady.
inline void OpenList(AppContext& ctx, const std::string& path) {
  auto parsed = ParseWordList(TempDir::Read(path));
  ASSERT_TRUE(parsed) << path << ": " << parsed.Error().Reason;
  std::string error;
  ASSERT_TRUE(LoadWordList(ctx, *parsed, &error)) << error;
  SetListReadyState(ctx);
}

/// Pixels of the image inside the rectangle for which the test holds.
inline int CountWhere(const QImage& image, QRect area, const std::function<bool(QRgb)>& test) {
  int count = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
  }
  return count;
}

struct RunningProgram {
  ScriptedDialogs dialogs;
  KivrelApp app;

  /// With `qt_dialogs` the program shows Qt's own dialogs and message boxes, which a
  /// test answers on the screen; else the script answers them.
  explicit RunningProgram(std::uint64_t seed = 7, bool qt_dialogs = false) : app(qt_dialogs ? nullptr : &dialogs) {
    app.Start(seed);
    QApplication::processEvents();
  }

  AppContext& ctx() { return app.context(); }

  void OpenList(const std::string& path) { testing::OpenList(ctx(), path); }
  Form& form() { return app.context().MainForm(); }
  QMainWindow* window() { return app.mainWindow(); }
  /// A window of the program by its form, once it has been made.
  QWidget* Window(const kivrel::Window& form) { return app.window(form); }

  /// A control of a window by objectName.
  template <typename T = QWidget>
  static T* In(QWidget* window, std::string_view name) {
    return window ? window->findChild<T*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
                  : nullptr;
  }
  template <typename T = QWidget>
  static T* In(QWidget* window, Control control) {
    return In<T>(window, control.Name());
  }
  template <typename T = QWidget>
  T* Widget(std::string_view name) {
    return In<T>(window(), name);
  }
  QPushButton* Button(std::string_view name) { return Widget<QPushButton>(name); }
  QLabel* Label(std::string_view name) { return Widget<QLabel>(name); }
  QAction* Action(std::string_view name) { return Widget<QAction>(name); }

  /// Clicks an enabled control of a window with the mouse, as the user would (near its
  /// top-left corner, where a check box or an option button has its mark).
  static void ClickIn(QWidget* window, std::string_view name) {
    QWidget* control = In(window, name);
    ASSERT_TRUE(control && control->isEnabled()) << name;
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, 6));
  }
  void Click(std::string_view name) { ClickIn(window(), name); }

  /// The offscreen platform activates no window by itself; a window manager would.
  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
  }

  /// The retained image of the puzzle picture.
  const QImage& Picture() { return app.picture().Image(); }

  /// The pixels of cell (row, col) of the picture.
  QRect CellRect(int row, int col) {
    const double cell = ctx().display.CellSize / app.design().TwipsPerPixel();
    return QRectF((col - 1) * cell, (row - 1) * cell, cell, cell).toAlignedRect().intersected(Picture().rect());
  }

  /// Runs the check on every cell of the puzzle's grid.
  void EachCell(const std::function<void(int row, int col, const CellRecord&)>& check) {
    const LetterGrid& grid = ctx().state.Grid;
    for (int row = 1; row <= grid.Height(); ++row) {
      for (int col = 1; col <= grid.Width(); ++col) check(row, col, grid.At(row, col));
    }
  }

  /// Pixels inside the rectangle for which the test holds.
  int Count(QRect area, const std::function<bool(QRgb)>& test) { return CountWhere(Picture(), area, test); }
};

// Text and lines come out with anti-aliasing: the core of a glyph is black itself, its
// edges blend into the white.
inline bool IsBlack(QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; }

}  // namespace kivrel::testing
