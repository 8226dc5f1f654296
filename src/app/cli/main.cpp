// kivrel-cli: makes word search puzzles without a display.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "Cli.h"
#include "PageOutput.h"
#include "files/FileIO.h"

namespace {

using namespace kivrel::cli;

const char* const kUsage =
    "Usage: kivrel-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  summary LIST        read a word list (.kvl or .txt) and show its entries, longest\n"
    "                      word, letters and default puzzle size\n"
    "  build LIST [...]    build puzzles from a word list and print them as text or\n"
    "                      JSON, or save one to a puzzle file (kivrel-cli build --help)\n"
    "  show PUZZLE [--json]\n"
    "                      read a puzzle file (.kvp) and print it as build does\n"
    "  print PUZZLE (--pdf | --png | --svg FILE) [...]\n"
    "                      draw a puzzle file's printed page into a file, with no\n"
    "                      printer and no display (kivrel-cli print --help)\n"
    "  booklet LIST... --pdf FILE [...]\n"
    "                      several puzzles of each list and their answer keys in one\n"
    "                      PDF (kivrel-cli booklet --help)\n"
    "\n"
    "Options:\n"
    "  --help              show this help\n"
    "  --version           show the version\n"
    "\n"
    "Exit codes: 0 success, 1 a build left words out (build --strict), 2 bad usage,\n"
    "unreadable input or a file or the output that could not be written.\n";

const CommandInfo* InfoOf(const std::string& command) {
  if (command == "summary") return &SummaryCommand();
  if (command == "build") return &BuildCommand();
  if (command == "show") return &ShowCommand();
  if (command == "print") return &PrintCommand();
  if (command == "booklet") return &BookletCommand();
  return nullptr;
}

int Run(std::vector<std::string> args) {
  if (args.empty()) throw UsageError("no command given (try --help)");
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return kExitOk;
  }
  if (command == "--version") {
    std::cout << "kivrel-cli " << KIVREL_VERSION << "\n";
    return kExitOk;
  }
  const CommandInfo* info = InfoOf(command);
  if (!info) throw UsageError("unknown command \"" + command + "\" (try --help)");
  Args rest(*info, args);
  if (rest.Help()) {
    std::cout << HelpText(*info);
    return kExitOk;
  }
  if (command == "summary") return Summary(rest, std::cout);
  if (command == "build") return Build(rest, std::cout, std::cerr);
  if (command == "show") return Show(rest, std::cout);
  if (command == "booklet") return Booklet(rest, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
  return Print(rest, std::cout);
}

// Everything meant for stdout must have reached it: a full disk or a closed pipe is an
// error like any other write.
void CheckStandardOutput() {
  CheckOutput(std::cout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    throw UsageError(std::string("cannot write the output: ") + std::strerror(errno ? errno : EIO));
  }
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit then fails the write, which is reported, instead of ending us; an
  // interrupt during a save leaves no temporary file behind.
  kivrel::GuardSavesAgainstSignals();
  try {
    const int code = Run(std::vector<std::string>(argv + 1, argv + argc));
    CheckStandardOutput();
    return code;
  } catch (const std::bad_alloc&) {
    std::cerr << "kivrel-cli: not enough memory\n";
  } catch (const std::exception& error) {  // UsageError and whatever else stops a command
    std::cerr << "kivrel-cli: " << Printable(error.what()) << "\n";
  }
  return kExitUsage;
}
