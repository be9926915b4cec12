// What the platform's multi-line edit control costs for one appended log
// line, with nothing of ours in the way: a raw EDIT with the log box's styles
// and size, the lines of a backup log (2,000, or as many as the argument
// says) appended one by one, as the log box appends them (caret to the end,
// replace the empty selection). Prints the mean time per line over each
// quarter of the log, with word wrap (the log box) and without, hidden, and
// with the drawing held around each append as the skinned log box does (its
// native bar lies under the skin's overlay), and the time of the repaint
// that follows. Under Wine most of a visible append is the native bar's
// redraw.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

enum TVariant { vPlain, vHidden, vHeld };

void Run(const wchar_t* label, int kLines, DWORD extraStyle, TVariant variant = vPlain) {
  HWND top = CreateWindowExW(0, L"STATIC", L"edit bench", WS_POPUP | WS_VISIBLE, 0, 0, 480, 300, nullptr, nullptr,
                             nullptr, nullptr);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | (variant == vHidden ? 0 : WS_VISIBLE) | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL |
                                  ES_LEFT | extraStyle,
                              0, 0, 455, 229, top, nullptr, nullptr, nullptr);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  Pump();
  const int kStretch = std::max(kLines / 4, 1);
  double append = 0, paint = 0, allAppend = 0, allPaint = 0, allHold = 0;
  std::wprintf(L"%-24ls", label);
  for (int i = 1; i <= kLines; ++i) {
    const std::wstring line = (i == 1 ? L"" : L"\r\n") + std::to_wstring(i) + L" 第" + std::to_wstring(i) +
                              L"篇文章的标题 Article title number " + std::to_wstring(i);
    // Held: the window counts as hidden while the text changes, its frame
    // (the native bar) is left as it is and its client area repainted; the
    // hold and its release are timed apart from the edit's own work.
    const double h0 = Now();
    if (variant == vHeld) DefWindowProcW(edit, WM_SETREDRAW, FALSE, 0);
    const double a = Now();
    const LRESULT end = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(edit, EM_SETSEL, end, end);
    SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
    const double b = Now();
    if (variant == vHeld) {
      DefWindowProcW(edit, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(edit, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
      RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
      allHold += (a - h0) + (Now() - b);
    }
    Pump();
    paint += Now() - b;
    append += b - a;
    allAppend += b - a;
    if (i % kStretch == 0) {
      std::wprintf(L"  lines %4d-%4d: %6.3f + %5.3f ms", i - kStretch + 1, i, 1000 * append / kStretch,
                   1000 * paint / kStretch);
      allPaint += paint;
      append = paint = 0;
    }
  }
  std::wprintf(L"  (append + repaint per line)\n%-24ls  all lines: append %.3f ms, repaint %.3f ms", L"",
               1000 * allAppend / kLines, 1000 * allPaint / kLines);
  if (variant == vHeld) std::wprintf(L", hold and release %.3f ms", 1000 * allHold / kLines);
  std::wprintf(L" per line\n");
  DestroyWindow(top);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int lines = argc > 1 ? std::max(_wtoi(argv[1]), 1) : 2000;
  Run(L"edit as the log box:", lines, 0);
  Run(L"edit, no word wrap:", lines, ES_AUTOHSCROLL);
  Run(L"edit, hidden:", lines, 0, vHidden);
  Run(L"edit, drawing held:", lines, 0, vHeld);
  return 0;
}
