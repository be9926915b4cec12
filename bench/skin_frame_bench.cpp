// The skinned frame of a window the size of the program's main window (client
// 455 x 267) under the program's own skin: one PaintNC and one hit-test, in
// microseconds (median of many), and the process's live GDI objects before
// and after 10,000 frame repaints and 100 skin / unskin cycles, which must not
// grow. Runs under Wine: skin_frame_bench.exe [skin archive].
#include <windows.h>

#include <cstdio>

#include "bench/BenchWindows.h"
#include "bench/MedianMicros.h"
#include "platform/core/Exceptions.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"

using namespace qv;
using namespace qvbench;

namespace {

LRESULT CALLBACK BenchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, msg, wp, lp); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  TSkinData* data = LoadBenchSkin(argc, argv, u"Z:" QV_SKIN_FILE);
  if (!data) return 1;

  RegisterBenchClass(L"QvFrameBench", BenchProc);
  RECT r{0, 0, 455, 267};
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&r, style, FALSE, 0);
  HWND w = CreateWindowExW(0, L"QvFrameBench", L"Quillvault V1.1 By Marrowick", style, 100, 100, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(w, SW_SHOWNORMAL);
  SetForegroundWindow(w);
  TWinSkinForm* sf = WaitSkinned(w);
  if (!sf) {
    std::printf("the window was not skinned\n");
    return 1;
  }
  RECT wr{};
  GetWindowRect(w, &wr);
  std::printf("skinned frame, window %ld x %ld (client 455 x 267):\n", wr.right - wr.left, wr.bottom - wr.top);

  HDC dc = GetWindowDC(w);
  const double paint = MedianMicros(2000, [&] { sf->PaintNC(dc); });
  ReleaseDC(w, dc);
  std::printf("  PaintNC into the window DC:             %8.1f us/call   (aim: <= 300 us)\n", paint);
  const LPARAM onCaption = MAKELPARAM(wr.left + (wr.right - wr.left) / 2, wr.top + 12);
  const LPARAM onClient = MAKELPARAM(wr.left + 200, wr.top + 150);
  const double hitCaption = MedianMicros(20000, [&] { SendMessageW(w, WM_NCHITTEST, 0, onCaption); });
  const double hitClient = MedianMicros(20000, [&] { SendMessageW(w, WM_NCHITTEST, 0, onClient); });
  std::printf("  WM_NCHITTEST on the caption:            %8.2f us/call\n", hitCaption);
  std::printf("  WM_NCHITTEST in the client area:        %8.2f us/call\n", hitClient);

  PrintGdiCountHeading();
  Pump();
  const int start = LiveGdiObjects();
  for (int i = 0; i < 10000; ++i) {
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    if (i % 100 == 0) Pump();
  }
  Pump();
  const int afterPaints = LiveGdiObjects();
  std::printf("  before:                          %6d\n", start);
  std::printf("  after 10,000 frame repaints:     %6d (%+d)\n", afterPaints, afterPaints - start);

  // One skin / unskin cycle: the window is given back, its native frame
  // painted, and skinned afresh.
  auto cycle = [&]() -> bool {
    sf->UnSubclass();
    TWinSkinForm::Free(sf);
    Pump();
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    if (!SkinManager->AddForm(w)) return false;
    sf = WaitSkinned(w);
    return sf != nullptr;
  };
  // The first cycle is a warm-up: while unskinned the system paints the
  // native frame, and Wine keeps the fonts and bitmaps it makes for that
  // for the rest of the process.
  bool ok = cycle();
  Pump();
  const int warm = LiveGdiObjects();
  int cycles = 0;
  while (ok && cycles < 100) {
    ok = cycle();
    if (ok) ++cycles;
  }
  Pump();
  const int afterCycles = LiveGdiObjects();
  std::printf("  after one warm-up cycle:         %6d (%+d, made once on the first cycle)\n", warm, warm - afterPaints);
  std::printf("  after %d more skin / unskin cycles: %4d (%+d)\n", cycles, afterCycles, afterCycles - warm);
  const bool grew = afterPaints > start || afterCycles > warm;
  std::printf("  %s\n", grew ? "GREW: GDI objects leak" : "no growth");

  DestroyWindow(w);
  delete SkinManager;
  delete data;
  return grew || cycles < 100 ? 1 : 0;
}
