// Check boxes and radio buttons of the kind other control families offer,
// which draw their box from a glyph strip of their own when given one:
// TRzCheckBox and TRzRadioButton take "CustomGlyphs" with "UseCustomGlyphs"
// and "TransparentColor"; TcxCheckBox takes the "Glyph" of its "Properties".
// Without a strip they draw the platform's box.
//
// Strip slots (1-based, equal widths side by side):
//   check box, 9 slots:  unchecked, checked, grayed; the same pressed; the
//                        same disabled
//   radio button, 6:     unchecked, checked; pressed; disabled
//   properties glyph, 6: unchecked, checked, grayed; the same pressed
#pragma once
#include "platform/core/Bitmap.h"
#include "platform/win/CheckControls.h"
#include "platform/win/Controls.h"

namespace qv {

// A glyph bitmap that knows its see-through colour.
class TGlyphBitmap : public TBitmap {
  QV_CLASS(TGlyphBitmap)
 public:
  int TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(int v) { transparentColor_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }

 private:
  int transparentColor_ = 0;
  bool transparent_ = true;
};

// The box and its caption; a click toggles (a radio button: checks itself
// and unchecks the radio buttons beside it).
class TGlyphCheckControl : public TCustomControl {
  QV_CLASS(TGlyphCheckControl)
 public:
  explicit TGlyphCheckControl(TComponent* owner, bool radio);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v);
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState v);
  bool IsRadio() const { return radio_; }

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;
  // The strip to draw from and its slot count; null for the platform's box.
  virtual TBitmap* GlyphStrip(int& /*slots*/, TColor& /*key*/, bool& /*transparent*/) { return nullptr; }
  // The slot for the current state, 1-based.
  int GlyphSlot(int slots) const;

 private:
  void Toggle();
  bool radio_;
  bool pressed_ = false;
  TCheckBoxState state_ = cbUnchecked;
};

// "CustomGlyphs" used when "UseCustomGlyphs" is on.
class TRzCustomGlyphControl : public TGlyphCheckControl {
  QV_CLASS(TRzCustomGlyphControl)
 public:
  TRzCustomGlyphControl(TComponent* owner, bool radio);
  TBitmap* CustomGlyphs() const { return customGlyphs_.get(); }
  void SetCustomGlyphs(TBitmap* v);
  bool UseCustomGlyphs() const { return useCustomGlyphs_; }
  void SetUseCustomGlyphs(bool v);
  int TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(int v);

 protected:
  TBitmap* GlyphStrip(int& slots, TColor& key, bool& transparent) override;

 private:
  std::unique_ptr<TBitmap> customGlyphs_ = std::make_unique<TBitmap>();
  bool useCustomGlyphs_ = false;
  int transparentColor_ = 0x008000;
};

class TRzCheckBox : public TRzCustomGlyphControl {
  QV_CLASS(TRzCheckBox)
 public:
  explicit TRzCheckBox(TComponent* owner) : TRzCustomGlyphControl(owner, false) {}
};

class TRzRadioButton : public TRzCustomGlyphControl {
  QV_CLASS(TRzRadioButton)
 public:
  explicit TRzRadioButton(TComponent* owner) : TRzCustomGlyphControl(owner, true) {}
};

// The settings object of TcxCheckBox.
class TcxCheckBoxProperties : public TPersistent {
  QV_CLASS(TcxCheckBoxProperties)
 public:
  explicit TcxCheckBoxProperties(TControl* owner) : owner_(owner) {}
  TGlyphBitmap* Glyph() const { return glyph_.get(); }
  // Copies the bitmap (its colour settings too, from a glyph bitmap); null
  // empties the glyph.
  void SetGlyph(TBitmap* v);

 private:
  TControl* owner_;
  std::unique_ptr<TGlyphBitmap> glyph_ = std::make_unique<TGlyphBitmap>();
};

class TcxCheckBox : public TGlyphCheckControl {
  QV_CLASS(TcxCheckBox)
 public:
  explicit TcxCheckBox(TComponent* owner);
  TcxCheckBoxProperties* Properties() const { return properties_.get(); }

 protected:
  TBitmap* GlyphStrip(int& slots, TColor& key, bool& transparent) override;

 private:
  std::unique_ptr<TcxCheckBoxProperties> properties_;
};

}  // namespace qv
