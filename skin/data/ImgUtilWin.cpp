#include "skin/data/ImgUtilWin.h"

#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"

namespace qv {

void GradientFillRect(HDC DC, const TRect& rect, TColor from, bool vertical, TColor to) {
  const RECT r = ToRECT(rect);
  if (!RectVisible(DC, &r)) return;
  const TColor a = static_cast<TColor>(ColorToRGB(from)), b = static_cast<TColor>(ColorToRGB(to));
  RECT clip{};
  GetClipBox(DC, &clip);
  int n, first, last;
  if (!GradientSpan(rect, FromRECT(clip), vertical, n, first, last)) return;
  const std::vector<TColor>& ramp = GradientRamp(GetGradient(n, a, b));
  for (int i = first; i <= last; ++i) {
    const RECT band = vertical ? RECT{rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1}
                               : RECT{rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom};
    const OwnedBrush brush(CreateSolidBrush(static_cast<COLORREF>(ramp[static_cast<size_t>(i)])));
    ::FillRect(DC, &band, brush);
  }
}

}  // namespace qv
