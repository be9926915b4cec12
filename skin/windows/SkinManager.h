// The skin manager: the one object of the process that decides which
// top-level windows and popup-menu windows are skinned. It learns of new
// windows through a WH_CBT hook on the user-interface thread (and, on
// request, on further threads), keeps the skinned windows, the popup-menu
// skins and the registered skin components, and carries out skin-wide
// actions later, from its timer, so that a property change of a skin
// component never re-skins windows inside the caller's own message handling.
//
// Lifetimes are deterministic rather than probed: a skinned window or popup
// skin that is freed by anyone leaves the lists itself, and a skin component
// that goes takes its windows' skins with it, so no list ever holds a freed
// object.
#pragma once
#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/UString.h"
#include "skin/data/SkinPlatform.h"

namespace qv {

class TBitmap;
class TCustomForm;
class TSkinData;
class TTimer;
class TWinControl;
class TWinSkinForm;
class TWinSkinPopMenu;

// What SetAction schedules; the numbers are the codes programs pass. Any
// other code does nothing but tell the skin component it ran.
enum class TSkinAction : unsigned {
  SkinAll = 1,      // skinning on, every visible form skinned
  UnskinAll = 2,    // skinning off, every skin taken off its window
  SkinChanged = 3,  // the windows skinned with the component take up its new skin
  PurgeDead = 6,    // the skins of destroyed windows freed
  Reskin = 7,       // the window lpara skinned afresh
};

// The manager's own life.
enum class TManagerState : int32_t {
  Idle = 0,        // nothing activated yet: actions 1 and 2 only switch skinning on or off
  Running = 1,     // a window was activated or skinned
  Destroying = 4,  // going: the lists are left alone
};

// The kind of the menu about to open, which says whether its popup window
// is skinned.
enum class TMenuType : int32_t {
  Popup = 0,    // a popup menu of the program (xcPopupMenu)
  MenuBar = 1,  // a drop-down of a menu bar (xcMainMenu or xcMenuItem)
  System = 2,   // a system menu (xcSystemMenu)
};

struct TSkinThread {
  HHOOK hook = nullptr;
  DWORD ThreadID = 0;
};

class TSkinManage {
 public:
  explicit TSkinManage(int amode);
  // Unskins every window, frees the popup skins and removes every hook.
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // ---- hooks
  // The CBT hook of the calling (user-interface) thread.
  void InstallHook();
  // A CBT hook on a further thread, once per thread.
  void InstallThread(DWORD aThreadID);
  void UnInstallThread(DWORD aThreadID);

  // ---- skin components (not owned)
  // The first registered component of type sfMainform becomes MainData.
  void AddSkinData(TSkinData* adata);
  // Also clears MainData and UpdateData when they were adata, and takes the
  // skins drawn with adata off their windows.
  void RemoveSkinData(TSkinData* adata);
  // The component that skins w (see the .cpp for the order of the rules).
  TSkinData* FindSkinData(HWND w);

  // ---- skinned windows
  // Creates a skin for w when every acceptance test passes; false, with
  // nothing changed, otherwise.
  bool AddForm(HWND w);
  bool CanSkinWindow(HWND w, const String& className);
  // A skin that still serves its window (skins of destroyed windows are
  // waiting for the purge and own nothing).
  TWinSkinForm* FindForm(HWND w);
  // Every skin that still serves its window, in list order; only those of
  // w when w is given.
  std::vector<TWinSkinForm*> FormsOf(HWND w);
  // The skin of w when it has a form object: unskinned and freed (true).
  bool DeleteForm(HWND w);
  // Only takes sf off the list; the skin's destructor calls it.
  void DeleteForm2(TWinSkinForm* sf);
  // Frees every skin whose window was destroyed.
  void DeleteForm3();
  // Frees the skins of destroyed windows made by this manager's mode.
  void PurgeForms();
  // Frees the caption buttons of the windows skinned with UpdateData.
  void DeleteSysbtn();
  // Every window skinned with d takes up d's skin as it is now: caption
  // buttons and border widths first (for all of them), then the rest.
  void ApplySkin(TSkinData* d);
  void SetMDIMax(bool b);

  // ---- popup-menu skins
  void AddPopMenu(HWND w);
  void DeletePopMenu(HWND w);
  bool HasPopMenu(HWND w);
  // Only takes p off the list; the popup skin's destructor calls it.
  void RemovePopMenu(TWinSkinPopMenu* p);
  void SetPopMenu();
  // The popup skin that painted last while its menu was not yet known; the
  // next SetHMenu completes it (else the newest skin without a menu).
  void SetNewPopMenu(TWinSkinPopMenu* p);
  void SetHMenu(HMENU m);
  // The background of the popup skin showing menu m, or null.
  TBitmap* GetMenuBg(HMENU m);

  // ---- deferred actions
  // Runs action acode once, Interval ms from now; before the first
  // activation (Idle) SkinAll and UnskinAll only switch skinning on or off.
  void SetAction(TSkinAction acode, int Interval);
  // The timer's event.
  void TimerAction();

  std::unique_ptr<TTimer> Timer;
  std::vector<TWinSkinForm*> Flist;     // owned, in order of creation
  std::vector<TWinSkinPopMenu*> Mlist;  // owned
  std::vector<TSkinData*> Dlist;        // not owned
  std::vector<TSkinThread> Threadlist;
  bool active = false;
  bool skinchildform = false;
  TManagerState state = TManagerState::Idle;
  TMenuType menutype = TMenuType::Popup;
  bool menuactive = false;
  bool MDIMax = false;
  bool WMSetDraw = false;
  HWND clienthwnd = nullptr;
  TWinControl* MDIForm = nullptr;
  TSkinAction action = {};
  TSkinData* UpdateData = nullptr;
  TSkinData* MainData = nullptr;
  int mode = 0;
  HWND lpara = nullptr;

 private:
  void AddVisibleForm(TCustomForm* form);
  void UnskinAll();
  void FreePopMenus();
  void UnInstallAllThreads();
  // Takes sf off the list (if there) and frees it.
  void FreeForm(TWinSkinForm* sf);
  std::vector<TWinSkinForm*> FormsSnapshot();
  bool Listed(TWinSkinForm* sf);
  TSkinData* actionData_ = nullptr;  // the component of the running action
  TWinSkinPopMenu* newPopMenu_ = nullptr;  // listed, still without a menu

  // The lists are also changed by the hooks of further threads.
  std::recursive_mutex lists_;
};

// The one manager, or null; the manager's module frees it at its end.
extern TSkinManage* SkinManager;
// The manager, created when there is none.
TSkinManage& SkinManagerNeeded();

// Module state. The window-property atom of the class library's controls is
// ControlAtom() (platform/win/Messages.h), added at the module's start.
extern HHOOK SkinHook;
extern bool SkinDestroyed;
// GetVersion as InstallHook stored it; bit 31 set on Windows 9x.
extern DWORD SkinWinVersion;

// Makes sure the manager's module has started (and so ends after its
// caller's module, which the skinned-window module relies on).
void SkinManagerModuleNeeded();

}  // namespace qv
