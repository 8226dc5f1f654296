#pragma once
// The small platform services: yielding to the window system during long work, the
// alert sound, and the size of the screen.
#include <functional>

namespace kivrel {

/// Lets the window system run pending events (repaints, a press of Cancel) before the
/// caller goes on.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void Yield() = 0;
  /// Yields `times` times in a row (work that passes over several steps at once),
  /// stopping early once `stop` says so after events ran. A pump may let events run at
  /// most once for them.
  virtual void Yield(int times, const std::function<bool()>& stop) {
    for (; times > 0 && !stop(); --times) Yield();
  }
  /// How many yields work may pass on together, as one Yield(times, stop): a pump that
  /// looks at the clock only every so many yields lets events run at most that much
  /// later. One: every yield counts on its own.
  virtual int YieldsAtOnce() const { return 1; }
  /// Long work is starting: a pump that lets events run at intervals counts the first
  /// interval from now, so work shorter than one interval never stops for a repaint.
  virtual void WorkStarts() {}
  /// False for a pump that never lets events run (a program without a display): long
  /// work need not call it.
  virtual bool RunsEvents() const { return true; }

  /// Brings what the windows show up to date; a pump calls it just before it lets
  /// pending events run (and only then), so work whose figures nobody can see yet is not
  /// shown after every step. Set by long work for its duration.
  std::function<void()> BeforeEvents;

 protected:
  void RunBeforeEvents() {
    if (BeforeEvents) BeforeEvents();
  }
};

/// The standard alert sound.
class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

/// A part of the screen, in twips.
struct ScreenArea {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

/// Facts about the screen, in twips.
class WindowMetrics {
 public:
  virtual ~WindowMetrics() = default;
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  /// Where windows may go: the screen without the desktop's panels and docks.
  virtual ScreenArea AvailableArea() const { return {0, 0, ScreenWidth(), ScreenHeight()}; }
  /// Twips per pixel of the screen (15 at 96 dots per inch).
  virtual double TwipsPerPixelX() const = 0;
  virtual double TwipsPerPixelY() const = 0;
};

}  // namespace kivrel
