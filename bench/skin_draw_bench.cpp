// Skin drawing primitives, microseconds per call (median of runs): the
// window region from the program's top and left border strips drawn for a
// 455 x 267 window, and the nine-part grid of a 455 x 267 frame, stretched and
// tiled. Runs under Wine: skin_draw_bench.exe [folder of the skin's bitmaps].
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "bench/MedianMicros.h"
#include "platform/core/Exceptions.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinDraw.h"

using namespace qv;
using qvbench::MedianMicros;

namespace {

int RegionRects(HRGN rgn) {
  const DWORD bytes = GetRegionData(rgn, 0, nullptr);
  std::vector<uint8_t> data(bytes);
  GetRegionData(rgn, bytes, reinterpret_cast<RGNDATA*>(data.data()));
  return static_cast<int>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
}

// One border strip of the program's skin drawn at its place in a 455 x 267
// window (frame 1 of 2, as the active window's frame region is built).
void BenchBorder(const char* name, const String& file, bool vertical, const TRect& margins, bool alongWidth) {
  TBitmap image;
  try {
    image.LoadFromFile(file);
  } catch (const Exception&) {
    std::printf("%s border: %s not found, skipped\n", name, ToUtf8(file).c_str());
    return;
  }
  const TRect frame = Rect(0, 0, vertical ? image.Width() : image.Width() / 2, vertical ? image.Height() / 2 : image.Height());
  const TRect target = alongWidth ? Rect(0, 0, 455, frame.Height()) : Rect(0, 0, frame.Width(), 267);
  auto strip = CreateSkinBitmap(target, image, margins, vertical, false, 2, 1);
  HRGN probe = BitmapToRegion(*strip, 0, 0, 1, 1, 1, kSkinKeyColor);
  std::printf("%s border (%d x %d image): strip %d x %d -> region of %d rectangles\n", name, image.Width(), image.Height(),
              target.Width(), target.Height(), RegionRects(probe));
  DeleteObject(probe);
  const double region = MedianMicros(2000, [&] { DeleteObject(BitmapToRegion(*strip, 0, 0, 1, 1, 1, kSkinKeyColor)); });
  const double drawAndRegion = MedianMicros(2000, [&] {
    auto s = CreateSkinBitmap(target, image, margins, vertical, false, 2, 1);
    DeleteObject(BitmapToRegion(*s, 0, 0, 1, 1, 1, kSkinKeyColor));
  });
  std::printf("  BitmapToRegion of the strip:            %8.1f us/call\n", region);
  std::printf("  strip drawn + BitmapToRegion:           %8.1f us/call\n", drawAndRegion);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const String dir = argc > 1 ? FromW(argv[1]) : String(u"Z:" QV_SKIN_ASSETS);
  // The top border is a stacked strip whose left and right 10 pixels stay
  // unscaled; the side borders are side by side, with fixed top 30 and
  // bottom 6 rows (the program's skin.ini).
  BenchBorder("top", dir + u"/top.bmp", true, Rect(10, 0, 10, 0), true);
  BenchBorder("left", dir + u"/left.bmp", false, Rect(0, 30, 0, 6), false);
  const int W = 455, H = 30;

  // A worst case for batching: a 455 x 30 checkerboard, one run per pixel pair.
  TBitmap checker;
  checker.SetSize(W, H);
  FillRect(checker, Rect(0, 0, W, H), kSkinKeyColor);
  for (int y = 0; y < H; ++y)
    for (int x = y & 1; x < W; x += 2) checker.SetPixel(x, y, 0);
  const double checkerRegion =
      MedianMicros(200, [&] { DeleteObject(BitmapToRegion(checker, 0, 0, 1, 1, 1, kSkinKeyColor)); });
  std::printf("  BitmapToRegion, checkerboard %d runs:  %8.1f us/call\n", (W * H + 1) / 2, checkerRegion);

  // The nine-part grid of a 455 x 267 frame from a 3-frame strip of 40 x 40
  // frames with 8-pixel margins.
  TBitmap frames;
  frames.SetSize(120, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) frames.SetPixel(x, y, RGBColor(x * 2, y * 6, (x ^ y) & 0xFF));
  const TRect target = Rect(0, 0, 455, 267);
  const double stretched =
      MedianMicros(1000, [&] { CreateSkinBitmap(target, frames, Rect(8, 8, 8, 8), false, false, 3, 2); });
  const double tiled = MedianMicros(1000, [&] { CreateSkinBitmap(target, frames, Rect(8, 8, 8, 8), false, true, 3, 2); });
  TBitmap screen;
  screen.SetSize(455, 267);
  HDC dc = BitmapCanvas(screen).Handle();
  const double drawn = MedianMicros(1000, [&] {
    DrawSkinImage(dc, target, frames, false, false, true, 3, 2, Rect(8, 8, 8, 8));
  });
  const double opaque = MedianMicros(1000, [&] {
    DrawSkinImage(dc, target, frames, false, false, false, 3, 2, Rect(8, 8, 8, 8));
  });
  auto composed = CreateSkinBitmap(target, frames, Rect(8, 8, 8, 8), false, false, 3, 2);
  const double masked = MedianMicros(1000, [&] { DrawTransparentBitmap(dc, target, *composed, kSkinKeyColor); });
  std::printf("nine-part grid, 455 x 267 from a 40 x 40 frame:\n");
  std::printf("  CreateSkinBitmap, centre stretched:     %8.1f us/call\n", stretched);
  std::printf("  CreateSkinBitmap, centre tiled:         %8.1f us/call\n", tiled);
  std::printf("  DrawSkinImage, stretched, opaque:       %8.1f us/call\n", opaque);
  std::printf("  DrawSkinImage, stretched, transparent:  %8.1f us/call   (aim: <= 300 us)\n", drawn);
  std::printf("  DrawTransparentBitmap of 455 x 267:     %8.1f us/call\n", masked);
  return 0;
}
