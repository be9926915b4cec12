// The geometry of the skin drawing primitives, without a device context:
// which piece of a skin frame goes where for the nine-part grid, the
// three-part strip and bar, tiling, centring, and the runs of non-key pixels
// that make a window region. SkinDraw.h draws with these; frames come from
// SkinFrameRect (skin/data/SkinImage.h), the one frame-geometry helper.
//
// A piece with no area on either side is never produced, so a frame count
// below 1, an empty image, margins wider than the frame or a target
// narrower than them never yield a negative (mirroring) stretch.
#pragma once
#include <array>
#include <vector>

#include "platform/core/Bitmap.h"

namespace qv {

struct TSkinPiece {
  TRect dst;
  TRect src;
};

// Frame I of N (SkinFrameRect), or an empty rectangle when it does not lie
// inside the image (I outside 1..N, an empty image, more frames than pixels).
TRect SkinFrameIn(const TBitmap& image, bool vertical, int N, int I);

// A rectangle with Right < Left or Bottom < Top makes the primitives draw nothing.
inline bool IsInvertedRect(const TRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

// The nine-part cut of `frame` (image coordinates) into a W x H target:
// corners unscaled, edges stretched along their length, the centre always.
// Margins that do not fit the target (W < Left + Right, H < Top + Bottom)
// become 0 in that direction. Drawing order: top-left, bottom-left,
// top-right corners, left edge, top edge, centre, bottom-right corner,
// right edge, bottom edge (the edges after the centre cover what a tiled
// centre leaves past its right and bottom).
struct TSkinGridCut {
  std::array<TSkinPiece, 9> piece{};
  int count = 0;
  int centre = -1;  // index of the centre, or -1 when it has no area
};
TSkinGridCut SkinGridCut(int W, int H, const TRect& frame, const TRect& margins);

// Three-part horizontal drawing into a W x H target from `frame`: its left
// part (width left) at the left, its middle repeated at its own width from
// x = left while x < W - right (none when the middle is empty), its right
// part (width right) at the right over any overhang; all stretched to H.
std::vector<TSkinPiece> SkinFrameStrip(int W, int H, const TRect& frame, int left, int right);

// The bar of StretchSkinBar into rect: the whole frame stretched over rect
// when the frame is wider than rect, else its left and right parts at their
// width and the middle stretched between them, all to rect's height.
std::vector<TSkinPiece> SkinBarPieces(const TRect& rect, const TRect& frame, int left, int right);

// Copies of a tw x th tile that cover dst row by row from its top-left,
// the last row and column cut at dst's edges. Nothing for a tile without area.
template <class F>
void ForEachTile(const TRect& dst, int tw, int th, F&& f) {
  if (tw <= 0 || th <= 0) return;
  for (int y = dst.Top; y < dst.Bottom; y += th) {
    const int h = dst.Bottom - y < th ? dst.Bottom - y : th;
    for (int x = dst.Left; x < dst.Right; x += tw) f(Bounds(x, y, dst.Right - x < tw ? dst.Right - x : tw, h));
  }
}

// Top-left of a w x h box centred in rect, half differences rounded toward
// zero (negative offsets when the box is larger).
TPoint CenteredOrigin(const TRect& rect, int w, int h);

// Pixels whose red, green and blue each lie between the key's component
// and that component plus its tolerance (capped at 255).
// A negative tolerance makes the range empty.
struct TKeyRange {
  int rLo, rHi, gLo, gHi, bLo, bHi;
  bool Contains(int r, int g, int b) const {
    return r >= rLo && r <= rHi && g >= gLo && g <= gHi && b >= bLo && b <= bHi;
  }
};
TKeyRange KeyRange(TColor key, int blueTolerance, int greenTolerance, int redTolerance);

// One rectangle, a pixel high, per run of pixels outside the key range,
// row by row from the top, moved by (dx, dy). Reads 24- and 32-bit pixels as
// they are; the bitmap is not changed.
void OpaqueRuns(const TBitmap& image, int dx, int dy, const TKeyRange& key, std::vector<TRect>& runs);

}  // namespace qv
