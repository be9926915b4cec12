// Counting this process's GDI objects, menus and this thread's windows.
#include "tests/support/ProcessObjects.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace qvtest {

namespace {

#ifndef _WIN64
const uint8_t* At(uint32_t address) { return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(address)); }
#endif

const uint8_t* GdiHandleTable() {
#ifndef _WIN64
  // A 32-bit process in Wine's 64-bit prefix (WoW64) also has a 64-bit TEB
  // and PEB, and Wine keeps the table's address only in that PEB; the 32-bit
  // TEB's GdiBatchCount then holds the 64-bit TEB's address (Wine's gdi32
  // looks the table up the same way). All three sit below 4 GiB.
  const auto* teb = reinterpret_cast<const uint8_t*>(NtCurrentTeb());
  if (const uint32_t teb64 = *reinterpret_cast<const uint32_t*>(teb + 0xF70)) {
    const uint32_t peb64 = *reinterpret_cast<const uint32_t*>(At(teb64) + 0x60);  // TEB64.ProcessEnvironmentBlock
    return peb64 ? At(*reinterpret_cast<const uint32_t*>(At(peb64) + 0xF8)) : nullptr;  // PEB64.GdiSharedHandleTable
  }
#endif
  PROCESS_BASIC_INFORMATION info{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
      !info.PebBaseAddress)
    return nullptr;
  const auto* peb = reinterpret_cast<const uint8_t*>(info.PebBaseAddress);
  const size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
  return *reinterpret_cast<const uint8_t* const*>(peb + offset);
}

BOOL CALLBACK CountChild(HWND, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  EnumChildWindows(w, CountChild, n);
  return TRUE;
}

}  // namespace

int LiveGdiObjects() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
  const uint8_t* table = GdiHandleTable();
  if (!table) return -1;
  int live = 0;
  for (uint32_t i = 0; i < 0x10000; ++i) {
    const uint8_t* e = table + i * 24;
    if (!e[14]) continue;  // no type: a free entry
    const uint16_t unique = *reinterpret_cast<const uint16_t*>(e + 12);
    const auto handle = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(i | (static_cast<uint32_t>(unique) << 16)));
    if (GetObjectType(handle)) ++live;
  }
  return live;
}

bool GdiCountIsTrustworthy() {
  const int before = LiveGdiObjects();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 100; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  const int during = LiveGdiObjects();
  for (HBRUSH b : brushes) DeleteObject(b);
  return before >= 0 && during - before == 100 && LiveGdiObjects() == before;
}

const char* GdiCountSource() {
  if (GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return "GetGuiResources";
  return GdiHandleTable() ? "handle table probed with GetObjectType" : "nothing: no GDI handle table found";
}

int LiveMenus() {
  // User handles are (slot << 1) + 0x20 in the lower word, up to 0xFFEF.
  int n = 0;
  for (uintptr_t h = 0x20; h < 0xFFF0; h += 2)
    if (IsMenu(reinterpret_cast<HMENU>(h))) ++n;
  return n;
}

int ThreadWindows() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&n));
  // Message-only windows (timers, utility windows) are no one's top level.
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
    if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) CountTopLevel(w, reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace qvtest
