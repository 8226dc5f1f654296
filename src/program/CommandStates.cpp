#include "program/CommandStates.h"

#include <initializer_list>

#include "program/Statistics.h"

namespace kivrel {

namespace {

enum State { kBuilding, kPuzzleReady, kListReady, kEmptyList };

struct Row {
  std::initializer_list<Control> controls;
  bool on[4];  // Building, PuzzleReady, ListReady, EmptyList
};

// Main window controls set by each state.
const Row kMainRows[] = {
    {{frmKV_Puzzle::mnuAttributes, frmKV_Puzzle::cmdAttributes}, {false, true, true, false}},
    {{frmKV_Puzzle::mnuBuild, frmKV_Puzzle::cmdBuild}, {false, true, true, false}},
    {{frmKV_Puzzle::mnuFillinBlanks, frmKV_Puzzle::cmdFillinBlanks}, {false, true, false, false}},
    {{frmKV_Puzzle::mnuOutlineWords, frmKV_Puzzle::cmdOutlineWords}, {false, true, false, false}},
    {{frmKV_Puzzle::mnuPrint, frmKV_Puzzle::cmdPrint, frmKV_Puzzle::mnuExportPage}, {false, true, false, false}},
    {{frmKV_Puzzle::mnuSaveList, frmKV_Puzzle::mnuSaveListAs}, {false, true, true, false}},
    {{frmKV_Puzzle::mnuSavePuzzle, frmKV_Puzzle::mnuSavePuzzleAs, frmKV_Puzzle::cmdSavePuzzle},
     {false, true, false, false}},
    {{frmKV_Puzzle::mnuViewMatches, frmKV_Puzzle::cmdViewMatches}, {false, true, false, false}},
    {{frmKV_Puzzle::mnuViewList, frmKV_Puzzle::cmdViewList}, {false, true, true, false}},
    {{frmKV_Puzzle::cmdCancel}, {false, false, false, false}},
};

// Word list window controls set by each state.
const Row kWordListRows[] = {
    {{frmWordList::cmdAdd}, {false, false, false, true}},
    {{frmWordList::cmdClear, frmWordList::cmdSave, frmWordList::cmdSort}, {true, true, true, false}},
    {{frmWordList::cmdRemove, frmWordList::cmdReplace, frmWordList::cmdShowWord, frmWordList::cmdHideAll},
     {false, false, false, false}},
};

void Apply(AppContext& ctx, State state) {
  Form& main = ctx.MainForm();
  for (const Row& row : kMainRows) {
    for (auto control : row.controls) main.SetEnabled(control, row.on[state]);
  }
  Form& list = ctx.WordListForm();
  for (const Row& row : kWordListRows) {
    for (auto control : row.controls) list.SetEnabled(control, row.on[state]);
  }
  if (state == kEmptyList) list.SetDefault(frmWordList::cmdAdd, true);
}

}  // namespace

void SetBuildingState(AppContext& ctx) { Apply(ctx, kBuilding); }
void SetPuzzleReadyState(AppContext& ctx) { Apply(ctx, kPuzzleReady); }
void SetListReadyState(AppContext& ctx) { Apply(ctx, kListReady); }
void SetEmptyListState(AppContext& ctx) { Apply(ctx, kEmptyList); }

void ClearPuzzle(AppContext& ctx) {
  ctx.state.PuzzleWidth = 0;
  ctx.state.PuzzleHeight = 0;
  ctx.MainForm().SetVisible(frmKV_Puzzle::picPuzzle, false);
  ctx.picture->Cls();
  SetListReadyState(ctx);
  ClearStatistics(ctx);
  ctx.state.PuzzleBuilt = kFalse;
  ctx.state.PuzzleChanged = kFalse;
}

}  // namespace kivrel
