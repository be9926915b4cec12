#include "platform/win/GlyphCheckBoxes.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/WinGeometry.h"

namespace qv {

namespace {
constexpr int kBoxSize = 13;
}  // namespace

const TClassInfo& TGlyphBitmap::StaticClass() {
  using T = TGlyphBitmap;
  static const TClassInfo& info = TClassBuilder<T>(u"TGlyphBitmap", TBitmap::StaticClass())
                                      .Int(u"TransparentColor", &T::TransparentColor, &T::SetTransparentColor)
                                      .Bool(u"Transparent", &T::Transparent, &T::SetTransparent)
                                      .Done();
  return info;
}

// --- TGlyphCheckControl -----------------------------------------------------

const TClassInfo& TGlyphCheckControl::StaticClass() {
  using T = TGlyphCheckControl;
  static const TClassInfo& info = TClassBuilder<T>(u"TGlyphCheckControl", TCustomControl::StaticClass())
                                      .Bool(u"Checked", &T::Checked, &T::SetChecked, false)
                                      .Enum(u"State", &T::State, &T::SetState, kCheckBoxStateInfo, cbUnchecked)
                                      .Done();
  return info;
}

TGlyphCheckControl::TGlyphCheckControl(TComponent* owner, bool radio) : TCustomControl(owner), radio_(radio) {
  width_ = 113, height_ = 17;
  tabStop_ = true;
  parentColor_ = true;
  color_ = clBtnFace;
}

void TGlyphCheckControl::SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }

void TGlyphCheckControl::SetState(TCheckBoxState v) {
  if (radio_ && v == cbGrayed) v = cbUnchecked;
  state_ = v;
  if (radio_ && v == cbChecked && parent_) {
    for (int i = 0; i < parent_->ControlCount(); ++i) {
      auto* other = As<TGlyphCheckControl>(parent_->Controls(i));
      if (other && other != this && other->radio_ && other->state_ == cbChecked) {
        other->state_ = cbUnchecked;
        other->Invalidate();
      }
    }
  }
  Invalidate();
}

void TGlyphCheckControl::Toggle() {
  if (radio_) SetChecked(true);
  else SetChecked(!Checked());
  Click();
}

int TGlyphCheckControl::GlyphSlot(int slots) const {
  const int column = static_cast<int>(state_);
  if (radio_) {
    const int row = !enabled_ && slots >= 6 ? 2 : pressed_ ? 1 : 0;
    return row * 2 + (column == cbChecked ? 2 : 1);
  }
  const int row = !enabled_ && slots >= 9 ? 2 : pressed_ ? 1 : 0;
  return row * 3 + column + 1;
}

void TGlyphCheckControl::Paint() {
  HDC dc = Canvas().Handle();
  Canvas().SetBrushColor(color_);
  Canvas().FillRect(RECT{0, 0, width_, height_});

  int slots = 0;
  TColor key = 0;
  bool transparent = true;
  TBitmap* strip = GlyphStrip(slots, key, transparent);
  int boxW = kBoxSize;
  if (strip && !strip->Empty() && slots > 0 && strip->Width() / slots > 0) {
    const int fw = strip->Width() / slots, fh = strip->Height();
    const int slot = GlyphSlot(slots);
    const int y = (height_ - fh) / 2;
    HDC src = BitmapCanvas(*strip).Handle();
    if (transparent)
      GdiTransparentBlt(dc, 0, y, fw, fh, src, (slot - 1) * fw, 0, fw, fh, ColorToRGB(key));
    else
      BitBlt(dc, 0, y, fw, fh, src, (slot - 1) * fw, 0, SRCCOPY);
    boxW = fw;
  } else {
    const int y = (height_ - kBoxSize) / 2;
    RECT box{0, y, kBoxSize, y + kBoxSize};
    UINT flags = radio_ ? DFCS_BUTTONRADIO : state_ == cbGrayed ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK;
    if (state_ != cbUnchecked) flags |= DFCS_CHECKED;
    if (pressed_) flags |= DFCS_PUSHED;
    if (!enabled_) flags |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, flags);
  }
  RECT text{boxW + 4, 0, width_, height_};
  SetBkMode(dc, TRANSPARENT);
  Canvas().Font().SetColor(enabled_ ? font_->Color() : static_cast<TColor>(clSystemColor | COLOR_GRAYTEXT));
  Canvas().DrawText(text_, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TGlyphCheckControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      if (handle_) {
        SetCapture(handle_);
        if (tabStop_) ::SetFocus(handle_);
      }
      Invalidate();
      break;
    case WM_LBUTTONUP: {
      const bool was = pressed_;
      pressed_ = false;
      if (handle_ && GetCapture() == handle_) ReleaseCapture();
      const POINT p = ToPOINT(PointFromLParam(m.LParam));
      const RECT r{0, 0, width_, height_};
      Invalidate();
      if (was && PtInRect(&r, p)) Toggle();
      return;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        Invalidate();
      }
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        Toggle();
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}

// --- TRzCheckBox, TRzRadioButton -------------------------------------------

const TClassInfo& TRzCustomGlyphControl::StaticClass() {
  using T = TRzCustomGlyphControl;
  static const TClassInfo& info =
      TClassBuilder<T>(u"TRzCustomGlyphControl", TGlyphCheckControl::StaticClass())
          .Obj<TBitmap>(u"CustomGlyphs", &T::CustomGlyphs, &T::SetCustomGlyphs)
          .Bool(u"UseCustomGlyphs", &T::UseCustomGlyphs, &T::SetUseCustomGlyphs, false)
          .Int(u"TransparentColor", &T::TransparentColor, &T::SetTransparentColor, 0x008000)
          .Done();
  return info;
}

TRzCustomGlyphControl::TRzCustomGlyphControl(TComponent* owner, bool radio) : TGlyphCheckControl(owner, radio) {}

void TRzCustomGlyphControl::SetCustomGlyphs(TBitmap* v) {
  if (v) customGlyphs_->Assign(*v);
  else customGlyphs_->Clear();
  Invalidate();
}

void TRzCustomGlyphControl::SetUseCustomGlyphs(bool v) {
  useCustomGlyphs_ = v;
  Invalidate();
}

void TRzCustomGlyphControl::SetTransparentColor(int v) {
  transparentColor_ = v;
  Invalidate();
}

TBitmap* TRzCustomGlyphControl::GlyphStrip(int& slots, TColor& key, bool& transparent) {
  if (!useCustomGlyphs_ || customGlyphs_->Empty()) return nullptr;
  slots = IsRadio() ? 6 : 9;
  key = transparentColor_;
  transparent = true;
  return customGlyphs_.get();
}

const TClassInfo& TRzCheckBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TRzCheckBox>(u"TRzCheckBox", TRzCustomGlyphControl::StaticClass())
                                      .Done();
  return info;
}

const TClassInfo& TRzRadioButton::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TRzRadioButton>(u"TRzRadioButton", TRzCustomGlyphControl::StaticClass()).Done();
  return info;
}

// --- TcxCheckBox ------------------------------------------------------------

const TClassInfo& TcxCheckBoxProperties::StaticClass() {
  using T = TcxCheckBoxProperties;
  static const TClassInfo& info = TClassBuilder<T>(u"TcxCheckBoxProperties", TPersistent::StaticClass())
                                      .Obj<TBitmap>(u"Glyph", &T::Glyph, &T::SetGlyph)
                                      .Done();
  return info;
}

void TcxCheckBoxProperties::SetGlyph(TBitmap* v) {
  if (v) {
    glyph_->Assign(*v);
    if (auto* g = As<TGlyphBitmap>(v)) {
      glyph_->SetTransparentColor(g->TransparentColor());
      glyph_->SetTransparent(g->Transparent());
    }
  } else {
    glyph_->Clear();
  }
  if (owner_) owner_->Invalidate();
}

const TClassInfo& TcxCheckBox::StaticClass() {
  using T = TcxCheckBox;
  static const TClassInfo& info = TClassBuilder<T>(u"TcxCheckBox", TGlyphCheckControl::StaticClass())
                                      .Obj<TcxCheckBoxProperties>(u"Properties", &T::Properties, nullptr)
                                      .Done();
  return info;
}

TcxCheckBox::TcxCheckBox(TComponent* owner)
    : TGlyphCheckControl(owner, false), properties_(std::make_unique<TcxCheckBoxProperties>(this)) {}

TBitmap* TcxCheckBox::GlyphStrip(int& slots, TColor& key, bool& transparent) {
  TGlyphBitmap* g = properties_->Glyph();
  if (g->Empty()) return nullptr;
  slots = 6;
  // The control leaves out the glyph's key colour itself; the bitmap's own
  // Transparent concerns only drawing the bitmap elsewhere.
  key = g->TransparentColor();
  transparent = true;
  return g;
}

}  // namespace qv
