#include "forms/PrintPreview.h"

#include <algorithm>

#include "controls/PrintOptionsControls.h"
#include "forms/WindowPlacement.h"
#include "model/Numbers.h"

namespace kivrel {

using namespace frmPrintPreview;

namespace {

// The range and steps of a bar along which `visible` twips of the page show and
// `hidden` twips are out of view. A step of 0 would make the bar useless.
void SetBarRange(Form& f, Control bar, int hidden, int visible) {
  const int large = Min(Nearest(hidden / 2.0), Nearest(visible / 2.0));
  const int small = Nearest(hidden / 20.0);
  f.SetScroll(bar, 0, hidden, Max(small, 1), Max(large, 1));
  if (f.Value(bar) > hidden) f.SetScrollValue(bar, hidden);
}

}  // namespace

PrintPreview::PrintPreview(AppContext& ctx) : ctx_(ctx) {
  Form& f = form();
  f.On({}, Event::Load, [this] { Form_Load(); });
  f.On({}, Event::Resize, [this] { Form_Resize(); });
  f.On({}, Event::Deactivate, [this] { Form_Deactivate(); });
  f.On(HScrollBar, Event::Change, [this] { HScrollBar_Change(); });
  f.On(VScrollBar, Event::Change, [this] { VScrollBar_Change(); });
  f.On(Close, Event::Click, [this] { Close_Click(); });
  // The title bar's close box hides the window like Close: it stays loaded.
  f.OnQueryUnload([this] {
    Close_Click();
    return true;
  });
}

void PrintPreview::Form_Load() {
  Form& f = form();
  thickness_ = f.Bounds(VScrollBar).Width;
  Form_Resize();
  // Beside the print options, so that a change there can be watched here.
  PlaceNear(ctx_, f, ctx_.forms.Get(frmPrintOptions::kWindow));
}

void PrintPreview::Form_Resize() {
  Form& f = form();
  const PaperSize& paper = ctx_.print.Paper;
  Rect page = f.Bounds(picPrintPreview);
  if (page.Width != paper.Width || page.Height != paper.Height) {
    page.Width = paper.Width;
    page.Height = paper.Height;
    f.SetBounds(picPrintPreview, page);
  }
  const int width = f.Geometry().ScaleWidth;
  const int height = f.Geometry().ScaleHeight - kPreviewStripTwips;
  // The horizontal bar is decided first, on the whole inner width.
  const bool across = width < page.Width;
  const bool down = height < page.Height;
  const int h = across ? thickness_ : 0;
  const int v = down ? thickness_ : 0;
  f.SetVisible(HScrollBar, across);
  f.SetVisible(VScrollBar, down);

  if (across) {
    const int visible = Max(width - v, 0);
    f.SetBounds(HScrollBar, {0, kPreviewStripTwips + height - h, visible, h});
    SetBarRange(f, HScrollBar, page.Width - visible, visible);
  } else {
    // The page stands at the left edge, and so does a bar shown again later.
    f.SetScrollValue(HScrollBar, 0);
    SetPictureLeft(0);
  }
  if (down) {
    const int visible = Max(height - h, 0);
    f.SetBounds(VScrollBar, {width - v, kPreviewStripTwips, v, visible});
    SetBarRange(f, VScrollBar, page.Height - visible, visible);
  } else {
    f.SetScrollValue(VScrollBar, 0);
    SetPictureTop(0);
  }
}

void PrintPreview::SetPictureLeft(int left) {
  Rect page = form().Bounds(picPrintPreview);
  page.Left = left;
  form().SetBounds(picPrintPreview, page);
}

void PrintPreview::SetPictureTop(int top) {
  Rect page = form().Bounds(picPrintPreview);
  page.Top = kPreviewStripTwips + top;
  form().SetBounds(picPrintPreview, page);
}

void PrintPreview::Wheel(int notches, bool across) {
  constexpr int kStepsPerNotch = 3;
  Form& f = form();
  const Control bar = across ? HScrollBar : VScrollBar;
  if (!f.IsVisible(bar)) return;
  const ControlState& state = f.State(bar);
  const long long moved = static_cast<long long>(notches) * kStepsPerNotch * state.SmallChange;
  f.SetScrollValue(bar, static_cast<int>(std::clamp<long long>(state.Value + moved, state.Min, state.Max)));
}

void PrintPreview::HScrollBar_Change() { SetPictureLeft(-form().Value(HScrollBar)); }

void PrintPreview::VScrollBar_Change() { SetPictureTop(-form().Value(VScrollBar)); }

void PrintPreview::Close_Click() { form().Hide(); }

void PrintPreview::Form_Deactivate() { ctx_.state.SkipActivateRelayout = kTrue; }

}  // namespace kivrel
