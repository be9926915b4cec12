// The class library's UTF-16 text at the Win32 boundary: wchar_t is 16 bits
// on Windows, so the view costs nothing.
#pragma once
#include <windows.h>

#include "platform/core/SysError.h"
#include "platform/core/UString.h"

namespace qv {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

inline const wchar_t* W(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline String FromW(const wchar_t* s) { return s ? String(reinterpret_cast<const char16_t*>(s)) : String(); }
inline String FromW(const wchar_t* s, size_t n) { return String(reinterpret_cast<const char16_t*>(s), n); }

// The window's text of any length.
String GetWindowTextString(HWND wnd);
// The window's class name as the system reports it.
String GetClassNameString(HWND wnd);
// The program's own path (the run-time library's ParamStr(0)).
String ProgramPath();

}  // namespace qv
