#include "platform/win/StartupTrace.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

uint64_t Ticks(const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

FILE* TraceFile() {
  static FILE* file = [] {
    const wchar_t* path = _wgetenv(L"QUILLVAULT_STARTUP_TRACE");
    return path && *path ? _wfopen(path, L"a") : nullptr;
  }();
  return file;
}

}  // namespace

void StartupMark(const char* what) {
  FILE* f = TraceFile();
  if (!f) return;
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  std::fprintf(f, "%.2f %s\n", static_cast<double>(Ticks(now) - Ticks(created)) / 1e4, what);
  std::fflush(f);
}

}  // namespace qv
