#pragma once
// The program's one source of randomness. A small fixed algorithm (SplitMix64) so that
// a seed gives the same puzzle with every compiler and standard library.
#include <cstdint>

namespace kivrel {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) { Seed(seed); }

  /// Starts the sequence again from a seed.
  void Seed(std::uint64_t seed) { state_ = seed; }

  /// A uniform single-precision value r with 0 <= r < 1 (24 random bits).
  float Next() { return static_cast<float>(NextBits() >> 40) * (1.0f / 16777216.0f); }

  /// Int(r * n) for a fresh r: a uniform integer 0 <= k < n (0 when n <= 0).
  int Below(int n) {
    if (n <= 0) {
      NextBits();
      return 0;
    }
    return static_cast<int>(static_cast<double>(Next()) * n);
  }

 private:
  std::uint64_t NextBits() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  std::uint64_t state_ = 0;
};

/// A seed nobody chose: the clock's time in nanoseconds, mixed with the system's random
/// source and the number of seeds made before it in this process, so that two calls at
/// the same clock reading still get seeds of their own. Never throws: where the system
/// has no random source, the clock and the count are the seed.
std::uint64_t FreshSeed();
/// The same for a clock reading of `clock_ns`.
std::uint64_t FreshSeed(std::uint64_t clock_ns);

}  // namespace kivrel
