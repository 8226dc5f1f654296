#pragma once
// A list file read into a program as opening it does, for the benchmarks: they have no
// dialog to report to, so a list that cannot be read or loaded throws.
#include <stdexcept>
#include <string>

#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "files/WordListFile.h"
#include "program/AppContext.h"

inline void LoadListFile(kivrel::AppContext& ctx, const std::string& path) {
  const kivrel::FileResult<std::string> bytes = kivrel::ReadWholeFile(path);
  if (!bytes) throw std::runtime_error(path + ": " + bytes.Error().Reason);
  const auto parsed = kivrel::ParseWordList(*bytes);
  std::string error = parsed ? "" : parsed.Error().Reason;
  if (!parsed || !kivrel::LoadWordList(ctx, *parsed, &error)) throw std::runtime_error(path + ": " + error);
}
