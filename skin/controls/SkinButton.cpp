#include "skin/controls/SkinButton.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {


bool StartsWith(StringView s, StringView prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

String ReplaceFirst(StringView text, StringView old, StringView replacement) {
  return StringReplace(text, old, replacement, 0);
}

const TClassInfo& TSkinButton::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinButton>(u"TSkinButton", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinButton::TSkinButton(TComponent* AOwner) : TSkinControl(AOwner), btemp(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!control) return;
  kind = bkForwardMouseDown;
  const String cls = LowerCase(control->ClassName());
  if (StartsWith(cls, u"trz") || StartsWith(cls, u"tel")) kind = bkOwnMouseDown;
  trans = control->Tag() == kTagTransparent || (fsd && InSet(fsd->Options(), xoTransparent));
}

// ---------------------------------------------------------------------------
// Messages

TDataSkinButton* TSkinButton::ButtonPicture() const {
  TDataSkinButton* skin = fsd ? fsd->Button.get() : nullptr;
  return HasPicture(skin) ? skin : nullptr;
}

bool TSkinButton::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (!ButtonPicture()) return true;
      WMPaint(Message);
      return false;
    case WM_ERASEBKGND:
      if (!ButtonPicture()) return true;
      Message.Result = 1;
      return false;
    case WM_TIMER:
      KillTimer(hwnd, 1);
      redraw = false;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const TLifeToken alive = Alive();
      // Focus moving runs the other control's handlers first.
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!alive) return false;
      state |= kStatePressed;
      PaintControl(nullptr);
      if (kind == bkForwardMouseDown && control) DoMouseDown(Message);
      return false;
    }
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

void TSkinButton::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT:
      PaintControl(nullptr);
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) {
        state |= kStatePressed;
        Redraw();
      }
      break;
    case WM_KEYUP:
      if (Message.WParam == VK_SPACE) {
        state &= ~kStatePressed;
        Redraw();
      }
      break;
    case WM_MOUSEMOVE:
      if (IsWindowEnabled(hwnd) && !(state & kStateHot)) {
        state |= kStateHot;
        Redraw();
      }
      TrackMouseLeave(hwnd);
      break;
    case WM_LBUTTONUP: {
      if (!(state & kStatePressed)) break;
      state &= ~kStatePressed;
      Redraw();
      // Someone else holding the mouse may bring the release from outside:
      // that is no click.
      RECT r{};
      GetClientRect(hwnd, &r);
      const POINT pt = ToPOINT(PointFromLParam(Message.LParam));
      if (PtInRect(&r, pt)) Click();  // last: the click may free this skin
      break;
    }
    case WM_MOUSELEAVE:
      state &= ~(kStateHot | kStatePressed);
      Redraw();
      break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
      Redraw();
      break;
    default:
      TSkinControl::AfterProc(Message);
      break;
  }
}

void TSkinButton::Click() {
  if (control) {
    control->Click();
    return;
  }
  const WPARAM id = SameText(GetWndClassName(hwnd), u"tbutton") ? 0 : static_cast<WPARAM>(GetDlgCtrlID(hwnd));
  PostMessageW(GetParent(hwnd), WM_COMMAND, id, reinterpret_cast<LPARAM>(hwnd));
}

// ---------------------------------------------------------------------------
// Painting

TColor ButtonCaptionColor(TColor start, const TDataSkinButton& skin, int frame, bool enabled, bool normalAlways) {
  TColor c = start;
  if (skin.newnormal && (normalAlways || frame == kFrameNormal)) c = skin.Normalcolor2;
  if (frame == kFrameHot && skin.newover) c = skin.Overcolor2;
  if (frame == kFramePressed && skin.newdown) c = skin.Downcolor2;
  if (!enabled) c = clBtnShadow;
  return c;
}

int TSkinButton::FrameIndex(bool isDefault) const {
  int index = kFrameNormal;
  if (focused || isDefault) index = kFrameFocused;
  if (state & kStateHot) index = kFrameHot;
  if (state & kStatePressed) index = kFramePressed;
  if (!enabled) index = kFrameDisabled;
  return index;
}

void TSkinButton::DrawControl(HDC dc, const TRect& R) {
  TDataSkinButton* skin = ButtonPicture();
  if (!skin) return;
  focused = GetFocus() == hwnd;
  enabled = !(static_cast<DWORD>(GetWndLong(hwnd, GWL_STYLE)) & WS_DISABLED);
  const bool isDefault = control && ReadsTrue(control, u"Default");
  if (control) {
    caption = GetStrPropByName(control, u"Caption");
    MultiLine = ReadsTrue(control, u"MultiLine");
  } else {
    caption = GetWindowCaption(hwnd);
    MultiLine = false;
  }
  const int index = FrameIndex(isDefault);
  const TRect B{0, 0, R.Width(), R.Height()};
  if (B.IsEmpty()) return;
  btemp->SetSize(B.Width(), B.Height());
  TCanvas& canvas = BitmapCanvas(*btemp);
  HDC bdc = canvas.Handle();
  // The canvas's font leaves the DC before it is changed below.
  canvas.SetHandle(bdc);

  if (trans && control) DrawParentBackground(control, bdc);
  else FillColorRect(bdc, B, fsd->Colors[scButtonFace]);
  DrawSkinMap(bdc, B, skin, index, skin->frame);

  TColor textColor = control ? clBtnText : fsd->Colors[scButtonText];
  if (control) {
    if (auto* font = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass())))
      canvas.Font().Assign(*font);
    textColor = canvas.Font().Color();
  }
  textColor = ButtonCaptionColor(textColor, *skin, index, enabled, true);

  // A raw button's font is its parent's: borrowed for the caption only.
  const FontRef windowFont = control ? FontRef() : WindowFont(hwnd);
  {
    SelectGuard useFont(bdc, windowFont);
    if (control) {
      canvas.Font().SetColor(textColor);
      canvas.TextExtent(StringView());  // selects the font and its colour
    } else {
      SetTextColor(bdc, ColorToRGB(textColor));
    }
    DrawButtonCaption(canvas, B, DT_CENTER);
    BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), bdc, 0, 0, SRCCOPY);
  }
  canvas.SetHandle(bdc);
}

void TSkinButton::DrawButtonCaption(TCanvas& acanvas, const TRect& R, UINT alignment) {
  HDC dc = acanvas.Handle();
  UINT flags = alignment | DT_EXPANDTABS | DT_WORDBREAK;
  caption = ReplaceFirst(caption, u"||", u"\r\n");
  RECT t{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  TextStyleSaver style(dc);
  SetBkMode(dc, TRANSPARENT);
  SkinDrawText(dc, caption, t, flags | DT_CALCRECT | DT_NOCLIP);
  t = RECT{0, 0, t.right - t.left, t.bottom - t.top};
  flags = CheckBiDi(flags);
  const int tw = t.right, th = t.bottom;
  if (alignment == DT_CENTER) {
    OffsetRect(&t, (R.Width() - tw) / 2, (R.Height() - th) / 2 - 1);
  } else {
    OffsetRect(&t, 0, (R.Height() - th) / 2 - 1);
    t.left = R.Left;
    t.right = R.Right;
  }
  SkinDrawText(dc, caption, t, flags);
  if (focused && !(fsd && InSet(fsd->Options(), xoNoFocusRect))) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(dc, &t);
  }
}

}  // namespace qv
