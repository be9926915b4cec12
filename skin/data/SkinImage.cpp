#include "skin/data/SkinImage.h"

#include <algorithm>

#include "skin/data/ImgUtil.h"
#include "skin/data/SkinGeometry.h"

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
  // The same cut the window painting uses, here drawn on pixels.
  const TSkinGridCut cut = SkinGridCut(W, H, SkinFrameRect(image, vertical, N, I), margins);
  for (int i = 0; i < cut.count; ++i) {
    const TSkinPiece& p = cut.piece[static_cast<size_t>(i)];
    if (tile && i == cut.centre) Tile(out, p.dst, image, p.src);
    else StretchCopy(out, p.dst, image, p.src);
  }
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
