#pragma once
// File > Export Page...: the printed page written to a PDF, PNG or SVG file instead of
// a printer, with the print options of the print options dialog, or the puzzle as a web
// page to solve on screen.
#include <string>

#include "print/PageFiles.h"
#include "program/AppContext.h"

namespace kivrel {

/// The file types offered, in the order of PageRequest::Format.
inline constexpr const char* kExportFilter =
    "PDF Document (*.pdf)|*.pdf|PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg|Web page (*.html)|*.html;*.htm";
inline constexpr const char* kAnswerKeyCheckBox = "Add the &answer key";
/// The message shown when the page could not be written (title "Kivrel Error").
inline constexpr const char* kExportErrorMessage = "Error while exporting page";

/// The request for a file chosen in the export dialog: the kind is the name's extension
/// when that is .pdf, .png, .svg, .html or .htm, otherwise the file type chosen, whose
/// extension is added to the name.
PageRequest ExportRequest(const SaveChoice& choice);

/// Export Page...: asks for the file (with the answer key check box) and writes the
/// page and its key as the print command would print it (blanks filled first; see
/// WritePages); a failure is reported in a message box. Cancel does nothing. The dialog
/// starts in the folder, with the file type and the box, of the last page exported.
void ExportPage(AppContext& ctx);

}  // namespace kivrel
