// The web page's text: what the puzzle's own words may do to it, where the print options
// put the blocks, and the grid's rows. How the page plays is tested in a browser
// (tests/web/solve_in_browser.py).
#include <gtest/gtest.h>

#include <string>

#include "HandPlaced.h"
#include "TestApp.h"
#include "model/Text.h"
#include "print/WebPage.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

class WebPageTest : public ::testing::Test {
 protected:
  WebPageTest() { StartUp(ctx, 1); }

  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
  }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
};

// Titles, instructions, entries and font names are the user's text: they cannot end the
// script or the style sheet, add markup, or leave bytes a page may not hold.
TEST_F(WebPageTest, TheUsersTextStaysText) {
  testing::MakeGrid(ctx, 6, 3);
  testing::SetTitle(ctx, "Cats </script><script>alert(1)</script> & \"dogs\"");
  ctx.state.PuzzleInstructions = "Find <b>them</b>.\r\nAll of them.\r\n\r\nGood\tluck \x01\xFF!";
  testing::PlaceWord(ctx, "CAT [<i>pet</i>]", 1, 1, 1);
  ctx.fonts(kTitleFont).FontName = "Evil\"}</style><script>alert(2)</script>";
  const std::string page = WebPage(ctx);

  EXPECT_TRUE(IsValidUtf8(page));
  EXPECT_EQ(std::make_tuple(Count(page, "<script"), Count(page, "</style>"), Count(page, "<b>"), Count(page, "\x01")),
            std::make_tuple(1, 1, 0, 0));
  EXPECT_NE(page.find("<h1>Cats &lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;dogs&quot;</h1>"),
            std::string::npos);
  // A line break joins lines; an empty line starts a paragraph.
  EXPECT_NE(page.find("<p>Find &lt;b&gt;them&lt;/b&gt;. All of them.</p>\n<p>Good luck !</p>"), std::string::npos);
  EXPECT_NE(page.find("<li id=\"w1\">CAT <span class=\"note\">&lt;i&gt;pet&lt;/i&gt;</span></li>"), std::string::npos);
  EXPECT_NE(page.find("font-family:\"Evil\\\"}\\3c /style>"), std::string::npos);
}

// Each row is one text whose letters stand at their own cells' middles; a blank cell
// keeps its place empty, and an empty row writes nothing.
TEST_F(WebPageTest, GridRowsPlaceEachLetterInItsColumn) {
  testing::MakeGrid(ctx, 4, 3);
  testing::PlaceWord(ctx, "ÉTÉ", 1, 1, 1);
  testing::PlaceWord(ctx, "ÉX", 1, 3, 3);
  ctx.state.Grid.At(1, 4).Letter = "Q";
  const std::string page = WebPage(ctx);
  EXPECT_NE(page.find("<text x=\"5 15 25 35\" y=\"7.5\">ÉTÉQ</text>\n<text x=\"25\" y=\"17.5\">X</text>\n</g>"),
            std::string::npos);
  EXPECT_NE(page.find("viewBox=\"0 0 40 30\" data-rows=\"3\" data-cols=\"4\""), std::string::npos);

  // In lower case the letters and the list change, and nothing else: the places stay.
  ctx.MainForm().SetChecked(frmKV_Puzzle::mnuLowerCase, true);
  std::string lower = WebPage(ctx);
  const std::pair<const char*, const char*> changes[] = {
      {">ÉTÉQ<", ">étéq<"}, {">X<", ">x<"}, {"\">ÉTÉ</li>", "\">été</li>"}, {"\">ÉX</li>", "\">éx</li>"}};
  for (auto [capitals, small] : changes) {
    const std::size_t at = lower.find(small);
    ASSERT_NE(at, std::string::npos) << small;
    lower.replace(at, std::string_view(small).size(), capitals);
  }
  EXPECT_EQ(lower, page);
}

// Where the word list goes, as the print options place it on paper: below the grid,
// above it when the grid is at the bottom, beside it when asked and the grid is not at
// the left; and nothing the options leave off. A word the build gave up on keeps the
// direction it last tried: it is no answer.
TEST_F(WebPageTest, TheBlocksFollowThePrintOptions) {
  testing::MakeSeaPuzzle(ctx);
  ctx.state.Words[static_cast<std::size_t>(testing::AddUnplacedWord(ctx, "YAK"))].Direction = 2;
  const std::tuple<VerticalPlace, Align, i16, i16, i16, i16, const char*> cases[] = {
      {VerticalPlace::Middle, Align::Right, 1, 0, 1, 1, "side"},
      {VerticalPlace::Top, Align::Left, 1, 0, 1, 0, "below"},  // no room at the left margin
      {VerticalPlace::Bottom, Align::Center, 0, 1, 0, 1, "above"}};
  for (const auto& c : cases) {
    PrintOptions& o = ctx.print;
    o.PuzzleVertical = std::get<0>(c);
    o.PuzzleHorizontal = std::get<1>(c);
    o.Left = std::get<2>(c);
    o.Above = std::get<3>(c);
    o.PrintWordList = std::get<4>(c);
    o.PrintInstructions = std::get<5>(c);
    const std::string page = WebPage(ctx);
    SCOPED_TRACE(std::get<6>(c));
    EXPECT_NE(page.find("<div class=\"layout " + std::string(std::get<6>(c)) + "\">"), std::string::npos);
    EXPECT_EQ(std::make_tuple(page.find("<li id=\"w6\">SHARK</li>") != std::string::npos,
                              page.find("<p>Find every creature") != std::string::npos,
                              page.find("0 of 6 found") != std::string::npos),
              std::make_tuple(o.PrintWordList != 0, o.PrintInstructions != 0, true));
  }
}

}  // namespace
}  // namespace kivrel
