// Buttons with pictures: the bitmap button (a push button with a glyph or an
// image-list image), the drop-down button and the speed button, a graphic
// control without a window of its own. Glyph strips hold NumGlyphs frames
// side by side: up, disabled, pressed, down. Their pictures are drawn by the
// control skins; without one they keep the system button's look.
#pragma once
#include <memory>

#include "platform/core/Bitmap.h"
#include "platform/win/Controls.h"
#include "platform/win/ImageList.h"
#include "platform/win/Picture.h"
#include "platform/win/StdCtrls.h"

namespace qv {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
extern const TEnumInfo kButtonLayoutInfo;

// What a glyph button carries besides its caption, added to a control
// class; the skins read these by property name.
template <class Base>
class TWithGlyph : public Base {
 public:
  using Base::Base;
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* v) {
    if (v) glyph_->Assign(*v);
    else glyph_->Clear();
    this->Invalidate();
  }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v) { numGlyphs_ = v; this->Invalidate(); }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { layout_ = v; this->Invalidate(); }
  int Margin() const { return margin_; }
  void SetMargin(int v) { margin_ = v; this->Invalidate(); }
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { spacing_ = v; this->Invalidate(); }

 private:
  std::unique_ptr<TBitmap> glyph_ = std::make_unique<TBitmap>();
  int numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

// A PNG picture added to a button class.
template <class Base>
class TWithPng : public Base {
 public:
  using Base::Base;
  TPngImage* PngImage() const { return png_.get(); }
  // A copy of v (null: no picture).
  void SetPngImage(TPngImage* v) {
    if (v) png_->Assign(*v);
    else png_ = std::make_unique<TPngImage>();
    this->Invalidate();
  }

 private:
  std::unique_ptr<TPngImage> png_ = std::make_unique<TPngImage>();
};

class TBitBtn : public TWithGlyph<TButton> {
  QV_CLASS(TBitBtn)
 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind v) { kind_ = v; }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; Invalidate(); }
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int v) { disabledIndex_ = v; Invalidate(); }

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TBitBtnKind kind_ = bkCustom;
  TCustomImageList* images_ = nullptr;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
};

// A bitmap button whose picture is a PNG image (property PngImage).
class TPngBitBtn : public TWithPng<TBitBtn> {
  QV_CLASS(TPngBitBtn)
 public:
  using TWithPng<TBitBtn>::TWithPng;
};

// The drop-down button: a push button whose Kind makes it a plain button, a
// button with a drop-down part or a drop-down button as a whole.
enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton };

class TcxButton : public TWithGlyph<TButton> {
  QV_CLASS(TcxButton)
 public:
  explicit TcxButton(TComponent* owner);
  ~TcxButton() override;
  TcxButtonKind Kind() const { return kind_; }
  void SetKind(TcxButtonKind v) { kind_ = v; Invalidate(); }

 private:
  TcxButtonKind kind_ = cxbkStandard;
};

// A button drawn on its parent. With a GroupIndex it stays Down once
// clicked and lets go when another of its group goes down (or, with
// AllowAllUp, when clicked again).
class TSpeedButton : public TWithGlyph<TGraphicControl> {
  QV_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; Invalidate(); }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }

  void Dispatch(TMessage& message) override;
  void Paint(TCanvas& canvas) override;

 private:
  bool down_ = false;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool pressed_ = false;
  bool mouseIn_ = false;
};

// A speed button whose picture is a PNG image (property PngImage).
class TPngSpeedButton : public TWithPng<TSpeedButton> {
  QV_CLASS(TPngSpeedButton)
 public:
  using TWithPng<TSpeedButton>::TWithPng;
};

}  // namespace qv
