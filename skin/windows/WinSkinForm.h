// The skin of one top-level window: a form of the class library, an MDI
// child, or a raw window such as a message box or common dialog ("#32770").
// The skin manager creates it and calls InitTform or InitDlg, which analyse
// the window's styles once, subclass its window procedure, replace the
// form's WindowProc, take over its menu bar and build its caption buttons;
// SM_INITSKIN, posted right after, finishes the work (icon, sizes, control
// skins, region, notifications). UnSubclass gives the window back with its
// native size, menu, region, colour and procedures.
//
// Three replacement procedures belong to one skin: the window procedure
// (through a thunk), the form object's WindowProc and, for an MDI frame, the
// MDI client's window procedure. Each is taken out only while it is still
// the current one; otherwise it stays in the chain as a pass-through, so a
// procedure installed after ours never calls into a freed skin.
//
// The skin is the window's one face to the manager, the control skins and
// programs; its state lives in parts it owns: the frame (TSkinFrame,
// SkinFrame.h), the menu bar (TSkinMenuBar, SkinMenuBar.h) and the control
// skins (TSkinControlList, skin/controls/SkinControlList.h).
//
// Where the work goes on: WinSkinForm.cpp (set-up, sizing, tear-down, the
// procedures), WinSkinFrame.cpp (frame painting and region),
// WinSkinControls.cpp (control skins), WinSkinMenuBar.cpp (menu bar),
// WinSkinPopMenu.cpp (popup menus), WinSkinSysMenu.cpp (system menu and
// class-library menus).
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/core/LifeFlag.h"
#include "platform/win/Controls.h"
#include "platform/win/Forms.h"
#include "platform/win/ObjectInstance.h"
#include "platform/win/Timer.h"
#include "skin/controls/SkinControlList.h"
#include "skin/windows/FrameLayout.h"
#include "skin/windows/SkinFrame.h"
#include "skin/windows/SkinMenuBar.h"

namespace qv {

class TDataSkinSysButton;
class TMenuItem;
class TPopupMenu;
class TMenuBtn;
class TSkinControl;
struct TControlSkinStep;
class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;

// Marks a form nested inside a skinned form; no behaviour of its own.
class TWinSkinSpy : public TComponent {
  QV_CLASS(TWinSkinSpy)
 public:
  explicit TWinSkinSpy(TComponent* AOwner) : TComponent(AOwner) {}
  TWinSkinForm* sf = nullptr;
};

class TWinSkinForm : public TComponent, public TControlSkinHost {
  QV_CLASS(TWinSkinForm)
 public:
  // AOwner is the form object, or null for a raw window.
  explicit TWinSkinForm(TComponent* AOwner);
  // Takes every procedure out first when the window is still skinned, then
  // leaves the manager's list.
  ~TWinSkinForm() override;

  // Frees sf now, or once the message its procedures are handling returns
  // (a handler may run a modal loop in which the manager's timer fires).
  static void Free(TWinSkinForm* sf);

  // ---- set-up and tear-down
  // For a window with a form object (any windowed control the class
  // library knows), and for a raw window: only the set-up.
  void InitTform(TSkinData* afsd, TWinControl* aform);
  void InitDlg(TSkinData* afsd);
  // Border widths from the skin and the caption buttons rebuilt.
  void InitSkinData();
  // Re-applies a changed skin; a form's controls without a skin take one.
  void SkinChange();
  // Gives the window back: full, at shut-down and WM_NCDESTROY, and for a
  // window whose frame the skin does not draw.
  void UnSubclass();
  void UnSubclass3();
  void UnSubclass2();
  void DeleteSysbtn();
  // True if already listed; otherwise appends it. A listed skin names this
  // form as its skinform: its destructor, the one way out of the list,
  // takes it out (DeleteControl), whoever frees it.
  bool AddControlList(TSkinControl* acontrol) { return controls.Add(acontrol); }
  void DeleteControl(TSkinControl* acontrol) { controls.Remove(acontrol); }
  // Frees the control skins whose windows are gone.
  void PurgeControls() { controls.Purge(); }
  TSkinControlList& ControlSkins() override { return controls; }
  HWND HostWindow() const override { return Hwnd; }
  static void RePaint(HWND h);
  // Frame changed, nothing else.
  void Refresh();
  // The window's small icon into IconBmp, over the key colour.
  void DrawWindowIcon();
  // Kept for programs that call them; they have no effect.
  void EnableSysbtn() {}
  void SetActive() {}
  void doLog() {}
  bool Subclassed() const { return FWndSubclass.Installed(); }
  // The procedures' answers for the window.
  void* FObjectInst() const { return FWndSubclass.ObjectInstance(); }
  WNDPROC FPrevWndProc() const { return FWndSubclass.PrevWndProc(); }

  // ---- the replacement procedures
  void SkinWndProc(TMessage& Message);
  void CallPrevWndProc(TMessage& Message);
  void FormWindowProc(TMessage& Message);
  void MDIClientWndProc(TMessage& Message);
  void CallMDIClientProc(TMessage& Message);
  void TimerTick(TObject* Sender);

  // ---- frame state and region (WinSkinFrame.cpp)
  // What the pure frame rules read about this window.
  const TFrameShape& FrameShape() const { return frame; }
  // A screen point in window coordinates.
  TPoint ScreenToWindow(TPoint screen) const;
  // DC null: a window DC of its own.
  void PaintNC(HDC dc);
  void PaintCaption(HDC dc, int W, int H);
  // The menu bar's buttons rebuilt from its menu and the bar repainted on
  // the window; nothing without a bar.
  void UpdateMainMenu();
  // Bitmap := the window's size over the skin's face colour, with the left,
  // right and bottom borders and the title (text and caption buttons).
  void getClipMap(TBitmap& Bitmap);
  void DrawCaptionText(HDC dc, const TRect& R);
  void DrawBorder(int index, const TRect& rect, HDC dc);
  void LayoutSysButtons(int W);
  void DrawSysButtons(HDC dc);
  void DrawSysButton(TWinSysButton* button, TNCState state);
  void DrawAppIcon(HDC dc, const TRect& rect);
  bool SysButtonVisible(size_t index);
  TWinSysButton* FindSysButton(TPoint windowPt) const;
  void SysButtonClick(TWinSysButton* button, TPoint screen);
  // An MDI frame's caption buttons act on the active child.
  void ChildSysCommand(WPARAM cmd);
  void RestoreMDI();
  void Maximize();
  void Minimize();
  void Restore();
  void ResetHint();
  void Cropwindow();
  void Uncropwindow();
  void UpdateWindowState();
  void FindMDIClient();
  bool MDIChildMax();
  void SetSysMenuStyle(bool Remove);

  // ---- control skins (WinSkinControls.cpp)
  void InitControls(TWinControl* wForm);
  void InitHwndControls(HWND hwnd);
  void AddControlh(HWND hwnd);
  // A form placed inside a skinned form.
  void InitNestform(TWinControl* wForm);
  // wForm may be null; it is what OnSkinControl is told.
  void AddComp(TControl* Comp, TWinControl* wForm);
  bool IsComponentSkinned(TControl* Comp);
  // The children of a disabled radio or check group are disabled too.
  void PassDisableTag(TControl* Comp);
  void AddComponents(TWinControl* wForm);
  void AddChildControls(TWinControl* container);
  bool SkipTabOrderControl(TWinControl* control);
  void AddBorderedEdit(TControl* Comp);
  // True: Skin3rd decided, the fixed chain is not consulted.
  bool AddSkin3rd(StringView N, TControl* Comp);
  TSkinControl* FindControlSkin(HWND hwnd) { return controls.Find(hwnd); }
  // Carries out a decision's steps in order; a skin of a class not built
  // yet is left out.
  void RunControlSkinPlan(const std::vector<TControlSkinStep>& plan);
  TSkinControl* AttachControlSkin(const TControlSkinStep& step);

  // ---- class-library menus (WinSkinSysMenu.cpp)
  void InitPopMenu(TWinControl* wForm, bool Enable, bool Update);
  void InitMainMenu(TWinControl* wForm, bool Enable);

  // ---- menu items measured and drawn from the skin (WinSkinMenuItem.cpp)
  // OnMeasureItem of main-menu items: the class library's measure, widened
  // for the image cell and the skin's left margin.
  void MeasureItem(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height);
  // OnMeasureItem of popup and system-menu items (already measured).
  void MeasurePopupItem(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height);
  // OnDrawItem of every hooked item: composed off-screen, drawn in one blit.
  void DrawMenuItem(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected);
  // An item of a menu known only by its handle.
  void DrawMenuItemOfHandle(HMENU Menu, TMenuItem* Item, bool Selected, const TRect& ARect, TCanvas& ACanvas);
  // Flat colours, for a skin without a MenuItem element.
  void DrawPlainMenuItem(TMenuItem* Item, TCanvas& ACanvas, bool Selected, const TRect& ARect);
  void DrawMenuItemContent(TMenuItem* Item, TCanvas& ACanvas, bool Selected, const TRect& R);
  // One text call in the skin's colours (R is the measured rectangle when
  // Flags hold DT_CALCRECT), or the etched line of a separator.
  void DrawMenuText(TMenuItem* Item, TCanvas& ACanvas, UINT Flags, bool Selected, TRect& R, const String& Text);
  void DrawMenuSeparator(TCanvas& ACanvas, const TRect& R);
  // The owner-drawn items of the window's menu (WM_DRAWITEM, WM_MEASUREITEM);
  // what is not a menu item of this window goes to the previous procedure.
  void WMDrawItem(TMessage& Message);
  void WMMeasureItem(TMessage& Message);
  // A temporary item with the text and state of a raw menu's entry.
  std::unique_ptr<TMenuItem> MenuItemFromHandle(HMENU Menu, UINT Command);
  void MeasureRawMenuItem(MEASUREITEMSTRUCT& mis);

  // ---- the skinned system menu (WinSkinSysMenu.cpp)
  // sysmenu rebuilt from the native system menu (none without one).
  void BuildSystemMenu();
  // Restore, Maximize, Minimize, a line and Close, as the frame allows.
  void BuildFixedSystemMenu();
  void AddSysMenuitem(const String& caption, int action);
  bool HasCloseItem();
  // Opens the skinned system menu at the screen point, or closes the window
  // when a caption button asks again within the double-click time.
  void PopupSystemMenu(TPoint screen);
  // The skinned system menu, when it is open, ends: its window is going.
  // The platform ends the menu-bar drop-downs itself (they are tracked for
  // the window, the system menu for the popup list).
  void EndOpenMenu();
  void SysMenuItemClick(TObject* Sender);
  void SysMenuCommandClick(TObject* Sender);
  // A right click on the caption; true when handled.
  bool WMNCRButtonDown(TMessage& Message);
  TPoint ClientOriginOnScreen() const;
  void HookSysMenuItem(TMenuItem* item);
  TPopupMenu* sysmenu = nullptr;  // owned as a component

  // ---- the menu bar (WinSkinMenuBar.cpp)
  // Opens the button's drop-down; true when one was tracked.
  bool CheckMenu(TMenuBtn* Button);
  // Posts a click on the button (the drop-down opens once it is handled).
  void ClickButton(TMenuBtn* Button);
  TMenuBtn* FindAccelButton(char16_t Char);
  void SMPopupMenuBar(TMessage& Message);
  // A character the form's own WindowProc left: Alt+letter opens the bar
  // button with that accelerator.
  void CMDialogChar(TMessage& Message);
  void CMMenuChanged(TMessage& Message);
  // Makes the bar of a window that had no menu at set-up; false when it
  // has one already or takes none (child windows, MDI children).
  bool AddMenuBar();
  // WM_SYSCOMMAND's keyboard menu (Alt, Alt+letter); true when consumed.
  bool KeyMenu(TMessage& Message);
  // Non-client mouse messages over a menu-bar button; true when handled.
  bool MenuBarMouse(TMessage& Message);
  void LeaveMenuMode();
  // Every item of menu and its submenus drawn by the skin, texts kept.
  static void SetSubMenusOwnerDraw(HMENU menu);

  // ---- what the set-up found
  TWinControl* FForm = nullptr;  // the form object; null for a raw window
  HWND Hwnd = nullptr;
  TSkinData* fsd = nullptr;
  String formclass;           // the class name the manager was given
  String classname;           // the window's class name
  HWND parenthwnd = nullptr;  // the owner
  HWND ClientHwnd = nullptr;  // an MDI frame's MDI client
  DWORD dwstyle = 0;          // the window's style, as last read
  bool sMainMenu = false;     // the skin draws the frame and the menu bar
  bool isunicode = false;
  TColor formcolor = 0;  // the form's colour before the skin's
  TRect fClientRect;     // the client area the first sizing keeps
  TRect oldsize;         // (0, 0, native non-client width, native non-client height)
  int mode = 0;          // the manager's mode

  // ---- the skin's life
  TSkinFormState Skinstate = TSkinFormState::New;
  bool FActive = false;     // SM_INITSKIN has run
  TTimer* timer = nullptr;  // owned as a component; hover and hints, while active

  // ---- the system menu and a message box's caption
  HMENU hsysmenu = nullptr;  // the window's native system menu
  DWORD poptime = 0;         // when the skinned system menu last opened
  int DoubleTime = 0;
  String caption;     // a message box's text, measured at its first sizing
  int charwidth = 0;  // its width in the caption font

  // ---- the parts
  // The frame: its shape, caption buttons, pictures, region and hint.
  TSkinFrame frame;
  // The menu bar: the skinned bar, the native menu, the open drop-down.
  TSkinMenuBar menuBar;
  // The control skins: Controllist and the hot Activeskincontrol.
  TSkinControlList controls{this};
  std::unique_ptr<TCanvas> fcanvas2;  // the control skins draw on it

  // ---- Kept for programs that read them; the skin itself never does (those
  // it writes stay current).
  bool done = false, done2 = false;
  bool FOverrideOwnerDraw = false;
  String bstr, astr;
  bool hassysbtn = false;
  int msglock = 0;
  int Iconx = 0;
  int BtnCount = 0;
  bool Creating = false, fSizeable = false, fMaxable = false, fminable = false, ischildform = false;
  String backstr;
  HWND NewChildHwnd = nullptr;
  HMENU tempmenu = nullptr;
  std::unique_ptr<TCanvas> fCanvas;

 private:
  void SetUp(TSkinData* afsd);
  void FinishSkin();
  void FirstSizing(bool keep);
  void AfterSkin();
  // Unsubclasses (when asked) and frees every control skin, one at a time
  // from the live list: a skin frees the skins it owns with it (a combo
  // box's list skin), so no copy of the list may outlive a single step.
  void FreeControls(bool unsubclass) { controls.Free(unsubclass); }
  void RestoreFormWindowProc();
  void RestoreMDIClientProc();
  void RestoreWindowProc();
  void FreeMenuBar(bool restoreNativeMenu);
  // The frame of a W x H window composed off-screen, for PaintNC (as the
  // window shows it: a minimised one only its caption over the face colour,
  // another its borders, caption and menu strip) or for getClipMap; the
  // DC holds the picture (WinSkinFrame.cpp).
  HDC ComposeFrame(int W, int H, bool clipMap);
  // The menu strip of the frame: the face colour, and the bar over it.
  void DrawMenuStrip(HDC dc, const TRect& strip);
  // The skin takes the frame's messages: once finished, and never for a
  // maximised MDI child, which keeps the platform's frame.
  bool TakesFrameMessages() const;
  // The frame's messages (WinSkinFrame.cpp); true when handled.
  bool FrameMessage(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCActivate(TMessage& Message);
  bool WMNCPaint(TMessage& Message);
  // The non-client mouse messages: over a caption button, the menu bar or
  // the rest of the frame.
  bool WMNCMouse(TMessage& Message);
  bool WMNCMouseMove(TMessage& Message, TWinSysButton* button);
  bool WMNCLButtonDown(TMessage& Message, TWinSysButton* button, TPoint screen);
  bool WMNCLButtonUp(TMessage& Message, TWinSysButton* button, TPoint screen);
  bool WMNCLButtonDblClk(TMessage& Message, TWinSysButton* button);
  // The window's own messages the skin takes part in (WinSkinForm.cpp).
  void WMSize(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  // A new title, passed on (through passOn) with the platform's caption
  // kept off the skin's frame, which then shows it.
  void WMSetText(TMessage& Message, void (TWinSkinForm::*passOn)(TMessage&));
  // The form object's previous WindowProc (OldWndProc).
  void CallOldWndProc(TMessage& Message);
  // The previous procedure; false when the skin went meanwhile (its form
  // freed inside the message), after which no member may be touched.
  bool PassOn(TMessage& Message);
  // SM_CONTROLRECREATED: the scroll-bar skin of a control whose window was
  // made anew is replaced by a fresh one.
  void ControlRecreated(HWND old);
  // Running procedure calls; a skin freed meanwhile goes when they return.
  struct CallScope;
  int calls_ = 0;
  bool freePending_ = false;
  TLifeFlag alive_;

  TWndSubclass FWndSubclass;
  TWndSubclass FMDISubclass;
  // FormWindowProc in front of the form object's WindowProc (OldWndProc).
  TWindowProcHook formProcHook_;
  // The first sizing gave the window the skin's size, which unskinning
  // takes back.
  bool resized_ = false;
  // The last first sizing got a smaller window than it asked for (borders
  // larger than the screen): fClientRect holds the client to give back.
  bool squeezed_ = false;
  // Shown with the platform's frame, the window paints nothing until the
  // skin's first sizing repaints it all anyway: what it would paint before
  // is held back and asked for again (ReleaseFirstPaint) once the skin is
  // finished or taken off.
  void HoldFirstPaint();
  void ReleaseFirstPaint();
  bool paintHeld_ = false;
  // The skinned system menu is being tracked (PopupSystemMenu).
  bool sysMenuOpen_ = false;
};

// A windowed control with a scroll bar style, or a memo (whose bars come and
// go with its text).
bool IsScrollControl(TControl* control);

}  // namespace qv
