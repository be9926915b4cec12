#include "platform/core/SysError.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#endif

namespace qv {

#ifdef _WIN32
String SysErrorMessage(uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  String out = n ? String(reinterpret_cast<const char16_t*>(text), n) : String();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == u'\r' || out.back() == u'\n' || out.back() == u' ')) out.pop_back();
  return out;
}

// The run-time library keeps the system's code of a failed open beside errno.
uint32_t LastFileError() { return static_cast<uint32_t>(_doserrno); }
#else
String SysErrorMessage(uint32_t code) { return FromUtf8(std::strerror(static_cast<int>(code))); }

uint32_t LastFileError() { return static_cast<uint32_t>(errno); }
#endif

}  // namespace qv
