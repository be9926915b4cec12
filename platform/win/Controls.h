// Controls over real Win32 windows: TControl (position, visibility, text,
// font, colour and a replaceable WindowProc), TGraphicControl (drawn by its
// parent) and TWinControl (a window of its own, created on demand).
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Component.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/Graphics.h"
#include "platform/win/Messages.h"

namespace qv {

class TWinControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
extern const TEnumInfo kAlignInfo;

using TNotifyEvent = std::function<void(TObject* sender)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Bits of the keys and buttons held while a mouse message arrived.
enum : uint32_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = uint32_t;
// The MK_* flags of a mouse message's WParam (Alt from the keyboard state).
TShiftState KeysToShiftState(WPARAM keys);
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;

class TControl : public TComponent {
  QV_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The message chain: WindowProc starts as WndProc; whoever replaces it
  // keeps the old value and calls it for what it does not handle.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& message);
  // Message handlers of this class and its bases; the rest goes to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& /*message*/) {}
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  int ClientWidth() const { RECT r = ClientRect(); return r.right - r.left; }
  int ClientHeight() const { RECT r = ClientRect(); return r.bottom - r.top; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  // The control is visible and so is every parent up to a top-level window.
  bool Showing() const;

  // Caption and Text are the same text (the window text of a windowed control).
  String Caption() const { return GetText(); }
  void SetCaption(const String& s) { SetText(s); }
  virtual String GetText() const { return text_; }
  virtual void SetText(const String& s);

  TFont* Font() const { return font_; }
  void SetFont(TFont* f) { if (f) font_->Assign(*f); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  virtual void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);

  virtual void Invalidate();
  void Repaint() { Invalidate(); }
  virtual void Click();
  // Raises OnMouseDown; x and y in client coordinates.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;

 protected:
  friend class TWinControl;
  virtual void FontChanged();
  void NotifyParentAlign();
  String text_;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool parentColor_ = false;
  TColor color_ = clWindow;
  TFont* font_;
};

class TGraphicControl : public TControl {
  QV_CLASS(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  // Called with the parent's paint DC, its origin moved to this control.
  virtual void Paint(TCanvas& /*canvas*/) {}
  void Invalidate() override;
  // WM_PAINT with the parent's DC in WParam (its origin on this control):
  // Paint in the control's font.
  void Dispatch(TMessage& message) override;
};

struct TCreateParams {
  String caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND wndParent = nullptr;
  String winClassName;   // the class registered for the control
  String baseClassName;  // the system class it wraps (empty: a window of its own)
  UINT classStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  QV_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // Creates the window (and those of its parents and children) when missing.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  // Destroys and recreates the window keeping every property and child;
  // goes through CM_RECREATEWND so that whoever watches the control's
  // messages sees it coming.
  void RecreateWnd();
  // A window outside the class library to live in, for a control without a
  // Parent; the control's window becomes its child.
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND wnd);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_[static_cast<size_t>(i)]; }
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  // All windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  // The topmost class-library control above this one (the form), or this.
  TWinControl* TopParent();
  void SetTabStop(bool v);

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  String GetText() const override;
  void SetText(const String& s) override;
  void SetColor(TColor c) override;
  void Invalidate() override;
  bool Focused() const;
  void SetFocus();

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  // Paints the graphic children into a DC of this window.
  void PaintControls(HDC dc);
  // Positions the aligned children inside the client area.
  void AlignControls();
  // The solid brush of Color, for WM_CTLCOLOR* answers and erasing.
  HBRUSH BrushHandle();

  WNDPROC DefWndProc() const { return defWndProc_; }
  // The window procedure of every class-library control window.
  static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // After the window exists: font, children, visibility.
  virtual void InitializeWnd();
  virtual bool CanResize(int& /*newWidth*/, int& /*newHeight*/) { return true; }
  void FontChanged() override;
  // Whether this window paints its graphic children and erases with Color
  // (its own window class), rather than leaving both to a system class.
  virtual bool PaintsItself() const;

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = DefWindowProcW;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  bool creating_ = false;
  OwnedBrush brush_;
  HWND parentWindow_ = nullptr;
  // Kept by the top control: the descendant (or itself) that last took the
  // focus, so that it can be told when the focus moves on.
  TControl* focusedControl_ = nullptr;

 private:
  void HandleWindowPosChanged();
  void FocusArrived();
  // The control under the client point: a visible graphic child or this.
  TControl* ControlAtPos(POINT pt);
  // Left-button messages over an enabled graphic child (or to the one that
  // took the press) go to it, in its coordinates; false: they are not its.
  bool RouteMouseToGraphicChild(TMessage& m);
  void TrackMouse(POINT pt);
};

// A windowed control that draws itself: Paint is called with Canvas set to
// the paint DC, then the graphic children are painted over it.
class TCustomControl : public TWinControl {
  QV_CLASS(TCustomControl)
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  ~TCustomControl() override;
  TCanvas& Canvas() { return canvas_; }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& message) override;

 private:
  TCanvas canvas_;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
extern const TEnumInfo kBevelCutInfo;

// A plain container: its Color, an outer and an inner bevel one pixel wide
// each, and its Caption centred.
class TCustomPanel : public TCustomControl {
  QV_CLASS(TCustomPanel)
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
};

class TPanel : public TCustomPanel {
  QV_CLASS(TPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

// Puts a method in front of a control's WindowProc, as TWndSubclass does
// for a raw window's procedure: what the method does not handle it hands to
// CallPrev. Remove gives the old WindowProc back only while ours is still
// the control's; otherwise ours stays in the chain as a pass-through, so a
// WindowProc installed after ours never calls into a freed owner.
class TWindowProcHook {
 public:
  TWindowProcHook() = default;
  ~TWindowProcHook();
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // False, with nothing changed, when a hook is installed already.
  bool Install(TControl* control, TWndMethod method);
  // control: where the old WindowProc goes back; null when it is gone.
  void Remove(TControl* control);
  bool Installed() const { return link_ != nullptr; }
  // False when nothing was installed or the replaced WindowProc was empty.
  bool CallPrev(TMessage& message) const;

 private:
  struct Link;
  struct Thunk;
  std::shared_ptr<Link> link_;
};

namespace detail {
// A control going away stops being the one under the mouse.
void ForgetMouseControl(TControl* c);
}  // namespace detail

// The control object of a window created by the class library, or null.
TWinControl* FindControl(HWND wnd);
// Whether a CN_NOTIFY message is a WM_NOTIFY reflected by the parent (its
// lParam then points to a notification header); other senders may use the
// same number with other meanings.
bool IsReflectedNotify(const TMessage& message);

}  // namespace qv
