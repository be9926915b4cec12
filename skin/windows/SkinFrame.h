// The frame a skin draws around one window, as it stands between messages:
// the clickable pieces of the frame (TNCObject: caption buttons here, the
// menu bar's buttons in WinSkinMenu.h) and TSkinFrame, the frame's state
// that TWinSkinForm owns. The work (painting, hit-testing, the region) is
// TWinSkinForm's, in WinSkinFrame.cpp.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/win/Graphics.h"
#include "skin/windows/FrameLayout.h"

namespace qv {

class TDataSkinSysButton;
class TSkinData;
class TWinSkinForm;

// A clickable piece of the skinned frame (caption button, menu-bar button),
// in window coordinates. One that goes stops being its window's ActiveBtn.
class TNCObject {
 public:
  TNCObject(TWinSkinForm* sf, TSkinData* sd) : SF(sf), fsd(sd) {}
  virtual ~TNCObject();
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  TWinSkinForm* SF;
  TSkinData* fsd;
  TRect bounds;
  bool visible = false;
  TNCState state = TNCState::Normal;
  bool enabled = true;

  // The mouse's effect on the object's state; an invisible object ignores
  // it. Only one object of a window is hot or pressed (its ActiveBtn).
  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Draw() {}
};

// One caption button and the skin element that draws it.
class TWinSysButton : public TNCObject {
 public:
  using TNCObject::TNCObject;
  TDataSkinSysButton* data = nullptr;
  void Draw() override;
};

// The frame's state. The shape is stored, not gathered: the frame rules
// read it as it is, and the skin keeps it current.
struct TSkinFrame : TFrameShape {
  // The system's caption font, empty pictures, and a single border until
  // the set-up has looked at the window.
  TSkinFrame();

  // ---- caption buttons
  // Declared before the buttons: each lets go of it as it goes.
  TNCObject* ActiveBtn = nullptr;  // the hot or pressed caption or menu-bar button
  std::vector<std::unique_ptr<TWinSysButton>> SysBtn;  // one per button element of the skin, in its order
  int RightBtn = 0;  // the largest XCoord of the shown right-aligned buttons

  // ---- the caption picture
  std::unique_ptr<TFont> CaptionFont;
  std::unique_ptr<TBitmap> CaptionBuf;  // the whole frame is composed on it
  TRect wTr;                            // the window on the screen, as last painted or opened from
  int fwidth = 0, fheight = 0;          // its size when last painted
  TRect ctr;                            // the caption text's rectangle; buttons beside the text go from it
  TRect FTitleRect;                     // where the caption text was drawn

  // ---- the icon picture
  std::unique_ptr<TBitmap> IconBmp;  // the small icon over the key colour
  HICON DefIcon = nullptr;           // the window's icon last asked for
  // The icon IconBmp shows: asked again with an unchanged icon, the picture
  // stands (copying an icon from its resource is slow).
  HICON iconDrawnFrom = nullptr;

  // ---- the region
  bool crop = false;
  // The region the window was given; the system owns it from then on.
  HRGN WinRgn = nullptr;
  int crwidth = 0, crheight = 0;  // the size it was cut for

  // ---- the hint
  int hintcount = 0;  // ms the mouse has stayed on the hot caption button
};

}  // namespace qv
