// The skin of one popup-menu window ("#32768"): its frame and background
// come from the skin's menu background, and the whole picture stays in
// MenuBg so that owner-drawn items can copy their background from it.
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

namespace {

// The native frame of a popup menu is this wide on every side; the items'
// client coordinates are window coordinates moved by it.
constexpr int kMenuFrame = 3;
// GetDCEx: the window's own clipping styles apply (not in every header).
constexpr DWORD kDcxUseStyle = 0x00010000;

// Major and minor are compared apart, so 5.2 and 6.2 pass, 6.0 and 6.1 do not.
bool NTMajorAtLeast5MinorAtLeast2(DWORD version) {
  const int major = static_cast<int>(LOBYTE(LOWORD(version)));
  const int minor = static_cast<int>(HIBYTE(LOWORD(version)));
  return IsWinNT && major >= 5 && minor >= 2;
}

}  // namespace

bool IsRealRegion(WPARAM value) {
  return value > 1 && GetObjectType(reinterpret_cast<HGDIOBJ>(value)) == OBJ_REGION;
}

bool MenuFrameClipsToRegion(WPARAM region, DWORD version) {
  // WM_NCPAINT's 1 means "the whole window" and is no region: handed to
  // GetDCEx as one, older systems give no DC, and the frame would be drawn
  // into (and released as) a null DC.
  return !NTMajorAtLeast5MinorAtLeast2(version) && IsRealRegion(region);
}

HDC MenuFrameDC(HWND w, WPARAM region, DWORD version) {
  if (MenuFrameClipsToRegion(region, version))
    if (HDC dc = GetDCEx(w, reinterpret_cast<HRGN>(region), DCX_WINDOW | DCX_INTERSECTRGN | kDcxUseStyle)) return dc;
  return GetWindowDC(w);
}

// ---------------------------------------------------------------------------
// Set-up and tear-down

TWinSkinPopMenu::TWinSkinPopMenu() : MenuBg(std::make_unique<TBitmap>()) {}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  UnSubClass();
  if (SkinManager) SkinManager->RemovePopMenu(this);
}

void TWinSkinPopMenu::InitSkin(HWND ahwnd, TSkinData* sd, HMENU amenu) {
  hwnd = ahwnd;
  fsd = sd;
  hmenu = amenu;
  subclass_.Install(hwnd, [this](TMessage& m) { PopMenuWndProc(m); });
  ownerdraw = false;
}

void TWinSkinPopMenu::UnSubClass() {
  if (!subclass_.Installed()) return;
  crop = false;
  clientRgn.Reset();
  subclass_.Remove();
  MenuBg->Clear();
}

void TWinSkinPopMenu::CallPrevWndProc(TMessage& Message) { subclass_.CallPrev(Message); }

// ---------------------------------------------------------------------------
// The window procedure

void TWinSkinPopMenu::PopMenuWndProc(TMessage& Message) {
  if (Message.Msg == SM_QUERYSKINNED) {
    Message.Result = 1;
    return;
  }
  if (!SkinManager || !SkinManager->active) {
    CallPrevWndProc(Message);
    return;
  }
  done = false;
  switch (Message.Msg) {
    case WM_DESTROY:
      // Let go first; the saved procedure still gets the message.
      UnSubClass();
      CallPrevWndProc(Message);
      return;
    case WM_ERASEBKGND:
      if (IsWinNT) EraseMenuBackground(Message);
      else Message.Result = 0;
      return;
    case WM_NCPAINT:
      PaintMenuFrame(Message);
      return;
    case WM_PRINT:
      PrintMenu(Message);
      return;
    default:
      CallPrevWndProc(Message);
  }
}

void TWinSkinPopMenu::EraseMenuBackground(TMessage& Message) {
  if (!(fsd && InSet(fsd->Options(), xoMenuBG))) CallPrevWndProc(Message);
  Message.Result = 1;
}

// ---------------------------------------------------------------------------
// Frame and background

TDataSkinObject* TWinSkinPopMenu::MenuBackground() const {
  if (!fsd || fsd->Empty) return nullptr;
  TDataSkinObject* e = fsd->MenuitemBG.get();
  if (!e || !e->Map || e->Map->Empty()) return nullptr;
  return e;
}

void TWinSkinPopMenu::BuildMenuBg(TDataSkinObject& element, const TRect& R) {
  if (R.Width() <= 0 || R.Height() <= 0) {
    MenuBg->Clear();
    return;
  }
  auto image = CreateSkinBitmap(R, *element.Map, element.r, false, element.Tile != 0, 1, 1);
  if (image) MenuBg->Assign(*image);
  else MenuBg->Clear();
  // Until an item tells the manager which menu this window shows, this is
  // the skin that its items' background will come from.
  if (!hmenu && SkinManager) SkinManager->SetNewPopMenu(this);
}

void TWinSkinPopMenu::PaintMenuFrame(TMessage& Message) {
  TDataSkinObject* element = MenuBackground();
  if (!element || Message.WParam != 1) {
    CallPrevWndProc(Message);
    return;
  }
  WindowDC dc(hwnd, MenuFrameDC(hwnd, Message.WParam, CurrentSkinPlatform().Version));
  if (!dc) {
    CallPrevWndProc(Message);
    return;
  }
  const TRect R = WindowRectAtOrigin(hwnd);
  BuildMenuBg(*element, R);
  if (!MenuBg->Empty()) {
    HDC src = BitmapCanvas(*MenuBg).Handle();
    BitBlt(dc, 0, 0, R.Width(), R.Height(), src, 0, 0, SRCCOPY);
  }
  // The native frame is never drawn over ours.
  Message.Result = 0;
}

void TWinSkinPopMenu::PrintMenu(TMessage& Message) {
  TDataSkinObject* element = MenuBackground();
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!element || !dc) {
    CallPrevWndProc(Message);
    return;
  }
  const TRect R = WindowRectAtOrigin(hwnd);
  BuildMenuBg(*element, R);
  if (!MenuBg->Empty()) BitBlt(dc, 0, 0, R.Width(), R.Height(), BitmapCanvas(*MenuBg).Handle(), 0, 0, SRCCOPY);
  TextStyleSaver style(dc);
  SetBkMode(dc, TRANSPARENT);
  ClipRegionSaver clip(dc);
  clientRgn.Reset(CreateRectRgn(R.Left + kMenuFrame, R.Top + kMenuFrame, R.Right - kMenuFrame, R.Bottom - kMenuFrame));
  crop = static_cast<bool>(clientRgn);
  if (clientRgn) SelectClipRgn(dc, clientRgn);
  CallPrevWndProc(Message);
}

}  // namespace qv
