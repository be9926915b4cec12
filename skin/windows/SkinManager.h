// The skin manager: the one object of the process that decides which
// windows are skinned. This is its first, smallest form: it is created by the
// skin component, keeps the registered components, installs the CBT hooks
// (which for now only pass every event on) and runs scheduled actions from
// its timer. Skinning windows themselves (AddForm's tests, the skinned-window
// and popup-menu lists, actions 1 to 7 on windows) comes with the skinned
// windows.
#pragma once
#include <windows.h>

#include <vector>

namespace qv {

class TSkinData;

struct TSkinThread {
  HHOOK hook = nullptr;
  DWORD ThreadID = 0;
};

class TSkinManage {
 public:
  explicit TSkinManage(int amode);
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // The CBT hook of the calling (user-interface) thread.
  void InstallHook();
  void InstallThread(DWORD aThreadID);
  void UnInstallThread(DWORD aThreadID);
  // The first registered component of type sfMainform becomes MainData;
  // removing a component also clears MainData when it was that one.
  void AddSkinData(TSkinData* adata);
  void RemoveSkinData(TSkinData* adata);
  // Runs action acode once, Interval ms from now; before the first
  // activation (state 0) only records whether skinning is on.
  void SetAction(unsigned acode, int Interval);
  // Whether a skin was created for the window: none yet (see above).
  bool AddForm(HWND w);
  // Frees the caption buttons of the windows skinned by UpdateData.
  void DeleteSysbtn();

  std::vector<TSkinData*> Dlist;  // not owned
  std::vector<TSkinThread> Threadlist;
  bool active = false;
  bool skinchildform = false;
  int state = 0;  // 0 idle, 1 running, 4 destroying
  int menutype = 0;
  bool menuactive = false;
  bool MDIMax = false;
  bool WMSetDraw = false;
  unsigned action = 0;
  TSkinData* UpdateData = nullptr;
  TSkinData* MainData = nullptr;
  int mode = 0;
  HWND lpara = nullptr;
  int TimerInterval() const { return interval_; }
  bool TimerEnabled() const { return timer_ != 0; }

  // The timer's event: runs the scheduled action.
  void TimerAction();

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void StopTimer();
  UINT_PTR timer_ = 0;
  int interval_ = 100;
};

// The one manager, or null; the manager's module frees it at the end.
extern TSkinManage* SkinManager;
// The manager, created when there is none.
TSkinManage& SkinManagerNeeded();

// Module state set once at start-up.
extern HHOOK SkinHook;
extern bool SkinDestroyed;
extern HINSTANCE SkinInstance;
extern bool IsWinNT;
extern bool NotWin6;
extern UINT SkinCodePage;
extern DWORD SkinWinVersion;

}  // namespace qv
