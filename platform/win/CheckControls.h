// Check boxes, radio buttons, group boxes and the radio and check groups
// over the system button class. A check box keeps its own state and cycles
// it on a click (through the grey state when AllowGrayed); a radio button
// that becomes checked unchecks the radio buttons beside it. The groups own
// their buttons as child controls, laid out in columns.
#pragma once
#include <memory>
#include <vector>

#include "platform/core/Alignment.h"
#include "platform/core/StringList.h"
#include "platform/win/Controls.h"

namespace qv {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumInfo kCheckBoxStateInfo;
extern const TEnumInfo kAlignmentInfo;

// What check boxes and radio buttons share: the button window, the caption
// beside the box (taRightJustify: caption right of the box) and word wrap.
class TButtonControl : public TWinControl {
  QV_CLASS(TButtonControl)
 public:
  explicit TButtonControl(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TAlignment alignment_ = taRightJustify;
  bool wordWrap_ = false;
};

class TCheckBox : public TButtonControl {
  QV_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* owner);
  TCheckBoxState State() const { return state_; }
  // OnClick once per change.
  void SetState(TCheckBoxState v);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  // unchecked -> checked (or grey when AllowGrayed) -> unchecked; grey -> checked.
  void Toggle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
};

class TRadioButton : public TButtonControl {
  QV_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  // Checking unchecks the other radio buttons of the same parent; OnClick
  // once when it becomes checked.
  void SetChecked(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  bool checked_ = false;
};

// A frame with its caption on the top line; a container for other controls.
class TCustomGroupBox : public TCustomControl {
  QV_CLASS(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* owner);
  RECT ClientRect() const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  QV_CLASS(TGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// A group box holding one button per line of Items, in Columns columns.
class TButtonGroup : public TCustomGroupBox {
  QV_CLASS(TButtonGroup)
 public:
  explicit TButtonGroup(TComponent* owner);
  ~TButtonGroup() override;
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TButtonControl* Buttons(int i) const { return buttons_[static_cast<size_t>(i)]; }
  // Makes one button per item again and lays them out.
  void UpdateButtons();
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  virtual TButtonControl* NewButton() = 0;
  virtual void ButtonClicked(TButtonControl* /*button*/) {}
  void ArrangeButtons();

 private:
  std::unique_ptr<TStringList> items_;
  std::vector<TButtonControl*> buttons_;
  int columns_ = 1;
};

class TRadioGroup : public TButtonGroup {
  QV_CLASS(TRadioGroup)
 public:
  explicit TRadioGroup(TComponent* owner) : TButtonGroup(owner) {}
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);

 protected:
  TButtonControl* NewButton() override;
  void ButtonClicked(TButtonControl* button) override;

 private:
  int itemIndex_ = -1;
};

// A group box of independent check boxes.
class TCheckGroup : public TButtonGroup {
  QV_CLASS(TCheckGroup)
 public:
  explicit TCheckGroup(TComponent* owner) : TButtonGroup(owner) {}
  bool Checked(int i) const;
  void SetChecked(int i, bool v);

 protected:
  TButtonControl* NewButton() override;
  void ButtonClicked(TButtonControl* button) override;
};

}  // namespace qv
