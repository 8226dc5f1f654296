#pragma once
// What the print preview window frmPrintPreview does: it shows the printed page at full
// size, on the paper of the print options, and scrolls it. The page itself is drawn by
// the page layout onto ctx.preview whenever a print option changes; this window only
// sizes the page picture, fits the scroll bars to the window and moves the picture with
// them. The Close button stands in a strip above the page, never over it.
#include <string_view>

#include "controls/PrintPreviewControls.h"
#include "program/AppContext.h"

namespace kivrel {

/// The strip along the window's top that holds Close; the page and the bars lie below.
inline constexpr int kPreviewStripTwips = 495;

class PrintPreview {
 public:
  /// Registers the handlers on the preview window's form.
  explicit PrintPreview(AppContext& ctx);
  PrintPreview(const PrintPreview&) = delete;
  PrintPreview& operator=(const PrintPreview&) = delete;

  /// Takes the bar thickness from the vertical bar as designed, sizes the page picture,
  /// fits the bars and centres the window.
  void Form_Load();
  /// Sizes the page picture to the paper of the print options, and fits the scroll bars
  /// to the window's inner area below the strip. A bar shows only when the page is
  /// larger than the area that way; its range is the hidden part of the page, a large
  /// step half the hidden or half the visible part (whichever is smaller), a small step
  /// a twentieth of the hidden part. Sizes and steps never go below 0 and 1, and a
  /// position beyond the new range is brought back into it.
  void Form_Resize();
  /// The mouse wheel: `notches` down (up when negative), or to the right (left) when
  /// `across`; three small steps a notch, as a scroll bar's own wheel moves it, and
  /// never past the ends. Only a bar that shows moves.
  void Wheel(int notches, bool across);
  void HScrollBar_Change();
  void VScrollBar_Change();
  void Close_Click();
  /// Leaving the preview marks the page as current, so that going back to the options
  /// dialog does not lay it out again.
  void Form_Deactivate();

 private:
  Form& form() { return ctx_.forms.Get(frmPrintPreview::kWindow); }
  void SetPictureLeft(int left);
  void SetPictureTop(int top);

  AppContext& ctx_;
  int thickness_ = 0;
};

}  // namespace kivrel
