#pragma once
// What the word list window frmWordList does: typing, adding, replacing, removing,
// clearing, sorting and saving entries, and highlighting single placed words on the
// puzzle; and the main window's New List and View List commands that open it. The
// entries live in ctx.list; the window's combo box shows them and reports the user's
// typing and picking to it.
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

inline constexpr std::string_view kShowWordCaption = "Show &Word";
inline constexpr std::string_view kHideWordCaption = "Hide &Word";

class WordListWindow {
 public:
  /// Registers the handlers on the word list window's form, the list model, and the
  /// main window's New List and View List items. The context must outlive this object.
  explicit WordListWindow(AppContext& ctx);
  WordListWindow(const WordListWindow&) = delete;
  WordListWindow& operator=(const WordListWindow&) = delete;

  /// The user picked entry p in the list: the edit field shows it and it is selected.
  void SelectEntry(int p);

  void Form_Load();
  /// Each activation brings the word count up to date. (The file name label is set by
  /// the commands that change the name, so activation leaves it.)
  void Form_Activate();
  void cboWordList_Change();
  void cboWordList_Click();
  void cboWordList_GotFocus();
  void cmdAdd_Click();
  void cmdReplace_Click();
  void cmdRemove_Click();
  void cmdClear_Click();
  void cmdSave_Click();
  void cmdSort_Click();
  void cmdShowWord_Click();
  void cmdHideAll_Click();
  void cmdClose_Click();

  /// File > New List: after the save prompt, an empty list in a shown window.
  void mnuNewList_Click();
  /// Puzzle > View List: shows the window, restored when it was minimised.
  void mnuViewList_Click();

 private:
  Form& form() { return ctx_.WordListForm(); }
  /// The selection handlers; `got_focus` gives the focus variant.
  void SelectionChanged(bool got_focus);
  /// After the whole list was emptied or reordered: nothing selected, Add the default.
  void ListReplaced();
  /// Sets the edit field without raising its Change handler.
  void SetEditTextQuietly(const std::string& text);

  AppContext& ctx_;
  bool quiet_ = false;
};

}  // namespace kivrel
