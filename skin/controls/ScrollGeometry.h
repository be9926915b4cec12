// The geometry of a skinned scroll bar as plain functions: which part lies
// under a point, where the thumb of a standalone bar sits, where a dragged
// thumb goes, which scroll position a dragged combo-list thumb stands for,
// and the rectangles and skin frames one paint of a bar is made of. The
// overlays and the combo list's bar share them, so hit-testing and drawing
// never disagree.
//
// Lengths run along the bar's direction (x for a horizontal bar, y for a
// vertical one); "thickness" runs across it. Frame numbers count from 1 in
// the 23-frame arrow strip, the 4-frame track strips and the thumb strips.
#pragma once
#include <cstdint>

#include "platform/core/Geometry.h"

namespace qv {

// Part codes: the values of the system's scroll codes, so that the scroll
// code of a WM_HSCROLL or WM_VSCROLL can stand for the part it moved.
inline constexpr int32_t kScrollPartNone = -1;
inline constexpr int32_t kScrollPartFirstArrow = 0;   // SB_LINEUP / SB_LINELEFT
inline constexpr int32_t kScrollPartSecondArrow = 1;  // SB_LINEDOWN / SB_LINERIGHT
inline constexpr int32_t kScrollPartPageBefore = 2;   // SB_PAGEUP
inline constexpr int32_t kScrollPartPageAfter = 3;    // SB_PAGEDOWN
inline constexpr int32_t kScrollPartThumb = 5;        // SB_THUMBTRACK

// The frames of the arrow strip that hold arrows and grips.
inline constexpr int32_t kScrollArrowFrames = 23;

// What SCROLLINFO tells of a bar.
struct TScrollRange {
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Page = 0;
  int32_t Pos = 0;
};

// Start and end (exclusive) of a thumb along the bar.
struct TThumbSpan {
  int32_t Top = 0;
  int32_t Bottom = 0;
  bool operator==(const TThumbSpan&) const = default;
};

// a * b / c rounded half away from zero in 64 bits; -1 when c is 0 or the
// result leaves 32 bits (the system's MulDiv, so positions agree with it).
int32_t ScrollMulDiv(int32_t a, int32_t b, int32_t c);

// The part at v along a bar len long with arrows cw long.
int32_t ScrollPartAt(int32_t v, int32_t cw, const TThumbSpan& thumb, int32_t len);

// The thumb of a standalone scroll-bar control, which the system does not
// report: page-sized (at least 8) or, without a page, cw long. A range of 0
// counts as 9,999,999 so the thumb stays at the start.
TThumbSpan ControlThumbSpan(int32_t len, int32_t cw, const TScrollRange& si);

// A thumb of its current size moved by delta from where it was when the
// button went down, kept between the arrows.
TThumbSpan DraggedThumb(const TThumbSpan& current, int32_t trackThumb, int32_t delta, int32_t cw, int32_t len);

// Each arrow is cw long, or half the bar when the bar is shorter than two.
int32_t ScrollArrowLength(int32_t len, int32_t cw);

// The skin's arrow strip at its own thickness when it is within 2 pixels of
// the system's arrow size, else the system's size.
int32_t ScrollBarThickness(int32_t arrowImageHeight, int32_t cw);

// The scroll position a combo list's thumb dragged to off0 + dy stands
// for: off0 is the thumb's offset past the first arrow at the press, track
// the length between the arrows, size the thumb's length. Clamped to the
// range (nMax - nPage + 1 at the far end of a paged list).
int32_t ThumbDragPosition(int32_t off0, int32_t dy, int32_t track, int32_t size, const TScrollRange& si);

// One paint of a bar.
struct TScrollPaintInput {
  bool vertical = true;
  // The bar's whole size, arrows included.
  int32_t width = 0;
  int32_t height = 0;
  // Across the bar: the arrow strip's thickness (ScrollBarThickness).
  int32_t thickness = 0;
  int32_t cw = 0;
  // The length that decides how long the arrows are (the bar's own length,
  // except for the combo list, whose window height decides).
  int32_t arrowBase = 0;
  // Thumb and grip are drawn only when both their ends lie before this.
  int32_t extent = 0;
  TThumbSpan thumb;
  // The arrow strip's height: the grip's length.
  int32_t gripLength = 0;
  // kScrollPart* shown hot, or pressed while down.
  int32_t scrollpos = kScrollPartNone;
  bool down = false;
  bool enabled = true;
  // True: the buffer is thickness thick (a standalone bar, stretched over
  // its window afterwards); false: the buffer is the bar's whole size.
  bool thinBuffer = false;
  bool operator==(const TScrollPaintInput&) const = default;
};

struct TScrollPaintPart {
  TRect rect;
  int32_t frame = 0;
  bool drawn = false;
};

struct TScrollPaintLayout {
  int32_t width = 0;  // of the buffer
  int32_t height = 0;
  TScrollPaintPart track;  // frame of 4
  TScrollPaintPart first, second;  // frames of the arrow strip
  TScrollPaintPart thumb;  // frame of the slider strip
  TScrollPaintPart grip;   // frame of the arrow strip
};

TScrollPaintLayout ScrollPaintLayout(const TScrollPaintInput& in);

}  // namespace qv
