// Work done for the system inside one of its callbacks (a window procedure,
// painting above all) must not let an exception out. Between the callback and
// our message loop lie the system's own frames: the 32-bit program's unwinder
// cannot step through them and ends the process, and where it can, it leaves
// the system's state half-way (a paint begun and never ended, a capture never
// released). Work that may fail there runs behind this barrier and, failing,
// leaves the window as it stood.
#pragma once

#include <utility>

namespace qv {

template <class Work>
void ExceptionBarrier(Work&& work) noexcept {
  try {
    std::forward<Work>(work)();
  } catch (...) {
  }
}

// Inside a catch block only: the exception being handled reaches the user
// through the application's error box, whatever its type.
void ReportCurrentException() noexcept;

// The barrier of every entry from the system (a window procedure, a hook):
// whatever the work throws is reported and stops here.
template <class Work>
void ReportingBarrier(Work&& work) noexcept {
  try {
    std::forward<Work>(work)();
  } catch (...) {
    ReportCurrentException();
  }
}

}  // namespace qv
