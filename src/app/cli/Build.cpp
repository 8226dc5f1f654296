// kivrel-cli build: puzzles from a word list, without a display.
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <ostream>
#include <set>

#include "Cli.h"
#include "PageOutput.h"
#include "PuzzleJson.h"
#include "PuzzleText.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
#include "model/Text.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "program/WindowTitle.h"
#include "program/WordTable.h"

namespace kivrel::cli {

std::vector<OptionInfo> BuildSettingOptions() {
  return {
      {"width", "N", "grid width in letters, at most 99; 0 takes the default size"},
      {"height", "N", "grid height in letters, at most 99; 0 takes the default size"},
      {"title", "T", "puzzle title"},
      {"instructions", "T", "instructions text"},
      {"diagonals", "", "eight directions", 0},
      {"no-diagonals", "", "only across and down (and back, unless --no-backwards)", 0},
      {"backwards", "", "words may also read right to left and bottom to top", 0},
      {"no-backwards", "",
       "words read only left to right and top to bottom (and, with diagonals, down-right and up-right)", 0},
      {"balance", "", "prefer directions with fewer words", 0},
      {"no-balance", "", "do not prefer directions with fewer words", 0},
      {"stop-on-reject", "", "end the build at the first word that does not fit", 0},
      {"restart-on-reject", "", "start again at the first word that does not fit", 0},
      {"stop-remaining", "OP> <N",
       "stop when the empty cells are OP N, where OP is =, < or <= (or eq, lt, le); with = an attempt that "
       "drops below N starts again",
       2},
      {"max-attempts", "N", "give up after N attempts (default 10000)"},
      {"timeout", "SECONDS", "give up when another attempt would start after this"},
      {"allow-duplicates", "", "fill without the check that no listed word can be read a second time", 0},
      {"avoid", "FILE", "words the fill must never spell, one a line"},
      {"quote", "TEXT",
       "the hidden message: the fill writes its letters into the empty cells in reading order (pair it with "
       "--stop-remaining = N, N its number of letters)"},
  };
}

const CommandInfo& BuildCommand() {
  static const CommandInfo info = [] {
    CommandInfo c;
    c.Name = "build";
    c.Arguments = "LIST";
    c.About =
        "Builds a word search puzzle from a word list (.kvl, or a plain list with one entry\n"
        "per line) and prints it: the grid as text and the statistics, or JSON.\n"
        "Attributes not given here come from the list's header line.\n" +
        std::string(kThemesHelp);
    c.Options = BuildSettingOptions();
    const OptionInfo own[] = {
        {"seed", "N", "random seed (0 to 9007199254740991); the same list, options and seed give the same puzzle"},
        {"count", "N", "build N puzzles; each takes the next seed"},
        {"fill", "",
         "fill the empty cells with random letters; no listed word can then be read anywhere but where it was "
         "placed (fill letters are drawn again until none can)",
         0},
        {"json", "", "one JSON object per puzzle, one per line", 0},
        {"words", "",
         "with --json and --count above 1, each object still lists its words and their places (left out "
         "otherwise: they are most of a run's output)",
         0},
        {"strict", "", "exit with 1 when a puzzle left a word out or gave up", 0},
        {"o", "PUZZLE.kvp", "also save the puzzle to a puzzle file (one puzzle only)"},
    };
    c.Options.insert(c.Options.end(), std::begin(own), std::end(own));
    c.Options.push_back(kLowerCaseOption);
    for (OptionInfo& option : PageOptions()) c.Options.push_back(std::move(option));
    c.After =
        "With a page option the puzzle is also drawn as printed, with its blanks filled; the\n"
        "files written are named on stderr. Page options need --count 1.\n"
        "\n"
        "When a restart rule is never met, the build gives up at the attempt or time limit,\n"
        "prints the attempt that placed the most words, and says so on stderr.\n"
        "\n"
        "Exit codes: 0 success, 1 a word left out (only with --strict), 2 bad usage,\n"
        "unreadable input or a file or the output that could not be written.\n";
    return c;
  }();
  return info;
}

namespace {

double ParseSeconds(const std::string& text) {
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(seconds) || seconds <= 0 || seconds > 1e6) {
    throw UsageError("--timeout takes a number of seconds above 0, not \"" + text + "\"");
  }
  return seconds;
}

std::string StopOperator(const std::string& text) {
  if (text == "=" || text == "eq") return "=";
  if (text == "<" || text == "lt") return "<";
  if (text == "<=" || text == "le") return "<=";
  throw UsageError("--stop-remaining takes =, < or <= (or eq, lt, le), not \"" + text + "\"");
}

// Two flags that say opposite things: which was given, if either.
std::optional<bool> Choice(const Args& args, const std::string& yes, const std::string& no) {
  const bool on = args.Flag(yes);
  const bool off = args.Flag(no);
  if (on && off) throw UsageError(yes + " and " + no + " cannot both be given");
  if (!on && !off) return std::nullopt;
  return on;
}

}  // namespace

BuildSettings TakeBuildSettings(Args& args) {
  BuildSettings b;
  b.Width = args.Number("--width", 0, kLargestSide);
  b.Height = args.Number("--height", 0, kLargestSide);
  b.Title = args.Value("--title");
  b.Instructions = args.Value("--instructions");
  b.Diagonals = Choice(args, "--diagonals", "--no-diagonals");
  b.Balance = Choice(args, "--balance", "--no-balance");
  b.Backwards = Choice(args, "--backwards", "--no-backwards");
  b.StopOnReject = args.Flag("--stop-on-reject");
  b.RestartOnReject = args.Flag("--restart-on-reject");
  if (b.StopOnReject && b.RestartOnReject) {
    throw UsageError("--stop-on-reject and --restart-on-reject cannot both be given");
  }
  const auto stop_remaining = args.Values("--stop-remaining", 2);
  b.MaxAttempts = args.Number("--max-attempts", 1, 1000000000000LL).value_or(10000);
  const auto timeout = args.Value("--timeout");
  b.Seconds = timeout ? ParseSeconds(*timeout) : 0;  // 0: no time limit
  if (stop_remaining) {
    b.StopOperator = StopOperator((*stop_remaining)[0]);
    b.StopCount = ParseNumber((*stop_remaining)[1], "--stop-remaining", 0, 32767);
  }
  b.AllowDuplicates = args.Flag("--allow-duplicates");
  b.Avoid = args.Value("--avoid");
  b.Quote = args.Value("--quote");
  return b;
}

void PreparePuzzle(AppContext& ctx, const std::string& path, const BuildSettings& b, std::uint64_t seed) {
  const ParsedWordList parsed = ReadWordListArgument(path);
  if (!parsed.RefusedSize.empty() && !(b.Width && b.Height)) {
    std::cerr << "kivrel-cli: warning: " << path << " asks for a " << Printable(parsed.RefusedSize)
              << " puzzle; the largest is " << kLargestSide << " x " << kLargestSide
              << ", so the default size is used\n";
  }

  StartUp(ctx, seed);
  std::string error;
  if (!LoadWordList(ctx, parsed, &error)) throw UsageError(path + ": " + error);
  PuzzleState& s = ctx.state;
  if (s.WordCount < 1) throw UsageError(path + ": the list holds no words");
  if (s.LongestWordLength < 1) throw UsageError(path + ": no entry holds a letter or digit to place");

  if (b.Title) s.PuzzleTitle = *b.Title;
  if (b.Instructions) s.PuzzleInstructions = *b.Instructions;
  if (b.Diagonals) s.IncludeDiagonals = *b.Diagonals ? 1 : 0;
  if (b.Balance) s.BalanceDirections = *b.Balance ? 1 : 0;
  if (b.Backwards) s.BackwardsWords = *b.Backwards ? 1 : 0;
  s.StopOnFirstReject = b.StopOnReject ? 1 : 0;
  s.RestartOnFirstReject = b.RestartOnReject ? 1 : 0;
  s.StopRemainingOperator = b.StopOperator;
  s.StopRemainingCount = static_cast<i16>(b.StopCount);
  if (b.Quote) s.MysteryQuote = *b.Quote;
  if (b.AllowDuplicates) ctx.MainForm().SetChecked(frmKV_Puzzle::mnuNoDuplicates, false);
  if (b.Avoid) {
    ctx.AvoidWords = PlacedWords(ReadWordListArgument(*b.Avoid));
  }

  // The size: given, from the header, or (a side of 0) the default for the list.
  long long w = b.Width.value_or(s.PuzzleWidth);
  long long h = b.Height.value_or(s.PuzzleHeight);
  if (w == 0 || h == 0) {
    PuzzleState sized = s;
    sized.PuzzleWidth = sized.PuzzleHeight = 0;
    ComputeDefaultDimensions(sized);
    if (sized.PuzzleWidth == 0) {
      throw UsageError(path + ": no default size up to 99 x 99 holds the list (" + std::to_string(s.LetterCount) +
                       " letters, the longest word " + std::to_string(s.LongestWordLength) +
                       "): give --width and --height");
    }
    if (w == 0) w = sized.PuzzleWidth;
    if (h == 0) h = sized.PuzzleHeight;
  }
  const WordRecord& longest = s.Words[static_cast<std::size_t>(s.LongestWordIndex)];
  if (w < s.LongestWordLength || h < s.LongestWordLength) {
    throw UsageError(path + ": the grid (" + std::to_string(w) + " x " + std::to_string(h) +
                     ") is smaller than the longest word, " + Shortened(longest.Text) + " (" +
                     std::to_string(s.LongestWordLength) + " letters)");
  }
  s.PuzzleWidth = static_cast<i16>(w);
  s.PuzzleHeight = static_cast<i16>(h);
}

BuildRunInfo BuildWithSeed(AppContext& ctx, const std::string& path, const BuildSettings& b, std::uint64_t seed) {
  ctx.rng.Seed(seed);
  BuildLimits limits;
  limits.MaxAttempts = b.MaxAttempts;
  const auto start = std::chrono::steady_clock::now();
  if (b.Seconds > 0) {
    limits.Deadline = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                  std::chrono::duration<double>(b.Seconds));
  }
  const BuildOutcome outcome = BuildPuzzle(ctx, limits);
  const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (outcome.End == BuildEnd::NotStarted) throw UsageError(path + ": the puzzle could not be built");
  BuildRunInfo run;
  run.Seed = seed;
  run.Attempts = outcome.Attempts;
  run.ElapsedMs = elapsed;
  run.GaveUp = outcome.End == BuildEnd::GaveUp;
  return run;
}

int Build(Args& args, std::ostream& out, std::ostream& err) {
  // Options first: their values must not be taken for the list's name.
  const BuildSettings settings = TakeBuildSettings(args);
  const auto seed = args.Number("--seed", 0, kLargestSeed);
  const long long count = args.Number("--count", 1, 1000000).value_or(1);
  const bool fill = args.Flag("--fill");
  const bool json = args.Flag("--json");
  const bool with_words = args.Flag("--words") || count == 1;
  const bool strict = args.Flag("--strict");
  const auto output = args.Value("-o");
  if (output && count > 1) throw UsageError("-o saves one puzzle: it cannot be used with --count above 1");
  PageSettings page_settings;
  const auto page = TakePageOptions(args, page_settings);
  if (page && count != 1) throw UsageError("the page options draw one puzzle: they cannot go with --count");
  const std::string path = WordListPath(args.Positional("word list file"));
  args.Finish();
  std::vector<std::string> inputs{path};
  if (settings.Avoid) inputs.push_back(*settings.Avoid);
  std::vector<std::string> outputs = page ? PagePaths(*page) : std::vector<std::string>{};
  if (output) outputs.push_back(*output);
  CheckOutputFiles(inputs, outputs);

  HeadlessProgram program;
  AppContext& ctx = program.ctx;
  const std::uint64_t first_seed = FirstSeed(seed);
  PreparePuzzle(ctx, path, settings, first_seed);
  page_settings.ApplyTo(ctx);
  TakeLetterCase(args, ctx);
  PuzzleState& s = ctx.state;

  bool incomplete = false;
  for (long long i = 0; i < count; ++i) {
    BuildRunInfo run = BuildWithSeed(ctx, path, settings, first_seed + static_cast<std::uint64_t>(i));
    std::optional<FillReport> filled;
    if (fill || page) filled = FillInBlanks(ctx);  // a page is printed filled
    if (filled && !filled->NotCleared.empty()) {
      err << "kivrel-cli: the fill letters could not be drawn so that these words are found only once: "
          << SomeWords(filled->NotCleared) << "\n";
    }
    if (filled && filled->QuoteLettersLeftOut > 0) {
      err << "kivrel-cli: the quote does not fit: its last " << filled->QuoteLettersLeftOut
          << " letters found no empty cell\n";
    }
    if (page) {             // before saving: the saved puzzle is the one printed, blanks filled
      SetWindowTitle(ctx);  // the page prints the title box, which follows the title
      for (const std::string& file : WritePageFiles(ctx, *page)) err << "kivrel-cli: wrote " << file << "\n";
    }
    if (output) SavePuzzleOutput(s, *output, err);

    if (filled) {
      run.FillRedrawn = filled->Redrawn;
      std::set<std::string> twice(filled->FoundTwice.begin(), filled->FoundTwice.end());
      twice.insert(filled->NotCleared.begin(), filled->NotCleared.end());
      run.FoundTwice.assign(twice.begin(), twice.end());
    }
    int words = 0;
    for (int k = 1; k <= s.WordsUpperBound(); ++k) words += s.Words[static_cast<std::size_t>(k)].Length > 0;
    if (run.GaveUp) {
      err << "kivrel-cli: gave up after " << run.Attempts << " attempts without meeting the "
          << (s.RestartOnFirstReject ? "restart on reject" : "stop when spaces remaining")
          << " rule; showing the best attempt (" << s.InsertedCount << " of " << words << " words placed)\n";
    }
    incomplete = incomplete || run.GaveUp || s.InsertedCount < words;
    if (json) {
      WritePuzzleJson(out, s, run, with_words);
    } else {
      if (i > 0) out << "\n";
      WritePuzzleText(out, ctx, run);
    }
    CheckOutput(out);  // stop at once when the output cannot take the puzzles
  }
  return strict && incomplete ? kExitIncomplete : kExitOk;
}

}  // namespace kivrel::cli
