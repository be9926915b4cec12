// A skinned window's menus outside its menu bar: the skinned system menu, a
// class-library popup menu built from the window's native one whenever it
// is about to open (so the enabled states follow the window state of that
// moment), and the owner-draw handlers the skin puts on the popup and main
// menus of a form.
#include "platform/win/Menus.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"

namespace qv {

namespace {

constexpr intptr_t kSysMenuTag = 0x8235;
// Native entries are read with room for 160 characters and shown with 80.
constexpr int kSysTextBuffer = 160;
constexpr int kSysTextShown = 80;

bool BeforeNT5() {
  return IsWinNT && LOBYTE(LOWORD(CurrentSkinPlatform().Version)) < 5;
}

TPopupMenu* NewSystemMenu(TWinSkinForm* owner, TSkinData* fsd) {
  auto* menu = new TPopupMenu(owner);
  menu->SetTag(kSysMenuTag);
  menu->SetOwnerDraw(true);
  menu->SetImages(fsd ? fsd->bmpmenu.get() : nullptr);
  return menu;
}

// Applies fn to every item below root, with its depth (root's children 1).
template <typename Fn>
void ForEachItem(TMenuItem* root, int depth, Fn&& fn) {
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    fn(item, depth);
    ForEachItem(item, depth + 1, fn);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// The skinned system menu

void TWinSkinForm::HookSysMenuItem(TMenuItem* item) {
  item->OnDrawItem = [this](TObject* s, TCanvas& c, const TRect& r, bool sel) { DrawMenuItem(s, c, r, sel); };
  item->OnMeasureItem = [this](TObject* s, TCanvas& c, int& w, int& h) { MeasurePopupItem(s, c, w, h); };
}

void TWinSkinForm::BuildSystemMenu() {
  delete sysmenu;
  sysmenu = nullptr;
  if (BeforeNT5()) {
    BuildFixedSystemMenu();
    return;
  }
  if (!hsysmenu) return;
  sysmenu = NewSystemMenu(this, fsd);
  const int count = GetMenuItemCount(hsysmenu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[kSysTextBuffer] = {};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = kSysTextBuffer;
    if (!GetMenuItemInfoW(hsysmenu, static_cast<UINT>(i), TRUE, &mi)) continue;
    text[kSysTextShown] = 0;
    auto* item = new TMenuItem(sysmenu);
    item->SetCaption(text[0] ? String(reinterpret_cast<const char16_t*>(text)) : String(u"-"));
    item->SetTag(static_cast<intptr_t>(mi.wID));
    const bool max = frame.Windowstate == swsMax;
    switch (mi.wID) {
      case SC_SIZE:
      case SC_MOVE:
        item->SetEnabled(!max);
        break;
      case SC_MINIMIZE:
        item->SetImageIndex(2);
        item->SetEnabled(frame.Windowstate != swsMin && (frame.FormIcons & (1u << sbiMin)));
        break;
      case SC_MAXIMIZE:
        item->SetImageIndex(1);
        item->SetEnabled(!max && (frame.FormIcons & (1u << sbiMax)));
        break;
      case SC_CLOSE:
        item->SetImageIndex(3);
        break;
      case SC_RESTORE:
        item->SetImageIndex(0);
        item->SetEnabled(frame.Windowstate != swsNormal);
        break;
      default:
        break;
    }
    item->OnClick = [this](TObject* s) { SysMenuCommandClick(s); };
    // Grayed or disabled, whatever else the state holds: the default entry
    // (Close) and a highlighted one carry further bits, and a system may
    // report a grayed entry with the grayed bit alone.
    if (mi.fState & MFS_GRAYED) item->SetEnabled(false);
    if (mi.fState & MFS_CHECKED) item->SetChecked(true);
    HookSysMenuItem(item);
    sysmenu->Items()->Add(item);
  }
}

void TWinSkinForm::BuildFixedSystemMenu() {
  delete sysmenu;
  sysmenu = NewSystemMenu(this, fsd);
  AddSysMenuitem(u" Restore ", 0);
  if (frame.FormIcons & (1u << sbiMax)) AddSysMenuitem(u" Maximize ", 1);
  if (frame.FormIcons & (1u << sbiMin)) AddSysMenuitem(u" Minimize ", 2);
  AddSysMenuitem(u"-", 100);
  AddSysMenuitem(u" Close ", 3);
}

void TWinSkinForm::AddSysMenuitem(const String& caption, int action) {
  if (!sysmenu) return;
  auto* item = new TMenuItem(sysmenu);
  item->SetCaption(caption);
  item->SetTag(action);
  item->SetImageIndex(action);
  item->OnClick = [this](TObject* s) { SysMenuItemClick(s); };
  HookSysMenuItem(item);
  if (action == 3) item->SetShortCut(TextToShortCut(u"ALT+F4"));
  sysmenu->Items()->Add(item);
}

bool TWinSkinForm::HasCloseItem() {
  if (BeforeNT5() || !IsWinNT) return true;
  if (!hsysmenu) return false;
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STATE;
  return GetMenuItemInfoW(hsysmenu, SC_CLOSE, FALSE, &mi) != 0;
}

void TWinSkinForm::PopupSystemMenu(TPoint screen) {
  if (mode != 0) return;
  const DWORD now = GetTickCount();
  if (DoubleTime < 0 || now - poptime > static_cast<DWORD>(DoubleTime)) {
    if (SkinManager) SkinManager->menutype = TMenuType::System;
    poptime = now;
    BuildSystemMenu();
    // Modal: the chosen item's click runs inside; its commands are posted,
    // so nothing of this skin but the flag is touched after the menu closes.
    if (sysmenu) {
      const TLifeToken alive = alive_.Token();
      sysMenuOpen_ = true;
      sysmenu->Popup(screen.X, screen.Y);
      if (alive) sysMenuOpen_ = false;
    }
  } else if (frame.ActiveBtn) {
    // The second click on the icon button within the double-click time.
    if (timer) timer->SetEnabled(false);
    PostMessageW(Hwnd, WM_CLOSE, 0, 0);
  }
}

void TWinSkinForm::EndOpenMenu() {
  if (sysMenuOpen_) EndMenu();
}

void TWinSkinForm::SysMenuItemClick(TObject* Sender) {
  auto* item = As<TMenuItem>(Sender);
  if (!item) return;
  switch (item->Tag()) {
    case 0:
      Restore();
      break;
    case 1:
      Maximize();
      break;
    case 2:
      Minimize();
      break;
    case 3:
      if (timer) timer->SetEnabled(false);
      PostMessageW(Hwnd, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void TWinSkinForm::SysMenuCommandClick(TObject* Sender) {
  if (auto* item = As<TMenuItem>(Sender)) PostMessageW(Hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

bool TWinSkinForm::WMNCRButtonDown(TMessage& Message) {
  if (fsd) fsd->HideHint();
  if (Message.WParam != HTCAPTION || frame.FormStyle == sfsMDIChild) return false;
  Message.Result = 0;
  PopupSystemMenu(PointFromLParam(Message.LParam));
  return true;
}

TPoint TWinSkinForm::ClientOriginOnScreen() const {
  POINT p{0, 0};
  ClientToScreen(Hwnd, &p);
  return TPoint{p.x, p.y};
}

// ---------------------------------------------------------------------------
// The class-library menus of a form

void TWinSkinForm::InitPopMenu(TWinControl* wForm, bool Enable, bool Update) {
  if (FForm && FForm->ClassName() == u"TwwRichEditForm") return;
  if (!wForm || !fsd) return;
  for (int i = 0; i < wForm->ComponentCount(); ++i) {
    TComponent* c = wForm->Components(i);
    if (auto* form = As<TCustomForm>(c)) {
      InitPopMenu(form, Enable, Update);
      continue;
    }
    auto* menu = As<TPopupMenu>(c);
    if (!menu || menu->Tag() == fsd->DisableTag() || !InSet(fsd->SkinControls(), xcPopupMenu)) continue;
    menu->SetOwnerDraw(Enable);
    ForEachItem(menu->Items(), 1, [&](TMenuItem* item, int) {
      if (Enable) {
        item->OnDrawItem = [this](TObject* s, TCanvas& cv, const TRect& r, bool sel) { DrawMenuItem(s, cv, r, sel); };
        if (!item->OnMeasureItem)
          item->OnMeasureItem = [this](TObject* s, TCanvas& cv, int& w, int& h) { MeasurePopupItem(s, cv, w, h); };
      } else {
        item->OnDrawItem = nullptr;
        item->OnMeasureItem = nullptr;
      }
    });
  }
}

void TWinSkinForm::InitMainMenu(TWinControl* wForm, bool Enable) {
  if (!wForm) return;
  for (int i = 0; i < wForm->ComponentCount(); ++i) {
    auto* menu = As<TMainMenu>(wForm->Components(i));
    if (!menu) continue;
    menu->SetOwnerDraw(Enable);
    ForEachItem(menu->Items(), 1, [&](TMenuItem* item, int depth) {
      if (!Enable) {
        item->OnDrawItem = nullptr;
        item->OnMeasureItem = nullptr;
        return;
      }
      // The bar's own items are the skinned menu bar's to draw, and an item
      // that draws itself keeps both of its handlers.
      if (depth < 2 || item->OnDrawItem) return;
      item->OnDrawItem = [this](TObject* s, TCanvas& cv, const TRect& r, bool sel) { DrawMenuItem(s, cv, r, sel); };
      item->OnMeasureItem = [this](TObject* s, TCanvas& cv, int& w, int& h) { MeasureItem(s, cv, w, h); };
    });
  }
}

}  // namespace qv
