#include "forms/WindowPlacement.h"

#include <algorithm>

#include "controls/PrintOptionsControls.h"
#include "controls/PrintPreviewControls.h"
#include "display/GridDisplay.h"

namespace kivrel {

namespace {

bool Overlap(const FormGeometry& a, const FormGeometry& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
}

// Whether the window would cover another shown window of the program besides `other`.
bool CoversAnother(AppContext& ctx, const Form& form, const Form& other, const FormGeometry& g) {
  for (const Window* window :
       {&frmKV_Puzzle::kWindow, &frmWordList::kWindow, &frmPrintOptions::kWindow, &frmPrintPreview::kWindow}) {
    if (!ctx.forms.Has(*window)) continue;
    const Form& shown = ctx.forms.Get(*window);
    if (&shown != &form && &shown != &other && shown.Visible() && Overlap(shown.Geometry(), g)) return true;
  }
  return false;
}

// The window at `left`, at the other's height as far as the screen allows.
FormGeometry At(const ScreenArea& area, const Form& form, const Form& other, int left) {
  FormGeometry g = form.Geometry();
  g.Left = left;
  g.Top = Max(area.Top, Min(other.Geometry().Top, area.Top + area.Height - g.Height));
  return g;
}

}  // namespace

void CenterForm(AppContext& ctx, Form& form) {
  const ScreenArea area = ctx.metrics.AvailableArea();
  FormGeometry g = form.Geometry();
  // A window larger than the screen's available area is cut down to it first.
  if (g.Width > area.Width) {
    g.ScaleWidth -= g.Width - area.Width;
    g.Width = area.Width;
  }
  if (g.Height > area.Height) {
    g.ScaleHeight -= g.Height - area.Height;
    g.Height = area.Height;
  }
  g.Top = area.Top + (area.Height - g.Height) / 2;
  g.Left = area.Left + (area.Width - g.Width) / 2;
  form.SetGeometry(g);
}

bool PlaceBeside(AppContext& ctx, Form& form, const Form& other) {
  const ScreenArea area = ctx.metrics.AvailableArea();
  const FormGeometry& beside = other.Geometry();
  const int width = form.Geometry().Width;
  if (form.Geometry().Height > area.Height) return false;
  const bool right = width <= area.Left + area.Width - (beside.Left + beside.Width);
  const bool left = width <= beside.Left - area.Left;
  if (!right && !left) return false;
  const FormGeometry on_right = At(area, form, other, beside.Left + beside.Width);
  const FormGeometry on_left = At(area, form, other, beside.Left - width);
  const bool use_left =
      !right || (left && CoversAnother(ctx, form, other, on_right) && !CoversAnother(ctx, form, other, on_left));
  form.SetGeometry(use_left ? on_left : on_right);
  return true;
}

void PlaceNear(AppContext& ctx, Form& form, const Form& other) {
  if (PlaceBeside(ctx, form, other)) return;
  const ScreenArea area = ctx.metrics.AvailableArea();
  const FormGeometry& beside = other.Geometry();
  const int width = form.Geometry().Width;
  if (width > area.Width || form.Geometry().Height > area.Height) {
    CenterForm(ctx, form);
    return;
  }
  const int right_room = area.Left + area.Width - (beside.Left + beside.Width);
  const int left_room = beside.Left - area.Left;
  // The right side unless the left has far more room: a window's right side (the
  // statistics, on the main window) is the one a user can spare.
  const int left = 2 * right_room >= left_room ? area.Left + area.Width - width : area.Left;
  form.SetGeometry(At(area, form, other, left));
}

void SizePuzzleWindow(AppContext& ctx) {
  if (!SizePuzzleDisplay(ctx) || !ctx.forms.Has(frmWordList::kWindow)) return;
  Form& list = ctx.WordListForm();
  if (list.Visible() && Overlap(ctx.MainForm().Geometry(), list.Geometry())) PlaceBeside(ctx, list, ctx.MainForm());
}

}  // namespace kivrel
