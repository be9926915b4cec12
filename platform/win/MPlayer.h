// The media player control: a row of nine transport buttons (play, pause,
// stop, next, previous, step, back, record, eject) over a player that keeps
// a mode and a position. It plays no media; it behaves as a player does:
// each button moves the mode or the position, and with AutoEnable the
// buttons that make sense in the current mode are the enabled ones.
#pragma once
#include <initializer_list>

#include "platform/win/Controls.h"

namespace qv {

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr int kMPButtonCount = 9;
// A set of TMPBtnType: bit b for button b.
using TButtonSet = uint32_t;
inline constexpr TButtonSet kAllMPButtons = (1u << kMPButtonCount) - 1;
constexpr TButtonSet MPButtons(std::initializer_list<TMPBtnType> buttons) {
  TButtonSet s = 0;
  for (TMPBtnType b : buttons) s |= 1u << b;
  return s;
}
extern const TEnumInfo kMPBtnTypeInfo;

enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// DoDefault false keeps the player from acting on the button.
using TEMPNotifyEvent = std::function<void(TObject* sender, TMPBtnType button, bool& DoDefault)>;

class TMediaPlayer : public TCustomControl {
  QV_CLASS(TMediaPlayer)
 public:
  explicit TMediaPlayer(TComponent* owner);

  TButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TButtonSet v);
  TButtonSet EnabledButtons() const { return enabledButtons_; }
  void SetEnabledButtons(TButtonSet v);
  TButtonSet ColoredButtons() const { return colored_; }
  void SetColoredButtons(TButtonSet v);
  // The enabled buttons follow the mode.
  bool AutoEnable() const { return autoEnable_; }
  void SetAutoEnable(bool v);

  TMPModes Mode() const { return mode_; }
  int Position() const { return position_; }
  void SetPosition(int v);
  // Frames of the loaded medium.
  int Length() const { return length_; }
  void SetLength(int v);

  // Loads the medium: stopped at position 0.
  void Open();
  void Close();
  void Play();
  void Pause();
  void Stop();
  void Next();
  void Previous();
  void Step();
  void Back();
  void StartRecording();
  void Eject();

  // The visible button at client x, or -1.
  int ButtonAt(int x) const;
  // Raises OnClick for the button, then acts on it unless told not to.
  void ClickButton(TMPBtnType button);

  TEMPNotifyEvent OnClick;

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  void SetMode(TMPModes mode);
  void DrawButton(HDC dc, const RECT& cell, TMPBtnType button, bool enabled, bool pressed);
  TButtonSet visible_ = kAllMPButtons;
  TButtonSet enabledButtons_ = 0;
  TButtonSet colored_ = kAllMPButtons;
  bool autoEnable_ = true;
  TMPModes mode_ = mpNotReady;
  int position_ = 0;
  int length_ = 100;
  int pressed_ = -1;
};

// The buttons that act in a mode.
TButtonSet MPButtonsForMode(TMPModes mode);

}  // namespace qv
