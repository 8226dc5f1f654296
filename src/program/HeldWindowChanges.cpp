#include "program/HeldWindowChanges.h"

namespace kivrel {

HeldWindowChanges::HeldWindowChanges(AppContext& ctx) : main_(&ctx.MainForm()), list_(&ctx.WordListForm()) {
  main_->HoldChanges();
  list_->HoldChanges();
}

void HeldWindowChanges::Show() {
  if (!main_) return;
  main_->ShowHeldChanges();
  list_->ShowHeldChanges();
}

void HeldWindowChanges::Release() {
  if (!main_) return;
  main_->ReleaseChanges();
  list_->ReleaseChanges();
  main_ = list_ = nullptr;
}

}  // namespace kivrel
