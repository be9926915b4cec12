// The skins of check boxes and radio buttons: the box is a frame of the
// skin's check or radio strip, the caption stands beside it.
//
// A class-library control with a strip to draw from is painted whole by
// the skin; a raw window paints itself and the skin draws only the box over
// it afterwards. A strip that cannot be cut (no frames)
// hands the control back to its own painting for good.
//
// Check strip frames (4): 1 unchecked, 2 checked, 3 unchecked disabled,
// 4 checked disabled or indeterminate; a 12-frame strip has its own places
// for them. Radio strip frames (4): 1 unchecked, 2 checked, 3 and 4 the same
// disabled; an 8-frame strip as the 12-frame check strip. A state whose
// frame the strip lacks falls back to the enabled look, then to frame 1.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

// What check box and radio button skins share: the box, the caption and
// the messages that make them repaint.
class TSkinCheckControl : public TSkinControl {
  QV_CLASS(TSkinCheckControl)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& Message) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  // A skin that lost or regained the strip: the box follows it.
  void SkinChange() override;

  // The frame to show now, counted from 1, at most the strip's frame count.
  virtual int FrameIndex() = 0;

  bool trans = false;

  // Who paints the control; the skin's box is drawn over it in either case.
  enum TCheckKind : int32_t { ckSelfPainted = 0, ckSkinPainted = 1 };

 protected:
  // ckSkinPainted for a class-library control with a strip; trans for Tag
  // 5555 or the skin option xoTransparent.
  void InitCheck(TBitmap* strip);
  virtual TBitmap* Strip() const = 0;
  virtual int FrameCount() const = 0;
  // The radio button's box stands one pixel further in on the right.
  virtual int RightInset() const { return 0; }

 private:
  void DrawCheckCaption(HDC dc, const TRect& textRect, UINT baseFlags);
};

class TSkinCheckBox : public TSkinCheckControl {
  QV_CLASS(TSkinCheckBox)
 public:
  using TSkinCheckControl::TSkinCheckControl;
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  void AfterProc(TMessage& Message) override;
  int FrameIndex() override;

  // wParam + 1 of the last BM_SETCHECK seen (1 unchecked, 2 checked,
  // 3 indeterminate); 0 before any.
  int32_t state = 0;

 protected:
  TBitmap* Strip() const override;
  int FrameCount() const override;
};

class TSkinRadioButton : public TSkinCheckControl {
  QV_CLASS(TSkinRadioButton)
 public:
  using TSkinCheckControl::TSkinCheckControl;
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  int FrameIndex() override;

 protected:
  TBitmap* Strip() const override;
  int FrameCount() const override;
  int RightInset() const override { return 1; }
};

// The nearest frame a strip of N frames has for frame I: a disabled look
// the strip lacks becomes the enabled one, anything else still missing
// frame 1; 0 when the strip has no frames at all.
int AvailableFrame(int I, int N);

}  // namespace qv
