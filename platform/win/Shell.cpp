#include "platform/win/Shell.h"

#include <shellapi.h>

#include "platform/win/WinString.h"

namespace qv {

HINSTANCE ShellOpen(HWND owner, const String& target) {
  return ShellExecuteW(owner, L"open", W(target), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qv
