#pragma once
// The record of the edits the user can take back. The program says what each step does;
// the window system keeps the steps in order (Qt's undo stack in the GUI).
#include <functional>
#include <optional>
#include <string>

namespace kivrel {

class EditHistory {
 public:
  /// One edit: its name ("Clear", "Attributes") and how to take it back and do it again.
  struct Step {
    std::string Name;
    std::function<void()> Undo;
    std::function<void()> Redo;
  };

  virtual ~EditHistory() = default;

  /// Records a step that has just been done (it is not done again).
  virtual void Push(Step step) = 0;
  /// Takes back the last step done; nothing when there is none.
  virtual void Undo() = 0;
  /// Does the last step taken back again; nothing when there is none.
  virtual void Redo() = 0;
  /// Forgets every step.
  virtual void Clear() = 0;
  /// The name of the step Undo (Redo) would take; nothing when there is none.
  virtual std::optional<std::string> NextUndo() const = 0;
  virtual std::optional<std::string> NextRedo() const = 0;

  /// Called after every change of the record; the program sets it to show the commands.
  std::function<void()> Changed = [] {};
};

}  // namespace kivrel
