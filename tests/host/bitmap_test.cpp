// Bitmaps read from bitmap files, the image helpers and the pixel-level
// composition the skin loader uses.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/Bitmap.h"
#include "skin/data/BuiltinBitmaps.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinImage.h"

using namespace qv;

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { Put16(v, x & 0xFFFF), Put16(v, x >> 16); }

// A bitmap file: headerSize-byte info header, palette, rows as given.
std::vector<uint8_t> BmpFile(int w, int h, int bpp, const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& pixels, uint32_t compression = 0, uint32_t headerSize = 40) {
  std::vector<uint8_t> f = {'B', 'M'};
  const uint32_t off = 14 + headerSize + 4 * uint32_t(palette.size());
  Put32(f, off + uint32_t(pixels.size()));
  Put32(f, 0);
  Put32(f, off);
  Put32(f, headerSize);
  Put32(f, uint32_t(w));
  Put32(f, uint32_t(h));
  Put16(f, 1);
  Put16(f, uint32_t(bpp));
  Put32(f, compression);
  Put32(f, uint32_t(pixels.size()));
  Put32(f, 0), Put32(f, 0);
  Put32(f, uint32_t(palette.size()));
  Put32(f, 0);
  while (f.size() < 14 + headerSize) f.push_back(0);
  for (uint32_t c : palette) Put32(f, c);
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

void Load(TBitmap& b, const std::vector<uint8_t>& file) {
  TMemoryStream s;
  if (!file.empty()) s.WriteBuffer(file.data(), int64_t(file.size()));
  s.SetPosition(0);
  b.LoadFromStream(s);
}

TBitmap* Filled(TBitmap& b, int w, int h, TColor c) {
  b.SetSize(w, h);
  FillRect(b, Rect(0, 0, w, h), c);
  return &b;
}

}  // namespace

TEST(BitmapFile, ReadsEveryDepthIntoTheSamePixels) {
  TBitmap b;
  // 1 bit, rows stored bottom-up: the top row is the last one stored.
  Load(b, BmpFile(2, 2, 1, {0x000000, 0xFFFFFF}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}));
  EXPECT_EQ(b.Pixel(0, 0), 0xFFFFFF);
  EXPECT_EQ(b.Pixel(1, 0), 0x000000);
  EXPECT_EQ(b.Pixel(1, 1), 0xFFFFFF);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  // 4 bit; palette entries are stored blue, green, red (so 0x00FF0000 is red).
  Load(b, BmpFile(2, 1, 4, {0x00FF0000, 0x000000FF}, {0x10, 0, 0, 0}));
  EXPECT_EQ(b.Pixel(0, 0), 0xFF0000);
  EXPECT_EQ(b.Pixel(1, 0), 0x0000FF);
  // 8 bit with a short palette: an index past it reads as black.
  Load(b, BmpFile(2, 1, 8, {0x00336699}, {0, 7, 0, 0}));
  EXPECT_EQ(b.Pixel(0, 0), 0x996633);
  EXPECT_EQ(b.Pixel(1, 0), 0);
  // 24 and 32 bit; a negative height is top-down.
  Load(b, BmpFile(1, 2, 24, {}, {1, 2, 3, 0, 4, 5, 6, 0}));
  EXPECT_EQ(b.Pixel(0, 0), 0x040506);
  EXPECT_EQ(b.Pixel(0, 1), 0x010203);
  std::vector<uint8_t> top = BmpFile(1, 2, 32, {}, {1, 2, 3, 9, 4, 5, 6, 9});
  top[22] = 0xFE, top[23] = top[24] = top[25] = 0xFF;  // height -2
  Load(b, top);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.Pixel(0, 0), 0x010203);
}

TEST(BitmapFile, RejectsBrokenFilesAndKeepsTheOldPicture) {
  TBitmap b;
  Filled(b, 3, 3, 0x123456);
  const std::vector<uint8_t> good = BmpFile(2, 2, 24, {}, std::vector<uint8_t>(16, 7));
  auto broken = [&](auto edit) {
    std::vector<uint8_t> f = good;
    edit(f);
    return f;
  };
  const std::vector<std::vector<uint8_t>> cases = {
      {},
      broken([](auto& f) { f[0] = 'X'; }),                                   // signature
      broken([](auto& f) { f[14] = 20; }),                                   // header size
      broken([](auto& f) { f[18] = 0; }),                                    // width 0
      broken([](auto& f) { f[22] = 0; }),                                    // height 0
      broken([](auto& f) { f[26] = 2; }),                                    // planes
      broken([](auto& f) { f[28] = 16; }),                                   // depth not read
      broken([](auto& f) { f[30] = 1; }),                                    // compressed
      broken([](auto& f) { f[10] = 200; }),                                  // pixels past the end
      broken([](auto& f) { f.resize(f.size() - 1); }),                       // data short by one byte
      broken([](auto& f) { f[18] = 0xFF, f[19] = 0xFF, f[20] = 0xFF, f[21] = 0x7F; }),  // huge width
      BmpFile(2, 2, 8, std::vector<uint32_t>(257, 0), std::vector<uint8_t>(8, 0)),     // palette too long
      BmpFile(2, 2, 32, {}, std::vector<uint8_t>(16, 0), 3),                 // bit fields without masks
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_THROW(Load(b, cases[i]), EInvalidGraphic) << "case " << i;
    EXPECT_EQ(b.Width(), 3) << "case " << i;
    EXPECT_EQ(b.Pixel(2, 2), 0x123456) << "case " << i;
  }
}

TEST(BitmapFile, SavesWhatItLoads) {
  TBitmap a, b;
  Filled(a, 5, 3, 0x0A0B0C);
  a.SetPixel(4, 2, 0xFF00FF);
  TMemoryStream s;
  a.SaveToStream(s);
  s.SetPosition(0);
  b.LoadFromStream(s);
  ASSERT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Pixel(4, 2), 0xFF00FF);
  EXPECT_EQ(b.Pixel(0, 0), 0x0A0B0C);
}

TEST(BitmapFile, PixelBytesFromTheHeadersAlone) {
  struct Case {
    int width, height, bpp;
    int64_t bytes;
  } cases[] = {
      {4, 3, 24, 12 * 3},                       // rows padded to 4 bytes
      {33, -2, 1, 100 * 2},                     // palette widened to 24 bits; top-down
      {5, 2, 32, 20 * 2},                       // 32 bits stay 32
      {0x7FFFFFFF, 0x7FFFFFFF, 24, INT64_MAX / 4},  // forged: saturates, no overflow
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> h = BitmapFileHeaders(c.width, c.height, c.bpp, 0, 0);
    EXPECT_EQ(BitmapFilePixelBytes(h.data(), h.size()), c.bytes) << c.width << " x " << c.height;
  }
  const std::vector<uint8_t> notBitmap(60, 'x');
  EXPECT_EQ(BitmapFilePixelBytes(notBitmap.data(), notBitmap.size()), 0);
}

TEST(Bitmap, KeepsPixelsAcrossSizeAndFormatChanges) {
  TBitmap b;
  Filled(b, 2, 2, 0x112233);
  b.SetSize(3, 1);
  EXPECT_EQ(b.Pixel(1, 0), 0x112233);
  EXPECT_EQ(b.Pixel(2, 0), 0);
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(b.Pixel(1, 0), 0x112233);
  EXPECT_EQ(b.RowBytes(), 12);
  EXPECT_THROW(b.ScanLine(1), EInvalidGraphic);
  EXPECT_EQ(b.Pixel(-1, 0), -1);
}

TEST(BuiltinBitmaps, TrackChannelsArePixelForPixel) {
  TBitmap t, v, m;
  ASSERT_TRUE(LoadBuiltinBitmap(t, u"TRACK"));
  ASSERT_TRUE(LoadBuiltinBitmap(v, u"trackvert"));
  const TColor S = 0xC0C0C0, G = 0x808080, Wh = 0xFFFFFF;
  ASSERT_EQ(t.Width(), 16);
  ASSERT_EQ(t.Height(), 4);
  const char* rows[] = {"SSGGGGGGGGGGGGWW", "SSWWWWWWWWWWWWWW", "GSWWWWWWWWWWWWWW", "SSWWWWWWWWWWWWWW"};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(t.Pixel(x, y), rows[y][x] == 'S' ? S : rows[y][x] == 'G' ? G : Wh) << x << "," << y;
  ASSERT_EQ(v.Width(), 4);
  ASSERT_EQ(v.Height(), 16);
  EXPECT_EQ(v.Pixel(2, 0), G);
  EXPECT_EQ(v.Pixel(0, 5), G);
  EXPECT_EQ(v.Pixel(1, 5), Wh);
  EXPECT_EQ(v.Pixel(0, 15), Wh);
  ASSERT_TRUE(LoadBuiltinBitmap(m, u"LUSTRANEMENU"));
  EXPECT_EQ(m.Width(), 64);
  EXPECT_EQ(m.Height(), 16);
  EXPECT_FALSE(LoadBuiltinBitmap(m, u"NOSUCH"));
}

TEST(ImgUtil, BlendMixesByPercentOrPerMille) {
  EXPECT_EQ(Blend(0x000000, 0x0000FF, 50), 0x000080);  // 127.5 rounds up
  EXPECT_EQ(Blend(0x0000C8, 0x000000, 100), 0x000014);  // 100 is 10 %
  EXPECT_EQ(Blend(0x123456, 0xFFFFFF, 1000), 0x123456);
  EXPECT_EQ(Blend(0xFFFFFF, 0x000000, 0), 0x000000);
  // System colours are resolved through the installed source.
  TSysColorSource old = SetSysColorSource([](int i) { return i == 15 ? 0x00FF00u : 0u; });
  EXPECT_EQ(Blend(clSystemColor | 15, 0x000000, 1000), 0x00FF00);
  SetSysColorSource(old);
}

TEST(ImgUtil, GradientRampsAndTheirCache) {
  ResetGradientCache();
  EXPECT_EQ(GradientRamp(MakeGradient(1, 0x000000, 0x0000FF))[0], 0x00007F);
  const auto two = GradientRamp(MakeGradient(2, 0x102030, 0x405060));
  EXPECT_EQ(two, (std::vector<TColor>{0x102030, 0x405060}));
  // Falling ramps end on their last colour too.
  const auto down = GradientRamp(MakeGradient(40, 0xFFFFFF, 0x8C8CFF));
  EXPECT_EQ(down.back(), 0x8C8CFF);
  EXPECT_EQ(down.front(), 0xFFFFFF);
  const int slot5 = GetGradient(5, 0x000000, 0x0000FF);
  const auto five = GradientRamp(slot5);
  EXPECT_EQ(five.front(), 0);
  EXPECT_EQ(five.back(), 0xFF);
  EXPECT_EQ(five[2], 0x80);
  EXPECT_EQ(FindGradient(5, 0x000000, 0x0000FF), slot5);
  EXPECT_EQ(GetGradient(5, 0x000000, 0x0000FF), slot5);
  EXPECT_EQ(FindGradient(5, 0x000000, 0x0000FE), -1);
  EXPECT_THROW(MakeGradient(0, 0, 0), EAssertionFailed);
  // Sixteen slots in turn: the 17th distinct ramp lands in slot 0.
  ResetGradientCache();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(MakeGradient(3, i, 0), i);
  EXPECT_EQ(GetGradient(3, 100, 0), 0);
  EXPECT_EQ(FindGradient(3, 0, 0), -1);
}

TEST(ImgUtil, GradientFillPaintsOnlyInsideTheBitmap) {
  TBitmap b;
  Filled(b, 4, 4, 0x777777);
  GradientFillBitmap(b, Rect(0, 0, 4, 0), 0, true, 0xFFFFFF);  // no height: nothing
  EXPECT_EQ(b.Pixel(0, 0), 0x777777);
  GradientFillBitmap(b, Rect(0, -2, 4, 6), 0x000000, true, 0x0000FF);
  // Eight lines over the rectangle, of which rows 2..5 are visible.
  const auto ramp = GradientRamp(FindGradient(8, 0, 0xFF));
  EXPECT_EQ(b.Pixel(0, 0), ramp[2]);
  EXPECT_EQ(b.Pixel(3, 3), ramp[5]);
  int n, first, last;
  EXPECT_TRUE(GradientSpan(Rect(10, 10, 20, 30), Rect(0, 15, 100, 25), true, n, first, last));
  EXPECT_EQ(n, 20);
  EXPECT_EQ(first, 5);
  EXPECT_EQ(last, 14);
}

TEST(ImgUtil, SaturationAndKeyColour) {
  EXPECT_EQ(ColorSaturation(0x0000FF), 255);
  EXPECT_EQ(ColorSaturation(0xFFFFFF), 0);
  EXPECT_EQ(ColorSaturation(0x323264), 200);
  EXPECT_EQ(ColorSaturation(0x5050A0), 128);  // 0.5 * 255 = 127.5, ties to even
  TBitmap b;
  Filled(b, 2, 1, 0xFF00FF);
  b.SetPixel(1, 0, 0xFF01FF);
  b.SetPixelFormat(pf32bit);
  ReplaceKeyColor(b, clSystemColor | 15);  // taken as bytes, not resolved
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.Pixel(0, 0), 0x00000F);
  EXPECT_EQ(b.Pixel(1, 0), 0xFF01FF);
}

TEST(ImgUtil, MirrorFlipAndRotateMoveEveryPixel) {
  // Small, and larger than the blocks the turns copy in, in both formats.
  struct Case {
    int w, h;
    TPixelFormat format;
  };
  const Case cases[] = {{3, 2, pf24bit}, {70, 131, pf24bit}, {131, 70, pf32bit}};
  struct Turn {
    const char* name;
    void (*turn)(TBitmap&);
    bool quarter;
    // Where the pixel (x, y) of a w x h bitmap goes.
    TPoint (*to)(int x, int y, int w, int h);
  };
  const Turn turns[] = {
      {"mirror", MirrorBitmap, false, [](int x, int y, int w, int) { return TPoint{w - 1 - x, y}; }},
      {"flip", FlipBitmap, false, [](int x, int y, int, int h) { return TPoint{x, h - 1 - y}; }},
      {"left", RotateBitmapLeft, true, [](int x, int y, int w, int) { return TPoint{y, w - 1 - x}; }},
      {"right", RotateBitmapRight, true, [](int x, int y, int, int h) { return TPoint{h - 1 - y, x}; }},
  };
  for (const Case& c : cases) {
    TBitmap b;
    b.SetPixelFormat(c.format);
    b.SetSize(c.w, c.h);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) b.SetPixel(x, y, 1000 * y + x);
    for (const Turn& t : turns) {
      SCOPED_TRACE(testing::Message() << t.name << " of " << c.w << " x " << c.h);
      TBitmap turned;
      turned.Assign(b);
      t.turn(turned);
      ASSERT_EQ(turned.Width(), t.quarter ? c.h : c.w);
      ASSERT_EQ(turned.Height(), t.quarter ? c.w : c.h);
      EXPECT_EQ(turned.PixelFormat(), c.format);
      int wrong = 0;
      for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
          const TPoint p = t.to(x, y, c.w, c.h);
          wrong += turned.Pixel(p.X, p.Y) != 1000 * y + x;
        }
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(SkinImage, NinePartCutKeepsCornersAndStretchesTheRest) {
  // One 6 x 6 frame (the second of two): corners 2 x 2 in distinct colours.
  TBitmap strip;
  Filled(strip, 12, 6, 0xFFFFFF);
  FillRect(strip, Rect(6, 0, 12, 6), 0x808080);
  FillRect(strip, Rect(6, 0, 8, 2), 0x000001);
  FillRect(strip, Rect(10, 4, 12, 6), 0x000002);
  TBitmap out;
  CreateSkinBitmap(out, 20, 10, strip, Rect(2, 2, 2, 2), false, false, 2, 2);
  EXPECT_EQ(out.Pixel(0, 0), 0x000001);
  EXPECT_EQ(out.Pixel(1, 1), 0x000001);
  EXPECT_EQ(out.Pixel(2, 2), 0x808080);
  EXPECT_EQ(out.Pixel(19, 9), 0x000002);
  EXPECT_EQ(out.Pixel(18, 8), 0x000002);
  EXPECT_EQ(out.Pixel(17, 7), 0x808080);
  // Too narrow for the margins: the whole frame width is stretched.
  CreateSkinBitmap(out, 3, 10, strip, Rect(2, 2, 2, 2), false, false, 2, 2);
  EXPECT_EQ(out.Pixel(0, 0), 0x000001);
  // A frame past the strip, or no frames at all, reads nothing outside it.
  CreateSkinBitmap(out, 5, 5, strip, Rect(0, 0, 0, 0), false, true, 2, 9);
  EXPECT_EQ(out.Pixel(2, 2), 0);
  CreateSkinBitmap(out, 5, 5, strip, Rect(0, 0, 0, 0), true, false, 0, 1);
  EXPECT_EQ(out.Width(), 5);
}

TEST(SkinImage, CentredFrameAndTransparentDrawing) {
  TBitmap target, glyph;
  Filled(target, 10, 10, 0x000000);
  Filled(glyph, 8, 4, 0xFF00FF);
  FillRect(glyph, Rect(4, 1, 8, 3), 0x00FF00);  // frame 2 of 2: a bar across its middle
  DrawSkinFrameCentered(target, Rect(0, 0, 10, 10), glyph, true, 2, 2);
  EXPECT_EQ(target.Pixel(3, 3), 0);  // key colour left out
  EXPECT_EQ(target.Pixel(3, 4), 0x00FF00);
  EXPECT_EQ(target.Pixel(6, 5), 0x00FF00);
  EXPECT_EQ(target.Pixel(7, 4), 0);
  // Larger than the rectangle: placed at a negative offset, clipped.
  Filled(glyph, 20, 20, 0x0000FF);
  DrawSkinFrameCentered(target, Rect(0, 0, 10, 10), glyph, false, 1, 1);
  EXPECT_EQ(target.Pixel(0, 0), 0x0000FF);
  EXPECT_EQ(target.Pixel(9, 9), 0x0000FF);
}
