#include "platform/win/ComboBox.h"

#include <commctrl.h>

#include "platform/core/CallEvent.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/win/Messages.h"
#include "platform/win/WinString.h"

namespace qv {

const TEnumInfo kComboBoxStyleInfo{
    {u"csDropDown", u"csSimple", u"csDropDownList", u"csOwnerDrawFixed", u"csOwnerDrawVariable"}};

// --- TComboBoxStrings ---------------------------------------------------------

const TClassInfo& TComboBoxStrings::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TComboBoxStrings>(u"TComboBoxStrings", TStringList::StaticClass()).Done();
  return info;
}

void TComboBoxStrings::Put(int index, StringView s) {
  TStringList::Put(index, s);
  if (!combo_->HandleAllocated()) return;
  // The window has no way to change an item's text in place.
  const HWND wnd = combo_->Handle();
  const int selected = combo_->ItemIndex();
  SendMessageW(wnd, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(wnd, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(Get(index))));
  if (selected == index) combo_->SetItemIndex(index);
}

void TComboBoxStrings::InsertObject(int index, StringView s, TObject* obj) {
  TStringList::InsertObject(index, s, obj);
  if (combo_->HandleAllocated())
    SendMessageW(combo_->Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(Get(index))));
}

void TComboBoxStrings::Delete(int index) {
  TStringList::Delete(index);
  if (combo_->HandleAllocated()) SendMessageW(combo_->Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TComboBoxStrings::Clear() {
  TStringList::Clear();
  if (combo_->HandleAllocated()) SendMessageW(combo_->Handle(), CB_RESETCONTENT, 0, 0);
}

void TComboBoxStrings::PushToWindow(HWND wnd) const {
  for (int i = 0; i < Count(); ++i) SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(Get(i))));
}

// --- TCustomComboBox ----------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClass() {
  using T = TCustomComboBox;
  static const TClassInfo& info = TClassBuilder<T>(u"TCustomComboBox", TWinControl::StaticClass())
                                      .Enum(u"Style", &T::Style, &T::SetStyle, kComboBoxStyleInfo, csDropDown)
                                      .Int(u"ItemIndex", &T::ItemIndex, &T::SetItemIndex, -1)
                                      .Int(u"DropDownCount", &T::DropDownCount, &T::SetDropDownCount, 8)
                                      .Event(u"OnChange", &T::OnChange)
                                      .Done();
  return info;
}

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TComboBox>(u"TComboBox", TCustomComboBox::StaticClass()).Done();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(new TComboBoxStrings(this)) {
  width_ = 145, height_ = 21;
  tabStop_ = true;
}

TCustomComboBox::~TCustomComboBox() {
  // The window goes first: its messages may still ask for the items.
  DestroyHandle();
  delete items_;
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  style_ = v;
  if (HandleAllocated()) RecreateWnd();
}

int TCustomComboBox::ItemIndex() const {
  if (!handle_) return itemIndex_;
  return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int v) {
  itemIndex_ = v >= 0 && v < items_->Count() ? v : -1;
  if (handle_) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomComboBox::SetDropDownCount(int v) {
  dropDownCount_ = v;
  if (handle_) SendMessageW(handle_, CB_SETMINVISIBLE, static_cast<WPARAM>(v), 0);
}

bool TCustomComboBox::DroppedDown() const {
  return handle_ && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool v) {
  if (handle_) SendMessageW(handle_, CB_SHOWDROPDOWN, v ? TRUE : FALSE, 0);
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"COMBOBOX";
  p.style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown: p.style |= CBS_DROPDOWN; break;
    // The list fills the box: no strip of unpainted box under it.
    case csSimple: p.style |= CBS_SIMPLE | CBS_NOINTEGRALHEIGHT; break;
    case csDropDownList: p.style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: p.style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
    case csOwnerDrawVariable: p.style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS; break;
  }
  // The window height of a drop-down style is the height of its open list;
  // the system sizes the closed box itself.
  if (style_ != csSimple) p.height = height_ + dropDownCount_ * 16 + 2;
}

void TCustomComboBox::InitializeWnd() {
  TWinControl::InitializeWnd();
  // The common controls size the open list by item count, not by the
  // window height.
  SendMessageW(handle_, CB_SETMINVISIBLE, static_cast<WPARAM>(dropDownCount_), 0);
  items_->PushToWindow(handle_);
  if (itemIndex_ >= 0) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomComboBox::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    const WORD code = HIWORD(m.WParam);
    if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) {
      if (code == CBN_SELCHANGE) itemIndex_ = ItemIndex();
      Change();
      return;
    }
  } else if (m.Msg == CN_BASE + WM_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  } else if (m.Msg == WM_DESTROY) {
    itemIndex_ = ItemIndex();
  }
  TWinControl::Dispatch(m);
}

void TCustomComboBox::Change() {
  CallEvent(OnChange, this);
}

void TCustomComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
  const bool selected = item.itemState & ODS_SELECTED;
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= items_->Count()) return;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  r.left += 2;
  const String text = items_->Get(static_cast<int>(item.itemID));
  DrawTextW(item.hDC, W(text), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace qv
