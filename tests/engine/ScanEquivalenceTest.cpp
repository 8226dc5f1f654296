// The line scanner against the plain scan, and the invariants of finished builds, over
// many seeds, sizes, word lists and options.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "BuildHelpers.h"
#include "ReferenceFinder.h"
#include "commands/BuildCommands.h"
#include "engine/LineScanner.h"
#include "model/Text.h"

// Every allocation of the test program is counted, so a test can show that a stretch of
// code makes none.
namespace {
std::atomic<long> g_allocations{0};
}
void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// These are the replacements of the global operators; GCC cannot tell them apart from
// a mismatched pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace kivrel {
namespace {

using testing::ExpectConsistent;
using testing::GridText;
using testing::ReferenceFinder;
using testing::SetUpPuzzle;
using testing::TestApp;

struct Case {
  std::vector<std::string> words;
  int width = 0, height = 0;
  i16 diagonals = 1, balance = 1, restart = 0, stop = 0;
  std::string op;
  i16 remaining = -1;
};

// A random case: few different letters make many crossings, ties and full cells.
Case MakeCase(std::uint64_t seed) {
  Random r(seed * 7919 + 17);
  static const std::vector<std::string> kAlphabets = {"AB", "ABC", "ABCDE", "ETAOINSHRD", "A", "ÄÖ1A"};
  const std::string& alphabet = kAlphabets[static_cast<std::size_t>(r.Below(static_cast<int>(kAlphabets.size())))];
  std::vector<std::string> letters;
  for (std::size_t pos = 0; pos < alphabet.size();) {
    std::size_t start = pos;
    DecodeUtf8(alphabet, pos);
    letters.push_back(alphabet.substr(start, pos - start));
  }
  static const std::vector<std::pair<int, int>> kSizes = {{5, 5},  {8, 6},  {3, 9},   {12, 12}, {1, 7},  {7, 1},
                                                          {70, 4}, {4, 70}, {66, 66}, {2, 2},   {15, 15}};
  Case c;
  std::tie(c.width, c.height) = kSizes[static_cast<std::size_t>(r.Below(static_cast<int>(kSizes.size())))];
  const int w = c.width, h = c.height;
  const int longest = std::min({w, h, 9});
  const int count = 1 + r.Below(w * h > 1000 ? 120 : 30);
  for (int i = 0; i < count; ++i) {
    std::string word;
    const int length = 1 + r.Below(longest);
    for (int k = 0; k < length; ++k)
      word += letters[static_cast<std::size_t>(r.Below(static_cast<int>(letters.size())))];
    c.words.push_back(word);
  }
  c.diagonals = static_cast<i16>(r.Below(2));
  c.balance = static_cast<i16>(r.Below(3) - 1);  // -1, 0 or 1: only 1 balances
  const int rule = r.Below(6);
  c.restart = rule == 1;
  c.stop = rule == 2;
  if (rule >= 3) {
    c.op = rule == 3 ? "=" : rule == 4 ? "<" : "<=";
    c.remaining = static_cast<i16>(r.Below(w * h / 2 + 1));
  }
  return c;
}

struct Result {
  BuildOutcome outcome;
  PuzzleState state;
  int yields = 0;
  float next_draw = 0;
};

Result Build(const Case& c, std::uint64_t seed, PlaceFinder* finder) {
  TestApp app;
  SetUpPuzzle(app, c.words, c.width, c.height, seed);
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = c.diagonals;
  s.BalanceDirections = c.balance;
  s.RestartOnFirstReject = c.restart;
  s.StopOnFirstReject = c.stop;
  s.StopRemainingOperator = c.op;
  s.StopRemainingCount = c.remaining;
  BuildLimits limits;
  limits.MaxAttempts = 4;
  limits.Finder = finder;
  Result result;
  result.outcome = BuildPuzzle(app.ctx, limits);
  EXPECT_NE(result.outcome.End, BuildEnd::NotStarted);
  if (finder == nullptr) ExpectConsistent(app.ctx);
  result.state = s;
  result.yields = app.pump.yields;
  result.next_draw = app.ctx.rng.Next();
  return result;
}

TEST(LineScan, MakesTheDecisionsAndDrawsOfThePlainScan) {
  for (std::uint64_t seed = 1; seed <= 400; ++seed) {
    const Case c = MakeCase(seed);
    SCOPED_TRACE(::testing::Message() << "seed " << seed << ", " << c.width << " x " << c.height << ", "
                                      << c.words.size() << " words");
    Result fast = Build(c, seed, nullptr);
    ReferenceFinder reference;
    Result plain = Build(c, seed, &reference);
    ASSERT_TRUE(fast.state.Grid == plain.state.Grid) << GridText(fast.state) << "\n" << GridText(plain.state);
    ASSERT_TRUE(fast.state.Words == plain.state.Words);  // the fast build's counters are held to a recount
    EXPECT_EQ(std::tie(fast.outcome.End, fast.outcome.Attempts, fast.yields),
              std::tie(plain.outcome.End, plain.outcome.Attempts, plain.yields));
    EXPECT_EQ(fast.next_draw, plain.next_draw) << "the random draws differ";
    if (HasFatalFailure()) return;
  }
}

// Lines of 64 cells fill a mask word to its last bit, which then marks the line
// itself; one-letter words have their places there too.
TEST(LineScan, LinesOfSixtyFourCellsMakeThePlainScansDecisions) {
  for (const auto& [width, height] : {std::pair{64, 3}, std::pair{3, 64}, std::pair{64, 64}}) {
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
      Case c = MakeCase(seed);
      c.width = width;
      c.height = height;
      std::erase_if(c.words, [&](const std::string& word) {
        return CharCount(word) > static_cast<std::size_t>(Min(width, height));
      });
      c.words.push_back("A");
      SCOPED_TRACE(::testing::Message() << "seed " << seed << ", " << width << " x " << height);
      Result fast = Build(c, seed, nullptr);
      ReferenceFinder reference;
      Result plain = Build(c, seed, &reference);
      ASSERT_TRUE(fast.state.Grid == plain.state.Grid) << GridText(fast.state) << "\n" << GridText(plain.state);
      EXPECT_EQ(fast.next_draw, plain.next_draw) << "the random draws differ";
    }
  }
}

TEST(LineScan, SearchingAllocatesNothing) {
  std::vector<std::string> words;
  Random r(5);
  for (int i = 0; i < 120; ++i) {
    std::string word;
    for (int k = 0, n = 3 + r.Below(6); k < n; ++k) word += static_cast<char>('A' + r.Below(6));
    words.push_back(word);
  }
  TestApp app;
  SetUpPuzzle(app, words, 70, 30, 1);  // rows longer than 64 cells take the wide path
  const long at_start = g_allocations;
  BuildPuzzle(app.ctx);
  ASSERT_GT(g_allocations, at_start) << "allocations are counted";
  LineScanner scanner;
  scanner.StartBuild(app.ctx.state);
  scanner.StartAttempt(app.ctx.state);
  BuildProgress unwatched;
  BuildPause pause(app.ctx.state, unwatched);
  for (i16 index = 1; index <= 120; index += 7) {
    app.ctx.state.CurrentWordIndex = index;
    const long before = g_allocations;
    ASSERT_TRUE(scanner.Search(app.ctx.state, app.ctx.rng, pause));
    EXPECT_EQ(g_allocations - before, 0) << "word " << index;
  }
}

}  // namespace
}  // namespace kivrel
