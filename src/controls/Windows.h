#pragma once
// Every window of the program, for what finds one by its name (a window named on a
// command line) or goes through them all.
#include <string_view>

#include "controls/AboutControls.h"
#include "controls/AttributesControls.h"
#include "controls/MainWindowControls.h"
#include "controls/PrintOptionsControls.h"
#include "controls/PrintPreviewControls.h"
#include "controls/WordListControls.h"

namespace kivrel {

inline constexpr const Window* kWindows[] = {&frmKV_Puzzle::kWindow,    &frmWordList::kWindow,
                                             &frmAttributes::kWindow,   &frmAbout::kWindow,
                                             &frmPrintOptions::kWindow, &frmPrintPreview::kWindow};

/// The window of that name, or null.
constexpr const Window* FindWindow(std::string_view name) {
  for (const Window* window : kWindows) {
    if (window->Name() == name) return window;
  }
  return nullptr;
}

}  // namespace kivrel
