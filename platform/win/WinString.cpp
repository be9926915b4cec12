#include "platform/win/WinString.h"

#include <vector>

namespace qv {

String GetWindowTextString(HWND wnd) {
  const int n = GetWindowTextLengthW(wnd);
  if (n <= 0) return String();
  std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
  const int got = GetWindowTextW(wnd, buf.data(), n + 1);
  return FromW(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

String GetClassNameString(HWND wnd) {
  wchar_t buf[256];
  const int n = GetClassNameW(wnd, buf, 256);
  return FromW(buf, static_cast<size_t>(n > 0 ? n : 0));
}

String ProgramPath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) return FromW(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

}  // namespace qv
