// Text and window helpers of the skin engine, and the user32 functions that
// older systems lack, looked up once at start-up. An absent function makes
// its helper degrade (GetScrollBarInfo false, TrackMouseLeave nothing)
// instead of failing. Tests may take an entry away through SkinUser32().
#pragma once
#include <windows.h>

#include <string>

#include "platform/core/UString.h"
#include "platform/win/Controls.h"

namespace qv {

struct TSkinUser32 {
  using GetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
  using TrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
  using GetComboBoxInfoProc = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
  using DisableProcessWindowsGhostingProc = void(WINAPI*)();

  HMODULE module = nullptr;
  GetScrollBarInfoProc GetScrollBarInfo = nullptr;
  TrackMouseEventProc TrackMouseEvent = nullptr;
  GetComboBoxInfoProc GetComboBoxInfo = nullptr;
  DisableProcessWindowsGhostingProc DisableProcessWindowsGhosting = nullptr;
};

// The entries found at start-up (the unit initialisation loads user32 once
// and frees it at the end).
TSkinUser32& SkinUser32();

// ANSI text to UTF-16 in SkinCodePage, embedded NULs included.
String AnsiToWide(const std::string& S);
// The first N characters of P (N = -1: up to its NUL; fewer when shorter).
String WideCopy(const wchar_t* P, int N);
// DrawTextW on NT, else DrawTextA of the text in the ANSI code page.
int SkinDrawText(HDC DC, StringView Text, RECT& Rect, UINT Format);
// The class-library control that owns the window, or null.
TWinControl* FindControlOfWindow(HWND Wnd);
// GetScrollBarInfo when the system has it; false otherwise.
bool SkinGetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& psbi);
// One WM_MOUSELEAVE for Wnd when the pointer leaves it.
void TrackMouseLeave(HWND Wnd);
// The component's "Color" becomes colour when it differs, and the control
// repaints at once; nothing when it has that colour or no such property.
void SetComponentColor(TComponent* component, TColor colour);

}  // namespace qv
