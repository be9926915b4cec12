// GradientFillRect on a device context: one band per line or column of the
// whole rectangle, painted only inside the DC's clip box, colours from the
// shared ramp cache (ImgUtil.h) so a partial paint matches a full one.
#pragma once
#include <windows.h>

#include "skin/data/ImgUtil.h"

namespace qv {

void GradientFillRect(HDC DC, const TRect& rect, TColor from, bool vertical, TColor to);

}  // namespace qv
