// Menus under the skin. TWinSkinMenu takes a skinned window's menu off the
// platform's menu bar and draws its own bar, one TMenuBtn per top-level
// item, in the strip the frame reserves below the caption; a click on a
// button (or Alt, Alt+letter) opens the item's drop-down with
// TrackPopupMenu while a message-filter hook lets the arrow keys and the
// mouse move on to the neighbouring buttons (WinSkinMenuBar.cpp).
// TWinSkinPopMenu subclasses one popup-menu window ("#32768") while it is
// shown (WinSkinPopMenu.cpp).
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/core/Component.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/ObjectInstance.h"
#include "skin/windows/WinSkinForm.h"

namespace qv {

class TDataSkinObject;
class TMainMenu;
class TMenuItem;
class TSkinData;

// One button of the skinned menu bar. `enabled` (the base's) says whether
// its drop-down opens; bounds are in window coordinates.
class TMenuBtn : public TNCObject {
 public:
  using TNCObject::TNCObject;
  // Repaints the button in its current state on the window.
  void Draw() override;

  TMenuItem* menuitem = nullptr;
  TSkinData* FSD = nullptr;
  int index = 0;
  String caption;  // with its "&" accelerator mark
  HMENU hsubmenu = nullptr;
  int mid = 0;
};

class TWinSkinMenu : public TComponent {
  QV_CLASS(TWinSkinMenu)
 public:
  explicit TWinSkinMenu(TComponent* Owner);
  // Also gives the menu's items their own drawing back.
  ~TWinSkinMenu() override;

  // Rebuilds the buttons from the window's menu, then takes the menu off
  // the platform's bar. A form object's bar follows its main menu.
  void UpdataBtn();
  void UpdataBtn1();
  void UpdataBtn2();
  void UpdataBtn3();
  // Paints the bar into dc at rect (window coordinates) and lays the
  // buttons out; SetMenuRect only lays them out.
  void DrawMenu(HDC dc, const TRect& rect);
  void SetMenuRect();
  // The button with a caption under the window point, or null.
  TMenuBtn* FindBtn(TPoint pt) const;
  void MouseMove() {}
  // True when the bar's items run right to left.
  bool RightToLeft() const;
  // `menu` while it is still the form's main menu (a freed or replaced
  // main menu is never read), else null.
  TMainMenu* LiveMenu() const;
  // Drops every button (ActiveBtn and the tracking state let go of them).
  void FreeButtons();

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  TMainMenu* menu = nullptr;
  TRect Bar;
  TSkinData* FSD = nullptr;
  TWinSkinForm* SF = nullptr;
  std::unique_ptr<TBitmap> bkmap;
  int count = 0;
  bool topmenu = false;
  HMENU hmenu = nullptr;

 private:
  // Widths measured in dc and bounds given inside B (window coordinates).
  void Layout(HDC dc, const TRect& B, bool mdiButtons);
  void AddRawButton(int position);
  bool ButtonsFromMainMenu(bool allVisible);
};

// The drop-down of the bar that is open, one for the whole program.
extern HHOOK MenuFilterHook;
extern TWinSkinForm* MenuTrackForm;
extern int MenuTrackIndex;  // -1 when none is open
extern TMenuItem* MenuTrackItem;
extern bool MenuSwitching;

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
  // The saved procedure erases unless the skin keeps the menu background.
  void EraseMenuBackground(TMessage& Message);
  // WM_NCPAINT of the whole window: MenuBg rebuilt and copied over it; the
  // native frame is never drawn then.
  void PaintMenuFrame(TMessage& Message);
  // WM_PRINT: MenuBg under the saved procedure's picture of the items,
  // which is clipped to inside the frame.
  void PrintMenu(TMessage& Message);

  bool done = false;
  HWND hwnd = nullptr;
  TSkinData* fsd = nullptr;
  int SelIndex = -1;
  std::unique_ptr<TBitmap> MenuBg;
  HMENU hmenu = nullptr;
  // A clipping region of our own (never handed to the system).
  bool crop = false;
  OwnedRegion clientRgn;
  bool ownerdraw = false;

 private:
  // The skin's menu background, or null when it has no usable image.
  TDataSkinObject* MenuBackground() const;
  void BuildMenuBg(TDataSkinObject& element, const TRect& R);
  TWndSubclass subclass_;
};

// A GDI region handle, not WM_NCPAINT's 1 for the whole window.
bool IsRealRegion(WPARAM value);
// Whether a menu frame's DC is clipped to WM_NCPAINT's region (systems
// before NT 5.2, and only for a real region).
bool MenuFrameClipsToRegion(WPARAM region, DWORD version);
// The DC a menu frame is painted into for WM_NCPAINT's wParam: clipped to
// the region on systems before NT 5.2 when it is a real one, else the
// window's DC. Null only when the system gives no DC at all.
HDC MenuFrameDC(HWND w, WPARAM region, DWORD version);

}  // namespace qv
