#include "platform/win/Messages.h"

#include "platform/core/Format.h"
#include "platform/win/WinString.h"

namespace qv {

ATOM ControlAtom() {
  static const ATOM atom = [] {
    const auto instance = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr)));
    const String name = Format(u"ControlOfs%.8X%.8X", {instance, static_cast<unsigned>(GetCurrentThreadId())});
    return GlobalAddAtomW(W(name));
  }();
  return atom;
}

}  // namespace qv
