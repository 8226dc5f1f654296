#pragma once
// The widgets of the word list window and of the attributes dialog, placed from their
// design in twips. Their behaviour is WordListWindow's and AttributesDialog's.
#include "forms/WordListWindow.h"
#include "program/AppContext.h"
#include "ui/Design.h"

class QDialog;
class QWidget;

namespace kivrel {

/// frmWordList: the entry box with the list below it and the column of buttons.
QDialog* MakeWordListWindow(const Design& design, QWidget* parent, AppContext& ctx, WordListWindow& window);

/// frmAttributes: title, size, options, the stop rule, instructions and the quotation.
QDialog* MakeAttributesDialog(const Design& design, QWidget* parent);

}  // namespace kivrel
