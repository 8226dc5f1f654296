#include <fstream>
#include <sstream>

#include "Cli.h"
#include "commands/PuzzleCommands.h"
#include "files/PuzzleFile.h"

namespace kivrel::cli {

bool Args::Flag(const std::string& name) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (*it == name) {
      args_.erase(it);
      return true;
    }
  }
  return false;
}

std::optional<std::string> Args::Value(const std::string& name) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (*it == name) {
      if (it + 1 == args_.end()) throw UsageError(name + " needs a value");
      std::string value = *(it + 1);
      args_.erase(it, it + 2);
      return value;
    }
    if (it->rfind(name + "=", 0) == 0) {
      std::string value = it->substr(name.size() + 1);
      args_.erase(it);
      return value;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> Args::Values(const std::string& name, int count) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (*it != name) continue;
    if (args_.end() - it <= count) {
      throw UsageError(name + " needs " + std::to_string(count) + " values");
    }
    std::vector<std::string> values(it + 1, it + 1 + count);
    args_.erase(it, it + 1 + count);
    return values;
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

std::optional<long long> Args::Number(const std::string& name, long long min, long long max) {
  auto value = Value(name);
  if (!value) return std::nullopt;
  return ParseNumber(*value, name, min, max);
}

std::string Args::Positional(const std::string& what) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (it->size() > 1 && (*it)[0] == '-') continue;
    std::string value = *it;
    args_.erase(it);
    return value;
  }
  throw UsageError("missing " + what);
}

std::vector<std::string> Args::Positionals() {
  std::vector<std::string> values;
  for (auto it = args_.begin(); it != args_.end();) {
    if (it->size() > 1 && (*it)[0] == '-') {
      ++it;
    } else {
      values.push_back(*it);
      it = args_.erase(it);
    }
  }
  return values;
}

void Args::Finish() const {
  if (!args_.empty()) throw UsageError("unknown argument \"" + args_.front() + "\"");
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError("cannot read \"" + path + "\"");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw UsageError("cannot read \"" + path + "\"");
  return bytes.str();
}

std::string ReadPuzzleFileBytes(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  PuzzleFileError error;
  if (!ParsePuzzleFile(bytes, &error)) {
    throw UsageError(path + ": " + kNotAPuzzleMessage + " (" + error.Reason + ", at byte " +
                     std::to_string(error.Offset) + ")");
  }
  return bytes;
}

}  // namespace kivrel::cli
