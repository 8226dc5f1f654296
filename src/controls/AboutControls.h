#pragma once
// The controls of the About box frmAbout.
#include "controls/Declare.h"

#define KIVREL_ABOUT_CONTROLS(X) X(Picture1) X(Label1) X(Label2) X(Line1) X(cmdOK)

namespace kivrel::frmAbout {
KIVREL_DECLARE_WINDOW(frmAbout, KIVREL_ABOUT_CONTROLS)
}  // namespace kivrel::frmAbout

#undef KIVREL_ABOUT_CONTROLS
