#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace kivrel::testing {

ScriptedDialogs::~ScriptedDialogs() {
  if (!script_.empty()) ADD_FAILURE() << script_.size() << " expected dialog(s) were never shown";
}

ScriptedDialogs& ScriptedDialogs::ExpectMessage(MessageAnswer answer, std::optional<std::string> text) {
  script_.push_back(MessageStep{answer, std::move(text)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFile(std::optional<std::string> path) {
  script_.push_back(FileStep{std::move(path)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectSaveChoice(std::optional<SaveChoice> choice) {
  script_.push_back(SaveChoiceStep{std::move(choice)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectPrinter(std::optional<PrintChoice> choice) {
  script_.push_back(PrinterStep{choice});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFont(std::optional<FontSpec> font) {
  script_.push_back(FontStep{std::move(font)});
  return *this;
}

template <typename T>
const T* ScriptedDialogs::Next(const std::string& what) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected dialog: " << what;
    return nullptr;
  }
  if (!std::holds_alternative<T>(script_.front())) {
    ADD_FAILURE() << "a different dialog was expected than: " << what;
    script_.pop_front();
    return nullptr;
  }
  current_ = script_.front();
  script_.pop_front();
  return &std::get<T>(current_);
}

MessageAnswer ScriptedDialogs::Message(const MessageRequest& request) {
  messages.push_back(request);
  const auto* step = Next<MessageStep>("message \"" + request.Text + "\" titled \"" + request.Title + "\"");
  if (!step) return request.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  if (step->text && *step->text != request.Text) {
    ADD_FAILURE() << "message was \"" << request.Text << "\", expected \"" << *step->text << "\"";
  }
  return step->answer;
}

std::optional<std::string> ScriptedDialogs::File(const FileRequest& request) {
  files.push_back(request);
  const auto* step = Next<FileStep>("file dialog \"" + request.DialogTitle + "\"");
  return step ? step->path : std::nullopt;
}

std::optional<SaveChoice> ScriptedDialogs::SaveWithCheckBox(const FileRequest& request, const std::string& check_box,
                                                            bool checked) {
  files.push_back(request);
  check_boxes.push_back(check_box);
  boxes_checked.push_back(checked);
  const auto* step = Next<SaveChoiceStep>("file dialog \"" + request.DialogTitle + "\" with a check box");
  return step ? step->choice : std::nullopt;
}

std::optional<PrintChoice> ScriptedDialogs::Printer(int flags) {
  printer_flags.push_back(flags);
  const auto* step = Next<PrinterStep>("printer dialog with flags " + std::to_string(flags));
  return step ? step->choice : std::nullopt;
}

std::optional<FontSpec> ScriptedDialogs::ChooseFont(const FontSpec& initial, int) {
  fonts.push_back(initial);
  const auto* step = Next<FontStep>("font dialog for \"" + initial.Name + "\"");
  return step ? step->font : std::nullopt;
}

}  // namespace kivrel::testing
