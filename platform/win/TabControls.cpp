#include "platform/win/TabControls.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/core/CallEvent.h"
#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"

namespace qv {

const TEnumInfo kTabPositionInfo{{u"tpTop", u"tpBottom", u"tpLeft", u"tpRight"}};

namespace {

bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

void InsertItem(HWND wnd, int index, const String& text) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(W(text));
  SendMessageW(wnd, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SetItemText(HWND wnd, int index, const String& text) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(W(text));
  SendMessageW(wnd, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// --- TTabStrings ------------------------------------------------------------

const TClassInfo& TTabStrings::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTabStrings>(u"TTabStrings", TStringList::StaticClass()).Done();
  return info;
}

void TTabStrings::Put(int index, StringView s) {
  TStringList::Put(index, s);
  if (control_->HandleAllocated()) SetItemText(control_->Handle(), index, Get(index));
}

void TTabStrings::InsertObject(int index, StringView s, TObject* obj) {
  TStringList::InsertObject(index, s, obj);
  if (!control_->HandleAllocated()) return;
  InsertItem(control_->Handle(), index, Get(index));
  // The first tab is the current one.
  if (Count() == 1) SendMessageW(control_->Handle(), TCM_SETCURSEL, 0, 0);
}

void TTabStrings::Delete(int index) {
  TStringList::Delete(index);
  if (control_->HandleAllocated()) SendMessageW(control_->Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TTabStrings::Clear() {
  TStringList::Clear();
  if (control_->HandleAllocated()) SendMessageW(control_->Handle(), TCM_DELETEALLITEMS, 0, 0);
}

// --- TCustomTabControl ------------------------------------------------------

const TClassInfo& TCustomTabControl::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCustomTabControl>(u"TCustomTabControl", TWinControl::StaticClass())
          .Int(u"TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex, -1)
          .Enum(u"TabPosition", &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition, kTabPositionInfo,
                tpTop)
          .Done();
  return info;
}

const TClassInfo& TTabControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTabControl>(u"TTabControl", TCustomTabControl::StaticClass())
                                      .Obj<TStrings>(u"Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
                                      .Done();
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), tabs_(std::make_unique<TTabStrings>(this)) {
  width_ = 289, height_ = 193;
  tabStop_ = true;
  // The pages show the colour of what the control stands on.
  parentColor_ = true;
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"SysTabControl32";
  p.style |= WS_CLIPCHILDREN;
  if (tabPosition_ == tpBottom || tabPosition_ == tpRight) p.style |= TCS_BOTTOM;
  if (tabPosition_ == tpLeft || tabPosition_ == tpRight) p.style |= TCS_VERTICAL | TCS_MULTILINE;
}

void TCustomTabControl::InitializeWnd() {
  SyncTabs();
  TWinControl::InitializeWnd();
}

void TCustomTabControl::SyncTabs() {
  if (!handle_) return;
  SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < tabs_->Count(); ++i) InsertItem(handle_, i, tabs_->Get(i));
  if (tabIndex_ < 0 && tabs_->Count() > 0) tabIndex_ = 0;
  SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

int TCustomTabControl::TabIndex() const {
  if (handle_) return static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
  return tabIndex_;
}

void TCustomTabControl::SetTabIndex(int index) {
  if (index < -1 || index >= tabs_->Count()) return;
  tabIndex_ = index;
  if (handle_) SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
  if (v == tabPosition_) return;
  tabIndex_ = TabIndex();
  tabPosition_ = v;
  RecreateWnd();
}

RECT TCustomTabControl::DisplayRect() const {
  RECT r{0, 0, width_, height_};
  if (!handle_) return r;
  GetClientRect(handle_, &r);
  SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT TCustomTabControl::ClientRect() const { return DisplayRect(); }

void TCustomTabControl::SelectNextTab(bool forward) {
  const int n = tabs_->Count();
  if (n < 2) return;
  const int cur = TabIndex();
  SetTabIndex(((cur < 0 ? 0 : cur) + (forward ? 1 : n - 1)) % n);
  Change();
}

void TCustomTabControl::Change() {
  tabIndex_ = TabIndex();
  CallEvent(OnChange, this);
}

void TCustomTabControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      if (IsReflectedNotify(m) && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
        Change();
        return;
      }
      break;
    case CM_DIALOGKEY:
      // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on
      // the control or inside it.
      if (m.WParam == VK_TAB && KeyDown(VK_CONTROL) && handle_ &&
          (GetFocus() == handle_ || IsChild(handle_, GetFocus()))) {
        SelectNextTab(!KeyDown(VK_SHIFT));
        m.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::Dispatch(m);
}

// --- TTabSheet --------------------------------------------------------------

const TClassInfo& TTabSheet::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTabSheet>(u"TTabSheet", TWinControl::StaticClass()).Done();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  align_ = alClient;
  visible_ = false;
  parentColor_ = true;
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* control) {
  if (control == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = control;
  if (control) control->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  for (int i = 0; i < pageControl_->PageCount(); ++i)
    if (pageControl_->Pages(i) == this) return i;
  return -1;
}

void TTabSheet::SetText(const String& s) {
  TWinControl::SetText(s);
  if (pageControl_) pageControl_->PageTextChanged(this);
}

// --- TPageControl -----------------------------------------------------------

const TClassInfo& TPageControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TPageControl>(u"TPageControl", TCustomTabControl::StaticClass()).Done();
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->SetParent(this);
  tabs_->Add(page->Caption());
  ShowActive();
}

void TPageControl::RemovePage(TTabSheet* page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  const int index = static_cast<int>(it - pages_.begin());
  const int active = TabIndex();
  pages_.erase(it);
  tabs_->Delete(index);
  if (!Destroying()) page->SetParent(nullptr);
  if (active >= PageCount()) SetTabIndex(PageCount() - 1);
  else if (active >= 0) SetTabIndex(active);
  ShowActive();
}

void TPageControl::PageTextChanged(TTabSheet* page) {
  const int i = page->PageIndex();
  if (i >= 0 && tabs_->Get(i) != page->Caption()) tabs_->Put(i, page->Caption());
}

TTabSheet* TPageControl::ActivePage() const {
  const int i = TabIndex();
  return i >= 0 && i < PageCount() ? Pages(i) : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() == this) SetActivePageIndex(page->PageIndex());
}

void TPageControl::SetActivePageIndex(int i) {
  SetTabIndex(i);
  ShowActive();
}

void TPageControl::ShowActive() {
  TTabSheet* active = ActivePage();
  if (!active && PageCount() > 0) {
    SetTabIndex(0);
    active = ActivePage();
  }
  // The new page first, so that nothing shows through in between.
  if (active) active->SetVisible(true);
  for (TTabSheet* page : pages_)
    if (page != active) page->SetVisible(false);
}

void TPageControl::Change() {
  ShowActive();
  TCustomTabControl::Change();
}

// --- TTabbedNotebook --------------------------------------------------------

const TClassInfo& TTabbedNotebook::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TTabbedNotebook>(u"TTabbedNotebook", TPageControl::StaticClass())
          .Obj<TStrings>(u"Pages", &TTabbedNotebook::PageNames, &TTabbedNotebook::SetPageNames)
          .Int(u"PageIndex", &TTabbedNotebook::PageIndex, &TTabbedNotebook::SetPageIndex)
          .Done();
  return info;
}

const TClassInfo& TTabPage::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTabPage>(u"TTabPage", TTabSheet::StaticClass()).Done();
  return info;
}

TTabbedNotebook::TTabbedNotebook(TComponent* owner)
    : TPageControl(owner), names_(std::make_unique<TStringList>()) {}

TTabbedNotebook::~TTabbedNotebook() = default;

void TTabbedNotebook::SetPageNames(TStrings* names) {
  if (!names) return;
  names_->Assign(*names);
  while (PageCount() > 0) delete Pages(PageCount() - 1);
  for (int i = 0; i < names_->Count(); ++i) {
    auto* page = new TTabPage(this);
    page->SetCaption(names_->Get(i));
    page->SetPageControl(this);
  }
}

// --- TAdvPageControl --------------------------------------------------------

const TClassInfo& TAdvPageControl::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TAdvPageControl>(u"TAdvPageControl", TPageControl::StaticClass())
          .Obj<TBitmap>(u"TabBackGround", &TAdvPageControl::TabBackGround, &TAdvPageControl::SetTabBackGround)
          .Obj<TBitmap>(u"TabBackGroundActive", &TAdvPageControl::TabBackGroundActive,
                        &TAdvPageControl::SetTabBackGroundActive)
          .Done();
  return info;
}

TAdvPageControl::TAdvPageControl(TComponent* owner) : TPageControl(owner) {}

TAdvPageControl::~TAdvPageControl() = default;

void TAdvPageControl::SetPicture(std::unique_ptr<TBitmap>& slot, TBitmap* b) {
  if (b && !b->Empty()) {
    if (!slot) slot = std::make_unique<TBitmap>();
    slot->Assign(*b);
  } else {
    slot.reset();
  }
  Invalidate();
}

void TAdvPageControl::PaintTabPictures(HDC dc) {
  const int n = tabs_->Count();
  const int cur = TabIndex();
  SelectGuard font(dc, font_->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(font_->Color()));
  for (int i = 0; i < n; ++i) {
    TBitmap* picture = i == cur ? active_.get() : background_.get();
    if (!picture) continue;
    RECT r{};
    if (!SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, BitmapCanvas(*picture).Handle(), 0, 0,
               picture->Width(), picture->Height(), SRCCOPY);
    const String text = tabs_->Get(i);
    DrawTextW(dc, W(text), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TAdvPageControl::Dispatch(TMessage& m) {
  if (m.Msg != WM_PAINT || (!background_ && !active_)) {
    TPageControl::Dispatch(m);
    return;
  }
  // The system's tabs first, the pictures over them.
  PaintDC dc(handle_, m.WParam);
  const WPARAM given = m.WParam;
  m.WParam = reinterpret_cast<WPARAM>(dc.Get());
  DefaultHandler(m);
  m.WParam = given;
  PaintTabPictures(dc);
}

// --- TTabSet ----------------------------------------------------------------

const TClassInfo& TTabSet::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTabSet>(u"TTabSet", TCustomControl::StaticClass())
                                      .Int(u"EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin, 5)
                                      .Int(u"FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex, 0)
                                      .Int(u"StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin, 5)
                                      .Int(u"TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex, -1)
                                      .Obj<TStrings>(u"Tabs", &TTabSet::Tabs, &TTabSet::SetTabs)
                                      .Done();
  return info;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {
  width_ = 185, height_ = 21;
  parentColor_ = true;
}

TTabSet::~TTabSet() = default;

void TTabSet::SetTabs(TStrings* tabs) {
  if (tabs) tabs_->Assign(*tabs);
  if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
  Invalidate();
}

void TTabSet::SetTabIndex(int i) {
  if (i < -1 || i >= tabs_->Count() || i == tabIndex_) return;
  tabIndex_ = i;
  Invalidate();
}

void TTabSet::SetFirstIndex(int i) {
  firstIndex_ = std::clamp(i, 0, std::max(0, tabs_->Count() - 1));
  Invalidate();
}

void TTabSet::SetStartMargin(int v) {
  startMargin_ = std::max(0, v);
  Invalidate();
}

void TTabSet::SetEndMargin(int v) {
  endMargin_ = std::max(0, v);
  Invalidate();
}

std::vector<TTabSet::Shown> TTabSet::Layout(HDC dc) {
  std::vector<Shown> shown;
  SelectGuard font(dc, font_->Handle());
  int x = startMargin_;
  const int limit = width_ - endMargin_;
  for (int i = firstIndex_; i < tabs_->Count(); ++i) {
    const String text = tabs_->Get(i);
    const int w = HdcTextExtent(dc, text).cx + 9;
    if (x + w > limit) continue;
    shown.push_back({i, RECT{x, 0, x + w, height_}});
    x += w;
  }
  return shown;
}

int TTabSet::TabAt(int x) {
  if (!HandleAllocated()) return -1;
  const std::vector<Shown> shown = Layout(WindowDC(handle_));
  for (const Shown& s : shown)
    if (x >= s.rect.left && x < s.rect.right) return s.index;
  return -1;
}

void TTabSet::Paint() {
  TCanvas& canvas = Canvas();
  HDC dc = canvas.Handle();
  RECT all{0, 0, width_, height_};
  canvas.FillRect(all);
  // The line the tabs hang from.
  OwnedPen shadow(CreatePen(PS_SOLID, 1, ColorToRGB(clBtnShadow)));
  SelectGuard pen(dc, shadow);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, width_, 0);
  for (const Shown& s : Layout(dc)) {
    RECT r = s.rect;
    if (s.index == tabIndex_) {
      canvas.SetBrushColor(color_);
      r.top = 0;
    } else {
      canvas.SetBrushColor(clWindow);
      r.top = 1;
    }
    r.bottom -= 2;
    canvas.FillRect(r);
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.left, r.bottom);
    LineTo(dc, r.right - 1, r.bottom);
    LineTo(dc, r.right - 1, r.top - 1);
    canvas.DrawText(tabs_->Get(s.index), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  canvas.SetBrushColor(color_);
}

void TTabSet::Dispatch(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN) {
    const int i = TabAt(PointFromLParam(m.LParam).X);
    if (i >= 0 && i != tabIndex_) {
      SetTabIndex(i);
      CallEvent(OnChange, this);
    }
  }
  TCustomControl::Dispatch(m);
}

}  // namespace qv
