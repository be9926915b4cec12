#include "platform/win/CheckControls.h"

#include <algorithm>

#include "platform/core/TypInfo.h"

namespace qv {

const TEnumInfo kCheckBoxStateInfo{{u"cbUnchecked", u"cbChecked", u"cbGrayed"}};
const TEnumInfo kAlignmentInfo{{u"taLeftJustify", u"taRightJustify", u"taCenter"}};

namespace {

// The text height of the control's font, for the caption line of a group.
int FontTextHeight(TFont& font) { return ScreenTextExtent(font.Handle(), u"0").cy; }

bool IsClicked(const TMessage& m) { return m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED; }

}  // namespace

// --- TButtonControl ---------------------------------------------------------

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TButtonControl>(u"TButtonControl", TWinControl::StaticClass())
          .Enum(u"Alignment", &TButtonControl::Alignment, &TButtonControl::SetAlignment, kAlignmentInfo,
                taRightJustify)
          .Bool(u"WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap, false)
          .Done();
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  width_ = 97, height_ = 17;
  tabStop_ = true;
  parentColor_ = true;
}

void TButtonControl::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TButtonControl::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"BUTTON";
  if (alignment_ == taLeftJustify) p.style |= BS_LEFTTEXT;
  if (wordWrap_) p.style |= BS_MULTILINE;
}

// --- TCheckBox --------------------------------------------------------------

const TClassInfo& TCheckBox::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCheckBox>(u"TCheckBox", TButtonControl::StaticClass())
          .Bool(u"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false)
          .Bool(u"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false)
          .Enum(u"State", &TCheckBox::State, &TCheckBox::SetState, kCheckBoxStateInfo, cbUnchecked)
          .Done();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {}

// The control keeps the state itself: a three-state button that does not
// change on its own.
void TCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= BS_3STATE;
}

void TCheckBox::InitializeWnd() {
  TButtonControl::InitializeWnd();
  SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v == state_) return;
  state_ = v;
  if (handle_) SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
  if (!Loading()) Click();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCheckBox::Dispatch(TMessage& m) {
  if (IsClicked(m)) {
    Toggle();
    return;
  }
  TButtonControl::Dispatch(m);
}

// --- TRadioButton -----------------------------------------------------------

const TClassInfo& TRadioButton::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TRadioButton>(u"TRadioButton", TButtonControl::StaticClass())
                                      .Bool(u"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false)
                                      .Done();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {}

// An automatic radio button, so that the arrow keys of the dialog manager
// move through the group and check the button they reach.
void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= BS_AUTORADIOBUTTON;
}

void TRadioButton::InitializeWnd() {
  TButtonControl::InitializeWnd();
  SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (handle_) SendMessageW(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v) return;
  if (parent_) {
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (auto* other = As<TRadioButton>(parent_->Controls(i)); other && other != this) other->SetChecked(false);
  }
  if (!Loading()) Click();
}

void TRadioButton::Dispatch(TMessage& m) {
  if (IsClicked(m)) {
    SetChecked(true);
    return;
  }
  TButtonControl::Dispatch(m);
}

// --- TCustomGroupBox --------------------------------------------------------

const TClassInfo& TCustomGroupBox::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCustomGroupBox>(u"TCustomGroupBox", TCustomControl::StaticClass()).Done();
  return info;
}

const TClassInfo& TGroupBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TGroupBox>(u"TGroupBox", TCustomGroupBox::StaticClass()).Done();
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  width_ = 185, height_ = 105;
  parentColor_ = true;
}

// The arrow keys and Tab walk into the group's own controls.
void TCustomGroupBox::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.exStyle |= WS_EX_CONTROLPARENT;
}

// Below the caption line, one pixel inside the frame.
RECT TCustomGroupBox::ClientRect() const {
  RECT r = TCustomControl::ClientRect();
  r.top += FontTextHeight(*font_);
  InflateRect(&r, -1, -1);
  return r;
}

void TCustomGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  HDC dc = canvas.Handle();
  RECT r{0, 0, width_, height_};
  canvas.FillRect(r);
  const int th = FontTextHeight(*font_);
  RECT frame{0, th / 2 - 1, width_, height_};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const String text = GetText();
  if (text.empty()) return;
  RECT t{8, 0, width_ - 8, th};
  canvas.DrawText(text, t, DT_SINGLELINE | DT_CALCRECT);
  InflateRect(&t, 1, 0);
  canvas.FillRect(t);
  InflateRect(&t, -1, 0);
  canvas.DrawText(text, t, DT_SINGLELINE);
}

// --- TButtonGroup -----------------------------------------------------------

const TClassInfo& TButtonGroup::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TButtonGroup>(u"TButtonGroup", TCustomGroupBox::StaticClass())
          .Int(u"Columns", &TButtonGroup::Columns, &TButtonGroup::SetColumns, 1)
          .Obj<TStrings>(u"Items", &TButtonGroup::Items, &TButtonGroup::SetItems)
          .Done();
  return info;
}

TButtonGroup::TButtonGroup(TComponent* owner) : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {}

TButtonGroup::~TButtonGroup() = default;

void TButtonGroup::SetItems(TStrings* items) {
  if (items) items_->Assign(*items);
  UpdateButtons();
}

void TButtonGroup::SetColumns(int v) {
  columns_ = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TButtonGroup::UpdateButtons() {
  // Freed through their owner, this group, which also takes them off the
  // parent's list.
  for (TButtonControl* b : buttons_) delete b;
  buttons_.clear();
  for (int i = 0; i < items_->Count(); ++i) {
    TButtonControl* b = NewButton();
    b->SetCaption(items_->Get(i));
    b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
    b->SetParent(this);
    buttons_.push_back(b);
  }
  ArrangeButtons();
}

void TButtonGroup::SetBounds(int left, int top, int width, int height) {
  TCustomGroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TButtonGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const RECT r = ClientRect();
  const int n = static_cast<int>(buttons_.size());
  const int rows = (n + columns_ - 1) / columns_;
  const int colWidth = static_cast<int>(r.right - r.left - 8) / columns_;
  const int rowHeight = std::max<int>(1, (r.bottom - r.top) / rows);
  for (int i = 0; i < n; ++i) {
    const int col = i / rows, row = i % rows;
    const int h = std::min(rowHeight, 20);
    buttons_[static_cast<size_t>(i)]->SetBounds(r.left + 8 + col * colWidth, r.top + row * rowHeight + (rowHeight - h) / 2,
                                                colWidth - 4, h);
  }
}

// --- TRadioGroup ------------------------------------------------------------

const TClassInfo& TRadioGroup::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TRadioGroup>(u"TRadioGroup", TButtonGroup::StaticClass())
                                      .Int(u"ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex, -1)
                                      .Done();
  return info;
}

TButtonControl* TRadioGroup::NewButton() { return new TRadioButton(this); }

void TRadioGroup::SetItemIndex(int v) {
  if (v < -1 || v >= ButtonCount()) v = -1;
  if (v == itemIndex_) return;
  itemIndex_ = v;
  if (v >= 0) static_cast<TRadioButton*>(Buttons(v))->SetChecked(true);
  else
    for (int i = 0; i < ButtonCount(); ++i) static_cast<TRadioButton*>(Buttons(i))->SetChecked(false);
}

void TRadioGroup::ButtonClicked(TButtonControl* button) {
  for (int i = 0; i < ButtonCount(); ++i) {
    if (Buttons(i) != button) continue;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    Click();
    return;
  }
}

// --- TCheckGroup ------------------------------------------------------------

const TClassInfo& TCheckGroup::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TCheckGroup>(u"TCheckGroup", TButtonGroup::StaticClass()).Done();
  return info;
}

TButtonControl* TCheckGroup::NewButton() { return new TCheckBox(this); }

bool TCheckGroup::Checked(int i) const {
  return i >= 0 && i < ButtonCount() && static_cast<TCheckBox*>(Buttons(i))->Checked();
}

void TCheckGroup::SetChecked(int i, bool v) {
  if (i >= 0 && i < ButtonCount()) static_cast<TCheckBox*>(Buttons(i))->SetChecked(v);
}

void TCheckGroup::ButtonClicked(TButtonControl*) { Click(); }

}  // namespace qv
