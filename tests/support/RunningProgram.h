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

  /// Reads a word list file into the program as opening it would: the list, its
  /// attributes, ListReady.
  void OpenList(const std::string& path) {
    auto parsed = ParseWordList(TempDir::Read(path));
    ASSERT_TRUE(parsed) << path << ": " << parsed.Error().Reason;
    std::string error;
    ASSERT_TRUE(LoadWordList(ctx(), *parsed, &error)) << error;
    SetListReadyState(ctx());
  }
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
  QPushButton* Button(std::string_view name) { return In<QPushButton>(window(), name); }
  QAction* Action(std::string_view name) { return In<QAction>(window(), name); }

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
};

}  // namespace kivrel::testing
