#pragma once
// The program harness for core tests: a whole program context (scripted dialogs, a
// recording puzzle picture, a pump that counts yields and can act on them, a counting
// beeper and a fixed screen).
#include <functional>
#include <string>
#include <vector>

#include "RecordingSurface.h"
#include "ScriptedDialogs.h"
#include "platform/NullPlatform.h"
#include "program/AppContext.h"
#include "program/StartUp.h"
#include "program/WordTable.h"

namespace kivrel::testing {

class CountingPump : public EventPump {
 public:
  void Yield() override {
    ++yields;
    if (!on_yield) return;
    RunBeforeEvents();  // the scripted events see what a window would show
    on_yield();
  }
  // With at_once above 1 the pump takes yields in batches, as a window's does, and counts them.
  void Yield(int times, const std::function<bool()>& stop) override {
    if (at_once == 1) return EventPump::Yield(times, stop);
    yields += times;
  }
  int YieldsAtOnce() const override { return at_once; }
  int yields = 0;
  int at_once = 1;
  std::function<void()> on_yield;
};

struct TestApp {
  ScriptedDialogs dialogs;
  CountingPump pump;
  NullBeeper beeper;
  FixedWindowMetrics metrics;
  RecordingSurface picture{15 * 240, 15 * 240};
  AppContext ctx{dialogs, pump, beeper, metrics, picture};

  /// After start-up (seeded): the words in the list as they are, a puzzle size, the
  /// default build options and the sound mark on.
  void SetUpPuzzle(const std::vector<std::string>& words, int width, int height, std::uint64_t seed) {
    StartUp(ctx, seed);
    for (const std::string& word : words) ctx.list.AddItem(word);
    ctx.state.WordCount = static_cast<i16>(ctx.list.ListCount());
    ctx.state.PuzzleWidth = i16(width);
    ctx.state.PuzzleHeight = i16(height);
    ctx.state.SetDefaultBuildOptions();
    ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, true);
  }
  /// Adds entries to the list (as a reader would) and updates the count.
  void AddEntries(std::initializer_list<const char*> entries) {
    for (const char* entry : entries) AddEntry(ctx, entry);
    UpdateWordCount(ctx);
  }
};

}  // namespace kivrel::testing
