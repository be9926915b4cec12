#include "skin/controls/SkinControl.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/ExceptionBarrier.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinControlList.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinGeometry.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinPlatform.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

// Disabled caption text: the system button-shadow colour 0xFF000010.
constexpr TColor kDisabledText = clBtnShadow;

bool SkinOn(intptr_t wparam) { return wparam > 0; }

// SkinDrawText with the canvas's font and colour selected.
int CanvasDrawText(TCanvas& canvas, StringView text, RECT& r, UINT flags) {
  canvas.TextExtent(StringView());
  return SkinDrawText(canvas.Handle(), text, r, flags);
}

void PrepareCaptionCanvas(TCanvas& canvas) {
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.Font().SetStyle(0);
}

}  // namespace

const TClassInfo& TSkinControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinControl>(u"TSkinControl", TComponent::StaticClass()).Done();
  return info;
}

// ---------------------------------------------------------------------------
// Life

TSkinControl::TSkinControl(TComponent* AOwner) : TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
  alive_.End();
  RestoreWindowProc();
  recreationHook_.Remove(control);
  if (FObjectInst) {
    // Back only while ours is the current procedure and the window lives.
    subclass_.Remove();
    FObjectInst = nullptr;
  }
  if (auto* sf = ControlSkinHostOf(skinform)) sf->ControlSkins().Remove(this);
}

void TSkinControl::RestoreWindowProc() {
  procHook_.Remove(control ? static_cast<TControl*>(control) : GControl);
  OldWndProc = nullptr;
}

bool TSkinControl::HookWindowProc(TControl* target) {
  if (!target || procHook_.Installed()) return false;
  OldWndProc = target->WindowProc;
  return procHook_.Install(target, [this](TMessage& m) { NewWndProc(m); });
}

void TSkinControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == control) control = nullptr;
  if (component == GControl) GControl = nullptr;
}

bool TSkinControl::BindOwner(TComponent* sf, TSkinData* sd, TCanvas* acanvas) {
  auto* owner = As<TWinControl>(Owner());
  if (!owner) return false;
  fsd = sd;
  skinform = sf;
  fCanvas = acanvas;
  control = owner;
  control->FreeNotification(this);
  hwnd = control->Handle();
  return true;
}

void TSkinControl::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  if (Inited || !BindOwner(sf, sd, acanvas)) return;
  newColor = acolor;
  isunicode = IsWindowUnicode(hwnd) != FALSE;
  HookWindowProc(control);
  if (auto* f = ControlSkinHostOf(skinform)) f->ControlSkins().Add(this);
  if (newColor) {
    oldcolor = control->Color();
    control->SetColor(fsd ? fsd->Colors[scButtonFace] : clBtnFace);
  }
  if (parentbk) kind = kindParentBackground;
  control->Invalidate();
  Inited = true;
  skinstate = TControlSkinState::Active;
}

void TSkinControl::Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  fsd = sd;
  fCanvas = acanvas;
  skinform = sf;
  hwnd = ahwnd;
  enabled = true;
  kind = kindDefault;
  if (auto* f = ControlSkinHostOf(skinform)) f->ControlSkins().Add(this);
  isunicode = IsWindowUnicode(hwnd) != FALSE;
  caption = GetWindowCaption(hwnd);
  if (!FObjectInst) SubclassWindow();
  if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
  Inited = true;
  skinstate = TControlSkinState::Active;
}

bool TSkinControl::SubclassWindow() {
  if (!subclass_.Install(hwnd, [this](TMessage& m) { NewWndProc(m); })) return false;
  FObjectInst = subclass_.ObjectInstance();
  FPrevWndProc = subclass_.PrevWndProc();
  return true;
}

void TSkinControl::Unsubclass() {
  if (!skinned) return;
  skinned = false;
  if (skinstate != TControlSkinState::Dead && newColor && control) control->SetColor(oldcolor);
}

void TSkinControl::SkinChange() {
  if (newColor && control && fsd) control->SetColor(fsd->Colors[scButtonFace]);
  Redraw();
}

int TSkinControl::GetState() { return 1; }

// ---------------------------------------------------------------------------
// Messages

void TSkinControl::NewWndProc(TMessage& Message) {
  done = false;
  if (awaitingWindow_) {
    PassUntilWindowMade(Message, [&] { CallOldProc(Message); });
    return;
  }
  if (Message.Msg == SM_SETSKINNED) {
    skinned = SkinOn(static_cast<intptr_t>(Message.WParam));
    if (skinned) Redraw();
    return;
  }
  if (!skinned) {
    CallOldProc(Message);
    return;
  }
  // Any of the three steps may free this skin (a click that unskins the
  // window or frees the control): nothing is touched once it has gone.
  const TLifeToken alive = alive_.Token();
  if (!BeforeProc(Message) || !alive) return;
  CallOldProc(Message);
  if (alive) AfterProc(Message);
}

void TSkinControl::CallOldProc(TMessage& Message) {
  if (OldWndProc) {
    // A copy: the skin, and with it OldWndProc, may go while it runs.
    const TWndMethod old = OldWndProc;
    old(Message);
    return;
  }
  const WNDPROC prev = FPrevWndProc;
  const HWND wnd = hwnd;
  if (!prev) return;
  Message.Result = CallWindowProcW(prev, wnd, Message.Msg, Message.WParam, Message.LParam);
}

bool TSkinControl::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCDESTROY: {
      skinstate = TControlSkinState::Dead;
      const TLifeToken alive = alive_.Token();
      CallOldProc(Message);
      if (!alive || !skinned) return false;
      Unsubclass();
      // A class-library control may get a window again, whoever destroyed
      // this one (a parent re-created takes its children's along).
      if (alive) awaitingWindow_ = control != nullptr;
      return false;
    }
    case SM_QUERYSKINNED:
      Message.Result = 1;
      return false;
    case CM_RECREATEWND:
      FollowRecreatedWindow(Message);
      return false;
    default:
      return true;
  }
}

bool TSkinControl::FollowRecreatedWindow(TMessage& Message) {
  const TLifeToken alive = alive_.Token();
  // The old window goes (its WM_NCDESTROY lets go of the skin's parts), the
  // new one is made, and its first message brings the skin over.
  if (recreationHook_.Installed()) recreationHook_.CallPrev(Message);
  else CallOldProc(Message);
  if (!alive || !CatchNewWindow() || skinstate != TControlSkinState::Active) return false;
  Redraw();
  return true;
}

bool TSkinControl::CatchNewWindow() {
  // Not between the old window's end and the control letting go of its
  // handle.
  if (!awaitingWindow_ || !control || !control->HandleAllocated() || control->Handle() == hwnd) return true;
  awaitingWindow_ = false;
  const TLifeToken alive = alive_.Token();
  WindowCameBack();
  return static_cast<bool>(alive);
}

void TSkinControl::PassUntilWindowMade(TMessage& Message, const std::function<void()>& pass) {
  const TLifeToken alive = alive_.Token();
  pass();
  // What the window makes of its own (a combo box's list) is there once
  // its WM_CREATE has run.
  if (alive && Message.Msg == WM_CREATE) CatchNewWindow();
}

void TSkinControl::WindowCameBack() {
  hwnd = control->Handle();
  if (FObjectInst) {
    // The stub went with the old window.
    subclass_.Remove();
    FObjectInst = nullptr;
    FPrevWndProc = nullptr;
    SubclassWindow();
  }
  isunicode = IsWindowUnicode(hwnd) != FALSE;
  skinstate = TControlSkinState::Active;
  skinned = true;
  // WM_NCDESTROY gave the colour back.
  if (newColor && fsd) control->SetColor(fsd->Colors[scButtonFace]);
  WindowRecreated();
}

void TSkinControl::WatchRecreation() {
  if (!control || recreationHook_.Installed()) return;
  recreationHook_.Install(control, [this](TMessage& m) {
    // Switched off, the skin lets this pass as every other message.
    if (m.Msg == CM_RECREATEWND && skinned) FollowRecreatedWindow(m);
    // Every message of the control comes this way: only a new window's
    // creation, while the skin waits for one, is more than passed on.
    else if (m.Msg == WM_CREATE && awaitingWindow_) PassUntilWindowMade(m, [&] { recreationHook_.CallPrev(m); });
    else recreationHook_.CallPrev(m);
  });
}

void TSkinControl::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      Redraw();
      break;
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(Message.WParam));
      break;
    case SM_SETSKINNED:
      skinned = SkinOn(static_cast<intptr_t>(Message.WParam));
      break;
    default:
      break;
  }
}

void TSkinControl::Redraw() {
  if (GControl) {
    GControl->Invalidate();
  } else if (hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
  }
}

void TSkinControl::MouseLeave() {
  if (hwnd) SendMessageW(hwnd, CM_MOUSELEAVE, 0, 0);
}

// ---------------------------------------------------------------------------
// Painting

void TSkinControl::PaintControl(HDC adc) {
  RECT wr{};
  if (!hwnd || !GetWindowRect(hwnd, &wr)) return;
  boundsrect = FromRECT(wr);
  const TRect rc{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  if (adc) {
    ExceptionBarrier([&] { DrawControl(adc, rc); });
    return;
  }
  // The DC keeps its own window: painting may take the skin off it.
  WindowDC dc(hwnd, WindowDC::Whole);
  if (!dc) return;
  ExceptionBarrier([&] { DrawControl(dc, rc); });
}

void TSkinControl::DrawControl(HDC /*dc*/, const TRect& /*rc*/) {}

void TSkinControl::WMPaint(TMessage& Message) {
  PaintDC dc(hwnd, Message.WParam);
  RECT wr{};
  if (dc && GetWindowRect(hwnd, &wr)) {
    boundsrect = FromRECT(wr);
    ExceptionBarrier([&] { DrawControl(dc, TRect{0, 0, wr.right - wr.left, wr.bottom - wr.top}); });
  }
}

void TSkinControl::WMEraseBkgnd(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (control) {
    DrawParentBackground(control, dc);
  } else {
    RECT r{};
    GetClientRect(hwnd, &r);
    FillParentRect(dc, FromRECT(r));
  }
  Message.Result = 1;
}

TColor TSkinControl::GetParentColor(TColor acolor) {
  if (!control || !control->Parent()) return acolor;
  const TPropInfo* p = GetPropInfo(control->Parent(), u"Color");
  if (!p || p->kind != TPropKind::Ordinal || !p->getOrd) return acolor;
  return static_cast<TColor>(GetOrdProp(control->Parent(), *p));
}

void FillColorRect(HDC dc, const TRect& rect, TColor color) {
  const RECT r = ToRECT(rect);
  const OwnedBrush brush(CreateSolidBrush(ColorToRGB(color)));
  FillRect(dc, &r, brush);
}

void TSkinControl::FillFaceRect(HDC dc, const TRect& rect) {
  FillColorRect(dc, rect, fsd ? fsd->Colors[scButtonFace] : clBtnFace);
}

void TSkinControl::FillParentRect(HDC dc, const TRect& rect) {
  FillColorRect(dc, rect, GetParentColor(fsd ? fsd->Colors[scButtonFace] : clBtnFace));
}

LONG_PTR TSkinControl::GetWndLong(HWND wnd, int index) { return GetWindowLongPtrW(wnd, index); }

void TSkinControl::DrawCaptionFocus(HDC dc, UINT flags, const TRect& rect) {
  RECT r2 = ToRECT(rect);
  SkinDrawText(dc, caption, r2, flags | DT_CALCRECT | DT_NOCLIP);
  const int w = r2.right - r2.left, h = r2.bottom - r2.top;
  if (flags & DT_CENTER) OffsetRect(&r2, (rect.Width() - w) / 2, (rect.Height() - h) / 2 - 1);
  else if (flags & DT_RIGHT) OffsetRect(&r2, rect.Width() - w, 0);
  InflateRect(&r2, 2, 1);
  r2.top = std::max<LONG>(r2.top, rect.Top);
  r2.bottom = std::min<LONG>(r2.bottom, rect.Bottom);
  r2.right = std::min<LONG>(r2.right, rect.Right);
  r2.left = std::max<LONG>(r2.left, rect.Left);
  DrawFocusRect(dc, &r2);
}

TPoint MouseDownPoint(TControl* control, const TMessage& Message) {
  auto* w = As<TWinControl>(control);
  if (w && (w->Width() > 0x8000 || w->Height() > 0x8000)) {
    // Past 32768 the message's 16-bit coordinates wrap.
    POINT p{};
    GetCursorPos(&p);
    if (w->HandleAllocated()) ScreenToClient(w->Handle(), &p);
    return TPoint{p.x, p.y};
  }
  return PointFromLParam(Message.LParam);
}

void TSkinControl::DoMouseDown(const TMessage& Message) {
  if (!control) return;
  const TPoint p = MouseDownPoint(control, Message);
  control->MouseDown(mbLeft, KeysToShiftState(LOWORD(Message.WParam)), p.X, p.Y);
}

// ---------------------------------------------------------------------------
// Text

UINT TSkinControl::CheckBiDi(UINT dw) {
  auto rtl = [](TObject* o) { return o && SameText(GetEnumPropByName(o, u"BiDiMode"), u"bdRightToLeft"); };
  if (rtl(control) || rtl(GControl)) dw |= DT_RTLREADING;
  return dw;
}

void TSkinControl::DrawCaption(TCanvas& acanvas, const TRect& rc, StringView text, bool enabled_, UINT Alignment) {
  const UINT F = Alignment | DT_EXPANDTABS;
  PrepareCaptionCanvas(acanvas);
  RECT r2 = ToRECT(rc);
  CanvasDrawText(acanvas, text, r2, F | DT_CALCRECT | DT_NOCLIP);
  const int w = r2.right - r2.left, h = r2.bottom - r2.top;
  if (Alignment == DT_CENTER) {
    OffsetRect(&r2, (rc.Width() - w) / 2, (rc.Height() - h) / 2 - 1);
  } else {
    OffsetRect(&r2, 0, (rc.Height() - h) / 2 - 1);
    r2.left = rc.Left;
    r2.right = rc.Right;
  }
  if (!enabled_) acanvas.Font().SetColor(kDisabledText);
  CanvasDrawText(acanvas, text, r2, CheckBiDi(F));
}

void TSkinControl::DrawImgCaption(TCanvas& acanvas, const TRect& rc, HIMAGELIST ImgList, int imgIndex,
                                  StringView text, int talign) {
  int cx = 0, cy = 0;
  if (ImgList) ImageList_GetIconSize(ImgList, &cx, &cy);
  const bool withImage = ImgList && imgIndex != -1;
  RECT img{};
  if (withImage && cx < rc.Width()) img = RECT{0, 0, cx, cy};
  else cx = 0;
  const UINT F = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_WORDBREAK;
  RECT t = ToRECT(rc);
  if (withImage) t.right += cx + 2;
  if (text.empty()) t.right = t.left;
  else CanvasDrawText(acanvas, text, t, F | DT_CALCRECT | DT_NOCLIP);
  const int tw = t.right - t.left, th = t.bottom - t.top;
  OffsetRect(&img, rc.Left, rc.Top);
  int x = 3;
  if (talign == 1) x = (rc.Width() - cx - tw) / 2;
  else if (talign == 2) x = rc.Width() - cx - tw - 2;
  if (x < 2) x = 1;
  OffsetRect(&img, x, (rc.Height() - cy) / 2);
  OffsetRect(&t, x + cx, (rc.Height() - th) / 2);
  if (withImage) ImageList_Draw(ImgList, imgIndex, acanvas.Handle(), img.left, img.top, ILD_TRANSPARENT);
  if (text.empty()) return;
  PrepareCaptionCanvas(acanvas);
  if (!enabled) acanvas.Font().SetColor(kDisabledText);
  t.left = std::max<LONG>(t.left, rc.Left);
  t.right = std::min<LONG>(t.right, rc.Right);
  CanvasDrawText(acanvas, text, t, CheckBiDi(F));
}

// ---------------------------------------------------------------------------
// Skin pictures

void TSkinControl::DrawSkinMap(HDC dc, const TRect& rc, TDataSkinObject* aObject, int I, int N) {
  if (IsInvertedRect(rc) || !aObject || !FrameDrawable(aObject->Map.get(), I, N)) return;
  DrawSkinImage(dc, rc, *aObject->Map, false, aObject->Tile != 0, aObject->trans == 1, N, I, aObject->r);
}

void TSkinControl::DrawSkinMap1(HDC dc, const TRect& rc, TBitmap* bmp, int I, int N) {
  if (IsInvertedRect(rc) || !FrameDrawable(bmp, I, N)) return;
  DrawSkinFrame(dc, rc, *bmp, true, N, I);
}

void TSkinControl::DrawSkinMap2(HDC dc, const TRect& rc, TBitmap* bmp, int I, int N) {
  DrawSkinMap1(dc, rc, bmp, I, N);
}

void TSkinControl::DrawSkinMap3(TCanvas& acanvas, const TRect& rc, TBitmap* bmp, int I, int N) {
  DrawSkinMap1(acanvas.Handle(), rc, bmp, I, N);
}

void TSkinControl::DrawBuf(HDC dc, const TRect& rc) {
  if (IsInvertedRect(rc) || !SkinScratchBitmap || SkinScratchBitmap->Empty()) return;
  BitBlt(dc, rc.Left, rc.Top, rc.Width(), rc.Height(), BitmapCanvas(*SkinScratchBitmap).Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// Free functions

bool FrameDrawable(const TBitmap* bmp, int I, int N) {
  return bmp && !bmp->Empty() && N > 0 && I >= 1 && I <= N && bmp->Width() / N > 0;
}

bool IsPopupWindow(HWND wnd) {
  if (static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)) & WS_POPUP) return true;
  return GetParent(wnd) == reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10014));
}

void CopyBitmap(TBitmap& source, TBitmap& dest) {
  dest.SetPixelFormat(source.PixelFormat());
  dest.SetSize(source.Width(), source.Height());
  if (source.Empty()) return;
  BitBlt(BitmapCanvas(dest).Handle(), 0, 0, source.Width(), source.Height(), BitmapCanvas(source).Handle(), 0, 0,
         SRCCOPY);
}

String GetWindowCaption(HWND wnd) {
  if (IsWinNT) {
    const int n = GetWindowTextLengthW(wnd);
    if (n <= 0) return {};
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(wnd, buf.data(), n + 1);
    return FromW(buf.c_str(), static_cast<size_t>(std::max(got, 0)));
  }
  wchar_t buf[1000] = {};
  SendMessageW(wnd, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buf));
  buf[999] = 0;
  return FromW(buf);
}

std::string GetWindowCaptionA(HWND wnd) {
  char buf[1000] = {};
  SendMessageA(wnd, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buf));
  buf[999] = 0;
  return buf;
}

}  // namespace qv
