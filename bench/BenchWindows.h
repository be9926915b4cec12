// Shared by the Windows benchmarks of skinned windows: loading the skin, the
// window class, the message pump, waiting for a window to be skinned, and the
// process's live GDI objects.
//
// Counting GDI objects: Wine's GetGuiResources answers 0, so where it does,
// the process's GDI handle table that the PEB points at is walked (Wine's
// layout: 0x10000 entries of 24 bytes, the handle's upper word at +12, the
// type at +14) and each used entry is confirmed by GetObjectType on the
// handle it stands for (index | upper word << 16). The count is checked
// against 100 brushes made and freed before it is trusted.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/win/WinString.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"

namespace qvbench {

inline const uint8_t* GdiHandleTable() {
  PROCESS_BASIC_INFORMATION info{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
      !info.PebBaseAddress)
    return nullptr;
  const auto* peb = reinterpret_cast<const uint8_t*>(info.PebBaseAddress);
  const size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
  return *reinterpret_cast<const uint8_t* const*>(peb + offset);
}

inline int LiveGdiObjects() {
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

// True when making and freeing 100 brushes moves the count by exactly 100.
inline bool CountIsTrustworthy() {
  const int before = LiveGdiObjects();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 100; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  const int during = LiveGdiObjects();
  for (HBRUSH b : brushes) DeleteObject(b);
  return before >= 0 && during - before == 100 && LiveGdiObjects() == before;
}

inline const char* GdiCountSource() {
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) ? "GetGuiResources"
                                                             : "handle table probed with GetObjectType";
}

// The skin named on the command line, else the program's own, loaded and
// active; nullptr (said on stdout) when it cannot be read.
inline qv::TSkinData* LoadBenchSkin(int argc, wchar_t** argv, const char16_t* fallback) {
  const qv::String file = argc > 1 ? qv::FromW(argv[1]) : qv::String(fallback);
  auto* data = new qv::TSkinData(nullptr);
  data->SetLoading();
  data->LoadFromFile(file);
  if (data->Empty) {
    std::printf("skin %s not found\n", qv::ToUtf8(file).c_str());
    delete data;
    return nullptr;
  }
  data->SetActive(true);
  data->Loaded();
  return data;
}

// A plain top-level window class with the dialog face as its background.
inline void RegisterBenchClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// The heading of the GDI count report: where the count comes from and
// whether the brush check confirmed it.
inline void PrintGdiCountHeading() {
  const bool trusted = CountIsTrustworthy();
  std::printf("live GDI objects (%s, %s):\n", GdiCountSource(),
              trusted ? "checked with 100 brushes" : "NOT confirmed by the brush check");
}

inline void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

inline qv::TWinSkinForm* WaitSkinned(HWND w) {
  for (int i = 0; i < 400; ++i) {
    Pump();
    qv::TWinSkinForm* sf = qv::SkinManager ? qv::SkinManager->FindForm(w) : nullptr;
    if (sf && sf->FActive && sf->Skinstate == qv::TSkinFormState::Skinned) return sf;
    Sleep(5);
  }
  return nullptr;
}

}  // namespace qvbench
