// Fuzz target: the build's line scanner against the plain offset-by-offset search, on
// cases made from the input (tests/support/SearchCheck.h says how). Both must choose the
// same place for every word, draw the same numbers and yield once a line. A clang build
// runs the scanner's portable kernels; the core tests run the same check on the kernels
// the processor selects in the GCC build.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "SearchCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure =
      kivrel::testing::CheckSearches(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!failure.empty()) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
