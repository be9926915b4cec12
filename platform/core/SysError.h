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

// The code the last failed file operation of the run-time library left.
uint32_t LastFileError();

}  // namespace qv
