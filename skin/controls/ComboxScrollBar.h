// The vertical scroll bar of a combo box's drop-down list. The list is a
// popup that comes and goes, so no overlay window covers it: the bar is
// painted straight into the list's window DC after the list painted its
// frame, and a press on the thumb is dragged here rather than by the
// system, so that the native thumb never shows through while it moves.
#pragma once
#include <windows.h>

#include "platform/core/Bitmap.h"
#include "skin/controls/SkinControl.h"

namespace qv {

class TComboxScrollBar : public TSkinControl {
  QV_CLASS(TComboxScrollBar)
 public:
  explicit TComboxScrollBar(TComponent* AOwner);

  bool BeforeProc(TMessage& Message) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;

  // The list's vertical bar into dc, a DC of the whole list window.
  void DrawScrollBar(HDC dc);
  // A press on the list's thumb (WM_NCLBUTTONDOWN) dragged until the button
  // is released, the capture is lost, the list goes or the application
  // quits; false leaves the press to the system.
  bool TrackThumb(const TMessage& Message);

  int32_t cw = 0;
  int32_t thumbtop = 0;
  int32_t thumbBottom = 0;

 private:
  // Where each paint composes, kept from paint to paint.
  TBitmap buffer;
};

}  // namespace qv
