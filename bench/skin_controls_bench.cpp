// Skinned controls and a skinned popup menu under the program's own skin:
// the time to repaint each kind of control (invalidate, erase and paint at
// once, frame included), the whole window with its children, and a popup
// menu from TrackPopupMenu to the moment it waits for input, painted; the
// skinned overlay of a list's scroll bar, as it is repainted after every
// line a log box appends (same thumb, and thumb moved); then
// the live GDI objects before and after many of each, which must not grow.
// Last, a tab picture of 5000 x 5000 pixels (inside the load budget): the
// time to turn it, and to skin and paint a window of tab controls on every
// side with the program's skin, then with the picture in it, and the memory
// each takes beyond the skin.
// Runs under Wine: skin_controls_bench.exe [skin archive].
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <vector>

#include "bench/BenchWindows.h"
#include "bench/MedianMicros.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
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

double MegabytesHeld() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return static_cast<double>(c.PagefileUsage) / (1 << 20);
}

double SecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER f, now;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(f.QuadPart);
}

// The skin archive `file` with its "tabs.bmp" member replaced by `tabs`.
std::vector<TSkinMember> WithTabPicture(const String& file, const TBitmap& tabs) {
  std::vector<TSkinMember> members;
  TSkinReader reader;
  if (!reader.loadfromfile(file)) return members;
  for (int i = 0; i < reader.Dir->Count(); ++i) {
    TMemoryStream m;
    const String name = reader.Dir->Get(i);
    if (name == u"tabs.bmp") tabs.SaveToStream(m);
    else reader.readfile(name, m);
    members.push_back({name, m.Bytes()});
  }
  return members;
}

// A window of 24 raw tab controls, six on each side, shown until it is
// skinned and painted: the time that took and the memory it added.
void SkinTabWindow(const char* skin) {
  const double held = MegabytesHeld();
  HWND w = CreateWindowExW(0, L"QvControlsBench", L"Tabs", WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 60, 60, 900, 700,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const DWORD sides[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_BOTTOM};
  for (int s = 0; s < 4; ++s)
    for (int i = 0; i < 6; ++i) {
      HWND tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_MULTILINE | sides[s], 10 + i * 145,
                                 10 + s * 160, 140, 150, w, nullptr, GetModuleHandleW(nullptr), nullptr);
      for (int t = 0; t < 3; ++t) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"Page");
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(t), reinterpret_cast<LPARAM>(&item));
      }
    }
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  ShowWindow(w, SW_SHOWNORMAL);
  SetForegroundWindow(w);
  if (!WaitSkinned(w)) {
    std::printf("  the window of tab controls was not skinned\n");
    DestroyWindow(w);
    return;
  }
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const double seconds = SecondsSince(start);
  std::printf("  %-44s %8.1f ms, %6.1f MB more\n", skin, seconds * 1000, MegabytesHeld() - held);
  HWND first = GetWindow(w, GW_CHILD);
  std::printf("  %-44s %8.1f us\n", "  one tab control repainted", MedianMicros(100, [&] { Repaint(first); }));
  DestroyWindow(w);
  Pump();
}

void LargeTabPicture(TSkinData* data, const String& file) {
  constexpr int kSide = 5000;
  TBitmap big;
  big.SetSize(kSide, kSide);
  for (int f = 0; f < 5; ++f) FillRect(big, Rect(f * kSide / 5, 0, (f + 1) * kSide / 5, kSide), 0x203040 * (f + 1));
  std::printf("a %d x %d tab picture (%.0f MB of pixels):\n", kSide, kSide, 3.0 * kSide * kSide / (1 << 20));
  std::printf("  %-44s %8.1f ms\n", "turned a quarter (RotateBitmapLeft)", MedianMicros(3, [&] { RotateBitmapLeft(big); }) / 1000);
  std::printf("  %-44s %8.1f ms\n", "flipped (FlipBitmap)", MedianMicros(3, [&] { FlipBitmap(big); }) / 1000);
  const std::vector<TSkinMember> members = WithTabPicture(file, big);
  if (members.empty()) return;
  std::printf("a window of 24 tab controls, six on each side, skinned and painted (aim: well under a second):\n");
  SkinTabWindow("with the program's skin");
  TMemoryStream archive;
  WriteSkinArchive(70000, members, archive);
  archive.SetPosition(0);
  const double before = MegabytesHeld();
  data->LoadFromStream(archive);
  Pump();
  std::printf("  (the skin with the large picture loaded: %.1f MB more)\n", MegabytesHeld() - before);
  // The first paint moves the picture's pixels into a DIB section, once.
  SkinTabWindow("with the 5000 x 5000 tab picture, first");
  SkinTabWindow("the same again");
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
      // A raw bar with a tab stop gets no skin: this is the system's own paint.
      {"system scroll bar", L"SCROLLBAR", SBS_HORZ | WS_TABSTOP, {10, 150, 200, 167}, nullptr},
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
    std::printf("  %-17s %8.1f us\n", k.name, us);
  }
  // A list's bar under a skinned overlay, as a memo's is.
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                              340, 10, 120, 90, w, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < 200; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Log line"));
  auto* listSkin = new TSkinScrollbarH(nullptr);
  listSkin->Inithwnd(list, data, nullptr, nullptr);
  Pump();
  if (listSkin->vb && listSkin->vb->sbVisible) {
    HWND overlay = listSkin->vb->Handle();
    std::printf("  %-17s %8.1f us  (the overlay of a list's bar)\n", "skinned bar",
                MedianMicros(300, [&] { Repaint(overlay); }));
    int pos = 0;
    // The position changes without the system's repaint of its own bar.
    const double moved = MedianMicros(300, [&] {
      SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos = (pos + 7) % 150, 0};
      SetScrollInfo(list, SB_VERT, &si, FALSE);
      Repaint(overlay);
    });
    std::printf("  %-17s %8.1f us  (the same, its thumb moved)\n", "skinned bar", moved);
    // The overlay's own paint alone, into a memory DC, without the system's
    // invalidating, erasing and frame around it.
    HDC screen = GetDC(overlay);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bits = CreateCompatibleBitmap(screen, 64, 1024);
    HGDIOBJ old = SelectObject(mem, bits);
    const double own = MedianMicros(1000, [&] { SendMessageW(overlay, WM_PAINT, reinterpret_cast<WPARAM>(mem), 0); });
    std::printf("  %-17s %8.1f us  (its paint alone, into a memory DC)\n", "skinned bar", own);
    SelectObject(mem, old);
    DeleteObject(bits);
    DeleteDC(mem);
    ReleaseDC(overlay, screen);
  }
  const double all = MedianMicros(100, [&] { Repaint(w, RDW_ALLCHILDREN); });
  std::printf("  %-17s %8.1f us  (the window, frame and all children)\n", "whole window", all);
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

  delete listSkin;
  DestroyWindow(w);
  DestroyMenu(popup);
  LargeTabPicture(data, argc > 1 ? FromW(argv[1]) : String(u"Z:" QV_SKIN_FILE));
  delete SkinManager;
  delete data;
  return end > start ? 1 : 0;
}
