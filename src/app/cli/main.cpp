// kivrel-cli: makes word search puzzles without a display.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "PageOutput.h"

namespace {

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
    "Exit codes: 0 success, 1 a build left words out (build --strict), 2 bad usage or\n"
    "unreadable input.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kivrel::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << "kivrel-cli: no command given (try --help)\n";
    return kExitUsage;
  }
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
  try {
    Args rest(std::move(args));
    if (rest.Flag("--help")) {
      if (command == "build" || command == "print" || command == "booklet") {
        std::cout << (command == "build" ? kBuildUsage : command == "print" ? kPrintUsage : kBookletUsage)
                  << kPageOptionsUsage;
      } else {
        std::cout << kUsage;
      }
      return kExitOk;
    }
    if (command == "summary") return Summary(rest, std::cout);
    if (command == "build") return Build(rest, std::cout, std::cerr);
    if (command == "show") return Show(rest, std::cout);
    if (command == "print") return Print(rest, std::cout);
    if (command == "booklet") return Booklet(rest, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
    throw UsageError("unknown command \"" + command + "\" (try --help)");
  } catch (const UsageError& error) {
    std::cerr << "kivrel-cli: " << error.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    std::cerr << "kivrel-cli: " << error.what() << "\n";
    return kExitUsage;
  }
}
