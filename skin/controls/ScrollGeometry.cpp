#include "skin/controls/ScrollGeometry.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace qv {

int32_t ScrollMulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t num = static_cast<int64_t>(a) * b;
  const bool negative = (num < 0) != (c < 0);
  const int64_t n = std::llabs(num), d = std::llabs(static_cast<int64_t>(c));
  const int64_t q = (n + d / 2) / d;
  const int64_t r = negative ? -q : q;
  if (r > std::numeric_limits<int32_t>::max() || r < std::numeric_limits<int32_t>::min()) return -1;
  return static_cast<int32_t>(r);
}

int32_t ScrollPartAt(int32_t v, int32_t cw, const TThumbSpan& thumb, int32_t len) {
  if (v < cw) return kScrollPartFirstArrow;
  if (v < thumb.Top) return kScrollPartPageBefore;
  if (v < thumb.Bottom) return kScrollPartThumb;
  if (v < len - cw) return kScrollPartPageAfter;
  return kScrollPartSecondArrow;
}

TThumbSpan ControlThumbSpan(int32_t len, int32_t cw, const TScrollRange& si) {
  int32_t range = si.Max - si.Min;
  if (range == 0) range = 9999999;
  const bool atStart = si.Pos == si.Min;
  int32_t size = 0, top = 0;
  if (si.Page != 0) {
    size = ScrollMulDiv(len - 2 * cw, si.Page - 1, range);
    if (size >= 8) {
      top = atStart ? cw : cw + ScrollMulDiv(len - 2 * cw, si.Pos - si.Min, range);
    } else {
      size = 8;
      top = atStart ? cw : cw + ScrollMulDiv(len - 2 * cw - 8, si.Pos - si.Min, range);
    }
  } else {
    size = cw;
    top = atStart ? cw : cw + ScrollMulDiv(len - 3 * cw, si.Pos - si.Min, range);
  }
  return TThumbSpan{top, top + size};
}

TThumbSpan DraggedThumb(const TThumbSpan& current, int32_t trackThumb, int32_t delta, int32_t cw, int32_t len) {
  const int32_t size = current.Bottom - current.Top;
  int32_t top = trackThumb + delta;
  if (top < cw) top = cw;
  if (top > len - cw - size) top = len - cw - size;
  return TThumbSpan{top, top + size};
}

int32_t ScrollArrowLength(int32_t len, int32_t cw) { return len < 2 * cw ? len / 2 : cw; }

int32_t ScrollBarThickness(int32_t arrowImageHeight, int32_t cw) {
  return std::abs(arrowImageHeight - cw) > 2 ? cw : arrowImageHeight;
}

int32_t ThumbDragPosition(int32_t off0, int32_t dy, int32_t track, int32_t size, const TScrollRange& si) {
  int32_t off = std::max(off0 + dy, 0);
  int32_t pos = 0;
  if (si.Page == 0) {
    off = std::min(off, track - size);
    pos = std::min(ScrollMulDiv(off, si.Max - si.Min, track) + si.Min, si.Max);
  } else {
    off = std::min(off, track - size + 1);
    pos = ScrollMulDiv(off, si.Max - si.Min - si.Page, track - size) + si.Min;
    if (pos >= si.Max - si.Page) pos = si.Max - si.Page + 1;
  }
  return std::max(pos, si.Min);
}

namespace {

// A span along the bar, thickness across it.
TRect Along(bool vertical, int32_t from, int32_t to, int32_t thickness) {
  return vertical ? Rect(0, from, thickness, to) : Rect(from, 0, to, thickness);
}

// An arrow under the mouse shows its base frame + 3, a pressed one + 1.
int32_t ArrowFrame(int32_t base, int32_t part, const TScrollPaintInput& in) {
  if (in.scrollpos != part) return base;
  return base + (in.down ? 1 : 3);
}

}  // namespace

TScrollPaintLayout ScrollPaintLayout(const TScrollPaintInput& in) {
  TScrollPaintLayout out;
  const int32_t len = in.vertical ? in.height : in.width;
  const int32_t t = in.thickness;
  if (in.thinBuffer) {
    out.width = in.vertical ? t : in.width;
    out.height = in.vertical ? in.height : t;
  } else {
    out.width = in.width;
    out.height = in.height;
  }

  out.track.rect = Along(in.vertical, in.cw, len - in.cw, t);
  out.track.frame = in.enabled ? 1 : 3;
  // Arrows of half a short bar's length leave no track between them.
  out.track.drawn = len > 2 * in.cw;

  const int32_t arrow = ScrollArrowLength(in.arrowBase, in.cw);
  out.first.rect = Along(in.vertical, 0, arrow, t);
  out.first.frame = ArrowFrame(in.vertical ? 9 : 1, kScrollPartFirstArrow, in);
  out.first.drawn = true;
  out.second.rect = Along(in.vertical, len - arrow, len, t);
  out.second.frame = ArrowFrame(in.vertical ? 13 : 5, kScrollPartSecondArrow, in);
  out.second.drawn = true;

  if (!in.enabled) return out;
  const bool onThumb = in.scrollpos == kScrollPartThumb;
  out.thumb.rect = Along(in.vertical, in.thumb.Top, in.thumb.Bottom, t);
  out.thumb.frame = onThumb ? (in.down ? 2 : 3) : 1;
  out.thumb.drawn = in.thumb.Top < in.extent && in.thumb.Bottom < in.extent;

  const int32_t L = in.thumb.Bottom - in.thumb.Top;
  const int32_t g = in.gripLength;
  if (g < L + 2) {
    const int32_t start = in.thumb.Top + (L - g) / 2;
    out.grip.rect = Along(in.vertical, start, start + g, t);
    out.grip.frame = (in.vertical ? 20 : 17) + (onThumb ? (in.down ? 1 : 2) : 0);
    out.grip.drawn = start < in.extent && start + g < in.extent;
  }
  return out;
}

}  // namespace qv
