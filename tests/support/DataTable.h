#pragma once
// A table of cases in tests/data: its rows are its lines but blank ones and # comments.
#include <fstream>
#include <string>
#include <vector>

inline std::vector<std::string> DataTableRows(const std::string& name) {
  std::ifstream in(std::string(KIVREL_TEST_DATA_DIR) + "/" + name);
  std::vector<std::string> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') rows.push_back(line);
  }
  return rows;
}
