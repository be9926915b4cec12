// The skinned menu bar. The window keeps its menu but not the platform's
// bar: TWinSkinMenu reads the top-level items into buttons and paints them
// in the strip below the caption; a button opens its item's drop-down with
// TrackPopupMenu. While a drop-down is open a WH_MSGFILTER hook (one for the
// program: only one bar menu is ever open) watches the menu's own loop, so
// that the arrow keys and the mouse move on to the neighbouring buttons as
// on a native bar. A move closes the open drop-down and posts a click on
// the target button, which opens once TrackPopupMenu has returned.
#include <algorithm>

#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/Menus.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/FrameLayout.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

HHOOK MenuFilterHook = nullptr;
TWinSkinForm* MenuTrackForm = nullptr;
int MenuTrackIndex = -1;
TMenuItem* MenuTrackItem = nullptr;
bool MenuSwitching = false;

namespace {

constexpr size_t kItemText = 80;  // longer item texts are cut

TPoint lastMousePos{-32768, -32768};
bool downPosted = false;
// A click that arrived while another drop-down was still open has been
// posted again once; a second one is dropped rather than circling.
bool switchReposted = false;

bool OldMenuSystem() {
  const DWORD v = CurrentSkinPlatform().Version;
  const int major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
  return (IsWinNT && major < 5) || (major == 4 && minor == 0);
}

bool IsNT4() {
  const DWORD v = CurrentSkinPlatform().Version;
  return IsWinNT && LOBYTE(LOWORD(v)) == 4;
}

TColor SkinColor(TSkinData* sd, TSchemeColor slot) { return sd ? sd->Colors[slot] : clBtnText; }

// The accelerator of a caption: the character after a single "&", or 0.
char16_t AccelOf(StringView caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return caption[i + 1];
    ++i;  // "&&" is a plain "&"
  }
  return 0;
}

// The system's case mapping of one character (letters of any script).
char16_t UpperChar(char16_t c) {
  return static_cast<char16_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

// The drop-downs open below the bar's one: their chain of highlighted
// items followed through the visible menu windows of this thread.
struct TOpenMenus {
  int depth = 0;           // 1: only the bar's drop-down is open
  HMENU deepest = nullptr;  // the innermost open menu
  int selected = -1;       // its highlighted item, -1 for none
};

BOOL CALLBACK CollectMenuWindow(HWND w, LPARAM lp) {
  if (IsWindowVisible(w) && GetWndClassName(w) == u"#32768")
    reinterpret_cast<std::vector<HMENU>*>(lp)->push_back(reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0)));
  return TRUE;
}

int HighlightedItem(HMENU m) {
  const int n = GetMenuItemCount(m);
  for (int i = 0; i < n; ++i)
    if (GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

TOpenMenus OpenMenus(HMENU dropDown) {
  std::vector<HMENU> shown;
  EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&shown));
  TOpenMenus open;
  HMENU m = dropDown;
  while (m && std::find(shown.begin(), shown.end(), m) != shown.end() && open.depth < 16) {
    ++open.depth;
    open.deepest = m;
    open.selected = HighlightedItem(m);
    m = open.selected >= 0 ? GetSubMenu(m, open.selected) : nullptr;
  }
  return open;
}

// Turns the skin's drawing of every item of menu and its submenus on or
// off. Only the type is written: with MIIM_TYPE the text pointer would be
// taken for item data and the text lost. Turning it off touches only the
// items the skin turned on, those with a text (or lines): an application's
// own owner-drawn items carry none.
void SetOwnerDraw(HMENU menu, bool on, int depth) {
  if (!menu || depth > 16) return;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    const bool drawn = mii.fType & MFT_OWNERDRAW;
    const bool ours = mii.cch > 0 || (mii.fType & MFT_SEPARATOR);
    if (on ? !drawn : (drawn && ours)) {
      MENUITEMINFOW set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = on ? mii.fType | MFT_OWNERDRAW : mii.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
    }
    if (mii.hSubMenu) SetOwnerDraw(mii.hSubMenu, on, depth + 1);
  }
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam);

void InstallMenuFilter() {
  if (MenuFilterHook) return;
  MenuSwitching = false;
  downPosted = false;
  POINT c{};
  GetCursorPos(&c);
  lastMousePos = TPoint{c.x, c.y};
  MenuFilterHook = SetWindowsHookExW(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuFilter() {
  if (MenuFilterHook) UnhookWindowsHookEx(MenuFilterHook);
  MenuFilterHook = nullptr;
  MenuTrackItem = nullptr;
  MenuTrackIndex = -1;
  MenuTrackForm = nullptr;
}

TMenuBtn* Neighbour(TWinSkinMenu& bar, int step) {
  const int n = static_cast<int>(bar.Buttons.size());
  if (n == 0 || MenuTrackIndex < 0) return nullptr;
  const int i = ((MenuTrackIndex + step) % n + n) % n;
  return bar.Buttons[static_cast<size_t>(i)].get();
}

bool IsKeyMessage(UINT msg) { return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP; }

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  TWinSkinForm* sf = MenuTrackForm;
  TWinSkinMenu* bar = sf ? sf->menuBar.menu : nullptr;
  // A right-to-left bar runs the other way: Left means the next button.
  if (code == MSGF_MENU && msg && bar && bar->RightToLeft() && IsKeyMessage(msg->message)) {
    if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
    else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
  }
  const LRESULT next = CallNextHookEx(MenuFilterHook, code, wParam, lParam);
  if (next || code != MSGF_MENU || !msg || !bar) return next;
  if (!downPosted) {
    // The drop-down opens with its first item selected.
    downPosted = true;
    PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  const size_t open = static_cast<size_t>(MenuTrackIndex);
  HMENU dropDown = MenuTrackIndex >= 0 && open < bar->Buttons.size() ? bar->Buttons[open]->hsubmenu : nullptr;
  TMenuBtn* target = nullptr;
  switch (msg->message) {
    case WM_KEYDOWN:
      switch (msg->wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
          MenuSwitching = false;
          break;
        case VK_LEFT:
          // In a deeper submenu Left only closes that submenu.
          if (OpenMenus(dropDown).depth <= 1) target = Neighbour(*bar, -1);
          break;
        case VK_RIGHT: {
          // Right on an item with a submenu opens it.
          const TOpenMenus m = OpenMenus(dropDown);
          if (!(m.deepest && m.selected >= 0 && GetSubMenu(m.deepest, m.selected))) target = Neighbour(*bar, 1);
          break;
        }
        default:
          break;
      }
      break;
    case WM_SYSKEYDOWN:
      if (msg->wParam == VK_MENU) {
        sf->LeaveMenuMode();
        return next;
      }
      break;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(msg->wParam);
      if (flags == 0xFFFF && msg->lParam == 0) {
        if (!MenuSwitching) sf->LeaveMenuMode();
        break;
      }
      MenuSwitching = false;
      if (TMainMenu* m = bar->LiveMenu()) {
        HMENU from = reinterpret_cast<HMENU>(msg->lParam);
        MenuTrackItem = (flags & MF_POPUP)
                            ? m->FindItem(reinterpret_cast<UINT_PTR>(GetSubMenu(from, LOWORD(msg->wParam))), fkHandle)
                            : m->FindItem(LOWORD(msg->wParam), fkCommand);
      }
      break;
    }
    case WM_MOUSEMOVE: {
      const TPoint pos{msg->pt.x, msg->pt.y};
      if (pos.X == lastMousePos.X && pos.Y == lastMousePos.Y) break;
      lastMousePos = pos;
      target = bar->FindBtn(sf->ScreenToWindow(pos));
      break;
    }
    default:
      break;
  }
  if (target && target->index != MenuTrackIndex) {
    MenuSwitching = true;
    // The open drop-down closes first; the click on the target is handled
    // once its TrackPopupMenu has returned.
    EndMenu();
    sf->ClickButton(target);
  }
  return next;
}

}  // namespace

// ---------------------------------------------------------------------------
// TWinSkinMenu: the buttons

const TClassInfo& TWinSkinMenu::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWinSkinMenu>(u"TWinSkinMenu", TComponent::StaticClass()).Done();
  return info;
}

TWinSkinMenu::TWinSkinMenu(TComponent* Owner) : TComponent(Owner), bkmap(std::make_unique<TBitmap>()) {}

TWinSkinMenu::~TWinSkinMenu() {
  // Freed while its drop-down is open (the window's skin goes inside the
  // menu's loop): the hook stops reading the bar and the menu closes.
  if (SF && MenuTrackForm == SF) {
    MenuTrackForm = nullptr;
    EndMenu();
  }
  FreeButtons();
  if (hmenu && IsMenu(hmenu)) SetOwnerDraw(hmenu, false, 0);
}

void TWinSkinMenu::FreeButtons() {
  // Each button lets go of ActiveBtn as it goes; the open drop-down is
  // found again by index, never by a pointer kept across a rebuild.
  std::vector<std::unique_ptr<TMenuBtn>> old;
  old.swap(Buttons);
  old.clear();
}

void TWinSkinMenu::AddRawButton(int position) {
  MENUITEMINFOW mii{};
  wchar_t text[kItemText + 1]{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
  mii.dwTypeData = text;
  mii.cch = kItemText;
  auto b = std::make_unique<TMenuBtn>(SF, FSD);
  b->FSD = FSD;
  b->index = position;
  if (GetMenuItemInfoW(hmenu, static_cast<UINT>(position), TRUE, &mii)) {
    b->hsubmenu = mii.hSubMenu;
    b->enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    b->mid = static_cast<int>(mii.wID);
    if (!(mii.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW))) b->caption = String(reinterpret_cast<const char16_t*>(text));
  }
  b->visible = true;
  Buttons.push_back(std::move(b));
}

namespace {

// A button's facts from its class-library item.
void TakeItem(TMenuBtn& b, TMenuItem* item) {
  b.caption = item->Caption();
  b.enabled = item->Enabled();
  b.menuitem = item;
  b.hsubmenu = item->Count() > 0 ? item->Handle() : nullptr;
}

TMainMenu* FormMenu(TWinSkinForm* sf) {
  auto* form = As<TCustomForm>(sf ? sf->FForm : nullptr);
  return form ? form->Menu() : nullptr;
}

}  // namespace

void TWinSkinMenu::UpdataBtn() {
  if (!SF) return;
  if (OldMenuSystem()) {
    UpdataBtn1();
    return;
  }
  if (HMENU m = GetMenu(SF->Hwnd)) hmenu = m;
  if (!hmenu) return;
  if (SF->FForm) {
    menu = FormMenu(SF);
    if (!menu) return;
  }
  FreeButtons();
  count = GetMenuItemCount(hmenu);
  if (count <= 0) {
    count = 0;
    return;
  }
  for (int i = 0; i < count; ++i) {
    AddRawButton(i);
    if (!menu) continue;
    TMenuBtn& b = *Buttons.back();
    TMenuItem* item = menu->FindItem(static_cast<UINT>(b.mid), fkCommand);
    if (!item && b.hsubmenu) item = menu->FindItem(reinterpret_cast<UINT_PTR>(b.hsubmenu), fkHandle);
    if (item) TakeItem(b, item);
  }
  SetMenu(SF->Hwnd, nullptr);
}

void TWinSkinMenu::UpdataBtn1() { ButtonsFromMainMenu(false); }

void TWinSkinMenu::UpdataBtn2() {
  if (!SF) return;
  if (HMENU m = GetMenu(SF->Hwnd)) hmenu = m;
  if (!hmenu) return;
  if (SF->FForm) menu = FormMenu(SF);
  FreeButtons();
  count = std::max(GetMenuItemCount(hmenu), 0);
  for (int i = 0; i < count; ++i) {
    AddRawButton(i);
    TMenuBtn& b = *Buttons.back();
    if (!menu || !b.caption.empty()) continue;
    if (TMenuItem* item = menu->FindItem(static_cast<UINT>(b.mid), fkCommand)) {
      TakeItem(b, item);
      b.mid = static_cast<int>(item->Command());
    }
  }
  SetMenu(SF->Hwnd, nullptr);
  SetMenuRect();
}

void TWinSkinMenu::UpdataBtn3() {
  if (ButtonsFromMainMenu(true)) SF->frame.ActiveBtn = nullptr;
}

// One button per item of the form's main menu; hidden items stay hidden
// unless allVisible. False when there is no main menu to build from.
bool TWinSkinMenu::ButtonsFromMainMenu(bool allVisible) {
  if (!SF) return false;
  menu = FormMenu(SF);
  if (!menu) return false;
  FreeButtons();
  TMenuItem* root = menu->Items();
  count = root->Count();
  for (int i = 0; i < count; ++i) {
    TMenuItem* item = root->Items(i);
    auto b = std::make_unique<TMenuBtn>(SF, FSD);
    b->FSD = FSD;
    b->index = i;
    b->visible = allVisible || item->Visible();
    b->mid = static_cast<int>(item->Command());
    TakeItem(*b, item);
    Buttons.push_back(std::move(b));
  }
  SetMenu(SF->Hwnd, nullptr);
  return true;
}

TMainMenu* TWinSkinMenu::LiveMenu() const { return menu && FormMenu(SF) == menu ? menu : nullptr; }

bool TWinSkinMenu::RightToLeft() const {
  if (TMainMenu* m = LiveMenu()) return m->IsRightToLeft();
  // A raw menu says so with the type of its items.
  if (!hmenu || !IsMenu(hmenu) || GetMenuItemCount(hmenu) <= 0) return false;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(hmenu, 0, TRUE, &mii) && (mii.fType & MFT_RIGHTORDER);
}

TMenuBtn* TWinSkinMenu::FindBtn(TPoint pt) const {
  for (const auto& b : Buttons) {
    const TRect& r = b->bounds;
    if (!b->caption.empty() && pt.X >= r.Left && pt.X < r.Right && pt.Y >= r.Top && pt.Y < r.Bottom) return b.get();
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// TWinSkinMenu: layout and painting

void TWinSkinMenu::Layout(HDC dc, const TRect& B, bool mdiButtons) {
  if (B.Width() <= 0 || B.Height() <= 0) return;
  const bool rtl = RightToLeft();
  int d = 6;
  if (FSD && FSD->Menubar) d = rtl ? FSD->Menubar->r.Right + 8 : FSD->Menubar->r.Left + 4;
  if (d > B.Width()) d = 12;
  int x = rtl ? B.Width() - d : d;
  if (rtl && mdiButtons && SF->frame.FormStyle == sfsMDIform && SF->MDIChildMax()) {
    // The maximised child's caption buttons sit at the bar's right end.
    for (const auto& s : SF->frame.SysBtn)
      if (s->data && s->data->Visibility == 100 && SysButtonHasImage(*s->data))
        x = std::min(x, s->bounds.Left - 5 - B.Left);
  }
  for (auto& b : Buttons) {
    if (!b->visible) {
      b->bounds = TRect{};
      continue;
    }
    RECT m{0, 0, 0, 0};
    SkinDrawText(dc, b->caption, m, DT_CALCRECT | DT_NOCLIP);
    const int measured = m.right - m.left;
    const int w = measured > 0 ? measured + 10 : 0;
    if (rtl) {
      b->bounds = Rect(B.Left + x - w, B.Top, B.Left + x, B.Bottom - 1);
      x -= w;
    } else {
      b->bounds = Rect(B.Left + x, B.Top, B.Left + x + w, B.Bottom - 1);
      x += w;
    }
  }
}

void TWinSkinMenu::SetMenuRect() {
  if (!SF || !SkinScratchBitmap) return;
  const TSkinFrame& f = SF->frame;
  const TRect B = Rect(f.bw.Left, f.bw.Top, f.fwidth - f.bw.Right, f.bw.Top + f.MenuHeight);
  if (B.Width() <= 0 || B.Height() <= 0) return;
  SkinScratchBitmap->SetSize(B.Width(), B.Height());
  TCanvas& canvas = BitmapCanvas(*SkinScratchBitmap);
  HDC dc = canvas.Handle();
  SelectGuard menuFont(dc, Screen().MenuFont().Handle());
  Layout(dc, B, false);
}

void TWinSkinMenu::DrawMenu(HDC dc, const TRect& rect) {
  if (!SF || !FSD || !SkinScratchBitmap || rect.Width() <= 0 || rect.Height() <= 0) return;
  const int W = rect.Width(), H = rect.Height();
  TBitmap& scratch = *SkinScratchBitmap;
  scratch.SetSize(W, H);
  TCanvas& canvas = BitmapCanvas(scratch);
  HDC bdc = canvas.Handle();
  const TRect local = Rect(0, 0, W, H);

  TDataSkinObject* e = FSD->Menubar.get();
  if (HasPicture(e)) {
    const int image = !SF->frame.FWindowActive && e->frame >= 2 ? 2 : 1;
    if (e->Tile == 1) DrawSkinImage(bdc, local, *e->Map, false, true, false, e->frame, image, e->r);
    else StretchSkinFrame(canvas, local, *e->Map, false, false, e->frame, image, e->r);
  } else {
    FillRect(scratch, local, ColorToRGB(SkinColor(FSD, scMenubar)));
  }
  Bar = rect;
  bkmap->Assign(scratch);

  canvas.Font().Assign(Screen().MenuFont());
  SetBkMode(bdc, TRANSPARENT);
  topmenu = true;
  {
    SelectGuard menuFont(bdc, canvas.Font().Handle());
    Layout(bdc, rect, true);
  }
  for (auto& b : Buttons) {
    if (!b->visible || b->bounds.Width() <= 0) continue;
    const TRect r = Rect(b->bounds.Left - rect.Left, 0, b->bounds.Right - rect.Left, H - 1);
    canvas.Font().SetColor(SkinColor(FSD, b->enabled ? scMenuBarText : scButtonShadow));
    DrawCenteredText(canvas, r, b->caption, true, taCenter);
  }
  topmenu = false;

  if (SF->frame.FormStyle == sfsMDIform && SF->MDIChildMax()) {
    for (const auto& s : SF->frame.SysBtn) {
      if (!s->data || s->data->Visibility != 100 || !SysButtonHasImage(*s->data)) continue;
      const TRect& b = s->bounds;
      const TRect& bw = SF->frame.bw;
      const TRect r = Rect(b.Left - bw.Left, b.Top - bw.Top, b.Right - bw.Left, b.Bottom - bw.Top);
      DrawSkinFrame(bdc, r, *s->data->Map, true, s->data->frame, 1);
    }
    if (SkinManager && !SkinManager->MDIMax) SkinManager->SetMDIMax(true);
  }
  BitBlt(dc, rect.Left, rect.Top, W, H, bdc, 0, 0, SRCCOPY);
}

void TMenuBtn::Draw() {
  TWinSkinMenu* bar = SF ? SF->menuBar.menu : nullptr;
  if (!bar || !visible || bar->bkmap->Empty() || bounds.Width() <= 0) return;
  if (!PaintsFrame(SF->Skinstate) || SF->frame.Windowstate == swsMin || SF->frame.MenuHeight <= 0 ||
      !IsWindow(SF->Hwnd))
    return;
  WindowDC dc(SF->Hwnd, WindowDC::Whole);
  if (!dc) return;
  const TRect& B = bar->Bar;
  BitBlt(dc, bounds.Left, B.Top, bounds.Width(), B.Height(), BitmapCanvas(*bar->bkmap).Handle(), bounds.Left - B.Left,
         0, SRCCOPY);
  if (state == TNCState::Pressed || state == TNCState::Hot) {
    const OwnedBrush brush(CreateSolidBrush(ColorToRGB(SkinColor(FSD, scButtonHilight))));
    const RECT r = ToRECT(bounds);
    FrameRect(dc, &r, brush);
  }
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font().Assign(Screen().MenuFont());
  canvas.Font().SetStyle(0);
  canvas.Font().SetColor(SkinColor(FSD, enabled ? scMenuBarText : scButtonShadow));
  DrawCenteredText(canvas, bounds, caption, true, taCenter);
  canvas.SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// TWinSkinForm: opening drop-downs

bool TWinSkinForm::CheckMenu(TMenuBtn* Button) {
  // One bar menu at a time: a second TrackPopupMenu would fail, and its
  // clean-up would take the open one's hook away.
  if (!Button || MenuFilterHook) return false;
  // Every click on a bar button reports its command.
  PostMessageW(Hwnd, WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(Button->mid)), 0);
  HMENU sub = Button->hsubmenu;
  if (!sub) return false;
  MenuTrackIndex = Button->index;
  MenuTrackForm = this;
  RECT wr{};
  GetWindowRect(Hwnd, &wr);
  frame.wTr = FromRECT(wr);
  if (!IsNT4()) SetSubMenusOwnerDraw(sub);
  menuBar.fInMenu = true;
  const int x = (frame.bidileft ? Button->bounds.Right : Button->bounds.Left) + frame.wTr.Left;
  const int y = Button->bounds.Bottom + frame.wTr.Top;
  const bool enabled = Button->enabled;
  if (SkinManager) {
    SkinManager->menutype = TMenuType::MenuBar;
    SkinManager->menuactive = true;
  }
  menuBar.activemenu = sub;
  InstallMenuFilter();
  // From here on Button may be freed: the modal loop can rebuild the bar,
  // and a form going away frees this skin with it.
  const TLifeToken alive = alive_.Token();
  if (enabled)
    TrackPopupMenu(sub, TPM_NONOTIFY | TPM_RIGHTBUTTON | (frame.bidileft ? TPM_RIGHTALIGN : 0u), x, y, 0, Hwnd,
                   nullptr);
  RemoveMenuFilter();
  if (alive) menuBar.fInMenu = false;
  return true;
}

void TWinSkinForm::ClickButton(TMenuBtn* Button) {
  if (!Button) return;
  RECT wr{};
  GetWindowRect(Hwnd, &wr);
  const int x = wr.left + Button->bounds.Left + 1, y = wr.top + Button->bounds.Top + 1;
  PostMessageW(Hwnd, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(static_cast<int16_t>(x), static_cast<int16_t>(y)));
}

TMenuBtn* TWinSkinForm::FindAccelButton(char16_t Char) {
  if (!menuBar.menu || !Char) return nullptr;
  const char16_t wanted = UpperChar(Char);
  for (const auto& b : menuBar.menu->Buttons) {
    const char16_t accel = AccelOf(b->caption);
    if (b->enabled && b->visible && accel && UpperChar(accel) == wanted) return b.get();
  }
  return nullptr;
}

void TWinSkinForm::LeaveMenuMode() { menuBar.fInMenu = false; }

void TWinSkinForm::SetSubMenusOwnerDraw(HMENU menu) { SetOwnerDraw(menu, true, 0); }

// ---------------------------------------------------------------------------
// TWinSkinForm: the bar's messages

void TWinSkinForm::SMPopupMenuBar(TMessage& Message) {
  Message.Result = 0;
  const TPoint pt = ScreenToWindow(PointFromLParam(Message.LParam));
  if (FindSysButton(pt) || !menuBar.menu) return;
  CheckMenu(menuBar.menu->FindBtn(pt));
}

bool TWinSkinForm::KeyMenu(TMessage& Message) {
  if (menuBar.fInMenu || (Message.WParam & 0xFFF0) != SC_KEYMENU) return false;
  const auto key = static_cast<char16_t>(LOWORD(Message.LParam));
  if (key == u' ' || key == u'-' || GetCapture()) return false;
  TMenuBtn* button = nullptr;
  if (key == 0) {
    if (menuBar.menu && !menuBar.menu->Buttons.empty()) button = menuBar.menu->Buttons.front().get();
  } else {
    button = FindAccelButton(key);
    if (!button) return false;
  }
  // Alt alone is consumed even without a bar.
  Message.Result = 1;
  CheckMenu(button);
  return true;
}

bool TWinSkinForm::MenuBarMouse(TMessage& Message) {
  if (!menuBar.menu) return false;
  const TPoint pt = ScreenToWindow(PointFromLParam(Message.LParam));
  TMenuBtn* button = menuBar.menu->FindBtn(pt);
  if (!button) return false;
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
      if (!frame.FWindowActive) return false;
      button->MouseEnter();
      Message.Result = 0;
      return true;
    case WM_NCLBUTTONDOWN: {
      if (fsd) fsd->HideHint();
      Message.Result = 0;
      if (menuBar.fInMenu) {
        // Another drop-down is still open (its loop dispatches posted
        // messages): close it and take the click again once it has gone.
        if (!switchReposted) {
          switchReposted = true;
          EndMenu();
          PostMessageW(Hwnd, Message.Msg, Message.WParam, Message.LParam);
        }
        return true;
      }
      switchReposted = false;
      const TLifeToken alive = alive_.Token();
      if (!frame.FWindowActive) {
        // Activation runs the window's handlers, which may rebuild the bar.
        SetForegroundWindow(Hwnd);
        if (!alive || !menuBar.menu) return true;
        button = menuBar.menu->FindBtn(pt);
        if (!button) return true;
      }
      button->MouseDown();
      CheckMenu(button);
      if (!alive) return true;
      // The bar may have been rebuilt while the drop-down was open.
      if (TMenuBtn* again = menuBar.menu ? menuBar.menu->FindBtn(pt) : nullptr) frame.ActiveBtn = again;
      return true;
    }
    case WM_NCLBUTTONUP:
      if (fsd) fsd->HideHint();
      Message.Result = 0;
      return true;
    default:
      return false;
  }
}

void TWinSkinForm::CMDialogChar(TMessage& Message) {
  const TLifeToken alive = alive_.Token();
  BYTE keys[256]{};
  GetKeyboardState(keys);
  auto down = [&keys](int vk) { return (keys[vk] & 0x80) != 0; };
  const bool alt = down(VK_MENU) || (Message.LParam & (1 << 29));
  const bool others = down(VK_SHIFT) || down(VK_CONTROL) || down(VK_LBUTTON) || down(VK_RBUTTON) || down(VK_MBUTTON);
  TMenuBtn* button = FindAccelButton(static_cast<char16_t>(Message.WParam));
  if (button && alt && !others) {
    ClickButton(button);
    Message.Result = 1;
    return;
  }
  // Not ours: the frame form's bar (an MDI child) or the main form's gets a try.
  // This class library has no modal forms.
  if (frame.FormStyle == sfsMDIChild) {
    if (SkinManager && SkinManager->MDIForm) SkinManager->MDIForm->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
  } else if (Application && Application->MainForm() && Application->MainForm() != FForm) {
    Application->MainForm()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
  }
  if (alive) Message.Result = 0;
}

// A window that gets its first menu only after it was skinned gets a bar
// for it too, rather than losing the menu when the platform's bar goes.
bool TWinSkinForm::AddMenuBar() {
  if (menuBar.menu || (dwstyle & WS_CHILD) || frame.FormStyle == sfsMDIChild) return false;
  menuBar.menu = new TWinSkinMenu(this);
  menuBar.menu->FSD = fsd;
  menuBar.menu->SF = this;
  frame.MenuHeight = GetSystemMetrics(SM_CYMENU);
  // What tells the owner-drawn items of this window's menus from others'.
  menuBar.hmenu = GetMenu(Hwnd);
  return true;
}

void TWinSkinForm::CMMenuChanged(TMessage& Message) {
  const TLifeToken alive = alive_.Token();
  const bool saved = fsd ? fsd->MenuMsg : true;
  if (fsd) fsd->MenuMsg = false;
  CallPrevWndProc(Message);
  if (!alive) return;
  if (fsd) fsd->MenuMsg = saved;
  HMENU m = GetMenu(Hwnd);
  if (!m) return;
  const bool barless = AddMenuBar();
  if (menuBar.menu && fsd && (fsd->fmenuauto || barless)) {
    menuBar.menu->hmenu = m;
    menuBar.menu->UpdataBtn();
  }
  SetMenu(Hwnd, nullptr);
  if (barless) Refresh();
}

}  // namespace qv
