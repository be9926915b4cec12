#include "app/RunTiming.h"

#include <cstdio>
#include <string>

#include "platform/win/WinString.h"

namespace qv {

TRunTiming::TRunTiming() {
  if (const wchar_t* v = _wgetenv(L"QUILLVAULT_TIMING"); v && *v) file_ = FromW(v);
}

LARGE_INTEGER TRunTiming::Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

void TRunTiming::Add(TPhase phase, LARGE_INTEGER start) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  seconds_[phase] += static_cast<double>(Now().QuadPart - start.QuadPart) / static_cast<double>(f.QuadPart);
}

void TRunTiming::Write() const {
  if (!On()) return;
  static const char* const kNames[tpCount] = {"request", "reading", "writing", "logline", "pump", "indexrow"};
  std::string line = "articles=" + std::to_string(articles_) + " requests=" + std::to_string(requests_);
  for (int i = 0; i < tpCount; ++i) {
    // The readers' time holds the requests they make.
    const double s = i == tpReading ? seconds_[i] - seconds_[tpRequest] : seconds_[i];
    char v[64];
    std::snprintf(v, sizeof v, " %s=%.6f", kNames[i], s);
    line += v;
  }
  line += "\n";
  if (FILE* f = _wfopen(W(file_), L"ab")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

}  // namespace qv
