// The overlay over a skinned media player. The player draws its own buttons
// where a control skin cannot reach them reliably, so a panel of ours lies
// exactly over it and draws the visible buttons from the skin's button
// picture with the player button glyphs (our own bitmap resources
// EN_MPPLAY .. CL_MPEJECT: enabled, disabled and coloured looks; olive
// 0x008080 is see-through). A press on the overlay goes to the player; the
// release only when it comes over the button that was pressed, so the
// player clicks exactly that button once. A disabled player, and each
// button its EnabledButtons leave out, is drawn disabled and takes no press.
//
// The overlay carries the skin component's DisableTag, so nothing skins it.
// Its control skin (TSkinMP) places, shows, hides and frees it with the
// player.
#pragma once
#include <array>
#include <memory>

#include "platform/core/Bitmap.h"
#include "platform/core/LifeFlag.h"
#include "platform/win/Controls.h"
#include "platform/win/MPlayer.h"

namespace qv {

class TSkinControl;
class TSkinData;

inline constexpr int kNoMPButton = 9;

struct TMPButtonLook {
  bool visible = false;
  bool enabled = false;
  bool colored = false;
  // 0 enabled, 1 disabled, 2 coloured.
  std::array<std::unique_ptr<TBitmap>, 3> glyph;
};

class TWMediaPlayer : public TCustomPanel {
  QV_CLASS(TWMediaPlayer)
 public:
  explicit TWMediaPlayer(TComponent* AOwner);
  ~TWMediaPlayer() override;

  void Attach(TSkinControl* askin, TWinControl* aObj);
  // Over aObj: its size and place, and just above it among its siblings.
  void SetPosition(TWinControl* aObj);
  // The visible button at overlay x (BtnFocuse), kNoMPButton for none.
  int HitTest(int x);
  // Reads the player's button sets into Buttons and count.
  void ReadButtons();

  void Notification(TComponent* component, TOperation operation) override;

  std::array<TMPButtonLook, kMPButtonCount> Buttons;
  int count = 0;
  TSkinData* fsd = nullptr;
  bool IsDown = false;
  int BtnClick = kNoMPButton;
  int BtnFocuse = kNoMPButton;
  int BtnWidth = 0;
  TWinControl* obj = nullptr;
  TSkinControl* skincontrol = nullptr;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void Paint() override;

 private:
  void DrawButton(HDC dc, const TRect& cell, int b);
  // Whether a press on button b (kNoMPButton: between buttons) goes to the
  // player.
  bool TakesPress(int b) const;
  void LButtonDown(TMessage& message);
  void LButtonUp(TMessage& message);
  TLifeFlag alive_;
};

// The resource name of a glyph: "EN_MPPLAY" .. "CL_MPEJECT".
String MPGlyphName(int look, int button);

}  // namespace qv
