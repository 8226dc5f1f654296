#pragma once
// A whole program context for core tests: scripted dialogs, a recording puzzle picture,
// a pump that counts yields (and can act on them), a counting beeper and a fixed screen.
#include <functional>

#include "RecordingSurface.h"
#include "ScriptedDialogs.h"
#include "platform/NullPlatform.h"
#include "program/AppContext.h"

namespace kivrel::testing {

class CountingPump : public EventPump {
 public:
  void Yield() override {
    ++yields;
    if (!on_yield) return;
    RunBeforeEvents();  // the scripted events see what a window would show
    on_yield();
  }
  int yields = 0;
  std::function<void()> on_yield;
};

struct TestApp {
  ScriptedDialogs dialogs;
  CountingPump pump;
  NullBeeper beeper;
  FixedWindowMetrics metrics;
  RecordingSurface picture{15 * 240, 15 * 240};
  AppContext ctx{dialogs, pump, beeper, metrics, picture};

  /// Adds entries to the list (as a reader would) and updates the count.
  void AddEntries(std::initializer_list<const char*> entries);
};

}  // namespace kivrel::testing
