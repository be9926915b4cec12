// The base of every control skin: a component that attaches itself to one
// child window of a skinned form, sees that window's messages first and
// paints it from the skin. Each control skin has one owner, which frees it
// with itself: its class-library control, or for a raw window the skinned
// form, or the control skin that made it (a combo box's list skins). The
// skinned form (TWinSkinForm) also lists every control skin of its window;
// a control skin leaves that list in its destructor and only there, whoever
// frees it.
//
// Two ways of attaching: a class-library control gets its WindowProc
// replaced (Init); a raw window known only by its handle gets its window
// procedure replaced through a thunk (Inithwnd). Either replacement is taken
// out again only while it is still the current one; otherwise it stays in
// the chain as a pass-through, so whoever replaced it after us never calls
// into a freed skin. After WM_NCDESTROY nothing is restored on the dead
// handle; the skin of a class-library control waits in the control's
// WindowProc for the control's next window (its parent re-created takes it
// along) and goes on that one.
//
// Message road (NewWndProc): SM_SETSKINNED switches processing on and off;
// while off every message goes straight to the replaced procedure. While on,
// BeforeProc sees the message first (false: consumed), then the replaced
// procedure, then AfterProc.
//
// A handler may run a nested message loop (a click that runs a backup) in
// which the skin is unskinned or its control destroyed: nothing of the skin
// is touched once the message's handlers return to a freed skin.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/core/Bitmap.h"
#include "platform/core/LifeFlag.h"
#include "platform/win/Controls.h"
#include "platform/win/Graphics.h"
#include "platform/win/ObjectInstance.h"
#include "skin/controls/PropByName.h"

namespace qv {

class TDataSkinObject;
class TSkinData;

// Bits of TSkinControl::state.
inline constexpr uint32_t kStateHot = 1;      // mouse over
inline constexpr uint32_t kStatePressed = 2;  // mouse or key held down

// Frames of a button element's strip, counted from 1.
inline constexpr int kFrameNormal = 1, kFramePressed = 2, kFrameDisabled = 3, kFrameHot = 4, kFrameFocused = 5;

// Where a control skin is in its life; the numbers are the ones stored
// and compared since the first skins.
enum class TControlSkinState : int32_t {
  New = 0,         // made, not yet bound to a control or window
  Active = 1,      // bound by one of the Init operations and at work
  LetGo = 2,       // a box skin that gave its control back
  // The window is going: the box skin leaves the colour alone. Nothing
  // sets it today; the box skin still honours it.
  Unskinning = 4,
  Dead = 6,        // the window is destroyed; the form skin's purge frees the skin
};

class TSkinControl : public TComponent {
  QV_CLASS(TSkinControl)
 public:
  // AOwner: the skinned control, or for a raw window the skinned form or the
  // control whose inner window it is.
  explicit TSkinControl(TComponent* AOwner);
  ~TSkinControl() override;

  // ---- virtual operations
  // Skins the owner, a class-library control, once. sf is the skinned form;
  // acolor replaces the control's Color by the skin's face colour.
  virtual void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor);
  // Skins a raw window.
  virtual void Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf);
  // Switches message processing off and gives the colour back (not after the
  // window is gone). The replaced procedure stays until destruction.
  virtual void Unsubclass();
  // False: the message is consumed and its Result set.
  virtual bool BeforeProc(TMessage& Message);
  virtual void AfterProc(TMessage& Message);
  // The whole window through DrawControl; adc 0: a window DC of its own.
  virtual void PaintControl(HDC adc);
  // rc is the window's rectangle moved to the origin.
  virtual void DrawControl(HDC dc, const TRect& rc);
  virtual void SkinChange();
  virtual int GetState();

  // The skinned control going first (it owns its skin in the usual case).
  void Notification(TComponent* component, TOperation operation) override;

  // ---- message plumbing
  void NewWndProc(TMessage& Message);
  void CallOldProc(TMessage& Message);
  void Redraw();
  void MouseLeave();

  // ---- helpers of the concrete skins
  // The parent's integer property "Color", or acolor.
  TColor GetParentColor(TColor acolor);
  void FillFaceRect(HDC dc, const TRect& rect);
  void FillParentRect(HDC dc, const TRect& rect);
  LONG_PTR GetWndLong(HWND wnd, int index);
  // A focus rectangle around caption as DrawText would place it in rect.
  void DrawCaptionFocus(HDC dc, UINT flags, const TRect& rect);
  // Raises the control's OnMouseDown for the left button at MouseDownPoint,
  // for skins that keep the press from the control's own procedure.
  void DoMouseDown(const TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);

  // ---- drawing; nothing for an inverted rectangle, a frame count below 1,
  // a frame outside the strip or an empty picture
  // Frame I of N through the element's nine-part cut; key colour left out
  // when the element's trans is 1.
  void DrawSkinMap(HDC dc, const TRect& rc, TDataSkinObject* aObject, int I, int N);
  // Frame I of N of a side-by-side strip stretched into rc, key colour left out.
  void DrawSkinMap1(HDC dc, const TRect& rc, TBitmap* bmp, int I, int N);
  void DrawSkinMap2(HDC dc, const TRect& rc, TBitmap* bmp, int I, int N);
  void DrawSkinMap3(TCanvas& acanvas, const TRect& rc, TBitmap* bmp, int I, int N);
  // The shared scratch bitmap copied to rc.
  void DrawBuf(HDC dc, const TRect& rc);
  // Alignment: DrawText horizontal flags.
  void DrawCaption(TCanvas& acanvas, const TRect& rc, StringView text, bool enabled, UINT Alignment);
  // An image-list image followed by text; talign 0 left, 1 centre, 2 right
  // (other values: left).
  void DrawImgCaption(TCanvas& acanvas, const TRect& rc, HIMAGELIST ImgList, int imgIndex, StringView text,
                      int talign);
  // dw with DT_RTLREADING when the control reads right to left.
  UINT CheckBiDi(UINT dw);

  // ---- fields
  uint32_t state = 0;  // kStateHot, kStatePressed
  TCanvas* fCanvas = nullptr;
  bool done = false;
  bool enabled = false;
  bool focused = false;
  String caption;
  void* FObjectInst = nullptr;       // thunk of a raw window
  WNDPROC FPrevWndProc = nullptr;    // procedure replaced in a raw window
  bool skinned = true;
  bool isunicode = false;
  TSkinData* fsd = nullptr;
  HWND hwnd = nullptr;
  TWndMethod OldWndProc;             // WindowProc replaced in a class-library control
  TWinControl* control = nullptr;
  TRect boundsrect;                  // screen coordinates, stored at every paint
  TGraphicControl* GControl = nullptr;
  bool newColor = false;
  TColor oldcolor = 0;
  bool Inited = false;
  TControlSkinState skinstate = TControlSkinState::New;
  TComponent* skinform = nullptr;    // the TWinSkinForm that lists this skin
  // What kind means is the concrete class's own (each names its values);
  // the base only sets these two.
  enum TBaseKind : int32_t { kindDefault = 0, kindParentBackground = 1 };
  int32_t kind = kindDefault;
  bool parentbk = false;

 protected:
  // The first steps of Init: the skin data, form and canvas, and the owner
  // as the skinned control with its window. False when the owner is no
  // windowed control.
  bool BindOwner(TComponent* sf, TSkinData* sd, TCanvas* acanvas);
  // True while the skin has not been freed; hold a copy across anything
  // that may run other messages.
  TLifeToken Alive() const { return alive_.Token(); }
  // Puts NewWndProc in front of target's WindowProc (a graphic control's,
  // which Init does not reach); false when a hook is in place already.
  bool HookWindowProc(TControl* target);
  // Takes the hook out of the skinned control's (or graphic control's)
  // WindowProc; OldWndProc is cleared.
  void RestoreWindowProc();
  // CM_RECREATEWND of a class-library control: the WindowProc, and with it
  // this skin, stays with the control, so the skin moves over to the new
  // window (one skin, never a second; WindowCameBack) and the new one is
  // painted. False when the skin or the window went meanwhile.
  bool FollowRecreatedWindow(TMessage& Message);
  // The control's window went while the skin was on and the control holds
  // a new one, whoever made it: the skin goes on the new window, and
  // WindowRecreated makes again what belonged to the old one.
  virtual void WindowCameBack();
  // What a skin keeps of the old window (inner windows skinned, pictures
  // handed to the control, overlays) for the new one; the old window's
  // WM_NCDESTROY has let go of it already.
  virtual void WindowRecreated() {}
  // A control's window skinned as a raw window (Inithwnd) is not reached
  // by CM_RECREATEWND nor by the messages of the control's next window:
  // this watches the control's WindowProc for them, so that the skin
  // follows the new window all the same.
  void WatchRecreation();

 private:
  // The skinned window's own procedure in front of the previous one.
  bool SubclassWindow();
  // WindowCameBack once the control holds a new window. False when the
  // skin went.
  bool CatchNewWindow();
  // A message of the control's WindowProc passed on (pass); the WM_CREATE
  // of a new window the skin waits for ends the wait.
  void PassUntilWindowMade(TMessage& Message, const std::function<void()>& pass);

  TLifeFlag alive_;
  // WM_NCDESTROY took the window of a class-library control, which may get
  // another (its parent's or its own re-creation).
  bool awaitingWindow_ = false;
  TWindowProcHook procHook_;
  TWindowProcHook recreationHook_;  // WatchRecreation
  TWndSubclass subclass_;
};

// A frame I of N that exists in a picture with pixels.
bool FrameDrawable(const TBitmap* bmp, int I, int N);
// Fills rect with a temporary solid brush of color.
void FillColorRect(HDC dc, const TRect& rect, TColor color);
// WS_POPUP, or the parent handle value 0x10014.
bool IsPopupWindow(HWND wnd);
// dest takes source's size and pixel format, then source is drawn on it.
void CopyBitmap(TBitmap& source, TBitmap& dest);
// The whole window text (at most 999 characters on systems without the
// wide text functions).
String GetWindowCaption(HWND wnd);
// The window text in the ANSI code page, at most 999 bytes (WM_GETTEXT).
std::string GetWindowCaptionA(HWND wnd);
// The point DoMouseDown reports, in the control's client coordinates.
TPoint MouseDownPoint(TControl* control, const TMessage& Message);

}  // namespace qv
