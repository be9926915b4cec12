// The combo box skin: the skin's border and drop-down button painted over
// the control after it painted itself, the button hot while the mouse is
// over it and pressed while the left button is down, and skinned scroll
// bars on the control's list (TComboxScrollBar on a drop-down list,
// TSkinScrollbarH on a simple combo box's list). For class-library combo
// boxes (Init) and raw "combobox" windows (Inithwnd); with HasButton the
// control draws its own button (in its first child window for old,
// non-Unicode windows, else where the system places the button), which the
// skin covers with the skin's combo arrow.
//
// Frames of the combo images: 1 normal, 2 pressed, 3 disabled, 4 hot or
// focused.
#pragma once
#include <windows.h>

#include "platform/win/ObjectInstance.h"
#include "skin/controls/SkinControl.h"

namespace qv {

class TComboxScrollBar;
class TSkinScrollbarH;

class TSkinComBox : public TSkinControl {
  QV_CLASS(TSkinComBox)
 public:
  explicit TSkinComBox(TComponent* AOwner);
  ~TSkinComBox() override;

  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) override;
  void Unsubclass() override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  // A list skin freed by someone else (its window's skinned form freeing
  // what is listed there) is forgotten here.
  void Notification(TComponent* component, TOperation operation) override;
  // The new window's edit part and list (a new style may bring others).
  void WindowRecreated() override;

  DWORD dwStyle = 0;
  DWORD ExStyle = 0;
  HWND hlist = nullptr;
  HWND hbtn = nullptr;
  void* FBtnObjectInst = nullptr;
  WNDPROC FBtnPrevWndProc = nullptr;
  // The lists' scroll-bar skins: owned (as components) by this skin, and
  // listed by the skinned form like every control skin.
  TSkinScrollbarH* vb = nullptr;
  TComboxScrollBar* db = nullptr;
  COMBOBOXINFO info{};
  TRect rBtn;
  bool HasButton = false;

 private:
  // info filled by the system; false without the function or on failure.
  bool ReadComboInfo();
  // The lists' scroll-bar skins; raw: true for a raw window.
  void AttachListSkins(TComponent* sf, bool raw);
  void SubclassChild();
  void UnsubclassChild();
  void ChildProc(TMessage& Message);
  // The left button's press (on the box or its child) shown on the button;
  // false for other messages.
  bool FollowPress(UINT msg);
  void FreeListSkins();
  void DrawFlat(HDC dc, const TRect& rc);
  void DrawWithButton(HDC dc, const TRect& R, int frame);
  int Frame(bool flat) const;

  TWndSubclass childSubclass_;
};

}  // namespace qv
