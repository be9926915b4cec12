#include "skin/controls/SkinComBox.h"

#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {



}  // namespace

const TClassInfo& TSkinComBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinComBox>(u"TSkinComBox", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinComBox::TSkinComBox(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinComBox::~TSkinComBox() {
  UnsubclassChild();
  FreeListSkins();
}

bool TSkinComBox::ReadComboInfo() {
  info = COMBOBOXINFO{};
  info.cbSize = sizeof info;
  const auto get = SkinUser32().GetComboBoxInfo;
  return get && hwnd && get(hwnd, &info);
}

void TSkinComBox::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!Inited) return;
  AttachListSkins(sf, false);
}

void TSkinComBox::Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  if (Inited) return;
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  AttachListSkins(sf, true);
}

// A raw drop-down list gets the list's scroll-bar skin as a class-library
// one does: the program's own dialogs are meant to look the same.
void TSkinComBox::AttachListSkins(TComponent* sf, bool raw) {
  dwStyle = static_cast<DWORD>(GetWndLong(hwnd, GWL_STYLE));
  vb = nullptr;
  if ((dwStyle & 3) != CBS_SIMPLE) {
    if ((dwStyle & CBS_DROPDOWN) && ReadComboInfo() && info.hwndList) {
      db = new TComboxScrollBar(this);
      db->Inithwnd(info.hwndList, fsd, nullptr, sf);
    }
    SubclassChild();
    hlist = nullptr;
    return;
  }
  if (!ReadComboInfo()) return;
  hlist = info.hwndList;
  dwStyle = static_cast<DWORD>(GetWndLong(hlist, GWL_STYLE));
  if (!raw && hlist && !IsPopupWindow(hlist) && (dwStyle & WS_CHILD)) {
    vb = new TSkinScrollbarH(this);
    vb->Inithwnd(hlist, fsd, nullptr, sf);
  }
}

// Only a window of the old, non-Unicode kind has its edit part watched:
// that one paints the whole box again when its child paints.
void TSkinComBox::SubclassChild() {
  if (isunicode || childSubclass_.Installed()) return;
  hbtn = GetTopWindow(hwnd);
  if (!hbtn || !childSubclass_.Install(hbtn, [this](TMessage& m) { ChildProc(m); })) return;
  FBtnObjectInst = childSubclass_.ObjectInstance();
  FBtnPrevWndProc = childSubclass_.PrevWndProc();
}

void TSkinComBox::UnsubclassChild() {
  if (childSubclass_.Installed()) childSubclass_.Remove();
  hbtn = nullptr;
  FBtnObjectInst = nullptr;
  FBtnPrevWndProc = nullptr;
}

void TSkinComBox::ChildProc(TMessage& Message) {
  const TLifeToken alive = Alive();
  childSubclass_.CallPrev(Message);
  if (!alive) return;
  if (Message.Msg == WM_PAINT) PaintControl(nullptr);
  else FollowPress(Message.Msg);
}

bool TSkinComBox::FollowPress(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      state |= kStatePressed;
      break;
    case WM_LBUTTONUP:
      state &= ~kStatePressed;
      break;
    default:
      return false;
  }
  Redraw();
  return true;
}

void TSkinComBox::FreeListSkins() {
  delete vb;
  vb = nullptr;
  delete db;
  db = nullptr;
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == vb) vb = nullptr;
  if (component == db) db = nullptr;
}

void TSkinComBox::Unsubclass() {
  TSkinControl::Unsubclass();
  UnsubclassChild();
  if (vb) vb->Unsubclass();
  if (db) db->Unsubclass();
  FreeListSkins();
}

void TSkinComBox::WindowRecreated() {
  UnsubclassChild();
  FreeListSkins();
  AttachListSkins(skinform, false);
}

void TSkinComBox::AfterProc(TMessage& Message) {
  if (FollowPress(Message.Msg)) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CN_COMMAND:
      break;
    case WM_MOUSEMOVE: {
      const POINT pt = ToPOINT(PointFromLParam(Message.LParam));
      const RECT b = ToRECT(rBtn);
      const bool over = PtInRect(&b, pt) != FALSE, canChange = IsWindowEnabled(hwnd) != FALSE;
      if ((state & kStateHot) && !over && canChange) {
        state &= ~kStateHot;
        Redraw();
      } else if (!(state & kStateHot) && over && canChange) {
        state |= kStateHot;
        Redraw();
      }
      break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Redraw();
      break;
    case CM_MOUSELEAVE:
      if (state & kStateHot) {
        state &= ~kStateHot;
        Redraw();
      }
      break;
    default:
      TSkinControl::AfterProc(Message);
      break;
  }
}

int TSkinComBox::Frame(bool flat) const {
  int f = kFrameNormal;
  if (flat) {
    if (!enabled) f = kFrameDisabled;
    if (focused) f = kFrameHot;
    if (state & kStatePressed) f = kFramePressed;
    else if (state & kStateHot) f = kFrameHot;
    return f;
  }
  if (focused) f = kFrameHot;
  if (state & kStatePressed) f = kFramePressed;
  else if (state & kStateHot) f = kFrameHot;
  if (!enabled) f = kFrameDisabled;
  return f;
}

void TSkinComBox::DrawControl(HDC dc, const TRect& rc) {
  TDataSkinBorder* combox = fsd ? fsd->combox.get() : nullptr;
  if (!combox || !combox->Map || combox->Map->Empty()) return;
  dwStyle = static_cast<DWORD>(GetWndLong(hwnd, GWL_STYLE));
  ExStyle = static_cast<DWORD>(GetWndLong(hwnd, GWL_EXSTYLE));
  if (ReadComboInfo()) {
    rBtn = FromRECT(info.rcButton);
    if (info.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  if (combox->style == 1) {
    DrawFlat(dc, rc);
    return;
  }
  const TRect R{0, 0, rc.Width(), rc.Height()};
  focused = GetFocus() == hwnd;
  enabled = !(dwStyle & WS_DISABLED);
  const int f = Frame(false);
  const int cx = GetSystemMetrics(SM_CXHSCROLL);
  if (HasButton) {
    DrawWithButton(dc, R, f);
    return;
  }
  const bool left = ExStyle & WS_EX_LEFTSCROLLBAR;
  if (combox->style == 2) {
    TDataSkinObject* image = left ? fsd->Comboxborder.get() : combox;
    if (HasPicture(image))
      DrawSkinImage(dc, R, *image->Map, false, false, true, image == combox ? combox->frame : image->frame, f,
                    image->r);
    return;
  }
  const TRect inner = left ? TRect{R.Left + cx + 4, R.Top + 2, R.Right - 2, R.Bottom - 2}
                           : TRect{R.Left + 2, R.Top + 2, R.Right - cx - 4, R.Bottom - 2};
  const TRect B = left ? TRect{R.Left, R.Top, R.Left + cx + 2, R.Bottom} : TRect{R.Right - cx - 2, R.Top, R.Right, R.Bottom};
  TRect G = left ? TRect{2, R.Top, cx + 2, R.Bottom} : TRect{R.Right - cx - 2, R.Top, R.Right - 2, R.Bottom};
  ClipRegionSaver clip(dc);
  ExcludeClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
  if (fsd->Comboxborder) DrawSkinMap(dc, R, fsd->Comboxborder.get(), f, fsd->Comboxborder->frame);
  DrawSkinMap2(dc, B, left ? combox->MaskMap.get() : combox->Map.get(), f, combox->frame);
  rBtn = B;
  TDataSkinObject* extra = fsd->ExtraImages.get();
  if (HasPicture(extra) && extra->frame > 0) {
    const int fw = extra->Map->Width() / extra->frame, fh = extra->Map->Height();
    const int dx = (G.Width() - fw) / 2, dy = (G.Height() - fh) / 2;
    G = TRect{G.Left + dx, G.Top + dy, G.Left + dx + fw, G.Top + dy + fh};
    DrawSkinMap1(dc, G, extra->Map.get(), f, extra->frame);
  }
}

void TSkinComBox::DrawFlat(HDC dc, const TRect& rc) {
  TDataSkinBorder* combox = fsd->combox.get();
  const TRect R{0, 0, rc.Width(), rc.Height()};
  focused = GetFocus() == hwnd;
  enabled = !(dwStyle & WS_DISABLED);
  const int f = Frame(true);
  const int frames = combox->frame > 0 ? combox->frame : 1;
  const int fw = combox->Map->Width() / frames, fh = combox->Map->Height();
  const int g = GetSystemMetrics(SM_CYVTHUMB);
  const bool left = ExStyle & WS_EX_LEFTSCROLLBAR;
  HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT outer{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  FrameRect(dc, &outer, current);
  const TRect I{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
  RECT column = left ? RECT{I.Left, I.Top, I.Left + g, I.Bottom} : RECT{I.Right - g, I.Top, I.Right, I.Bottom};
  FillRect(dc, &column, current);
  TRect B = left ? TRect{I.Left, I.Top, I.Left + fw, I.Bottom} : TRect{I.Right - fw, I.Top, I.Right, I.Bottom};
  if (g > fh) B.Bottom = B.Top + fh;
  FrameColorRect(dc, R, fsd->Colors[scButtonShadow]);
  rBtn = B;
  DrawSkinMap1(dc, B, combox->Map.get(), f, combox->frame);
}

void TSkinComBox::DrawWithButton(HDC dc, const TRect& R, int f) {
  RECT cr{};
  GetClientRect(hwnd, &cr);
  if (cr.right != R.Width() && cr.bottom != R.Height()) {
    FrameColorRect(dc, R, fsd->Colors[scButtonShadow]);
    FrameColorRect(dc, TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, clWhite);
  }
  if (!fsd->comboxarrow) return;
  // The child's place when it is known (old, non-Unicode windows only);
  // otherwise the place the system gives the button.
  TRect B = rBtn;
  if (hbtn) {
    RECT br{}, wr{};
    GetWindowRect(hbtn, &br);
    GetWindowRect(hwnd, &wr);
    B = TRect{br.left - wr.left, br.top - wr.top, br.right - wr.left, br.bottom - wr.top};
  }
  if (B.IsEmpty()) return;
  FillColorRect(dc, B, fsd->Colors[scButtonFace]);
  DrawSkinMap2(dc, B, fsd->comboxarrow->Map.get(), f, fsd->comboxarrow->frame);
}

}  // namespace qv
