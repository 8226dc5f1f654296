#include "commands/ExportCommands.h"

namespace kivrel {

namespace {

constexpr const char* kExtensions[] = {".pdf", ".png", ".svg", ".html"};
constexpr int kFileTypes = 4;

// The file named after the puzzle or its list, in the folder it came from.
std::string SuggestedName(const PuzzleState& s) {
  const std::string& source = !s.PuzzleFileName.empty() ? s.PuzzleFileName : s.WordListFileName;
  if (source.empty()) return {};
  const std::size_t slash = source.rfind('/');
  const std::size_t dot = source.rfind('.');
  return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? source : source.substr(0, dot);
}

}  // namespace

PageRequest ExportRequest(const SaveChoice& choice) {
  PageRequest request;
  request.Path = choice.Path;
  request.AnswerKey = choice.Checked;
  if (auto format = FormatOfPath(choice.Path)) {
    request.Kind = *format;
  } else {
    const int index = choice.FilterIndex >= 1 && choice.FilterIndex <= kFileTypes ? choice.FilterIndex : 1;
    request.Kind = static_cast<PageRequest::Format>(index - 1);
    request.Path += kExtensions[index - 1];
  }
  return request;
}

void ExportPage(AppContext& ctx) {
  // The dialog starts as the last export left it: its folder, file type and key box.
  FileDialogMemory& memory = ctx.files;
  const int type = memory.PageFileType >= 1 && memory.PageFileType <= kFileTypes ? memory.PageFileType : 1;
  std::string name = SuggestedName(ctx.state);
  const std::string& folder = memory.FolderOf(FileDialogKind::Pages);
  if (!folder.empty() && name.find('/') != std::string::npos) name = name.substr(name.rfind('/') + 1);
  const FileRequest dialog{.Action = FileRequest::Kind::SaveAs,
                           .DialogTitle = "Export Page",
                           .Filter = kExportFilter,
                           .FilterIndex = type,
                           .FileName = name,
                           .Folder = folder,
                           .DefaultExt = kExtensions[type - 1] + 1,
                           .Flags = kFileOverwritePrompt};
  const auto choice = ctx.dialogs.SaveWithCheckBox(dialog, kAnswerKeyCheckBox, memory.PageAnswerKey);
  if (!choice || choice->Path.empty()) return;

  const PageRequest request = ExportRequest(*choice);
  Form& main = ctx.MainForm();
  main.SetMousePointer(kPointerHourglass);
  std::string error;
  try {
    const FileResult<std::vector<std::string>> written = WritePages(ctx, request);
    if (!written) error = PageFileFailureText(written.Error());
  } catch (const std::exception& failure) {  // no memory for the page, say
    error = failure.what();
  }
  main.SetMousePointer(kPointerDefault);
  if (!error.empty()) {
    ShowMessage(ctx.dialogs, std::string(kExportErrorMessage) + ": " + error, kErrorTitle, MessageIcon::Critical);
    return;
  }
  memory.Remember(FileDialogKind::Pages, request.Path);
  memory.PageFileType = static_cast<int>(request.Kind) + 1;
  memory.PageAnswerKey = request.AnswerKey;
}

}  // namespace kivrel
