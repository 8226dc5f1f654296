#pragma once
// The record of edits for core tests: the steps in order, those done before a mark and
// those taken back after it, as the GUI's undo stack keeps them.
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/EditHistory.h"

namespace kivrel::testing {

class RecordedEdits : public EditHistory {
 public:
  void Push(Step step) override {
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    ++done_;
    Changed();
  }
  void Undo() override {
    if (done_ == 0) return;
    steps_[--done_].Undo();
    Changed();
  }
  void Redo() override {
    if (done_ == steps_.size()) return;
    steps_[done_++].Redo();
    Changed();
  }
  void Clear() override {
    steps_.clear();
    done_ = 0;
    Changed();
  }
  std::optional<std::string> NextUndo() const override {
    return done_ > 0 ? std::optional(steps_[done_ - 1].Name) : std::nullopt;
  }
  std::optional<std::string> NextRedo() const override {
    return done_ < steps_.size() ? std::optional(steps_[done_].Name) : std::nullopt;
  }

 private:
  std::vector<Step> steps_;
  std::size_t done_ = 0;
};

}  // namespace kivrel::testing
