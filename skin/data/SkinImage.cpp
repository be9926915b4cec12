#include "skin/data/SkinImage.h"

#include <algorithm>

#include "skin/data/ImgUtil.h"

namespace qv {

TRect SkinFrameRect(const TBitmap& image, bool vertical, int N, int I) {
  if (N < 1) N = 1;
  if (vertical) {
    const int fh = image.Height() / N;
    return Bounds(0, (I - 1) * fh, image.Width(), fh);
  }
  const int fw = image.Width() / N;
  return Bounds((I - 1) * fw, 0, fw, image.Height());
}

namespace {

void Tile(TBitmap& out, const TRect& d, const TBitmap& image, const TRect& s) {
  if (s.Width() <= 0 || s.Height() <= 0) return;
  for (int y = d.Top; y < d.Bottom; y += s.Height())
    for (int x = d.Left; x < d.Right; x += s.Width()) {
      // The last row and column are cut at the centre's edge.
      const int w = std::min(s.Width(), d.Right - x), h = std::min(s.Height(), d.Bottom - y);
      StretchCopy(out, Bounds(x, y, w, h), image, Bounds(s.Left, s.Top, w, h));
    }
}

}  // namespace

void CreateSkinBitmap(TBitmap& out, int W, int H, const TBitmap& image, const TRect& margins, bool vertical, bool tile,
                      int N, int I) {
  out.Clear();
  out.SetPixelFormat(pf24bit);
  out.SetSize(W, H);
  if (out.Empty()) return;
  const TRect f = SkinFrameRect(image, vertical, N, I);
  const int sx = f.Left, sy = f.Top, fw = f.Width(), fh = f.Height();
  int L = margins.Left, T = margins.Top, R = margins.Right, B = margins.Bottom;
  if (W < L + R) L = R = 0;
  if (H < T + B) T = B = 0;
  auto piece = [&](const TRect& d, const TRect& s) {
    if (d.Width() > 0 && d.Height() > 0 && s.Width() > 0 && s.Height() > 0) StretchCopy(out, d, image, s);
  };
  piece(Rect(0, 0, L, T), Bounds(sx, sy, L, T));
  piece(Rect(0, H - B, L, H), Bounds(sx, sy + fh - B, L, B));
  piece(Rect(W - R, 0, W, T), Bounds(sx + fw - R, sy, R, T));
  piece(Rect(0, T, L, H - B), Rect(sx, sy + T, sx + L, sy + fh - B));
  piece(Rect(L, 0, W - R, T), Rect(sx + L, sy, sx + fw - R, sy + T));
  const TRect centreDst = Rect(L, T, W - R, H - B);
  const TRect centreSrc = Rect(sx + L, sy + T, sx + fw - R, sy + fh - B);
  if (tile) Tile(out, centreDst, image, centreSrc);
  else piece(centreDst, centreSrc);
  piece(Rect(W - R, H - B, W, H), Bounds(sx + fw - R, sy + fh - B, R, B));
  piece(Rect(W - R, T, W, H - B), Rect(sx + fw - R, sy + T, sx + fw, sy + fh - B));
  piece(Rect(L, H - B, W - R, H), Rect(sx + L, sy + fh - B, sx + fw - R, sy + fh));
}

void DrawSkinImage(TBitmap& target, const TRect& rect, const TBitmap& image, bool vertical, bool tile,
                   bool transparent, int N, int I, const TRect& margins) {
  if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
  TBitmap b;
  CreateSkinBitmap(b, rect.Width(), rect.Height(), image, margins, vertical, tile, N, I);
  if (transparent) DrawTransparent(target, rect.Left, rect.Top, b, kSkinKeyColor);
  else StretchCopy(target, rect, b, Rect(0, 0, b.Width(), b.Height()));
}

void DrawSkinFrameCentered(TBitmap& target, const TRect& rect, const TBitmap& image, bool transparent, int N, int I) {
  if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
  const TRect f = SkinFrameRect(image, false, N, I);
  TBitmap frame;
  frame.SetSize(f.Width(), f.Height());
  StretchCopy(frame, Rect(0, 0, f.Width(), f.Height()), image, f);
  const int x = rect.Left + (rect.Width() - f.Width()) / 2;
  const int y = rect.Top + (rect.Height() - f.Height()) / 2;
  if (transparent) DrawTransparent(target, x, y, frame, kSkinKeyColor);
  else StretchCopy(target, Bounds(x, y, f.Width(), f.Height()), frame, Rect(0, 0, f.Width(), f.Height()));
}

}  // namespace qv
