// The skin of a progress bar, composed off screen and copied in one blit.
// progress.style 0: the skin's progress picture holds an empty and a filled
// bar; the filled one covers the share of the range the position has
// reached. progress.style 1: the empty bar under a row of progresschunk
// pictures. A vertical bar is composed lying down and turned, so it fills
// from the bottom.
//
// A position outside the range fills nothing or everything; a range without
// width, a picture without pixels or frames fills nothing. Without the
// pictures its style needs, the bar is left to paint itself.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinProgress : public TSkinControl {
  QV_CLASS(TSkinProgress)
 public:
  explicit TSkinProgress(TComponent* AOwner) : TSkinControl(AOwner) {}

  bool BeforeProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  // progress.style 1.
  void DrawControl1(HDC dc, const TRect& rc);

 private:
  // The pictures the skin's progress style draws with are there.
  bool HasPictures() const;
};

// The filled part of a bar `width` pixels long at pos in lo..hi, rounded to
// the nearest pixel and kept within 0..width; 0 for a range without width.
int ProgressFill(int width, int pos, int lo, int hi);

}  // namespace qv
