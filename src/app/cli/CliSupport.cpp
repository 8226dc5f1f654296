#include <QCommandLineParser>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "Cli.h"
#include "commands/PuzzleCommands.h"
#include "files/FileIO.h"
#include "files/PuzzleFile.h"
#include "files/ThemeLists.h"
#include "model/Text.h"
#include "program/StartUp.h"

namespace kivrel::cli {

namespace {

const OptionInfo kHelpOption{"help", "", "show this help", 0};

QCommandLineOption QtOption(const OptionInfo& option) {
  QStringList names{QString::fromStdString(option.Name)};
  if (option.Name == "help") names.prepend(QStringLiteral("h"));
  return QCommandLineOption(names, QString::fromStdString(option.Description),
                            QString::fromStdString(option.ValueName));
}

std::string Dashed(const std::string& name) { return (name.size() == 1 ? "-" : "--") + name; }

// The option an argument names exactly ("--width", "-o"), if any.
const OptionInfo* NamedOption(const CommandInfo& info, const std::string& arg) {
  if (arg == "-h" || arg == "--help") return &kHelpOption;
  for (const OptionInfo& option : info.Options) {
    if (arg == Dashed(option.Name)) return &option;
  }
  return nullptr;
}

bool LooksLikeOption(const CommandInfo& info, const std::string& arg) {
  if (NamedOption(info, arg)) return true;
  const std::size_t equals = arg.find('=');
  return equals != std::string::npos && NamedOption(info, arg.substr(0, equals));
}

// The parser works on QStrings; each byte of an argument is kept as one Latin-1
// character, so file names and texts come back byte for byte.
QString Bytes(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }
std::string Bytes(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

std::string HelpText(const CommandInfo& info) {
  QCommandLineParser parser;
  parser.addOption(QtOption(kHelpOption));
  for (const OptionInfo& option : info.Options) parser.addOption(QtOption(option));
  // Qt's text starts "Usage: <executable_name> [options]"; the options table is its own.
  const std::string generated = parser.helpText().toStdString();
  const std::size_t options = generated.find("Options:");
  return "Usage: kivrel-cli " + info.Name + (info.Arguments.empty() ? "" : " " + info.Arguments) + " [options]\n\n" +
         info.About + "\n" + (options == std::string::npos ? "" : generated.substr(options)) +
         (info.After.empty() ? "" : "\n" + info.After);
}

Args::Args(const CommandInfo& info, const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.addOption(QtOption(kHelpOption));
  for (const OptionInfo& option : info.Options) parser.addOption(QtOption(option));

  // An option's values are the arguments after it, but never another option: Qt's
  // parser would take "--title --json" as a title. An option with several values is
  // handed over as that option once per value.
  QStringList list{QStringLiteral("kivrel-cli")};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      for (; i < args.size(); ++i) list << Bytes(args[i]);
      break;
    }
    const OptionInfo* option = NamedOption(info, arg);
    if (!option || option->ValueCount == 0) {
      list << Bytes(arg);
      continue;
    }
    const auto count = static_cast<std::size_t>(option->ValueCount);
    if (args.size() - i - 1 < count) {
      throw UsageError(arg + (count == 1 ? " needs a value" : " needs " + std::to_string(count) + " values"));
    }
    for (std::size_t k = 1; k <= count; ++k) {
      const std::string& value = args[i + k];
      if (LooksLikeOption(info, value)) {
        throw UsageError(arg + " needs a value, not the option \"" + value + "\" (write " + arg + "=" + value +
                         " for that text)");
      }
      if (option->Name.size() == 1) {
        list << Bytes(Dashed(option->Name)) << Bytes(value);
      } else {
        list << Bytes(Dashed(option->Name) + "=" + value);
      }
    }
    i += count;
  }

  if (!parser.parse(list)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) throw UsageError("unknown argument \"" + Dashed(Bytes(unknown.front())) + "\"");
    throw UsageError(Bytes(parser.errorText()));
  }
  help_ = parser.isSet(QStringLiteral("help"));
  for (const OptionInfo& option : info.Options) {
    const QString name = QString::fromStdString(option.Name);
    if (!parser.isSet(name)) continue;
    std::vector<std::string> values;
    for (const QString& value : parser.values(name)) values.push_back(Bytes(value));
    options_.emplace_back(Dashed(option.Name), std::move(values));
  }
  for (const QString& value : parser.positionalArguments()) positional_.push_back(Bytes(value));
}

bool Args::Flag(const std::string& name) const {
  return std::any_of(options_.begin(), options_.end(), [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> Args::Value(const std::string& name) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
    if (it->first == name && !it->second.empty()) return it->second.back();
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> Args::Values(const std::string& name, int count) const {
  for (const auto& [given, values] : options_) {
    if (given != name) continue;
    const auto wanted = static_cast<std::size_t>(count);
    if (values.size() < wanted) throw UsageError(name + " needs " + std::to_string(count) + " values");
    return std::vector<std::string>(values.end() - static_cast<std::ptrdiff_t>(wanted), values.end());
  }
  return std::nullopt;
}

long long ParseNumber(const std::string& text, const std::string& option, long long min, long long max) {
  std::size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || value < min || value > max) {
    throw UsageError(option + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                     ", not \"" + text + "\"");
  }
  return value;
}

std::optional<long long> Args::Number(const std::string& name, long long min, long long max) const {
  auto value = Value(name);
  if (!value) return std::nullopt;
  return ParseNumber(*value, name, min, max);
}

std::string Args::Positional(const std::string& what) {
  if (positional_.empty()) throw UsageError("missing " + what);
  std::string value = positional_.front();
  positional_.erase(positional_.begin());
  return value;
}

std::vector<std::string> Args::Positionals() {
  std::vector<std::string> values;
  values.swap(positional_);
  return values;
}

void Args::Finish() const {
  if (!positional_.empty()) throw UsageError("unknown argument \"" + positional_.front() + "\"");
}

std::string ReadFileBytes(const std::string& path) {
  FileResult<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw UsageError("cannot read \"" + path + "\": " + bytes.Error().Reason);
  return std::move(*bytes);
}

void CheckOutput(std::ostream& out) {
  // A failed write leaves its reason in errno; the stream only remembers that it failed.
  if (out.flush()) return;
  const int error = errno ? errno : EIO;
  throw UsageError(std::string("cannot write the output: ") + std::strerror(error));
}

void CheckOutputFiles(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs) {
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (const std::string& input : inputs) {
      if (SameFile(outputs[i], input)) {
        throw UsageError("\"" + outputs[i] + "\" is the input file \"" + input + "\": give another file to write");
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(outputs[i], outputs[j])) {
        throw UsageError("\"" + outputs[j] + "\" and \"" + outputs[i] + "\" are one file: give each output its own");
      }
    }
  }
}

std::string Printable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char32_t ch = DecodeUtf8(text, pos);
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(ch));
      shown += escape;
    } else {
      AppendUtf8(shown, ch);
    }
  }
  return shown;
}

std::string Shortened(std::string_view text, std::size_t limit) {
  if (CharCount(text) <= limit) return std::string(text);
  std::u32string chars = Characters(text);
  chars.resize(limit);
  return Utf8(chars) + "...";
}

const char* const kThemesHelp =
    "LIST may also name one of the themed lists that come with Kivrel, such as ocean,\n"
    "farm or capitals; an unknown name lists them all.\n";

const OptionInfo kLowerCaseOption{
    "lowercase", "",
    "show the grid, the word list and the answer key in lower case (the JSON output and the puzzle file keep "
    "capitals)",
    0};

void TakeLetterCase(const Args& args, AppContext& ctx) {
  ctx.MainForm().SetChecked(frmKV_Puzzle::mnuLowerCase, args.Flag("--lowercase"));
}

std::string WordListPath(const std::string& argument) {
  std::error_code error;
  if (argument.find('/') != std::string::npos || std::filesystem::exists(argument, error)) return argument;
  const std::string folder = ThemeFolder();
  const std::vector<ThemeList> themes = ThemeLists(folder);
  if (auto theme = FindThemeList(themes, argument)) return theme->Path;
  // A theme is named without an extension: "anmals.kvl" is a file that is not there,
  // and reading it says so.
  if (themes.empty() || std::filesystem::path(argument).has_extension()) return argument;
  std::string names;
  for (const ThemeList& theme : themes) names += (names.empty() ? "" : ", ") + theme.Name;
  throw UsageError("\"" + argument + "\" is neither a file nor a themed list; the themes in " + folder +
                   " are: " + names);
}

ParsedWordList ReadWordListArgument(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  if (ParsePuzzleFile(bytes)) {
    throw UsageError(path + ": a puzzle file, not a word list (kivrel-cli show prints a puzzle)");
  }
  FileResult<ParsedWordList> parsed = ParseWordList(bytes);
  if (!parsed) throw UsageError(path + ": " + parsed.Error().Reason);
  return std::move(*parsed);
}

std::string ReadPuzzleFileBytes(const std::string& path) {
  auto not_a_puzzle = [&path](const FileError& error) {
    return UsageError(path + ": " + kNotAPuzzleMessage + " (" + error.Reason + ", at byte " +
                      std::to_string(error.Offset) + ")");
  };
  // A file whose header is no puzzle's, or that is far longer than its counts allow, is
  // refused before the rest of it is read.
  FileResult<std::string> bytes = ReadWholeFile(path, PuzzleFileHeadCheck());
  if (!bytes && bytes.Error().Fault == FileFault::Invalid) throw not_a_puzzle(bytes.Error());
  if (!bytes) throw UsageError("cannot read \"" + path + "\": " + bytes.Error().Reason);
  if (const FileResult<PuzzleFile> file = ParsePuzzleFile(*bytes); !file) throw not_a_puzzle(file.Error());
  return std::move(*bytes);
}

std::uint64_t FirstSeed(std::optional<long long> given) {
  // 52 bits: below kLargestSeed with room for a million puzzles after it.
  static_assert((std::uint64_t{1} << 52) + 1000000 <= static_cast<std::uint64_t>(kLargestSeed));
  return given ? static_cast<std::uint64_t>(*given) : FreshSeed() >> 12;
}

}  // namespace kivrel::cli
