// Message boxes as the platform-free code sees them. The Windows program
// installs the real box at start-up; tests install a recorder.
#pragma once
#include <functional>

#include "platform/core/UString.h"

namespace qv {

// Flag values are those of the Win32 MessageBox.
enum : unsigned { mbOK = 0x0, mbIconError = 0x10, mbIconWarning = 0x30, mbIconInformation = 0x40 };

using TMessageBoxHandler = std::function<int(StringView text, StringView caption, unsigned flags)>;

// Returns the handler that was installed before.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);
int ShowMessageBox(StringView text, StringView caption, unsigned flags);
// A box captioned with the application's title.
void ShowMessage(StringView text);
void SetApplicationTitle(StringView title);
const String& ApplicationTitle();

}  // namespace qv
