#pragma once
// The widgets of the print options dialog frmPrintOptions and of the print preview
// frmPrintPreview, with their design values. What they do is the core's
// PrintOptionsDialog and PrintPreview.
#include <QDialog>

#include "ui/Design.h"

namespace kivrel {

class QtImageSurface;
class PrintPreview;

/// The print options dialog: the positioning, margin, font and printing frames, the
/// one-third-scale thumbnail of the page with its shadow, and the four buttons.
QDialog* MakePrintOptionsDialog(const Design& design, QWidget* parent);

/// The print preview: the full-size page picture showing `page`, the two scroll bars
/// and Close. The mouse wheel over the page scrolls it through `preview`.
QDialog* MakePrintPreviewWindow(const Design& design, QWidget* parent, QtImageSurface& page, PrintPreview& preview);

}  // namespace kivrel
