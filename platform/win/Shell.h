// The shell's "open" verb.
#pragma once
#include <windows.h>

#include "platform/core/UString.h"

namespace qv {

// ShellExecuteW(owner, "open", target, no parameters, no folder, SW_SHOWNORMAL);
// the shell's answer is returned as it comes.
HINSTANCE ShellOpen(HWND owner, const String& target);

}  // namespace qv
