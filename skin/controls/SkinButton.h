// The skin of push buttons: class-library buttons and raw "button" or
// "tbutton" windows. The whole button is composed from the skin's button
// strip in an off-screen bitmap and copied in one blit.
//
// Frames of the strip: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused or
// default. The native button never sees a mouse press: the pressed look and
// the click come from the skin (one click per press and release over the
// button). The space key is left to the button itself, which clicks on its
// own; the skin only mirrors the pressed look.
#pragma once
#include <memory>

#include "skin/controls/SkinControl.h"

namespace qv {

class TDataSkinButton;

// The caption colour of frame: start, then the element's colours where it
// sets them (normal only in frame 1 unless normalAlways), shadow when
// disabled.
TColor ButtonCaptionColor(TColor start, const TDataSkinButton& skin, int frame, bool enabled, bool normalAlways);

class TSkinButton : public TSkinControl {
  QV_CLASS(TSkinButton)
 public:
  explicit TSkinButton(TComponent* AOwner);
  ~TSkinButton() override;

  // Buttons of classes named "trz…" or "tel…" take their mouse-down
  // themselves; the skin forwards it to every other button.
  enum TButtonKind : int32_t { bkForwardMouseDown = 0, bkOwnMouseDown = 1 };

  // The kind from the class name; transparent for Tag 5555 or the skin
  // option xoTransparent.
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  bool BeforeProc(TMessage& Message) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  // caption in the font and text colour selected in the canvas's DC; the
  // first "||" becomes a line break. alignment 1 (DT_CENTER) centres,
  // others keep R's left and right edges.
  void DrawButtonCaption(TCanvas& acanvas, const TRect& R, UINT alignment);
  // The frame for the current look: later rules win (disabled over
  // pressed over hot over focused or default).
  int FrameIndex(bool isDefault) const;
  // The skin's button element when it has a picture to draw, else null:
  // then the button paints itself rather than stand blank.
  TDataSkinButton* ButtonPicture() const;

  std::unique_ptr<TBitmap> btemp;
  bool MultiLine = false;
  bool trans = false;
  bool redraw = false;
  bool isdefault = false;

 private:
  void Click();
};

// text with its first occurrence of old replaced (unchanged without one).
String ReplaceFirst(StringView text, StringView old, StringView replacement);

}  // namespace qv
