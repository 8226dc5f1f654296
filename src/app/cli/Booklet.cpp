// kivrel-cli booklet: several puzzles of several word lists and their answer keys in one
// PDF, for a class or a term.
#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <ostream>
#include <thread>

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
    c.Options.push_back(kLowerCaseOption);
    for (OptionInfo& option : PageOptions()) c.Options.push_back(std::move(option));
    c.After = "The build and page options apply to every puzzle; only --pdf makes a booklet.\n";
    return c;
  }();
  return info;
}

namespace {

// One puzzle of the booklet: its list, its seed and its program, and how its build went.
struct BookletJob {
  std::string List;  // as given
  std::string Path;  // the file it names
  std::uint64_t Seed = 0;
  HeadlessProgram Program;
  BuildRunInfo Run;
  std::exception_ptr Failure;  // the build could not be made
  bool Built = false;
};

// Builds the prepared puzzles in threads of their own, one per core, each taking the
// next puzzle not yet built; each puzzle is built (and filled, as printing fills it) in
// its own program from its own seed, so it is the puzzle build makes of that seed.
class BookletBuilder {
 public:
  BookletBuilder(std::vector<BookletJob>& jobs, const BuildSettings& settings) : jobs_(jobs), settings_(settings) {
    const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, jobs.size());
    for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this](std::stop_token stop) { Work(stop); });
  }

  // Waits until puzzle n is built; a build that failed throws its failure here.
  void WaitFor(std::size_t n) {
    std::unique_lock lock(mutex_);
    built_.wait(lock, [&] { return jobs_[n].Built; });
    if (jobs_[n].Failure) std::rethrow_exception(jobs_[n].Failure);
  }

 private:
  void Work(const std::stop_token& stop) {
    for (;;) {
      std::size_t n = 0;
      {
        std::lock_guard lock(mutex_);
        if (stop.stop_requested() || next_ >= jobs_.size()) return;
        n = next_++;
      }
      BookletJob& job = jobs_[n];
      try {
        job.Run = BuildWithSeed(job.Program.ctx, job.Path, settings_, job.Seed);
        FillInBlanks(job.Program.ctx);  // as printing does, and as build --fill does
      } catch (...) {
        job.Failure = std::current_exception();
      }
      {
        std::lock_guard lock(mutex_);
        job.Built = true;
      }
      built_.notify_all();
    }
  }

  std::vector<BookletJob>& jobs_;
  const BuildSettings& settings_;
  std::mutex mutex_;
  std::condition_variable built_;
  std::size_t next_ = 0;
  std::vector<std::jthread> workers_;  // last: stopped and joined before the rest goes
};

}  // namespace

int Booklet(Args& args, std::ostream& out, std::ostream& err, bool progress_to_terminal) {
  const BuildSettings settings = TakeBuildSettings(args);
  const auto seed = args.Number("--seed", 0, kLargestSeed);
  const long long count = args.Number("--count", 1, 1000).value_or(1);
  const long long keys_per_page = args.Number("--keys-per-page", 2, 4).value_or(4);
  if (keys_per_page == 3) throw UsageError("--keys-per-page takes 2 or 4, not \"3\"");
  PageSettings page_settings;
  const auto page = TakePageOptions(args, page_settings);
  const std::vector<std::string> lists = args.Positionals();
  args.Finish();
  std::vector<std::string> paths;  // the files the lists name: themes found, before anything is built
  for (const std::string& list : lists) paths.push_back(WordListPath(list));
  if (!page || page->Kind != PageRequest::Format::Pdf) throw UsageError("booklet needs --pdf FILE");
  if (lists.empty()) throw UsageError("missing word list file");
  std::vector<std::string> inputs = paths;
  if (settings.Avoid) inputs.push_back(*settings.Avoid);
  CheckOutputFiles(inputs, {page->Path});
  const long long total = count * static_cast<long long>(lists.size());
  if (total > 1000) throw UsageError("a booklet holds at most 1000 puzzles");

  // Every puzzle is prepared first, each in a program of its own (as build prepares
  // it), so that a list that cannot be read stops the command before anything is built.
  const bool show_progress = progress_to_terminal && total > kContentsAfter;
  const std::uint64_t first_seed = FirstSeed(seed);
  std::vector<BookletJob> jobs(static_cast<std::size_t>(total));
  std::vector<BookletPuzzle> puzzles;
  for (std::size_t n = 0; n < jobs.size(); ++n) {
    BookletJob& job = jobs[n];
    job.List = lists[n / static_cast<std::size_t>(count)];  // as given: build takes the same name
    job.Path = paths[n / static_cast<std::size_t>(count)];
    job.Seed = first_seed + n;
    AppContext& ctx = job.Program.ctx;
    PreparePuzzle(ctx, job.Path, settings, job.Seed);
    page_settings.ApplyTo(ctx);
    TakeLetterCase(args, ctx);
    SetWindowTitle(ctx);
    puzzles.push_back({&ctx, job.Seed, ctx.AttributesForm().Text(frmAttributes::txtPuzName)});
  }

  // Then they are built on every core while the pages of those built are drawn, in order.
  BookletBuilder builder(jobs, settings);
  BookletHooks hooks;
  hooks.OnPage = [&](int number, int pages) {
    if (show_progress) err << "\rkivrel-cli: page " << number << " of " << pages << "      " << std::flush;
  };
  std::size_t told = 0;  // puzzles whose left-out words were told
  hooks.Ready = [&](std::size_t n) {
    builder.WaitFor(n);
    for (; told <= n; ++told) {
      const BookletJob& job = jobs[told];
      const PuzzleState& s = job.Program.ctx.state;
      int words = 0;
      for (int i = 1; i <= s.WordsUpperBound(); ++i) words += s.Words[static_cast<std::size_t>(i)].Length > 0;
      if (!job.Run.GaveUp && s.InsertedCount >= words) continue;
      if (show_progress) err << "\n";
      err << "kivrel-cli: " << job.Path << ", seed " << job.Seed << ": " << s.InsertedCount << " of " << words
          << " words placed" << (job.Run.GaveUp ? " (gave up)" : "") << "\n";
    }
  };
  QtPageFileDevice device;
  const FileResult<BookletPlan> written =
      WriteBooklet(device, page->Path, puzzles, static_cast<int>(keys_per_page), hooks);
  if (show_progress) err << "\n";
  if (!written) throw UsageError(PageFileFailureText(written.Error()));
  const BookletPlan& plan = *written;

  for (std::size_t n = 0; n < puzzles.size(); ++n) {
    const std::string& title = puzzles[n].Title;
    out << "puzzle " << n + 1 << ", page " << plan.FirstPuzzlePage + static_cast<int>(n) << ": "
        << (title.empty() ? "(untitled)" : title) << " (" << jobs[n].List << "), seed " << puzzles[n].Seed << "\n";
  }
  out << "answer keys from page " << plan.FirstKeyPage << ", " << plan.PageCount << " pages\n";
  out << page->Path << "\n";
  return kExitOk;
}

}  // namespace kivrel::cli
