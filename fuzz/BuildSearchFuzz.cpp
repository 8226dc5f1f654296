// Fuzz target: the build's line scanner against the plain offset-by-offset search, on
// cases made from the input (tests/support/SearchCheck.h says how). Both must choose the
// same place for every word, draw the same numbers and yield once a line. The input
// picks which of the processor's builds of the search runs; GCC's build of the one for
// VBMI2, whose instructions are written out, the core tests check the same way.
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
