// The skin of speed buttons: graphic controls without a window, painted on
// their parent. The skin goes in front of the control's WindowProc, paints
// on WM_PAINT with the parent's DC (its origin on the control) and on every
// change of look straight onto the parent's window. Frames as for the
// bitmap button, without a focus look; a Down button shows the pressed
// frame and glyph frame 4; a flat button shows the button face only while
// hot, pressed or down.
//
// A drawing request that arrives while the button draws (the parent's
// background painting the button again) is dropped. Freeing, hiding or
// moving the button from its own click or while it paints leaves nothing
// of it touched afterwards.
#pragma once
#include "skin/controls/SkinBitButton.h"

namespace qv {

class TSkinSpeedButton : public TSkinBitButton {
  QV_CLASS(TSkinSpeedButton)
 public:
  // AOwner: the graphic control.
  explicit TSkinSpeedButton(TComponent* AOwner);
  ~TSkinSpeedButton() override;

  void InitGraphicControl(TComponent* sf, TSkinData* sd, TCanvas* acanvas);
  bool BeforeProc(TMessage& Message) override;
  void AfterProc(TMessage& Message) override;
  // Draws at once on the parent's window (adc is not used).
  void PaintControl(HDC adc) override;
  // WParam: a DC whose origin is the control's top-left; 0 draws nothing.
  void WMPaintSpeed(TMessage& Message);
  void DrawSpeedbtn(HDC dc, const TRect& rect);
  void DrawPicFieldSpeedbtn(HDC dc, const TRect& rect);

  bool FReentr = false;
  // The picture property this skin draws (the bitmap button's is not read).
  String PicField;

 private:
  void Draw(HDC dc, const TRect& rect, bool picture);
};

}  // namespace qv
