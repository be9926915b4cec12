#include "skin/controls/ComboxScrollBar.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/WinGeometry.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

// Sent to a combo box's list when the drop-down's own tracking ends.
constexpr UINT kListEndTrack = 0x1AE;

bool ListBarInfo(const TSkinData* sd, HWND list, SCROLLBARINFO& info) {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (!list) return false;
  return sd ? sd->GetScrollBarInfo(list, OBJID_VSCROLL, info) : SkinGetScrollBarInfo(list, OBJID_VSCROLL, info);
}

}  // namespace

const TClassInfo& TComboxScrollBar::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TComboxScrollBar>(u"TComboxScrollBar", TSkinControl::StaticClass()).Done();
  return info;
}

TComboxScrollBar::TComboxScrollBar(TComponent* AOwner) : TSkinControl(AOwner) {
  control = nullptr;
  cw = GetSystemMetrics(SM_CXHSCROLL);
}

bool TComboxScrollBar::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      // The list draws its frame and native bar; AfterProc paints over them.
      return true;
    case WM_NCMOUSEMOVE:
      // The native bar would light up its parts under our picture.
      return Message.WParam != HTHSCROLL && Message.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
      return !TrackThumb(Message);
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

void TComboxScrollBar::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kListEndTrack:
      PaintControl(nullptr);
      return;
    default:
      TSkinControl::AfterProc(Message);
  }
}

void TComboxScrollBar::DrawControl(HDC dc, const TRect& /*rc*/) { DrawScrollBar(dc); }

void TComboxScrollBar::DrawScrollBar(HDC dc) {
  if (!fsd || !fsd->SArrow || !fsd->SArrow->Map || fsd->SArrow->Map->Empty()) return;
  SCROLLBARINFO info;
  if (!ListBarInfo(fsd, hwnd, info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  RECT wr{};
  if (!GetWindowRect(hwnd, &wr)) return;
  const RECT& bar = info.rcScrollBar;
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  const int winW = wr.right - wr.left, winH = wr.bottom - wr.top;
  if (w < 0 || h < 0 || w > winW || h > winH) return;
  thumbtop = info.xyThumbTop;
  thumbBottom = info.xyThumbBottom;
  const TBitmap& arrows = *fsd->SArrow->Map;
  TScrollPaintInput in;
  in.vertical = true;
  in.width = w;
  in.height = h;
  in.thickness = ScrollBarThickness(arrows.Height(), cw);
  in.cw = cw;
  in.arrowBase = winH;
  in.extent = winH;
  in.thumb = TThumbSpan{thumbtop, thumbBottom};
  in.gripLength = arrows.Height();
  in.enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  in.thinBuffer = true;
  if (!ComposeScrollBar(*this, in, buffer)) return;
  StretchBlt(dc, bar.left - wr.left, bar.top - wr.top, buffer.Width(), buffer.Height(), BitmapCanvas(buffer).Handle(), 0,
             0, buffer.Width(), buffer.Height(), SRCCOPY);
}

bool TComboxScrollBar::TrackThumb(const TMessage& Message) {
  if (Message.WParam != HTVSCROLL) return false;
  // Everything the drag needs is copied here: the messages it dispatches
  // may unskin the list and free this skin.
  const HWND list = hwnd;
  SCROLLBARINFO info;
  if (!ListBarInfo(fsd, list, info)) return false;
  const int32_t a = PointFromLParam(Message.LParam).Y - info.rcScrollBar.top;
  if (a < info.xyThumbTop || a > info.xyThumbBottom) return false;

  SetCapture(list);
  POINT c0{};
  GetCursorPos(&c0);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(list, SB_VERT, &si);
  const TScrollRange range{si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos};
  int32_t last = si.nPos;
  const int32_t off0 = info.xyThumbTop - cw;
  const int32_t track = (info.rcScrollBar.bottom - info.rcScrollBar.top) - 2 * cw;
  const int32_t size = info.xyThumbBottom - info.xyThumbTop;

  // Waits for each message; ends on the release, and also when the capture
  // goes elsewhere, the list is destroyed or the application quits, none of
  // which a release would ever follow.
  bool released = false;
  for (;;) {
    if (!IsWindow(list) || GetCapture() != list) break;
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The quit belongs to the application's loop, which sees it next.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE: {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (!IsWindow(list) || GetCapture() != list) continue;
        POINT p{};
        GetCursorPos(&p);
        const int32_t pos = ThumbDragPosition(off0, p.y - c0.y, track, size, range);
        if (pos != last) SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos & 0xFFFF), 0);
        last = pos;
        break;
      }
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last & 0xFFFF), 0);
        PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
        released = true;
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
    }
    if (released) break;
  }
  if (!released && IsWindow(list)) PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
  if (GetCapture() == list) ReleaseCapture();
  return true;
}

}  // namespace qv
