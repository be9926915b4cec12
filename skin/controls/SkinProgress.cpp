#include "skin/controls/SkinProgress.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

// The bar as composed: lying down for a vertical bar.
struct Composition {
  TBitmap buffer;
  TRect B;
  bool vertical = false;
};

bool Begin(Composition& c, HWND wnd, const TRect& R, TColor face) {
  if (R.Width() <= 0 || R.Height() <= 0) return false;
  c.vertical = GetWindowLongPtrW(wnd, GWL_STYLE) & PBS_VERTICAL;
  c.B = c.vertical ? Rect(0, 0, R.Height(), R.Width()) : Rect(0, 0, R.Width(), R.Height());
  c.buffer.SetPixelFormat(pf24bit);
  c.buffer.SetSize(c.B.Width(), c.B.Height());
  FillColorRect(BitmapCanvas(c.buffer).Handle(), c.B, face);
  return true;
}

void Finish(Composition& c, HDC dc, const TRect& R) {
  if (c.vertical) RotateBitmapLeft(c.buffer);
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), BitmapCanvas(c.buffer).Handle(), 0, 0, SRCCOPY);
}

int Range(HWND wnd, bool low) { return static_cast<int>(SendMessageW(wnd, PBM_GETRANGE, low ? TRUE : FALSE, 0)); }

}  // namespace

int ProgressFill(int width, int pos, int lo, int hi) {
  if (hi == lo || width <= 0) return 0;
  int64_t span = static_cast<int64_t>(hi) - lo;
  int64_t done = static_cast<int64_t>(pos) - lo;
  done = std::clamp<int64_t>(done, std::min<int64_t>(0, span), std::max<int64_t>(0, span));
  // A range wider than 32 bits is halved with the position: at most a
  // pixel can change.
  if (span > INT32_MAX || span < INT32_MIN) span /= 2, done /= 2;
  // Rounded to the nearest pixel, as the system's MulDiv rounds.
  const int filled = ScrollMulDiv(width, static_cast<int32_t>(done), static_cast<int32_t>(span));
  return std::clamp(filled, 0, width);
}

const TClassInfo& TSkinProgress::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinProgress>(u"TSkinProgress", TSkinControl::StaticClass()).Done();
  return info;
}

bool TSkinProgress::HasPictures() const {
  if (!fsd || !fsd->progress) return false;
  if (fsd->progress->style != 1) return FrameDrawable(fsd->progress->Map.get(), 2, 2);
  return HasPicture(fsd->progress.get()) && HasPicture(fsd->progresschunk.get());
}

bool TSkinProgress::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    // Without the pictures its style draws with, the bar paints itself
    // rather than stay blank.
    case WM_PAINT:
      if (!HasPictures()) return true;
      WMPaint(Message);
      Message.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (!HasPictures()) return true;
      Message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

void TSkinProgress::DrawControl(HDC dc, const TRect& R) {
  if (!HasPictures()) return;
  TDataSkinBorder& p = *fsd->progress;
  if (p.style == 1) {
    DrawControl1(dc, R);
    return;
  }
  Composition c;
  if (!Begin(c, hwnd, R, fsd->Colors[scButtonFace])) return;
  HDC bdc = BitmapCanvas(c.buffer).Handle();
  DrawSkinImage(bdc, c.B, *p.Map, false, p.Tile != 0, true, 2, 1, p.r);
  const int pos = static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
  const int hi = Range(hwnd, false), lo = Range(hwnd, true);
  if (hi > 0 && pos > 0) {
    const int filled = ProgressFill(c.B.Width(), pos, lo, hi);
    if (filled > 0) DrawSkinImage(bdc, Rect(0, 0, filled, c.B.Height()), *p.Map, false, p.Tile != 0, true, 2, 2, p.r);
  }
  Finish(c, dc, R);
}

void TSkinProgress::DrawControl1(HDC dc, const TRect& R) {
  if (!HasPictures()) return;
  TDataSkinBorder& p = *fsd->progress;
  TDataSkinObject& chunk = *fsd->progresschunk;
  Composition c;
  if (!Begin(c, hwnd, R, fsd->Colors[scButtonFace])) return;
  HDC bdc = BitmapCanvas(c.buffer).Handle();
  DrawSkinImage(bdc, c.B, *p.Map, false, false, true, 1, 1, p.r);
  const int pos = static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
  const int hi = Range(hwnd, false);
  if (hi > 0 && pos > 0) {
    // This style measures from 0, whatever the low end of the range.
    const TRect F = Rect(c.B.Left, c.B.Top, c.B.Left + ProgressFill(c.B.Width(), pos, 0, hi), c.B.Bottom);
    TBitmap& image = *chunk.Map;
    const int cw = image.Width(), ch = image.Height();
    TBitmap bar;
    bar.SetPixelFormat(pf24bit);
    if (chunk.Tile == 1) {
      if (F.Width() > 0) {
        bar.SetSize(F.Width(), ch);
        HDC bardc = BitmapCanvas(bar).Handle();
        for (int k = 0; k <= F.Width() / cw; ++k)
          BitBlt(bardc, k * cw, 0, cw, ch, BitmapCanvas(image).Handle(), 0, 0, SRCCOPY);
        const int dy = (F.Bottom - ch) / 2;
        DrawTransparentBitmap(bdc, Rect(chunk.r.Left + 2, R.Top + dy, chunk.r.Left + 2 + bar.Width(), R.Top + dy + ch),
                              bar, kSkinKeyColor);
      }
    } else if (F.Right > 0 && F.Bottom - 4 > 0) {
      bar.SetSize(F.Right, F.Bottom - 4);
      HDC bardc = BitmapCanvas(bar).Handle();
      FillColorRect(bardc, Rect(0, 0, bar.Width(), bar.Height()), kSkinKeyColor);
      StretchSkinBar(bardc, F, image, false, 1, 1, chunk.r);
      DrawTransparentBitmap(bdc, Rect(2, 2, 2 + bar.Width(), 2 + bar.Height()), bar, kSkinKeyColor);
    }
  }
  Finish(c, dc, R);
}

}  // namespace qv
