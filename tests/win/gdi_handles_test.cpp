// The GDI ownership types on a real memory DC: a guard puts back the object
// the DC had, an owner deletes its object once and only once, null is
// tolerated, the savers put back the clip region, text style and whole
// state, and a window's DC covers its frame only when asked to.
#include <gtest/gtest.h>

#include "platform/win/GdiHandles.h"

using namespace qv;

namespace {

bool Alive(HGDIOBJ h) { return GetObjectType(h) != 0; }

TEST(GdiHandles, SelectGuardPutsBackEachKindAndToleratesNull) {
  MemoryDC dc;
  OwnedPen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
  OwnedBrush brush(CreateSolidBrush(RGB(4, 5, 6)));
  OwnedFont font(CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  OwnedBitmap bitmap(CreateCompatibleBitmap(dc, 4, 4));
  const struct {
    HGDIOBJ object;
    UINT kind;
  } cases[] = {{pen, OBJ_PEN}, {brush, OBJ_BRUSH}, {font, OBJ_FONT}, {bitmap, OBJ_BITMAP}};
  for (const auto& c : cases) {
    const HGDIOBJ before = GetCurrentObject(dc, c.kind);
    {
      SelectGuard guard(dc, c.object);
      EXPECT_EQ(GetCurrentObject(dc, c.kind), c.object) << c.kind;
      SelectGuard none(dc, nullptr);
      EXPECT_EQ(GetCurrentObject(dc, c.kind), c.object) << c.kind;
    }
    EXPECT_EQ(GetCurrentObject(dc, c.kind), before) << c.kind;
  }
  SelectGuard noDc(nullptr, pen);
}

TEST(GdiHandles, OwnerDeletesOnceAndReleaseHandsOver) {
  HBRUSH kept = nullptr;
  HBRUSH first = CreateSolidBrush(RGB(1, 1, 1));
  HBRUSH second = CreateSolidBrush(RGB(2, 2, 2));
  {
    OwnedBrush a(first);
    a.Reset(a.Get());
    EXPECT_TRUE(Alive(first)) << "reset to itself";
    OwnedBrush b(std::move(a));
    EXPECT_FALSE(a);
    b.Reset(second);
    EXPECT_FALSE(Alive(first));
    OwnedBrush c(CreateSolidBrush(RGB(3, 3, 3)));
    kept = c.Release();
  }
  EXPECT_FALSE(Alive(second));
  EXPECT_TRUE(Alive(kept));
  DeleteObject(kept);
  // A borrowed stock object outlives every reference to it.
  { BrushRef stock(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))); }
  EXPECT_TRUE(Alive(GetStockObject(WHITE_BRUSH)));
}

TEST(GdiHandles, SaversPutBackClipRegionAndTextStyle) {
  MemoryDC dc;
  OwnedBitmap bitmap(CreateCompatibleBitmap(dc, 20, 20));
  SelectGuard surface(dc, bitmap);
  OwnedRegion region(CreateRectRgn(0, 0, 10, 10));
  OwnedRegion probe(CreateRectRgn(0, 0, 0, 0));
  for (HRGN outer : {HRGN(nullptr), region.Get()}) {
    SelectClipRgn(dc, outer);
    SetTextColor(dc, RGB(7, 8, 9));
    SetBkMode(dc, OPAQUE);
    {
      ClipRegionSaver clip(dc);
      TextStyleSaver text(dc);
      OwnedRegion inner(CreateRectRgn(2, 2, 4, 4));
      SelectClipRgn(dc, inner);
      SetTextColor(dc, RGB(200, 0, 0));
      SetBkMode(dc, TRANSPARENT);
    }
    ASSERT_EQ(GetClipRgn(dc, probe), outer ? 1 : 0);
    if (outer) {
      RECT box{};
      GetRgnBox(probe, &box);
      EXPECT_EQ(box.right, 10);
    }
    EXPECT_EQ(GetTextColor(dc), RGB(7, 8, 9));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
  }
  {
    SavedDC whole(dc);
    SetViewportOrgEx(dc, 5, 6, nullptr);
    IntersectClipRect(dc, 0, 0, 1, 1);
  }
  POINT origin{-1, -1};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  RECT box{};
  GetClipBox(dc, &box);
  EXPECT_EQ(box.right, 10);
}

TEST(GdiHandles, WindowDCOfTheWholeWindowStartsAtItsFrame) {
  HWND w = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 40, 50, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  POINT client{0, 0}, frame{}, whole{};
  ClientToScreen(w, &client);
  GetDCOrgEx(WindowDC(w), &frame);
  GetDCOrgEx(WindowDC(w, WindowDC::Whole), &whole);
  EXPECT_EQ(frame.x, client.x);
  EXPECT_EQ(whole.x, 40);
  EXPECT_EQ(whole.y, 50);
  DestroyWindow(w);
}

}  // namespace
