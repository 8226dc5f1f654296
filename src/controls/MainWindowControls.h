#pragma once
// The controls of the main window frmKV_Puzzle: the row of command buttons, the puzzle
// picture, the statistics frame and the menus.
#include "controls/Declare.h"

// The formatter wraps this list differently on every run: it is left as it stands.
// clang-format off
#define KIVREL_MAIN_WINDOW_CONTROLS(X)                                                                                 \
  X(cmdAttributes)                                                                                                     \
  X(cmdBuild) X(cmdFillinBlanks) X(cmdOutlineWords) X(cmdViewMatches) X(cmdPrint) X(cmdViewList) X(cmdSavePuzzle)      \
      X(cmdCancel) X(cmdExit) X(picPuzzle) X(fraStats) X(lblWordCountLabel) X(lblWordCount) X(Label1) X(               \
          lblInsertedCount) X(Label2) X(lblRejectedCount) X(lblNbrLettersLabel) X(lblNbrLetters) X(lblNbrSpacesLabel)  \
          X(lblNbrSpaces) X(lblLettersRemainingLabel) X(lblLettersRemaining) X(lblRemainingLabel)                      \
              X(lblSpacesRemaining) X(Label3) X(lblMatches) X(lblRedrawnLabel) X(lblRedrawnCount) X(Label4)            \
                  X(lblDirectionLabel_0) X(lblDirectionLabel_1) X(lblDirectionLabel_2) X(lblDirectionLabel_3)          \
                      X(lblDirectionLabel_4) X(lblDirectionLabel_5) X(lblDirectionLabel_6) X(lblDirectionLabel_7)      \
                          X(lblDirection_0) X(lblDirection_1) X(lblDirection_2) X(lblDirection_3) X(lblDirection_4)    \
                              X(lblDirection_5) X(lblDirection_6) X(lblDirection_7) X(mnuFile) X(mnuNewList)           \
                                  X(mnuOpenList) X(mnuOpenExampleList) X(mnuSaveList) X(mnuSaveListAs) X(mnuSep1)      \
                                      X(mnuNewQuotation) X(mnuOpenQuotation) X(mnuSaveQuotation) X(mnuSaveQuotationAs) \
                                          X(mnuSepQuotation) X(mnuOpenPuzzle) X(mnuSavePuzzle) X(mnuSavePuzzleAs)      \
                                              X(mnuSep2) X(mnuPrint) X(mnuExportPage) X(mnuSep3) X(mnuExit) X(mnuEdit) \
                                                  X(mnuUndo) X(mnuRedo) X(mnuPuzzle) X(mnuAttributes) X(mnuBuild)      \
                                                      X(mnuFillinBlanks) X(mnuOutlineWords) X(mnuViewMatches)          \
                                                          X(mnuViewList) X(mnuViewPuzzle) X(mnuOptions) X(mnuSound)    \
                                                              X(mnuUpperCase) X(mnuNoDuplicates) X(mnuLowerCase)       \
                                                                  X(mnuAvoidWords) X(mnuHelp) X(mnuAbout)
// clang-format on

namespace kivrel::frmKV_Puzzle {

KIVREL_DECLARE_WINDOW(frmKV_Puzzle, KIVREL_MAIN_WINDOW_CONTROLS)

/// The statistics' words per direction: the count of direction d is lblDirection[d - 1],
/// its caption lblDirectionLabel[d - 1].
inline constexpr ControlArray<8> lblDirection{{lblDirection_0, lblDirection_1, lblDirection_2, lblDirection_3,
                                               lblDirection_4, lblDirection_5, lblDirection_6, lblDirection_7}};
inline constexpr ControlArray<8> lblDirectionLabel{{lblDirectionLabel_0, lblDirectionLabel_1, lblDirectionLabel_2,
                                                    lblDirectionLabel_3, lblDirectionLabel_4, lblDirectionLabel_5,
                                                    lblDirectionLabel_6, lblDirectionLabel_7}};

}  // namespace kivrel::frmKV_Puzzle

#undef KIVREL_MAIN_WINDOW_CONTROLS
