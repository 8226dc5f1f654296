// Seeded builds over the shipped animals list and over random lists, sizes and options:
// each leaves a consistent puzzle, and each makes exactly the puzzle it always made
// (tests/data/build-digests.txt; KIVREL_UPDATE_GOLDEN=1 writes it anew after a change
// of the build's decisions that is meant).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "BuildHelpers.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "files/WordListFile.h"
#include "model/Text.h"
#include "program/StartUp.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using namespace testing;

// A random case: few different letters make many crossings, ties and full cells; rows
// of 64 cells and more take the scanner's wide paths.
void SetUpRandom(TestApp& app, std::uint64_t seed, int width = 0, int height = 0) {
  Random r(seed * 7919 + 17);
  static const std::vector<std::string> kAlphabets = {"AB", "ABC", "ABCDE", "ETAOINSHRD", "A", "ÄÖ1A"};
  const std::u32string alphabet = Characters(kAlphabets[static_cast<std::size_t>(r.Below(6))]);
  static const std::pair<int, int> kSizes[] = {{5, 5},  {8, 6},  {3, 9},   {12, 12}, {1, 7},  {7, 1},
                                               {70, 4}, {4, 70}, {66, 66}, {2, 2},   {15, 15}};
  const auto [w, h] = kSizes[r.Below(11)];
  if (width == 0) width = w, height = h;
  std::vector<std::string> words(static_cast<std::size_t>(1 + r.Below(width * height > 1000 ? 120 : 30)));
  for (std::string& word : words) {
    std::u32string letters;
    for (int k = 1 + r.Below(std::min({width, height, 9})); k > 0; --k)
      letters += alphabet[static_cast<std::size_t>(r.Below(static_cast<int>(alphabet.size())))];
    word = Utf8(letters);
  }
  words.push_back("A");
  SetUpPuzzle(app, words, width, height, seed);
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = static_cast<i16>(r.Below(2));
  s.BalanceDirections = static_cast<i16>(r.Below(3) - 1);  // -1, 0 or 1: only 1 balances
  const int rule = r.Below(6);
  s.RestartOnFirstReject = rule == 1;
  s.StopOnFirstReject = rule == 2;
  if (rule >= 3) {
    s.StopRemainingOperator = rule == 3 ? "=" : rule == 4 ? "<" : "<=";
    s.StopRemainingCount = static_cast<i16>(r.Below(width * height / 2 + 1));
  }
}

TEST(SeededBuilds, EachSeedBuildsAConsistentPuzzleAndThePuzzleItAlwaysBuilt) {
  const ParsedWordList animals =
      *ParseWordList(ReadWholeFile(std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl").ValueOr(""));
  std::vector<std::string> lines;
  std::array<int, 9> forward_placed{};
  // The Build command with its window, and the engine alone watched by nobody: the same
  // puzzle, the same end and the same draws.
  auto build = [&](const std::string& name, TestApp& app, long long attempts) {
    SCOPED_TRACE(name);
    BuildLimits limits;
    limits.MaxAttempts = attempts;
    BuildWordTable(app.ctx);
    PuzzleState bare = app.ctx.state;
    Random bare_rng = app.ctx.rng;
    const BuildOutcome outcome = BuildPuzzle(app.ctx, limits);
    ASSERT_NE(outcome.End, BuildEnd::NotStarted);
    ExpectConsistent(app.ctx);
    const std::string digest = BuildDigest(app.ctx.state, app.ctx.rng);
    BuildProgress nobody;
    const BuildOutcome unseen = RunBuild(bare, bare_rng, nobody, limits);
    EXPECT_TRUE(unseen.End == outcome.End && unseen.Attempts == outcome.Attempts && bare.Words == app.ctx.state.Words);
    EXPECT_EQ(BuildDigest(bare, bare_rng), digest);
    lines.push_back(name + " " + std::to_string(static_cast<int>(outcome.End)) + " " +
                    std::to_string(outcome.Attempts) + " " + digest);
  };
  // The animals list at its 15 x 15, with diagonals and balance seed by seed, with and
  // without backwards words.
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    for (i16 backwards : {1, 0}) {
      TestApp app;
      StartUp(app.ctx, seed);
      ASSERT_TRUE(LoadWordList(app.ctx, animals, nullptr));
      app.ctx.state.IncludeDiagonals = static_cast<i16>(seed % 2);
      app.ctx.state.BalanceDirections = static_cast<i16>(seed / 2 % 2);
      app.ctx.state.BackwardsWords = backwards;
      build((backwards ? "animals " : "forward ") + std::to_string(seed), app, 0);
      for (const WordRecord& word : app.ctx.state.Words) {
        if (!backwards && word.Status == kStatusPlaced) ++forward_placed[static_cast<std::size_t>(word.Direction)];
      }
    }
  }
  for (std::uint64_t seed = 1; seed <= 400; ++seed) {
    TestApp app;
    SetUpRandom(app, seed);
    build("random " + std::to_string(seed), app, 4);
  }
  for (auto [w, h] : {std::pair{64, 3}, std::pair{3, 64}, std::pair{64, 64}}) {
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
      TestApp app;
      SetUpRandom(app, seed, w, h);
      build("wide " + std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(seed), app, 4);
    }
  }
  // Without backwards words: Right, Down, Down-Right and Up-Right all take words; the
  // other four none.
  for (int d = 1; d <= kDirectionCount; ++d) {
    EXPECT_EQ(forward_placed[static_cast<std::size_t>(d)] > 0, d % 2 == 1) << kDirectionNames[d];
  }

  if (std::getenv("KIVREL_UPDATE_GOLDEN")) {
    std::ofstream out(std::string(KIVREL_TEST_DATA_DIR) + "/build-digests.txt");
    for (const std::string& line : lines) out << line << '\n';
  }
  std::ifstream golden(std::string(KIVREL_TEST_DATA_DIR) + "/build-digests.txt");
  for (const std::string& line : lines) {
    std::string expected;
    std::getline(golden, expected);
    ASSERT_EQ(line, expected) << "a seeded build made another puzzle than it always made";
  }
}

}  // namespace
}  // namespace kivrel
