#pragma once
// The controls of the word list window frmWordList.
#include "controls/Declare.h"

// The formatter wraps this list differently on every run: it is left as it stands.
// clang-format off
#define KIVREL_WORD_LIST_CONTROLS(X)                                                                                 \
  X(lblFile)                                                                                                         \
  X(lblFileName) X(cmdAdd) X(cmdReplace) X(cmdRemove) X(cmdClear) X(cmdSave) X(cmdSort) X(cmdShowWord) X(cmdHideAll) \
      X(cmdClose) X(cmdUndo) X(cmdRedo) X(cboWordList) X(lblCount) X(lblWordCount)
// clang-format on

namespace kivrel::frmWordList {
KIVREL_DECLARE_WINDOW(frmWordList, KIVREL_WORD_LIST_CONTROLS)
}  // namespace kivrel::frmWordList

#undef KIVREL_WORD_LIST_CONTROLS
