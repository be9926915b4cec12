#include "skin/windows/WinSkinMenu.h"

#include "platform/core/TypInfo.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/SkinMessages.h"
#include "skin/windows/WinSkinForm.h"

namespace qv {

// ---------------------------------------------------------------------------
// TWinSkinMenu

const TClassInfo& TWinSkinMenu::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWinSkinMenu>(u"TWinSkinMenu", TComponent::StaticClass()).Done();
  return info;
}

TWinSkinMenu::TWinSkinMenu(TComponent* Owner) : TComponent(Owner), bkmap(std::make_unique<TBitmap>()) {}

TWinSkinMenu::~TWinSkinMenu() = default;

void TWinSkinMenu::UpdataBtn() {
  if (!SF) return;
  if (HMENU m = GetMenu(SF->Hwnd)) hmenu = m;
  if (!hmenu) return;
  if (SF->FForm) return;
  count = GetMenuItemCount(hmenu);
  if (count <= 0) return;
  SetMenu(SF->Hwnd, nullptr);
}

// ---------------------------------------------------------------------------
// TWinSkinPopMenu

TWinSkinPopMenu::TWinSkinPopMenu() : MenuBg(std::make_unique<TBitmap>()) {}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  UnSubClass();
  if (SkinManager) SkinManager->RemovePopMenu(this);
}

void TWinSkinPopMenu::InitSkin(HWND ahwnd, TSkinData* sd, HMENU amenu) {
  hwnd = ahwnd;
  fsd = sd;
  hmenu = amenu;
  subclass_.Install(hwnd, [this](TMessage& m) { PopMenuWndProc(m); });
  ownerdraw = false;
}

void TWinSkinPopMenu::UnSubClass() {
  if (!subclass_.Installed()) return;
  if (crop && clientRgn) DeleteObject(clientRgn);
  crop = false;
  clientRgn = nullptr;
  subclass_.Remove();
  MenuBg->Clear();
}

void TWinSkinPopMenu::CallPrevWndProc(TMessage& Message) { subclass_.CallPrev(Message); }

void TWinSkinPopMenu::PopMenuWndProc(TMessage& Message) {
  if (Message.Msg == SM_QUERYSKINNED) {
    Message.Result = 1;
    return;
  }
  if (!SkinManager || !SkinManager->active) {
    CallPrevWndProc(Message);
    return;
  }
  done = false;
  if (Message.Msg == WM_DESTROY) UnSubClass();
  CallPrevWndProc(Message);
}

// ---------------------------------------------------------------------------
// The class-library menus of a skinned form. Its popup and main menus get
// owner-draw handlers with the menu painting; this class library's forms
// carry none yet, so there is nothing to install or remove.

void TWinSkinForm::InitPopMenu(TWinControl* /*wForm*/, bool /*Enable*/, bool /*Update*/) {}

void TWinSkinForm::InitMainMenu(TWinControl* /*wForm*/, bool /*Enable*/, bool /*Update*/) {}

}  // namespace qv
