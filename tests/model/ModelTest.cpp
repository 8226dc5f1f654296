// The model under everything: forms and their controls, numbers as the windows read and
// show them, the words of entries, UTF-8 text and the letter grid.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "DataTable.h"
#include "controls/Declare.h"
#include "controls/MainWindowControls.h"
#include "model/Numbers.h"
#include "model/PuzzleState.h"
#include "model/Text.h"

// clang-format off
#define KIVREL_TEST_WINDOW_CONTROLS(X) \
  X(txtName) X(radLeft) X(radRight) X(cmdGo) X(cmdAdd) X(cmdBuild) X(cmdCancel) X(lblCount)
// clang-format on

namespace kivrel::frmTest {
KIVREL_DECLARE_WINDOW(frmTest, KIVREL_TEST_WINDOW_CONTROLS)
}  // namespace kivrel::frmTest

namespace kivrel {
namespace {

using namespace frmTest;
using Heard = std::vector<std::pair<Control, Property>>;

// Listeners that do not wait hear every change at once; a hold passes only the net
// changes on to those who wait, when it is shown or released or before a focus change.
TEST(Form, AHoldPassesOnlyNetChangesToThoseWhoWait) {
  Form form(kWindow);
  Heard now, waited;
  form.Subscribe([&](Control control, Property p) { now.emplace_back(control, p); });
  form.Subscribe([&](Control control, Property p) { waited.emplace_back(control, p); }, true);
  form.SetText(lblCount, "12");
  form.SetDefault(cmdAdd, true);
  now.clear();
  waited.clear();
  form.HoldChanges();
  form.SetEnabled(cmdBuild, false);  // off and on again: never shown
  form.SetText(lblCount, "");
  form.SetEnabled(cmdBuild, true);
  form.SetText(lblCount, "12");
  form.SetEnabled(cmdCancel, false);  // a real change
  form.SetEnabled(cmdCancel, false);  // no change at all
  form.SetDefault(cmdGo, true);       // takes the default from cmdAdd
  form.SetCaption("Building");        // the window itself is never held
  EXPECT_EQ(now.size(), 8u);
  EXPECT_EQ(waited, (Heard{{Control{}, Property::Caption}}));
  form.SetFocus(txtName);
  EXPECT_EQ(waited, (Heard{{Control{}, Property::Caption},
                           {cmdCancel, Property::Enabled},
                           {cmdAdd, Property::Default},
                           {cmdGo, Property::Default},
                           {txtName, Property::Focus}}));
  waited.clear();
  form.SetText(lblCount, "13");
  form.ShowHeldChanges();  // as before events run
  form.SetText(lblCount, "12");
  form.ReleaseChanges();
  form.SetEnabled(cmdBuild, false);  // no hold: heard at once
  EXPECT_EQ(waited, (Heard{{lblCount, Property::Text}, {lblCount, Property::Text}, {cmdBuild, Property::Enabled}}));
}

// A listener removed while a change is heard hears no more of it (what it would tell may
// be gone); one added meanwhile hears from the next change on.
TEST(Form, AListenerRemovedWhileAChangeIsHeardHearsNoMore) {
  Form form(kWindow);
  std::vector<std::string> heard;
  int second = 0;
  form.Subscribe([&](Control, Property) {
    heard.push_back("first");
    if (second == 0) return;
    form.Unsubscribe(second);
    second = 0;
    form.Subscribe([&](Control, Property) { heard.push_back("added"); });
  });
  second = form.Subscribe([&](Control, Property) { heard.push_back("second"); });
  form.SetText(lblCount, "1");
  EXPECT_EQ(heard, std::vector<std::string>{"first"});
  form.SetText(lblCount, "2");
  EXPECT_EQ(heard, (std::vector<std::string>{"first", "first", "added"}));
}

// A control of another window, a name the window does not declare and an element past
// the end of a control array are all refused out loud.
TEST(Form, RefusesWhatIsNoControlOfItsWindow) {
  Form form(kWindow);
  const Control other = frmKV_Puzzle::cmdBuild;  // the same name in another window
  EXPECT_THROW(form.SetEnabled(other, false), std::invalid_argument);
  EXPECT_THROW(form.On(other, Event::Click, [] {}), std::invalid_argument);
  EXPECT_EQ(kWindow.Find("cmdGo"), cmdGo);
  EXPECT_THROW(kWindow.Get("cmdgo"), std::invalid_argument);
  const ControlArray<2> sides{{radLeft, radRight}};
  EXPECT_THROW(sides[2], std::out_of_range);
}

TEST(Numbers, RoundingReadingPicturesAndSixteenBits) {
  // Halves round to even; Val reads the leading number ("2e": no exponent digits); a
  // picture shows 0 only where it must and never cuts digits.
  EXPECT_EQ(std::make_tuple(Nearest(2.5), Nearest(-3.5), Nearest(std::nan("")), Nearest(1e300), Int(-0.5)),
            std::make_tuple(2, -4, 0, std::numeric_limits<int>::max(), -1));
  EXPECT_EQ(std::make_tuple(Val(".5\""), Val("  -3abc"), Val("1.5.3"), Val("2e3x"), Val("2e"), Val("-")),
            std::make_tuple(0.5, -3.0, 1.5, 2000.0, 2.0, 0.0));
  EXPECT_TRUE(IsNumeric(" 3.5 ") && !IsNumeric("  ") && !IsNumeric("12a"));
  EXPECT_EQ(FormatPicture(0, "####") + "," + FormatPicture(0, "###0") + "," + FormatPicture(-12345, "##"), ",0,-12345");
  EXPECT_EQ(FormatMargin(0.5) + "," + FormatMargin(10.333) + "," + FormatMargin(0.999), ".5,10.33,1.0");
  // Sixteen-bit counts never wrap, nor do grids pass them.
  EXPECT_TRUE(FitI16(-32768) == -32768 && !FitI16(32768));
  EXPECT_THROW(CheckedI16(40000), CountOverflow);
  EXPECT_TRUE(GridSizeFits(32767, 1) && !GridSizeFits(200, 200) && !GridSizeFits(-1, 5));
  LetterGrid grid;
  EXPECT_THROW(grid.Create(200, 200), std::invalid_argument);
  grid.Create(3, 1);  // rows and columns count from 1; row and column 0 are there, unused
  EXPECT_TRUE(grid.At(0, 0).Letter.empty() && !grid.Contains(0, 1) && grid.Contains(3, 1));
  EXPECT_THROW(grid.At(1, 2), std::out_of_range);
  // Emptied again at the same size, whether its letters were written or copied in.
  grid.At(2, 1).Letter = "A";
  grid.Create(3, 1);
  grid.Create(3, 1);
  LetterGrid written = grid;
  written.At(1, 1).Letter = "B";
  EXPECT_TRUE(std::as_const(grid).At(2, 1).Letter.empty());
  grid = written;
  grid.Create(3, 1);
  EXPECT_TRUE(std::as_const(grid).At(1, 1).Letter.empty());
  written.At(1, 1).Letter.clear();  // empty again, cell by cell: the same grid
  EXPECT_EQ(written, grid);
}

// An entry, the word it shows and the word it places: the table in
// tests/data/entry-words.txt. Malformed UTF-8 decodes as replacement characters.
TEST(Text, TheWordOfAnEntryAndMalformedUtf8) {
  const std::vector<std::string> rows = DataTableRows("entry-words.txt");
  ASSERT_EQ(rows.size(), 7u);
  for (const std::string& row : rows) {
    const std::string entry = row.substr(0, row.find('\t'));
    EXPECT_EQ(ExtractWord(entry) + "\t" + PlacedWord(entry), row.substr(entry.size() + 1)) << entry;
  }
  EXPECT_EQ(ToUpper("apple é ÿ š ÷") + ToLower("É Ÿ Š"), "APPLE É Ÿ Š ÷é ÿ š");  // ÷ is not a letter
  std::size_t pos = 1;
  EXPECT_EQ(DecodeUtf8("A\xC3", pos), U'\xFFFD');  // the text ends inside a two-byte character
  EXPECT_EQ(std::make_tuple(pos, CharCount("A\xC3"), CharCount("\xC0\xAF")), std::make_tuple(2ul, 2ul, 2ul));
  EXPECT_EQ(CharAt("aéb", 2) + CharAt("ab", 3), "é");
  EXPECT_EQ(Trim("  \ta b  "), "\ta b");  // spaces only
  EXPECT_EQ(SomeWords({"ANT", "BEE", "CAT"}, 2) + "/" + SomeWords({"ANT"}, 2), "ANT, BEE and 1 more/ANT");
}

}  // namespace
}  // namespace kivrel
