// Skin images cut and composed on pixels, without a device context: the
// frame of a strip, the nine-part cut that keeps margins unscaled, and the
// unscaled centred frame. The skin loader builds its combo images with them,
// so loading needs no window system.
#pragma once
#include "platform/core/Bitmap.h"

namespace qv {

// Frame I (1-based) of N equal frames side by side, or stacked when vertical.
// N below 1 counts as 1; a frame outside the strip gives a rectangle outside
// the image, from which the copies below take nothing.
TRect SkinFrameRect(const TBitmap& image, bool vertical, int N, int I);

// A new bitmap (24 bits per pixel) of the target's size holding frame I
// scaled into it: corners unscaled, edges stretched along their length, the
// centre stretched or tiled. Margins that do not fit the target become 0.
void CreateSkinBitmap(TBitmap& out, int width, int height, const TBitmap& image, const TRect& margins, bool vertical,
                      bool tile, int N, int I);

// CreateSkinBitmap of rect's size drawn at rect's top-left, key-colour
// pixels left out when transparent. Nothing for an inverted rectangle.
void DrawSkinImage(TBitmap& target, const TRect& rect, const TBitmap& image, bool vertical, bool tile,
                   bool transparent, int N, int I, const TRect& margins);

// Frame I of a side-by-side strip, unscaled, centred in rect (half
// differences rounded toward zero).
void DrawSkinFrameCentered(TBitmap& target, const TRect& rect, const TBitmap& image, bool transparent, int N, int I);

}  // namespace qv
