// The skin drawing primitives on memory bitmaps, pixels read back: frames
// cut from strips, the nine-part grid stretched and tiled, key-colour
// transparency, regions from key-coloured bitmaps, the parent's background,
// text and arrows. Also the private message table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

#include "platform/win/Application.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/windows/SkinManager.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::DC;

namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF;
constexpr TColor kGrey = 0x808080, kWhite = 0xFFFFFF, kBlack = 0;
constexpr TColor kTop = 0x000080, kBottom = 0x008000, kLeft = 0x800000, kRight = 0x808000;
constexpr TColor kDark = 0x404040, kLight = 0xC0C0C0, kForeign = 0x123456;

// A 12 x 12 frame with 3-pixel margins at (ox, oy): corners red, green, blue,
// yellow; four edge colours; a centre whose left half is dark, right half light.
void PaintGridFrame(TBitmap& b, int ox, int oy) {
  FillRect(b, Bounds(ox, oy, 12, 12), kForeign);
  FillRect(b, Bounds(ox, oy, 3, 3), kRed);
  FillRect(b, Bounds(ox + 9, oy, 3, 3), kGreen);
  FillRect(b, Bounds(ox, oy + 9, 3, 3), kBlue);
  FillRect(b, Bounds(ox + 9, oy + 9, 3, 3), kYellow);
  FillRect(b, Bounds(ox + 3, oy, 6, 3), kTop);
  FillRect(b, Bounds(ox + 3, oy + 9, 6, 3), kBottom);
  FillRect(b, Bounds(ox, oy + 3, 3, 6), kLeft);
  FillRect(b, Bounds(ox + 9, oy + 3, 3, 6), kRight);
  FillRect(b, Bounds(ox + 3, oy + 3, 3, 6), kDark);
  FillRect(b, Bounds(ox + 6, oy + 3, 3, 6), kLight);
}

// The expected colour of (x, y) in a W x H nine-part result of PaintGridFrame,
// or -1 where a stretched centre may round either way.
TColor GridColour(int x, int y, int W, int H, bool tiled) {
  const bool l = x < 3, r = x >= W - 3, t = y < 3, b = y >= H - 3;
  if (l && t) return kRed;
  if (r && t) return kGreen;
  if (l && b) return kBlue;
  if (r && b) return kYellow;
  if (t) return kTop;
  if (b) return kBottom;
  if (l) return kLeft;
  if (r) return kRight;
  const int cx = x - 3, cw = W - 6;
  if (tiled) return cx % 6 < 3 ? kDark : kLight;
  if (cx < cw / 2 - 1) return kDark;
  if (cx > cw / 2) return kLight;
  return -1;
}

void ExpectGrid(TBitmap& b, bool tiled) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TColor want = GridColour(x, y, b.Width(), b.Height(), tiled);
      if (want >= 0) {
        ASSERT_EQ(b.Pixel(x, y), want) << "at " << x << "," << y;
      }
      ASSERT_NE(b.Pixel(x, y), kForeign) << "another frame leaked in at " << x << "," << y;
    }
}

struct NTFlag {
  bool saved = IsWinNT;
  ~NTFlag() { IsWinNT = saved; }
};

}  // namespace

// ---------------------------------------------------------------------------
// Frames and the nine-part grid

TEST(SkinDraw, GridCornersUnscaledEdgesAndCentreStretched) {
  auto strip = Bmp(36, 12, kForeign);
  PaintGridFrame(*strip, 12, 0);
  auto b = CreateSkinBitmap(Rect(5, 5, 45, 35), *strip, Rect(3, 3, 3, 3), false, false, 3, 2);
  ASSERT_EQ(b->Width(), 40);
  ASSERT_EQ(b->Height(), 30);
  ExpectGrid(*b, false);
}

TEST(SkinDraw, GridCentreTiledFromItsTopLeft) {
  auto strip = Bmp(36, 12, kForeign);
  PaintGridFrame(*strip, 12, 0);
  auto b = CreateSkinBitmap(Rect(0, 0, 41, 29), *strip, Rect(3, 3, 3, 3), false, true, 3, 2);
  ExpectGrid(*b, true);
}

TEST(SkinDraw, StackedStripsGiveTheSameGrid) {
  auto across = Bmp(36, 12, kForeign);
  PaintGridFrame(*across, 12, 0);
  auto stacked = Bmp(12, 36, kForeign);
  PaintGridFrame(*stacked, 0, 12);
  auto a = CreateSkinBitmap(Rect(0, 0, 50, 20), *across, Rect(3, 3, 3, 3), false, true, 3, 2);
  auto s = CreateSkinBitmap(Rect(0, 0, 50, 20), *stacked, Rect(3, 3, 3, 3), true, true, 3, 2);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(a->Pixel(x, y), s->Pixel(x, y)) << x << "," << y;
}

TEST(SkinDraw, ATurnedDrawingIsTheDrawingOfTheTurnedPicture) {
  // The picture as it is to look once turned: frame 2 of 2 cut in nine
  // parts of their own colours by margins that differ on every side.
  const TRect m = Rect(1, 2, 3, 4);
  auto turned = Bmp(24, 12, kForeign);
  const int xs[] = {12, 13, 21, 24}, ys[] = {0, 2, 8, 12};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      FillRect(*turned, Rect(xs[col], ys[row], xs[col + 1], ys[row + 1]), 0x102030 + 0x1E0000 * row + 0x3C * col);
  struct Case {
    TTurn turn;
    void (*undo)(TBitmap&);
  };
  const Case cases[] = {{TTurn::Mirror, MirrorBitmap},
                        {TTurn::Flip, FlipBitmap},
                        {TTurn::Left, RotateBitmapRight},
                        {TTurn::Right, RotateBitmapLeft}};
  auto want = Bmp(30, 20, kWhite);
  DrawSkinImage(DC(*want), Rect(0, 0, 30, 20), *turned, false, false, false, 2, 2, m);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.turn));
    TBitmap lying;
    lying.Assign(*turned);
    c.undo(lying);
    auto got = Bmp(30, 20, kWhite);
    DrawTurnedSkinImage(DC(*got), Rect(0, 0, 30, 20), lying, c.turn, false, false, 2, 2, m);
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) wrong += got->Pixel(x, y) != want->Pixel(x, y);
    EXPECT_EQ(wrong, 0);
  }
}

TEST(SkinDraw, BadFrameCountsAndEmptyImagesDrawNothing) {
  auto strip = Bmp(36, 12, kForeign);
  PaintGridFrame(*strip, 12, 0);
  TBitmap empty;
  auto target = Bmp(40, 40, kGrey);
  for (int n : {0, -2}) {
    // A count below 1 is one frame: the whole strip.
    auto whole = CreateSkinBitmap(Rect(0, 0, 36, 12), *strip, TRect{}, false, false, n, 1);
    EXPECT_EQ(whole->Pixel(12, 0), kRed);
  }
  DrawSkinImage(DC(*target), Rect(0, 0, 40, 40), empty, false, true, false, 0, 1, Rect(3, 3, 3, 3));
  DrawSkinImage(DC(*target), Rect(0, 0, 40, 40), *strip, false, false, false, 3, 4, Rect(3, 3, 3, 3));
  DrawSkinFrame(DC(*target), Rect(0, 0, 40, 40), empty, false, 0, 1);
  DrawSkinFrameCentered(DC(*target), Rect(0, 0, 40, 40), *strip, false, 40, 1);
  StretchSkinBar(DC(*target), Rect(0, 0, 40, 40), empty, false, -1, 1, TRect{});
  StretchSkinFrame(BitmapCanvas(*target), Rect(0, 0, 40, 40), empty, false, false, 0, 0, TRect{});
  DrawSkinImage(DC(*target), Rect(30, 30, 10, 10), *strip, false, false, false, 3, 2, TRect{});
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(target->Pixel(x, y), kGrey);
  EXPECT_TRUE(CreateSkinBitmap(Rect(10, 10, 0, 0), *strip, TRect{}, false, false, 3, 2)->Empty());
}

TEST(SkinDraw, KeyPixelsAreLeftOutWhenTransparent) {
  NTFlag restore;
  auto image = Bmp(12, 12, kWhite);
  FillRect(*image, Rect(0, 0, 3, 3), kSkinKeyColor);
  for (bool nt : {true, false}) {
    IsWinNT = nt;  // MaskBlt, or the three-blit mask of older systems
    auto target = Bmp(40, 30, kGrey);
    DrawSkinImage(DC(*target), Rect(5, 5, 35, 25), *image, false, false, true, 1, 1, Rect(3, 3, 3, 3));
    EXPECT_EQ(target->Pixel(5, 5), kGrey) << nt;
    EXPECT_EQ(target->Pixel(7, 7), kGrey) << nt;
    EXPECT_EQ(target->Pixel(8, 5), kWhite) << nt;
    EXPECT_EQ(target->Pixel(34, 24), kWhite) << nt;
    EXPECT_EQ(target->Pixel(4, 4), kGrey) << nt;
    EXPECT_EQ(target->Pixel(35, 25), kGrey) << nt;
  }
  auto opaque = Bmp(40, 30, kGrey);
  DrawSkinImage(DC(*opaque), Rect(5, 5, 35, 25), *image, false, false, false, 1, 1, Rect(3, 3, 3, 3));
  EXPECT_EQ(opaque->Pixel(5, 5), kSkinKeyColor);
}

TEST(SkinDraw, TransparentBitmapNeverDrawsPastTheImage) {
  auto image = Bmp(4, 4, kRed);
  image->SetPixel(1, 1, kSkinKeyColor);
  auto target = Bmp(10, 10, kGrey);
  DrawTransparentBitmap(DC(*target), Rect(2, 2, 10, 10), *image, kSkinKeyColor);
  EXPECT_EQ(target->Pixel(2, 2), kRed);
  EXPECT_EQ(target->Pixel(3, 3), kGrey);
  EXPECT_EQ(target->Pixel(5, 5), kRed);
  EXPECT_EQ(target->Pixel(6, 6), kGrey);
  EXPECT_EQ(target->Pixel(6, 2), kGrey);
}

// Two frames of 8 x 8: a foreign one, then a blue one whose top-left pixel
// is red.
std::unique_ptr<TBitmap> RedCornerStrip() {
  auto strip = Bmp(16, 8, kForeign);
  FillRect(*strip, Rect(8, 0, 16, 8), kBlue);
  strip->SetPixel(8, 0, kRed);
  return strip;
}

TEST(SkinDraw, FrameStretchedIntoItsRectangle) {
  auto strip = RedCornerStrip();
  auto target = Bmp(20, 20, kGrey);
  DrawSkinFrame(DC(*target), Rect(2, 2, 18, 18), *strip, false, 2, 2);
  EXPECT_EQ(target->Pixel(2, 2), kRed);
  EXPECT_EQ(target->Pixel(3, 3), kRed);
  EXPECT_EQ(target->Pixel(4, 4), kBlue);
  EXPECT_EQ(target->Pixel(17, 17), kBlue);
  EXPECT_EQ(target->Pixel(18, 18), kGrey);
}

TEST(SkinDraw, CentredFrameOverhangsASmallerRectangle) {
  auto strip = RedCornerStrip();
  auto target = Bmp(20, 20, kGrey);
  DrawSkinFrameCentered(DC(*target), Rect(5, 5, 9, 9), *strip, false, 2, 2);
  EXPECT_EQ(target->Pixel(3, 3), kRed);  // 5 + (4 - 8) / 2
  EXPECT_EQ(target->Pixel(2, 2), kGrey);
  EXPECT_EQ(target->Pixel(10, 10), kBlue);
  EXPECT_EQ(target->Pixel(11, 11), kGrey);
  auto odd = Bmp(20, 20, kGrey);
  DrawSkinFrameCentered(DC(*odd), Rect(5, 5, 10, 10), *strip, false, 2, 2);
  EXPECT_EQ(odd->Pixel(4, 4), kRed);  // -3 / 2 rounds toward zero
}

TEST(SkinDraw, StripMiddleRepeatedAtItsOwnWidth) {
  const TColor a = 0x202020, b = 0x404040, c = 0x606060;
  auto frame = Bmp(7, 4, kRed);
  FillRect(*frame, Rect(2, 0, 3, 4), a);
  FillRect(*frame, Rect(3, 0, 4, 4), b);
  FillRect(*frame, Rect(4, 0, 5, 4), c);
  FillRect(*frame, Rect(5, 0, 7, 4), kYellow);
  auto target = Bmp(30, 20, kGrey);
  StretchSkinFrame(BitmapCanvas(*target), Rect(0, 0, 20, 8), *frame, false, false, 1, 1, Rect(2, 0, 2, 0));
  const TColor expected[20] = {kRed, kRed, a, b, c, a, b, c, a, b, c, a, b, c, a, b, c, a, kYellow, kYellow};
  for (int y : {0, 7})
    for (int x = 0; x < 20; ++x) EXPECT_EQ(target->Pixel(x, y), expected[x]) << x << "," << y;
  EXPECT_EQ(target->Pixel(0, 8), kGrey);

  // Margins covering the whole frame: no middle, and no endless loop.
  auto wide = Bmp(30, 20, kGrey);
  StretchSkinFrame(BitmapCanvas(*wide), Rect(0, 0, 30, 5), *frame, false, false, 1, 1, Rect(4, 0, 4, 0));
  EXPECT_EQ(wide->Pixel(0, 0), kRed);
  EXPECT_EQ(wide->Pixel(29, 0), kYellow);
  EXPECT_EQ(wide->Pixel(15, 0), kBlack);
}

TEST(SkinDraw, BarStretchesTheWholeFrameIntoANarrowerTarget) {
  auto frame = Bmp(20, 6, kRed);
  FillRect(*frame, Rect(10, 0, 20, 6), kBlue);
  auto target = Bmp(30, 20, kGrey);
  StretchSkinBar(DC(*target), Rect(0, 0, 10, 12), *frame, false, 1, 1, Rect(4, 0, 4, 0));
  EXPECT_EQ(target->Pixel(0, 0), kRed);
  EXPECT_EQ(target->Pixel(4, 11), kRed);
  EXPECT_EQ(target->Pixel(5, 0), kBlue);
  EXPECT_EQ(target->Pixel(9, 11), kBlue);
  EXPECT_EQ(target->Pixel(10, 0), kGrey);
  // Wider target: ends kept, middle stretched.
  FillRect(*frame, Rect(0, 0, 4, 6), kGreen);
  auto bar = Bmp(30, 20, kGrey);
  StretchSkinBar(DC(*bar), Rect(1, 1, 29, 5), *frame, false, 1, 1, Rect(4, 0, 4, 0));
  EXPECT_EQ(bar->Pixel(4, 2), kGreen);
  EXPECT_EQ(bar->Pixel(5, 2), kRed);
  EXPECT_EQ(bar->Pixel(24, 2), kBlue);
  EXPECT_EQ(bar->Pixel(28, 4), kBlue);
  EXPECT_EQ(bar->Pixel(29, 4), kGrey);
}

// ---------------------------------------------------------------------------
// Regions

TEST(SkinRegion, CheckerboardOfThousandsOfRunsMatchesItsKeyPixels) {
  const int W = 200, H = 100;
  auto b = Bmp(W, H, kSkinKeyColor);
  for (int y = 0; y < H; ++y)
    for (int x = (y & 1); x < W; x += 2) b->SetPixel(x, y, 0x303030);
  b->SetPixel(1, 0, 0xFF01FF);  // green 1: within the tolerance, still key
  b->SetPixel(3, 0, 0xFE00FF);  // blue 254: below the key, opaque
  HRGN rgn = BitmapToRegion(*b, 7, 9, 1, 1, 1, kSkinKeyColor);
  ASSERT_NE(rgn, nullptr);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const bool opaque = ((x + y) & 1) == 0 || (x == 3 && y == 0);
      ASSERT_EQ(PtInRegion(rgn, x + 7, y + 9) != 0, opaque) << x << "," << y;
    }
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 7);
  EXPECT_EQ(box.top, 9);
  EXPECT_EQ(box.right, W + 7);
  EXPECT_EQ(box.bottom, H + 9);
  EXPECT_EQ(b->PixelFormat(), pf24bit) << "the caller's bitmap is left as it was";
  DeleteObject(rgn);
}

TEST(SkinRegion, AllKeyOrEmptyImagesGiveAnEmptyRegion) {
  auto key = Bmp(30, 1, kSkinKeyColor);
  TBitmap empty;
  for (TBitmap* b : {key.get(), &empty}) {
    HRGN rgn = BitmapToRegion(*b, 0, 0, 1, 1, 1, kSkinKeyColor);
    ASSERT_NE(rgn, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
    DeleteObject(rgn);
  }
  auto row = Bmp(30, 1, kGreen);  // a single row
  HRGN rgn = BitmapToRegion(*row, 0, 0, 1, 1, 1, kSkinKeyColor);
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 1);
  DeleteObject(rgn);
}

// ---------------------------------------------------------------------------
// Parent background, class names, text, arrows

using SkinParent = qvtest::AppFixture;

TEST_F(SkinParent, ParentPaintsUnderTheControlMovedAndClipped) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  form.SetColor(0x3366CC);
  auto* child = new TGraphicControl(&form);
  child->SetParent(&form);
  child->SetBounds(10, 20, 30, 15);
  form.HandleNeeded();
  TWndMethod old = form.WindowProc;
  bool fail = false;
  form.WindowProc = [&](TMessage& m) {
    old(m);
    if (m.Msg == WM_PAINT && m.WParam) {
      if (fail) throw EComponentError(u"paint failed");
      RECT r{10, 20, 20, 25};  // parent coordinates
      HBRUSH green = CreateSolidBrush(0x00FF00);
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, green);
      DeleteObject(green);
    }
  };
  auto target = Bmp(60, 40, kBlack);
  HDC dc = DC(*target);
  DrawParentBackground(child, dc);
  EXPECT_EQ(target->Pixel(0, 0), kGreen);
  EXPECT_EQ(target->Pixel(9, 4), kGreen);
  EXPECT_EQ(target->Pixel(10, 0), 0x3366CC);
  EXPECT_EQ(target->Pixel(29, 14), 0x3366CC);
  EXPECT_EQ(target->Pixel(30, 0), kBlack) << "clipped to the control";
  EXPECT_EQ(target->Pixel(0, 15), kBlack);

  // The DC is left as found, also when the parent's painting fails.
  fail = true;
  EXPECT_THROW(DrawParentBackground(child, dc), EComponentError);
  POINT origin{1, 1};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, clip), 0);
  DeleteObject(clip);
  form.WindowProc = old;

  TGraphicControl orphan(nullptr);
  DrawParentBackground(&orphan, dc);
  DrawParentBackground(nullptr, dc);
}

TEST(SkinText, ClassNamesCutAt99Characters) {
  const std::wstring name = L"QvLongClass" + std::wstring(140, L'x');
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name.c_str();
  ASSERT_NE(RegisterClassExW(&wc), 0);
  HWND wnd = CreateWindowExW(0, name.c_str(), L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
  ASSERT_NE(wnd, nullptr);
  const String got = GetWndClassName(wnd);
  EXPECT_EQ(got.size(), 99u);
  EXPECT_EQ(got.substr(0, 11), u"QvLongClass");
  DestroyWindow(wnd);
  HWND button = CreateWindowExW(0, L"Button", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWndClassName(button), u"Button");
  DestroyWindow(button);
  EXPECT_EQ(GetWndClassName(nullptr), u"");
}

TEST(SkinText, CentredTextDisabledStaysInButtonShadow) {
  auto target = Bmp(120, 40, kWhite);
  TCanvas& canvas = BitmapCanvas(*target);
  canvas.Font().SetColor(clBlack);
  canvas.Font().SetHeight(-16);
  canvas.Font().SetStyle(1u << fsBold);
  DrawCenteredText(canvas, Rect(0, 0, 120, 40), u"MMMM", false, taCenter);
  EXPECT_EQ(canvas.Font().Color(), static_cast<TColor>(0xFF000010));
  EXPECT_EQ(canvas.Font().Style(), 0u);
  const TColor shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  int left = 120, right = -1, exact = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const TColor p = target->Pixel(x, y);
      if (p == kWhite) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      exact += p == shadow;
      EXPECT_NE(p, kBlack);
    }
  ASSERT_GT(exact, 0) << "disabled text is drawn in the button shadow colour";
  EXPECT_LE(std::abs(left - (119 - right)), 3) << left << " " << right;

  // Left alignment still centres the measured line.
  auto other = Bmp(120, 40, kWhite);
  TCanvas& c2 = BitmapCanvas(*other);
  c2.Font().SetHeight(-16);
  c2.Font().SetColor(clBlack);
  DrawCenteredText(c2, Rect(0, 0, 120, 40), u"MMMM", true, taLeftJustify);
  EXPECT_EQ(c2.Font().Color(), clBlack);
  int l2 = 120;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      if (other->Pixel(x, y) != kWhite) l2 = std::min(l2, x);
  EXPECT_GT(l2, 20);
}

TEST(SkinText, ArrowsPointTheirWayAndUnknownDirectionsDrawNothing) {
  auto draw = [](int direction) {
    auto b = Bmp(20, 20, kWhite);
    TCanvas& canvas = BitmapCanvas(*b);
    HGDIOBJ old = SelectObject(canvas.Handle(), GetStockObject(BLACK_PEN));
    DrawArrowGlyph(canvas, 10, 10, direction);
    SelectObject(canvas.Handle(), old);
    std::set<std::pair<int, int>> ink;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        if (b->Pixel(x, y) == kBlack) ink.insert({x, y});
    return ink;
  };
  auto rows = [](const std::set<std::pair<int, int>>& ink, int y) {
    int n = 0;
    for (auto& p : ink) n += p.second == y;
    return n;
  };
  auto cols = [](const std::set<std::pair<int, int>>& ink, int x) {
    int n = 0;
    for (auto& p : ink) n += p.first == x;
    return n;
  };
  EXPECT_TRUE(draw(4).empty());
  EXPECT_TRUE(draw(-1).empty());
  const auto up = draw(0);
  EXPECT_TRUE(up.count({10, 10}));
  EXPECT_EQ(rows(up, 10), 1);
  EXPECT_EQ(rows(up, 9), 0);
  EXPECT_GT(rows(up, 13), rows(up, 11));
  const auto down = draw(1);
  EXPECT_TRUE(down.count({10, 13}));
  EXPECT_EQ(rows(down, 13), 1);
  EXPECT_EQ(rows(down, 14), 0);
  EXPECT_GT(rows(down, 10), rows(down, 12));
  const auto left = draw(2);
  EXPECT_EQ(cols(left, 9), 1);
  EXPECT_EQ(cols(left, 8), 0);
  EXPECT_GE(cols(left, 11), 4);
  const auto right = draw(3);
  EXPECT_EQ(cols(right, 11), 1);
  EXPECT_EQ(cols(right, 12), 0);
  EXPECT_GE(cols(right, 9), 4);
}

// ---------------------------------------------------------------------------
// The private message table

static_assert(SM_FORMSKINNED == CN_NOTIFY, "the application tells the two apart by window");

TEST(SkinMessages, EachHasItsFixedNumber) {
  // Other modules and the application send these by number, so each value
  // is part of the interface.
  const struct {
    unsigned message, number;
  } table[] = {{SM_SKINCHANGED, 0x3401},    {SM_NCREPAINT, 0x3502},        {SM_INITSKIN, 0x3503},
               {SM_SETSKINNED, 0x3506},     {SM_TABCLOSE, 0x3507},         {SM_SYSBUTTONCLICK, 0x3514},
               {SM_SYSBUTTONVISIBLE, 0x3515}, {SM_MDIREDRAW, 0x3516},      {SM_CONTROLRECREATED, 0x3517},
               {SM_POPUPMENUBAR, 0x3518},   {SM_QUERYSKINNED, 0x3523},     {SM_PAINTCLIENT, 0xBC4A},
               {SM_PAINTBORDER, 0xBC4B},    {SM_SKINFORMQUERY, 0xBC4D},    {SM_FORMSKINNED, 0xBC4E}};
  for (const auto& row : table) EXPECT_EQ(row.message, row.number) << std::hex << row.number;
  EXPECT_EQ(SkinPaintMagic, 0x41A2u);
}
