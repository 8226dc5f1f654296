#include "PdfWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>

#include "model/Numbers.h"

namespace kivrel::testing {

namespace {

std::string Bbox(const std::string& path) {
  std::string command = "pdftotext -bbox '" + path + "' - 2>/dev/null";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

}  // namespace

std::vector<std::pair<double, double>> ReadPdfPageSizes(const std::string& path) {
  const std::string output = Bbox(path);
  static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
  std::vector<std::pair<double, double>> sizes;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), page); it != std::sregex_iterator(); ++it) {
    sizes.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
  }
  return sizes;
}

std::vector<std::vector<PdfWord>> ReadPdfWords(const std::string& path) {
  const std::string output = Bbox(path);
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
  // The title's first word starts its first line, in the title's block.
  const bool title_found = std::any_of(words.begin(), words.end(), [&](const PdfWord& word) {
    return word.text == FirstWord(title) && std::fabs(word.yMin - p.TopMargin / 20.0) <= kTolerance &&
           word.xMin >= p.TitleX / 20.0 - kTolerance && word.xMax <= (p.TitleX + p.TitleWidth) / 20.0 + kTolerance;
  });
  EXPECT_TRUE(title_found) << "title from " << p.TitleX << ", " << p.TopMargin;

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

  // The list: every entry (its first word) inside the list's blocks, in list order: down
  // the side list, then down each column, the columns left to right.
  std::vector<Rect> blocks;
  for (const PageBlock* block : {&ctx.printed.SideList, &ctx.printed.ColumnList}) {
    if (block->Shown) blocks.push_back(block->Bounds);
  }
  if (blocks.empty()) return;  // no list on this page
  auto in_blocks = [&](const PdfWord& word) {
    for (const Rect& b : blocks) {
      if (word.xMin >= b.Left / 20.0 - kTolerance && word.yMin >= b.Top / 20.0 - kTolerance &&
          word.xMax <= (b.Left + b.Width) / 20.0 + kTolerance && word.yMax <= (b.Top + b.Height) / 20.0 + kTolerance) {
        return true;
      }
    }
    return false;
  };
  double x = -1, y = -1;  // where the entry before stands
  for (int n = 1; n <= s.InsertedCount; ++n) {
    const std::string first = FirstWord(s.Words[static_cast<std::size_t>(n)].ListDisplayText);
    const PdfWord* next = nullptr;
    for (const PdfWord& word : words) {
      const bool after =
          word.xMin > x + kTolerance || (std::fabs(word.xMin - x) <= kTolerance && word.yMin > y + kTolerance);
      if (word.text != first || !after || !in_blocks(word)) continue;
      if (!next || word.xMin < next->xMin - kTolerance ||
          (std::fabs(word.xMin - next->xMin) <= kTolerance && word.yMin < next->yMin)) {
        next = &word;
      }
    }
    ASSERT_TRUE(next) << "entry " << n << " \"" << first << "\" in the list's blocks, after " << x << ", " << y;
    x = next->xMin;
    y = next->yMin;
  }
}

}  // namespace kivrel::testing
