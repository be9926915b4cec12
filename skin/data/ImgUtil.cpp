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

// Output pixels are written in square blocks, so that the source column a
// quarter turn reads stays in the cache across the block's rows.
constexpr int kTurnBlock = 64;

// Where output row `row` starts in the source (x, y), and the source step
// from one output pixel to the next.
struct TurnWalk {
  int x, y, stepX, stepY;
};

TurnWalk WalkOf(TTurn turn, int width, int height, int row) {
  switch (turn) {
    case TTurn::Mirror: return {width - 1, row, -1, 0};
    case TTurn::Flip: return {0, height - 1 - row, 1, 0};
    case TTurn::Left: return {width - 1 - row, 0, 0, 1};
    case TTurn::Right: return {row, height - 1, 0, -1};
  }
  return {0, row, 1, 0};
}

// Mirror and flip swap pixels within the bitmap's own rows.
void SwapInPlace(TBitmap& bitmap, TTurn turn) {
  const int w = bitmap.Width(), h = bitmap.Height(), n = bitmap.BytesPerPixel();
  if (w <= 0 || h <= 0) return;
  uint8_t* top = bitmap.ScanLine(0);
  const ptrdiff_t stride = bitmap.RowBytes();
  if (turn == TTurn::Flip) {
    for (int y = 0; y < h / 2; ++y) std::swap_ranges(top + y * stride, top + y * stride + w * n, top + (h - 1 - y) * stride);
    return;
  }
  for (int y = 0; y < h; ++y)
    for (uint8_t *l = top + y * stride, *r = l + (w - 1) * n; l < r; l += n, r -= n) std::swap_ranges(l, l + n, r);
}

// A quarter turn needs a second bitmap of the turned size.
void TurnAcross(TBitmap& bitmap, TTurn turn) {
  TBitmap out;
  out.SetPixelFormat(bitmap.PixelFormat());
  out.SetSize(bitmap.Height(), bitmap.Width());
  TurnPixels(bitmap, bitmap.Width(), bitmap.Height(), out, turn);
  out.TransparentColor = bitmap.TransparentColor;
  out.Transparent = bitmap.Transparent;
  bitmap.Assign(out);
}

}  // namespace

TRect MarginsBeforeTurn(TTurn turn, const TRect& m) {
  switch (turn) {
    case TTurn::Mirror: return TRect{m.Right, m.Top, m.Left, m.Bottom};
    case TTurn::Flip: return TRect{m.Left, m.Bottom, m.Right, m.Top};
    case TTurn::Left: return TRect{m.Bottom, m.Left, m.Top, m.Right};
    case TTurn::Right: return TRect{m.Top, m.Right, m.Bottom, m.Left};
  }
  return m;
}

void TurnPixels(const TBitmap& src, int width, int height, TBitmap& dst, TTurn turn) {
  const int outW = QuarterTurn(turn) ? height : width, outH = QuarterTurn(turn) ? width : height;
  if (width <= 0 || height <= 0 || width > src.Width() || height > src.Height() || outW > dst.Width() ||
      outH > dst.Height() || src.PixelFormat() != dst.PixelFormat())
    return;
  // Row 0 syncs each store once; the rows lie one stride apart from there.
  const uint8_t* from = src.ScanLine(0);
  uint8_t* to = dst.ScanLine(0);
  const int n = src.BytesPerPixel();
  const ptrdiff_t srcStride = src.RowBytes(), dstStride = dst.RowBytes();
  for (int top = 0; top < outH; top += kTurnBlock)
    for (int left = 0; left < outW; left += kTurnBlock) {
      const int right = std::min(left + kTurnBlock, outW);
      for (int row = top; row < std::min(top + kTurnBlock, outH); ++row) {
        const TurnWalk w = WalkOf(turn, width, height, row);
        const ptrdiff_t step = w.stepY * srcStride + w.stepX * n;
        const uint8_t* s = from + (w.y + left * w.stepY) * srcStride + (w.x + left * w.stepX) * n;
        uint8_t* d = to + row * dstStride + left * n;
        for (int x = left; x < right; ++x, s += step, d += n) std::memcpy(d, s, static_cast<size_t>(n));
      }
    }
}

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

void MirrorBitmap(TBitmap& bitmap) { SwapInPlace(bitmap, TTurn::Mirror); }

void FlipBitmap(TBitmap& bitmap) { SwapInPlace(bitmap, TTurn::Flip); }

void RotateBitmapLeft(TBitmap& bitmap) { TurnAcross(bitmap, TTurn::Left); }

void RotateBitmapRight(TBitmap& bitmap) { TurnAcross(bitmap, TTurn::Right); }

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
