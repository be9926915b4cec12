#include "platform/win/Menus.h"

#include <algorithm>

#include "platform/core/CallEvent.h"
#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"

namespace qv {

namespace {

// ---------------------------------------------------------------------------
// Command numbers: the smallest free one from 1 up, so that the numbers of
// live items stay small and 0 keeps meaning "nothing chosen".

std::vector<bool>& CommandsInUse() {
  static std::vector<bool> used(1, true);  // 0 is never given out
  return used;
}

UINT AllocateCommand() {
  auto& used = CommandsInUse();
  for (size_t i = 1; i < used.size(); ++i) {
    if (!used[i]) {
      used[i] = true;
      return static_cast<UINT>(i);
    }
  }
  if (used.size() > 0xFFFF) return 0;  // WM_COMMAND carries 16 bits
  used.push_back(true);
  return static_cast<UINT>(used.size() - 1);
}

void FreeCommand(UINT command) {
  auto& used = CommandsInUse();
  if (command > 0 && command < used.size()) used[command] = false;
}

// ---------------------------------------------------------------------------
// Short-cut names

struct KeyName {
  WORD key;
  const char16_t* name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, u"BkSp"},   {VK_TAB, u"Tab"},     {VK_ESCAPE, u"Esc"},   {VK_RETURN, u"Enter"}, {VK_SPACE, u"Space"},
    {VK_PRIOR, u"PgUp"},  {VK_NEXT, u"PgDn"},   {VK_END, u"End"},      {VK_HOME, u"Home"},    {VK_LEFT, u"Left"},
    {VK_UP, u"Up"},       {VK_RIGHT, u"Right"}, {VK_DOWN, u"Down"},    {VK_INSERT, u"Ins"},   {VK_DELETE, u"Del"},
};

String KeyToText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char16_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return u"F" + IntToStr(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return u"Num " + IntToStr(key - VK_NUMPAD0);
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return String();
}

bool ConsumePrefix(StringView& text, StringView prefix) {
  if (text.size() < prefix.size() || !SameText(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// ---------------------------------------------------------------------------
// The popup list: the window that owns every popup menu while it is shown.

std::vector<TPopupMenu*>& PopupMenus() {
  static std::vector<TPopupMenu*> list;
  return list;
}

LRESULT CALLBACK PopupListProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  // A copy: a handler may free a menu.
  const std::vector<TPopupMenu*> menus = PopupMenus();
  auto live = [](TPopupMenu* m) {
    const auto& now = PopupMenus();
    return std::find(now.begin(), now.end(), m) != now.end();
  };
  switch (msg) {
    case WM_COMMAND:
      if (lparam == 0) {
        for (TPopupMenu* m : menus)
          if (live(m) && m->DispatchCommand(LOWORD(wparam))) return 0;
      }
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (mis && mis->CtlType == ODT_MENU) {
        for (TPopupMenu* m : menus)
          if (live(m) && m->DispatchMeasureItem(*mis)) return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (dis && dis->CtlType == ODT_MENU) {
        for (TPopupMenu* m : menus)
          if (live(m) && m->DispatchDrawItem(*dis)) return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

// A canvas over a DC in the screen's menu font, leaving the DC as found.
class TMenuCanvas {
 public:
  explicit TMenuCanvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Screen().MenuFont());
  }
  ~TMenuCanvas() {
    canvas_.SetHandle(nullptr);
    if (saved_) RestoreDC(dc_, saved_);
  }
  TMenuCanvas(const TMenuCanvas&) = delete;
  TMenuCanvas& operator=(const TMenuCanvas&) = delete;
  TCanvas& Canvas() { return canvas_; }

 private:
  HDC dc_;
  int saved_;
  TCanvas canvas_;
};

}  // namespace

String ShortCutToText(TShortCut shortCut) {
  const String key = KeyToText(static_cast<WORD>(shortCut & 0xFF));
  if (key.empty()) return String();
  String text;
  if (shortCut & scShift) text += u"Shift+";
  if (shortCut & scCtrl) text += u"Ctrl+";
  if (shortCut & scAlt) text += u"Alt+";
  return text + key;
}

TShortCut TextToShortCut(StringView text) {
  TShortCut modifiers = 0;
  for (;;) {
    if (ConsumePrefix(text, u"Shift+")) modifiers |= scShift;
    else if (ConsumePrefix(text, u"Ctrl+")) modifiers |= scCtrl;
    else if (ConsumePrefix(text, u"Alt+")) modifiers |= scAlt;
    else break;
  }
  if (text.empty()) return scNone;
  // Every key name the writer knows, compared as the writer spells it.
  for (WORD key = 1; key < 0xFF; ++key) {
    const String name = KeyToText(key);
    if (!name.empty() && SameText(name, text)) return MakeShortCut(key, modifiers);
  }
  return scNone;
}

String StripHotkey(StringView caption) {
  String out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') out += u'&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

// ---------------------------------------------------------------------------
// TMenuItem

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TMenuItem>(u"TMenuItem", TComponent::StaticClass())
          .Str(u"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Bool(u"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
          .Bool(u"Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
          .Bool(u"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
          .Int(u"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
          .Bool(u"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
          .Int(u"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
          .Bool(u"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
          .Event(u"OnClick", &TMenuItem::OnClick)
          .Event(u"OnMeasureItem", &TMenuItem::OnMeasureItem)
          .Event(u"OnDrawItem", &TMenuItem::OnDrawItem)
          .Event(u"OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
          .Done();
  return info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Remove(this);
  // Our entries go before the children's menus do, so that no entry of
  // ours ever names a destroyed menu.
  if (handle_)
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    delete child;
  }
  if (handle_) DestroyMenu(handle_);
  FreeCommand(command_);
}

void TMenuItem::SetCaption(const String& v) {
  if (caption_ == v) return;
  caption_ = v;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  if (default_ == v) return;
  default_ = v;
  Changed();
}

void TMenuItem::SetRadioItem(bool v) {
  if (radioItem_ == v) return;
  radioItem_ = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (shortCut_ == v) return;
  shortCut_ = v;
  Changed();
}

void TMenuItem::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  Changed();
}

TBitmap* TMenuItem::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  for (TMenuItem* p = this; p; p = p->parent_)
    if (p == item) throw EComponentError(u"A menu item cannot hold itself");
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (handle_) RebuildHandle();
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (handle_) RebuildHandle();
  Changed();
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  delete items_[static_cast<size_t>(index)];
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    handle_ = menuBar_ ? CreateMenu() : CreatePopupMenu();
    RebuildHandle();
  }
  return handle_;
}

String TMenuItem::EntryText() const {
  if (shortCut_ == scNone) return caption_;
  const String keys = ShortCutToText(shortCut_);
  return keys.empty() ? caption_ : caption_ + u"\t" + keys;
}

void TMenuItem::RebuildHandle() {
  if (!handle_) return;
  // RemoveMenu, not DeleteMenu: the children's menus are theirs.
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  const TMenu* menu = GetParentMenu();
  const bool ownerDraw = menu && menu->OwnerDraw();
  UINT position = 0;
  for (TMenuItem* child : items_) {
    if (!child->visible_) continue;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    mii.fType = (child->IsLine() ? MFT_SEPARATOR : 0) | (child->radioItem_ ? MFT_RADIOCHECK : 0) |
                (ownerDraw ? MFT_OWNERDRAW : 0);
    mii.fState = (child->enabled_ ? 0 : MFS_GRAYED) | (child->checked_ ? MFS_CHECKED : 0) |
                 (child->default_ ? MFS_DEFAULT : 0);
    mii.wID = child->command_;
    mii.hSubMenu = child->Count() > 0 ? child->Handle() : nullptr;
    // An owner-drawn entry keeps its text too: whoever reads the menu by
    // handle (a skin, an accessibility tool) still finds it.
    const String text = child->EntryText();
    if (!child->IsLine()) {
      mii.fMask |= MIIM_STRING;
      mii.dwTypeData = const_cast<wchar_t*>(W(text));
      mii.cch = static_cast<UINT>(text.size());
    }
    InsertMenuItemW(handle_, position++, TRUE, &mii);
  }
}

void TMenuItem::Changed() {
  if (parent_ && parent_->handle_) parent_->RebuildHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Click() {
  if (enabled_) CallEvent(OnClick, this);
}

void TMenuItem::MeasureItem(TCanvas& ACanvas, int& Width, int& Height) {
  DefaultMeasure(ACanvas, Width, Height);
  CallEvent(OnMeasureItem, this, ACanvas, Width, Height);
}

void TMenuItem::DrawItem(TCanvas& ACanvas, const TRect& ARect, TOwnerDrawState State) {
  if (OnAdvancedDrawItem) {
    CallEvent(OnAdvancedDrawItem, this, ACanvas, ARect, State);
  } else if (OnDrawItem) {
    CallEvent(OnDrawItem, this, ACanvas, ARect, (State & ODS_SELECTED) != 0);
  } else {
    DefaultDraw(ACanvas, ARect, State);
  }
}

namespace {
// The gap between a caption and its short cut, and the margin either side
// of the image cell, in the class library's own look.
constexpr int kShortCutGap = 16;
constexpr int kCellMargin = 4;

int ImageCellWidth(const TMenu* menu) {
  if (menu && menu->Images()) return std::max(menu->Images()->Width(), 16);
  return 16;
}
}  // namespace

void TMenuItem::DefaultMeasure(TCanvas& ACanvas, int& Width, int& Height) {
  if (IsLine()) {
    Width = 10;
    Height = 8;
    return;
  }
  const TMenu* menu = GetParentMenu();
  const String text = StripHotkey(caption_);
  const SIZE sz = ACanvas.TextExtent(text.empty() ? String(u" ") : text);
  Width = sz.cx;
  if (shortCut_ != scNone) Width += kShortCutGap + ACanvas.TextExtent(ShortCutToText(shortCut_)).cx;
  Width += ImageCellWidth(menu) + 2 * kCellMargin;
  int imageHeight = 0;
  if (menu && menu->Images()) imageHeight = menu->Images()->Height();
  Height = std::max<int>(sz.cy + 6, imageHeight + 4);
}

void TMenuItem::DefaultDraw(TCanvas& ACanvas, const TRect& ARect, TOwnerDrawState State) {
  HDC dc = ACanvas.Handle();
  if (!dc) return;
  RECT r = ToRECT(ARect);
  const bool selected = (State & ODS_SELECTED) != 0;
  ACanvas.SetBrushColor(selected ? clHighlight : clSystemColor | COLOR_MENU);
  ACanvas.FillRect(r);
  if (IsLine()) {
    RECT line = r;
    line.top += (r.bottom - r.top) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const TMenu* menu = GetParentMenu();
  const int cell = ImageCellWidth(menu);
  TImageList* images = menu ? menu->Images() : nullptr;
  const int cellLeft = r.left + kCellMargin;
  if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
    images->Draw(dc, cellLeft, r.top + (r.bottom - r.top - images->Height()) / 2, imageIndex_, enabled_);
  } else if (HasBitmap()) {
    TBitmap& b = *bitmap_;
    BitBlt(dc, cellLeft, r.top + (r.bottom - r.top - b.Height()) / 2, std::min(b.Width(), cell), b.Height(),
           BitmapCanvas(b).Handle(), 0, 0, SRCCOPY);
  } else if (checked_) {
    RECT mark{cellLeft, r.top, cellLeft + cell, r.bottom};
    ACanvas.Font().SetColor(selected ? clSystemColor | COLOR_HIGHLIGHTTEXT : clSystemColor | COLOR_MENUTEXT);
    ACanvas.DrawText(radioItem_ ? String(u"\u25CF") : String(u"\u2713"), mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  TColor textColor = clSystemColor | COLOR_MENUTEXT;
  if (!enabled_) textColor = clSystemColor | COLOR_GRAYTEXT;
  else if (selected) textColor = clSystemColor | COLOR_HIGHLIGHTTEXT;
  ACanvas.Font().SetColor(textColor);
  if (default_) ACanvas.Font().SetStyle(ACanvas.Font().Style() | (1u << fsBold));
  RECT t{cellLeft + cell + kCellMargin, r.top, r.right - kCellMargin, r.bottom};
  ACanvas.DrawText(caption_, t, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  if (shortCut_ != scNone)
    ACanvas.DrawText(ShortCutToText(shortCut_), t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = As<TMenu>(parent)) menu->Items()->Add(this);
  else if (auto* item = As<TMenuItem>(parent)) item->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (!parent_) return nullptr;
  if (parent_->menu_) return parent_->menu_;
  return parent_;
}

// ---------------------------------------------------------------------------
// TMenu

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TMenu>(u"TMenu", TComponent::StaticClass())
                                      .Bool(u"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false)
                                      .Done();
  return info;
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  // The tree goes while the menu still answers GetParentMenu for it.
  TMenuItem* root = items_;
  delete root;
  items_ = nullptr;
}

namespace {
TMenuItem* FindIn(TMenuItem* item, UINT_PTR value, TFindItemKind kind) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* c = item->Items(i);
    switch (kind) {
      case fkCommand:
        if (c->Command() == value) return c;
        break;
      case fkHandle:
        if (c->HandleAllocated() && reinterpret_cast<UINT_PTR>(c->Handle()) == value) return c;
        break;
      case fkShortCut:
        if (c->ShortCut() != scNone && c->ShortCut() == value) return c;
        break;
    }
    if (TMenuItem* found = FindIn(c, value, kind)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
  if (!items_ || (kind == fkCommand && value == 0)) return nullptr;
  return FindIn(items_, value, kind);
}

void TMenu::SetImages(TImageList* v) {
  if (images_ == v) return;
  images_ = v;
  MenuChanged();
}

void TMenu::SetOwnerDraw(bool v) {
  if (ownerDraw_ == v) return;
  ownerDraw_ = v;
  // Every entry changes its type: rebuild every menu made so far.
  std::vector<TMenuItem*> stack{items_};
  while (!stack.empty()) {
    TMenuItem* item = stack.back();
    stack.pop_back();
    if (item->handle_) item->RebuildHandle();
    for (int i = 0; i < item->Count(); ++i) stack.push_back(item->Items(i));
  }
  MenuChanged();
}

void TMenu::SetRightToLeft(bool v) {
  if (rightToLeft_ == v) return;
  rightToLeft_ = v;
  MenuChanged();
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& mis) {
  TMenuItem* item = FindItem(mis.itemID, fkCommand);
  if (!item) return false;
  WindowDC dc(nullptr);
  TMenuCanvas canvas(dc);
  int width = static_cast<int>(mis.itemWidth), height = static_cast<int>(mis.itemHeight);
  item->MeasureItem(canvas.Canvas(), width, height);
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool TMenu::DispatchDrawItem(const DRAWITEMSTRUCT& dis) {
  TMenuItem* item = FindItem(dis.itemID, fkCommand);
  if (!item || !dis.hDC) return false;
  TMenuCanvas canvas(dis.hDC);
  item->DrawItem(canvas.Canvas(), FromRECT(dis.rcItem), dis.itemState);
  return true;
}

// ---------------------------------------------------------------------------
// TMainMenu

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TMainMenu>(u"TMainMenu", TMenu::StaticClass()).Done();
  return info;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) { items_->menuBar_ = true; }

TMainMenu::~TMainMenu() {
  if (form_) form_->SetMenu(nullptr);
}

void TMainMenu::MenuChanged() {
  if (form_ && form_->HandleAllocated() && !form_->Destroying())
    SendMessageW(form_->Handle(), CM_MENUCHANGED, 0, 0);
}

// ---------------------------------------------------------------------------
// TPopupMenu

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TPopupMenu>(u"TPopupMenu", TMenu::StaticClass()).Event(u"OnPopup", &TPopupMenu::OnPopup).Done();
  return info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupMenus().push_back(this); }

TPopupMenu::~TPopupMenu() {
  auto& list = PopupMenus();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TPopupMenu::Popup(int X, int Y) {
  CallEvent(OnPopup, this);
  HWND owner = PopupListWindow();
  const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  const UINT command = static_cast<UINT>(TrackPopupMenu(Handle(), flags, X, Y, 0, owner, nullptr));
  // The menu may have been freed while it was shown (a handler of one of
  // its owner-draw messages, or a window closing under it).
  const auto& list = PopupMenus();
  if (std::find(list.begin(), list.end(), this) == list.end()) return;
  if (command) DispatchCommand(command);
}

HWND PopupListWindow() {
  static HWND wnd = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvPopupList";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  }();
  return wnd;
}

// ---------------------------------------------------------------------------
// The form's side

bool HandleFormMenuMessage(TMainMenu* menu, HWND wnd, TMessage& m) {
  if (!menu) return false;
  switch (m.Msg) {
    case WM_COMMAND:
      // lParam 0 and a high word of 0 (menu) or 1 (accelerator).
      if (m.LParam == 0 && HIWORD(m.WParam) <= 1 && menu->DispatchCommand(LOWORD(m.WParam))) {
        m.Result = 0;
        return true;
      }
      return false;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (!mis || mis->CtlType != ODT_MENU || !menu->DispatchMeasureItem(*mis)) return false;
      m.Result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
      if (!dis || dis->CtlType != ODT_MENU || !menu->DispatchDrawItem(*dis)) return false;
      m.Result = TRUE;
      return true;
    }
    case CM_MENUCHANGED:
      if (wnd) {
        ::SetMenu(wnd, menu->Handle());
        DrawMenuBar(wnd);
      }
      m.Result = 0;
      return true;
    case WM_DESTROY:
      // A window destroys the menu it holds; this one is the menu object's.
      if (wnd && GetMenu(wnd) == menu->Handle()) ::SetMenu(wnd, nullptr);
      return false;
    default:
      return false;
  }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu && menu->form_ && menu->form_ != this) menu->form_->SetMenu(nullptr);
  if (menu_ && menu_ != menu) menu_->form_ = nullptr;
  menu_ = menu;
  if (menu) menu->form_ = this;
  if (!HandleAllocated()) return;
  // A menu arrives as a change of the menu, which whoever has taken over
  // the window's procedure learns of.
  if (menu) {
    SendMessageW(handle_, CM_MENUCHANGED, 0, 0);
    return;
  }
  ::SetMenu(handle_, nullptr);
  DrawMenuBar(handle_);
}

}  // namespace qv
