#include "platform/win/Controls.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/win/ExceptionBarrier.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"

namespace qv {

namespace {

// The control whose window is being created: its first message (which may
// come before WM_NCCREATE) binds the window to it.
thread_local TWinControl* tCreating = nullptr;
// The notification header being reflected to a child right now.
thread_local LPARAM tReflectedNotify = 0;
// The control the mouse was last seen over (CM_MOUSEENTER sent, no
// CM_MOUSELEAVE yet).
thread_local TControl* tMouseControl = nullptr;
// The graphic control that took a mouse press: it gets the mouse messages
// of its parent until the button is released.
thread_local TControl* tCaptureControl = nullptr;

// The control of each class-library window, kept beside its window property:
// reading a property is a round trip to the window server under Wine, and
// every message of every control looks its control up. Windows of any thread
// of the process are bound here; both live until the end of the process, as
// windows may still get messages while it shuts down.
std::mutex& BoundLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::unordered_map<HWND, TWinControl*>& BoundControls() {
  static auto* bound = new std::unordered_map<HWND, TWinControl*>;
  return *bound;
}

void Bind(HWND wnd, TWinControl* control) {
  std::lock_guard<std::mutex> lock(BoundLock());
  BoundControls()[wnd] = control;
  SetPropW(wnd, MAKEINTATOM(ControlAtom()), control);
}

void Unbind(HWND wnd) {
  std::lock_guard<std::mutex> lock(BoundLock());
  BoundControls().erase(wnd);
  RemovePropW(wnd, MAKEINTATOM(ControlAtom()));
}

// A window that went without its WM_NCDESTROY (its thread ended first) must
// not lead a later window with the same handle to a freed control.
void ForgetBinding(HWND wnd, const TWinControl* control) {
  std::lock_guard<std::mutex> lock(BoundLock());
  const auto it = BoundControls().find(wnd);
  if (it != BoundControls().end() && it->second == control) BoundControls().erase(it);
}

struct ClassRecord {
  WNDPROC baseProc;
};

std::map<String, ClassRecord>& RegisteredClasses() {
  static std::map<String, ClassRecord> classes;
  return classes;
}

// Registers the class-library window class, superclassing the system class
// it wraps; returns the procedure that handles what the control does not.
WNDPROC EnsureWindowClass(const TCreateParams& p) {
  auto& classes = RegisteredClasses();
  auto it = classes.find(p.winClassName);
  if (it != classes.end()) return it->second.baseProc;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  WNDPROC base = DefWindowProcW;
  if (!p.baseClassName.empty()) {
    if (!GetClassInfoExW(nullptr, W(p.baseClassName), &wc) && !GetClassInfoExW(instance, W(p.baseClassName), &wc))
      throw EOSError(u"Window class " + p.baseClassName + u" is not available");
    base = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
  } else {
    wc.style = p.classStyle;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  }
  wc.lpfnWndProc = TWinControl::StdWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = W(p.winClassName);
  wc.hbrBackground = nullptr;
  wc.style &= ~CS_GLOBALCLASS;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOSError(u"Cannot register window class " + p.winClassName + u": " + SysErrorMessage(GetLastError()));
  classes.emplace(p.winClassName, ClassRecord{base});
  return base;
}

}  // namespace

namespace detail {
void ForgetMouseControl(TControl* c) {
  if (tMouseControl == c) tMouseControl = nullptr;
  if (tCaptureControl == c) tCaptureControl = nullptr;
}
}  // namespace detail

bool IsReflectedNotify(const TMessage& message) {
  return message.Msg == CN_NOTIFY && message.LParam != 0 && message.LParam == tReflectedNotify;
}

TWinControl* FindControl(HWND wnd) {
  if (!wnd) return nullptr;
  std::lock_guard<std::mutex> lock(BoundLock());
  const auto it = BoundControls().find(wnd);
  return it == BoundControls().end() ? nullptr : it->second;
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  TWinControl* control = FindControl(wnd);
  if (!control) {
    control = tCreating;
    if (!control || control->handle_) return DefWindowProcW(wnd, msg, wparam, lparam);
    tCreating = nullptr;
    control->handle_ = wnd;
    Bind(wnd, control);
  }
  TMessage m{msg, wparam, lparam, 0};
  ReportingBarrier([&] { control->WindowProc(m); });
  if (msg == WM_NCDESTROY) {
    Unbind(wnd);
    if (control->handle_ == wnd) control->handle_ = nullptr;
  }
  return m.Result;
}

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWinControl>(u"TWinControl", TControl::StaticClass())
                                      .Int(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                      .Bool(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
                                      .Done();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  if (parent_) parent_->RemoveControl(this);
  // Children outlive the parent object only as orphans: their owner frees them.
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  tabList_.clear();
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!handle_ && !creating_) {
    creating_ = true;
    try {
      CreateWnd();
    } catch (...) {
      creating_ = false;
      throw;
    }
    creating_ = false;
    InitializeWnd();
  }
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.caption = text_;
  p.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) p.style |= WS_VISIBLE;
  if (tabStop_) p.style |= WS_TABSTOP;
  if (!enabled_) p.style |= WS_DISABLED;
  p.x = left_, p.y = top_, p.width = width_, p.height = height_;
  if (parent_) p.wndParent = parent_->Handle();
  else if (parentWindow_) p.wndParent = parentWindow_;
  p.winClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.style & WS_CHILD) && !p.wndParent)
    throw EComponentError(u"Control '" + Name() + u"' has no parent window");
  defWndProc_ = EnsureWindowClass(p);
  tCreating = this;
  HWND wnd = CreateWindowExW(p.exStyle, W(p.winClassName), W(p.caption), p.style, p.x, p.y, p.width, p.height,
                             p.wndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
  tCreating = nullptr;
  if (!wnd) {
    handle_ = nullptr;
    throw EOSError(u"Error creating window: " + SysErrorMessage(GetLastError()));
  }
  handle_ = wnd;
}

void TWinControl::InitializeWnd() {
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), FALSE);
  for (TControl* c : controls_) {
    if (auto* w = As<TWinControl>(c)) w->Handle();
  }
  AlignControls();
}

bool TWinControl::PaintsItself() const { return defWndProc_ == DefWindowProcW; }

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Children first, so that each keeps what only its window held (its text).
  for (TControl* c : controls_) {
    if (auto* w = As<TWinControl>(c)) w->DestroyHandle();
  }
  HWND wnd = handle_;
  text_ = GetWindowTextString(wnd);
  DestroyWindow(wnd);
  ForgetBinding(wnd, this);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND);
}

void TWinControl::SetParentWindow(HWND wnd) {
  if (parent_ || wnd == parentWindow_) return;
  parentWindow_ = wnd;
  if (!handle_) return;
  if (wnd) {
    ::SetParent(handle_, wnd);
  } else {
    DestroyHandle();
  }
}

TWinControl* TWinControl::TopParent() {
  TWinControl* top = this;
  while (top->parent_) top = top->parent_;
  return top;
}

void TWinControl::FocusArrived() {
  TWinControl* top = TopParent();
  // The form itself taking the focus (activation) is no move between its controls.
  if (top == this || top->focusedControl_ == this) return;
  TControl* old = top->focusedControl_;
  top->focusedControl_ = this;
  if (old) old->Perform(CM_EXIT);
  top->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(this)));
  Perform(CM_ENTER);
}

TControl* TWinControl::ControlAtPos(POINT pt) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->Is<TGraphicControl>() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, pt)) return c;
  }
  return this;
}

void TWinControl::TrackMouse(POINT pt) {
  TControl* target = ControlAtPos(pt);
  if (target != tMouseControl) {
    TControl* old = tMouseControl;
    tMouseControl = target;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (tMouseControl == target) target->Perform(CM_MOUSEENTER);
  }
  if (handle_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
  }
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  if (auto* w = As<TWinControl>(c)) tabList_.push_back(w);
  if (c->ParentFont()) c->Perform(CM_PARENTFONTCHANGED);
  if (c->ParentColor()) c->Perform(CM_PARENTCOLORCHANGED);
  if (handle_) {
    if (auto* w = As<TWinControl>(c)) w->Handle();
    AlignControls();
  }
  c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
  // The form forgets a focused control that leaves it.
  TWinControl* top = TopParent();
  for (TControl* x = top->focusedControl_; x; x = x->parent_) {
    if (x == c) {
      top->focusedControl_ = nullptr;
      break;
    }
  }
  c->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                [c](TWinControl* w) { return static_cast<TControl*>(w) == c; }),
                 tabList_.end());
  if (auto* w = As<TWinControl>(c); w && !Destroying()) w->DestroyHandle();
  c->parent_ = nullptr;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* w : tabList_) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  const auto& v = parent_->tabList_;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_) return;
  auto& v = parent_->tabList_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  order = std::clamp(order, 0, static_cast<int>(v.size()));
  v.insert(v.begin() + order, this);
  if (handle_) {
    // Keyboard navigation follows the window order of siblings.
    HWND after = HWND_TOP;
    for (TWinControl* w : v) {
      if (w->handle_) {
        SetWindowPos(w->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = w->handle_;
      }
    }
  }
}

void TWinControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (handle_) {
    if (left != left_ || top != top_ || width != width_ || height != height_)
      SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  TControl::SetBounds(left, top, width, height);
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

// The window follows in the CM_VISIBLECHANGED and CM_ENABLEDCHANGED
// handlers, so that whoever watches the control's messages and calls on
// first finds the window already changed.
void TWinControl::SetVisible(bool v) { TControl::SetVisible(v); }

void TWinControl::SetEnabled(bool v) { TControl::SetEnabled(v); }

String TWinControl::GetText() const { return handle_ ? GetWindowTextString(handle_) : text_; }

void TWinControl::SetText(const String& s) {
  if (handle_) {
    if (GetWindowTextString(handle_) == s) return;
    SetWindowTextW(handle_, W(s));
    text_ = s;
    Perform(CM_TEXTCHANGED);
    return;
  }
  TControl::SetText(s);
}

void TWinControl::SetColor(TColor c) {
  brush_.Reset();
  TControl::SetColor(c);
  for (TControl* child : controls_) child->Perform(CM_PARENTCOLORCHANGED);
}

HBRUSH TWinControl::BrushHandle() {
  if (!brush_) brush_.Reset(CreateSolidBrush(ColorToRGB(color_)));
  return brush_;
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), TRUE);
  for (TControl* child : controls_) child->Perform(CM_PARENTFONTCHANGED);
  TControl::FontChanged();
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::AlignControls() {
  if (Loading()) return;
  RECT r = ClientRect();
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != pass || !c->Visible()) continue;
      int l = r.left, t = r.top, w = r.right - r.left, h = r.bottom - r.top;
      switch (pass) {
        case alTop: h = c->Height(); r.top += h; break;
        case alBottom: h = c->Height(); t = r.bottom - h; r.bottom -= h; break;
        case alLeft: w = c->Width(); r.left += w; break;
        case alRight: w = c->Width(); l = r.right - w; r.right -= w; break;
        default: break;
      }
      c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
    }
  }
}

void TWinControl::PaintControls(HDC dc) {
  // A control's painting may free, hide or move away a control: each is
  // looked up again before it paints.
  const std::vector<TControl*> snapshot = controls_;
  for (TControl* c : snapshot) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    auto* g = As<TGraphicControl>(c);
    if (!g || !g->Visible()) continue;
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
    // Through the control's WindowProc, so that whoever hooked it paints.
    g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

bool TWinControl::RouteMouseToGraphicChild(TMessage& m) {
  const POINT pt = ToPOINT(PointFromLParam(m.LParam));
  TControl* target = tCaptureControl && tCaptureControl->Parent() == this ? tCaptureControl : nullptr;
  if (!target) {
    TControl* under = ControlAtPos(pt);
    if (under != this && under->Enabled()) target = under;
  }
  if (!target) return false;
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    tCaptureControl = target;
    if (handle_) SetCapture(handle_);
  } else if (m.Msg == WM_LBUTTONUP && tCaptureControl == target) {
    tCaptureControl = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  const LPARAM local = MAKELPARAM(pt.x - target->Left(), pt.y - target->Top());
  m.Result = target->Perform(m.Msg, m.WParam, local);
  return true;
}

void TWinControl::HandleWindowPosChanged() {
  RECT r;
  GetWindowRect(handle_, &r);
  HWND parentWnd = GetParent(handle_);
  if (parentWnd && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD)) MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
  // A minimised window keeps its children where they were.
  if (IsIconic(handle_)) return;
  const bool resized = (r.right - r.left) != width_ || (r.bottom - r.top) != height_;
  left_ = r.left, top_ = r.top, width_ = r.right - r.left, height_ = r.bottom - r.top;
  if (resized) AlignControls();
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      if (RouteMouseToGraphicChild(m)) return;
      break;
    case WM_CAPTURECHANGED:
      if (tCaptureControl && tCaptureControl->Parent() == this) tCaptureControl = nullptr;
      break;
    default:
      break;
  }
  switch (m.Msg) {
    case WM_COMMAND:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
        return;
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (TWinControl* child = hdr ? FindControl(hdr->hwndFrom) : nullptr; child && child != this) {
        const LPARAM outer = tReflectedNotify;
        tReflectedNotify = m.LParam;
        try {
          m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
        } catch (...) {
          tReflectedNotify = outer;
          throw;
        }
        tReflectedNotify = outer;
        return;
      }
      break;
    }
    case WM_DRAWITEM:
      // Owner-drawn controls draw their own items.
      if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam); item && item->CtlType != ODT_MENU)
        if (TWinControl* child = FindControl(item->hwndItem); child && child != this) {
          m.Result = child->Perform(CN_BASE + WM_DRAWITEM, m.WParam, m.LParam);
          return;
        }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(font_->Color()));
      SetBkColor(dc, ColorToRGB(color_));
      m.Result = reinterpret_cast<LRESULT>(BrushHandle());
      return;
    }
    case WM_ERASEBKGND:
      if (PaintsItself()) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, BrushHandle());
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (PaintsItself()) {
        PaintControls(PaintDC(handle_, m.WParam));
        return;
      }
      break;
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOSIZE) && !IsIconic(handle_) && !Loading()) {
        // width_ and height_ keep the last size the window had while not
        // minimised, so coming back from the task bar is no resize.
        int w = wp->cx, h = wp->cy;
        if ((w != width_ || h != height_) && !CanResize(w, h)) wp->flags |= SWP_NOSIZE;
      }
      break;
    }
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      HandleWindowPosChanged();
      return;
    case WM_SETFOCUS:
      FocusArrived();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const TMouseButton b = m.Msg == WM_LBUTTONDOWN ? mbLeft : m.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
      DefaultHandler(m);
      const TPoint p = PointFromLParam(m.LParam);
      MouseDown(b, KeysToShiftState(m.WParam), p.X, p.Y);
      return;
    }
    case WM_MOUSEMOVE:
      TrackMouse(ToPOINT(PointFromLParam(m.LParam)));
      break;
    case WM_MOUSELEAVE:
      if (tMouseControl && (tMouseControl == this || (tMouseControl->Parent() == this && tMouseControl->Is<TGraphicControl>()))) {
        TControl* old = tMouseControl;
        tMouseControl = nullptr;
        old->Perform(CM_MOUSELEAVE);
      }
      break;
    case CM_VISIBLECHANGED:
      if (handle_ && ((GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE) != 0) != visible_)
        ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, enabled_);
      return;
    case CM_RECREATEWND:
      if (handle_) {
        DestroyHandle();
        Handle();
      }
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: {
      // Offered to every child in turn until one takes it.
      const std::vector<TControl*> children = controls_;
      for (TControl* c : children) {
        if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
        m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
        if (m.Result) return;
      }
      return;
    }
    default:
      break;
  }
  TControl::Dispatch(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_) m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

}  // namespace qv
