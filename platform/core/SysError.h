// The system's own text for an error code: what an error box adds after
// saying what failed ("Cannot create file ... . The system cannot find the
// path specified").
#pragma once
#include <cstdint>

#include "platform/core/UString.h"

namespace qv {

// The message for a Windows error code (an errno value on the host),
// without the trailing line break.
String SysErrorMessage(uint32_t code);

// What a failed file operation says: the action and the name, then the
// system's reason for the code, e.g. "Cannot write to file \"C:\a.html\".
// There is not enough space on the disk".
String FileErrorMessage(StringView action, StringView path, uint32_t code);

}  // namespace qv
