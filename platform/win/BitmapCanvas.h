// Drawing on a TBitmap with GDI: the bitmap's pixels move into a DIB section
// selected into a memory DC of its own, so canvas drawing and scan lines
// share one copy. The DC and canvas live as long as the bitmap's store.
#pragma once
#include <windows.h>

#include "platform/core/Bitmap.h"
#include "platform/win/Graphics.h"

namespace qv {

// The bitmap's canvas (its Handle is the memory DC with the bitmap selected).
TCanvas& BitmapCanvas(TBitmap& bitmap);
// The DIB section; null while the bitmap is empty.
HBITMAP BitmapHandle(TBitmap& bitmap);
// Size, format and pixels from a GDI bitmap (as 24 bits per pixel).
void AssignBitmapHandle(TBitmap& bitmap, HBITMAP source);

}  // namespace qv
