// Marks of the start-up benchmark: when QUILLVAULT_STARTUP_TRACE names a
// file, each mark appends a line "<milliseconds since the process was
// created> <what>" to it. Without the variable a mark costs one look at a
// cached flag.
#pragma once

namespace qv {

void StartupMark(const char* what);

}  // namespace qv
