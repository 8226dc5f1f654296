#pragma once
// The main window as the window system would keep it, for core tests: its design
// geometry in twips (client area 7650 x 5580, a 60-twip border and 600 twips of title
// bar and menu), and a resize event raised before a size setter returns, as the real
// window system does.
#include <vector>

#include "program/AppContext.h"

namespace kivrel::testing {

struct FakeMainWindow {
  static constexpr int kBorder = 60;
  static constexpr int kCaptionAndMenu = 600;

  explicit FakeMainWindow(AppContext& ctx) : form(ctx.MainForm()) {
    form.UpdateGeometry({0, 0, 7650 + 2 * kBorder, 5580 + 2 * kBorder + kCaptionAndMenu, 7650, 5580});
    form.Define(frmKV_Puzzle::picPuzzle, [](ControlState& c) { c.Bounds = {45, 495, 0, 0}; });
    form.Define(frmKV_Puzzle::fraStats, [](ControlState& c) { c.Bounds = {5205, 495, 2220, 5055}; });
    form.Define(frmKV_Puzzle::cmdExit, [](ControlState& c) { c.Bounds = {6900, 0, 690, 465}; });
    subscription = form.Subscribe([this](Control control, Property property) {
      if (!control.IsWindow() || property != Property::FormBounds) return;
      geometry_changes.push_back(form.Geometry());
      if (form.Geometry() == last) return;
      last = form.Geometry();
      ++depth;
      max_depth = depth > max_depth ? depth : max_depth;
      form.Raise({}, Event::Resize);
      --depth;
    });
    last = form.Geometry();
  }
  ~FakeMainWindow() { form.Unsubscribe(subscription); }
  FakeMainWindow(const FakeMainWindow&) = delete;
  FakeMainWindow& operator=(const FakeMainWindow&) = delete;

  /// The user drags the window to another outer size.
  void Resize(int width, int height) {
    FormGeometry g = form.Geometry();
    g.ScaleWidth += width - g.Width;
    g.ScaleHeight += height - g.Height;
    g.Width = width;
    g.Height = height;
    form.UpdateGeometry(g);
    last = g;
    form.Raise({}, Event::Resize);
  }

  Form& form;
  int subscription = 0;
  FormGeometry last;
  std::vector<FormGeometry> geometry_changes;
  int depth = 0;
  int max_depth = 0;
};

}  // namespace kivrel::testing
