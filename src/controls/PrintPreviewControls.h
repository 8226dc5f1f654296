#pragma once
// The controls of the print preview frmPrintPreview.
#include "controls/Declare.h"

#define KIVREL_PRINT_PREVIEW_CONTROLS(X) X(picPrintPreview) X(HScrollBar) X(VScrollBar) X(Close)

namespace kivrel::frmPrintPreview {
KIVREL_DECLARE_WINDOW(frmPrintPreview, KIVREL_PRINT_PREVIEW_CONTROLS)
}  // namespace kivrel::frmPrintPreview

#undef KIVREL_PRINT_PREVIEW_CONTROLS
