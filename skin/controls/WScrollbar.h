// The overlay of one native scroll bar. The system draws window scroll bars
// in the non-client area, where a control skin cannot paint reliably, so a
// small window of ours sits exactly over the bar, directly above the covered
// window in z-order, and paints it from the skin's scroll-bar images. It
// scrolls nothing itself: a press is handed to the system's own tracking of
// the native bar, and the owning skin repaints the overlay on every scroll.
//
// sbType 0: the horizontal bar of a window, 1: its vertical bar (both placed
// from GetScrollBarInfo); 2: a standalone scroll-bar control, covered whole,
// whose thumb the overlay works out from GetScrollInfo itself.
//
// The overlay is owned by one control skin (obj), which places, shows, hides
// and frees it; the skin data comes from that skin.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "platform/core/Bitmap.h"
#include "platform/core/LifeFlag.h"
#include "platform/win/Controls.h"
#include "skin/controls/ScrollGeometry.h"

namespace qv {

class TSkinControl;
class TSkinData;

class TWScrollbar : public TCustomPanel {
  QV_CLASS(TWScrollbar)
 public:
  explicit TWScrollbar(TComponent* AOwner);
  ~TWScrollbar() override;

  void Attach(TSkinControl* aobj, TWinControl* aControl, uint8_t aType);
  // A raw window, types 0 and 1; the overlay keeps its own colour.
  void AttachHwnd(TSkinControl* aobj, HWND ahwnd, uint8_t aType);
  // Places the overlay over the bar of ahwnd and shows it, or hides it when
  // the window or its bar is hidden. Nothing changes without bar information.
  void SetPosition(HWND ahwnd);
  void HideScrollbar();
  // Shown over its bar with a skin that paints it: the native bar under it
  // is never seen.
  bool PaintsOverBar() const;
  // Invalidated only when a paint now would differ from the last one (the
  // covered window repaints after every line a log box appends, and the
  // thumb moves far less often). Forgotten on a skin change.
  void InvalidateChanged();
  void ForgetPainted() { painted_.reset(); }

  // The bar as the system reports it (types 0 and 1) or as worked out for a
  // standalone bar (type 2, every state bit clear); false when there is none.
  bool GetBarInfo(SCROLLBARINFO& info);
  // kScrollPart* at a point in overlay coordinates.
  int32_t PartAtPoint(POINT pt) const;

  // The covered control going first.
  void Notification(TComponent* component, TOperation operation) override;

  int32_t Len = 0;
  int32_t thumbTop = 0;
  int32_t thumbbottom = 0;
  TPoint OffsetSC;  // screen position of the bar (types 0 and 1)
  TPoint trackp;    // cursor at the last press
  int32_t trackthumb = 0;
  // The press is with the system's tracking, which has not returned yet.
  bool fdown = false;
  int32_t sbDir = 0;  // 0 horizontal, 1 vertical
  int32_t scrollpos = kScrollPartNone;
  int32_t CW = 0;
  HWND hwnd = nullptr;
  TWinControl* control = nullptr;
  TSkinControl* obj = nullptr;
  uint8_t sbType = 0;
  TRect sbRect;  // the bar in the covered window's client coordinates
  bool sbVisible = false;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void Paint() override;

 private:
  bool GetScrollCtlInfo(SCROLLBARINFO& info);
  void WMMouseMove(TMessage& message);
  void WMMouseLeave(TMessage& message);
  void WMLButtonDown(TMessage& message);
  void WMLButtonUp(TMessage& message);
  void DragThumb();
  // What a paint now would draw; false when nothing is painted.
  bool PaintInput(TScrollPaintInput& in);
  // The owning skin may free the overlay inside the system's tracking.
  TLifeFlag alive_;
  // Where each paint composes, kept: the overlay repaints after every line a
  // log box appends, and a new DIB section and DC each time cost more than
  // the drawing.
  TBitmap buffer_;
  std::optional<TScrollPaintInput> painted_;
};

// One bar composed from the skin into buffer, resized to the layout's size
// (every pixel of it drawn anew); false when the skin has no arrow strip or
// the bitmap cannot be made. The combo list's bar uses it too.
bool ComposeScrollBar(TSkinControl& skin, const TScrollPaintInput& in, TBitmap& buffer);

}  // namespace qv
