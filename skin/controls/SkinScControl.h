// A standalone scroll-bar control under one overlay that covers it whole
// and works out the thumb from the control's scroll information.
#pragma once
#include <windows.h>

#include "skin/controls/SkinControl.h"

namespace qv {

class TWScrollbar;

class TSkinScControl : public TSkinControl {
  QV_CLASS(TSkinScControl)
 public:
  explicit TSkinScControl(TComponent* AOwner);
  ~TSkinScControl() override;

  // Hooks acontrol (normally the owner; it becomes the owner otherwise) and
  // places the overlay; the control's hint shows over the overlay.
  void InitScrollbar(TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf);

  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  void Unsubclass() override;

  TWScrollbar* sb = nullptr;  // owned

 private:
  void FreeBar();
};

}  // namespace qv
