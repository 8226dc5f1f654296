#include "model/Random.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <random>

namespace kivrel {

std::uint64_t FreshSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return FreshSeed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

std::uint64_t FreshSeed(std::uint64_t clock_ns) {
  // The clock alone is not enough: a coarse clock gives two calls close together the
  // same time. The system's random source and a count of the calls make each seed its own.
  static std::atomic<std::uint64_t> calls{0};
  std::uint64_t seed = clock_ns ^ ((calls.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ULL);
  try {
    std::random_device device;
    seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No random source on this system: the clock and the count still differ per call.
  }
  return seed;
}

}  // namespace kivrel
