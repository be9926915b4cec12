// Geometry of skinned scroll bars: parts under a point, the thumb of a
// standalone bar, a dragged thumb, the combo list's drag positions and the
// rectangles and frames of one paint.
#include <gtest/gtest.h>

#include "skin/controls/ScrollGeometry.h"

using namespace qv;

TEST(ScrollGeometry, MulDivRoundsHalfAwayFromZeroAndFailsLikeTheSystem) {
  EXPECT_EQ(ScrollMulDiv(5, 3, 2), 8);     // 7.5
  EXPECT_EQ(ScrollMulDiv(-5, 3, 2), -8);   // -7.5
  EXPECT_EQ(ScrollMulDiv(10, 1, 4), 3);    // 2.5
  EXPECT_EQ(ScrollMulDiv(9, 1, 4), 2);     // 2.25
  EXPECT_EQ(ScrollMulDiv(7, 5, 0), -1);
  EXPECT_EQ(ScrollMulDiv(0x40000000, 8, 1), -1);
  EXPECT_EQ(ScrollMulDiv(0x40000000, 8, 16), 0x20000000);
}

TEST(ScrollGeometry, OnePartAtATimeAlongTheBar) {
  const TThumbSpan thumb{40, 60};
  const int len = 200, cw = 17;
  EXPECT_EQ(ScrollPartAt(0, cw, thumb, len), kScrollPartFirstArrow);
  EXPECT_EQ(ScrollPartAt(16, cw, thumb, len), kScrollPartFirstArrow);
  EXPECT_EQ(ScrollPartAt(17, cw, thumb, len), kScrollPartPageBefore);
  EXPECT_EQ(ScrollPartAt(39, cw, thumb, len), kScrollPartPageBefore);
  EXPECT_EQ(ScrollPartAt(40, cw, thumb, len), kScrollPartThumb);
  EXPECT_EQ(ScrollPartAt(59, cw, thumb, len), kScrollPartThumb);
  EXPECT_EQ(ScrollPartAt(60, cw, thumb, len), kScrollPartPageAfter);
  EXPECT_EQ(ScrollPartAt(182, cw, thumb, len), kScrollPartPageAfter);
  EXPECT_EQ(ScrollPartAt(183, cw, thumb, len), kScrollPartSecondArrow);
  EXPECT_EQ(ScrollPartAt(199, cw, thumb, len), kScrollPartSecondArrow);
}

TEST(ScrollGeometry, StandaloneBarThumb) {
  const int len = 217, cw = 17;  // 183 pixels between the arrows
  // Paged: page - 1 of the range long, at the start for nPos = nMin.
  EXPECT_EQ(ControlThumbSpan(len, cw, {0, 100, 21, 0}), (TThumbSpan{17, 17 + 37}));
  EXPECT_EQ(ControlThumbSpan(len, cw, {0, 100, 21, 50}), (TThumbSpan{17 + 92, 17 + 92 + 37}));
  EXPECT_EQ(ControlThumbSpan(len, cw, {10, 110, 21, 60}), (TThumbSpan{17 + 92, 17 + 92 + 37}));
  // A page-based thumb shorter than 8 pixels gets 8, taken off the track.
  EXPECT_EQ(ControlThumbSpan(len, cw, {0, 1000, 2, 0}), (TThumbSpan{17, 25}));
  EXPECT_EQ(ControlThumbSpan(len, cw, {0, 1000, 2, 500}), (TThumbSpan{17 + 88, 17 + 88 + 8}));
  // Without a page the thumb is an arrow long, over a track one arrow shorter.
  EXPECT_EQ(ControlThumbSpan(len, cw, {0, 100, 0, 0}), (TThumbSpan{17, 34}));
  EXPECT_EQ(ControlThumbSpan(len, cw, {0, 100, 0, 100}), (TThumbSpan{17 + 166, 17 + 166 + 17}));
  // nMax = nMin: the range counts as 9,999,999 and the thumb stays at the start.
  EXPECT_EQ(ControlThumbSpan(len, cw, {5, 5, 0, 5}), (TThumbSpan{17, 34}));
  EXPECT_EQ(ControlThumbSpan(len, cw, {5, 5, 0, 9}).Top, 17);
}

TEST(ScrollGeometry, DraggedThumbKeepsItsSizeBetweenTheArrows) {
  const TThumbSpan t{50, 70};
  EXPECT_EQ(DraggedThumb(t, 50, 12, 17, 200), (TThumbSpan{62, 82}));
  EXPECT_EQ(DraggedThumb(t, 50, -100, 17, 200), (TThumbSpan{17, 37}));
  EXPECT_EQ(DraggedThumb(t, 50, 500, 17, 200), (TThumbSpan{163, 183}));
}

TEST(ScrollGeometry, ArrowsOfAShortBarAndTheSkinsThickness) {
  EXPECT_EQ(ScrollArrowLength(200, 17), 17);
  EXPECT_EQ(ScrollArrowLength(34, 17), 17);
  EXPECT_EQ(ScrollArrowLength(33, 17), 16);
  EXPECT_EQ(ScrollArrowLength(9, 17), 4);
  for (int h : {15, 16, 17, 18, 19}) EXPECT_EQ(ScrollBarThickness(h, 17), h) << h;
  EXPECT_EQ(ScrollBarThickness(14, 17), 17);
  EXPECT_EQ(ScrollBarThickness(20, 17), 17);
}

TEST(ScrollGeometry, ComboListDragPositions) {
  const int track = 100, size = 20;
  // Without a page: up to nMax; before the start, nMin.
  const TScrollRange noPage{10, 60, 0, 10};
  EXPECT_EQ(ThumbDragPosition(0, 0, track, size, noPage), 10);
  EXPECT_EQ(ThumbDragPosition(0, 40, track, size, noPage), 30);
  EXPECT_EQ(ThumbDragPosition(0, 1000, track, size, noPage), 50);  // off stops at track - size
  EXPECT_EQ(ThumbDragPosition(30, -1000, track, size, noPage), 10);
  const TScrollRange full{0, 100, 0, 0};
  EXPECT_EQ(ThumbDragPosition(0, 1000, 100, 0, full), 100);
  // With a page: nMax - nPage + 1 at the end, nMin at the start.
  const TScrollRange paged{0, 99, 10, 0};
  EXPECT_EQ(ThumbDragPosition(0, 40, track, size, paged), 45);  // 40 * 89 / 80
  EXPECT_EQ(ThumbDragPosition(0, 1000, track, size, paged), 90);
  EXPECT_EQ(ThumbDragPosition(50, -1000, track, size, paged), 0);
  // A thumb filling the track divides by nothing and stays at the start.
  EXPECT_EQ(ThumbDragPosition(0, 10, 20, 20, paged), 0);
}

TEST(ScrollGeometry, PaintOfAVerticalBar) {
  TScrollPaintInput in;
  in.vertical = true;
  in.width = 17;
  in.height = 200;
  in.thickness = 16;
  in.cw = 17;
  in.arrowBase = 200;
  in.extent = 200;
  in.thumb = {40, 80};
  in.gripLength = 16;
  TScrollPaintLayout l = ScrollPaintLayout(in);
  EXPECT_EQ(l.width, 17);
  EXPECT_EQ(l.height, 200);
  EXPECT_EQ(l.track.rect, Rect(0, 17, 16, 183));
  EXPECT_EQ(l.track.frame, 1);
  EXPECT_EQ(l.first.rect, Rect(0, 0, 16, 17));
  EXPECT_EQ(l.second.rect, Rect(0, 183, 16, 200));
  EXPECT_EQ(l.first.frame, 9);
  EXPECT_EQ(l.second.frame, 13);
  EXPECT_EQ(l.thumb.rect, Rect(0, 40, 16, 80));
  EXPECT_EQ(l.thumb.frame, 1);
  EXPECT_TRUE(l.thumb.drawn);
  EXPECT_EQ(l.grip.rect, Rect(0, 52, 16, 68));
  EXPECT_EQ(l.grip.frame, 20);
  EXPECT_TRUE(l.grip.drawn);

  // Hot and pressed: one part at a time.
  in.scrollpos = kScrollPartSecondArrow;
  l = ScrollPaintLayout(in);
  EXPECT_EQ(l.first.frame, 9);
  EXPECT_EQ(l.second.frame, 16);
  in.down = true;
  EXPECT_EQ(ScrollPaintLayout(in).second.frame, 14);
  in.scrollpos = kScrollPartThumb;
  l = ScrollPaintLayout(in);
  EXPECT_EQ(l.thumb.frame, 2);
  EXPECT_EQ(l.grip.frame, 21);
  EXPECT_EQ(l.second.frame, 13);
  in.down = false;
  l = ScrollPaintLayout(in);
  EXPECT_EQ(l.thumb.frame, 3);
  EXPECT_EQ(l.grip.frame, 22);

  // Disabled: the track's frame 3, no thumb and no grip.
  in.enabled = false;
  l = ScrollPaintLayout(in);
  EXPECT_EQ(l.track.frame, 3);
  EXPECT_FALSE(l.thumb.drawn);
  EXPECT_FALSE(l.grip.drawn);
}

TEST(ScrollGeometry, PaintOfAHorizontalStandaloneBar) {
  TScrollPaintInput in;
  in.vertical = false;
  in.width = 150;
  in.height = 30;
  in.thickness = 17;
  in.cw = 17;
  in.arrowBase = 150;
  in.extent = 150;
  in.thumb = {17, 34};
  in.gripLength = 17;
  in.thinBuffer = true;
  in.scrollpos = kScrollPartFirstArrow;
  const TScrollPaintLayout l = ScrollPaintLayout(in);
  EXPECT_EQ(l.width, 150);
  EXPECT_EQ(l.height, 17);
  EXPECT_EQ(l.first.rect, Rect(0, 0, 17, 17));
  EXPECT_EQ(l.first.frame, 4);
  EXPECT_EQ(l.second.rect, Rect(133, 0, 150, 17));
  EXPECT_EQ(l.second.frame, 5);
  EXPECT_EQ(l.track.rect, Rect(17, 0, 133, 17));
  EXPECT_EQ(l.grip.frame, 17);
  // A grip one pixel longer than the thumb still fits; two pixels do not.
  EXPECT_TRUE(l.grip.drawn);
  in.gripLength = 18;
  EXPECT_TRUE(ScrollPaintLayout(in).grip.drawn);
  in.gripLength = 19;
  EXPECT_FALSE(ScrollPaintLayout(in).grip.drawn);
}

TEST(ScrollGeometry, ShortBarsAndThumbsPastTheEnd) {
  TScrollPaintInput in;
  in.width = 17;
  in.height = 20;
  in.thickness = 17;
  in.cw = 17;
  in.arrowBase = 20;
  in.extent = 20;
  in.thumb = {17, 30};
  in.gripLength = 17;
  TScrollPaintLayout l = ScrollPaintLayout(in);
  EXPECT_EQ(l.first.rect, Rect(0, 0, 17, 10));
  EXPECT_EQ(l.second.rect, Rect(0, 10, 17, 20));
  EXPECT_FALSE(l.track.drawn);
  EXPECT_FALSE(l.thumb.drawn);  // ends past the overlay
  // The thumb must end before the extent, not at it.
  in.height = in.arrowBase = 200;
  in.extent = 30;
  EXPECT_FALSE(ScrollPaintLayout(in).thumb.drawn);
  in.extent = 31;
  EXPECT_TRUE(ScrollPaintLayout(in).thumb.drawn);
}
