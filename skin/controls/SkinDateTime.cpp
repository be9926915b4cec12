#include "skin/controls/SkinDateTime.h"

#include "platform/core/TypInfo.h"
#include "platform/win/WinGeometry.h"
#include "skin/controls/SkinEdit.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace qv {

// --- TArrowButton -------------------------------------------------------------

const TClassInfo& TArrowButton::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TArrowButton>(u"TArrowButton", TCustomControl::StaticClass()).Done();
  return info;
}

TArrowButton::TArrowButton(TComponent* AOwner) : TCustomControl(AOwner), cw(GetSystemMetrics(SM_CXHSCROLL)) {
  SetTabStop(false);
}

bool TArrowButton::LeftScroll() const { return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0; }

void TArrowButton::Attach(TSkinControl* aobj, TWinControl* acontrol) {
  obj = aobj;
  control = acontrol;
  hwnd = control->Handle();
  SetParentWindow(hwnd);
  const int left = LeftScroll() ? 2 : control->Width() - cw - 4;
  SetBounds(left, 0, cw, control->Height() - 4);
  HandleNeeded();
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_CLIPCHILDREN);
}

void TArrowButton::MoveArrow(const TRect& rect) {
  if (!hwnd) return;
  SetLeft(LeftScroll() ? 2 : rect.Right - cw - 4);
}

void TArrowButton::Paint() {
  if (!obj || !obj->fsd || !control) return;
  TSkinData* sd = obj->fsd;
  HDC dc = Canvas().Handle();
  const TRect dest = Rect(0, 0, Width(), control->Height() - 4);
  FillColorRect(dc, dest, sd->Colors[scButtonFace]);
  // Skins without a combo box leave the arrow picture uncut (no frames):
  // the face alone then.
  TDataSkinObject* picture = sd->comboxarrow.get();
  if (!picture || picture->frame <= 0 || !picture->Map || picture->Map->Empty()) return;
  DrawSkinFrame(dc, dest, *picture->Map, false, picture->frame, (state & kStateHot) ? 4 : 1);
}

void TArrowButton::Dispatch(TMessage& m) {
  TCustomControl::Dispatch(m);
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (hwnd && IsWindowEnabled(hwnd)) {
        if (m.Msg == CM_MOUSEENTER) {
          state |= kStateHot;
        } else {
          state &= ~kStateHot;
        }
        Invalidate();
      }
      break;
    case WM_LBUTTONDOWN: {
      if (!hwnd) break;
      // The same spot in the picker's client area, where its own button lies.
      const TPoint p = PointFromLParam(m.LParam);
      const int x = p.X + Left();
      const int y = p.Y + Top();
      PostMessageW(hwnd, WM_LBUTTONDOWN, m.WParam, MAKELPARAM(x, y));
      PostMessageW(hwnd, WM_LBUTTONUP, m.WParam, MAKELPARAM(x, y));
      Invalidate();
      break;
    }
    case WM_LBUTTONUP:
      if (hwnd) ::SetFocus(hwnd);
      break;
    default:
      break;
  }
}

// --- TSkinDateTime ------------------------------------------------------------

const TClassInfo& TSkinDateTime::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinDateTime>(u"TSkinDateTime", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinDateTime::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!control || arrow) return;
  arrow = new TArrowButton(this);
  arrow->Attach(this, control);
}

void TSkinDateTime::WindowRecreated() {
  if (arrow && control) arrow->Attach(this, control);
}

void TSkinDateTime::AfterProc(TMessage& Message) {
  if (Message.Msg == WM_SIZE) {
    if (arrow) arrow->Invalidate();
    return;
  }
  TSkinControl::AfterProc(Message);
}

void TSkinDateTime::DrawControl(HDC dc, const TRect& rc) {
  if (arrow) arrow->MoveArrow(rc);
  if (!fsd || !HasNonClientBorder(hwnd, rc)) return;
  FrameColorRect(dc, rc, fsd->Colors[scButtonShadow]);
  FrameColorRect(dc, Rect(rc.Left + 1, rc.Top + 1, rc.Right - 1, rc.Bottom - 1), clWhite);
}

}  // namespace qv
