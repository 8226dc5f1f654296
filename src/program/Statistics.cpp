#include "program/Statistics.h"

#include "model/Numbers.h"
#include "program/LeftOutWords.h"

namespace kivrel {

void ShowStatistic(AppContext& ctx, Control label, long long value, std::string_view picture) {
  ShowStatistic(ctx.MainForm(), label, value, picture);
}

void ShowStatistic(Form& main, Control label, long long value, std::string_view picture) {
  main.SetText(label, picture.empty() ? std::to_string(value) : FormatPicture(value, picture));
}

void ShowBuildCounters(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  Form& main = ctx.MainForm();
  ShowStatistic(main, frmKV_Puzzle::lblInsertedCount, s.InsertedCount, kCountPicture);
  ShowStatistic(main, frmKV_Puzzle::lblRejectedCount, s.RejectedCount, kCountPicture);
  ShowStatistic(main, frmKV_Puzzle::lblLettersRemaining, s.LettersRemaining, kCountPicture);
  ShowStatistic(main, frmKV_Puzzle::lblSpacesRemaining, s.SpacesRemaining, kCountPicture);
  ShowStatistic(main, frmKV_Puzzle::lblMatches, s.JunctionCount, kJunctionPicture);
  for (int d = 1; d <= kDirectionCount; ++d) {
    ShowStatistic(main, frmKV_Puzzle::lblDirection[d - 1], s.DirectionWordCount[static_cast<std::size_t>(d)],
                  kCountPicture);
  }
}

void ClearStatistics(AppContext& ctx) {
  Form& main = ctx.MainForm();
  for (Control label : {frmKV_Puzzle::lblInsertedCount, frmKV_Puzzle::lblRejectedCount, frmKV_Puzzle::lblNbrLetters,
                        frmKV_Puzzle::lblNbrSpaces, frmKV_Puzzle::lblLettersRemaining, frmKV_Puzzle::lblSpacesRemaining,
                        frmKV_Puzzle::lblMatches, frmKV_Puzzle::lblRedrawnCount}) {
    main.SetText(label, "");
  }
  for (Control label : frmKV_Puzzle::lblDirection) main.SetText(label, "");
  ClearLeftOutWords(ctx);
}

}  // namespace kivrel
