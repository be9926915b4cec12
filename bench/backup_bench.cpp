// Backs up a generated blog with the real program (or another build of it,
// to compare) and prints articles per second and the program's peak working
// set. Run by bench/backup-bench.sh, which starts the substitute blog service
// and passes its port.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "tests/support/WinTestSupport.h"

using namespace qvtest;

namespace {

// The program's own account of the run (see app/RunTiming.h), per article.
// serverMs: curl's time per request; editMs: the edit control's own time per
// appended line (its append and its repaint), measured alone. Our share is
// the rest.
void PrintBreakdown(const std::wstring& file, double seconds, double serverMs, double editMs) {
  FILE* f = _wfopen(file.c_str(), L"rb");
  if (!f) return;
  int articles = 0, requests = 0;
  double t[6] = {};
  const int got = std::fscanf(f, "articles=%d requests=%d request=%lf reading=%lf writing=%lf logline=%lf pump=%lf indexrow=%lf",
                              &articles, &requests, &t[0], &t[1], &t[2], &t[3], &t[4], &t[5]);
  std::fclose(f);
  if (got != 8 || articles <= 0) return;
  static const char* const kNames[6] = {"requests", "reading pages", "writing files", "log line", "message pump", "index row"};
  double sum = 0;
  std::printf("per article, in ms (%d requests):", requests);
  for (int i = 0; i < 6; ++i) {
    std::printf(" %s %.3f,", kNames[i], 1000 * t[i] / articles);
    sum += t[i];
  }
  std::printf(" the rest %.3f\n", 1000 * (seconds - sum) / articles);
  if (serverMs <= 0) return;
  const double total = 1000 * seconds / articles, server = serverMs * requests / articles;
  std::printf("our share per article: %.3f ms total - %.3f server (curl) - %.3f edit control alone = %.3f ms (aim 2)\n",
              total, server, editMs, total - server - editMs);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: backup_bench <service port> <articles> [server ms per request] [edit ms per line] "
                 "[program.exe]\n");
    return 2;
  }
  const std::wstring host = L"127.0.0.1:" + std::wstring(argv[1]);
  const int articles = _wtoi(argv[2]);
  ProgramUnderTest program(L"bench", argc > 5 ? std::wstring(argv[5]) : QuillvaultExe());
  program.SetEnv(L"QUILLVAULT_BLOG_HOST", host);
  program.SetEnv(L"QUILLVAULT_AUTHOR_HOST", host);
  program.SetEnv(L"QUILLVAULT_IMAGE_HOST", L"img.example.com");
  const std::wstring timingFile = program.Dir() + L"\\timing.txt";
  program.SetEnv(L"QUILLVAULT_TIMING", timingFile);
  CloseHandle(CreateFileW((program.Dir() + L"\\idhttp.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  program.Start();
  HWND form = program.WaitForWindow(L"TForm1", 30000);
  if (!form) return 1;
  HWND memo = FindChild(form, L"TMemo");
  // What the program holds before the run, to tell start-up from the run.
  PROCESS_MEMORY_COUNTERS ready{};
  ready.cb = sizeof ready;
  if (HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId())) {
    GetProcessMemoryInfo(p, &ready, sizeof ready);
    CloseHandle(p);
  }
  SendMessageW(FindChild(form, L"TEdit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"bench"));
  const DWORD start = GetTickCount();
  PostMessageW(FindChild(form, L"TButton"), BM_CLICK, 0, 0);
  if (!WaitUntil([&] { return WindowText(memo).find(L"备份完成！") != std::wstring::npos; }, 30 * 60 * 1000)) return 1;
  const double seconds = (GetTickCount() - start) / 1000.0;
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId());
  const bool haveMemory = process && GetProcessMemoryInfo(process, &pmc, sizeof pmc);
  if (process) CloseHandle(process);
  std::printf("quillvault: %d articles in %.2f s = %.1f articles/s", articles, seconds, articles / seconds);
  if (haveMemory)
    std::printf(", peak working set %.1f MiB (aim 32; %.1f MiB when the window was up, %.1f MiB peak by then)",
                pmc.PeakWorkingSetSize / 1048576.0, ready.WorkingSetSize / 1048576.0,
                ready.PeakWorkingSetSize / 1048576.0);
  std::printf("\n");
  PrintBreakdown(timingFile, seconds, argc > 3 ? _wtof(argv[3]) : 0, argc > 4 ? _wtof(argv[4]) : 0);
  PostMessageW(form, WM_CLOSE, 0, 0);
  program.WaitForExit(10000);
  return 0;
}
