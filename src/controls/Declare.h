#pragma once
// How a window declares its controls: one list of names, in a macro, from which come
// the window's table of names (which the widgets are checked against) and a constant
// for each control (which the forms and the widget design use). A window's header
// reads:
//
//   #define KIVREL_WORD_LIST_CONTROLS(X) X(cmdAdd) X(cmdReplace) ...
//   namespace kivrel::frmWordList {
//   KIVREL_DECLARE_WINDOW(frmWordList, KIVREL_WORD_LIST_CONTROLS)
//   }
//
// which gives frmWordList::kWindow and frmWordList::cmdAdd, frmWordList::cmdReplace ...
// A control array's elements are listed one by one (lblDirection_0, lblDirection_1 ...)
// and gathered in a ControlArray.
#include "model/Forms.h"

#define KIVREL_CONTROL_NAME(name) #name,
#define KIVREL_CONTROL_CONSTANT(name) inline constexpr Control name = kWindow.Get(#name);
#define KIVREL_DECLARE_WINDOW(window, controls)                                        \
  inline constexpr std::string_view kControlNames[] = {controls(KIVREL_CONTROL_NAME)}; \
  inline constexpr Window kWindow{#window, kControlNames};                             \
  controls(KIVREL_CONTROL_CONSTANT)
