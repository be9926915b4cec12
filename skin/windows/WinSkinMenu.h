// Menus under the skin. TWinSkinMenu takes a skinned window's menu off the
// platform's menu bar (the skin draws the bar in the strip the frame
// reserves for it); TWinSkinPopMenu subclasses one popup-menu window
// ("#32768") while it is shown.
//
// What is here is what skinning and unskinning a window need: the bar takes
// the menu and gives it back, and a popup skin subclasses its window,
// answers SM_QUERYSKINNED and lets go at WM_DESTROY. The bar's buttons and
// painting, the popup frame and background, and the owner-drawn items come
// with the menu painting.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/core/Bitmap.h"
#include "platform/core/Component.h"
#include "platform/win/ObjectInstance.h"

namespace qv {

class TSkinData;
class TWinSkinForm;

class TWinSkinMenu : public TComponent {
  QV_CLASS(TWinSkinMenu)
 public:
  explicit TWinSkinMenu(TComponent* Owner);
  ~TWinSkinMenu() override;

  // Takes the window's menu (hmenu) off the platform's menu bar. A form
  // object's bar follows its main menu, which this class library's forms do
  // not have, so only raw windows lose their bar; an empty menu stays.
  void UpdataBtn();

  std::unique_ptr<TBitmap> bkmap;
  TRect Bar;
  TSkinData* FSD = nullptr;
  TWinSkinForm* SF = nullptr;
  int count = 0;
  bool topmenu = false;
  HMENU hmenu = nullptr;
};

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu();
  // Lets go of the window and leaves the manager's list.
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  void InitSkin(HWND ahwnd, TSkinData* sd, HMENU amenu);
  // Only while subclassed; the previous procedure goes back only while ours
  // is still the window's.
  void UnSubClass();
  void CallPrevWndProc(TMessage& Message);
  void PopMenuWndProc(TMessage& Message);
  bool Subclassed() const { return subclass_.Installed(); }

  bool done = false;
  HWND hwnd = nullptr;
  TSkinData* fsd = nullptr;
  int SelIndex = -1;
  std::unique_ptr<TBitmap> MenuBg;
  HMENU hmenu = nullptr;
  // A clipping region of our own (never handed to the system).
  bool crop = false;
  HRGN clientRgn = nullptr;
  bool ownerdraw = false;

 private:
  TWndSubclass subclass_;
};

}  // namespace qv
