#pragma once
// The record of undoable edits kept by Qt's undo stack: each step the program records
// becomes a command of the stack, which undoes and redoes it.
#include <QUndoStack>

#include "platform/EditHistory.h"

namespace kivrel {

class QtEditHistory : public EditHistory {
 public:
  /// The most steps kept; the oldest go first.
  static constexpr int kLimit = 100;

  QtEditHistory();
  /// The steps go without a word to the program.
  ~QtEditHistory() override;

  void Push(Step step) override;
  void Undo() override { stack_.undo(); }
  void Redo() override { stack_.redo(); }
  void Clear() override { stack_.clear(); }
  std::optional<std::string> NextUndo() const override;
  std::optional<std::string> NextRedo() const override;

 private:
  QUndoStack stack_;
};

}  // namespace kivrel
