#pragma once
// kivrel-cli: the puzzle maker without a display. Each command reads its arguments
// from an Args, prints to the given streams and returns the exit code.
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PuzzleJson.h"
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

/// The arguments after the command name, taken one by one.
class Args {
 public:
  explicit Args(std::vector<std::string> args) : args_(std::move(args)) {}

  /// Removes a flag ("--fill") and says whether it was there.
  bool Flag(const std::string& name);
  /// Removes an option with a value ("--width 15") and returns the value.
  std::optional<std::string> Value(const std::string& name);
  /// Removes an option followed by `count` values ("--stop-remaining < 10") and returns
  /// the values.
  std::optional<std::vector<std::string>> Values(const std::string& name, int count);
  /// Like Value, for a whole number in [min, max].
  std::optional<long long> Number(const std::string& name, long long min, long long max);
  /// Removes and returns the next positional argument; UsageError naming `what` if none.
  std::string Positional(const std::string& what);
  /// Removes and returns every positional argument left.
  std::vector<std::string> Positionals();
  /// UsageError when anything is left.
  void Finish() const;

 private:
  std::vector<std::string> args_;
};

/// Parses a whole number in [min, max] or throws UsageError naming the option.
long long ParseNumber(const std::string& text, const std::string& option, long long min, long long max);

/// The bytes of a file; UsageError when it cannot be read.
std::string ReadFileBytes(const std::string& path);

/// The bytes of a puzzle file that the reader accepts; UsageError with the reader's
/// message, its reason and the byte where it noticed, when it is not a puzzle.
std::string ReadPuzzleFileBytes(const std::string& path);

/// The command "summary LIST": entries, longest word, letters, default dimensions.
int Summary(Args& args, std::ostream& out);

/// The command "build LIST [options]": builds puzzles and prints them as text or JSON.
/// Messages about the build (giving up) go to `err`.
int Build(Args& args, std::ostream& out, std::ostream& err);

/// The usage text of the build command.
extern const char* const kBuildUsage;

/// The largest seed: 2^53 - 1, exact in any JSON reader.
constexpr long long kLargestSeed = 9007199254740991LL;

/// The build options of the build command (and of booklet), as given; what is not
/// given comes from the list's header line.
struct BuildSettings {
  std::optional<long long> Width, Height;
  std::optional<std::string> Title, Instructions;
  std::optional<bool> Diagonals, Balance;
  bool StopOnReject = false;
  bool RestartOnReject = false;
  std::string StopOperator;  // empty: no "stop when spaces remaining" rule
  long long StopCount = -1;
  long long MaxAttempts = 10000;
  double Seconds = 0;  // 0: no time limit
};

/// Takes --width, --height, --title, --instructions, --diagonals/--no-diagonals,
/// --balance/--no-balance, --stop-on-reject, --restart-on-reject, --stop-remaining,
/// --max-attempts and --timeout out of args.
BuildSettings TakeBuildSettings(Args& args);

/// Starts the program of ctx with seed, loads the word list at path and applies the
/// settings, ready to build. UsageError, naming the list, when it cannot be read or
/// cannot make a puzzle of the size asked for.
void PreparePuzzle(AppContext& ctx, const std::string& path, const BuildSettings& settings, std::uint64_t seed);

/// Builds the prepared puzzle from the random sequence of seed. UsageError, naming the
/// list, when the build could not start.
BuildRunInfo BuildWithSeed(AppContext& ctx, const std::string& path, const BuildSettings& settings,
                           std::uint64_t seed);

/// The command "booklet LIST... --pdf FILE": several puzzles of each list and their
/// answer keys in one PDF. `progress_to_terminal`: stderr is a terminal, so a progress
/// line is shown there.
int Booklet(Args& args, std::ostream& out, std::ostream& err, bool progress_to_terminal);

/// The usage text of the booklet command.
extern const char* const kBookletUsage;

/// The command "show PUZZLE [--json]": reads a puzzle file and prints it as build does.
/// A file that is not a puzzle is a UsageError saying why.
int Show(Args& args, std::ostream& out);

/// Writes a puzzle file; UsageError when it cannot be written (the file that was there
/// stays as it was).
void SavePuzzle(const PuzzleState& state, const std::string& path);

}  // namespace kivrel::cli
