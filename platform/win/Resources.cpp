#include "platform/win/Resources.h"

#include <windows.h>

#include "platform/core/Exceptions.h"
#include "platform/win/WinString.h"

namespace qv {

std::string LoadRcData(const String& name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, W(name), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) throw EReadError(u"Resource " + name + u" not found");
  HGLOBAL data = LoadResource(module, res);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EReadError(u"Resource " + name + u" cannot be loaded");
  return std::string(static_cast<const char*>(bytes), SizeofResource(module, res));
}

}  // namespace qv
