// The combo box over the system's COMBOBOX: an edit with a drop-down list,
// a list always shown, a drop-down list without edit, or a drop-down list
// whose items the control draws itself. The items are kept here as well, so
// that they outlive a recreated window.
#pragma once
#include <vector>

#include "platform/core/StringList.h"
#include "platform/win/Controls.h"

namespace qv {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
extern const TEnumInfo kComboBoxStyleInfo;

class TCustomComboBox;

// The items of a combo box, kept in the window while it has one.
class TComboBoxStrings : public TStringList {
  QV_CLASS(TComboBoxStrings)
 public:
  explicit TComboBoxStrings(TCustomComboBox* combo) : combo_(combo) {}
  void Put(int index, StringView s) override;
  void InsertObject(int index, StringView s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;
  // Fills a new window with the items.
  void PushToWindow(HWND wnd) const;

 private:
  TCustomComboBox* combo_;
};

class TCustomComboBox : public TWinControl {
  QV_CLASS(TCustomComboBox)
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return items_; }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  int ItemIndex() const;
  void SetItemIndex(int v);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);

  // The selection changed (by mouse or key), or the text was edited.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;
  void Dispatch(TMessage& message) override;
  virtual void Change();
  // An owner-drawn item: its text on the selection or window colour.
  virtual void DrawItem(const DRAWITEMSTRUCT& item);

 private:
  TComboBoxStrings* items_;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
};

class TComboBox : public TCustomComboBox {
  QV_CLASS(TComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

}  // namespace qv
