// The frame state of a skinned window that its set-up and tear-down need:
// the window state, the MDI client, the system-menu style bit and taking the
// window region away. Painting the frame and cutting the window to the
// skin's shape come with the frame painting; until then PaintNC and
// Cropwindow leave the platform's frame as it is.
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/SkinDraw.h"
#include "skin/windows/SkinManager.h"

namespace qv {

void TWinSkinForm::PaintNC(HDC /*dc*/) {}

void TWinSkinForm::Cropwindow() {}

void TWinSkinForm::Uncropwindow() {
  if (!crop) return;
  // The region belongs to the system since SetWindowRgn; it frees it now.
  SetWindowRgn(Hwnd, nullptr, FormStyle == sfsMDIChild);
  WinRgn = nullptr;
  crop = false;
}

void TWinSkinForm::UpdateWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(Hwnd, &wp)) return;
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      Windowstate = swsMin;
      break;
    case SW_SHOWMAXIMIZED:
      Windowstate = swsMax;
      break;
    default:
      Windowstate = swsNormal;
      break;
  }
}

void TWinSkinForm::FindMDIClient() {
  FormStyle = sfsNormal;
  for (HWND w = GetTopWindow(Hwnd); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWndClassName(w) != u"MDIClient") continue;
    FormStyle = sfsMDIform;
    ClientHwnd = w;
    if (SkinManager) {
      SkinManager->clienthwnd = w;
      SkinManager->MDIForm = FForm;
    }
    return;
  }
}

bool TWinSkinForm::MDIChildMax() {
  if (FormStyle != sfsMDIform || !ClientHwnd) return false;
  BOOL maximized = FALSE;
  const LRESULT child = SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
  return child && maximized;
}

void TWinSkinForm::SetSysMenuStyle(bool Remove) {
  if (FormIcons & (1u << sbicaption)) return;
  dwstyle = static_cast<DWORD>(GetWindowLongPtrW(Hwnd, GWL_STYLE));
  if (Remove) dwstyle &= ~static_cast<DWORD>(WS_SYSMENU);
  else if (hsysmenu) dwstyle |= WS_SYSMENU;
  SetWindowLongPtrW(Hwnd, GWL_STYLE, static_cast<LONG_PTR>(dwstyle));
}

}  // namespace qv
