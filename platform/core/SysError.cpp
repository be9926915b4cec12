#include "platform/core/SysError.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
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
#else
String SysErrorMessage(uint32_t code) { return FromUtf8(std::strerror(static_cast<int>(code))); }
#endif

String FileErrorMessage(StringView action, StringView path, uint32_t code) {
  return String(action) + u" \"" + String(path) + u"\". " + SysErrorMessage(code);
}

}  // namespace qv
