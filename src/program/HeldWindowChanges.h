#pragma once
// Long work that switches commands off and on again, or empties labels and fills them
// with the same values, leaves the windows untouched.
#include "program/AppContext.h"

namespace kivrel {

/// Holds the changes of the main window's and the word list window's controls back
/// from the windows for as long as it lives (see Form::HoldChanges), unless they are
/// shown meanwhile.
class HeldWindowChanges {
 public:
  explicit HeldWindowChanges(AppContext& ctx);
  ~HeldWindowChanges() { Release(); }
  HeldWindowChanges(const HeldWindowChanges&) = delete;
  HeldWindowChanges& operator=(const HeldWindowChanges&) = delete;
  /// Passes on what is held so far (before events run, so the windows show the
  /// commands as they are) and goes on holding.
  void Show();
  /// Passes on what is held and ends the hold.
  void Release();

 private:
  Form* main_;
  Form* list_;
};

}  // namespace kivrel
