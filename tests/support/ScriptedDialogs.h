#pragma once
// Dialogs for tests: each dialog the code shows is answered from a queue of expected
// dialogs, in order. A dialog that was not expected (or of another kind) fails the
// running test and is cancelled; expectations left unanswered fail it at destruction.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Dialogs.h"

namespace kivrel::testing {

class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override {
    if (!script_.empty()) ADD_FAILURE() << script_.size() << " expected dialog(s) were never shown";
  }

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

  /// True when every expected dialog was shown.
  bool Done() const { return script_.empty(); }

  MessageAnswer Message(const MessageRequest& request) override {
    messages.push_back(request);
    const auto step = Next(Step::kMessage, "message \"" + request.Text + "\" titled \"" + request.Title + "\"");
    if (!step) return request.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    if (step->text && *step->text != request.Text) {
      ADD_FAILURE() << "message was \"" << request.Text << "\", expected \"" << *step->text << "\"";
    }
    return step->answer;
  }
  std::optional<std::string> File(const FileRequest& request) override {
    files.push_back(request);
    const auto step = Next(Step::kFile, "file dialog \"" + request.DialogTitle + "\"");
    return step ? step->text : std::nullopt;
  }
  std::optional<SaveChoice> SaveWithCheckBox(const FileRequest& request, const std::string&, bool checked) override {
    files.push_back(request);
    boxes_checked.push_back(checked);
    const auto step = Next(Step::kSaveChoice, "file dialog \"" + request.DialogTitle + "\" with a check box");
    return step ? step->choice : std::nullopt;
  }
  std::optional<PrintChoice> Printer(int flags) override {
    const auto step = Next(Step::kPrinter, "printer dialog with flags " + std::to_string(flags));
    return step ? step->print : std::nullopt;
  }
  std::optional<FontSpec> ChooseFont(const FontSpec& initial, int) override {
    fonts.push_back(initial);
    const auto step = Next(Step::kFont, "font dialog for \"" + initial.Name + "\"");
    return step ? step->font : std::nullopt;
  }

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
  std::optional<Step> Next(Step::Kind kind, const std::string& what) {
    if (script_.empty()) {
      ADD_FAILURE() << "unexpected dialog: " << what;
      return std::nullopt;
    }
    Step step = std::move(script_.front());
    script_.pop_front();
    if (step.kind == kind) return step;
    ADD_FAILURE() << "a different dialog was expected than: " << what;
    return std::nullopt;
  }

  std::deque<Step> script_;
};

}  // namespace kivrel::testing
