#include "PdfWords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>

#include "model/Numbers.h"

namespace kivrel::testing {

std::vector<std::vector<PdfWord>> ReadPdfWords(const std::string& path) {
  std::string command = "pdftotext -bbox '" + path + "' - 2>/dev/null";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
  }
  std::vector<std::vector<PdfWord>> pages;
  static const std::regex item(
      R"re(<page |<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(output.begin(), output.end(), item); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    if (m[1].length() == 0) {
      pages.emplace_back();
      continue;
    }
    if (pages.empty()) pages.emplace_back();
    pages.back().push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
  }
  return pages;
}

namespace {

constexpr double kTolerance = 1.0;  // points

// The word with this text whose box matches (left, top) in twips, or null.
const PdfWord* FindAt(const std::vector<PdfWord>& words, const std::string& text, double left, double top) {
  for (const PdfWord& word : words) {
    if (word.text == text && std::fabs(word.xMin - left / 20) <= kTolerance &&
        std::fabs(word.yMin - top / 20) <= kTolerance) {
      return &word;
    }
  }
  return nullptr;
}

std::string FirstWord(const std::string& entry) {
  std::string plain;
  for (char ch : entry) {
    if (ch != '[' && ch != ']') plain += ch;
  }
  return plain.substr(0, plain.find(' '));
}

}  // namespace

void ExpectPageMatchesLayout(AppContext& ctx, const std::vector<PdfWord>& words) {
  const PuzzleState& s = ctx.state;
  const PageLayout& p = ctx.page;
  const std::string& title = ctx.AttributesForm().Text(frmAttributes::txtPuzName);
  EXPECT_TRUE(FindAt(words, FirstWord(title), p.TitleX, p.TopMargin)) << "title at " << p.TitleX << ", " << p.TopMargin;

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
      const int expected = letter.empty() || letter == " " ? 0 : 1;
      EXPECT_EQ(found[static_cast<std::size_t>(r * (columns + 1) + c)], expected)
          << "letter \"" << letter << "\" of row " << r << ", column " << c;
    }
  }

  // The list in columns below the puzzle (every entry; none beside it).
  int listed = 0;
  for (int i = 1; i <= s.WordCount; ++i) listed += s.Words[static_cast<std::size_t>(i)].Status == kStatusPlaced;
  if (listed == 0) return;
  const int list_columns = Max(1, Nearest(static_cast<double>(p.PrintableWidth) / p.ListColumnWidth));
  const int step = Nearest(static_cast<double>(p.PrintableWidth) / list_columns);
  const int list_rows = (listed - 1) / list_columns + 1;
  const double line = static_cast<double>(p.ColumnListHeight) / list_rows;
  for (int n = 1; n <= listed; ++n) {
    const std::string first = FirstWord(s.Words[static_cast<std::size_t>(n)].ListDisplayText);
    const double x = p.LeftMargin + (n - 1) / list_rows * step, y = p.ColumnListTop + (n - 1) % list_rows * line;
    EXPECT_TRUE(FindAt(words, first, x, y)) << "entry " << n << " \"" << first << "\" at " << x << ", " << y;
  }
}

}  // namespace kivrel::testing
