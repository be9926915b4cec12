// Size grips (raw "scrollbar" windows without a tab stop) and the
// backgrounds of raw dialogs placed in a window ("#32770") and of tool bars
// ("toolbarwindow32"): painted in the skin's face colour.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

// The grip is painted over with the face colour after it drew itself.
class TSkinSizer : public TSkinControl {
  QV_CLASS(TSkinSizer)
 public:
  explicit TSkinSizer(TComponent* AOwner) : TSkinControl(AOwner) {}
  void DrawControl(HDC dc, const TRect& rc) override;
};

// The background in the face colour, and the skin's face brush behind the
// static texts. Letting go repaints the window and its children, so they
// take their own colours back.
class TSkinBoxH : public TSkinControl {
  QV_CLASS(TSkinBoxH)
 public:
  explicit TSkinBoxH(TComponent* AOwner) : TSkinControl(AOwner) {}
  bool BeforeProc(TMessage& Message) override;
  void Unsubclass() override;
};

}  // namespace qv
