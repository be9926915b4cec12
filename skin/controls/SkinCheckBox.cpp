#include "skin/controls/SkinCheckBox.h"

#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinPlatform.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

// Sent by some outside controls to have their look refreshed.
constexpr UINT kRefreshMessage = 0xB0D0;

bool HasProp(TObject* obj, StringView name) { return obj && GetPropInfo(obj, name); }

bool Disabled(HWND wnd) { return (static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)) & WS_DISABLED) != 0; }

// The remapping of the long strips: 2 -> 5, 3 -> 4, 4 -> 8.
int LongStripFrame(int I) {
  switch (I) {
    case 2: return 5;
    case 3: return 4;
    case 4: return 8;
    default: return I;
  }
}

}  // namespace

int AvailableFrame(int I, int N) {
  if (N < 1) return 0;
  if (I > N && I > 2) I -= 2;
  return I >= 1 && I <= N ? I : 1;
}

// ---------------------------------------------------------------------------
// Shared

const TClassInfo& TSkinCheckControl::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinCheckControl>(u"TSkinCheckControl", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinCheckControl::InitCheck(TBitmap* strip) {
  kind = ckSelfPainted;
  if (!control) return;
  if (strip && !strip->Empty()) kind = ckSkinPainted;
  trans = control->Tag() == kTagTransparent || (fsd && InSet(fsd->Options(), xoTransparent));
}

bool TSkinCheckControl::BeforeProc(TMessage& Message) {
  const bool result = TSkinControl::BeforeProc(Message);
  switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      if (kind != ckSkinPainted) break;
      WMPaint(Message);
      return false;
    case WM_ERASEBKGND:
      if (!trans) break;
      WMEraseBkgnd(Message);
      return false;
    default:
      break;
  }
  return result;
}

void TSkinCheckControl::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case kRefreshMessage:
      Redraw();
      break;
    default:
      TSkinControl::AfterProc(Message);
      break;
  }
}

void TSkinCheckControl::SkinChange() {
  InitCheck(Strip());
  TSkinControl::SkinChange();
}

void TSkinCheckControl::DrawControl(HDC dc, const TRect& R) {
  TBitmap* strip = Strip();
  const int N = FrameCount();
  if (!strip || strip->Empty() || N < 1) {
    // Back to the control's own look, which this paint did not get.
    if (kind != ckSelfPainted && hwnd) InvalidateRect(hwnd, nullptr, TRUE);
    kind = ckSelfPainted;
    return;
  }
  const int w = strip->Width() / N, h = strip->Height();
  const int top = R.Top + (R.Height() - h) / 2;
  const bool leftText = (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_LEFTTEXT) != 0;
  const bool rtl = control && SameText(GetEnumPropByName(control, u"BiDiMode"), u"bdRightToLeft");
  TRect box, text;
  UINT baseFlags = 0;
  if (leftText) {
    const int inset = RightInset();
    box = TRect{R.Right - w - inset, top, R.Right - inset, top + h};
    text = TRect{R.Left, R.Top, R.Right - w - 2 - inset, R.Bottom};
    if (rtl) baseFlags = DT_RIGHT | DT_RTLREADING;
  } else {
    box = TRect{R.Left, top, R.Left + w, top + h};
    text = TRect{R.Left + w + 2, R.Top, R.Right, R.Bottom};
    if (rtl) baseFlags = DT_RTLREADING;
  }
  if (kind == ckSkinPainted && !trans) FillFaceRect(dc, R);
  const int I = AvailableFrame(FrameIndex(), N);
  if (w > 0) DrawSkinMap2(dc, box, strip, I, N);
  if (kind != ckSelfPainted) DrawCheckCaption(dc, text, baseFlags);
}

void TSkinCheckControl::DrawCheckCaption(HDC dc, const TRect& textRect, UINT baseFlags) {
  // A control without a text property "Caption" shows its window text.
  const TPropInfo* text = control ? GetPropInfo(control, u"Caption") : nullptr;
  caption = text && text->kind == TPropKind::String ? GetStrProp(control, *text) : GetWindowCaption(hwnd);
  // The window's font is its parent's, a class-library control's its TFont's.
  FontRef font = WindowFont(hwnd);
  TColor color = clBtnText;
  if (control) {
    if (auto* f = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) {
      font = f->Handle();
      color = f->Color();
    }
    if (Disabled(hwnd)) color = clBtnShadow;
  }
  SelectGuard useFont(dc, font);
  TextStyleSaver style(dc);
  SetTextColor(dc, ColorToRGB(color));
  SetBkColor(dc, ColorToRGB(fsd ? fsd->Colors[scButtonFace] : clBtnFace));
  SetBkMode(dc, TRANSPARENT);

  RECT r = ToRECT(textRect);
  RECT measured = r;
  SkinDrawText(dc, caption, measured, baseFlags | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
  OffsetRect(&r, 0, ((r.bottom - r.top) - (measured.bottom - measured.top)) / 2);
  if (GetFocus() == hwnd && !caption.empty() && NotWin6)
    DrawCaptionFocus(dc, baseFlags | DT_WORDBREAK | DT_EXPANDTABS, FromRECT(r));
  SkinDrawText(dc, caption, r, baseFlags | DT_WORDBREAK | DT_EXPANDTABS);
}

// ---------------------------------------------------------------------------
// Check box

const TClassInfo& TSkinCheckBox::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinCheckBox>(u"TSkinCheckBox", TSkinCheckControl::StaticClass()).Done();
  return info;
}

void TSkinCheckBox::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  TSkinControl::Init(sf, sd, acanvas, acolor);
  state = 0;
  InitCheck(Strip());
}

TBitmap* TSkinCheckBox::Strip() const { return fsd && fsd->Button ? fsd->Button->CheckMap.get() : nullptr; }

int TSkinCheckBox::FrameCount() const { return fsd && fsd->Button ? fsd->Button->checkframe : 0; }

void TSkinCheckBox::AfterProc(TMessage& Message) {
  if (Message.Msg == BM_SETCHECK) state = static_cast<int32_t>(Message.WParam) + 1;
  TSkinCheckControl::AfterProc(Message);
}

int TSkinCheckBox::FrameIndex() {
  const LRESULT S = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
  int I = (S & BST_CHECKED) ? 2 : 1;
  if (control) {
    if (HasProp(control, u"State")) {
      const String s = LowerCase(GetEnumPropByName(control, u"State"));
      if (Pos(u"uncheck", s) > 0) I = 1;
      else if (Pos(u"check", s) > 0) I = 2;
      else if (Pos(u"gray", s) > 0) I = 4;
    } else if (HasProp(control, u"Checked")) {
      I = LowerCase(GetEnumPropByName(control, u"Checked")) == u"true" ? 2 : 1;
    }
    if (HasProp(control, u"DataField") && state != 0) I = state == 3 ? 4 : state;
    if (HasProp(control, u"DataBinding")) I = 1;
  }
  const bool disabled = Disabled(hwnd);
  if (disabled) I += 2;
  const bool indeterminate = (S & BST_INDETERMINATE) != 0;
  if (indeterminate) I = 4;
  if (FrameCount() == 12) {
    I = LongStripFrame(I);
    if (indeterminate) I = disabled ? 12 : 9;
  }
  return I;
}

// ---------------------------------------------------------------------------
// Radio button

const TClassInfo& TSkinRadioButton::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinRadioButton>(u"TSkinRadioButton", TSkinCheckControl::StaticClass()).Done();
  return info;
}

void TSkinRadioButton::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  TSkinControl::Init(sf, sd, acanvas, acolor);
  InitCheck(Strip());
}

TBitmap* TSkinRadioButton::Strip() const { return fsd && fsd->Button ? fsd->Button->RadioMap.get() : nullptr; }

int TSkinRadioButton::FrameCount() const { return fsd && fsd->Button ? fsd->Button->radioframe : 0; }

int TSkinRadioButton::FrameIndex() {
  int I = (SendMessageW(hwnd, BM_GETCHECK, 0, 0) & 1) ? 2 : 1;
  if (HasProp(control, u"Checked")) I = LowerCase(GetEnumPropByName(control, u"Checked")) == u"true" ? 2 : 1;
  if (Disabled(hwnd)) I += 2;
  if (FrameCount() == 8) I = LongStripFrame(I);
  return I;
}

}  // namespace qv
