// Menus of the class library over real menu handles: a TMenu holds a tree of
// TMenuItem objects and keeps an HMENU built from them (a menu bar for
// TMainMenu, a popup menu for TPopupMenu). Every item has a command number
// of its own; a WM_COMMAND of that number (or the choice made in a popup)
// runs the item's OnClick. Owner-drawn menus measure and draw their items
// through OnMeasureItem and OnDrawItem / OnAdvancedDrawItem, or through the
// plain look of the class library when an item has no handler.
//
// A main menu attached to a form (TCustomForm::SetMenu) is the window's
// menu; when its items change, the form's window gets CM_MENUCHANGED as a
// real window message, so whoever subclasses the window sees it.
//
// Short cuts are shown in the item's text after a tab, as ShortCutToText
// writes them; they are not turned into accelerators here.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/core/Component.h"
#include "platform/core/Geometry.h"
#include "platform/win/Controls.h"
#include "platform/win/Graphics.h"
#include "platform/win/ImageList.h"
#include "platform/win/Messages.h"

namespace qv {

class TCustomForm;
class TMenu;
class TMenuItem;

// ---------------------------------------------------------------------------
// Short cuts: a virtual-key code in the low byte plus modifier bits.

using TShortCut = uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

inline TShortCut MakeShortCut(WORD key, TShortCut modifiers) {
  return static_cast<TShortCut>((key & 0xFF) | (modifiers & (scShift | scCtrl | scAlt)));
}
// "Ctrl+Shift+S", "Alt+F4", "Del"; empty for scNone or a key without a name.
String ShortCutToText(TShortCut shortCut);
// The inverse, without regard to letter case ("ALT+F4"); scNone when the
// text names no key.
TShortCut TextToShortCut(StringView text);
// A caption without its "&" accelerator marks ("&&" stays one "&").
String StripHotkey(StringView caption);

// ODS_* bits of a DRAWITEMSTRUCT.
using TOwnerDrawState = UINT;

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, TOwnerDrawState State)>;

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

// ---------------------------------------------------------------------------

class TMenuItem : public TComponent {
  QV_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* AOwner);
  // Leaves its parent, frees its children and gives its command back.
  ~TMenuItem() override;

  // ---- attributes
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  // A picture of the item's own, used when its menu has no image list;
  // made when first asked for.
  TBitmap* Bitmap();
  bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
  // The caption "-".
  bool IsLine() const { return caption_ == u"-"; }

  // ---- the tree
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int i) const { return items_[static_cast<size_t>(i)]; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* item);
  // Frees the item at index.
  void Delete(int index);
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  TMenuItem* Parent() const { return parent_; }
  // The menu whose tree holds this item, or null.
  TMenu* GetParentMenu() const;

  // ---- the system's side
  // Its WM_COMMAND number (1..0xFFFF, unique while the item lives).
  UINT Command() const { return command_; }
  // The popup menu of the children (the menu bar for a main menu's root),
  // made when first asked for.
  HMENU Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // ---- operations
  void Click();
  // The class library's own measure in ACanvas's font; OnMeasureItem then
  // adjusts it.
  void MeasureItem(TCanvas& ACanvas, int& Width, int& Height);
  // OnAdvancedDrawItem, else OnDrawItem, else the class library's own look.
  void DrawItem(TCanvas& ACanvas, const TRect& ARect, TOwnerDrawState State);

  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

 private:
  friend class TMenu;
  friend class TMainMenu;
  // Puts the children's entries into handle_ again.
  void RebuildHandle();
  // A property changed: the parent's entries are rebuilt and the menu told.
  void Changed();
  void DefaultMeasure(TCanvas& ACanvas, int& Width, int& Height);
  void DefaultDraw(TCanvas& ACanvas, const TRect& ARect, TOwnerDrawState State);
  // The entry's text in the menu: caption, then a tab and the short cut.
  String EntryText() const;

  String caption_;
  bool enabled_ = true;
  bool checked_ = false;
  bool default_ = false;
  bool radioItem_ = false;
  bool visible_ = true;
  TShortCut shortCut_ = scNone;
  int imageIndex_ = -1;
  std::unique_ptr<TBitmap> bitmap_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  UINT command_ = 0;
  HMENU handle_ = nullptr;
  bool menuBar_ = false;  // the root of a main menu: a bar, not a popup
};

class TMenu : public TComponent {
  QV_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The invisible root; its children are the menu's entries.
  TMenuItem* Items() const { return items_; }
  HMENU Handle() { return items_->Handle(); }
  // fkCommand: value is a command; fkHandle: an HMENU (the item whose
  // children it shows); fkShortCut: a TShortCut. Depth first; null if none.
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
  // Not owned: the list outlives the menu, or is taken out first.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  bool IsRightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool v);

  // Runs OnClick of the item with the command; false when no item has it.
  bool DispatchCommand(UINT command);
  // WM_MEASUREITEM / WM_DRAWITEM of one of this menu's items (CtlType
  // ODT_MENU); false when the item is not one of them.
  bool DispatchMeasureItem(MEASUREITEMSTRUCT& mis);
  bool DispatchDrawItem(const DRAWITEMSTRUCT& dis);

 protected:
  friend class TMenuItem;
  // The tree or an item's look changed (the entries are already rebuilt).
  virtual void MenuChanged() {}
  TMenuItem* items_;

 private:
  TImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  bool rightToLeft_ = false;
};

class TMainMenu : public TMenu {
  QV_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* AOwner);
  // Leaves the form that shows it first.
  ~TMainMenu() override;
  // The form whose window menu this is (set by TCustomForm::SetMenu).
  TCustomForm* WindowForm() const { return form_; }

 protected:
  // CM_MENUCHANGED to the form's window.
  void MenuChanged() override;

 private:
  friend class TCustomForm;
  TCustomForm* form_ = nullptr;
};

class TPopupMenu : public TMenu {
  QV_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at the screen point and returns once it closes; the
  // chosen item's OnClick runs before it returns.
  void Popup(int X, int Y);

  TNotifyEvent OnPopup;
};

// The window messages of a form's main menu: WM_COMMAND of a menu entry,
// owner-drawn items, CM_MENUCHANGED (the menu is set on the window again)
// and WM_DESTROY (the window lets go of the menu, which is not its to free).
// True when handled.
bool HandleFormMenuMessage(TMainMenu* menu, HWND wnd, TMessage& message);

// The window that owns every TPopupMenu while it is shown (it receives
// their owner-draw messages).
HWND PopupListWindow();

}  // namespace qv
