// Menu items measured and drawn from the skin, read back from memory
// bitmaps. The test skin's MenuItem strip is frame-coded: every frame is a
// colour of its own, so a pixel says which frame was drawn; the separator
// frame has key-coloured rows and coloured edge columns, so the three-slice
// cut and the transparency show.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Menus.h"
#include "platform/win/WinString.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/FrameCodedSkin.h"

using namespace qv;
using qvtest::ColourDistance;
using qvtest::CountNear;
using qvtest::CountPixels;

namespace {

constexpr int kF = 20, kH = 10;  // one frame of the strip
constexpr TColor kFrame[6] = {0, 0x205080, 0x20A020, 0x808000, 0xC06020, 0x606060};
constexpr TColor kSepLeft = 0x0000FF, kSepRight = 0xFF0000;
constexpr TColor kMenuText = 0x000000, kHilightText = 0xFFFFFF, kShadow = 0x909090, kHilight = 0x00C0C0,
                 kMenu = 0xE0E0E0;

// Pixels of text in colour c over background bg: closer to c than half the
// way from bg (the font is smoothed, so few pixels are c itself).
int TextPixels(const TBitmap& b, const TRect& r, TColor c, TColor bg) {
  return CountPixels(b, r, [&](TColor p) { return ColourDistance(p, c) * 2 < ColourDistance(bg, c); });
}

class SkinMenuItemTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    data = new TSkinData(nullptr);
    auto e = std::make_unique<TDataSkinObject>(u"MenuItem");
    e->Map = qvtest::FrameStrip({kFrame[1], kFrame[2], kFrame[3], kFrame[4], kFrame[5]}, kF, kH);
    // The separator: key-coloured upper half, coloured edge columns.
    FillRect(*e->Map, Rect(kF, 0, 2 * kF, kH / 2), kSkinKeyColor);
    FillRect(*e->Map, Rect(kF, kH / 2, kF + 2, kH), kSepLeft);
    FillRect(*e->Map, Rect(2 * kF - 2, kH / 2, 2 * kF, kH), kSepRight);
    e->r = Rect(2, 0, 2, 0);
    e->trans = 1;
    data->MenuItem = std::move(e);
    data->Colors[7] = kShadow;
    data->Colors[11] = kHilightText;
    data->Colors[12] = kHilight;
    data->Colors[15] = kMenuText;
    data->Colors[16] = kMenu;
    sf = new TWinSkinForm(nullptr);
    sf->fsd = data;
    popup = new TPopupMenu(nullptr);
    item = new TMenuItem(nullptr);
    item->SetCaption(u"WWWW");
    popup->Items()->Add(item);
  }
  void TearDown() override {
    delete popup;
    delete sf;
    SkinWindowFixture::TearDown();
  }

  // The item drawn at (0, 0) of a fresh bitmap of the given size.
  std::unique_ptr<TBitmap> Drawn(TMenuItem* it, bool selected, int w = 120, int h = 20) {
    auto b = qvtest::Bmp(w, h, 0x123456);
    sf->DrawMenuItem(it, BitmapCanvas(*b), Rect(0, 0, w, h), selected);
    return b;
  }

  TWinSkinForm* sf = nullptr;
  TPopupMenu* popup = nullptr;
  TMenuItem* item = nullptr;
};

}  // namespace

TEST_F(SkinMenuItemTest, ItemsAreMeasuredWiderForTheImageCellAndTheMargin) {
  TCanvas canvas;
  HDC dc = GetDC(nullptr);
  canvas.SetHandle(dc);
  canvas.Font().Assign(Screen().MenuFont());
  // A popup item: only widened (35 without an image list, 12 with one).
  int w = 50, h = 17;
  sf->MeasurePopupItem(item, canvas, w, h);
  EXPECT_EQ(w, 50 + 2 + 35);
  EXPECT_EQ(h, 17);
  TImageList empty(16, 16);
  popup->SetImages(&empty);
  w = 50;
  sf->MeasurePopupItem(item, canvas, w, h);
  EXPECT_EQ(w, 50 + 2 + 35) << "an empty image list counts as none";
  TImageList images(16, 16);
  TBitmap glyph;
  glyph.SetSize(16, 16);
  images.AddMasked(glyph, kSkinKeyColor);
  popup->SetImages(&images);
  w = 50;
  sf->MeasurePopupItem(item, canvas, w, h);
  EXPECT_EQ(w, 50 + 2 + 12);

  // A main-menu item: the class library's own measure, then widened by 10
  // with images; its own handler stays attached.
  int plainW = 0, plainH = 0;
  item->MeasureItem(canvas, plainW, plainH);
  item->OnMeasureItem = [this](TObject* s, TCanvas& c, int& mw, int& mh) { sf->MeasureItem(s, c, mw, mh); };
  w = h = 0;
  item->MeasureItem(canvas, w, h);
  EXPECT_EQ(w, plainW + 2 + 10);
  EXPECT_EQ(h, plainH);
  EXPECT_TRUE(static_cast<bool>(item->OnMeasureItem));
  popup->SetImages(nullptr);
  w = h = 0;
  item->MeasureItem(canvas, w, h);
  EXPECT_EQ(w, plainW + 2 + 35);

  // A caption of "&" alone still measures one line high.
  TRect r = Rect(0, 0, 100, 0);
  sf->DrawMenuText(item, canvas, DT_SINGLELINE | DT_CALCRECT, false, r, u"&");
  EXPECT_GT(r.Height(), 8);
  TRect rEmpty = Rect(0, 0, 100, 0);
  sf->DrawMenuText(item, canvas, DT_SINGLELINE | DT_CALCRECT, false, rEmpty, u"");
  EXPECT_EQ(rEmpty.Height(), r.Height());
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
}

TEST_F(SkinMenuItemTest, RawMenuEntriesAreMeasuredFromTheirText) {
  HMENU m = CreatePopupMenu();
  AppendMenuW(m, MF_STRING, 101, L"Open the file");
  AppendMenuW(m, MF_SEPARATOR, 102, nullptr);
  sf->menuBar.activemenu = m;
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font().Assign(Screen().MenuFont());
  const int textWidth = canvas.TextExtent(u"Open the file").cx;
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = 101;
  mis.itemHeight = 15;
  sf->MeasureRawMenuItem(mis);
  EXPECT_EQ(static_cast<int>(mis.itemWidth), textWidth + 26 + 2);
  EXPECT_EQ(mis.itemHeight, 19u);
  mis.itemID = 102;
  mis.itemHeight = 15;
  sf->MeasureRawMenuItem(mis);
  EXPECT_EQ(mis.itemHeight, 8u);
  DestroyMenu(m);
}

TEST_F(SkinMenuItemTest, NormalSelectedAndDisabledItemsShowTheirFrameAndColours) {
  const TRect text = Rect(20, 2, 100, 18);
  auto normal = Drawn(item, false);
  EXPECT_EQ(normal->Pixel(110, 1), kFrame[1]);
  EXPECT_GT(TextPixels(*normal, text, kMenuText, kFrame[1]), 5);
  EXPECT_EQ(TextPixels(*normal, text, kHilightText, kFrame[1]), 0);

  auto selected = Drawn(item, true);
  EXPECT_EQ(selected->Pixel(110, 1), kFrame[4]);
  EXPECT_GT(TextPixels(*selected, text, kHilightText, kFrame[4]), 5);
  EXPECT_EQ(TextPixels(*selected, text, kMenuText, kFrame[4]), 0);

  item->SetEnabled(false);
  auto disabled = Drawn(item, true);
  EXPECT_GT(TextPixels(*disabled, text, kShadow, kFrame[4]), 5);
  EXPECT_EQ(TextPixels(*disabled, text, kHilightText, kFrame[4]), 0);
  // A skin whose shadow colour is its text colour: the system's shadow.
  data->Colors[7] = kMenuText;
  auto grey = Drawn(item, false);
  const TColor sysShadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  EXPECT_GT(TextPixels(*grey, text, sysShadow, kFrame[1]), 5);
  EXPECT_EQ(TextPixels(*grey, text, kMenuText, kFrame[1]), 0);
}

TEST_F(SkinMenuItemTest, CheckMarksImagesAndShortCuts) {
  const TColor mark = static_cast<TColor>(GetSysColor(COLOR_BTNTEXT));
  const TRect cell = Rect(3, 0, 19, 20);
  EXPECT_EQ(CountNear(*Drawn(item, false), cell, mark, 8), 0);
  item->SetChecked(true);
  EXPECT_GT(CountNear(*Drawn(item, false), cell, mark, 8), 3);

  // A checked item with an image: the image over a sunken, dithered cell.
  TImageList images(16, 16);
  TBitmap glyph;
  glyph.SetSize(16, 16);
  FillRect(glyph, Rect(0, 0, 16, 16), kSkinKeyColor);
  FillRect(glyph, Rect(6, 6, 10, 10), 0x0000C0);
  images.AddMasked(glyph, kSkinKeyColor);
  popup->SetImages(&images);
  item->SetImageIndex(0);
  auto withImage = Drawn(item, false);
  EXPECT_GT(CountNear(*withImage, Rect(3, 0, 19, 20), 0x0000C0, 4), 8);
  EXPECT_GT(CountNear(*withImage, Rect(3, 0, 19, 20), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)), 0), 8);
  // Disabled: the image etched, its colour gone.
  item->SetEnabled(false);
  EXPECT_EQ(CountNear(*Drawn(item, false), Rect(3, 0, 19, 20), 0x0000C0, 4), 0);

  // The short cut ends 11 pixels before the right edge.
  item->SetEnabled(true);
  item->SetChecked(false);
  popup->SetImages(nullptr);
  item->SetCaption(u"A");
  item->SetShortCut(MakeShortCut('W', scCtrl));
  auto keys = Drawn(item, false, 200, 20);
  int rightmost = -1;
  for (int x = 0; x < 200; ++x)
    if (CountNear(*keys, Rect(x, 2, x + 1, 18), kMenuText, 60) > 0) rightmost = x;
  EXPECT_LE(rightmost, 200 - 11 - 1);
  EXPECT_GE(rightmost, 200 - 11 - 4);
  // Right to left: it starts 11 pixels from the left edge.
  popup->SetRightToLeft(true);
  auto rtl = Drawn(item, false, 200, 20);
  int leftmost = 200;
  for (int x = 199; x >= 0; --x)
    if (CountNear(*rtl, Rect(x, 2, x + 1, 18), kMenuText, 60) > 0) leftmost = x;
  EXPECT_GE(leftmost, 11);
  EXPECT_LE(leftmost, 11 + 3);
}

TEST_F(SkinMenuItemTest, SeparatorsFromTheStripOrEtchedByHandle) {
  item->SetCaption(u"-");
  auto sep = Drawn(item, false, 100, kH);
  // Three slices of frame 2; its key-coloured half shows the menu colour.
  EXPECT_EQ(sep->Pixel(50, 1), kMenu);
  EXPECT_EQ(sep->Pixel(50, 8), kFrame[2]);
  EXPECT_EQ(sep->Pixel(0, 8), kSepLeft);
  EXPECT_EQ(sep->Pixel(1, 8), kSepLeft);
  EXPECT_EQ(sep->Pixel(2, 8), kFrame[2]);
  EXPECT_EQ(sep->Pixel(99, 8), kSepRight);
  EXPECT_EQ(sep->Pixel(97, 8), kFrame[2]);
  // A lower item takes the frame's bottom rows.
  auto low = Drawn(item, false, 100, 4);
  EXPECT_EQ(low->Pixel(50, 0), kFrame[2]);

  // The same separator reached by its menu's handle: frame 1 with an
  // etched line 4 pixels below the top.
  auto byHandle = std::make_unique<TBitmap>();
  byHandle->SetSize(100, 20);
  sf->DrawMenuItemOfHandle(nullptr, item, false, Rect(0, 0, 100, 20), BitmapCanvas(*byHandle));
  EXPECT_EQ(byHandle->Pixel(50, 1), kFrame[1]);
  EXPECT_EQ(byHandle->Pixel(50, 4), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(byHandle->Pixel(50, 5), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(byHandle->Pixel(50, 10), kFrame[1]);
}

TEST_F(SkinMenuItemTest, WithoutAMenuItemElementItemsAreFlat) {
  data->MenuItem.reset();
  auto selected = Drawn(item, true);
  EXPECT_EQ(selected->Pixel(110, 1), kHilight);
  EXPECT_GT(CountNear(*selected, Rect(20, 2, 100, 18), kHilightText, 24), 5);
  auto normal = Drawn(item, false);
  EXPECT_EQ(normal->Pixel(110, 1), kMenu);
}

TEST_F(SkinMenuItemTest, RawMenuItemsKeepTheirTextsAndStates) {
  HMENU m = CreatePopupMenu();
  AppendMenuW(m, MF_STRING | MF_GRAYED, 201, L"&Open");
  AppendMenuW(m, MF_STRING | MF_CHECKED, 202, L"Wrap");
  AppendMenuW(m, MF_SEPARATOR, 203, nullptr);
  // Owner-drawn as the skin makes them: the type changes, the text stays.
  for (UINT id : {201u, 202u, 203u}) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(m, id, FALSE, &mii);
    mii.fType |= MFT_OWNERDRAW;
    SetMenuItemInfoW(m, id, FALSE, &mii);
  }
  auto open = sf->MenuItemFromHandle(m, 201);
  EXPECT_EQ(open->Caption(), u"&Open");
  EXPECT_FALSE(open->Enabled());
  EXPECT_FALSE(open->Checked());
  auto wrap = sf->MenuItemFromHandle(m, 202);
  EXPECT_EQ(wrap->Caption(), u"Wrap");
  EXPECT_TRUE(wrap->Enabled());
  EXPECT_TRUE(wrap->Checked());
  EXPECT_EQ(sf->MenuItemFromHandle(m, 203)->Caption(), u"-");
  EXPECT_EQ(sf->MenuItemFromHandle(m, 999)->Caption(), u"-");
  DestroyMenu(m);
}

// ---------------------------------------------------------------------------
// Through the skinned window procedure: WM_MEASUREITEM and WM_DRAWITEM of the
// window menu's owner-drawn entries.

namespace {


class SkinnedMenuItemTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvMenuItemWindow");
    data = qvtest::LoadProgramSkin();
    ASSERT_FALSE(data->Empty);
    ASSERT_NE(SkinManager, nullptr);
  }
  void TearDown() override {
    delete form;
    if (wnd && IsWindow(wnd)) DestroyWindow(wnd);
    SkinWindowFixture::TearDown();
  }
  static std::unique_ptr<TBitmap> Blank() { return qvtest::Bmp(120, 20, 0x123456); }
  static bool Same(const TBitmap& a, const TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
  }

  HWND wnd = nullptr;
  TForm* form = nullptr;
};

}  // namespace

TEST_F(SkinnedMenuItemTest, ARawWindowsEntriesAreMeasuredAndDrawnFromTheSkin) {
  HMENU bar = CreateMenu();
  HMENU drop = CreatePopupMenu();
  AppendMenuW(drop, MF_STRING, 101, L"&Open");
  AppendMenuW(drop, MF_STRING | MF_GRAYED, 102, L"E&xit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), L"&File");
  wnd = CreateWindowExW(0, L"QvMenuItemWindow", L"Menu", WS_OVERLAPPEDWINDOW, 40, 40, 320, 240, nullptr, bar,
                        GetModuleHandleW(nullptr), nullptr);
  ShowWindow(wnd, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(wnd);
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->menuBar.hmenu, nullptr);
  sf->menuBar.activemenu = drop;

  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = 101;
  mis.itemHeight = 15;
  EXPECT_EQ(SendMessageW(wnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  MEASUREITEMSTRUCT direct{};
  direct.itemID = 101;
  direct.itemHeight = 15;
  sf->MeasureRawMenuItem(direct);
  EXPECT_EQ(mis.itemWidth, direct.itemWidth);
  EXPECT_EQ(mis.itemHeight, 19u);

  // Drawn by handle from the skin, as the direct call draws it.
  auto viaProc = Blank();
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = 102;
  dis.itemState = ODS_SELECTED;
  dis.hwndItem = reinterpret_cast<HWND>(drop);
  dis.hDC = BitmapCanvas(*viaProc).Handle();
  dis.rcItem = RECT{0, 0, 120, 20};
  EXPECT_EQ(SendMessageW(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  auto direct2 = Blank();
  auto temp = sf->MenuItemFromHandle(drop, 102);
  EXPECT_EQ(temp->Caption(), u"E&xit");
  EXPECT_FALSE(temp->Enabled());
  sf->DrawMenuItemOfHandle(drop, temp.get(), true, Rect(0, 0, 120, 20), BitmapCanvas(*direct2));
  EXPECT_TRUE(Same(*viaProc, *direct2));
  EXPECT_NE(viaProc->Pixel(60, 1), 0x123456);

  // A control's owner-drawn item is not the skin's.
  auto untouched = Blank();
  dis.CtlType = ODT_BUTTON;
  dis.hDC = BitmapCanvas(*untouched).Handle();
  SendMessageW(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(untouched->Pixel(60, 1), 0x123456);
}

TEST_F(SkinnedMenuItemTest, AFormsMainMenuItemsAreDrawnThroughTheirItems) {
  form = qvtest::FormWithFileMenu(60, 60, 300, 200);
  TMenuItem* file = form->Menu()->Items()->Items(0);
  TMenuItem* open = file->Items(0);
  form->Show();
  TWinSkinForm* sf = Skinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->menuBar.hmenu, nullptr);
  HWND w = form->Handle();

  // Measured by the class library, widened by the skin.
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = open->Command();
  EXPECT_EQ(SendMessageW(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  HDC dc = GetWindowDC(w);
  int plainW = 0, plainH = 0;
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Font().Assign(Screen().MenuFont());
    open->MeasureItem(canvas, plainW, plainH);
    canvas.SetHandle(nullptr);
  }
  ReleaseDC(w, dc);
  EXPECT_EQ(static_cast<int>(mis.itemWidth), plainW + data->MenuItem->r.Left + 35);

  auto viaProc = Blank();
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = open->Command();
  dis.hwndItem = reinterpret_cast<HWND>(file->Handle());
  dis.hDC = BitmapCanvas(*viaProc).Handle();
  dis.rcItem = RECT{0, 0, 120, 20};
  EXPECT_EQ(SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  auto direct = Blank();
  sf->DrawMenuItem(open, BitmapCanvas(*direct), Rect(0, 0, 120, 20), false);
  EXPECT_TRUE(Same(*viaProc, *direct));
  EXPECT_NE(viaProc->Pixel(60, 1), 0x123456);

  // A command of the class library's range that no item has goes on to
  // the form, which has nothing to draw for it.
  auto passed = Blank();
  dis.itemID = 4000;
  dis.hDC = BitmapCanvas(*passed).Handle();
  EXPECT_EQ(SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), FALSE);
  EXPECT_EQ(passed->Pixel(60, 1), 0x123456);
}

TEST_F(SkinnedMenuItemTest, APopupItemShowsItsMenuWindowsBackgroundThroughTheKeyedFrame) {
  // The menu window's skinned background: every pixel says where it is.
  auto* pop = new TWinSkinPopMenu;
  pop->MenuBg->SetSize(130, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 130; ++x) pop->MenuBg->SetPixel(x, y, static_cast<TColor>(x | (y << 8) | (0x40 << 16)));
  SkinManager->Mlist.push_back(pop);  // the manager frees it
  // Frame 1 is key-coloured in its upper half.
  auto e = std::make_unique<TDataSkinObject>(u"MenuItem");
  e->Map = qvtest::Bmp(5 * kF, kH, kFrame[1]);
  FillRect(*e->Map, Rect(0, 0, kF, kH / 2), kSkinKeyColor);
  e->trans = 1;
  data->MenuItem = std::move(e);
  TWinSkinForm sf(nullptr);
  sf.fsd = data;
  TPopupMenu popup(nullptr);
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(u"x");
  popup.Items()->Add(item);

  TBitmap drawn;
  drawn.SetSize(120, 40);
  FillRect(drawn, Rect(0, 0, 120, 40), 0x123456);
  sf.DrawMenuItem(item, BitmapCanvas(drawn), Rect(0, 20, 120, 40), false);
  // The menu learnt its handle from the item, and the item's rectangle
  // lies 3 pixels inside the window's background.
  EXPECT_EQ(pop->hmenu, popup.Items()->Handle());
  EXPECT_EQ(drawn.Pixel(110, 21), static_cast<TColor>(113 | (24 << 8) | (0x40 << 16)));
  EXPECT_EQ(drawn.Pixel(110, 38), kFrame[1]);
  EXPECT_EQ(drawn.Pixel(110, 1), 0x123456) << "nothing outside the item";
}

TEST_F(SkinnedMenuItemTest, ASeparatorOfTheOpenSystemMenuShowsNoEdgeOfTheMenuBackground) {
  wnd = CreateWindowExW(0, L"QvMenuItemWindow", L"Menu", WS_OVERLAPPEDWINDOW, 40, 40, 320, 240, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
  ShowWindow(wnd, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(wnd);
  ASSERT_NE(sf, nullptr);

  // The open menu window as shown, and the rectangles of its separators
  // (both in window coordinates of the menu window).
  std::unique_ptr<TBitmap> shown;
  std::vector<RECT> separators;
  DWORD firstSeen = 0;
  qvtest::LoopTimer look(50, [&] {
    const std::vector<HWND> menus = qvtest::MenuWindowsShown();
    if (menus.empty() || !sf->sysmenu) return;
    if (!firstSeen) firstSeen = GetTickCount();
    if (GetTickCount() - firstSeen < 400) return;
    HWND m = menus.front();
    RECT wr{};
    GetWindowRect(m, &wr);
    shown = qvtest::WindowPixels(m);
    TMenuItem* root = sf->sysmenu->Items();
    for (int i = 0; i < root->Count(); ++i) {
      RECT r{};
      if (root->Items(i)->Caption() != u"-" || !GetMenuItemRect(nullptr, root->Handle(), i, &r)) continue;
      OffsetRect(&r, -wr.left, -wr.top);
      separators.push_back(r);
    }
    EndMenu();
  });
  sf->PopupSystemMenu(TPoint{120, 120});
  ASSERT_TRUE(shown && !shown->Empty()) << "the menu never opened";
  ASSERT_FALSE(separators.empty());
  // Each row of a separator is one colour from its middle to its right end
  // (the skin's line, or the menu background): the background lies under
  // the item where the item lies on the window.
  for (const RECT& r : separators) {
    ASSERT_GT(r.right - r.left, 20);
    const int mid = (r.left + r.right) / 2;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = mid; x < r.right; ++x)
        ASSERT_EQ(shown->Pixel(x, y), shown->Pixel(mid, y)) << "at " << x << "," << y << " of the menu window";
  }
}
