#pragma once
// Dialogs for tests: each dialog the code shows is answered from a queue of expected
// dialogs, in order. A dialog that was not expected (or of another kind) fails the
// running test and is cancelled; expectations left unanswered fail it at destruction.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace kivrel::testing {

class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override;

  /// The next dialog is a message box answered with `answer`. When `text` is given the
  /// message must be exactly that text.
  ScriptedDialogs& ExpectMessage(MessageAnswer answer, std::optional<std::string> text = std::nullopt) {
    return Expect({.kind = Step::kMessage, .answer = answer, .text = std::move(text)});
  }
  /// The next dialog is a file dialog answered with a path, or cancelled with nullopt.
  ScriptedDialogs& ExpectFile(std::optional<std::string> path) {
    return Expect({.kind = Step::kFile, .text = std::move(path)});
  }
  /// The next dialog is a Save As dialog with a check box, answered with a choice or
  /// cancelled with nullopt.
  ScriptedDialogs& ExpectSaveChoice(std::optional<SaveChoice> choice) {
    return Expect({.kind = Step::kSaveChoice, .choice = std::move(choice)});
  }
  /// The next dialog is a print or printer set-up dialog.
  ScriptedDialogs& ExpectPrinter(std::optional<PrintChoice> choice) {
    return Expect({.kind = Step::kPrinter, .print = choice});
  }
  /// The next dialog is the font dialog.
  ScriptedDialogs& ExpectFont(std::optional<FontSpec> font) {
    return Expect({.kind = Step::kFont, .font = std::move(font)});
  }

  MessageAnswer Message(const MessageRequest& request) override;
  std::optional<std::string> File(const FileRequest& request) override;
  std::optional<SaveChoice> SaveWithCheckBox(const FileRequest& request, const std::string& check_box,
                                             bool checked) override;
  std::optional<PrintChoice> Printer(int flags) override;
  std::optional<FontSpec> ChooseFont(const FontSpec& initial, int flags) override;

  /// True when every expected dialog was shown.
  bool Done() const { return script_.empty(); }

  // What was shown, in order of each kind.
  std::vector<MessageRequest> messages;
  std::vector<FileRequest> files;
  std::vector<bool> boxes_checked;  // how each Save As dialog's check box started
  std::vector<FontSpec> fonts;

 private:
  struct Step {
    enum Kind { kMessage, kFile, kSaveChoice, kPrinter, kFont } kind;
    MessageAnswer answer{};
    std::optional<std::string> text = {};  // a message's text, or a file dialog's path
    std::optional<SaveChoice> choice = {};
    std::optional<PrintChoice> print = {};
    std::optional<FontSpec> font = {};
  };
  ScriptedDialogs& Expect(Step step) {
    script_.push_back(std::move(step));
    return *this;
  }
  /// The step that answers a dialog of this kind, or none (the test has failed).
  std::optional<Step> Next(Step::Kind kind, const std::string& what);

  std::deque<Step> script_;
};

}  // namespace kivrel::testing
