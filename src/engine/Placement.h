#pragma once
// Writing words into the grid: the random place of the first word, and inserting a word
// at the place the search found.
#include "model/PuzzleState.h"
#include "model/Random.h"

namespace kivrel {

/// Chooses CurrentRow and CurrentCol at random so that a word of CurrentWordLength
/// letters in CurrentDirection lies inside the grid (two draws, the coordinate the
/// direction moves along last).
void PlaceFirstWord(PuzzleState& state, Random& rng);

/// Writes the current word (CurrentWordIndex) at CurrentRow, CurrentCol in
/// CurrentDirection: each cell takes its letter (an empty one counts off SpacesRemaining),
/// every letter counts off LettersRemaining, and each cell records the word. Marks the
/// word placed and counts it: DirectionWordCount, InsertedCount, JunctionCount +
/// BestCrossings.
void InsertWord(PuzzleState& state);

}  // namespace kivrel
