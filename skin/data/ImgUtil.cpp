#include "skin/data/ImgUtil.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {

namespace {

struct GradientCache {
  struct Slot {
    int count = 0;
    TColor from = 0, to = 0;
    std::vector<TColor> ramp;
  };
  std::array<Slot, kGradientSlots> slots;
  int next = 0;
};

GradientCache& Cache() {
  static GradientCache cache;
  return cache;
}

// Whole-pixel moves between two bitmaps of the same format.
void CopyPixel(const TBitmap& src, int sx, int sy, TBitmap& dst, int dx, int dy) {
  const int n = src.BytesPerPixel();
  std::memcpy(dst.ScanLine(dy) + dx * n, src.ScanLine(sy) + sx * n, static_cast<size_t>(n));
}

template <class Map>
void Remap(TBitmap& bitmap, int newWidth, int newHeight, Map map) {
  TBitmap out;
  out.SetPixelFormat(bitmap.PixelFormat());
  out.SetSize(newWidth, newHeight);
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      int dx, dy;
      map(x, y, dx, dy);
      CopyPixel(bitmap, x, y, out, dx, dy);
    }
  out.TransparentColor = bitmap.TransparentColor;
  out.Transparent = bitmap.Transparent;
  bitmap.Assign(out);
}

}  // namespace

void ReplaceKeyColor(TBitmap& bitmap, TColor color) {
  bitmap.SetPixelFormat(pf24bit);
  const uint32_t c = static_cast<uint32_t>(color);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      uint8_t* p = row + 3 * x;
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
        p[0] = BlueOf(c);
        p[1] = GreenOf(c);
        p[2] = RedOf(c);
      }
    }
  }
}

void MirrorBitmap(TBitmap& bitmap) {
  const int w = bitmap.Width();
  Remap(bitmap, w, bitmap.Height(), [w](int x, int y, int& dx, int& dy) { dx = w - 1 - x, dy = y; });
}

void FlipBitmap(TBitmap& bitmap) {
  const int h = bitmap.Height();
  Remap(bitmap, bitmap.Width(), h, [h](int x, int y, int& dx, int& dy) { dx = x, dy = h - 1 - y; });
}

void RotateBitmapLeft(TBitmap& bitmap) {
  const int w = bitmap.Width();
  Remap(bitmap, bitmap.Height(), w, [w](int x, int y, int& dx, int& dy) { dx = y, dy = w - 1 - x; });
}

void RotateBitmapRight(TBitmap& bitmap) {
  const int h = bitmap.Height();
  Remap(bitmap, h, bitmap.Width(), [h](int x, int y, int& dx, int& dy) { dx = h - 1 - y, dy = x; });
}

TColor Blend(TColor c1, TColor c2, int a) {
  const uint32_t x = ColorToRGB(c1), y = ColorToRGB(c2);
  const int scale = a < 100 ? 100 : 1000;
  auto mix = [&](int p, int q) { return (p * a + q * (scale - a) + scale / 2) / scale; };
  return static_cast<TColor>(RGBColor(static_cast<unsigned>(mix(RedOf(x), RedOf(y))),
                                      static_cast<unsigned>(mix(GreenOf(x), GreenOf(y))),
                                      static_cast<unsigned>(mix(BlueOf(x), BlueOf(y)))));
}

int FindGradient(int count, TColor from, TColor to) {
  if (count < 1) throw EAssertionFailed(u"Assertion failure");
  const auto& slots = Cache().slots;
  for (int i = kGradientSlots - 1; i >= 0; --i) {
    const auto& s = slots[static_cast<size_t>(i)];
    if (s.count == count && s.from == from && s.to == to) return i;
  }
  return -1;
}

int MakeGradient(int count, TColor from, TColor to) {
  if (count < 1) throw EAssertionFailed(u"Assertion failure");
  GradientCache& cache = Cache();
  const int slot = cache.next;
  cache.next = (cache.next + 1) % kGradientSlots;
  auto& s = cache.slots[static_cast<size_t>(slot)];
  s.count = count;
  s.from = from;
  s.to = to;
  s.ramp.assign(static_cast<size_t>(count), 0);
  const uint32_t f = static_cast<uint32_t>(from), t = static_cast<uint32_t>(to);
  const int fc[3] = {RedOf(f), GreenOf(f), BlueOf(f)};
  const int diff[3] = {RedOf(t) - fc[0], GreenOf(t) - fc[1], BlueOf(t) - fc[2]};
  const int c = count - 1;
  for (int i = 0; i < count; ++i) {
    int ch[3];
    for (int k = 0; k < 3; ++k) {
      // Steps rounded to nearest in both directions: adding c/2 before a
      // division that truncates toward zero would end a falling ramp one
      // short of its last colour.
      const int n = i * diff[k];
      ch[k] = c == 0 ? fc[k] + diff[k] / 2 : fc[k] + (n >= 0 ? n + c / 2 : n - c / 2) / c;
    }
    s.ramp[static_cast<size_t>(i)] = static_cast<TColor>(
        RGBColor(static_cast<unsigned>(ch[0]), static_cast<unsigned>(ch[1]), static_cast<unsigned>(ch[2])));
  }
  return slot;
}

int GetGradient(int count, TColor from, TColor to) {
  const int slot = FindGradient(count, from, to);
  return slot >= 0 ? slot : MakeGradient(count, from, to);
}

const std::vector<TColor>& GradientRamp(int slot) { return Cache().slots.at(static_cast<size_t>(slot)).ramp; }

void ResetGradientCache() { Cache() = GradientCache(); }

bool GradientSpan(const TRect& rect, const TRect& clip, bool vertical, int& n, int& first, int& last) {
  n = vertical ? rect.Height() : rect.Width();
  if (n <= 0) return false;
  const int start = vertical ? rect.Top : rect.Left;
  const int clipStart = vertical ? clip.Top : clip.Left;
  const int clipEnd = vertical ? clip.Bottom : clip.Right;
  first = clipStart > start ? clipStart - start : 0;
  last = clipEnd < start + n ? clipEnd - start - 1 : n - 1;
  return first <= last;
}

void GradientFillBitmap(TBitmap& bitmap, const TRect& rect, TColor from, bool vertical, TColor to) {
  const TRect clip = Rect(0, 0, bitmap.Width(), bitmap.Height());
  int n, first, last;
  if (!GradientSpan(rect, clip, vertical, n, first, last)) return;
  const int slot = GetGradient(n, static_cast<TColor>(ColorToRGB(from)), static_cast<TColor>(ColorToRGB(to)));
  const std::vector<TColor> ramp = GradientRamp(slot);
  for (int i = first; i <= last; ++i) {
    const TRect band = vertical ? Rect(rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1)
                                : Rect(rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom);
    FillRect(bitmap, band, ramp[static_cast<size_t>(i)]);
  }
}

int ColorSaturation(TColor color) {
  const uint32_t c = static_cast<uint32_t>(color);
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double s = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
  return static_cast<int>(std::nearbyint(s * 255.0));
}

}  // namespace qv
