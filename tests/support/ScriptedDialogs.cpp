#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace kivrel::testing {

ScriptedDialogs::~ScriptedDialogs() {
  if (!script_.empty()) ADD_FAILURE() << script_.size() << " expected dialog(s) were never shown";
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::Next(Step::Kind kind, const std::string& what) {
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

MessageAnswer ScriptedDialogs::Message(const MessageRequest& request) {
  messages.push_back(request);
  const auto step = Next(Step::kMessage, "message \"" + request.Text + "\" titled \"" + request.Title + "\"");
  if (!step) return request.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  if (step->text && *step->text != request.Text) {
    ADD_FAILURE() << "message was \"" << request.Text << "\", expected \"" << *step->text << "\"";
  }
  return step->answer;
}

std::optional<std::string> ScriptedDialogs::File(const FileRequest& request) {
  files.push_back(request);
  const auto step = Next(Step::kFile, "file dialog \"" + request.DialogTitle + "\"");
  return step ? step->text : std::nullopt;
}

std::optional<SaveChoice> ScriptedDialogs::SaveWithCheckBox(const FileRequest& request, const std::string&,
                                                            bool checked) {
  files.push_back(request);
  boxes_checked.push_back(checked);
  const auto step = Next(Step::kSaveChoice, "file dialog \"" + request.DialogTitle + "\" with a check box");
  return step ? step->choice : std::nullopt;
}

std::optional<PrintChoice> ScriptedDialogs::Printer(int flags) {
  const auto step = Next(Step::kPrinter, "printer dialog with flags " + std::to_string(flags));
  return step ? step->print : std::nullopt;
}

std::optional<FontSpec> ScriptedDialogs::ChooseFont(const FontSpec& initial, int) {
  fonts.push_back(initial);
  const auto step = Next(Step::kFont, "font dialog for \"" + initial.Name + "\"");
  return step ? step->font : std::nullopt;
}

}  // namespace kivrel::testing
