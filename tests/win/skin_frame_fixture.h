// What the skinned-frame tests share: the program's skin loaded and active
// (its manager hooking this thread), waiting until a window's skin has
// finished, window geometry in window coordinates, and the frame as PaintNC
// draws it into a memory bitmap.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/core/Bitmap.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/WinString.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

// A fresh manager over the program's own skin; `adjust` may change the
// loaded skin before it becomes active (and any window is skinned).
inline qv::TSkinData* LoadProgramSkin(const std::function<void(qv::TSkinData&)>& adjust = {}) {
  delete qv::SkinManager;
  auto* data = new qv::TSkinData(nullptr);
  data->SetLoading();
  data->LoadFromFile(qv::FromW(WinePath(std::string(QV_TEST_DATA) + "/../../assets/skin/quillvault.skin").c_str()));
  if (!data->Empty && adjust) adjust(*data);
  data->SetActive(true);
  data->Loaded();
  return data;
}

// The window's skin once SM_INITSKIN has finished it, or null after ms.
inline qv::TWinSkinForm* WaitSkinned(HWND w, int ms = 3000) {
  const bool done = WaitUntil(
      [&] {
        qv::TWinSkinForm* sf = qv::SkinManager ? qv::SkinManager->FindForm(w) : nullptr;
        return sf && sf->FActive && sf->Skinstate == 1;
      },
      ms);
  return done ? qv::SkinManager->FindForm(w) : nullptr;
}

inline SIZE WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// A point in window coordinates as a mouse message's screen lParam.
inline LPARAM ScreenLParam(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  return MAKELPARAM(r.left + x, r.top + y);
}

// The frame as PaintNC composes it, over a window-sized bitmap filled with
// `background` (which the client area keeps).
inline std::unique_ptr<qv::TBitmap> PaintedFrame(HWND w, qv::TWinSkinForm* sf, qv::TColor background = 0x123456) {
  const SIZE size = WindowSize(w);
  auto bmp = std::make_unique<qv::TBitmap>();
  bmp->SetSize(size.cx, size.cy);
  qv::FillRect(*bmp, qv::Rect(0, 0, size.cx, size.cy), background);
  sf->PaintNC(qv::BitmapCanvas(*bmp).Handle());
  return bmp;
}

}  // namespace qvtest
