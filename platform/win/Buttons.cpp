#include "platform/win/Buttons.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"

namespace qv {

const TEnumInfo kButtonLayoutInfo{{u"blGlyphLeft", u"blGlyphRight", u"blGlyphTop", u"blGlyphBottom"}};

namespace {

const TEnumInfo kBitBtnKindInfo{{u"bkCustom", u"bkOK", u"bkCancel", u"bkHelp", u"bkYes", u"bkNo", u"bkClose",
                                 u"bkAbort", u"bkRetry", u"bkIgnore", u"bkAll"}};
const TEnumInfo kcxButtonKindInfo{{u"cxbkStandard", u"cxbkDropDown", u"cxbkDropDownButton"}};

// The glyph properties every glyph button publishes.
template <class T>
TClassBuilder<T>& GlyphProperties(TClassBuilder<T>& b) {
  return b.template Obj<TBitmap>(u"Glyph", &T::Glyph, &T::SetGlyph)
      .Int(u"NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs, 1)
      .Enum(u"Layout", &T::Layout, &T::SetLayout, kButtonLayoutInfo, blGlyphLeft)
      .Int(u"Margin", &T::Margin, &T::SetMargin, -1)
      .Int(u"Spacing", &T::Spacing, &T::SetSpacing, 4);
}

}  // namespace

// --- TBitBtn ------------------------------------------------------------------

const TClassInfo& TBitBtn::StaticClass() {
  using T = TBitBtn;
  static const TClassInfo& info = []() -> const TClassInfo& {
    TClassBuilder<T> b(u"TBitBtn", TButton::StaticClass());
    return GlyphProperties(b)
        .Enum(u"Kind", &T::Kind, &T::SetKind, kBitBtnKindInfo, bkCustom)
        .template Obj<TCustomImageList>(u"Images", &T::Images, &T::SetImages)
        .Int(u"ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1)
        .Int(u"DisabledIndex", &T::DisabledIndex, &T::SetDisabledIndex, -1)
        .Done();
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TWithGlyph<TButton>(owner) {}
TBitBtn::~TBitBtn() = default;

void TBitBtn::SetImages(TCustomImageList* v) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (images_) images_->FreeNotification(this);
  Invalidate();
}

void TBitBtn::Notification(TComponent* component, TOperation operation) {
  TButton::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

const TClassInfo& TPngBitBtn::StaticClass() {
  using T = TPngBitBtn;
  static const TClassInfo& info = TClassBuilder<T>(u"TPngBitBtn", TBitBtn::StaticClass())
                                      .Obj<TPngImage>(u"PngImage", &T::PngImage, &T::SetPngImage)
                                      .Done();
  return info;
}


// --- TcxButton ----------------------------------------------------------------

const TClassInfo& TcxButton::StaticClass() {
  using T = TcxButton;
  static const TClassInfo& info = []() -> const TClassInfo& {
    TClassBuilder<T> b(u"TcxButton", TButton::StaticClass());
    return GlyphProperties(b).Enum(u"Kind", &T::Kind, &T::SetKind, kcxButtonKindInfo, cxbkStandard).Done();
  }();
  return info;
}

TcxButton::TcxButton(TComponent* owner) : TWithGlyph<TButton>(owner) {}
TcxButton::~TcxButton() = default;

// --- TSpeedButton -------------------------------------------------------------

const TClassInfo& TSpeedButton::StaticClass() {
  using T = TSpeedButton;
  static const TClassInfo& info = []() -> const TClassInfo& {
    TClassBuilder<T> b(u"TSpeedButton", TGraphicControl::StaticClass());
    return GlyphProperties(b)
        .Bool(u"Down", &T::Down, &T::SetDown, false)
        .Bool(u"Flat", &T::Flat, &T::SetFlat, false)
        .Int(u"GroupIndex", &T::GroupIndex, &T::SetGroupIndex, 0)
        .Bool(u"AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp, false)
        .Done();
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TWithGlyph<TGraphicControl>(owner) {
  width_ = 23, height_ = 22;
  color_ = clBtnFace;
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetDown(bool v) {
  if (v == down_) return;
  down_ = v;
  Invalidate();
  if (!v || groupIndex_ == 0 || !parent_) return;
  // The others of the group let go.
  for (int i = 0; i < parent_->ControlCount(); ++i) {
    auto* other = As<TSpeedButton>(parent_->Controls(i));
    if (other && other != this && other->groupIndex_ == groupIndex_) other->SetDown(false);
  }
}

void TSpeedButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) {
        pressed_ = true;
        Invalidate();
      }
      return;
    case WM_LBUTTONUP: {
      if (!pressed_) return;
      pressed_ = false;
      const TPoint p = PointFromLParam(m.LParam);
      const bool inside = p.X >= 0 && p.Y >= 0 && p.X < width_ && p.Y < height_;
      if (inside && groupIndex_ != 0) {
        if (!down_) SetDown(true);
        else if (allowAllUp_) SetDown(false);
      }
      Invalidate();
      if (inside) Click();  // last: the handler may free the button
      return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      mouseIn_ = m.Msg == CM_MOUSEENTER;
      if (flat_) Invalidate();
      break;
    default:
      break;
  }
  TGraphicControl::Dispatch(m);
}

// The system's look: a raised face (sunken while pressed or down; a flat
// button shows its edge only under the mouse), the first glyph frame (the
// second when disabled) left of the caption, both centred.
void TSpeedButton::Paint(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  RECT r{0, 0, width_, height_};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const bool sunken = pressed_ || down_;
  if (!flat_ || sunken || mouseIn_) DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  TBitmap& glyph = *Glyph();
  const int frames = NumGlyphs() > 0 ? NumGlyphs() : 1;
  const int gw = glyph.Empty() ? 0 : glyph.Width() / frames, gh = glyph.Empty() ? 0 : glyph.Height();
  const String text = Caption();
  const SIZE ts = text.empty() ? SIZE{0, 0} : canvas.TextExtent(text);
  const int gap = gw && ts.cx ? 4 : 0;
  int x = (width_ - gw - gap - ts.cx) / 2 + (sunken ? 1 : 0);
  const int shift = sunken ? 1 : 0;
  if (gw > 0) {
    const int frame = !Enabled() && frames > 1 ? 1 : 0;
    TBitmap one;
    one.SetSize(gw, gh);
    StretchCopy(one, TRect{0, 0, gw, gh}, glyph, TRect{frame * gw, 0, frame * gw + gw, gh});
    GdiTransparentBlt(dc, x, (height_ - gh) / 2 + shift, gw, gh, BitmapCanvas(one).Handle(), 0, 0, gw, gh,
                      static_cast<UINT>(ColorToRGB(one.Pixel(0, gh - 1))));
    x += gw + gap;
  }
  if (!text.empty()) {
    RECT tr{x, shift, x + ts.cx, height_ + shift};
    canvas.Font().SetColor(Enabled() ? clBtnText : clBtnShadow);
    canvas.DrawText(text, tr, DT_SINGLELINE | DT_VCENTER);
  }
}

const TClassInfo& TPngSpeedButton::StaticClass() {
  using T = TPngSpeedButton;
  static const TClassInfo& info = TClassBuilder<T>(u"TPngSpeedButton", TSpeedButton::StaticClass())
                                      .Obj<TPngImage>(u"PngImage", &T::PngImage, &T::SetPngImage)
                                      .Done();
  return info;
}

}  // namespace qv
