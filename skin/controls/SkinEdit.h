// The skin of an edit box: a flat three-pixel frame, dark outside, drawn
// over the edit's own non-client border after the edit has painted, and the
// skin's look for an up-down (spin) control the edit holds as a child
// window. An edit without a border gets no frame; an up-down that appears
// later is found at the next paint.
//
// SM_PAINTCLIENT (lParam SkinPaintMagic, wParam a DC) has the edit paint
// its client area into that DC and answers SkinPaintMagic.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
  QV_CLASS(TSkinEdit)
 public:
  explicit TSkinEdit(TComponent* AOwner) : TSkinControl(AOwner) {}

  // CM_RECREATEWND: the skin moves over to the control's new window.
  bool BeforeProc(TMessage& Message) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;

  // The skin of the up-down found inside the edit, or null. Owned like the
  // edit's own skin (by the edit control, or the skinned form for a raw
  // edit); cleared when it goes first.
  TSkinUpDown* updown = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void FindUpDown();
  // WM_PRINT: the frame into the printed picture (DC 0: a window DC).
  void PrintFrame(HDC adc);
};

// A one-pixel frame in color around rect (a temporary solid brush).
void FrameColorRect(HDC dc, const TRect& rect, TColor color);
// The client of an edit with a non-client border: the window rectangle
// rc (made zero-based) and the client differ in both width and height.
bool HasNonClientBorder(HWND wnd, const TRect& rc);

}  // namespace qv
