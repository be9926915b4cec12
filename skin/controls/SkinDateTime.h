// The skin of a date-time picker: framed like an edit (two pixels, dark
// outside) with a skinned arrow button laid over the picker's own drop-down
// button. The arrow button is a child window of the picker that shows the
// skin's combo-box arrow and hands a click on it to the picker at the same
// spot, so the picker opens its calendar as if its own button was hit.
#pragma once
#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinDateTime;

class TArrowButton : public TCustomControl {
  QV_CLASS(TArrowButton)
 public:
  // Owned by the date-time skin; no tab stop.
  explicit TArrowButton(TComponent* AOwner);

  // Puts the button into the picker: a child window over the picker's own
  // button (on the left with WS_EX_LEFTSCROLLBAR); the picker clips it out.
  void Attach(TSkinControl* aobj, TWinControl* acontrol);
  // Follows the picker's width; rect is its window rectangle made zero-based.
  void MoveArrow(const TRect& rect);

  int32_t cw = 0;                  // width: a scroll-bar arrow's
  TWinControl* control = nullptr;  // the picker
  TSkinControl* obj = nullptr;     // the skin whose fsd gives the picture
  HWND hwnd = nullptr;             // the picker's window
  uint32_t state = 0;              // kStateHot

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  // The picker keeps its button on the left (WS_EX_LEFTSCROLLBAR).
  bool LeftScroll() const;
};

class TSkinDateTime : public TSkinControl {
  QV_CLASS(TSkinDateTime)
 public:
  explicit TSkinDateTime(TComponent* AOwner) : TSkinControl(AOwner) {}

  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  // The arrow button went with the old window; it goes into the new one.
  void WindowRecreated() override;

  TArrowButton* arrow = nullptr;  // owned
};

}  // namespace qv
