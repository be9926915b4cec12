// Skinned controls and a skinned popup menu under the program's own skin:
// the time to repaint each kind of control (invalidate, erase and paint at
// once, frame included), the whole window with its children, and a popup
// menu from TrackPopupMenu to the moment it waits for input, painted; then
// the live GDI objects before and after many of each, which must not grow.
// Runs under Wine: skin_controls_bench.exe [skin archive].
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "bench/BenchWindows.h"
#include "bench/MedianMicros.h"
#include "platform/win/WinString.h"
#include "skin/data/WinSkinData.h"

using namespace qv;
using namespace qvbench;

namespace {

HMENU popup = nullptr;
LARGE_INTEGER menuShown{};

LRESULT CALLBACK BenchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  // The menu is up, painted and idle: close it.
  if (msg == WM_ENTERIDLE && wp == MSGF_MENU) {
    if (!menuShown.QuadPart) QueryPerformanceCounter(&menuShown);
    EndMenu();
  }
  return DefWindowProcW(w, msg, wp, lp);
}

void Repaint(HWND w, UINT more = 0) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | more);
}

// Microseconds from the call to the menu's first idle moment (median).
double OpenMenu(HWND owner, int runs) {
  return MedianMicros(runs, [&] {
    menuShown.QuadPart = 0;
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 300, 300, 0, owner, nullptr);
    Pump();
  });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  TSkinData* data = LoadBenchSkin(argc, argv, u"Z:" QV_SKIN_FILE);
  if (!data) return 1;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterBenchClass(L"QvControlsBench", BenchProc);
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  HWND w = CreateWindowExW(0, L"QvControlsBench", L"Controls", style, 100, 100, 480, 320, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  struct Kind {
    const char* name;
    const wchar_t* cls;
    DWORD style;
    RECT at;
    HWND wnd;
  } kinds[] = {
      {"push button", L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, {10, 10, 90, 35}, nullptr},
      {"check box", L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, {10, 45, 120, 65}, nullptr},
      {"radio button", L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, {10, 75, 120, 95}, nullptr},
      {"group box", L"BUTTON", BS_GROUPBOX, {140, 10, 300, 100}, nullptr},
      {"edit", L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {10, 110, 160, 131}, nullptr},
      {"combo box", L"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, {180, 110, 330, 300}, nullptr},
      {"scroll bar", L"SCROLLBAR", SBS_HORZ | WS_TABSTOP, {10, 150, 200, 167}, nullptr},
      {"track bar", TRACKBAR_CLASSW, TBS_HORZ | WS_TABSTOP, {10, 180, 200, 210}, nullptr},
      {"progress bar", PROGRESS_CLASSW, 0, {10, 220, 200, 240}, nullptr},
  };
  for (Kind& k : kinds)
    k.wnd = CreateWindowExW(0, k.cls, L"Skinned", WS_CHILD | WS_VISIBLE | k.style, k.at.left, k.at.top,
                            k.at.right - k.at.left, k.at.bottom - k.at.top, w, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(kinds[8].wnd, PBM_SETPOS, 40, 0);
  popup = CreatePopupMenu();
  for (int i = 0; i < 8; ++i) AppendMenuW(popup, MF_STRING, 100 + i, L"Menu item");
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup, MF_STRING | MF_CHECKED, 200, L"Checked item");

  ShowWindow(w, SW_SHOWNORMAL);
  SetForegroundWindow(w);
  if (!WaitSkinned(w)) {
    std::printf("the window was not skinned\n");
    return 1;
  }
  Pump();
  std::printf("skinned controls, repaint with erase and frame (median):\n");
  for (Kind& k : kinds) {
    const double us = MedianMicros(300, [&] { Repaint(k.wnd); });
    std::printf("  %-16s %8.1f us\n", k.name, us);
  }
  const double all = MedianMicros(100, [&] { Repaint(w, RDW_ALLCHILDREN); });
  std::printf("  %-16s %8.1f us  (the window, frame and all children)\n", "whole window", all);
  std::printf("skinned popup menu of 10 items, TrackPopupMenu to its first idle moment: %8.1f us\n",
              OpenMenu(w, 50));

  PrintGdiCountHeading();
  Pump();
  const int start = LiveGdiObjects();
  for (int i = 0; i < 1000; ++i) {
    Repaint(w, RDW_ALLCHILDREN);
    if (i % 50 == 0) Pump();
  }
  OpenMenu(w, 200);
  Pump();
  const int end = LiveGdiObjects();
  std::printf("  before:                                      %6d\n", start);
  std::printf("  after 1,000 window repaints and 200 menus:   %6d (%+d)\n", end, end - start);
  std::printf("  %s\n", end > start ? "GREW: GDI objects leak" : "no growth");

  DestroyWindow(w);
  DestroyMenu(popup);
  delete SkinManager;
  delete data;
  return end > start ? 1 : 0;
}
