#include "forms/WindowPlacement.h"

#include "display/GridDisplay.h"

namespace kivrel {

namespace {

bool Overlap(const FormGeometry& a, const FormGeometry& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
         b.Top < a.Top + a.Height;
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

bool PlaceBesideMainWindow(AppContext& ctx, Form& form) {
  const ScreenArea area = ctx.metrics.AvailableArea();
  const FormGeometry& main = ctx.MainForm().Geometry();
  FormGeometry g = form.Geometry();
  const int right_room = area.Left + area.Width - (main.Left + main.Width);
  const int left_room = main.Left - area.Left;
  if (g.Width > Max(right_room, left_room) || g.Height > area.Height) return false;
  g.Left = g.Width <= right_room ? main.Left + main.Width : main.Left - g.Width;
  g.Top = Max(area.Top, Min(main.Top, area.Top + area.Height - g.Height));
  form.SetGeometry(g);
  return true;
}

void SizePuzzleWindow(AppContext& ctx) {
  if (!SizePuzzleDisplay(ctx) || !ctx.forms.Has(frmWordList::kWindow)) return;
  Form& list = ctx.WordListForm();
  if (list.Visible() && Overlap(ctx.MainForm().Geometry(), list.Geometry())) PlaceBesideMainWindow(ctx, list);
}

}  // namespace kivrel
