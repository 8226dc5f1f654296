#pragma once
// kivrel-cli: the puzzle maker without a display. Each command declares its options in
// a CommandInfo, reads them from an Args, prints to the given streams and returns the
// exit code.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "PuzzleJson.h"
#include "files/WordListFile.h"
#include "model/PuzzleState.h"
#include "program/AppContext.h"

namespace kivrel::cli {

constexpr int kExitOk = 0;
constexpr int kExitIncomplete = 1;  // a --strict build that left words out
constexpr int kExitUsage = 2;       // bad usage or unreadable input

/// Bad usage or input: the message is printed as one line on stderr, exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// One option of a command, as its help shows it: "width" or "o" (no dashes), the name
/// of its value ("" for a flag), how many values follow it ("--stop-remaining < 10"
/// takes two) and what it does.
struct OptionInfo {
  std::string Name;
  std::string ValueName;
  std::string Description;
  int ValueCount = 1;
};

/// A command's options and help: "Usage: kivrel-cli NAME [options] ARGUMENTS", the
/// text about it, the options (in the order given) and the text after them.
struct CommandInfo {
  std::string Name;
  std::string Arguments;
  std::string About;
  std::vector<OptionInfo> Options;
  std::string After;
};

/// The help text of a command, generated from its table of options.
std::string HelpText(const CommandInfo& info);

/// The arguments after the command name, parsed by the command's options and then taken
/// one by one by the command. An option not in the table, or one without its value, is
/// a UsageError when parsing.
class Args {
 public:
  Args(const CommandInfo& info, const std::vector<std::string>& args);

  /// Whether --help was given.
  bool Help() const { return help_; }
  /// Whether a flag ("--fill") was given.
  bool Flag(const std::string& name) const;
  /// The value of an option ("--width 15", "--width=15"); the last one when it was
  /// given twice.
  std::optional<std::string> Value(const std::string& name) const;
  /// The `count` values of an option that takes several ("--stop-remaining < 10").
  std::optional<std::vector<std::string>> Values(const std::string& name, int count) const;
  /// Like Value, for a whole number in [min, max].
  std::optional<long long> Number(const std::string& name, long long min, long long max) const;
  /// Removes and returns the next positional argument; UsageError naming `what` if none.
  std::string Positional(const std::string& what);
  /// Removes and returns every positional argument left.
  std::vector<std::string> Positionals();
  /// UsageError when a positional argument is left.
  void Finish() const;

 private:
  std::vector<std::pair<std::string, std::vector<std::string>>> options_;  // given, by name
  std::vector<std::string> positional_;
  bool help_ = false;
};

/// Parses a whole number in [min, max] or throws UsageError naming the option.
long long ParseNumber(const std::string& text, const std::string& option, long long min, long long max);

/// The bytes of a regular file; UsageError saying why when it cannot be read (a
/// directory, a FIFO or a device is refused at once).
std::string ReadFileBytes(const std::string& path);

/// Flushes the output and throws a UsageError saying why when what was written did not
/// all reach it (a full disk, a closed pipe).
void CheckOutput(std::ostream& out);

/// UsageError when an output names a file the command reads (also through links or
/// another name: a command never writes over its inputs), or two outputs name one file.
void CheckOutputFiles(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);

/// Text from a file or the command line made safe for a terminal: control characters
/// are written as \xHH and bytes that are not UTF-8 as U+FFFD.
std::string Printable(std::string_view text);

/// At most `limit` characters of a text, cut with "..." when it is longer (for names
/// and words inside one-line messages).
std::string Shortened(std::string_view text, std::size_t limit = 40);

/// The word list file a LIST argument names: the argument itself when it is a path (a
/// file that is there, or a name holding a "/"), otherwise the themed list of that name
/// ("ocean"). UsageError naming the themes when it is neither.
std::string WordListPath(const std::string& argument);

/// Where a command's help says that a LIST may name a themed list.
extern const char* const kThemesHelp;

/// --lowercase, which build, print and booklet take.
extern const OptionInfo kLowerCaseOption;
/// Shows the letters of ctx in lower case (as Options > Lower Case Letters does) when
/// --lowercase was given.
void TakeLetterCase(const Args& args, AppContext& ctx);

/// The word list a LIST (or --avoid) argument's file holds; UsageError naming the file
/// when it cannot be read or is not a list (a puzzle file is named as one).
ParsedWordList ReadWordListArgument(const std::string& path);

/// The bytes of a puzzle file that the reader accepts; UsageError with the reader's
/// message, its reason and the byte where it noticed, when it is not a puzzle.
std::string ReadPuzzleFileBytes(const std::string& path);

/// The command "summary LIST": entries, longest word, letters, default dimensions.
const CommandInfo& SummaryCommand();
int Summary(Args& args, std::ostream& out);

/// The command "build LIST [options]": builds puzzles and prints them as text or JSON.
/// Messages about the build (giving up) go to `err`.
int Build(Args& args, std::ostream& out, std::ostream& err);

/// The options and help of the build command.
const CommandInfo& BuildCommand();

/// The largest seed: 2^53 - 1, exact in any JSON reader.
constexpr long long kLargestSeed = 9007199254740991LL;

/// The seed of a command's first puzzle: the one given, or a fresh one small enough that
/// it and the seeds of the puzzles after it can be given back with --seed.
std::uint64_t FirstSeed(std::optional<long long> given);

/// The build options of the build command (and of booklet), as given; what is not
/// given comes from the list's header line.
struct BuildSettings {
  std::optional<long long> Width, Height;
  std::optional<std::string> Title, Instructions;
  std::optional<bool> Diagonals, Balance, Backwards;
  bool StopOnReject = false;
  bool RestartOnReject = false;
  std::string StopOperator;  // empty: no "stop when spaces remaining" rule
  long long StopCount = -1;
  long long MaxAttempts = 10000;
  double Seconds = 0;                // 0: no time limit
  bool AllowDuplicates = false;      // fill without the check that no word reads twice
  std::optional<std::string> Avoid;  // a file of words the fill must never spell
  std::optional<std::string> Quote;  // the hidden message the fill writes
};

/// Takes --width, --height, --title, --instructions, --diagonals/--no-diagonals,
/// --balance/--no-balance, --backwards/--no-backwards, --stop-on-reject,
/// --restart-on-reject, --stop-remaining, --max-attempts, --timeout, --allow-duplicates,
/// --avoid and --quote out of args.
BuildSettings TakeBuildSettings(Args& args);

/// Starts the program of ctx with seed, loads the word list at path and applies the
/// settings, ready to build. UsageError, naming the list, when it cannot be read or
/// cannot make a puzzle of the size asked for.
void PreparePuzzle(AppContext& ctx, const std::string& path, const BuildSettings& settings, std::uint64_t seed);

/// Builds the prepared puzzle from the random sequence of seed. UsageError, naming the
/// list, when the build could not start.
BuildRunInfo BuildWithSeed(AppContext& ctx, const std::string& path, const BuildSettings& settings, std::uint64_t seed);

/// The command "booklet LIST... --pdf FILE": several puzzles of each list and their
/// answer keys in one PDF. `progress_to_terminal`: stderr is a terminal, so a progress
/// line is shown there.
int Booklet(Args& args, std::ostream& out, std::ostream& err, bool progress_to_terminal);

/// The options of the build settings (TakeBuildSettings), shared by build and booklet.
std::vector<OptionInfo> BuildSettingOptions();
/// The booklet command's options and help.
const CommandInfo& BookletCommand();

/// The command "show PUZZLE [--json]": reads a puzzle file and prints it as build does.
/// A file that is not a puzzle is a UsageError saying why.
const CommandInfo& ShowCommand();
int Show(Args& args, std::ostream& out);

/// Writes a puzzle file; UsageError when it cannot be written (the file that was there
/// stays as it was). Characters the file cannot hold are named in one warning line on
/// `err` before it is written.
void SavePuzzleOutput(const PuzzleState& state, const std::string& path, std::ostream& err);

}  // namespace kivrel::cli
