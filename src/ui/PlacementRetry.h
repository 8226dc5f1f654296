#pragma once
// Keeps a window where the program asked for it. A busy window manager may apply the
// resize that follows a move at the window's old place and drop the move: a window
// grown for a larger puzzle then reaches past the screen. The window system's next
// report says so, and the place is asked for once more.
#include <QElapsedTimer>
#include <QPoint>
#include <QSize>

class QWidget;

namespace kivrel {

class PlacementRetry {
 public:
  explicit PlacementRetry(QWidget* window) : window_(window) {}

  /// The program has just moved the window to `place` (its frame's top-left corner) at
  /// the outer size `size`, in pixels.
  void Asked(QPoint place, QSize size);
  /// The window system reports a move or a resize: when the window has the size asked
  /// for somewhere else, soon after the request, it is moved there once more.
  void Reported();

 private:
  // Reports later than this are the window manager's or the user's own doing.
  static constexpr qint64 kAskedPlaceMs = 2000;
  QWidget* window_;
  QPoint place_;
  QSize size_;
  QElapsedTimer asked_at_;
  bool asked_again_ = false;
};

}  // namespace kivrel
