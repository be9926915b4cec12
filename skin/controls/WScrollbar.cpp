#include "skin/controls/WScrollbar.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/WinGeometry.h"
#include "skin/controls/PropByName.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

bool HasArrowStrip(const TSkinData* sd) { return sd && HasPicture(sd->SArrow.get()); }

}  // namespace

bool ComposeScrollBar(TSkinControl& skin, const TScrollPaintInput& in, TBitmap& buffer) {
  TSkinData* sd = skin.fsd;
  if (!HasArrowStrip(sd)) return false;
  const TScrollPaintLayout l = ScrollPaintLayout(in);
  if (l.width <= 0 || l.height <= 0) return false;
  try {
    buffer.SetSize(l.width, l.height);
  } catch (...) {
    return false;
  }
  TCanvas& canvas = BitmapCanvas(buffer);
  HDC dc = canvas.Handle();
  if (!dc) return false;
  SetStretchBltMode(dc, COLORONCOLOR);
  FillColorRect(dc, Rect(0, 0, l.width, l.height), sd->Colors[scButtonFace]);

  const TDataSkinObject* track = in.vertical ? sd->VBar.get() : sd->HBar.get();
  if (l.track.drawn && HasPicture(track))
    DrawSkinImage(dc, l.track.rect, *track->Map, false, track->Tile == 1, track->trans == 1, 4, l.track.frame,
                  track->r);
  TBitmap* arrows = sd->SArrow->Map.get();
  skin.DrawSkinMap3(canvas, l.first.rect, arrows, l.first.frame, kScrollArrowFrames);
  skin.DrawSkinMap3(canvas, l.second.rect, arrows, l.second.frame, kScrollArrowFrames);
  const TDataSkinObject* slider = in.vertical ? sd->VSlider.get() : sd->HSlider.get();
  if (l.thumb.drawn && HasPicture(slider))
    DrawSkinImage(dc, l.thumb.rect, *slider->Map, false, false, slider->trans == 1, slider->frame, l.thumb.frame,
                  slider->r);
  if (l.grip.drawn) skin.DrawSkinMap3(canvas, l.grip.rect, arrows, l.grip.frame, kScrollArrowFrames);
  return true;
}

const TClassInfo& TWScrollbar::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWScrollbar>(u"TWScrollbar", TCustomPanel::StaticClass()).Done();
  return info;
}

TWScrollbar::TWScrollbar(TComponent* AOwner) : TCustomPanel(AOwner) {
  CW = GetSystemMetrics(SM_CXHSCROLL);
  tabStop_ = false;
  // Shown only once placed over its bar.
  visible_ = false;
  width_ = height_ = 0;
  SetBevelOuter(bvNone);
}

TWScrollbar::~TWScrollbar() {
  alive_.End();
  if (control) control->RemoveFreeNotification(this);
}

void TWScrollbar::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == opRemove && component == control) control = nullptr;
}

void TWScrollbar::CreateParams(TCreateParams& params) {
  TCustomPanel::CreateParams(params);
  params.style &= ~WS_TABSTOP;
  params.exStyle = WS_EX_TOOLWINDOW;
}

// ---------------------------------------------------------------------------
// Attaching and placing

void TWScrollbar::Attach(TSkinControl* aobj, TWinControl* aControl, uint8_t aType) {
  if (!aControl) return;
  obj = aobj;
  if (control != aControl) {
    if (control) control->RemoveFreeNotification(this);
    control = aControl;
    control->FreeNotification(this);
  }
  hwnd = aControl->Handle();
  sbType = aType;
  sbDir = aType;
  if (aobj && aobj->fsd) SetColor(aobj->GetParentColor(aobj->fsd->Colors[scButtonFace]));
  if (aType == 2) sbDir = LowerCase(GetEnumPropByName(aControl, u"Kind")) == u"sbhorizontal" ? 0 : 1;
  SetParentWindow(GetParent(hwnd));
  SetPosition(hwnd);
}

void TWScrollbar::AttachHwnd(TSkinControl* aobj, HWND ahwnd, uint8_t aType) {
  obj = aobj;
  hwnd = ahwnd;
  sbType = aType;
  sbDir = aType;
  SetParentWindow(GetParent(hwnd));
  SetPosition(hwnd);
}

void TWScrollbar::SetPosition(HWND ahwnd) {
  hwnd = ahwnd;
  HWND parentWnd = GetParent(ahwnd);
  SCROLLBARINFO info;
  sbVisible = GetBarInfo(info);
  // Nothing to cover (the window is gone) or nowhere to live: a shown
  // overlay would keep an old picture over whatever is there now.
  if (!sbVisible || !parentWnd) {
    sbVisible = false;
    if (HandleAllocated() && IsWindowVisible(handle_)) HideScrollbar();
    return;
  }
  if (parentWnd != ParentWindow()) SetParentWindow(parentWnd);
  if (!(GetWindowLongPtrW(ahwnd, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
    if (HandleAllocated()) HideScrollbar();
    sbVisible = false;
    return;
  }
  const RECT bar = info.rcScrollBar;
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  Len = sbDir == 1 ? h : w;
  POINT p{bar.left, bar.top};
  if (sbType == 2) {
    sbRect = Rect(0, 0, w, h);
  } else {
    POINT a{bar.left, bar.top}, b{bar.right, bar.bottom};
    ScreenToClient(ahwnd, &a);
    ScreenToClient(ahwnd, &b);
    sbRect = Rect(a.x, a.y, b.x, b.y);
    OffsetSC = TPoint{bar.left, bar.top};
    ScreenToClient(parentWnd, &p);
  }
  HWND self = Handle();
  ShowWindow(self, SW_SHOW);
  sbVisible = true;
  SetVisible(true);
  // Directly above the covered window, so its siblings cover both alike.
  HWND after = GetWindow(ahwnd, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE;
  if (after == self) flags |= SWP_NOZORDER;
  SetWindowPos(self, after ? after : HWND_TOP, p.x, p.y, w, h, flags);
  MoveWindow(self, p.x, p.y, w, h, TRUE);
}

void TWScrollbar::HideScrollbar() {
  if (HandleAllocated()) ShowWindow(handle_, SW_HIDE);
  sbVisible = false;
  SetVisible(false);
}

bool TWScrollbar::PaintsOverBar() const {
  return sbVisible && obj && HasArrowStrip(obj->fsd) && HandleAllocated() && IsWindowVisible(handle_);
}

// ---------------------------------------------------------------------------
// Bar information

bool TWScrollbar::GetBarInfo(SCROLLBARINFO& info) {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (sbType == 2) return GetScrollCtlInfo(info);
  if (!hwnd) return false;
  const LONG id = sbType == 0 ? OBJID_HSCROLL : OBJID_VSCROLL;
  if (obj && obj->fsd) return obj->fsd->GetScrollBarInfo(hwnd, id, info);
  return SkinGetScrollBarInfo(hwnd, id, info);
}

bool TWScrollbar::GetScrollCtlInfo(SCROLLBARINFO& info) {
  if (!control) return false;
  info.rcScrollBar = control->BoundsRect();
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd, SB_CTL, &si);
  const RECT& r = info.rcScrollBar;
  Len = sbDir == 0 ? r.right - r.left : r.bottom - r.top;
  const TThumbSpan thumb =
      ControlThumbSpan(Len, CW, TScrollRange{si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos});
  info.xyThumbTop = thumb.Top;
  info.xyThumbBottom = thumb.Bottom;
  return true;
}

int32_t TWScrollbar::PartAtPoint(POINT pt) const {
  return ScrollPartAt(sbDir != 0 ? pt.y : pt.x, CW, TThumbSpan{thumbTop, thumbbottom}, Len);
}

// ---------------------------------------------------------------------------
// Mouse

void TWScrollbar::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_MOUSEMOVE:
      WMMouseMove(message);
      return;
    case WM_MOUSELEAVE:
      WMMouseLeave(message);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      WMLButtonDown(message);
      return;
    case WM_LBUTTONUP:
      WMLButtonUp(message);
      return;
    default:
      TCustomPanel::Dispatch(message);
  }
}

void TWScrollbar::WMMouseMove(TMessage& message) {
  TCustomPanel::Dispatch(message);
  const POINT pt = ToPOINT(PointFromLParam(message.LParam));
  const int32_t part = PartAtPoint(pt);
  if (part != scrollpos) {
    scrollpos = part;
    Invalidate();
  }
  if (HandleAllocated()) TrackMouseLeave(handle_);
}

void TWScrollbar::WMMouseLeave(TMessage& message) {
  TCustomPanel::Dispatch(message);
  if (fdown) return;
  scrollpos = kScrollPartNone;
  Invalidate();
}

void TWScrollbar::WMLButtonDown(TMessage& message) {
  TCustomPanel::Dispatch(message);
  const POINT P = ToPOINT(PointFromLParam(message.LParam));
  POINT cursor{};
  GetCursorPos(&cursor);
  trackp = TPoint{cursor.x, cursor.y};
  SCROLLBARINFO info;
  bool fresh = false;
  if (sbType == 2) {
    if (control) {
      const RECT cr = control->ClientRect();
      Len = sbDir == 0 ? cr.right - cr.left : cr.bottom - cr.top;
    }
  } else if ((fresh = GetBarInfo(info))) {
    trackthumb = info.xyThumbTop;
  }
  scrollpos = PartAtPoint(P);
  LPARAM point = message.LParam;
  if (sbType != 2) {
    if (fresh) OffsetSC = TPoint{info.rcScrollBar.left, info.rcScrollBar.top};
    point = MAKELPARAM(static_cast<WORD>(P.x + OffsetSC.X), static_cast<WORD>(P.y + OffsetSC.Y));
  }
  fdown = true;
  Invalidate();
  scrollpos = PartAtPoint(P);
  ReleaseCapture();
  // The system's modal tracking runs inside this send until the button is
  // released; the skin repaints us on each scroll meanwhile, and may even
  // be unskinned and free us.
  const TLifeToken alive = alive_.Token();
  const HWND target = hwnd;
  if (sbType == 2)
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
  else
    SendMessageW(target, WM_NCLBUTTONDOWN, sbType == 1 ? HTVSCROLL : HTHSCROLL, point);
  if (!alive) return;
  fdown = false;
  ReleaseCapture();
  if (sbType == 2) Invalidate();
}

void TWScrollbar::WMLButtonUp(TMessage& message) {
  TCustomPanel::Dispatch(message);
  const TPoint p = PointFromLParam(message.LParam);
  int x = p.X, y = p.Y;
  if (sbType != 2) {
    x += OffsetSC.X;
    y += OffsetSC.Y;
  }
  fdown = false;
  ReleaseCapture();
  const LPARAM point = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
  if (sbType == 2)
    PostMessageW(hwnd, WM_LBUTTONUP, MK_LBUTTON, point);
  else
    PostMessageW(hwnd, WM_NCLBUTTONUP, sbType == 1 ? HTVSCROLL : HTHSCROLL, point);
  if (sbType == 2) Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TWScrollbar::DragThumb() {
  POINT cursor{};
  GetCursorPos(&cursor);
  const int32_t delta = sbDir == 1 ? cursor.y - trackp.Y : cursor.x - trackp.X;
  const TThumbSpan t = DraggedThumb(TThumbSpan{thumbTop, thumbbottom}, trackthumb, delta, CW, Len);
  thumbTop = t.Top;
  thumbbottom = t.Bottom;
}

bool TWScrollbar::PaintInput(TScrollPaintInput& in) {
  if (!obj || !HasArrowStrip(obj->fsd) || !HandleAllocated()) return false;
  SCROLLBARINFO info;
  if (!GetBarInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return false;
  const bool barEnabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  const int w = info.rcScrollBar.right - info.rcScrollBar.left, h = info.rcScrollBar.bottom - info.rcScrollBar.top;
  RECT client{};
  GetClientRect(handle_, &client);
  // Not placed yet.
  if (w < 0 || h < 0 || client.bottom < h || client.right < w) return false;
  Len = sbDir == 1 ? h : w;
  const TBitmap& arrows = *obj->fsd->SArrow->Map;
  if (fdown && scrollpos == kScrollPartThumb && sbType != 2) {
    DragThumb();
  } else {
    thumbTop = info.xyThumbTop;
    thumbbottom = info.xyThumbBottom;
  }
  in.vertical = sbDir == 1;
  in.width = w;
  in.height = h;
  in.thickness = ScrollBarThickness(arrows.Height(), CW);
  in.cw = CW;
  in.arrowBase = Len;
  in.extent = sbDir == 1 ? client.bottom : client.right;
  in.thumb = TThumbSpan{thumbTop, thumbbottom};
  in.gripLength = arrows.Height();
  in.scrollpos = scrollpos;
  in.down = fdown;
  in.enabled = barEnabled;
  in.thinBuffer = sbType == 2;
  return true;
}

void TWScrollbar::InvalidateChanged() {
  TScrollPaintInput in;
  if (painted_ && PaintInput(in) && in == *painted_) return;
  Invalidate();
}

void TWScrollbar::Paint() {
  painted_.reset();
  TScrollPaintInput in;
  if (!PaintInput(in) || !ComposeScrollBar(*obj, in, buffer_)) return;
  HDC dc = Canvas().Handle();
  HDC src = BitmapCanvas(buffer_).Handle();
  if (sbType == 2) {
    RECT client{};
    GetClientRect(handle_, &client);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, src, 0, 0, buffer_.Width(), buffer_.Height(), SRCCOPY);
  } else {
    BitBlt(dc, 0, 0, in.width, in.height, src, 0, 0, SRCCOPY);
  }
  // Only what reached the window itself counts, not a copy drawn elsewhere.
  if (WindowFromDC(dc) == handle_) painted_ = in;
}

}  // namespace qv
