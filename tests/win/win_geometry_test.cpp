// Rectangles and mouse points between the class library and Win32.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win/WinGeometry.h"

using namespace qv;

TEST(WinGeometry, MousePointsAreSignedAndRectanglesKeepTheirSides) {
  EXPECT_EQ(PointFromLParam(MAKELPARAM(16, 32)), (TPoint{16, 32}));
  // Left of or above the window under capture, or on a monitor left of or
  // above the primary one.
  EXPECT_EQ(PointFromLParam(MAKELPARAM(-5, -10)), (TPoint{-5, -10}));
  EXPECT_EQ(PointFromLParam(MAKELPARAM(-32768, 32767)), (TPoint{-32768, 32767}));
  const TRect r{1, 2, 30, 40};
  const RECT w = ToRECT(r);
  EXPECT_EQ(w.left + w.top * 10 + w.right * 100 + w.bottom * 1000, 1 + 20 + 3000 + 40000);
  EXPECT_EQ(FromRECT(w), r);
}
