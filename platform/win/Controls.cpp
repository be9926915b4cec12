#include "platform/win/Controls.h"

#include <algorithm>

#include "platform/core/CallEvent.h"
#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"

namespace qv {

const TEnumInfo kAlignInfo{{u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient", u"alCustom"}};

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TControl>(u"TControl", TComponent::StaticClass())
                                      .Int(u"Left", &TControl::Left, &TControl::SetLeft)
                                      .Int(u"Top", &TControl::Top, &TControl::SetTop)
                                      .Int(u"Width", &TControl::Width, &TControl::SetWidth)
                                      .Int(u"Height", &TControl::Height, &TControl::SetHeight)
                                      .Enum(u"Align", &TControl::Align, &TControl::SetAlign, kAlignInfo, alNone)
                                      .Str(u"Caption", &TControl::Caption, &TControl::SetCaption)
                                      .Int(u"Color", &TControl::Color, &TControl::SetColor)
                                      .Bool(u"Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
                                      .Obj<TFont>(u"Font", &TControl::Font, &TControl::SetFont)
                                      .Bool(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
                                      .Bool(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
                                      .Bool(u"Visible", &TControl::Visible, &TControl::SetVisible, true)
                                      .Event(u"OnClick", &TControl::OnClick)
                                      .Done();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  detail::ForgetMouseControl(this);
  if (parent_) parent_->RemoveControl(this);
  delete font_;
}

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        auto change = std::move(font_->OnChange);
        font_->Assign(*parent_->Font());
        font_->OnChange = std::move(change);
        FontChanged();
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        SetColor(parent_->Color());
        parentColor_ = true;
      }
      return;
    default:
      DefaultHandler(message);
  }
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EComponentError(u"A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = As<TWinControl>(parent)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetBounds(int left, int top, int width, int height) {
  const bool moved = left != left_ || top != top_ || width != width_ || height != height_;
  if (!moved) return;
  Invalidate();
  left_ = left, top_ = top, width_ = width, height_ = height;
  Invalidate();
  if (align_ != alNone) NotifyParentAlign();
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  NotifyParentAlign();
}

void TControl::NotifyParentAlign() {
  if (parent_ && !Loading()) parent_->AlignControls();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  Invalidate();
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v);
  Invalidate();
  NotifyParentAlign();
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetText(const String& s) {
  if (s == text_) return;
  text_ = s;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor c) {
  parentColor_ = false;
  if (c == color_) return;
  color_ = c;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::Invalidate() {}

struct TWindowProcHook::Link {
  bool active;  // false once removed: then only passes on
  TWndMethod method;
  TWndMethod old;
};

struct TWindowProcHook::Thunk {
  std::shared_ptr<Link> link;
  void operator()(TMessage& m) const {
    // Removing the hook may put the old WindowProc back while this runs,
    // which destroys this object: only the local copy is used from here on.
    const std::shared_ptr<Link> l = link;
    if (l->active) l->method(m);
    else if (l->old) l->old(m);
  }
};

TWindowProcHook::~TWindowProcHook() {
  if (link_) link_->active = false;
}

bool TWindowProcHook::Install(TControl* control, TWndMethod method) {
  if (link_ || !control || !method) return false;
  link_ = std::make_shared<Link>(Link{true, std::move(method), control->WindowProc});
  control->WindowProc = Thunk{link_};
  return true;
}

void TWindowProcHook::Remove(TControl* control) {
  if (!link_) return;
  const std::shared_ptr<Link> link = std::move(link_);
  link->active = false;
  // A control being freed has lost its WindowProc already.
  if (control && !control->Destroying()) {
    const Thunk* ours = control->WindowProc.target<Thunk>();
    if (ours && ours->link == link) control->WindowProc = link->old;
  }
}

bool TWindowProcHook::CallPrev(TMessage& message) const {
  const std::shared_ptr<Link> link = link_;
  if (!link || !link->old) return false;
  link->old(message);
  return true;
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  CallEvent(OnMouseDown, this, button, shift, x, y);
}

void TControl::Click() {
  CallEvent(OnClick, this);
}

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TGraphicControl>(u"TGraphicControl", TControl::StaticClass()).Done();
  return info;
}

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg != WM_PAINT || !m.WParam) {
    TControl::Dispatch(m);
    return;
  }
  TCanvas canvas;
  canvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
  canvas.Font().Assign(*Font());
  Paint(canvas);
}

void TGraphicControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

}  // namespace qv

namespace qv {

// --- TCustomControl ---------------------------------------------------------

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TCustomControl>(u"TCustomControl", TWinControl::StaticClass()).Done();
  return info;
}

TCustomControl::~TCustomControl() { canvas_.SetHandle(nullptr); }

void TCustomControl::Dispatch(TMessage& m) {
  if (m.Msg != WM_PAINT || !HandleAllocated()) {
    TWinControl::Dispatch(m);
    return;
  }
  PaintDC dc(handle_, m.WParam);
  // Paint may raise; the canvas still lets go of the DC before it is given back.
  struct LetGo {
    TCanvas& canvas;
    ~LetGo() { canvas.SetHandle(nullptr); }
  } letGo{canvas_};
  canvas_.SetHandle(dc);
  canvas_.Font().Assign(*font_);
  canvas_.SetBrushColor(color_);
  Paint();
  canvas_.SetHandle(nullptr);
  PaintControls(dc);
}

// --- TCustomPanel -----------------------------------------------------------

const TEnumInfo kBevelCutInfo{{u"bvNone", u"bvLowered", u"bvRaised", u"bvSpace"}};

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCustomPanel>(u"TCustomPanel", TCustomControl::StaticClass())
          .Enum(u"BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, kBevelCutInfo, bvNone)
          .Enum(u"BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, kBevelCutInfo, bvRaised)
          .Done();
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TPanel>(u"TPanel", TCustomPanel::StaticClass()).Done();
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  width_ = 185, height_ = 41;
  color_ = clBtnFace;
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  if (v == bevelOuter_) return;
  bevelOuter_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  if (v == bevelInner_) return;
  bevelInner_ = v;
  Invalidate();
}

void TCustomPanel::Dispatch(TMessage& m) {
  // The caption is painted by the panel, so a new one must show.
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::Dispatch(m);
}

namespace {

// One pixel of bevel around r, which then shrinks by that pixel; a space
// bevel takes the pixel without drawing.
void DrawBevel(HDC dc, RECT& r, TBevelCut cut) {
  if (cut == bvNone) return;
  if (cut != bvSpace) {
    const TColor topLeft = cut == bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor bottomRight = cut == bvRaised ? clBtnShadow : clBtnHighlight;
    OwnedBrush tl(CreateSolidBrush(ColorToRGB(topLeft)));
    OwnedBrush br(CreateSolidBrush(ColorToRGB(bottomRight)));
    RECT e{r.left, r.top, r.right, r.top + 1};
    FillRect(dc, &e, tl);
    e = RECT{r.left, r.top, r.left + 1, r.bottom};
    FillRect(dc, &e, tl);
    e = RECT{r.left, r.bottom - 1, r.right, r.bottom};
    FillRect(dc, &e, br);
    e = RECT{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &e, br);
  }
  InflateRect(&r, -1, -1);
}

}  // namespace

void TCustomPanel::Paint() {
  HDC dc = Canvas().Handle();
  RECT r = ClientRect();
  DrawBevel(dc, r, bevelOuter_);
  DrawBevel(dc, r, bevelInner_);
  const String caption = GetText();
  if (caption.empty()) return;
  SelectGuard font(dc, font_->Handle());
  SetTextColor(dc, ColorToRGB(font_->Color()));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace qv
