// Start-up of the program beside a bare window program, both started the
// same way: the time from just before CreateProcess to the moment the main
// window's frame shows its final pixels, read back from the screen. Each
// program is first started once and left for two seconds to learn those
// pixels (a few points of its caption and left border); then the runs
// alternate between the two programs and poll the points until they all
// show. The program is copied into a folder of its own with "idhttp.txt"
// beside it, so that no start-up visit goes out.
//
// Then a few more runs of each with QUILLVAULT_STARTUP_TRACE set give the
// median time of each step of their start-up (Wine's process creation time
// is some way after the caller's CreateProcess).
//
// startup_bench.exe <runs> <Quillvault.exe> <bare_window.exe>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Probe {
  std::wstring exe;
  std::vector<POINT> at;  // relative to the window's top-left corner
  std::vector<COLORREF> settled;
  std::vector<double> ms;
};

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Found {
  DWORD pid;
  HWND wnd;
};

BOOL CALLBACK FindVisible(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != f->pid || !IsWindowVisible(w)) return TRUE;
  RECT r;
  GetWindowRect(w, &r);
  if (r.right - r.left < 200) return TRUE;  // not the main window
  f->wnd = w;
  return FALSE;
}

HWND MainWindowOf(DWORD pid) {
  Found f{pid, nullptr};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&f));
  return f.wnd;
}

std::vector<COLORREF> Read(HWND w, const std::vector<POINT>& at) {
  RECT r;
  GetWindowRect(w, &r);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> c;
  for (POINT p : at) c.push_back(GetPixel(screen, r.left + p.x, r.top + p.y));
  ReleaseDC(nullptr, screen);
  return c;
}

// Black says nothing: a new X window is black until it is first painted.
bool Settled(const Probe& p, const std::vector<COLORREF>& now) {
  bool any = false;
  for (size_t i = 0; i < now.size(); ++i) {
    if (p.settled[i] == 0) continue;
    if (now[i] != p.settled[i]) return false;
    any = true;
  }
  return any;
}

void Stop(PROCESS_INFORMATION& pi) {
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

// One start: milliseconds until the points show their settled colours (or,
// with learn, until two seconds after the window showed, recording them);
// -1 when that does not happen within ten seconds.
double Start(Probe& p, bool learn) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + p.exe + L"\"";
  const double t0 = Now();
  if (!CreateProcessW(p.exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  double result = -1;
  while (Now() - t0 < 10000) {
    HWND w = MainWindowOf(pi.dwProcessId);
    if (!w) {
      Sleep(1);
      continue;
    }
    if (learn) {
      Sleep(2000);
      p.settled = Read(w, p.at);
      result = 0;
      break;
    }
    if (Settled(p, Read(w, p.at))) {
      result = Now() - t0;
      break;
    }
  }
  Stop(pi);
  return result;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The program's own marks over a few traced runs: per step, the median time
// since process creation of its first mark in a run.
void ReportSteps(const char* name, Probe& probe, const std::wstring& dir, int runs) {
  const std::wstring trace = dir + L"\\startup-trace.txt";
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> at;
  SetEnvironmentVariableW(L"QUILLVAULT_STARTUP_TRACE", trace.c_str());
  for (int i = 0; i < runs; ++i) {
    DeleteFileW(trace.c_str());
    if (Start(probe, false) < 0) continue;
    FILE* f = _wfopen(trace.c_str(), L"r");
    if (!f) continue;
    std::map<std::string, bool> seen;
    char line[256];
    double ms;
    char what[200];
    while (std::fgets(line, sizeof line, f)) {
      if (std::sscanf(line, "%lf %199[^\n]", &ms, what) != 2 || seen[what]) continue;
      seen[what] = true;
      if (!at.count(what)) order.push_back(what);
      at[what].push_back(ms);
    }
    std::fclose(f);
  }
  SetEnvironmentVariableW(L"QUILLVAULT_STARTUP_TRACE", nullptr);
  DeleteFileW(trace.c_str());
  if (order.empty()) return;
  std::printf("  steps of %s (median of %d traced runs; ms since its process was created, and the step's own):\n",
              name, runs);
  std::stable_sort(order.begin(), order.end(),
                   [&](const std::string& a, const std::string& b) { return Median(at[a]) < Median(at[b]); });
  double previous = 0;
  for (const std::string& step : order) {
    const double m = Median(at[step]);
    std::printf("    %7.1f  %+6.1f  %s\n", m, m - previous, step.c_str());
    previous = m;
  }
}

void Report(const char* name, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("  %-30s min %6.1f  median %6.1f  max %6.1f ms  (%zu runs)\n", name, ms.front(), ms[ms.size() / 2],
              ms.back(), ms.size());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::printf("usage: startup_bench <runs> <Quillvault.exe> <bare_window.exe>\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  // A folder of its own with idhttp.txt: no start-up visit.
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::wstring dir = std::wstring(tmp) + L"qv-startup-bench";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring program = dir + L"\\Quillvault.exe";
  if (!CopyFileW(argv[2], program.c_str(), FALSE)) {
    std::printf("cannot copy %ls\n", argv[2]);
    return 1;
  }
  CloseHandle(CreateFileW((dir + L"\\idhttp.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

  // Points of the caption strip (left, middle, right of the text area) and
  // of the left border: the skin paints them all in the frame's one copy.
  const std::vector<POINT> points = {{40, 10}, {150, 12}, {300, 8}, {420, 6}, {2, 150}, {100, 298}};
  Probe ours{program, points, {}, {}};
  Probe bare{argv[3], points, {}, {}};
  if (Start(ours, true) < 0 || Start(bare, true) < 0) {
    std::printf("a program did not show its window\n");
    return 1;
  }
  int failed = 0;
  for (int i = 0; i < runs; ++i) {
    for (Probe* p : {&ours, &bare}) {
      const double ms = Start(*p, false);
      if (ms < 0) ++failed;
      else p->ms.push_back(ms);
    }
  }
  std::printf("start-up, process creation to the main window's final frame pixels (Wine):\n");
  if (ours.ms.empty() || bare.ms.empty()) {
    std::printf("  no run finished\n");
    return 1;
  }
  for (const Probe* p : {&ours, &bare}) {
    std::printf("  %-30s frame pixels", p == &ours ? "Quillvault.exe" : "bare window program");
    for (COLORREF c : p->settled) std::printf(" %06lX", static_cast<unsigned long>(c));
    std::printf("\n");
  }
  Report("Quillvault.exe", ours.ms);
  Report("bare window program", bare.ms);
  std::printf("  ratio of the medians: %.2fx  (aim: within 1.2x)%s\n", Median(ours.ms) / Median(bare.ms),
              failed ? "  (some runs did not settle)" : "");
  ReportSteps("Quillvault.exe", ours, dir, 5);
  ReportSteps("the bare window program", bare, dir, 5);
  DeleteFileW(program.c_str());
  DeleteFileW((dir + L"\\idhttp.txt").c_str());
  RemoveDirectoryW(dir.c_str());
  return 0;
}
