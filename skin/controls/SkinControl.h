// The base of every control skin: a component that attaches itself to one
// child window of a skinned form and paints it from the skin. The skinned
// form (TWinSkinForm) lists its control skins; a control skin leaves that
// list when it goes, whoever frees it.
//
// This is the part the skinned window's set-up and tear-down rely on: the
// window, the control, the life state and the two operations the form calls.
// The message plumbing and the painting come with the control skins.
#pragma once
#include <windows.h>

#include "platform/win/Controls.h"
#include "skin/controls/PropByName.h"

namespace qv {

class TSkinData;

class TSkinControl : public TComponent {
  QV_CLASS(TSkinControl)
 public:
  // AOwner: the skinned control, or the skinned form for a raw window.
  explicit TSkinControl(TComponent* AOwner);
  ~TSkinControl() override;

  // Switches message processing off.
  virtual void Unsubclass();
  // Re-applies colours after a skin change.
  virtual void SkinChange();

  bool skinned = true;
  TSkinData* fsd = nullptr;
  HWND hwnd = nullptr;
  TWinControl* control = nullptr;
  // 6 once the skinned window is destroyed.
  int32_t skinstate = 0;
  // The TWinSkinForm that lists this skin.
  TComponent* skinform = nullptr;
};

}  // namespace qv
