// The skin of a track bar: the system control asks its parent how to draw
// each part (custom draw), and the skin answers by drawing the channel from
// the skin's TrackBar or TrackBarVert picture (two fixed caps and a
// stretched middle) and the thumb from TrackHorz or TrackVert, leaving only
// the tick marks to the control. The thumb always shows frame 2 of its five.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinTrackBar : public TSkinControl {
  QV_CLASS(TSkinTrackBar)
 public:
  explicit TSkinTrackBar(TComponent* AOwner) : TSkinControl(AOwner) {}

  bool BeforeProc(TMessage& Message) override;
  void SkinChange() override;

  // The answer to one custom-draw request, drawing what it asks for.
  LRESULT CustomDraw(NMCUSTOMDRAW& cd);

 private:
  void DrawThumb(HDC dc);
  void DrawChannel(HDC dc);
};

}  // namespace qv
