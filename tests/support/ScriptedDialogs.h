#pragma once
// Dialogs for tests: each dialog the code shows is answered from a queue of expected
// dialogs, in order. A dialog that was not expected (or of another kind) fails the
// running test and is cancelled; expectations left unanswered fail it at destruction.
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Dialogs.h"

namespace kivrel::testing {

class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override;

  /// The next dialog is a message box answered with `answer`. When `text` is given the
  /// message must be exactly that text.
  ScriptedDialogs& ExpectMessage(MessageAnswer answer, std::optional<std::string> text = std::nullopt);
  /// The next dialog is a file dialog answered with a path, or cancelled with nullopt.
  ScriptedDialogs& ExpectFile(std::optional<std::string> path);
  /// The next dialog is a Save As dialog with a check box, answered with a choice or
  /// cancelled with nullopt.
  ScriptedDialogs& ExpectSaveChoice(std::optional<SaveChoice> choice);
  /// The next dialog is a print or printer set-up dialog.
  ScriptedDialogs& ExpectPrinter(std::optional<PrintChoice> choice);
  /// The next dialog is the font dialog.
  ScriptedDialogs& ExpectFont(std::optional<FontSpec> font);

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
  std::vector<std::string> check_boxes;  // the labels of the Save As dialogs' check boxes
  std::vector<bool> boxes_checked;       // how each of those boxes started
  std::vector<int> printer_flags;
  std::vector<FontSpec> fonts;

 private:
  struct MessageStep {
    MessageAnswer answer;
    std::optional<std::string> text;
  };
  struct FileStep {
    std::optional<std::string> path;
  };
  struct SaveChoiceStep {
    std::optional<SaveChoice> choice;
  };
  struct PrinterStep {
    std::optional<PrintChoice> choice;
  };
  struct FontStep {
    std::optional<FontSpec> font;
  };
  using Step = std::variant<MessageStep, FileStep, SaveChoiceStep, PrinterStep, FontStep>;

  template <typename T>
  const T* Next(const std::string& what);

  std::deque<Step> script_;
  Step current_;
};

}  // namespace kivrel::testing
