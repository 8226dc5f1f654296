#pragma once
// The widgets of the main window frmKV_Puzzle and of the About box frmAbout, with their
// design values: captions, fonts, geometry in twips, and the state of each command
// when the window is made. What they do is the core's MainWindow.
#include <QDialog>
#include <QMainWindow>
#include <memory>

#include "ui/Design.h"

namespace kivrel {

class MainWindow;
class QtImageSurface;

/// The main window: the row of buttons, the puzzle picture (showing `picture`), the
/// statistics frame and the menus, whose example lists are those of `main`.
std::unique_ptr<QMainWindow> MakeMainWindowWidgets(const Design& design, QtImageSurface& picture, MainWindow& main);

/// The About box.
QDialog* MakeAboutBox(const Design& design, QWidget* parent);

}  // namespace kivrel
