#pragma once
// Reading a PDF back for tests: the words pdftotext -bbox finds on each page, with their
// boxes in points (1/72 inch) from the page's top-left corner.
#include <string>
#include <utility>
#include <vector>

#include "program/AppContext.h"

namespace kivrel::testing {

struct PdfWord {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::string text;
};

/// The words of each page of the PDF at path (empty when pdftotext fails).
std::vector<std::vector<PdfWord>> ReadPdfWords(const std::string& path);
/// The width and height of each page, in points.
std::vector<std::pair<double, double>> ReadPdfPageSizes(const std::string& path);

/// Checks, to within one point, that the page holds the title at (TitleX, TopMargin),
/// every grid letter centred across its cell with its top at the cell's top, and every
/// list entry (its first word) in the list's blocks of the last layout of ctx, in list
/// order down the columns.
void ExpectPageMatchesLayout(AppContext& ctx, const std::vector<PdfWord>& words);

}  // namespace kivrel::testing
