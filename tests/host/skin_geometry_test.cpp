// Geometry of the skin drawing primitives: frames of a strip, the nine-part
// cut, the three-part strip and bar, tiling, centring and the runs of
// non-key pixels behind window regions.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/data/SkinGeometry.h"

using namespace qv;

namespace {

std::unique_ptr<TBitmap> Solid(int w, int h, TColor c, TPixelFormat format = pf24bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(format);
  b->SetSize(w, h);
  FillRect(*b, Rect(0, 0, w, h), c);
  return b;
}

bool Positive(const TSkinPiece& p) {
  return p.dst.Width() > 0 && p.dst.Height() > 0 && p.src.Width() > 0 && p.src.Height() > 0;
}

// Every pixel of the target belongs to exactly one piece.
void ExpectTiles(const TSkinGridCut& cut, int W, int H) {
  std::vector<int> hits(static_cast<size_t>(W * H));
  for (int i = 0; i < cut.count; ++i) {
    const TRect d = cut.piece[static_cast<size_t>(i)].dst;
    for (int y = d.Top; y < d.Bottom; ++y)
      for (int x = d.Left; x < d.Right; ++x) ++hits[static_cast<size_t>(y * W + x)];
  }
  for (int h : hits) ASSERT_EQ(h, 1);
}

}  // namespace

TEST(SkinFrames, FramesOfStripsSideBySideAndStacked) {
  const auto strip = Solid(40, 12, 0);
  EXPECT_EQ(SkinFrameIn(*strip, false, 4, 1), Rect(0, 0, 10, 12));
  EXPECT_EQ(SkinFrameIn(*strip, false, 4, 3), Rect(20, 0, 30, 12));
  EXPECT_EQ(SkinFrameIn(*strip, true, 3, 2), Rect(0, 4, 40, 8));
  // Integer division: 40 / 3 = 13, the last column is never used.
  EXPECT_EQ(SkinFrameIn(*strip, false, 3, 3), Rect(26, 0, 39, 12));
}

TEST(SkinFrames, BadCountsAndIndicesNeverDivideByZeroNorReachOutside) {
  const auto strip = Solid(40, 12, 0);
  EXPECT_EQ(SkinFrameIn(*strip, false, 0, 1), Rect(0, 0, 40, 12));
  EXPECT_EQ(SkinFrameIn(*strip, true, -3, 1), Rect(0, 0, 40, 12));
  EXPECT_TRUE(SkinFrameIn(*strip, false, 4, 5).IsEmpty());
  EXPECT_TRUE(SkinFrameIn(*strip, false, 4, 0).IsEmpty());
  EXPECT_TRUE(SkinFrameIn(*strip, false, 41, 1).IsEmpty());
  TBitmap empty;
  EXPECT_TRUE(SkinFrameIn(empty, false, 3, 1).IsEmpty());
  EXPECT_TRUE(SkinFrameIn(empty, true, 0, 1).IsEmpty());
  EXPECT_EQ(SkinGridCut(100, 50, SkinFrameIn(empty, false, 0, 1), Rect(2, 2, 2, 2)).count, 0);
}

TEST(SkinGrid, CornersKeepTheirSizeEdgesStretchAlongTheirLength) {
  const TRect frame = Rect(30, 0, 60, 40);  // frame 2 of a 3-frame strip 90 x 40
  const TSkinGridCut cut = SkinGridCut(200, 100, frame, Rect(5, 6, 7, 8));
  ASSERT_EQ(cut.count, 9);
  ExpectTiles(cut, 200, 100);
  const auto& p = cut.piece;
  EXPECT_EQ(p[0].dst, Rect(0, 0, 5, 6));       // top-left
  EXPECT_EQ(p[0].src, Rect(30, 0, 35, 6));
  EXPECT_EQ(p[1].dst, Rect(0, 92, 5, 100));    // bottom-left
  EXPECT_EQ(p[1].src, Rect(30, 32, 35, 40));
  EXPECT_EQ(p[2].dst, Rect(193, 0, 200, 6));   // top-right
  EXPECT_EQ(p[2].src, Rect(53, 0, 60, 6));
  EXPECT_EQ(p[3].dst, Rect(0, 6, 5, 92));      // left edge: height stretched
  EXPECT_EQ(p[3].src, Rect(30, 6, 35, 32));
  EXPECT_EQ(p[4].dst, Rect(5, 0, 193, 6));     // top edge: width stretched
  EXPECT_EQ(p[4].src, Rect(35, 0, 53, 6));
  EXPECT_EQ(cut.centre, 5);
  EXPECT_EQ(p[5].dst, Rect(5, 6, 193, 92));
  EXPECT_EQ(p[5].src, Rect(35, 6, 53, 32));
  EXPECT_EQ(p[6].dst, Rect(193, 92, 200, 100));  // bottom-right, after the centre
  EXPECT_EQ(p[6].src, Rect(53, 32, 60, 40));
  EXPECT_EQ(p[7].dst, Rect(193, 6, 200, 92));
  EXPECT_EQ(p[8].dst, Rect(5, 92, 193, 100));
  for (int i : {0, 1, 2, 6}) EXPECT_EQ(p[i].dst.Width() * 1000 + p[i].dst.Height(), p[i].src.Width() * 1000 + p[i].src.Height());
}

TEST(SkinGrid, MarginsThatDoNotFitTheTargetBecomeZero) {
  const TRect frame = Rect(0, 0, 30, 40);
  // Narrower than Left + Right: no corners or side edges, the whole frame
  // width is stretched as the centre (top and bottom rows still cut).
  TSkinGridCut cut = SkinGridCut(10, 100, frame, Rect(6, 6, 6, 6));
  ExpectTiles(cut, 10, 100);
  ASSERT_EQ(cut.count, 3);
  EXPECT_EQ(cut.piece[0].dst, Rect(0, 0, 10, 6));
  EXPECT_EQ(cut.piece[0].src, Rect(0, 0, 30, 6));
  EXPECT_EQ(cut.piece[static_cast<size_t>(cut.centre)].src, Rect(0, 6, 30, 34));
  // Both directions: one stretched piece.
  cut = SkinGridCut(10, 10, frame, Rect(6, 6, 6, 6));
  ASSERT_EQ(cut.count, 1);
  EXPECT_EQ(cut.piece[0].dst, Rect(0, 0, 10, 10));
  EXPECT_EQ(cut.piece[0].src, frame);
  // Exactly Left + Right wide: corners and edges only, no centre.
  cut = SkinGridCut(12, 12, frame, Rect(6, 6, 6, 6));
  ExpectTiles(cut, 12, 12);
  EXPECT_EQ(cut.centre, -1);
}

TEST(SkinGrid, NoPieceWithoutAreaOrMirrored) {
  const TRect frame = Rect(0, 0, 10, 10);
  // Margins larger than the frame: the middles of the frame are negative.
  const TSkinGridCut cut = SkinGridCut(100, 100, frame, Rect(8, 8, 8, 8));
  for (int i = 0; i < cut.count; ++i) EXPECT_TRUE(Positive(cut.piece[static_cast<size_t>(i)])) << i;
  EXPECT_EQ(cut.centre, -1);
  EXPECT_EQ(SkinGridCut(0, 50, frame, TRect{}).count, 0);
  EXPECT_EQ(SkinGridCut(50, -3, frame, TRect{}).count, 0);
  EXPECT_EQ(SkinGridCut(50, 50, TRect{}, TRect{}).count, 0);
}

TEST(SkinStrip, MiddleRepeatedAtItsWidthRightPartLast) {
  // Frame 2 of a strip: left 3, middle 4, right 2.
  const auto pieces = SkinFrameStrip(20, 16, Rect(9, 0, 18, 8), 3, 2);
  ASSERT_EQ(pieces.size(), 6u);
  EXPECT_EQ(pieces[0].dst, Rect(0, 0, 3, 16));
  EXPECT_EQ(pieces[0].src, Rect(9, 0, 12, 8));
  EXPECT_EQ(pieces[1].dst, Rect(3, 0, 7, 16));
  EXPECT_EQ(pieces[4].dst, Rect(15, 0, 19, 16));  // passes W - right ...
  for (size_t i = 1; i <= 4; ++i) EXPECT_EQ(pieces[i].src, Rect(12, 0, 16, 8));
  EXPECT_EQ(pieces[5].dst, Rect(18, 0, 20, 16));  // ... and the right part covers it
  EXPECT_EQ(pieces[5].src, Rect(16, 0, 18, 8));
}

TEST(SkinStrip, EmptyMiddleIsNotRepeated) {
  for (int right : {7, 8, 12}) {
    const auto pieces = SkinFrameStrip(500, 10, Rect(0, 0, 10, 10), 3, right);
    ASSERT_EQ(pieces.size(), 2u) << "right " << right;
    EXPECT_EQ(pieces[0].dst, Rect(0, 0, 3, 10));
    EXPECT_EQ(pieces[1].dst, Rect(500 - right, 0, 500, 10));
  }
  EXPECT_TRUE(SkinFrameStrip(100, 10, TRect{}, 0, 0).empty());
}

TEST(SkinBar, WholeFrameWhenWiderThanTheTargetElseThreeParts) {
  const TRect frame = Rect(0, 0, 20, 6);
  auto pieces = SkinBarPieces(Rect(5, 5, 15, 30), frame, 4, 4);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].dst, Rect(5, 5, 15, 30));
  EXPECT_EQ(pieces[0].src, frame);

  pieces = SkinBarPieces(Rect(10, 2, 110, 12), frame, 4, 5);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].dst, Rect(10, 2, 14, 12));
  EXPECT_EQ(pieces[0].src, Rect(0, 0, 4, 6));
  EXPECT_EQ(pieces[1].dst, Rect(14, 2, 105, 12));
  EXPECT_EQ(pieces[1].src, Rect(4, 0, 15, 6));
  EXPECT_EQ(pieces[2].dst, Rect(105, 2, 110, 12));
  EXPECT_EQ(pieces[2].src, Rect(15, 0, 20, 6));

  // Margins wider than the frame leave no mirrored middle.
  for (const auto& p : SkinBarPieces(Rect(0, 0, 100, 10), frame, 12, 12)) EXPECT_TRUE(Positive(p));
  EXPECT_TRUE(SkinBarPieces(Rect(10, 10, 5, 20), frame, 4, 4).empty());
}

TEST(SkinTiles, CoverTheRectangleFromItsTopLeftCutAtItsEdges) {
  std::vector<TRect> tiles;
  ForEachTile(Rect(3, 4, 13, 9), 4, 3, [&](const TRect& t) { tiles.push_back(t); });
  const std::vector<TRect> expected = {Rect(3, 4, 7, 7),  Rect(7, 4, 11, 7),  Rect(11, 4, 13, 7),
                                       Rect(3, 7, 7, 9),  Rect(7, 7, 11, 9),  Rect(11, 7, 13, 9)};
  EXPECT_EQ(tiles, expected);
  int calls = 0;
  ForEachTile(Rect(0, 0, 10, 10), 0, 3, [&](const TRect&) { ++calls; });
  ForEachTile(Rect(0, 0, 10, 10), 3, -1, [&](const TRect&) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST(SkinCentre, LargerFramesOverhangBothSidesRoundedTowardZero) {
  EXPECT_EQ(CenteredOrigin(Rect(10, 20, 30, 40), 6, 5), (TPoint{17, 27}));
  EXPECT_EQ(CenteredOrigin(Rect(10, 20, 15, 25), 8, 10), (TPoint{9, 18}));  // -3/2 = -1, -5/2 = -2
}

TEST(SkinRuns, ToleranceRangeAboveTheKey) {
  const TKeyRange k = KeyRange(0xFF00FF, 1, 1, 1);
  EXPECT_TRUE(k.Contains(255, 0, 255));
  EXPECT_TRUE(k.Contains(255, 1, 255));    // green 1: still key
  EXPECT_FALSE(k.Contains(255, 2, 255));
  EXPECT_FALSE(k.Contains(255, 0, 254));   // blue 254: below the key
  EXPECT_FALSE(k.Contains(254, 0, 255));
  const TKeyRange none = KeyRange(0x000000, -1, 0, 0);
  EXPECT_FALSE(none.Contains(0, 0, 0));
}

TEST(SkinRuns, OneRectanglePerRunRowByRow) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    auto bp = Solid(10, 3, 0xFF00FF, format);
    TBitmap& b = *bp;
    FillRect(b, Rect(2, 0, 5, 1), 0x123456);
    FillRect(b, Rect(7, 0, 10, 1), 0x00FF00);
    b.SetPixel(0, 2, 0x000000);
    b.SetPixel(1, 2, 0xFF01FF);  // within the tolerance: key
    std::vector<TRect> runs;
    OpaqueRuns(b, 100, 200, KeyRange(0xFF00FF, 1, 1, 1), runs);
    const std::vector<TRect> expected = {Rect(102, 200, 105, 201), Rect(107, 200, 110, 201),
                                         Rect(100, 202, 101, 203)};
    EXPECT_EQ(runs, expected);
    EXPECT_EQ(b.PixelFormat(), format) << "the caller's bitmap is left as it was";
  }
}

TEST(SkinRuns, SingleRowsEmptyImagesAndAllKey) {
  std::vector<TRect> runs;
  auto row = Solid(5, 1, 0x000000);
  OpaqueRuns(*row, 0, 0, KeyRange(0xFF00FF, 1, 1, 1), runs);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], Rect(0, 0, 5, 1));
  runs.clear();
  TBitmap empty;
  OpaqueRuns(empty, 0, 0, KeyRange(0xFF00FF, 1, 1, 1), runs);
  auto key = Solid(30, 20, 0xFF00FF);
  OpaqueRuns(*key, 0, 0, KeyRange(0xFF00FF, 1, 1, 1), runs);
  EXPECT_TRUE(runs.empty());
}

TEST(SkinRuns, CheckerboardGivesOneRunPerOpaqueSquare) {
  auto bp = Solid(64, 64, 0xFF00FF);
  TBitmap& b = *bp;
  for (int y = 0; y < 64; ++y)
    for (int x = (y & 1); x < 64; x += 2) b.SetPixel(x, y, 0x202020);
  std::vector<TRect> runs;
  OpaqueRuns(b, 0, 0, KeyRange(0xFF00FF, 1, 1, 1), runs);
  ASSERT_EQ(runs.size(), 64u * 32u);
  for (const TRect& r : runs) {
    EXPECT_EQ(r.Width(), 1);
    EXPECT_EQ((r.Left + r.Top) & 1, 0);
  }
}
