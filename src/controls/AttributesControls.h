#pragma once
// The controls of the attributes dialog frmAttributes.
#include "controls/Declare.h"

// The formatter wraps this list differently on every run: it is left as it stands.
// clang-format off
#define KIVREL_ATTRIBUTES_CONTROLS(X)                                                                                 \
  X(cmdOK)                                                                                                            \
  X(cmdDefaultDimensions) X(cmdSaveList) X(cmdCancel) X(Label3) X(txtPuzName) X(Label1) X(txtPuzWidth) X(spnPuzWidth) \
      X(Label2) X(txtPuzHeight) X(spnPuzHeight) X(chkIncludeDiagonals) X(chkBalanceDirections) X(chkFastBuild)        \
          X(chkStopOnReject) X(chkRestartOnReject) X(chkBackwardsWords) X(Label7) X(cbxStopRemOp) X(txtStopRem)       \
              X(spnStopRem) X(Label4) X(txtInstructions) X(Label5) X(txtMysteryQuote) X(Label6) X(lblLetterCount)
// clang-format on

namespace kivrel::frmAttributes {
KIVREL_DECLARE_WINDOW(frmAttributes, KIVREL_ATTRIBUTES_CONTROLS)
}  // namespace kivrel::frmAttributes

#undef KIVREL_ATTRIBUTES_CONTROLS
