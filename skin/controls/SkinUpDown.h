// The skin of an up-down (spin) control: its two arrow buttons drawn from the
// skin's VSpin strip (or HSpin for UDS_HORZ), or plainly when the skin has
// no such picture. Also used for the up-down a skinned edit or tab control
// finds inside itself; inside an edit (inedit) the arrows keep 3 pixels
// off the edit's skinned frame.
//
// Strip frames: 1-4 the first arrow (up or left), 5-8 the second (down or
// right), each group normal, pressed, disabled, hot. The arrow under the
// cursor shows the pressed or hot look; the state is read afresh at each
// paint.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TDataSkinBorder;

class TSkinUpDown : public TSkinControl {
  QV_CLASS(TSkinUpDown)
 public:
  explicit TSkinUpDown(TComponent* AOwner) : TSkinControl(AOwner) {}

  bool BeforeProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;

  // Set by the edit skin that found this up-down inside its edit.
  bool inedit = false;

 private:
  // 1 normal, 2 pressed, 3 disabled, 4 hot, for an arrow the cursor is
  // over or not.
  int ArrowFrame(bool over) const;
  // kind 0 up, 1 down, 2 left, 3 right.
  void DrawArrow(HDC dc, const TRect& r, int kind, int frame);
  void DrawSkinArrow(HDC dc, const TRect& r, TDataSkinBorder& element, int index);
  void DrawPlainArrow(HDC dc, const TRect& r, int kind, int frame);
  // The rectangle the arrows take inside an edit: 3 pixels off the edit's
  // window edges.
  TRect InEditRect(HDC dc, const TRect& rc);
};

}  // namespace qv
