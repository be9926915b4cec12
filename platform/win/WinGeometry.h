// The class library's points and rectangles as Win32 takes and gives them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/core/Geometry.h"

namespace qv {

inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect FromRECT(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
inline POINT ToPOINT(const TPoint& p) { return POINT{p.X, p.Y}; }

// A rectangle's size with its top-left at 0, 0: a window's rectangle in the
// coordinates of its own window DC.
inline TRect AtOrigin(const RECT& r) { return TRect{0, 0, r.right - r.left, r.bottom - r.top}; }
inline TRect WindowRectAtOrigin(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return AtOrigin(r);
}

// The point packed in a mouse message's lParam, x and y as signed 16-bit
// values (negative left of or above the window, or on monitors left of or
// above the primary one).
inline TPoint PointFromLParam(LPARAM lParam) {
  return TPoint{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

// The work area (the screen less the task bar) of the monitor w is on.
inline RECT WorkAreaOf(HWND w) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace qv
