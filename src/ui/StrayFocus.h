#pragma once

class QObject;

namespace kivrel {

/// Keeps the program's keys with the window that has them on the X server. Qt takes the
/// window manager's copy of a request to activate one of its windows for the focus
/// itself; a request of a busy moment (the word list shown at start-up and closed at
/// once) can come back after its window was hidden, and the keys would then go to the
/// hidden window, lost until a click. When Qt's focus lands on a hidden window, Qt is
/// told the window that has the server's focus. Nothing off X, where this cannot happen.
/// Lasts as long as `owner`.
void KeepKeysOffHiddenWindows(QObject* owner);

}  // namespace kivrel
