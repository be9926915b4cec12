// Bitmaps built into the skin engine: "TRACK" and "TRACKVERT" (track bar
// channels used when a skin has none; 4 bits per pixel, the standard
// 16-colour palette) and "LUSTRANEMENU" (64 x 16, 1 bit per pixel, black
// glyphs on white: restore, maximise, minimise, close).
#pragma once
#include <vector>

#include "platform/core/Bitmap.h"

namespace qv {

// The bitmap file of that name (compared without regard to case); empty
// when there is none.
std::vector<uint8_t> BuiltinBitmapFile(StringView name);
// Loads it into bmp; false (bmp untouched) when there is none.
bool LoadBuiltinBitmap(TBitmap& bmp, StringView name);

}  // namespace qv
