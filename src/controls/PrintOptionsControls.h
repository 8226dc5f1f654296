#pragma once
// The controls of the print options dialog frmPrintOptions: the positioning frames,
// the margins, the font buttons, the printing options, the page's thumbnail and the
// buttons.
#include "controls/Declare.h"

// The formatter wraps this list differently on every run: it is left as it stands.
// clang-format off
#define KIVREL_PRINT_OPTIONS_CONTROLS(X)                                                                             \
  X(radTitleLeft)                                                                                                    \
  X(radTitleCenter) X(radTitleRight) X(fraInstructions) X(radInstrLeft) X(radInstrCenter) X(radInstrRight)           \
      X(radPuzzleTop) X(radPuzzleMiddle) X(radPuzzleBottom) X(radPuzzleLeft) X(radPuzzleCenter) X(radPuzzleRight)    \
          X(fraWordList) X(chkAbove) X(chkLeft) X(lblRelative) X(chkRight) X(chkBelow) X(txtMargin_0) X(txtMargin_1) \
              X(txtMargin_2) X(txtMargin_3) X(spnMargin_0) X(spnMargin_1) X(spnMargin_2) X(spnMargin_3)              \
                  X(cmdTitleFont) X(cmdInstructionsFont) X(cmdPuzzleFont) X(cmdWordListFont) X(chkPrintInstructions) \
                      X(chkPrintWordList) X(chkOutlineWords) X(chkFillPage) X(picLayout) X(shpMargins) X(lblTitle)   \
                          X(lblInstructions) X(lblPuzzle) X(lblSideList) X(lblColumnList) X(lblListTooLong)          \
                              X(cmdPreview) X(cmdPrinter) X(cmdPrint) X(cmdCancel)
// clang-format on

namespace kivrel::frmPrintOptions {

KIVREL_DECLARE_WINDOW(frmPrintOptions, KIVREL_PRINT_OPTIONS_CONTROLS)

/// The margin boxes and their spin buttons, by side (kTopMargin .. kRightMargin).
inline constexpr ControlArray<4> txtMargin{{txtMargin_0, txtMargin_1, txtMargin_2, txtMargin_3}};
inline constexpr ControlArray<4> spnMargin{{spnMargin_0, spnMargin_1, spnMargin_2, spnMargin_3}};

}  // namespace kivrel::frmPrintOptions

#undef KIVREL_PRINT_OPTIONS_CONTROLS
