// Window procedures bound to objects. MakeObjectInstance gives a method its
// own callable WNDPROC address (a few bytes of machine code that put the
// method's record where the window handle was and jump to one shared
// dispatcher), so that a raw window can be subclassed by an object and its
// previous procedure put back exactly. TWndSubclass does that subclassing.
//
// The stubs live in executable blocks shared by many instances, writable
// only while a stub is being written; a freed address goes back to the
// block's free list and the blocks stay mapped for the life of the process,
// so a stale address never points at unmapped memory.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/win/Messages.h"

namespace qv {

// A WNDPROC address that calls method with (Msg, WParam, LParam) and returns
// its Result. The window handle is not passed: the object knows its window.
// An exception out of the method goes to the application's error box.
void* MakeObjectInstance(TWndMethod method);
// The address may be reused at once. Freeing from inside a call of the same
// instance is allowed: the method stays alive until that call returns.
void FreeObjectInstance(void* instance);
inline WNDPROC AsWndProc(void* instance) { return reinterpret_cast<WNDPROC>(instance); }

// A hidden message-only window whose messages go to method (unhandled ones
// are the method's to pass to DefWindowProcW). DeallocateHWnd destroys it and
// frees its procedure; it may be called from inside that procedure.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);

// One window's procedure replaced by an object's method.
//
// Remove puts the previous procedure back only while ours is still the
// window's procedure. When someone subclassed the window after us, their
// procedure calls ours as its previous one, so ours stays in place as a
// pass-through to the saved procedure; it frees itself once the window is
// destroyed, or once it is on top again and can be taken out.
class TWndSubclass {
 public:
  TWndSubclass();
  ~TWndSubclass();
  TWndSubclass(const TWndSubclass&) = delete;
  TWndSubclass& operator=(const TWndSubclass&) = delete;

  // Every message of wnd goes to method first; what it does not handle it
  // hands to CallPrev. False, with nothing changed, when wnd is not a
  // window or this object already holds a window.
  bool Install(HWND wnd, TWndMethod method);
  // True: the previous procedure is back. False: left as a pass-through
  // (or nothing was installed). Also safe after the window is destroyed.
  bool Remove();

  bool Installed() const;
  HWND Window() const;
  // The procedure that was replaced (what GWLP_WNDPROC held).
  WNDPROC PrevWndProc() const;
  // Our WNDPROC address.
  void* ObjectInstance() const;

  // Still answers after Remove, for the message being handled.
  LRESULT CallPrev(UINT msg, WPARAM wparam, LPARAM lparam) const;
  void CallPrev(TMessage& message) const { message.Result = CallPrev(message.Msg, message.WParam, message.LParam); }

  struct State;

 private:
  std::shared_ptr<State> state_;
  // After Remove, for the message still being handled.
  HWND keptWnd_ = nullptr;
  WNDPROC keptPrev_ = nullptr;
};

}  // namespace qv
