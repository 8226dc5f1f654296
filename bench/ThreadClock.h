#pragma once
#include <ctime>

// The calling thread's processor time in nanoseconds.
inline long long ThreadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}
