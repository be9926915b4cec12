#include "skin/windows/SkinManager.h"

#include <algorithm>
#include <utility>

#include "platform/core/Format.h"
#include "platform/win/ExceptionBarrier.h"
#include "platform/win/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/Timer.h"
#include "platform/win/StartupTrace.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

TSkinManage* SkinManager = nullptr;
HHOOK SkinHook = nullptr;
bool SkinDestroyed = false;
DWORD SkinWinVersion = 0;

namespace {

// The manager's module. Its start reads the platform once and adds the
// window-property atom of the class library's controls; its end, which runs
// after the skinned-window module's, frees the manager: every window is
// unskinned and every hook removed.
struct ManagerModule {
  String controlName;
  ManagerModule() {
    ApplySkinPlatform(SystemSkinPlatform());
    controlName = Format(u"ControlOfs%.8X%.8X",
                         {static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(SkinInstance)),
                          static_cast<unsigned>(GetCurrentThreadId())});
    RegisterWindowMessageW(W(controlName));
    ControlAtom();
    SkinDestroyed = false;
  }
  ~ManagerModule() {
    delete SkinManager;
    SkinManager = nullptr;
    controlName.clear();
  }
};

ManagerModule& Module() {
  static ManagerModule module;
  return module;
}

struct ModuleStart {
  ModuleStart() { Module(); }
} moduleStart;

LRESULT CALLBACK CBTHookProc(int code, WPARAM wparam, LPARAM lparam) {
  if (SkinDestroyed || !SkinManager || code < 0) return CallNextHookEx(SkinHook, code, wparam, lparam);
  // A hook must not let an exception (from an application event such as
  // OnFormSkin) unwind into the system.
  ReportingBarrier([&] {
    TSkinManage& m = *SkinManager;
    const auto w = reinterpret_cast<HWND>(wparam);
    switch (code) {
      case HCBT_CREATEWND: {
        const CREATESTRUCTW& cs = *reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
        const String name = GetWndClassName(w);
        if (name == u"ScrollBar" && (cs.style & SBS_SIZEGRIP)) {
          if (TWinSkinForm* sf = m.FindForm(cs.hwndParent)) sf->AddControlh(w);
        }
        if (!(cs.style & WS_CHILD) && name == u"#32768") m.AddPopMenu(w);
        if (cs.dwExStyle & WS_EX_MDICHILD) m.AddForm(w);
        break;
      }
      case HCBT_DESTROYWND:
        m.DeletePopMenu(w);
        break;
      case HCBT_ACTIVATE:
        if (m.state == TManagerState::Idle) m.state = TManagerState::Running;
        m.AddForm(w);
        break;
      default:
        break;
    }
  });
  return CallNextHookEx(SkinHook, code, wparam, lparam);
}

LRESULT CALLBACK ThreadCBTHookProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code < 0 || !SkinManager) return CallNextHookEx(SkinHook, code, wparam, lparam);
  bool refuse = false;
  ReportingBarrier([&] {
    TSkinManage& m = *SkinManager;
    const auto w = reinterpret_cast<HWND>(wparam);
    switch (code) {
      case HCBT_CREATEWND: {
        const CREATESTRUCTW& cs = *reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
        const String name = GetWndClassName(w);
        // Scroll bars of skinned windows are not made on these threads.
        if (name == u"ScrollBar" && m.FindForm(cs.hwndParent)) refuse = true;
        else if (name == u"#32768") m.AddPopMenu(w);
        break;
      }
      case HCBT_DESTROYWND:
        m.DeletePopMenu(w);
        m.DeleteForm(w);
        break;
      case HCBT_ACTIVATE:
        if (m.state == TManagerState::Idle) m.state = TManagerState::Running;
        m.AddForm(w);
        break;
      default:
        break;
    }
  });
  if (refuse) return 10;
  return CallNextHookEx(SkinHook, code, wparam, lparam);
}

// The form object of w: a form of the screen, else any control the class
// library made the window for.
TWinControl* GetFormOfWindow(HWND w) {
  TScreen& screen = Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    TCustomForm* f = screen.Forms(i);
    if (f->HandleAllocated() && f->Handle() == w) return f;
  }
  return FindControlOfWindow(w);
}

// A child window that is neither an MDI child nor a window of an MDI client.
bool IsPlainChild(HWND w) {
  const auto style = GetWindowLongPtrW(w, GWL_STYLE);
  const auto exstyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
  if (!(style & WS_CHILD) || (exstyle & WS_EX_MDICHILD)) return false;
  return LowerCase(GetWndClassName(GetParent(w))) != u"mdiclient";
}

}  // namespace

void SkinManagerModuleNeeded() { Module(); }

TSkinManage& SkinManagerNeeded() {
  if (!SkinManager) SkinManager = new TSkinManage(0);
  return *SkinManager;
}

// ---------------------------------------------------------------------------
// Creation and destruction

TSkinManage::TSkinManage(int amode) : mode(amode) {
  SkinManagerModuleNeeded();
  // A new manager serves the hooks again.
  SkinDestroyed = false;
  Timer = std::make_unique<TTimer>(nullptr);
  Timer->SetEnabled(false);
  Timer->SetInterval(100);
  Timer->OnTimer = [this](TObject*) { TimerAction(); };
}

TSkinManage::~TSkinManage() {
  state = TManagerState::Destroying;
  active = false;
  Timer.reset();
  UnInstallAllThreads();
  if (!Flist.empty()) UnskinAll();
  FreePopMenus();
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    Dlist.clear();
  }
  if (SkinHook) {
    UnhookWindowsHookEx(SkinHook);
    SkinHook = nullptr;
  }
  SkinDestroyed = true;
  if (SkinManager == this) SkinManager = nullptr;
}

void TSkinManage::UnskinAll() {
  active = false;
  std::vector<TWinSkinForm*> forms;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    forms.swap(Flist);
  }
  for (size_t i = forms.size(); i-- > 0;) {
    TWinSkinForm* sf = forms[i];
    sf->UnSubclass3();
    TWinSkinForm::Free(sf);
  }
}

void TSkinManage::FreePopMenus() {
  std::vector<TWinSkinPopMenu*> menus;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    menus.swap(Mlist);
  }
  for (TWinSkinPopMenu* p : menus) delete p;  // each lets go of its window
}

// ---------------------------------------------------------------------------
// Hooks

void TSkinManage::InstallHook() {
  SkinWinVersion = CurrentSkinPlatform().Version;
  if (SkinHook) return;
  SkinHook = SetWindowsHookExW(WH_CBT, CBTHookProc, nullptr, GetCurrentThreadId());
}

void TSkinManage::InstallThread(DWORD aThreadID) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  for (const TSkinThread& t : Threadlist)
    if (t.ThreadID == aThreadID) return;
  TSkinThread t;
  t.ThreadID = aThreadID;
  t.hook = SetWindowsHookExW(WH_CBT, ThreadCBTHookProc, nullptr, aThreadID);
  Threadlist.push_back(t);
}

void TSkinManage::UnInstallThread(DWORD aThreadID) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  auto it = std::find_if(Threadlist.begin(), Threadlist.end(),
                         [&](const TSkinThread& t) { return t.ThreadID == aThreadID; });
  if (it == Threadlist.end()) return;
  if (it->hook) UnhookWindowsHookEx(it->hook);
  Threadlist.erase(it);
}

void TSkinManage::UnInstallAllThreads() {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  for (const TSkinThread& t : Threadlist)
    if (t.hook) UnhookWindowsHookEx(t.hook);
  Threadlist.clear();
}

// ---------------------------------------------------------------------------
// Skin components

void TSkinManage::AddSkinData(TSkinData* adata) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  Dlist.push_back(adata);
  if (!MainData && adata->SkinFormtype() == sfMainform) MainData = adata;
}

void TSkinManage::RemoveSkinData(TSkinData* adata) {
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    Dlist.erase(std::remove(Dlist.begin(), Dlist.end(), adata), Dlist.end());
  }
  if (MainData == adata) MainData = nullptr;
  if (UpdateData == adata) UpdateData = nullptr;
  if (actionData_ == adata) actionData_ = nullptr;
  if (state == TManagerState::Destroying) return;
  // Nothing may go on drawing with a component that is gone.
  for (TWinSkinForm* sf : FormsSnapshot()) {
    if (!Listed(sf) || sf->fsd != adata) continue;
    if (sf->FForm && sf->FForm->Destroying()) sf->Skinstate = TSkinFormState::Unskinning;
    if (sf->Subclassed()) sf->UnSubclass();
    FreeForm(sf);
  }
  std::vector<TWinSkinPopMenu*> menus;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    for (TWinSkinPopMenu* p : Mlist)
      if (p->fsd == adata) menus.push_back(p);
  }
  for (TWinSkinPopMenu* p : menus) delete p;
}

// The last match of the first rule that matches: the sfOnlyThisForm data of
// the form that owns w; for a message box or dialog an sfDialog data; an
// sfMainform data; else the first registered one.
TSkinData* TSkinManage::FindSkinData(HWND w) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  TSkinData* found = nullptr;
  for (TSkinData* d : Dlist) {
    if (d->SkinFormtype() != sfOnlyThisForm) continue;
    auto* owner = As<TWinControl>(d->Owner());
    if (owner && owner->HandleAllocated() && owner->Handle() == w) found = d;
  }
  if (found) return found;
  const String name = LowerCase(GetWndClassName(w));
  if (name == u"tmessageform" || name == u"#32770") {
    for (TSkinData* d : Dlist)
      if (d->SkinFormtype() == sfDialog) found = d;
    if (found) return found;
  }
  for (TSkinData* d : Dlist)
    if (d->SkinFormtype() == sfMainform) found = d;
  if (found) return found;
  return Dlist.empty() ? nullptr : Dlist.front();
}

// ---------------------------------------------------------------------------
// Skinned windows

bool TSkinManage::AddForm(HWND w) {
  if (!active) return false;
  PurgeForms();
  if (!w || !IsWindow(w)) return false;
  if (SendMessageW(w, SM_QUERYSKINNED, 0, 0) == 1) return false;
  if (FindForm(w)) return false;
  TWinControl* form = GetFormOfWindow(w);
  if (!skinchildform && IsPlainChild(w)) return false;
  const String name = GetWndClassName(w);
  if (!form && reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(w, GWLP_HINSTANCE)) != SkinInstance && name != u"#32770")
    return false;
  if (!(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    RECT r{};
    GetWindowRect(w, &r);
    if (static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  }
  if (form && form->Tag() == kTagNoSkin) return false;
  if (Pos(u"TcxPopupEditPopupWindow", name) || Pos(u"TTERenderWindow", name) || name == u"TApplication") return false;
  if (!CanSkinWindow(w, name)) return false;
  TSkinData* data = FindSkinData(w);
  if (!data || data->Empty) return false;

  // Owned here until listed: an event of the set-up may raise.
  std::unique_ptr<TWinSkinForm> sf(new TWinSkinForm(form));
  sf->Hwnd = w;
  sf->mode = mode;
  sf->formclass = name;
  if (form) sf->InitTform(data, form);
  else sf->InitDlg(data);
  // The window went away under the set-up's events.
  if (!sf->Subclassed()) return false;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    Flist.push_back(sf.release());
  }
  StartupMark("window set up for skinning");
  PostMessageW(w, SM_INITSKIN, 0, 1000);
  return true;
}

bool TSkinManage::CanSkinWindow(HWND w, const String& className) {
  bool skin = true;
  if (!MainData) return true;
  const String lower = LowerCase(className);
  if (!InSet(MainData->Options(), xoPreview) && Pos(u"preview", lower)) return false;
  if (className == u"#32770" && (GetWindowLongPtrW(w, GWL_STYLE) & DS_SETFOREGROUND)) return false;
  if (lower == u"tpopupdbtreeview") return false;
  MainData->DoFormSkin(w, className, skin);
  return skin;
}

TWinSkinForm* TSkinManage::FindForm(HWND w) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  for (TWinSkinForm* sf : Flist)
    if (sf->Hwnd == w && sf->Skinstate != TSkinFormState::Dead) return sf;
  return nullptr;
}

std::vector<TWinSkinForm*> TSkinManage::FormsOf(HWND w) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  std::vector<TWinSkinForm*> found;
  for (TWinSkinForm* sf : Flist)
    if ((!w || sf->Hwnd == w) && sf->Skinstate != TSkinFormState::Dead) found.push_back(sf);
  return found;
}

bool TSkinManage::Listed(TWinSkinForm* sf) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  return std::find(Flist.begin(), Flist.end(), sf) != Flist.end();
}

std::vector<TWinSkinForm*> TSkinManage::FormsSnapshot() {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  return Flist;
}

void TSkinManage::FreeForm(TWinSkinForm* sf) {
  DeleteForm2(sf);
  TWinSkinForm::Free(sf);
}

void TSkinManage::PurgeForms() {
  if (state == TManagerState::Destroying) return;
  std::vector<TWinSkinForm*> dead;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    for (size_t i = Flist.size(); i-- > 0;) {
      if (Flist[i]->Skinstate == TSkinFormState::Dead && Flist[i]->mode == mode) {
        dead.push_back(Flist[i]);
        Flist.erase(Flist.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
  }
  for (TWinSkinForm* sf : dead) TWinSkinForm::Free(sf);
}

void TSkinManage::DeleteForm3() {
  if (state == TManagerState::Destroying) return;
  std::vector<TWinSkinForm*> dead;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    for (TWinSkinForm* sf : Flist)
      if (sf->Skinstate == TSkinFormState::Dead) dead.push_back(sf);
  }
  for (TWinSkinForm* sf : dead) FreeForm(sf);
}

bool TSkinManage::DeleteForm(HWND w) {
  if (state == TManagerState::Destroying) return false;
  TWinSkinForm* found = nullptr;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    for (TWinSkinForm* sf : Flist) {
      if (sf->Hwnd == w) {
        found = sf;
        break;
      }
    }
  }
  // A raw window's skin is left to the purge once its window is dead.
  if (!found || !found->FForm) return false;
  found->Skinstate = TSkinFormState::Unskinning;
  found->UnSubclass();
  FreeForm(found);
  return true;
}

void TSkinManage::DeleteForm2(TWinSkinForm* sf) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  Flist.erase(std::remove(Flist.begin(), Flist.end(), sf), Flist.end());
}

void TSkinManage::DeleteSysbtn() {
  for (TWinSkinForm* sf : FormsSnapshot())
    if (sf->fsd == UpdateData) sf->DeleteSysbtn();
}

void TSkinManage::ApplySkin(TSkinData* d) {
  if (state == TManagerState::Destroying) return;
  PurgeForms();
  const auto list = FormsSnapshot();
  // Event handlers run in between (OnAfterSkinForm): a skin freed by one is
  // no longer listed.
  for (TWinSkinForm* sf : list) {
    if (!Listed(sf) || sf->fsd != d) continue;
    sf->DeleteSysbtn();
    sf->InitSkinData();
  }
  for (TWinSkinForm* sf : list)
    if (Listed(sf) && sf->fsd == d) sf->SkinChange();
}

void TSkinManage::SetMDIMax(bool b) {
  if (b == MDIMax) return;
  MDIMax = b;
  if (MainData && InSet(MainData->Options(), xoMDIChildBorder)) return;
  for (TWinSkinForm* sf : FormsSnapshot()) {
    if (!Listed(sf) || sf->frame.FormStyle != sfsMDIChild) continue;
    if (b) {
      if (sf->frame.crop) sf->Uncropwindow();
    } else if (sf->frame.Windowstate != swsMin) {
      sf->frame.Windowstate = swsNormal;
      sf->Cropwindow();
      if (!sf->frame.crop) sf->Refresh();
    }
  }
}

// ---------------------------------------------------------------------------
// Popup-menu skins

void TSkinManage::AddPopMenu(HWND w) {
  if (!active) return;
  if (SendMessageW(w, SM_QUERYSKINNED, 0, 0) == 1 || HasPopMenu(w)) return;
  TSkinData* data = FindSkinData(w);
  if (!data || data->Empty) return;
  const TSkinControlTypes controls = data->SkinControls();
  switch (menutype) {
    case TMenuType::Popup:
      if (!InSet(controls, xcPopupMenu)) return;
      break;
    case TMenuType::MenuBar:
      if (!InSet(controls, xcMainMenu) && !InSet(controls, xcMenuItem)) return;
      break;
    case TMenuType::System:
      if (!InSet(controls, xcSystemMenu)) return;
      break;
  }
  auto* p = new TWinSkinPopMenu;
  p->InitSkin(w, data, nullptr);
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    Mlist.push_back(p);
  }
  if (menuactive) p->ownerdraw = true;
}

void TSkinManage::DeletePopMenu(HWND w) {
  TWinSkinPopMenu* found = nullptr;
  {
    std::lock_guard<std::recursive_mutex> lock(lists_);
    for (TWinSkinPopMenu* p : Mlist) {
      if (p->hwnd == w) {
        found = p;
        break;
      }
    }
  }
  if (found) {
    found->UnSubClass();
    RemovePopMenu(found);
    delete found;
  }
  std::lock_guard<std::recursive_mutex> lock(lists_);
  if (Mlist.empty()) {
    menuactive = false;
    menutype = TMenuType::Popup;
  }
}

bool TSkinManage::HasPopMenu(HWND w) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  return std::any_of(Mlist.begin(), Mlist.end(), [w](const TWinSkinPopMenu* p) { return p->hwnd == w; });
}

void TSkinManage::RemovePopMenu(TWinSkinPopMenu* p) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  Mlist.erase(std::remove(Mlist.begin(), Mlist.end(), p), Mlist.end());
  if (newPopMenu_ == p) newPopMenu_ = nullptr;
}

void TSkinManage::SetPopMenu() {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  for (TWinSkinPopMenu* p : Mlist) p->ownerdraw = true;
}

void TSkinManage::SetNewPopMenu(TWinSkinPopMenu* p) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  if (std::find(Mlist.begin(), Mlist.end(), p) != Mlist.end()) newPopMenu_ = p;
}

void TSkinManage::SetHMenu(HMENU m) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  // Every item drawn asks again; a menu already placed stays where it is.
  if (std::any_of(Mlist.begin(), Mlist.end(), [m](const TWinSkinPopMenu* p) { return p->hmenu == m; })) return;
  if (TWinSkinPopMenu* p = std::exchange(newPopMenu_, nullptr); p && !p->hmenu) {
    p->hmenu = m;
    return;
  }
  for (size_t i = Mlist.size(); i-- > 0;) {
    if (!Mlist[i]->hmenu) {
      Mlist[i]->hmenu = m;
      return;
    }
  }
}

TBitmap* TSkinManage::GetMenuBg(HMENU m) {
  std::lock_guard<std::recursive_mutex> lock(lists_);
  for (TWinSkinPopMenu* p : Mlist)
    if (p->hmenu == m) return p->MenuBg.get();
  return nullptr;
}

// ---------------------------------------------------------------------------
// Deferred actions

void TSkinManage::SetAction(TSkinAction acode, int Interval) {
  action = acode;
  Timer->SetInterval(static_cast<unsigned>(std::max(Interval, 0)));
  if (state == TManagerState::Idle) {
    // The first HCBT_ACTIVATE skins the main window.
    if (acode == TSkinAction::SkinAll) active = true;
    if (acode == TSkinAction::UnskinAll) active = false;
    return;
  }
  // The delay counts from this request.
  Timer->SetEnabled(false);
  Timer->SetEnabled(true);
}

void TSkinManage::AddVisibleForm(TCustomForm* form) {
  if (!form->HandleAllocated() || !form->Visible()) return;
  const HWND h = form->Handle();
  if (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) return;
  AddForm(h);
}

void TSkinManage::TimerAction() {
  Timer->SetEnabled(false);
  TSkinData* d = UpdateData;
  if (!d) return;
  // Cleared should an event handler free d meanwhile.
  actionData_ = d;
  auto forms = [this] { return FormsSnapshot(); };
  auto screenForms = [] {
    std::vector<TCustomForm*> list;
    for (int i = 0; i < Screen().FormCount(); ++i) list.push_back(Screen().Forms(i));
    return list;
  };
  auto unskinAndFree = [this](TWinSkinForm* sf) {
    sf->UnSubclass();
    TWinSkinForm::RePaint(sf->Hwnd);
    FreeForm(sf);
  };

  if (d->SkinFormtype() == sfOnlyThisForm) {
    switch (action) {
      case TSkinAction::SkinAll: {
        active = true;
        skinchildform = true;
        const auto list = screenForms();
        for (size_t i = list.size(); i-- > 0;) {
          if (list[i] == d->Owner()) {
            AddVisibleForm(list[i]);
            break;
          }
        }
        skinchildform = false;
        break;
      }
      case TSkinAction::UnskinAll: {
        active = false;
        PurgeForms();
        const auto list = forms();
        for (size_t i = list.size(); i-- > 0;) {
          if (Listed(list[i]) && list[i]->fsd == d) {
            unskinAndFree(list[i]);
            break;
          }
        }
        break;
      }
      case TSkinAction::SkinChanged:
        PurgeForms();
        for (TWinSkinForm* sf : forms()) {
          if (Listed(sf) && sf->fsd == d) {
            sf->DeleteSysbtn();
            sf->InitSkinData();
            sf->SkinChange();
            break;
          }
        }
        break;
      case TSkinAction::PurgeDead:
        DeleteForm3();
        break;
      default:
        break;
    }
  } else {
    switch (action) {
      case TSkinAction::SkinAll: {
        active = true;
        WMSetDraw = false;
        skinchildform = true;
        PurgeForms();
        const auto list = screenForms();
        for (size_t i = list.size(); i-- > 0;) AddVisibleForm(list[i]);
        skinchildform = false;
        break;
      }
      case TSkinAction::UnskinAll:
        active = false;
        PurgeForms();
        for (;;) {
          TWinSkinForm* first = nullptr;
          {
            std::lock_guard<std::recursive_mutex> lock(lists_);
            if (Flist.empty()) break;
            first = Flist.front();
          }
          unskinAndFree(first);
        }
        break;
      case TSkinAction::SkinChanged:
        ApplySkin(d);
        break;
      case TSkinAction::PurgeDead:
        DeleteForm3();
        break;
      case TSkinAction::Reskin:
        if (TWinSkinForm* sf = FindForm(lpara)) {
          sf->UnSubclass();
          sf->Skinstate = TSkinFormState::Dead;
          PurgeForms();
          AddForm(lpara);
        }
        // No notification, and UpdateData stays.
        return;
      default:
        break;
    }
  }
  if (actionData_ != d) return;
  actionData_ = nullptr;
  // Cleared before the event, so that an action the handler asks for keeps
  // its component.
  UpdateData = nullptr;
  d->DoSkinChanged();
}

}  // namespace qv
