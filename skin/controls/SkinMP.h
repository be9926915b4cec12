// The skin of a media player: the overlay TWMediaPlayer lies over the
// player and draws its buttons from the skin. The skin keeps the overlay on
// the player: it follows every move, resize and change of visibility,
// repaints whenever the player repaints (its enabled buttons may have
// changed), and goes when the skin is switched off, when the player's
// window is destroyed and when the skin is freed. A re-created player gets
// a new one.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TWMediaPlayer;

class TSkinMP : public TSkinControl {
  QV_CLASS(TSkinMP)
 public:
  explicit TSkinMP(TComponent* AOwner) : TSkinControl(AOwner) {}
  ~TSkinMP() override;

  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  void Unsubclass() override;
  void AfterProc(TMessage& Message) override;
  // A new overlay over the new window.
  void WindowRecreated() override;
  void Notification(TComponent* component, TOperation operation) override;

  TWMediaPlayer* mp = nullptr;

 private:
  void MakeOverlay();
  void FreeOverlay();
  void FollowPlayer();
};

}  // namespace qv
