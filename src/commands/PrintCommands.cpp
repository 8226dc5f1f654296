#include "commands/PrintCommands.h"

#include "commands/BuildCommands.h"
#include "print/PageDrawing.h"

namespace kivrel {

namespace {

std::string JobName(AppContext& ctx) {
  const std::string& title = ctx.AttributesForm().Text(frmAttributes::txtPuzName);
  return title.empty() ? std::string("Kivrel puzzle") : "Kivrel - " + title;
}

std::string PrintError(const std::string& detail) {
  return detail.empty() ? std::string(kPrintErrorMessage) : std::string(kPrintErrorMessage) + ": " + detail;
}

// The printer chosen gives the paper the pages are laid out on (the preview, the page
// files). Returns whether it changed.
bool TakePaper(AppContext& ctx, const PrintChoice& choice) {
  if (!choice.Paper || *choice.Paper == ctx.print.Paper) return false;
  ctx.print.Paper = *choice.Paper;
  return true;
}

}  // namespace

bool PrintPuzzleCopy(AppContext& ctx, std::string& error) {
  // A printed puzzle always has its blanks filled. Any non-zero BlanksFilled means
  // filled: FillInBlanks is a toggle, and would take the letters away again.
  if (ctx.state.BlanksFilled == kFalse) TellFillReport(ctx, FillInBlanks(ctx));
  if (!ctx.printer) {
    error = PrintError("no printer is available");
    return false;
  }
  std::string detail;
  Surface* page = ctx.printer->BeginDocument(JobName(ctx), detail);
  if (!page) {
    error = PrintError(detail);
    return false;
  }
  DrawPrinterPage(ctx, *page);
  if (!ctx.printer->EndDocument(detail)) {
    error = PrintError(detail);
    return false;
  }
  return true;
}

bool PrintPuzzle(AppContext& ctx) {
  auto choice = ctx.dialogs.Printer(kPrintDialogFlags);
  if (!choice) return false;
  Form& main = ctx.MainForm();
  main.SetMousePointer(kPointerHourglass);
  std::string error;
  bool printed = true;
  for (int copy = 1; copy <= choice->Copies && printed; ++copy) printed = PrintPuzzleCopy(ctx, error);
  main.SetMousePointer(kPointerDefault);
  if (!printed) ShowMessage(ctx.dialogs, error, kErrorTitle, MessageIcon::Critical);
  return TakePaper(ctx, *choice);
}

bool ChoosePrinter(AppContext& ctx) {
  auto choice = ctx.dialogs.Printer(kPrintSetupFlag);
  return choice && TakePaper(ctx, *choice);
}

}  // namespace kivrel
