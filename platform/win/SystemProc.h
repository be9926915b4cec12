// Entries of system libraries the program needs only now and then, looked up
// when first called instead of imported: the loader brings every imported
// library (and what it imports in turn) in before the program starts, and
// each costs start-up time, under Wine most of all.
#pragma once
#include <windows.h>

namespace qv {

// The entry `name` of the system library `library`, loaded on the first call
// and kept for the rest of the run; nullptr when either is missing.
FARPROC SystemProcAddress(const wchar_t* library, const char* name);

template <class Fn>
Fn SystemProc(const wchar_t* library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemProcAddress(library, name)));
}

}  // namespace qv
