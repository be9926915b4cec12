// The group box skin (the face colour, a rounded frame in the shadow colour
// and the caption on the frame's top line) and the box skin, which only
// gives a container the skin's face colour and puts its own colour back
// when the skin goes.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinGroupBox : public TSkinControl {
  QV_CLASS(TSkinGroupBox)
 public:
  using TSkinControl::TSkinControl;
  // A class-library control is painted whole by the skin; a raw window
  // paints itself.
  enum TGroupKind : int32_t { gkSelfPainted = 0, gkSkinPainted = 1 };
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  bool BeforeProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override { DrawGroupBox(dc, rc); }
  // The frame's top is one pixel above half the height of "0"; the caption
  // 8 pixels in from the left, or from the right with WS_EX_RIGHT.
  void DrawGroupBox(HDC dc, const TRect& R);
  // The height of s in the font selected in dc.
  int TextHeight(HDC dc, StringView s);
};

// Listed with the skinned form like any control skin, but never sees a
// message: no window procedure is replaced.
class TSkinBox : public TSkinControl {
  QV_CLASS(TSkinBox)
 public:
  using TSkinControl::TSkinControl;
  // Freed without Unsubclass (its control going first excepted), the
  // colour goes back all the same.
  ~TSkinBox() override;
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  // The colour back unless the skin state is 4 (the window is going).
  void Unsubclass() override;
  void AfterProc(TMessage&) override {}

 private:
  void RestoreColor();
};

}  // namespace qv
