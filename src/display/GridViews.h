#pragma once
// The two views laid over the puzzle picture: the answer key (a capsule drawn around
// every placed word) and the junctions (the number of words through each shared cell,
// in red over the grey letter). OutlinesShown and JunctionsShown say what is on the
// picture; the commands toggle them.
#include "program/AppContext.h"

namespace kivrel {

/// Clears the picture and draws every letter again: red where a shown word covers the
/// cell, black elsewhere.
void RepaintGrid(AppContext& ctx);

/// RepaintGrid, then the outlines and the junctions again where they are shown.
void RedrawGrid(AppContext& ctx);

/// The outline of one placed word on a surface whose cells are `cell` twips square with
/// the top-left corner of cell (1, 1) at (left, top): two lines along the word and a
/// half circle of radius r around each end cell, on the side away from the word. The
/// ends are taken the same way round whichever way the word reads.
void DrawWordOutline(Surface& surface, const WordRecord& word, double left, double top, double cell, double r,
                     float pi);

/// Draws, in black over the letters, the outline of every placed word: two lines
/// along the word and a half circle around each end cell.
void DrawWordOutlines(AppContext& ctx);

/// Over every cell that two or more words pass through: the letter in grey, then the
/// number of words in red on top of it.
void ShowJunctions(AppContext& ctx);

/// The outline command: repaints the plain grid when the outlines are shown,
/// otherwise draws them.
void ToggleOutlines(AppContext& ctx);

/// The junction command (with the hourglass pointer on the main window): shows the
/// junctions, or repaints the grid (outlines included when they are on) to hide them.
void ToggleJunctions(AppContext& ctx);

}  // namespace kivrel
