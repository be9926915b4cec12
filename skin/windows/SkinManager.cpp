#include "skin/windows/SkinManager.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"

namespace qv {

TSkinManage* SkinManager = nullptr;
HHOOK SkinHook = nullptr;
bool SkinDestroyed = false;
HINSTANCE SkinInstance = GetModuleHandleW(nullptr);
bool IsWinNT = GetVersion() < 0x80000000u;
bool NotWin6 = LOBYTE(LOWORD(GetVersion())) != 6;
UINT SkinCodePage = CP_ACP;
DWORD SkinWinVersion = 0;

namespace {

LRESULT CALLBACK CBTHookProc(int code, WPARAM wparam, LPARAM lparam) {
  return CallNextHookEx(SkinHook, code, wparam, lparam);
}

LRESULT CALLBACK ThreadCBTHookProc(int code, WPARAM wparam, LPARAM lparam) {
  return CallNextHookEx(SkinHook, code, wparam, lparam);
}

// The end of the manager's module: unhook and free the manager.
struct ManagerUnit {
  ~ManagerUnit() {
    delete SkinManager;
    SkinManager = nullptr;
  }
} managerUnit;

}  // namespace

TSkinManage& SkinManagerNeeded() {
  if (!SkinManager) SkinManager = new TSkinManage(0);
  return *SkinManager;
}

TSkinManage::TSkinManage(int amode) : mode(amode) {}

TSkinManage::~TSkinManage() {
  state = 4;
  active = false;
  StopTimer();
  for (const TSkinThread& t : Threadlist)
    if (t.hook) UnhookWindowsHookEx(t.hook);
  Threadlist.clear();
  Dlist.clear();
  if (SkinHook) {
    UnhookWindowsHookEx(SkinHook);
    SkinHook = nullptr;
  }
  SkinDestroyed = true;
  if (SkinManager == this) SkinManager = nullptr;
}

void TSkinManage::InstallHook() {
  SkinWinVersion = GetVersion();
  if (SkinHook) return;
  SkinHook = SetWindowsHookExW(WH_CBT, CBTHookProc, nullptr, GetCurrentThreadId());
}

void TSkinManage::InstallThread(DWORD aThreadID) {
  for (const TSkinThread& t : Threadlist)
    if (t.ThreadID == aThreadID) return;
  TSkinThread t;
  t.ThreadID = aThreadID;
  t.hook = SetWindowsHookExW(WH_CBT, ThreadCBTHookProc, nullptr, aThreadID);
  Threadlist.push_back(t);
}

void TSkinManage::UnInstallThread(DWORD aThreadID) {
  auto it = std::find_if(Threadlist.begin(), Threadlist.end(), [&](const TSkinThread& t) { return t.ThreadID == aThreadID; });
  if (it == Threadlist.end()) return;
  if (it->hook) UnhookWindowsHookEx(it->hook);
  Threadlist.erase(it);
}

void TSkinManage::AddSkinData(TSkinData* adata) {
  Dlist.push_back(adata);
  if (!MainData && adata->SkinFormtype() == sfMainform) MainData = adata;
}

void TSkinManage::RemoveSkinData(TSkinData* adata) {
  auto it = std::find(Dlist.begin(), Dlist.end(), adata);
  if (it != Dlist.end()) Dlist.erase(it);
  // A freed component must not stay the main skin that later checks read.
  if (MainData == adata) MainData = nullptr;
  if (UpdateData == adata) UpdateData = nullptr;
}

void TSkinManage::SetAction(unsigned acode, int Interval) {
  action = acode;
  interval_ = Interval;
  if (state == 0) {
    if (acode == 1) active = true;
    if (acode == 2) active = false;
    return;
  }
  StopTimer();
  timer_ = SetTimer(nullptr, 0, static_cast<UINT>(Interval), TimerProc);
}

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  if (SkinManager && SkinManager->timer_ == id) SkinManager->TimerAction();
  else KillTimer(nullptr, id);
}

void TSkinManage::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
}

void TSkinManage::TimerAction() {
  StopTimer();
  TSkinData* d = UpdateData;
  if (!d) return;
  if (action == 7) return;
  if (action == 1) active = true;
  if (action == 2) active = false;
  d->DoSkinChanged();
  UpdateData = nullptr;
}

bool TSkinManage::AddForm(HWND) { return false; }

void TSkinManage::DeleteSysbtn() {}

}  // namespace qv
