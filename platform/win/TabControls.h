// Tab controls over the system tab control (a tab control with its own
// list of tabs, a page control whose tabs are its sheets, the tabbed
// notebook whose pages come from a list of names, and a page control that
// paints its tabs with two pictures of its own), and the tab set, a row of
// tabs the class library draws itself.
//
// Changing the tab from the mouse or with Ctrl+Tab raises OnChange once;
// setting the index from code raises nothing.
#pragma once
#include <memory>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/core/StringList.h"
#include "platform/win/Controls.h"

namespace qv {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
extern const TEnumInfo kTabPositionInfo;

class TCustomTabControl;

// The tab texts of a tab control, kept in the window while it has one.
class TTabStrings : public TStringList {
  QV_CLASS(TTabStrings)
 public:
  explicit TTabStrings(TCustomTabControl* control) : control_(control) {}
  void Put(int index, StringView s) override;
  void InsertObject(int index, StringView s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  TCustomTabControl* control_;
};

class TCustomTabControl : public TWinControl {
  QV_CLASS(TCustomTabControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;

  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* tabs) { if (tabs) tabs_->Assign(*tabs); }
  // -1 when there are no tabs.
  int TabIndex() const;
  void SetTabIndex(int index);
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition v);
  // The page area inside the tabs, in client coordinates.
  RECT DisplayRect() const;
  RECT ClientRect() const override;
  // The next (or previous) tab, wrapping round; OnChange once.
  void SelectNextTab(bool forward);

  TNotifyEvent OnChange;

 protected:
  friend class TTabStrings;
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;
  void Dispatch(TMessage& message) override;
  // The tab shown changed from the user's side.
  virtual void Change();
  // The window's items again from Tabs.
  void SyncTabs();

  std::unique_ptr<TTabStrings> tabs_;
  int tabIndex_ = -1;  // kept while there is no window
  TTabPosition tabPosition_ = tpTop;
};

class TTabControl : public TCustomTabControl {
  QV_CLASS(TTabControl)
 public:
  using TCustomTabControl::TCustomTabControl;
};

class TPageControl;

// One page of a page control; its Caption is the tab's text.
class TTabSheet : public TWinControl {
  QV_CLASS(TTabSheet)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* control);
  int PageIndex() const;
  void SetText(const String& s) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
  QV_CLASS(TPageControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int i) const { return pages_[static_cast<size_t>(i)]; }
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return TabIndex(); }
  void SetActivePageIndex(int i);

 protected:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void PageTextChanged(TTabSheet* page);
  void Change() override;
  // Only the active sheet shows.
  void ShowActive();

 private:
  std::vector<TTabSheet*> pages_;
};

class TTabPage : public TTabSheet {
  QV_CLASS(TTabPage)
 public:
  using TTabSheet::TTabSheet;
};

// A page control whose pages are made from a list of names.
class TTabbedNotebook : public TPageControl {
  QV_CLASS(TTabbedNotebook)
 public:
  explicit TTabbedNotebook(TComponent* owner);
  ~TTabbedNotebook() override;
  TStrings* PageNames() const { return names_.get(); }
  // One TTabPage per name, the old pages freed.
  void SetPageNames(TStrings* names);
  int PageIndex() const { return ActivePageIndex(); }
  void SetPageIndex(int i) { SetActivePageIndex(i); }

 private:
  std::unique_ptr<TStringList> names_;
};

// A page control that paints each tab with a picture of its own:
// TabBackGround for the others, TabBackGroundActive for the current one.
// The pictures are copies; nil takes one away.
class TAdvPageControl : public TPageControl {
  QV_CLASS(TAdvPageControl)
 public:
  explicit TAdvPageControl(TComponent* owner);
  ~TAdvPageControl() override;
  TBitmap* TabBackGround() const { return background_.get(); }
  void SetTabBackGround(TBitmap* b) { SetPicture(background_, b); }
  TBitmap* TabBackGroundActive() const { return active_.get(); }
  void SetTabBackGroundActive(TBitmap* b) { SetPicture(active_, b); }

 protected:
  void Dispatch(TMessage& message) override;

 private:
  void SetPicture(std::unique_ptr<TBitmap>& slot, TBitmap* b);
  void PaintTabPictures(HDC dc);
  std::unique_ptr<TBitmap> background_, active_;
};

// A row of tabs hanging from its top edge, drawn by the control: from
// StartMargin on, each tab its text's width plus 9 pixels wide; a tab that
// would cross EndMargin is left out (a later, narrower one may still show).
// Tabs before FirstIndex are scrolled away.
class TTabSet : public TCustomControl {
  QV_CLASS(TTabSet)
 public:
  explicit TTabSet(TComponent* owner);
  ~TTabSet() override;
  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* tabs);
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int i);
  int FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int i);
  int StartMargin() const { return startMargin_; }
  void SetStartMargin(int v);
  int EndMargin() const { return endMargin_; }
  void SetEndMargin(int v);
  // The tab under client x, or -1.
  int TabAt(int x);

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  struct Shown {
    int index;
    RECT rect;
  };
  std::vector<Shown> Layout(HDC dc);
  std::unique_ptr<TStringList> tabs_;
  int tabIndex_ = -1;
  int firstIndex_ = 0;
  int startMargin_ = 5;
  int endMargin_ = 5;
};

}  // namespace qv
