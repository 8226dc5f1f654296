#pragma once
// How the core asks the user: message boxes and the system's file, print, printer
// set-up and font dialogs. The GUI answers with Qt's dialogs, the tests from a script.
#include <optional>
#include <string>

#include "platform/Paper.h"
#include "platform/Surface.h"

namespace kivrel {

enum class MessageIcon { None, Exclamation, Question, Critical, Information };
enum class MessageButtons { Ok, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
  std::string Text;
  std::string Title;
  MessageButtons Buttons = MessageButtons::Ok;
  MessageIcon Icon = MessageIcon::None;
};

/// File dialog flag: ask before replacing an existing file.
constexpr int kFileOverwritePrompt = 2;

struct FileRequest {
  enum class Kind { Open, SaveAs };
  Kind Action = Kind::Open;
  std::string DialogTitle;
  /// Pairs of description and pattern joined by "|":
  /// "All Files (*.*)|*.*|Puzzle Files (*.kvp)|*.kvp".
  std::string Filter;
  int FilterIndex = 1;   // 1-based pair shown first
  std::string FileName;  // the suggested name
  /// The folder the dialog starts in when FileName names none ("": the platform's choice).
  std::string Folder;
  std::string DefaultExt;  // added when the user types no extension
  int Flags = 0;
};

/// What a Save As dialog with a check box returned.
struct SaveChoice {
  std::string Path;
  int FilterIndex = 1;   // the file type chosen: 1-based pair of the filter
  bool Checked = false;  // the check box
};

/// Print dialog flags.
constexpr int kPrintDialogFlags = 1048588;  // no print-to-file box, no page range, no selection
constexpr int kPrintSetupFlag = 64;         // the printer set-up dialog instead

struct PrintChoice {
  int Copies = 1;
  /// The paper of the printer chosen, when the platform knows it.
  std::optional<PaperSize> Paper;
};

/// Font dialog flags: screen and printer fonts, 1252 only, as printed, scalable only.
constexpr int kFontDialogFlags = 164867;

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  /// A modal message; returns the button pressed.
  virtual MessageAnswer Message(const MessageRequest& request) = 0;

  /// The Open or Save As dialog; returns the full path chosen, or nothing on Cancel.
  virtual std::optional<std::string> File(const FileRequest& request) = 0;

  /// The Save As dialog with a check box labelled `check_box` under the file list,
  /// starting as `checked`; returns the path, the file type chosen and the box, or
  /// nothing on Cancel. Without a dialog of its own a platform asks File() and keeps the
  /// request's file type and the box as it started.
  virtual std::optional<SaveChoice> SaveWithCheckBox(const FileRequest& request, const std::string& /*check_box*/,
                                                     bool checked) {
    auto path = File(request);
    if (!path) return std::nullopt;
    return SaveChoice{*path, request.FilterIndex, checked};
  }

  /// The print dialog (flags kPrintDialogFlags) or the printer set-up dialog (flags
  /// kPrintSetupFlag); returns the copies asked for, or nothing on Cancel. The printer
  /// chosen becomes the one the program prints to.
  virtual std::optional<PrintChoice> Printer(int flags) = 0;

  /// The font dialog, starting from a font; returns the chosen font, or nothing on Cancel.
  virtual std::optional<FontSpec> ChooseFont(const FontSpec& initial, int flags) = 0;
};

/// Shorthand for the program's own message boxes.
inline MessageAnswer ShowMessage(Dialogs& dialogs, std::string text, std::string title, MessageIcon icon,
                                 MessageButtons buttons = MessageButtons::Ok) {
  return dialogs.Message({std::move(text), std::move(title), buttons, icon});
}

inline constexpr const char* kMessageTitle = "Kivrel Message";
inline constexpr const char* kErrorTitle = "Kivrel Error";
inline constexpr const char* kPromptTitle = "Kivrel";

}  // namespace kivrel
