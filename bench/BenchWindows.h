// Shared by the Windows benchmarks of skinned windows: loading the skin, the
// window class, the message pump, waiting for a window to be skinned, and the
// report of the process's live GDI objects (counted by the tests' support,
// checked against 100 brushes made and freed before it is trusted).
#pragma once
#include <windows.h>

#include <cstdio>

#include "platform/win/WinString.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/ProcessObjects.h"

namespace qvbench {

using qvtest::LiveGdiObjects;

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
  const bool trusted = qvtest::GdiCountIsTrustworthy();
  std::printf("live GDI objects (%s, %s):\n", qvtest::GdiCountSource(),
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
