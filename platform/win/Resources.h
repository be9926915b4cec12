// Resources of the program's own module.
#pragma once
#include <string>

#include "platform/core/UString.h"

namespace qv {

// The bytes of an RCDATA resource; throws EReadError when it is missing.
std::string LoadRcData(const String& name);

}  // namespace qv
