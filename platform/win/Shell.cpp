#include "platform/win/Shell.h"

#include "platform/win/SystemProc.h"
#include "platform/win/WinString.h"

namespace qv {

// The shell library and what it loads with it cost several milliseconds of
// every start; it is loaded when a link is first opened instead.
HINSTANCE ShellOpen(HWND owner, const String& target) {
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static const auto shellExecute = SystemProc<ShellExecuteFn>(L"shell32.dll", "ShellExecuteW");
  // Without the shell: SE_ERR_OOM, as ShellExecuteW answers when out of resources.
  if (!shellExecute) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(8));
  return shellExecute(owner, L"open", W(target), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qv
