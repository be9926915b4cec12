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

// What a glyph button carries besides its caption; the skins read these by
// property name.
struct TGlyphSettings {
  std::unique_ptr<TBitmap> glyph = std::make_unique<TBitmap>();
  int numGlyphs = 1;
  TButtonLayout layout = blGlyphLeft;
  int margin = -1;
  int spacing = 4;
};

class TBitBtn : public TButton {
  QV_CLASS(TBitBtn)
 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitmap* Glyph() const { return g_.glyph.get(); }
  void SetGlyph(TBitmap* v);
  int NumGlyphs() const { return g_.numGlyphs; }
  void SetNumGlyphs(int v) { g_.numGlyphs = v; Invalidate(); }
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind v) { kind_ = v; }
  TButtonLayout Layout() const { return g_.layout; }
  void SetLayout(TButtonLayout v) { g_.layout = v; Invalidate(); }
  int Margin() const { return g_.margin; }
  void SetMargin(int v) { g_.margin = v; Invalidate(); }
  int Spacing() const { return g_.spacing; }
  void SetSpacing(int v) { g_.spacing = v; Invalidate(); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; Invalidate(); }
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int v) { disabledIndex_ = v; Invalidate(); }

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TGlyphSettings g_;
  TBitBtnKind kind_ = bkCustom;
  TCustomImageList* images_ = nullptr;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
};

// A bitmap button whose picture is a PNG image (property PngImage).
class TPngBitBtn : public TBitBtn {
  QV_CLASS(TPngBitBtn)
 public:
  explicit TPngBitBtn(TComponent* owner);
  ~TPngBitBtn() override;
  TPngImage* PngImage() const { return png_.get(); }
  void SetPngImage(TPngImage* v);

 private:
  std::unique_ptr<TPngImage> png_;
};

// The drop-down button: a push button whose Kind makes it a plain button, a
// button with a drop-down part or a drop-down button as a whole.
enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton };

class TcxButton : public TButton {
  QV_CLASS(TcxButton)
 public:
  explicit TcxButton(TComponent* owner);
  ~TcxButton() override;
  TcxButtonKind Kind() const { return kind_; }
  void SetKind(TcxButtonKind v) { kind_ = v; Invalidate(); }
  TBitmap* Glyph() const { return g_.glyph.get(); }
  void SetGlyph(TBitmap* v);
  int Margin() const { return g_.margin; }
  void SetMargin(int v) { g_.margin = v; Invalidate(); }
  int Spacing() const { return g_.spacing; }
  void SetSpacing(int v) { g_.spacing = v; Invalidate(); }

 private:
  TGlyphSettings g_;
  TcxButtonKind kind_ = cxbkStandard;
};

// A button drawn on its parent. With a GroupIndex it stays Down once
// clicked and lets go when another of its group goes down (or, with
// AllowAllUp, when clicked again).
class TSpeedButton : public TGraphicControl {
  QV_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  TBitmap* Glyph() const { return g_.glyph.get(); }
  void SetGlyph(TBitmap* v);
  int NumGlyphs() const { return g_.numGlyphs; }
  void SetNumGlyphs(int v) { g_.numGlyphs = v; Invalidate(); }
  TButtonLayout Layout() const { return g_.layout; }
  void SetLayout(TButtonLayout v) { g_.layout = v; Invalidate(); }
  int Margin() const { return g_.margin; }
  void SetMargin(int v) { g_.margin = v; Invalidate(); }
  int Spacing() const { return g_.spacing; }
  void SetSpacing(int v) { g_.spacing = v; Invalidate(); }
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
  TGlyphSettings g_;
  bool down_ = false;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool pressed_ = false;
  bool mouseIn_ = false;
};

// A speed button whose picture is a PNG image (property PngImage).
class TPngSpeedButton : public TSpeedButton {
  QV_CLASS(TPngSpeedButton)
 public:
  explicit TPngSpeedButton(TComponent* owner);
  ~TPngSpeedButton() override;
  TPngImage* PngImage() const { return png_.get(); }
  void SetPngImage(TPngImage* v);

 private:
  std::unique_ptr<TPngImage> png_;
};

}  // namespace qv
