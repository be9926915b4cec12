// The yardstick of the start-up benchmark: a bare Win32 program that opens
// one plain window of the main window's size and caption, centred, and
// paints its client area. Built and started the same way as the program.
//
// Built a second time as bare_window_v6 with the program's manifest and its
// first call into the common controls: the version 6 library then sets up
// (display connection, themes) before the entry point, as it does for the
// program, and that start-up is the least the program can come down to
// without giving up the library its link control needs.
#include <windows.h>
#ifdef QV_BARE_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include "platform/win/StartupTrace.h"

namespace {

LRESULT CALLBACK BareProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  qv::StartupMark("program entered");
#ifdef QV_BARE_COMMON_CONTROLS
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_LINK_CLASS | ICC_DATE_CLASSES |
                                           ICC_USEREX_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&icc);
#endif
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = BareProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"QvBareWindow";
  RegisterClassExW(&wc);
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, 455, 267};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HWND wnd = CreateWindowExW(0, L"QvBareWindow", L"Quillvault V1.1 By Marrowick", style,
                             (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                             nullptr, nullptr, instance, nullptr);
  ShowWindow(wnd, show);
  qv::StartupMark("window made and shown");
  UpdateWindow(wnd);
  qv::StartupMark("window painted");
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
