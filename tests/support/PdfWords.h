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

/// The words of each page of the PDF at path (empty when pdftotext fails), and each
/// page's width and height in points into *sizes when given.
std::vector<std::vector<PdfWord>> ReadPdfWords(const std::string& path,
                                               std::vector<std::pair<double, double>>* sizes = nullptr);

/// Checks, to within a point, that the page holds the title at (TitleX, TopMargin),
/// every grid letter in its cell (a lone letter centred across it), and the first word
/// of every placed entry in the list's blocks, as the last layout of ctx put them.
void ExpectPageMatchesLayout(AppContext& ctx, const std::vector<PdfWord>& words);

}  // namespace kivrel::testing
