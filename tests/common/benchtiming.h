#pragma once
// The clock and the figures of the benchmarks that run under Wine (the
// start-up bench and the main form's in-process benches): one clock, one
// median and one worst for all of them, so their figures compare.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kova::bench {

// Milliseconds on the performance counter.
inline double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

// The middle value; the mean of the two middle ones for an even count; 0
// for none.
inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double Worst(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// The count after "--runs" on the command line (at least 1), else `fallback`.
inline int RunsArg(int argc, char** argv, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) return std::max(1, std::atoi(argv[i + 1]));
  return fallback;
}

}  // namespace kova::bench
