#include "program/CommandStates.h"

#include <initializer_list>

#include "model/Numbers.h"
#include "program/LeftOutWords.h"

namespace kivrel {

namespace {

enum State { kBuilding, kPuzzleReady, kListReady, kEmptyList };

struct Row {
  std::initializer_list<std::string_view> controls;
  bool on[4];  // Building, PuzzleReady, ListReady, EmptyList
};

// Main window controls set by each state.
const Row kMainRows[] = {
    {{"mnuAttributes", "cmdAttributes"}, {false, true, true, false}},
    {{"mnuBuild", "cmdBuild"}, {false, true, true, false}},
    {{"mnuFillinBlanks", "cmdFillinBlanks"}, {false, true, false, false}},
    {{"mnuOutlineWords", "cmdOutlineWords"}, {false, true, false, false}},
    {{"mnuPrint", "cmdPrint", "mnuExportPage"}, {false, true, false, false}},
    {{"mnuSaveList", "mnuSaveListAs"}, {false, true, true, false}},
    {{"mnuSavePuzzle", "mnuSavePuzzleAs", "cmdSavePuzzle"}, {false, true, false, false}},
    {{"mnuViewMatches", "cmdViewMatches"}, {false, true, false, false}},
    {{"mnuViewList", "cmdViewList"}, {false, true, true, false}},
    {{"cmdCancel"}, {false, false, false, false}},
};

// Word list window controls set by each state.
const Row kWordListRows[] = {
    {{"cmdAdd"}, {false, false, false, true}},
    {{"cmdClear", "cmdSave", "cmdSort"}, {true, true, true, false}},
    {{"cmdRemove", "cmdReplace", "cmdShowWord", "cmdHideAll"}, {false, false, false, false}},
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
  if (state == kEmptyList) list.SetDefault("cmdAdd", true);
}

}  // namespace

std::string DirectionLabel(int index) { return "lblDirection_" + std::to_string(index); }

void SetBuildingState(AppContext& ctx) { Apply(ctx, kBuilding); }
void SetPuzzleReadyState(AppContext& ctx) { Apply(ctx, kPuzzleReady); }
void SetListReadyState(AppContext& ctx) { Apply(ctx, kListReady); }
void SetEmptyListState(AppContext& ctx) { Apply(ctx, kEmptyList); }

void ShowStatistic(AppContext& ctx, std::string_view label, long long value, std::string_view picture) {
  ShowStatistic(ctx.MainForm(), label, value, picture);
}

void ShowStatistic(Form& main, std::string_view label, long long value, std::string_view picture) {
  main.SetText(label, picture.empty() ? std::to_string(value) : FormatPicture(value, picture));
}

void ShowBuildCounters(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  Form& main = ctx.MainForm();
  ShowStatistic(main, kInsertedLabel, s.InsertedCount, kCountPicture);
  ShowStatistic(main, kRejectedLabel, s.RejectedCount, kCountPicture);
  ShowStatistic(main, kLettersRemainingLabel, s.LettersRemaining, kCountPicture);
  ShowStatistic(main, kSpacesRemainingLabel, s.SpacesRemaining, kCountPicture);
  ShowStatistic(main, kJunctionsLabel, s.JunctionCount, kJunctionPicture);
  for (int d = 1; d <= kDirectionCount; ++d) {
    ShowStatistic(main, DirectionLabel(d - 1), s.DirectionWordCount[static_cast<std::size_t>(d)], kCountPicture);
  }
}

void ClearStatistics(AppContext& ctx) {
  Form& main = ctx.MainForm();
  for (auto label : {kInsertedLabel, kRejectedLabel, kLettersLabel, kSpacesLabel, kLettersRemainingLabel,
                     kSpacesRemainingLabel, kJunctionsLabel, kRedrawnLabel}) {
    main.SetText(label, "");
  }
  for (int i = 0; i < kDirectionCount; ++i) main.SetText(DirectionLabel(i), "");
  ClearLeftOutWords(ctx);
}

void ClearPuzzle(AppContext& ctx) {
  ctx.state.PuzzleWidth = 0;
  ctx.state.PuzzleHeight = 0;
  ctx.MainForm().SetVisible("picPuzzle", false);
  ctx.picture->Cls();
  SetListReadyState(ctx);
  ClearStatistics(ctx);
  ctx.state.PuzzleBuilt = kFalse;
}

HeldWindowChanges::HeldWindowChanges(AppContext& ctx) : main_(&ctx.MainForm()), list_(&ctx.WordListForm()) {
  main_->HoldChanges();
  list_->HoldChanges();
}

void HeldWindowChanges::Show() {
  if (!main_) return;
  main_->ShowHeldChanges();
  list_->ShowHeldChanges();
}

void HeldWindowChanges::Release() {
  if (!main_) return;
  main_->ReleaseChanges();
  list_->ReleaseChanges();
  main_ = list_ = nullptr;
}

void SetWindowTitle(AppContext& ctx) {
  ctx.AttributesForm().SetText("txtPuzName", ctx.state.PuzzleTitle);
  ctx.MainForm().SetCaption("Kivrel Puzzle Maker - " + ctx.state.PuzzleTitle);
}

}  // namespace kivrel
