// Every shipped themed list makes a whole puzzle at the size its header gives.
#include <gtest/gtest.h>

#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "files/ThemeLists.h"
#include "files/WordListFile.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

TEST(ShippedThemes, PlaceEveryWordAtTheHeadersSizeInNineOfTenSeeds) {
  const std::vector<ThemeList> themes = ThemeLists(std::string(KIVREL_EXAMPLES_DIR) + "/themes");
  ASSERT_FALSE(themes.empty());
  for (const ThemeList& theme : themes) {
    const auto parsed = ParseWordList(ReadWholeFile(theme.Path).ValueOr(""));
    ASSERT_TRUE(parsed && parsed->Header) << theme.Name << ": " << (parsed ? "no header" : parsed.Error().Reason);
    std::string error;
    int whole = 0;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
      HeadlessProgram program;
      AppContext& ctx = program.ctx;
      StartUp(ctx, seed);
      ASSERT_TRUE(LoadWordList(ctx, *parsed, &error)) << theme.Name << ": " << error;
      const PuzzleState& s = ctx.state;
      ASSERT_EQ(s.PuzzleWidth, parsed->Header->Width) << theme.Name;
      ASSERT_EQ(s.PuzzleHeight, parsed->Header->Height) << theme.Name;
      BuildLimits limits;
      limits.MaxAttempts = 1;
      ASSERT_EQ(BuildPuzzle(ctx, limits).End, BuildEnd::Finished) << theme.Name;
      whole += s.InsertedCount == static_cast<int>(parsed->Entries.size()) && s.RejectedCount == 0;
    }
    EXPECT_GE(whole, 9) << theme.Name << ": seeds 1 to 10 with every word placed";
  }
}

}  // namespace
}  // namespace kivrel
