#include "skin/windows/WinSkinForm.h"

#include <algorithm>
#include <utility>

#include "platform/core/CallEvent.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/StdCtrls.h"
#include "platform/win/StartupTrace.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinGeometry.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

namespace {

// Undocumented: a themed platform paints its own caption with it, which
// would land over the skin's.
constexpr UINT kWmNcUahDrawCaption = 0x00AE;

// The skinned-window module. It starts after the manager's module, so it
// ends before it: the scratch bitmap is gone (and painting skipped) by the
// time the manager's end unskins the windows.
struct SkinFormModule {
  SkinFormModule() {
    SkinManagerModuleNeeded();
    SkinScratchBitmap = new TBitmap;
    SetStretchBltMode(BitmapCanvas(*SkinScratchBitmap).Handle(), COLORONCOLOR);
  }
  ~SkinFormModule() {
    delete SkinScratchBitmap;
    SkinScratchBitmap = nullptr;
  }
} skinFormModule;

TRect ClientRectOf(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return FromRECT(r);
}

// A window menu is in use elsewhere while another window of this process
// has it on its bar or another skin's bar holds it.
BOOL CALLBACK FindMenuOnBar(HWND w, LPARAM lp) {
  auto* look = reinterpret_cast<std::pair<HMENU, HWND>*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (w != look->second && pid == GetCurrentProcessId() && GetMenu(w) == look->first) {
    look->second = nullptr;
    return FALSE;
  }
  return TRUE;
}

bool MenuInUseElsewhere(HMENU m, HWND dying) {
  std::pair<HMENU, HWND> look{m, dying};
  EnumWindows(FindMenuOnBar, reinterpret_cast<LPARAM>(&look));
  if (!look.second) return true;
  if (!SkinManager) return false;
  // A copy: the hooks of further threads change the list.
  for (const TWinSkinForm* sf : SkinManager->FormsOf(nullptr))
    if (sf->Hwnd != dying && sf->menuBar.menu && sf->menuBar.menu->hmenu == m) return true;
  return false;
}

// The menu a dying window's bar took off, unless the application still
// shows it elsewhere or has freed it itself.
void DestroyOrphanedMenu(HMENU m, HWND dying) {
  if (m && IsMenu(m) && !MenuInUseElsewhere(m, dying)) DestroyMenu(m);
}

// The window whose style the skin changes for a moment: the style messages
// of that change are the skin's own business, not the window's.
thread_local HWND quietStyleWindow = nullptr;

void SetStyleQuietly(HWND w, LONG_PTR style) {
  const HWND outer = quietStyleWindow;
  quietStyleWindow = w;
  SetWindowLongPtrW(w, GWL_STYLE, style);
  quietStyleWindow = outer;
}

// On a new title the platform's default procedure paints a caption and
// border of its own, straight into the window rather than through
// WM_NCPAINT, over the skin's. Without WS_VISIBLE it paints nothing, which
// is how the platform's own themes keep it off their frames; the bit is
// cleared only for the call, and the window never hears of it.
class TCaptionHold {
 public:
  explicit TCaptionHold(HWND w) : w_(w) {
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    held_ = style & WS_VISIBLE;
    if (held_) SetStyleQuietly(w, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  }
  ~TCaptionHold() {
    if (held_ && IsWindow(w_)) SetStyleQuietly(w_, GetWindowLongPtrW(w_, GWL_STYLE) | WS_VISIBLE);
  }
  TCaptionHold(const TCaptionHold&) = delete;
  TCaptionHold& operator=(const TCaptionHold&) = delete;

 private:
  HWND w_;
  bool held_;
};

// Frame 1 of a border strip: the left and right borders hold their frames
// side by side, the top and bottom ones stacked. No strip, an empty one or a
// frame count below 1 never divides by zero.
TRect BorderFrame(const std::unique_ptr<TDataSkinBorder>& e, bool stacked) {
  if (!e || !e->Map) return TRect{};
  return SkinFrameIn(*e->Map, stacked, e->frame, 1);
}

}  // namespace

struct TWinSkinForm::CallScope {
  TWinSkinForm* sf;
  TLifeToken alive;
  explicit CallScope(TWinSkinForm* s) : sf(s), alive(s->alive_.Token()) { ++sf->calls_; }
  ~CallScope() {
    // A handler may have freed the skin outright (its form deleted inside
    // one of the form's own messages): then there is nothing to count.
    if (!alive) return;
    if (--sf->calls_ == 0 && sf->freePending_) delete sf;
  }
};

// ---------------------------------------------------------------------------
// TWinSkinSpy

const TClassInfo& TWinSkinSpy::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWinSkinSpy>(u"TWinSkinSpy", TComponent::StaticClass()).Done();
  return info;
}

// ---------------------------------------------------------------------------
// Creation and destruction

const TClassInfo& TWinSkinForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWinSkinForm>(u"TWinSkinForm", TComponent::StaticClass()).Done();
  return info;
}

TWinSkinForm::TWinSkinForm(TComponent* AOwner)
    : TComponent(AOwner),
      DoubleTime(static_cast<int>(GetDoubleClickTime())),
      fcanvas2(std::make_unique<TCanvas>()),
      bstr(u"  "),
      astr(u" "),
      fCanvas(std::make_unique<TCanvas>()) {}

TWinSkinForm::~TWinSkinForm() {
  alive_.End();
  // The system menu is the skin's and ends with it: its form going takes
  // the skin before the window, and an unskinned window keeps no menu.
  EndOpenMenu();
  // Freed while the window still runs through us. With its form object
  // going (which frees its components before its window) only the
  // procedures go back; otherwise the window is given back whole.
  if (Subclassed()) {
    if (Destroying()) Skinstate = TSkinFormState::Unskinning;
    UnSubclass();
  }
  RestoreFormWindowProc();
  RestoreMDIClientProc();
  FreeControls(Skinstate != TSkinFormState::Unskinning);
  DeleteSysbtn();
  controls.Activeskincontrol = nullptr;
  delete timer;
  timer = nullptr;
  FreeMenuBar(false);
  if (SkinManager) {
    SkinManager->DeleteForm2(this);
    if ((FForm && SkinManager->MDIForm == FForm) || (ClientHwnd && SkinManager->clienthwnd == ClientHwnd)) {
      SkinManager->MDIForm = nullptr;
      SkinManager->clienthwnd = nullptr;
    }
  }
}

void TWinSkinForm::Free(TWinSkinForm* sf) {
  if (!sf) return;
  if (sf->calls_ > 0) sf->freePending_ = true;
  else delete sf;
}

// ---------------------------------------------------------------------------
// Set-up

void TWinSkinForm::InitTform(TSkinData* afsd, TWinControl* aform) {
  FForm = aform;
  CallEvent(afsd->fOnBeforeSkinForm, aform, Hwnd, formclass);
  if (InSet(afsd->FSkinControls, xcMenuItem)) SetPropByName(aform, u"AutoScroll", u"False");
  SetUp(afsd);
  if (!Subclassed()) return;
  if (sMainMenu) formProcHook_.Install(aform, [this](TMessage& m) { FormWindowProc(m); });
  formcolor = aform->Color();
  aform->SetColor(afsd->Colors[scButtonFace]);
  if (InSet(afsd->FSkinControls, xcMenuItem)) InitMainMenu(aform, true);
}

void TWinSkinForm::InitDlg(TSkinData* afsd) { SetUp(afsd); }

void TWinSkinForm::SetUp(TSkinData* afsd) {
  if (Subclassed() || !afsd) return;
  if (SkinManager) SkinManager->state = TManagerState::Running;
  fsd = afsd;
  if (!timer) {
    timer = new TTimer(this);
    timer->SetEnabled(false);
    timer->SetInterval(250);
    timer->OnTimer = [this](TObject* sender) { TimerTick(sender); };
  }

  sMainMenu = InSet(fsd->FSkinControls, xcMainMenu);
  dwstyle = static_cast<DWORD>(GetWindowLongPtrW(Hwnd, GWL_STYLE));
  const auto exstyle = static_cast<DWORD>(GetWindowLongPtrW(Hwnd, GWL_EXSTYLE));
  frame.bidileft = exstyle & WS_EX_LEFTSCROLLBAR;
  ischildform = dwstyle & WS_CHILD;
  classname = GetWndClassName(Hwnd);
  parenthwnd = GetWindow(Hwnd, GW_OWNER);

  frame.FormIcons = 0;
  if ((dwstyle & WS_SYSMENU) || hsysmenu) frame.FormIcons |= 1u << sbisystem;
  if (dwstyle & WS_MINIMIZEBOX) frame.FormIcons |= 1u << sbiMin;
  if (dwstyle & WS_MAXIMIZEBOX) frame.FormIcons |= 1u << sbiMax;
  if (exstyle & WS_EX_CONTEXTHELP) frame.FormIcons |= 1u << sbiHelp;

  UpdateWindowState();
  fSizeable = dwstyle & WS_THICKFRAME;
  FindMDIClient();
  if (exstyle & WS_EX_MDICHILD) {
    frame.FormStyle = sfsMDIChild;
    if (InSet(fsd->fSkinOptions, xoMDIChildBorder)) sMainMenu = false;
  }

  frame.FormBorder = sbsSingle;
  if ((dwstyle & WS_CAPTION) != WS_CAPTION) frame.FormBorder = sbsNone;
  else if (dwstyle & WS_THICKFRAME) frame.FormBorder = sbsSizeable;
  else if (dwstyle & DS_MODALFRAME) frame.FormBorder = sbsDialog;
  if (exstyle & WS_EX_DLGMODALFRAME) frame.FormBorder = sbsDialog;

  // Captions of these systems keep their own caption buttons.
  const DWORD version = CurrentSkinPlatform().Version;
  const bool version50 = LOBYTE(LOWORD(version)) >= 5 && HIBYTE(LOWORD(version)) == 0;
  if ((exstyle & WS_EX_APPWINDOW) && IsWinNT && version50) frame.FormIcons |= 1u << sbicaption;
  if (!parenthwnd && frame.FormStyle != sfsMDIChild && version50) frame.FormIcons |= 1u << sbicaption;

  isunicode = IsWindowUnicode(Hwnd);
  if (classname == u"#32770" || classname == u"TMessageForm") {
    frame.FormBorder = sbsDialog;
    frame.ismessagebox = true;
  }
  if (SkinWinVersion & 0x80000000u) fsd->FSkinControls &= ~(1u << xcSystemMenu);

  if (frame.FormStyle == sfsMDIform) {
    menuBar.menuauto = fsd->fmenuauto;
    FMDISubclass.Install(ClientHwnd, [this](TMessage& m) { MDIClientWndProc(m); });
  }
  if (!FWndSubclass.Install(Hwnd, [this](TMessage& m) { SkinWndProc(m); })) {
    RestoreMDIClientProc();
    return;
  }

  if (sMainMenu) {
    // A child window's "menu" is its identifier.
    menuBar.hmenu = (dwstyle & WS_CHILD) ? nullptr : GetMenu(Hwnd);
    if (menuBar.hmenu && frame.FormStyle != sfsMDIChild) {
      menuBar.menu = new TWinSkinMenu(this);
      menuBar.menu->FSD = fsd;
      menuBar.menu->SF = this;
      menuBar.menu->hmenu = menuBar.hmenu;
      frame.MenuHeight = GetSystemMetrics(SM_CYMENU);
      menuBar.menu->UpdataBtn();
      menuBar.taken = !GetMenu(Hwnd);
    }
    InitSkinData();
  } else {
    Skinstate = TSkinFormState::Skinned;
  }
  HoldFirstPaint();
  if (frame.FormStyle == sfsMDIChild) {
    const int caption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (caption > frame.bw.Top) frame.MenuHeight = caption - frame.bw.Top;
    if (frame.Windowstate == swsMax && SkinManager && !SkinManager->MDIMax) SkinManager->SetMDIMax(true);
  }
}

// Only where the finishing sequence will size the frame: a visible normal
// top-level window whose frame the skin draws.
void TWinSkinForm::HoldFirstPaint() {
  if (!sMainMenu || (dwstyle & WS_CHILD) || frame.FormStyle == sfsMDIChild || frame.FormBorder == sbsNone ||
      frame.Windowstate != swsNormal || !IsWindowVisible(Hwnd))
    return;
  paintHeld_ = true;
  RedrawWindow(Hwnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::ReleaseFirstPaint() {
  if (!paintHeld_) return;
  paintHeld_ = false;
  RedrawWindow(Hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::InitSkinData() {
  if (!fsd || fsd->Empty) return;
  if (frame.FormBorder == sbsNone) {
    frame.bw = TRect{};
    frame.MenuHeight = 0;
  } else {
    frame.bw.Top = BorderFrame(fsd->border[3], true).Height();
    frame.bw.Left = BorderFrame(fsd->border[1], false).Width();
    frame.bw.Right = BorderFrame(fsd->border[2], false).Width();
    frame.bw.Bottom = BorderFrame(fsd->border[4], true).Height();
  }
  DeleteSysbtn();
  for (const auto& element : fsd->SysBtn) {
    auto button = std::make_unique<TWinSysButton>(this, fsd);
    button->data = element.get();
    button->enabled = true;
    if (IsIconButton(element->Action)) {
      DrawWindowIcon();
      if (!element->Map) element->Map = std::make_unique<TBitmap>();
      if (element->Map->Empty()) element->Map->Assign(*frame.IconBmp);
      if (!fsd->SysIcon) fsd->SysIcon = std::make_unique<TBitmap>();
      if (fsd->SysIcon->Empty()) fsd->SysIcon->Assign(*frame.IconBmp);
      element->frame = 1;
    }
    frame.SysBtn.push_back(std::move(button));
  }
  BtnCount = static_cast<int>(frame.SysBtn.size());
}

void TWinSkinForm::DrawWindowIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  Iconx = w;
  HICON& icon = frame.DefIcon;
  icon = reinterpret_cast<HICON>(SendMessageW(Hwnd, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Hwnd, WM_GETICON, ICON_BIG, 0));
  TBitmap& bmp = *frame.IconBmp;
  if (icon && icon == frame.iconDrawnFrom && bmp.Width() == w && bmp.Height() == h) return;
  frame.iconDrawnFrom = nullptr;
  // 24 bits rather than 16: the class library's bitmaps have no 16-bit form,
  // and the key colour survives exactly.
  bmp.SetSize(w, h);
  FillRect(bmp, Rect(0, 0, w, h), kSkinKeyColor);
  if (!icon) return;
  const OwnedIcon copy = SizedIconCopy(icon, w, h);
  if (!copy) return;
  if (DrawIconEx(BitmapCanvas(bmp).Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL)) frame.iconDrawnFrom = icon;
}

// ---------------------------------------------------------------------------
// SM_INITSKIN: the finishing sequence

void TWinSkinForm::FinishSkin() {
  // Once per skin: a window re-skinned before its first skin finished may
  // still have that skin's SM_INITSKIN queued, and measuring the native
  // frame again after the first sizing would measure the skin's.
  if (FActive) return;
  FActive = true;
  hsysmenu = GetSystemMenu(Hwnd, FALSE);
  DrawWindowIcon();
  RECT wr{};
  GetWindowRect(Hwnd, &wr);
  fClientRect = ClientRectOf(Hwnd);
  oldsize = Rect(0, 0, (wr.right - wr.left) - fClientRect.Width(), (wr.bottom - wr.top) - fClientRect.Height());

  // Each step below may send the window (and the application) messages in
  // which its form can be freed, and this skin with it.
  const TLifeToken alive = alive_.Token();
  StartupMark("skin finishing begins");
  if (FForm) InitControls(FForm);
  else InitHwndControls(Hwnd);
  if (!alive) return;
  StartupMark("controls skinned");

  ReleaseFirstPaint();
  if (Skinstate == TSkinFormState::New) {
    // The state as it is now: the window may have been maximised or
    // minimised since the set-up looked.
    UpdateWindowState();
    if (frame.FormStyle == sfsMDIChild) {
      if (frame.Windowstate == swsMax) {
        if (SkinManager && SkinManager->clienthwnd)
          PostMessageW(SkinManager->clienthwnd, SM_MDIREDRAW, reinterpret_cast<WPARAM>(Hwnd), 0);
      } else if (frame.Windowstate == swsNormal) {
        Skinstate = TSkinFormState::FirstSizing;
        FirstSizing(false);
        Skinstate = TSkinFormState::Skinned;
        Cropwindow();
      }
    } else if (!(dwstyle & WS_CHILD) && frame.FormBorder != sbsNone && frame.Windowstate != swsMin) {
      Skinstate = TSkinFormState::FirstSizing;
      FirstSizing(false);
      Skinstate = TSkinFormState::Skinned;
      if (frame.Windowstate == swsMax) Refresh();
      else Cropwindow();
    }
  }
  if (!alive) return;
  StartupMark("frame sized and region set");
  AfterSkin();
  if (!alive) return;
  Skinstate = TSkinFormState::Skinned;
  if (timer) timer->SetEnabled(true);
}

void TWinSkinForm::AfterSkin() {
  const TLifeToken alive = alive_.Token();
  SendMessageW(Hwnd, SM_FORMSKINNED, 0, static_cast<LPARAM>(SkinPaintMagic));
  if (alive && fsd) CallEvent(fsd->fOnAfterSkinForm, FForm, Hwnd, formclass);
}

// The window keeps its client size under the skin's borders (with keep:
// the client size it has now).
void TWinSkinForm::FirstSizing(bool keep) {
  if (frame.Windowstate == swsMax) {
    SetWindowPos(Hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  RECT r{};
  GetWindowRect(Hwnd, &r);
  // A window squeezed by borders that did not fit the screen keeps asking
  // for the client size it had before them.
  const bool reread = !squeezed_;
  if (reread && (frame.ismessagebox || Skinstate == TSkinFormState::Changing)) fClientRect = ClientRectOf(Hwnd);
  int width = fClientRect.Right + frame.bw.Left + frame.bw.Right;
  if (!keep) {
    if (FForm) {
      width = FForm->ClientWidth() + frame.bw.Left + frame.bw.Right;
      fClientRect.Right = FForm->ClientWidth();
      fClientRect.Bottom = FForm->ClientHeight() - (frame.FormStyle == sfsMDIChild ? 0 : frame.MenuHeight);
    } else if (menuBar.taken) {
      // The client grew by the native bar the skin took away; the skin's
      // bar takes that room again.
      fClientRect.Bottom -= frame.MenuHeight;
    }
  } else if (reread) {
    fClientRect = ClientRectOf(Hwnd);
  }
  const int height = fClientRect.Bottom + frame.bw.Top + frame.bw.Bottom + frame.MenuHeight;

  UINT keepPlace = SWP_NOMOVE;
  if (frame.ismessagebox && !keep) {
    // A caption wider than the box widens it, up to the work area's width
    // (a longer caption is drawn cut short); the controls move right by
    // half the difference so that they stay centred, and the box moves left
    // as far as it must to stay on the work area.
    caption = GetWindowTextString(Hwnd);
    charwidth = ScreenTextExtent(frame.CaptionFont->Handle(), caption).cx;
    const TRect margins = fsd && fsd->Title ? fsd->Title->r : TRect{};
    const RECT area = WorkAreaOf(Hwnd);
    const int needed = std::min<int>(margins.Left + charwidth + margins.Right, area.right - area.left);
    if (width < needed) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetWindow(Hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT cr{};
        GetWindowRect(child, &cr);
        MapWindowPoints(nullptr, Hwnd, reinterpret_cast<POINT*>(&cr), 2);
        // Without z-order changes: a dialog's tab order is its z-order.
        SetWindowPos(child, nullptr, cr.left + shift, cr.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
      }
      width = needed;
      if (r.left + width > area.right || r.left < area.left) {
        r.left = std::max<LONG>(area.left, std::min<LONG>(r.left, area.right - width));
        keepPlace = 0;
      }
    }
  }
  // A form that refuses resizes lets the frame trade through (a raw window's
  // refusal is overruled in WMWindowPosChanging during the first sizing).
  auto* form = As<TCustomForm>(FForm);
  if (form) form->BeginFrameTrade();
  const TLifeToken alive = alive_.Token();
  SetWindowPos(Hwnd, nullptr, r.left, r.top, width, height,
               keepPlace | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_DEFERERASE);
  if (!alive) return;
  if (form) form->EndFrameTrade();
  resized_ = true;
  // The platform holds a window to about the screen's size: smaller than
  // asked, it was squeezed, and its client no longer says what to keep.
  GetWindowRect(Hwnd, &r);
  squeezed_ = r.right - r.left < width || r.bottom - r.top < height;
}

// ---------------------------------------------------------------------------
// Skin change

void TWinSkinForm::SkinChange() {
  if (!fsd) return;
  if (FForm) {
    FForm->SetColor(fsd->Colors[scButtonFace]);
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
      if (auto* f = As<TCustomForm>(FForm->Components(i))) f->SetColor(fsd->Colors[scButtonFace]);
    }
  }
  // A skin paints as it changes, and a paint may free a skin further on.
  const std::vector<TSkinControl*> skins = controls.Controllist;
  for (TSkinControl* c : skins)
    if (controls.Listed(c)) c->SkinChange();
  Skinstate = TSkinFormState::Changing;
  if (sMainMenu && FForm) {
    InitPopMenu(FForm, true, true);
    FirstSizing(true);
    // A new layout of the form's controls.
    FForm->SetHeight(FForm->Height() + 1);
    FForm->SetHeight(FForm->Height() - 1);
  }
  const TLifeToken alive = alive_.Token();
  // Controls made since, or whose skins went with their windows, take one
  // as at the first skinning; a skin only switched off stays so.
  if (FForm) InitControls(FForm);
  if (!alive) return;
  AfterSkin();
  if (alive) Skinstate = TSkinFormState::Skinned;
}

// ---------------------------------------------------------------------------
// Tear-down

void TWinSkinForm::UnSubclass() {
  if (!sMainMenu) {
    UnSubclass2();
    return;
  }
  if (timer) timer->SetEnabled(false);
  if (!Subclassed()) return;
  ReleaseFirstPaint();
  RestoreFormWindowProc();
  RestoreWindowProc();
  FreeControls(Skinstate != TSkinFormState::Unskinning);
  if (FForm) {
    InitPopMenu(FForm, false, false);
    if (fsd && InSet(fsd->FSkinControls, xcMenuItem)) InitMainMenu(FForm, false);
    if (Skinstate != TSkinFormState::Unskinning) FForm->SetColor(formcolor);
  }
  SetSysMenuStyle(false);
  FreeMenuBar(true);
  RestoreMDIClientProc();
  // The native frame comes back around the same client area. A window that
  // never got the skin's size keeps the one it has.
  if (Skinstate != TSkinFormState::Unskinning && resized_ &&
      (frame.FormStyle == sfsMDIChild || !(dwstyle & WS_CHILD))) {
    RECT r{};
    GetWindowRect(Hwnd, &r);
    if (frame.FormStyle == sfsMDIChild && SkinManager && SkinManager->clienthwnd)
      MapWindowPoints(nullptr, SkinManager->clienthwnd, reinterpret_cast<POINT*>(&r), 2);
    int width = (r.right - r.left) - (frame.bw.Left + frame.bw.Right - oldsize.Right);
    int height = (r.bottom - r.top) - (frame.bw.Top + frame.bw.Bottom - oldsize.Bottom);
    if (squeezed_) {
      width = fClientRect.Right + oldsize.Right;
      height = fClientRect.Bottom + frame.MenuHeight + oldsize.Bottom;
    }
    // Our procedure is gone by now, so a form that refuses resizes is told
    // itself that this one only trades the frame back.
    auto* form = As<TCustomForm>(FForm);
    if (form) form->BeginFrameTrade();
    SetWindowPos(Hwnd, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (form) form->EndFrameTrade();
  }
  resized_ = false;
  // The region was the system's since SetWindowRgn; it frees it here.
  SetWindowRgn(Hwnd, nullptr, TRUE);
  frame.WinRgn = nullptr;
  frame.crop = false;
}

void TWinSkinForm::UnSubclass3() {
  if (!sMainMenu) {
    UnSubclass2();
    return;
  }
  if (timer) timer->SetEnabled(false);
  if (Subclassed()) {
    if (Skinstate != TSkinFormState::Unskinning) ReleaseFirstPaint();
    RestoreFormWindowProc();
    RestoreWindowProc();
    FreeControls(Skinstate != TSkinFormState::Unskinning);
  }
  // At shut-down the window may live on: nothing of ours stays in its MDI
  // client either, and it gets its menu back on the platform's bar. A dying
  // window's menu is settled once WM_NCDESTROY has been through.
  RestoreMDIClientProc();
  const bool lives = Skinstate != TSkinFormState::Unskinning && IsWindow(Hwnd) && !GetMenu(Hwnd);
  FreeMenuBar(lives && menuBar.menu && IsMenu(menuBar.menu->hmenu));
}

void TWinSkinForm::UnSubclass2() {
  if (timer) timer->SetEnabled(false);
  FreeControls(Skinstate != TSkinFormState::Unskinning);
  if (FForm) {
    InitPopMenu(FForm, false, false);
    if (fsd && InSet(fsd->FSkinControls, xcMenuItem)) InitMainMenu(FForm, false);
    if (Skinstate != TSkinFormState::Unskinning) FForm->SetColor(formcolor);
  }
  RestoreFormWindowProc();
  RestoreWindowProc();
  RestoreMDIClientProc();
  if (FForm && Skinstate != TSkinFormState::Unskinning) {
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
      if (auto* c = As<TControl>(FForm->Components(i))) c->Invalidate();
    }
  }
}

void TWinSkinForm::RestoreWindowProc() { FWndSubclass.Remove(); }

void TWinSkinForm::RestoreMDIClientProc() { FMDISubclass.Remove(); }

void TWinSkinForm::RestoreFormWindowProc() { formProcHook_.Remove(FForm); }

void TWinSkinForm::FreeMenuBar(bool restoreNativeMenu) {
  if (!menuBar.menu) return;
  if (restoreNativeMenu && menuBar.menu->hmenu) SetMenu(Hwnd, menuBar.menu->hmenu);
  TWinSkinMenu* bar = menuBar.menu;
  menuBar.menu = nullptr;
  delete bar;
}

void TWinSkinForm::DeleteSysbtn() {
  // A hot button takes its hint along (each button also lets go of
  // ActiveBtn as it is freed, so nothing points at a freed one).
  for (const auto& b : frame.SysBtn)
    if (frame.ActiveBtn == b.get()) ResetHint();
  frame.SysBtn.clear();
  BtnCount = 0;
}

void TWinSkinForm::ControlRecreated(HWND old) {
  for (size_t i = controls.Controllist.size(); i-- > 0;) {
    TSkinControl* gone = controls.Controllist[i];
    if (gone->hwnd != old) continue;
    TWinControl* control = gone->control;
    // The new skin is made as the old one was: a single scroll bar's kind
    // keeps the border off.
    const int32_t kind = gone->kind;
    delete gone;  // leaves the list itself
    if (!control || !fsd) return;
    TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinScrollbar, control);
    if (!skin) return;
    skin->kind = kind;
    if (!InitScrollbarSkin(skin, control, fsd, fcanvas2.get(), this)) delete skin;
    return;
  }
}

bool IsScrollControl(TControl* control) {
  auto* w = As<TWinControl>(control);
  if (!w) return false;
  if (w->Is<TMemo>()) return true;
  return w->HandleAllocated() && (GetWindowLongPtrW(w->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

void TWinSkinForm::RePaint(HWND h) {
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
}

void TWinSkinForm::Refresh() {
  SetWindowPos(Hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------
// The replacement procedures. What they do not handle goes to the procedure
// they replaced. The frame's messages (sizing, hit-testing, painting, the
// caption buttons, menus) join SkinWndProc with the frame painting.

void TWinSkinForm::SkinWndProc(TMessage& Message) {
  CallScope scope(this);
  const UINT msg = Message.Msg;
  // Before SM_INITSKIN the frame is neither painted nor activated.
  if (Skinstate == TSkinFormState::New && msg == WM_NCPAINT) {
    Message.Result = 0;
    return;
  }
  switch (msg) {
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      if (Hwnd != quietStyleWindow) break;
      Message.Result = 0;
      return;
    case WM_NCDESTROY: {
      Skinstate = TSkinFormState::Unskinning;
      EndOpenMenu();
      // The system frees a dying window's menu only while it is on the
      // window's bar; a raw window's menu that our bar took off is freed
      // here instead, after the window has seen the message. A form's
      // belongs to its main menu.
      const HWND dying = Hwnd;
      const TWinSkinMenu* bar = menuBar.menu;
      const HMENU taken = !FForm && bar && bar->hmenu && !GetMenu(Hwnd) ? bar->hmenu : nullptr;
      UnSubclass3();
      const TLifeToken alive = alive_.Token();
      CallPrevWndProc(Message);
      if (alive) Skinstate = TSkinFormState::Dead;
      DestroyOrphanedMenu(taken, dying);
      return;
    }
    case SM_INITSKIN:
      FinishSkin();
      return;
    case SM_CONTROLRECREATED:
      ControlRecreated(reinterpret_cast<HWND>(Message.WParam));
      return;
    case SM_QUERYSKINNED:
      Message.Result = 1;
      PostMessageW(Hwnd, SM_FORMSKINNED, 0, static_cast<LPARAM>(SkinPaintMagic));
      return;
    case kWmNcUahDrawCaption:
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      if (!PassOn(Message)) return;
      if (!FForm && fsd && fsd->BGBrush) {
        RECT r{};
        GetClientRect(Hwnd, &r);
        FillRect(reinterpret_cast<HDC>(Message.WParam), &r, fsd->BGBrush);
        Message.Result = 1;
      }
      return;
    case WM_CTLCOLORBTN:
      if (!PassOn(Message)) return;
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
      return;
    case WM_CTLCOLORSTATIC:
      if (!PassOn(Message)) return;
      if (!FForm && fsd && fsd->BGBrush) {
        SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
        Message.Result = reinterpret_cast<LRESULT>(fsd->BGBrush.Get());
      }
      return;
    case WM_INITMENUPOPUP:
      if (SkinManager) SkinManager->menutype =
            reinterpret_cast<HMENU>(Message.WParam) == hsysmenu ? TMenuType::System : TMenuType::MenuBar;
      CallPrevWndProc(Message);
      return;
    case WM_NCACTIVATE:
      if (Skinstate == TSkinFormState::New && frame.FormStyle != sfsMDIChild) {
        Message.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  if (!sMainMenu || ((dwstyle & WS_CHILD) && frame.FormStyle != sfsMDIChild)) {
    CallPrevWndProc(Message);
    return;
  }

  switch (msg) {
    case WM_SIZE:
      WMSize(Message);
      return;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      frame.FWindowActive = (Message.WParam & 0xFF) != 0;
      break;
    case WM_GETMINMAXINFO:
      if (!PassOn(Message)) return;
      UpdateWindowState();
      return;
    case WM_WINDOWPOSCHANGED:
      UpdateWindowState();
      CallPrevWndProc(Message);
      return;
    case WM_SETICON:
      if (!PassOn(Message)) return;
      DrawWindowIcon();
      return;
    case WM_SETTEXT:
      WMSetText(Message, &TWinSkinForm::CallPrevWndProc);
      return;
    case WM_COMMAND:
      WMCommand(Message);
      return;
    case WM_SYSCOMMAND:
      WMSysCommand(Message);
      return;
    case SM_POPUPMENUBAR:
      SMPopupMenuBar(Message);
      return;
    case CM_MENUCHANGED:
      CMMenuChanged(Message);
      return;
    case WM_DRAWITEM:
      WMDrawItem(Message);
      return;
    case WM_MEASUREITEM:
      WMMeasureItem(Message);
      return;
    default:
      break;
  }

  if (!TakesFrameMessages() || !FrameMessage(Message)) CallPrevWndProc(Message);
}

void TWinSkinForm::CallPrevWndProc(TMessage& Message) { FWndSubclass.CallPrev(Message); }

bool TWinSkinForm::TakesFrameMessages() const {
  return Skinstate != TSkinFormState::New && !(frame.FormStyle == sfsMDIChild && frame.Windowstate == swsMax);
}

bool TWinSkinForm::PassOn(TMessage& Message) {
  const TLifeToken alive = alive_.Token();
  CallPrevWndProc(Message);
  return static_cast<bool>(alive);
}

void TWinSkinForm::FormWindowProc(TMessage& Message) {
  CallScope scope(this);
  switch (Message.Msg) {
    case SM_SKINCHANGED:
      SkinChange();
      return;
    case WM_SETTEXT:
      // Through the window procedure the title arrives here held already
      // (and hidden); what the class library performs on the form object
      // alone is handled the same way.
      WMSetText(Message, &TWinSkinForm::CallOldWndProc);
      return;
    case SM_PAINTBORDER:
      if (static_cast<uintptr_t>(Message.LParam) == SkinPaintMagic) {
        if (Message.WParam) PaintNC(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = static_cast<LRESULT>(SkinPaintMagic);
      }
      return;
    case SM_SKINFORMQUERY:
      Message.Result = static_cast<uintptr_t>(Message.LParam) == SkinPaintMagic ? static_cast<LRESULT>(SkinPaintMagic) : 1;
      return;
    case CM_DIALOGCHAR: {
      // The form's own handling comes first; the bar takes what it leaves.
      const TLifeToken alive = alive_.Token();
      CallOldWndProc(Message);
      if (alive && !Message.Result) CMDialogChar(Message);
      return;
    }
    default:
      CallOldWndProc(Message);
  }
}

void TWinSkinForm::CallOldWndProc(TMessage& Message) {
  if (!formProcHook_.CallPrev(Message) && FForm) FForm->WndProc(Message);
}

void TWinSkinForm::WMSetText(TMessage& Message, void (TWinSkinForm::*passOn)(TMessage&)) {
  if (!IsWindowVisible(Hwnd) || !PaintsFrame(Skinstate)) {
    (this->*passOn)(Message);
    return;
  }
  const TLifeToken alive = alive_.Token();
  {
    const TCaptionHold hold(Hwnd);
    (this->*passOn)(Message);
  }
  if (!alive) return;
  if (frame.Windowstate == swsMax && SkinManager && SkinManager->clienthwnd)
    PostMessageW(SkinManager->clienthwnd, SM_MDIREDRAW, reinterpret_cast<WPARAM>(Hwnd), 0);
  if (frame.Windowstate == swsMin) PaintNC(nullptr);
  else Refresh();
}

void TWinSkinForm::MDIClientWndProc(TMessage& Message) {
  CallScope scope(this);
  const TLifeToken alive = alive_.Token();
  switch (Message.Msg) {
    case WM_NCDESTROY:
      CallMDIClientProc(Message);
      if (alive) RestoreMDIClientProc();
      return;
    case WM_NCCALCSIZE:
      // The client's own scroll bars stay off unless the skin wants them.
      if (sMainMenu && fsd && !InSet(fsd->fSkinOptions, xoMDIScrollbar)) {
        const LONG_PTR style = GetWindowLongPtrW(ClientHwnd, GWL_STYLE);
        const LONG_PTR bare = style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL);
        if (bare != style) SetWindowLongPtrW(ClientHwnd, GWL_STYLE, bare);
      }
      CallMDIClientProc(Message);
      return;
    case WM_MDICREATE:
      if (fsd) fsd->fmenuauto = false;
      CallMDIClientProc(Message);
      return;
    case WM_MDIDESTROY:
      CallMDIClientProc(Message);
      if (!alive || !sMainMenu) return;
      if (SkinManager) SkinManager->SetMDIMax(MDIChildMax());
      if (menuBar.menu && !SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0)) {
        if (fsd) fsd->fmenuauto = menuBar.menuauto;
        menuBar.menu->UpdataBtn();
      }
      return;
    case WM_MDISETMENU:
      // The frame's new menu (an MDI child's, while it is active) becomes
      // the skinned bar; the platform's bar stays off.
      CallMDIClientProc(Message);
      if (!alive || !sMainMenu) return;
      {
        const bool added = Message.WParam && GetMenu(Hwnd) && AddMenuBar();
        if (Message.WParam && menuBar.menu) menuBar.menu->UpdataBtn2();
        if (!alive) return;
        SetMenu(Hwnd, nullptr);
        if (added) Refresh();
      }
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (sMainMenu && SkinManager && SkinManager->MDIMax) SkinManager->SetMDIMax(false);
      CallMDIClientProc(Message);
      return;
    case SM_MDIREDRAW:
      RedrawWindow(Hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      Message.Result = 0;
      return;
    default:
      CallMDIClientProc(Message);
  }
}

void TWinSkinForm::CallMDIClientProc(TMessage& Message) { FMDISubclass.CallPrev(Message); }

void TWinSkinForm::WMSize(TMessage& Message) {
  if (!PassOn(Message)) return;
  frame.Windowstate = WindowStateFromSize(Message.WParam, frame.Windowstate);
  if (CropAfterSize(FrameShape(), Skinstate, SkinManager && SkinManager->MDIMax)) Cropwindow();
}

// The skinned system menu delivers its choices as WM_COMMAND.
void TWinSkinForm::WMCommand(TMessage& Message) {
  if (IsForwardedSysCommand(LOWORD(Message.WParam)))
    PostMessageW(Hwnd, WM_SYSCOMMAND, LOWORD(Message.WParam), 0);
  else
    CallPrevWndProc(Message);
}

void TWinSkinForm::WMSysCommand(TMessage& Message) {
  if (KeyMenu(Message)) return;
  // Alt+Space: the skinned system menu at the client origin. The window
  // (and with a form, this skin) may have gone while it was open.
  if (!menuBar.fInMenu && (Message.WParam & 0xFFF0) == SC_KEYMENU && LOWORD(Message.LParam) == u' ') {
    const TLifeToken alive = alive_.Token();
    PopupSystemMenu(ClientOriginOnScreen());
    if (!alive || Skinstate == TSkinFormState::Dead) return;
  }
  // The state follows the command whatever the menus made of the keys; a
  // command refused further down is corrected by the WM_SIZE and
  // WM_WINDOWPOSCHANGED that do (or do not) follow.
  frame.Windowstate = WindowStateFromSysCommand(Message.WParam, frame.Windowstate);
  if (Message.WParam == SC_RESTORE && frame.FormStyle == sfsMDIChild && SkinManager && SkinManager->MDIMax)
    SkinManager->SetMDIMax(false);
  CallPrevWndProc(Message);
}

void TWinSkinForm::TimerTick(TObject* /*Sender*/) {
  if (menuBar.fInMenu) return;
  POINT c{};
  if (!GetCursorPos(&c)) return;
  if (frame.ActiveBtn) {
    const TPoint pt = ScreenToWindow(TPoint{c.x, c.y});
    const TRect b = frame.ActiveBtn->bounds;
    auto* button = dynamic_cast<TWinSysButton*>(frame.ActiveBtn);
    if (pt.X < b.Left || pt.X >= b.Right || pt.Y < b.Top || pt.Y >= b.Bottom) {
      frame.ActiveBtn->MouseLeave();
      frame.ActiveBtn = nullptr;
      ResetHint();
    } else if (button && button->data && fsd) {
      // Whatever the button's state: a disabled one says what it would do.
      // The pauses are the application's, read at every tick so that a
      // change shows at once; without an application object, its defaults.
      const int hintPause = Application ? Application->HintPause() : 500;
      const int hintHidePause = Application ? Application->HintHidePause() : 2500;
      frame.hintcount += timer ? static_cast<int>(timer->Interval()) : 250;
      switch (HintStep(frame.hintcount, hintPause, hintHidePause)) {
        case THintStep::Wait:
          break;
        case THintStep::Show: {
          const StringView hint = GetButtonHint(button->data->Action);
          if (hint.empty()) break;
          RECT wr{};
          GetWindowRect(Hwnd, &wr);
          fsd->ActivateHint(Rect(wr.left + b.Left, c.y + 24, wr.left + b.Left, c.y + 24), hint);
          break;
        }
        case THintStep::Hide:
          fsd->HideHint();
          break;
      }
    }
  }
  // A raw window's controls get no mouse-leave of the class library.
  if (!FForm && controls.Activeskincontrol) {
    const TRect& r = controls.Activeskincontrol->boundsrect;
    if (c.x < r.Left || c.x >= r.Right || c.y < r.Top || c.y >= r.Bottom) controls.LeaveActive();
  }
}

}  // namespace qv
