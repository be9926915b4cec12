// Shared by the Windows benchmarks: the median time of a call, from the
// performance counter, in microseconds.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace qvbench {

// One call first as a warm-up (DIB sections, DCs and caches are made on first
// use), then the median of `runs` timed calls.
inline double MedianMicros(int runs, const std::function<void()>& call) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  std::vector<double> t;
  call();
  for (int i = 0; i < runs; ++i) {
    QueryPerformanceCounter(&a);
    call();
    QueryPerformanceCounter(&b);
    t.push_back(1e6 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace qvbench
