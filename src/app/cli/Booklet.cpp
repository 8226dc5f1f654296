// kivrel-cli booklet: several puzzles of several word lists and their answer keys in one
// PDF, for a class or a term.
#include <memory>
#include <ostream>
#include <random>

#include "Cli.h"
#include "PageOutput.h"
#include "display/FillLetters.h"
#include "model/Numbers.h"
#include "qt/QtPageFileDevice.h"
#include "print/Booklet.h"
#include "program/HeadlessProgram.h"
#include "program/WindowTitle.h"

namespace kivrel::cli {

const CommandInfo& BookletCommand() {
  static const CommandInfo info = [] {
    CommandInfo c;
    c.Name = "booklet";
    c.Arguments = "LIST... --pdf FILE";
    c.About =
        "Builds puzzles from each word list and draws them into one PDF: a contents page when\n"
        "there are more than four puzzles, one page per puzzle as Print prints it (blanks\n"
        "filled) with its number and seed at the foot, then the answer keys, and page numbers.\n"
        "Names each puzzle with its seed and page on stdout; `kivrel-cli build LIST --seed N\n"
        "--fill` with the same build options makes any of them again. A list that cannot be\n"
        "built stops the command before anything is written.\n" +
        std::string(kThemesHelp);
    c.Options = BuildSettingOptions();
    c.Options.push_back({"count", "N", "puzzles per list (default 1)"});
    c.Options.push_back({"seed", "N", "the first puzzle's seed; each further puzzle takes the next"});
    c.Options.push_back({"keys-per-page", "2|4", "answer keys on a page (default 4)"});
    for (OptionInfo& option : PageOptions()) c.Options.push_back(std::move(option));
    c.After = "The build and page options apply to every puzzle; only --pdf makes a booklet.\n";
    return c;
  }();
  return info;
}

int Booklet(Args& args, std::ostream& out, std::ostream& err, bool progress_to_terminal) {
  const BuildSettings settings = TakeBuildSettings(args);
  const auto seed = args.Number("--seed", 0, kLargestSeed);
  const long long count = args.Number("--count", 1, 1000).value_or(1);
  const long long keys_per_page = args.Number("--keys-per-page", 2, 4).value_or(4);
  if (keys_per_page == 3) throw UsageError("--keys-per-page takes 2 or 4, not \"3\"");
  PrintOptions print_options;
  const auto page = TakePageOptions(args, print_options);
  const std::vector<std::string> lists = args.Positionals();
  args.Finish();
  std::vector<std::string> paths;  // the files the lists name: themes found, before anything is built
  for (const std::string& list : lists) paths.push_back(WordListPath(list));
  if (!page || page->Kind != PageRequest::Format::Pdf) throw UsageError("booklet needs --pdf FILE");
  if (lists.empty()) throw UsageError("missing word list file");
  const long long total = count * static_cast<long long>(lists.size());
  if (total > 1000) throw UsageError("a booklet holds at most 1000 puzzles");

  // Every puzzle is built first, in a program of its own (as build builds it), so that a
  // list that fails stops the command before the file is touched.
  const bool show_progress = progress_to_terminal && total > kContentsAfter;
  const std::uint64_t first_seed = seed ? static_cast<std::uint64_t>(*seed) : std::random_device{}();
  std::vector<std::unique_ptr<HeadlessProgram>> programs;
  std::vector<BookletPuzzle> puzzles;
  std::vector<std::string> sources;
  for (std::size_t l = 0; l < lists.size(); ++l) {
    const std::string& path = paths[l];
    for (long long k = 0; k < count; ++k) {
      const std::uint64_t puzzle_seed = first_seed + puzzles.size();
      if (show_progress) err << "\rkivrel-cli: puzzle " << puzzles.size() + 1 << " of " << total << std::flush;
      auto& program = programs.emplace_back(std::make_unique<HeadlessProgram>());
      AppContext& ctx = program->ctx;
      PreparePuzzle(ctx, path, settings, puzzle_seed);
      ctx.print = print_options;
      const BuildRunInfo run = BuildWithSeed(ctx, path, settings, puzzle_seed);
      FillInBlanks(ctx);  // as printing does, and as build --fill does
      SetWindowTitle(ctx);
      const PuzzleState& s = ctx.state;
      int words = 0;
      for (int i = 1; i <= s.WordsUpperBound(); ++i) words += s.Words[static_cast<std::size_t>(i)].Length > 0;
      if (run.GaveUp || s.InsertedCount < words) {
        if (show_progress) err << "\n";
        err << "kivrel-cli: " << path << ", seed " << puzzle_seed << ": " << s.InsertedCount << " of " << words
            << " words placed" << (run.GaveUp ? " (gave up)" : "") << "\n";
      }
      puzzles.push_back({&ctx, puzzle_seed});
      sources.push_back(lists[l]);  // as given: build takes the same name
    }
  }

  QtPageFileDevice device;
  const FileResult<BookletPlan> written =
      WriteBooklet(device, page->Path, puzzles, static_cast<int>(keys_per_page), [&](int number, int pages) {
        if (show_progress) err << "\rkivrel-cli: page " << number << " of " << pages << "      " << std::flush;
      });
  if (show_progress) err << "\n";
  if (!written) throw UsageError(PageFileFailureText(written.Error()));
  const BookletPlan& plan = *written;

  for (std::size_t n = 0; n < puzzles.size(); ++n) {
    const std::string title = puzzles[n].ctx->AttributesForm().Text(frmAttributes::txtPuzName);
    out << "puzzle " << n + 1 << ", page " << plan.FirstPuzzlePage + static_cast<int>(n) << ": "
        << (title.empty() ? "(untitled)" : title) << " (" << sources[n] << "), seed " << puzzles[n].Seed << "\n";
  }
  out << "answer keys from page " << plan.FirstKeyPage << ", " << plan.PageCount << " pages\n";
  out << page->Path << "\n";
  return kExitOk;
}

}  // namespace kivrel::cli
