#include "skin/controls/SkinMP.h"

#include "platform/core/TypInfo.h"
#include "skin/controls/WMediaPlayer.h"

namespace qv {

const TClassInfo& TSkinMP::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinMP>(u"TSkinMP", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinMP::~TSkinMP() { FreeOverlay(); }

void TSkinMP::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == mp) mp = nullptr;
}

void TSkinMP::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  MakeOverlay();
}

void TSkinMP::MakeOverlay() {
  if (!control || mp) return;
  // Owned by the skinned form, as the scroll-bar overlays are; this skin
  // frees it first whenever it goes.
  mp = new TWMediaPlayer(skinform);
  mp->FreeNotification(this);
  mp->Attach(this, control);
  mp->SetVisible(control->Visible());
}

void TSkinMP::WindowRecreated() {
  FreeOverlay();
  MakeOverlay();
}

void TSkinMP::FreeOverlay() {
  TWMediaPlayer* overlay = mp;
  mp = nullptr;
  delete overlay;
}

void TSkinMP::Unsubclass() {
  TSkinControl::Unsubclass();
  // Also when the window is gone: a player destroyed must not leave a
  // picture of its old buttons behind.
  FreeOverlay();
}

void TSkinMP::FollowPlayer() {
  if (!mp || !control) return;
  mp->SetPosition(control);
  // The player's own visibility, not its form's: a player moved while its
  // form is hidden must have its overlay back when the form shows again.
  // A player window hidden behind the class library's back hides it too.
  const bool shown =
      control->Visible() && (!control->HandleAllocated() || (GetWndLong(control->Handle(), GWL_STYLE) & WS_VISIBLE));
  mp->SetVisible(shown);
}

void TSkinMP::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      FollowPlayer();
      break;
    case CM_VISIBLECHANGED:
      if (mp && control) mp->SetVisible(control->Visible());
      break;
    case WM_PAINT:
    case CM_ENABLEDCHANGED:
      // The player repaints when its buttons change.
      if (mp) mp->Invalidate();
      break;
    default:
      TSkinControl::AfterProc(Message);
  }
}

}  // namespace qv
