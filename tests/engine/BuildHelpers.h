#pragma once
// Shared set-up and checks of the build tests.
#include <cstdint>
#include <string>
#include <vector>

#include "TestApp.h"

namespace kivrel::testing {

/// A program after start-up (seeded) with a word list and a puzzle size, the default
/// build options, and the sound mark on.
void SetUpPuzzle(TestApp& app, const std::vector<std::string>& words, int width, int height, std::uint64_t seed);

/// The grid as text, one line per row, "." for an empty cell.
std::string GridText(const PuzzleState& s);

/// A short hash of everything a build leaves: the grid, each word's place and status,
/// the counts and the random draw that comes next.
std::string BuildDigest(const PuzzleState& s, Random rng);

/// Checks everything a build must leave consistent: each placed word reads from the
/// grid along its direction; every cell's UseCount and WordRefs are the placed words
/// through it in the order they were placed; the counters equal a recount and the
/// statistics panel shows them.
void ExpectConsistent(AppContext& ctx);

}  // namespace kivrel::testing
