#pragma once
// Reading a PDF back for tests: the words pdftotext -bbox finds on each page, with their
// boxes in points (1/72 inch) from the page's top-left corner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "CliRunner.h"
#include "program/AppContext.h"

namespace kivrel::testing {

struct PdfWord {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::string text;
};

/// The words of each page of the PDF at path (empty when pdftotext fails), and each
/// page's width and height in points into *sizes when given.
inline std::vector<std::vector<PdfWord>> ReadPdfWords(const std::string& path,
                                                      std::vector<std::pair<double, double>>* sizes = nullptr) {
  const std::string output = RunShell("pdftotext -bbox '" + path + "' - 2>/dev/null").out;
  static const std::regex item(
      R"re(<page width="([0-9.]+)" height="([0-9.]+)">|)re"
      R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  std::vector<std::vector<PdfWord>> pages;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), item); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    if (m[1].matched) {
      pages.emplace_back();
      if (sizes) sizes->emplace_back(std::stod(m[1]), std::stod(m[2]));
    } else if (!pages.empty()) {
      pages.back().push_back({std::stod(m[3]), std::stod(m[4]), std::stod(m[5]), std::stod(m[6]), m[7]});
    }
  }
  return pages;
}

/// Checks, to within a point, that the page holds the title at (TitleX, TopMargin),
/// every grid letter in its cell (a lone letter centred across it), and the first word
/// of every placed entry in the list's blocks, as the last layout of ctx put them.
inline void ExpectPageMatchesLayout(AppContext& ctx, const std::vector<PdfWord>& words) {
  constexpr double kTolerance = 1.0;  // points
  const auto first_word = [](std::string entry) {
    std::erase_if(entry, [](char ch) { return ch == '[' || ch == ']'; });
    return entry.substr(0, entry.find(' '));
  };
  const auto inside = [&](const PdfWord& word, const Rect& r) {
    return word.xMin >= r.Left / 20.0 - kTolerance && word.yMin >= r.Top / 20.0 - kTolerance &&
           word.xMax <= (r.Left + r.Width) / 20.0 + kTolerance && word.yMax <= (r.Top + r.Height) / 20.0 + kTolerance;
  };
  const PuzzleState& s = ctx.state;
  const PageLayout& p = ctx.page;
  const std::string title = first_word(ctx.AttributesForm().Text(frmAttributes::txtPuzName));
  EXPECT_TRUE(std::any_of(words.begin(), words.end(),
                          [&](const PdfWord& word) {
                            return word.text == title && std::fabs(word.yMin - p.TopMargin / 20.0) <= kTolerance &&
                                   word.xMin >= p.TitleX / 20.0 - kTolerance &&
                                   word.xMax <= (p.TitleX + p.TitleWidth) / 20.0 + kTolerance;
                          }))
      << "title from " << p.TitleX << ", " << p.TopMargin;

  // pdftotext joins neighbouring letters of a row into one word when they stand close,
  // so each word found on a row of the grid is matched to the run of cells it starts
  // in: its letters must be those cells' letters, a lone letter centred across its cell,
  // a run starting inside its first cell and ending inside its last.
  const int columns = s.Grid.Width(), rows = s.Grid.Height();
  ASSERT_GT(columns, 0);
  const double cell = static_cast<double>(p.GridWidth) / columns / 20;  // points
  const double left = p.PuzzleLeft / 20.0, top = p.PuzzleTop / 20.0;
  std::vector<int> found(static_cast<std::size_t>((rows + 1) * (columns + 1)));
  for (const PdfWord& word : words) {
    const double row_place = (word.yMin - top) / cell;
    const int r = static_cast<int>(std::lround(row_place)) + 1;
    if (std::fabs(row_place - (r - 1)) * cell > kTolerance || r < 1 || r > rows) continue;
    if (word.xMin < left || word.xMax > left + columns * cell + kTolerance) continue;
    const int first = static_cast<int>((word.xMin - left) / cell) + 1;
    const int last = first + static_cast<int>(word.text.size()) - 1;
    if (last > columns) continue;
    std::string letters;
    for (int c = first; c <= last; ++c) letters += s.Grid.At(r, c).Letter;
    EXPECT_EQ(word.text, letters) << "row " << r << " from column " << first;
    if (first == last) {
      EXPECT_NEAR((word.xMin + word.xMax) / 2, left + (first - 0.5) * cell, kTolerance) << word.text;
    } else {
      EXPECT_LE(word.xMax, left + last * cell + kTolerance) << word.text;
    }
    for (int c = first; c <= last; ++c) ++found[static_cast<std::size_t>(r * (columns + 1) + c)];
  }
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= columns; ++c) {
      const std::string& letter = s.Grid.At(r, c).Letter;
      EXPECT_EQ(found[static_cast<std::size_t>(r * (columns + 1) + c)], letter.empty() || letter == " " ? 0 : 1)
          << "letter \"" << letter << "\" of row " << r << ", column " << c;
    }
  }

  // Every placed entry in the list's blocks, when the page has a list.
  const PagePrinted& printed = ctx.printed;
  if (!printed.SideList.Shown && !printed.ColumnList.Shown) return;
  for (int n = 1; n <= s.InsertedCount; ++n) {
    const std::string first = first_word(s.Words[static_cast<std::size_t>(n)].ListDisplayText);
    EXPECT_TRUE(std::any_of(words.begin(), words.end(),
                            [&](const PdfWord& word) {
                              return word.text == first &&
                                     ((printed.SideList.Shown && inside(word, printed.SideList.Bounds)) ||
                                      (printed.ColumnList.Shown && inside(word, printed.ColumnList.Bounds)));
                            }))
        << "entry " << n << " \"" << first << "\" in the list's blocks";
  }
}

}  // namespace kivrel::testing
