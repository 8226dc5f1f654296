// The directions a build places words in, over 200 seeds of the animals list, with and
// without diagonals and balance.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "BuildHelpers.h"
#include "ReferenceFinder.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "files/WordListFile.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::ExpectConsistent;
using testing::GridText;
using testing::ReferenceFinder;
using testing::TestApp;

constexpr std::uint64_t kSeeds = 200;

// The animals list at its 15 x 15, with the options seed by seed.
void SetUpAnimals(TestApp& app, std::uint64_t seed) {
  static const ParsedWordList animals =
      *ParseWordList(ReadWholeFile(std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl").ValueOr(""));
  StartUp(app.ctx, seed);
  ASSERT_TRUE(LoadWordList(app.ctx, animals, nullptr));
  app.ctx.state.IncludeDiagonals = static_cast<i16>(seed % 2);
  app.ctx.state.BalanceDirections = static_cast<i16>(seed / 2 % 2);
}

// Everything a build leaves, as one line: the options, and a digest of the grid, of each
// word's place and status, of the counts and of the random draw that comes next.
std::string BuildLine(TestApp& app, std::uint64_t seed) {
  const PuzzleState& s = app.ctx.state;
  std::ostringstream text;
  text << GridText(s);
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& w = s.Words[static_cast<std::size_t>(i)];
    text << w.Status << ' ' << w.StartRow << ' ' << w.StartCol << ' ' << w.Direction << '\n';
  }
  for (int d = 1; d <= kDirectionCount; ++d) text << s.DirectionWordCount[static_cast<std::size_t>(d)] << ' ';
  text << s.InsertedCount << ' ' << s.RejectedCount << ' ' << s.JunctionCount << ' ' << app.ctx.rng.Next();
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const char byte : text.str()) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ULL;
  char line[80];
  std::snprintf(line, sizeof line, "%llu %d %d %016llx", static_cast<unsigned long long>(seed), s.IncludeDiagonals,
                s.BalanceDirections, static_cast<unsigned long long>(hash));
  return line;
}

TEST(BuildDirections, WithBackwardsWordsEachSeedBuildsThePuzzleItAlwaysBuilt) {
  std::ifstream golden(std::string(KIVREL_TEST_DATA_DIR) + "/seeded-builds.txt");
  ASSERT_TRUE(golden) << "tests/data/seeded-builds.txt";
  for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
    TestApp app;
    SetUpAnimals(app, seed);
    ASSERT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
    std::string expected;
    std::getline(golden, expected);
    ASSERT_EQ(BuildLine(app, seed), expected);
  }
}

TEST(BuildDirections, WithoutBackwardsWordsEveryWordReadsLeftToRightOrTopToBottom) {
  std::array<int, 9> placed{};
  for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    TestApp app, plain;
    for (TestApp* a : {&app, &plain}) {
      SetUpAnimals(*a, seed);
      a->ctx.state.BackwardsWords = 0;
    }
    ASSERT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
    ExpectConsistent(app.ctx);
    const PuzzleState& s = app.ctx.state;
    for (int i = 1; i <= s.WordsUpperBound(); ++i) {
      const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
      if (word.Status != kStatusPlaced) continue;
      ++placed[static_cast<std::size_t>(word.Direction)];
      if (s.IncludeDiagonals == 0) {
        EXPECT_LE(word.Direction, 4) << word.Text;
      }
    }
    // The plain scan agrees, draw for draw.
    ReferenceFinder reference;
    BuildLimits limits;
    limits.Finder = &reference;
    ASSERT_EQ(BuildPuzzle(plain.ctx, limits).End, BuildEnd::Finished);
    ASSERT_EQ(GridText(plain.ctx.state), GridText(s));
    ASSERT_EQ(plain.ctx.rng.Next(), app.ctx.rng.Next());
  }
  // Right, Down, Down-Right and Up-Right all take words; the other four none.
  for (int d = 1; d <= kDirectionCount; ++d) {
    EXPECT_EQ(placed[static_cast<std::size_t>(d)] > 0, d % 2 == 1) << kDirectionNames[d];
  }
}

}  // namespace
}  // namespace kivrel
