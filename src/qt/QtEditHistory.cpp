#include "qt/QtEditHistory.h"

#include <QUndoCommand>
#include <utility>

namespace kivrel {

namespace {

// A step the program has already done when it is recorded: the stack's first redo,
// which comes with the push, does nothing.
class StepCommand : public QUndoCommand {
 public:
  explicit StepCommand(EditHistory::Step step)
      : QUndoCommand(QString::fromStdString(step.Name)), step_(std::move(step)) {}
  void undo() override { step_.Undo(); }
  void redo() override {
    if (!std::exchange(pushed_, true)) return;
    step_.Redo();
  }

 private:
  EditHistory::Step step_;
  bool pushed_ = false;
};

}  // namespace

QtEditHistory::QtEditHistory() {
  stack_.setUndoLimit(kLimit);
  QObject::connect(&stack_, &QUndoStack::indexChanged, &stack_, [this] { Changed(); });
  QObject::connect(&stack_, &QUndoStack::canUndoChanged, &stack_, [this] { Changed(); });
  QObject::connect(&stack_, &QUndoStack::canRedoChanged, &stack_, [this] { Changed(); });
}

QtEditHistory::~QtEditHistory() { QObject::disconnect(&stack_, nullptr, nullptr, nullptr); }

void QtEditHistory::Push(Step step) { stack_.push(new StepCommand(std::move(step))); }

std::optional<std::string> QtEditHistory::NextUndo() const {
  if (!stack_.canUndo()) return std::nullopt;
  return stack_.undoText().toStdString();
}

std::optional<std::string> QtEditHistory::NextRedo() const {
  if (!stack_.canRedo()) return std::nullopt;
  return stack_.redoText().toStdString();
}

}  // namespace kivrel
