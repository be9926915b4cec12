#include "platform/win/SystemProc.h"

namespace qv {

FARPROC SystemProcAddress(const wchar_t* library, const char* name) {
  // Loading an already loaded library only counts it up; it is never freed,
  // so the count may as well stay.
  HMODULE module = LoadLibraryW(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace qv
