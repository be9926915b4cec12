// Track bars and progress bars in both directions, the media player, and
// the check boxes and radio button of other control families that draw
// their own glyphs. Track bars and progress bars are skinned by the skin
// component's Skin3rd lines, which this family adds for its classes.
#include "platform/win/ComCtrls.h"
#include "platform/win/GlyphCheckBoxes.h"
#include "platform/win/MPlayer.h"
#include "platform/win/StdCtrls.h"
#include "tools/gallery/Gallery.h"

namespace qv {

void AddBarAndPlayerControls(TForm& form, const TRect& cell) {
  MapControlClass(form, u"TTrackBar=trackbar");
  MapControlClass(form, u"TProgressBar=progress");
  const int x = cell.Left, y = cell.Top;
  Place<TLabel>(form, Bounds(x, y, 200, 16), u"Bars and player");
  auto* track = Place<TTrackBar>(form, Bounds(x, y + 18, 150, 30), u"Horizontal track bar");
  track->SetPosition(3);
  auto* vtrack = Place<TTrackBar>(form, Bounds(x + 158, y + 18, 30, 84), u"Vertical track bar");
  vtrack->SetOrientation(trVertical);
  vtrack->SetPosition(7);
  Place<TProgressBar>(form, Bounds(x, y + 52, 150, 14), u"Horizontal progress bar")->SetPosition(60);
  auto* vbar = Place<TProgressBar>(form, Bounds(x + 196, y + 18, 14, 84), u"Vertical progress bar");
  vbar->SetOrientation(pbVertical);
  vbar->SetPosition(40);
  Place<TRzCheckBox>(form, Bounds(x, y + 70, 150, 17), u"Glyph check box")->SetChecked(true);
  Place<TRzRadioButton>(form, Bounds(x, y + 88, 150, 17), u"Glyph radio button")->SetChecked(true);
  auto* player = Place<TMediaPlayer>(form, Bounds(x, y + 108, 216, 26), u"Media player");
  player->Open();
  player->SetColoredButtons(MPButtons({btPlay, btRecord}));
  Place<TcxCheckBox>(form, Bounds(x, y + 140, 150, 17), u"Properties glyph check box");
}

}  // namespace qv
