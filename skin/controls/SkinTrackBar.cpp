#include "skin/controls/SkinTrackBar.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

// Part (sx, sy, sw, sh) of the picture stretched to (dx, dy, dw, dh);
// nothing for a part or target without area.
void StretchPart(HDC dc, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  StretchBlt(dc, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
}

}  // namespace

const TClassInfo& TSkinTrackBar::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinTrackBar>(u"TSkinTrackBar", TSkinControl::StaticClass()).Done();
  return info;
}

bool TSkinTrackBar::BeforeProc(TMessage& Message) {
  if (Message.Msg != WM_NOTIFY && Message.Msg != CN_NOTIFY) return TSkinControl::BeforeProc(Message);
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  // The reflected message carries the header; other senders of the same
  // number go on untouched.
  if (!hdr || (Message.Msg == CN_NOTIFY && !IsReflectedNotify(Message)) || hdr->code != NM_CUSTOMDRAW) return true;
  Message.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(Message.LParam));
  return false;
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& cd) {
  switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      switch (cd.dwItemSpec) {
        case TBCD_THUMB:
          DrawThumb(cd.hdc);
          return CDRF_SKIPDEFAULT;
        case TBCD_CHANNEL:
          DrawChannel(cd.hdc);
          return CDRF_SKIPDEFAULT;
        default:
          return CDRF_DODEFAULT;
      }
    default:
      return CDRF_DODEFAULT;
  }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!fsd || !IsWindow(hwnd)) return;
  RECT t{};
  SendMessageW(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
  const bool vertical = GetWndLong(hwnd, GWL_STYLE) & TBS_VERT;
  TDataSkinObject* image = vertical && fsd->TrackVert ? fsd->TrackVert.get() : fsd->TrackHorz.get();
  // A picture too narrow for its five frames has no thumb to give: the
  // plain one is drawn instead of none.
  if (image && FrameDrawable(image->Map.get(), 2, 5)) {
    DrawSkinMap1(dc, FromRECT(t), image->Map.get(), 2, 5);
    return;
  }
  const OwnedPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(fsd->Colors[scButtonShadow])));
  SelectGuard usePen(dc, pen);
  Rectangle(dc, t.left, t.top, t.right, t.bottom);
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  if (!fsd || !IsWindow(hwnd)) return;
  RECT c{};
  SendMessageW(hwnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  const bool vertical = GetWndLong(hwnd, GWL_STYLE) & TBS_VERT;
  if (vertical && HasPicture(fsd->TrackBarVert.get())) {
    // The system gives a vertical bar's channel lying down (x and y
    // swapped); some versions give it upright.
    const bool lying = c.right - c.left > c.bottom - c.top;
    const RECT v = lying ? RECT{c.top, c.left, c.bottom, c.right} : c;
    TBitmap& image = *fsd->TrackBarVert->Map;
    const TRect& m = fsd->TrackBarVert->r;
    const int iw = image.Width(), ih = image.Height(), vw = v.right - v.left, vh = v.bottom - v.top;
    const int x = v.left + (iw < vw ? (vw - iw) / 2 : 0);
    HDC src = BitmapCanvas(image).Handle();
    StretchPart(dc, x, v.top, iw, m.Top, src, 0, 0, iw, m.Top);
    StretchPart(dc, x, v.top + m.Top, iw, vh - m.Top - m.Bottom, src, 0, m.Top, iw, ih - m.Top - m.Bottom);
    StretchPart(dc, x, v.bottom - m.Bottom, iw, m.Bottom, src, 0, ih - m.Bottom, iw, m.Bottom);
    return;
  }
  if (!HasPicture(fsd->TrackBar.get())) return;
  TBitmap& image = *fsd->TrackBar->Map;
  const TRect& m = fsd->TrackBar->r;
  const int iw = image.Width(), ih = image.Height(), cw = c.right - c.left, ch = c.bottom - c.top;
  const int y = c.top + (ih < ch ? (ch - ih) / 2 : 0);
  HDC src = BitmapCanvas(image).Handle();
  StretchPart(dc, c.left, y, m.Left, ih, src, 0, 0, m.Left, ih);
  StretchPart(dc, c.left + m.Left, y, cw - m.Left - m.Right, ih, src, m.Left, 0, iw - m.Left - m.Right, ih);
  StretchPart(dc, c.right - m.Right, y, m.Right, ih, src, iw - m.Right, 0, m.Right, ih);
}

void TSkinTrackBar::SkinChange() {
  // Taking the focus and giving it back makes the control redraw every part.
  HWND old = SetFocus(hwnd);
  if (old && old != hwnd) SetFocus(old);
  InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace qv
