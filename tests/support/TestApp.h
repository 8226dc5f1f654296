#pragma once
// The program harness for core tests: a whole program context (scripted dialogs, a
// recording puzzle picture, a pump that counts yields and can act on them, a counting
// beeper and a fixed screen), and what a test may add to it: the main window's geometry
// as a window system keeps it.
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

  /// After start-up (seeded): the words in the list as they are, a puzzle size, the
  /// default build options and the sound mark on.
  void SetUpPuzzle(const std::vector<std::string>& words, int width, int height, std::uint64_t seed) {
    StartUp(ctx, seed);
    for (const std::string& word : words) ctx.list.AddItem(word);
    ctx.state.WordCount = static_cast<i16>(ctx.list.ListCount());
    std::tie(ctx.state.PuzzleWidth, ctx.state.PuzzleHeight) = std::make_pair(i16(width), i16(height));
    ctx.state.SetDefaultBuildOptions();
    ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, true);
  }
  /// Adds entries to the list (as a reader would) and updates the count.
  void AddEntries(std::initializer_list<const char*> entries) {
    for (const char* entry : entries) AddEntry(ctx, entry);
    UpdateWordCount(ctx);
  }
};

/// The main window as the window system would keep it: its design geometry in twips
/// (client area 7650 x 5580, a 60-twip border and 600 twips of title bar and menu), and
/// a resize event raised before a size setter returns, as the real window system does.
struct FakeMainWindow {
  explicit FakeMainWindow(AppContext& ctx) : form(ctx.MainForm()) {
    form.UpdateGeometry({0, 0, 7650 + 120, 5580 + 120 + 600, 7650, 5580});
    form.Define(frmKV_Puzzle::picPuzzle, [](ControlState& c) { c.Bounds = {45, 495, 0, 0}; });
    form.Define(frmKV_Puzzle::fraStats, [](ControlState& c) { c.Bounds = {5205, 495, 2220, 5055}; });
    form.Define(frmKV_Puzzle::cmdExit, [](ControlState& c) { c.Bounds = {6900, 0, 690, 465}; });
    subscription = form.Subscribe([this](Control control, Property property) {
      if (!control.IsWindow() || property != Property::FormBounds || form.Geometry() == last) return;
      last = form.Geometry();
      form.Raise({}, Event::Resize);
    });
    last = form.Geometry();
  }
  ~FakeMainWindow() { form.Unsubscribe(subscription); }
  FakeMainWindow(const FakeMainWindow&) = delete;
  FakeMainWindow& operator=(const FakeMainWindow&) = delete;

  Form& form;
  int subscription = 0;
  FormGeometry last;
};

}  // namespace kivrel::testing
