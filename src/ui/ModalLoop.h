#pragma once
// A window shown modal: the program's call waits, while the user works in the window,
// until the window is closed or hidden. A dialog runs its own loop; any other window
// gets one, with the rest of the program blocked for as long as it runs.
class QEventLoop;
class QWidget;

namespace kivrel {

class ModalLoop {
 public:
  explicit ModalLoop(QWidget* window) : window_(window) {}
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;

  /// Shows the window modal and returns when it is closed or hidden (see Quit).
  void Run();
  /// Ends the loop of a window that is not a dialog (a dialog ends its own).
  void Quit();

 private:
  QWidget* window_;
  QEventLoop* loop_ = nullptr;  // while Run runs one
};

}  // namespace kivrel
