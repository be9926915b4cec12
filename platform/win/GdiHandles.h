// Who owns a GDI handle, in its type. An owned object is deleted exactly once
// by whoever holds it; a borrowed one (a parent's WM_GETFONT font, a stock
// object, a system colour brush) has a type that cannot delete it. Selections,
// DCs and the DC state a painter changes are put back at scope exit, also when
// the painter raises.
#pragma once

#include <windows.h>

#include <utility>

namespace qv {

// How an owned handle is deleted: icons have their own call.
template <class Handle>
inline void DeleteGdiHandle(Handle h) {
  DeleteObject(h);
}
template <>
inline void DeleteGdiHandle(HICON h) {
  DestroyIcon(h);
}

// A move-only owning handle; deletes its object when it goes.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : h_(h) {}
  GdiObject(GdiObject&& other) noexcept : h_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const { return h_; }
  operator Handle() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

  // Deletes what was held; a handle may not be reset to itself.
  void Reset(Handle h = nullptr) {
    if (h_ && h_ != h) DeleteGdiHandle(h_);
    h_ = h;
  }
  // Gives the object to a new owner, which must delete it.
  [[nodiscard]] Handle Release() { return std::exchange(h_, nullptr); }

 private:
  Handle h_ = nullptr;
};

// A borrowed handle: copyable, never deleted through this type.
template <class Handle>
class GdiRef {
 public:
  GdiRef() = default;
  GdiRef(Handle h) : h_(h) {}
  GdiRef(const GdiObject<Handle>& owned) : h_(owned.Get()) {}
  Handle Get() const { return h_; }
  operator Handle() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  Handle h_ = nullptr;
};

using OwnedPen = GdiObject<HPEN>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedFont = GdiObject<HFONT>;
using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedRegion = GdiObject<HRGN>;
using OwnedIcon = GdiObject<HICON>;
using PenRef = GdiRef<HPEN>;
using BrushRef = GdiRef<HBRUSH>;
using FontRef = GdiRef<HFONT>;
using BitmapRef = GdiRef<HBITMAP>;

// The font a window draws with (WM_GETFONT): its owner's, never ours to delete.
inline FontRef WindowFont(HWND wnd) { return reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)); }

// A w x h copy of icon, from its resource when it has one (the image made
// for that size), else scaled; empty when the icon cannot be copied.
inline OwnedIcon SizedIconCopy(HICON icon, int w, int h) {
  OwnedIcon copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
  // An icon made in memory has no resource to copy from.
  if (!copy) copy.Reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, 0)));
  return copy;
}

// Selects an object into a DC and selects back what was there. A null DC or
// object selects nothing, so a control without a font of its own keeps the
// DC's.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's DC (or the screen's, for a null window), given back at scope
// exit. Whole takes the window's frame in as well as its client area.
class WindowDC {
 public:
  enum Area { Client, Whole };
  explicit WindowDC(HWND wnd, Area area = Client) : wnd_(wnd), dc_(area == Whole ? GetWindowDC(wnd) : GetDC(wnd)) {}
  // Takes over a DC got for wnd in another way (GetDCEx).
  WindowDC(HWND wnd, HDC got) : wnd_(wnd), dc_(got) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// A memory DC compatible with `like` (the screen for null), deleted at scope exit.
class MemoryDC {
 public:
  explicit MemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// The DC of a WM_PAINT or WM_PRINTCLIENT: the one in wParam when the sender
// gave one, else begin/end paint, so both messages share one paint path.
class PaintDC {
 public:
  PaintDC(HWND wnd, WPARAM given) : wnd_(wnd), dc_(reinterpret_cast<HDC>(given)) {
    if (!dc_) dc_ = BeginPaint(wnd_, &ps_), own_ = true;
  }
  ~PaintDC() {
    if (own_) EndPaint(wnd_, &ps_);
  }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  // Only filled for a DC this object began.
  const PAINTSTRUCT& Paint() const { return ps_; }

 private:
  HWND wnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
  bool own_ = false;
};

// Puts the DC's clip region back as found, none included; clearing it
// instead would lift a clip the caller had set.
class ClipRegionSaver {
 public:
  explicit ClipRegionSaver(HDC dc) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    if (saved_ && GetClipRgn(dc_, saved_) != 1) saved_.Reset();
  }
  ~ClipRegionSaver() { SelectClipRgn(dc_, saved_); }
  ClipRegionSaver(const ClipRegionSaver&) = delete;
  ClipRegionSaver& operator=(const ClipRegionSaver&) = delete;

 private:
  HDC dc_;
  OwnedRegion saved_;
};

// Puts back the whole DC state (objects, clip region, origin, text style):
// for a painter that moves the origin, or lends the DC to code that may
// leave anything changed. A DC that cannot save is left alone.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(dc ? SaveDC(dc) : 0) {}
  ~SavedDC() {
    if (id_) RestoreDC(dc_, id_);
  }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

// Puts back the text colour, background colour and background mode.
class TextStyleSaver {
 public:
  explicit TextStyleSaver(HDC dc)
      : dc_(dc), text_(GetTextColor(dc)), back_(GetBkColor(dc)), mode_(GetBkMode(dc)) {}
  ~TextStyleSaver() {
    SetTextColor(dc_, text_);
    SetBkColor(dc_, back_);
    SetBkMode(dc_, mode_);
  }
  TextStyleSaver(const TextStyleSaver&) = delete;
  TextStyleSaver& operator=(const TextStyleSaver&) = delete;

 private:
  HDC dc_;
  COLORREF text_;
  COLORREF back_;
  int mode_;
};

}  // namespace qv
