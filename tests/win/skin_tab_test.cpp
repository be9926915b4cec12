// Tab skins on real tab controls, read back from memory bitmaps with a test
// skin whose tab frames and frame pictures are coded by colour: the tabs on
// each of the four sides with the current tab's frame and text colour, the
// display area's frame turned to the side of the tabs, from the tab
// element's picture or the TabSheet element; the tab set's tabs from its own
// layout; the page-control pictures given and taken back; clicks and
// Ctrl+Tab turning pages with one OnChange, and a tab control re-created on
// another side keeping its one skin.
#include <gtest/gtest.h>

#include <memory>

#include "platform/win/TabControls.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/windows/SkinMessages.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::DC;
using qvtest::PaintedOnWhite;

namespace {

constexpr TColor kFace = 0x808080, kParent = 0x406080, kWhite = 0xFFFFFF;
constexpr TColor kTabNormal = 0x00A000, kTabCurrent = 0xA000A0;
constexpr TColor kTextNormal = 0x0000FF, kTextCurrent = 0xFF0000;
constexpr TColor kEdgeTop = 0x00C0C0, kEdge = 0x202020, kInside = 0xE0E0E0;
constexpr TColor kSheetEdge = 0x6060C0;
constexpr int kW = 240, kH = 160;

std::unique_ptr<TSkinData> TabSkin() {
  auto d = std::make_unique<TSkinData>(nullptr);
  d->Colors[3] = kFace;
  d->tab = std::make_unique<TDataSkinBorder>(u"tab");
  d->tab->frame = 2;
  d->tab->Map = Bmp(40, 20, kTabNormal);
  FillRect(*d->tab->Map, Rect(20, 0, 40, 20), kTabCurrent);
  d->tab->Normalcolor2 = kTextNormal;
  d->tab->Overcolor2 = kTextCurrent;
  // The page frame: its top edge coded apart, so that the turn shows.
  d->tab->MaskMap = Bmp(20, 20, kEdge);
  FillRect(*d->tab->MaskMap, Rect(0, 0, 20, 5), kEdgeTop);
  FillRect(*d->tab->MaskMap, Rect(4, 5, 16, 16), kInside);
  d->TabSheet = std::make_unique<TDataSkinObject>(u"TabSheet");
  d->TabSheet->Map = Bmp(12, 12, kSheetEdge);
  FillRect(*d->TabSheet->Map, Rect(3, 3, 9, 9), kInside);
  FillRect(*d->TabSheet->Map, Rect(3, 4, 9, 5), kEdge);  // shows where the margins cut
  d->TabSheet->r = Rect(3, 3, 3, 3);
  return d;
}

TRect ItemRect(HWND w, int i) {
  RECT r{};
  SendMessageW(w, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return Rect(r.left, r.top, r.right, r.bottom);
}

// Pixels nearer to ink than to the tab's own colour (text edges are
// smoothed).
int Inked(TBitmap& b, const TRect& r, TColor ink, TColor tab) {
  auto dist = [](TColor a, TColor c) {
    int d = 0;
    for (int shift : {0, 8, 16}) d += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((c >> shift) & 0xFF));
    return d;
  };
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x)
      n += dist(b.Pixel(x, y), ink) < dist(b.Pixel(x, y), tab);
  return n;
}

int Count(TBitmap& b, const TRect& r, TColor c) {
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x) n += b.Pixel(x, y) == c;
  return n;
}

struct SkinTabTest : qvtest::SkinControlFixture {
  static void SetUpTestSuite() { InitApplication(); }

  void SetUp() override {
    data = TabSkin();
    MakeForm(75, 25);
    form->SetColor(kParent);
    ShowWindow(form->Handle(), SW_SHOWNA);
  }

  TTabControl* AddTabs(TTabPosition pos, int tabIndex = 1) {
    auto* tc = new TTabControl(form.get());
    tc->SetBounds(60, 10, kW, kH);
    tc->SetTabPosition(pos);
    tc->SetParent(form.get());
    for (const char16_t* s : {u"One", u"Two", u"Three"}) tc->Tabs()->Add(s);
    tc->SetTabIndex(tabIndex);
    tc->OnChange = [this](TObject*) { ++changes; };
    return tc;
  }

  TSkinTab* Skin(TWinControl* c) {
    auto* s = static_cast<TSkinTab*>(CreateControlSkin(TControlSkinClass::SkinTab, c));
    s->Init(nullptr, data.get(), nullptr, false);
    return s;
  }

  std::unique_ptr<TBitmap> Painted(TSkinControl* s, int w = kW, int h = kH) { return PaintedOnWhite(s, w, h); }

  // The display area's frame as the skin places it.
  TRect FrameRect(HWND w, TSkinTabPosition pos) {
    RECT d{0, 0, kW, kH};
    SendMessageW(w, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    InflateRect(&d, 4, 4);
    if (pos == StTop) d.top += 1;
    if (pos == Stbottom) d.bottom -= 1;
    if (pos == Stleft) d.left += 1;
    if (pos == Stright) d.right -= 1;
    return Rect(d.left, d.top, d.right, d.bottom);
  }

  int changes = 0;
};

// ---------------------------------------------------------------------------
// Looks

TEST_F(SkinTabTest, TabsOnEverySideShowTheCurrentTabAndTheTurnedFrame) {
  struct Case {
    TTabPosition pos;
    TSkinTabPosition side;
  };
  const Case cases[] = {{tpTop, StTop}, {tpBottom, Stbottom}, {tpLeft, Stleft}, {tpRight, Stright}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "side " << c.side);
    TTabControl* tc = AddTabs(c.pos);
    TSkinTab* skin = Skin(tc);
    EXPECT_EQ(skin->Position, c.side);
    auto b = Painted(skin);
    const HWND w = tc->Handle();
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      TRect t = ItemRect(w, i);
      InflateRect(reinterpret_cast<RECT*>(&t), -3, -3);  // clear of a one-pixel shift
      const bool current = i == 1;
      EXPECT_GT(Count(*b, t, current ? kTabCurrent : kTabNormal), t.Width() * t.Height() / 3);
      EXPECT_EQ(Count(*b, t, current ? kTabNormal : kTabCurrent), 0);
      const TColor tabColor = current ? kTabCurrent : kTabNormal;
      EXPECT_GT(Inked(*b, t, current ? kTextCurrent : kTextNormal, tabColor), 3);
      EXPECT_EQ(Inked(*b, t, current ? kTextNormal : kTextCurrent, tabColor), 0);
    }
    // The frame's coded top edge lies along the side of the tabs.
    const TRect D = FrameRect(w, c.side);
    const int cx = (D.Left + D.Right) / 2, cy = (D.Top + D.Bottom) / 2;
    const TPoint edge = c.side == StTop      ? TPoint{cx, D.Top + 1}
                        : c.side == Stbottom ? TPoint{cx, D.Bottom - 2}
                        : c.side == Stleft   ? TPoint{D.Left + 1, cy}
                                             : TPoint{D.Right - 2, cy};
    EXPECT_EQ(b->Pixel(edge.X, edge.Y), kEdgeTop);
    EXPECT_EQ(b->Pixel(cx, cy), kInside);
    delete skin;
    delete tc;
  }
}

TEST_F(SkinTabTest, TheFrameComesFromTheTabSheetElementInStyleOne) {
  data->tab->style = 1;
  TTabControl* tc = AddTabs(tpTop);
  auto b = Painted(Skin(tc));
  const TRect D = FrameRect(tc->Handle(), StTop);
  EXPECT_EQ(b->Pixel(D.Left + 1, (D.Top + D.Bottom) / 2), kSheetEdge);
  EXPECT_EQ(b->Pixel(D.Right - 3, D.Bottom - 3), kSheetEdge);
  EXPECT_EQ(b->Pixel(D.Left + 4, D.Top + 4), kInside);
}

TEST_F(SkinTabTest, BadTabPicturesOrIndexesDrawNothingWrong) {
  TTabControl* tc = AddTabs(tpTop, -1);
  SendMessageW(tc->Handle(), TCM_SETCURFOCUS, static_cast<WPARAM>(-1), 0);
  ASSERT_EQ(SendMessageW(tc->Handle(), TCM_GETCURFOCUS, 0, 0), -1);
  TSkinTab* skin = Skin(tc);
  const TRect D = FrameRect(tc->Handle(), StTop);
  auto b = Painted(skin);
  EXPECT_EQ(Count(*b, Rect(0, 0, kW, D.Top), kTabCurrent), 0);  // no tab is current
  EXPECT_GT(Count(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);

  data->tab->frame = 1;  // no frame for the current tab: it looks like the others
  data->tab->Map = Bmp(20, 20, kTabNormal);
  skin->SkinChange();
  tc->SetTabIndex(0);
  b = Painted(skin);
  EXPECT_GT(Count(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);
  EXPECT_EQ(Count(*b, Rect(0, 0, kW, D.Top), kTabCurrent), 0);
  data->tab->frame = 0;
  b = Painted(skin);
  EXPECT_GT(Count(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);

  data->tab->Map->Clear();  // no tabs from the skin, the frame still
  skin->SkinChange();
  b = Painted(skin);
  EXPECT_EQ(Count(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);
  EXPECT_EQ(b->Pixel((D.Left + D.Right) / 2, D.Top + 1), kEdgeTop);
}

TEST_F(SkinTabTest, ARawTabControlIsSkinnedByItsHandle) {
  HWND w = Track(CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_BOTTOM, 60, 10, kW, kH,
                                 form->Handle(), nullptr, nullptr, nullptr));
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(i ? L"Second" : L"First");
    SendMessageW(w, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinTab, form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  EXPECT_EQ(static_cast<TSkinTab*>(skin)->Position, Stbottom);
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 1);
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  HDC dc = GetDC(w);
  TRect t = ItemRect(w, 0);
  EXPECT_EQ(GetPixel(dc, t.Left + 3, (t.Top + t.Bottom) / 2), static_cast<COLORREF>(kTabCurrent));
  t = ItemRect(w, 1);
  EXPECT_EQ(GetPixel(dc, t.Left + 3, (t.Top + t.Bottom) / 2), static_cast<COLORREF>(kTabNormal));
  ReleaseDC(w, dc);
  delete skin;
}

TEST_F(SkinTabTest, ScrolledTabsGetTheirUpDownSkinnedOnce) {
  auto* tc = new TTabControl(form.get());
  tc->SetBounds(60, 10, 120, 80);
  tc->SetParent(form.get());
  for (int i = 0; i < 8; ++i) tc->Tabs()->Add(u"Tab number " + IntToStr(i));
  TSkinTab* skin = Skin(tc);
  HWND updown = FindWindowExW(tc->Handle(), nullptr, L"msctls_updown32", nullptr);
  ASSERT_TRUE(updown);
  ASSERT_TRUE(skin->updown);
  EXPECT_EQ(skin->updown->hwnd, updown);
  TSkinUpDown* first = skin->updown;
  Painted(skin, 120, 80);
  EXPECT_EQ(skin->updown, first);
  EXPECT_EQ(SendMessageW(updown, SM_QUERYSKINNED, 0, 0), 1);
}

TEST_F(SkinTabTest, TheTabSetLaysItsTabsOutFromItsOwnProperties) {
  auto* ts = new TTabSet(form.get());
  ts->SetBounds(10, 180, 200, 22);
  ts->SetParent(form.get());
  HDC sdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(sdc, ts->Font()->Handle());
  auto width = [&](const wchar_t* s) {
    SIZE size{};
    GetTextExtentPoint32W(sdc, s, lstrlenW(s), &size);
    return static_cast<int>(size.cx) + 9;
  };
  const wchar_t* names[] = {L"A", L"BB", L"A very long third tab name that cannot fit", L"D"};
  const int w0 = width(names[0]), w1 = width(names[1]), w3 = width(names[3]);
  SelectObject(sdc, old);
  ReleaseDC(nullptr, sdc);
  for (const wchar_t* s : names) ts->Tabs()->Add(FromW(s));
  ts->SetTabIndex(1);
  TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinTab31, ts);
  skin->Init(nullptr, data.get(), nullptr, false);
  EXPECT_EQ(SendMessageW(ts->Handle(), SM_QUERYSKINNED, 0, 0), 1);

  auto b = Painted(skin, 200, 22);
  // Tabs 1, 2 and 4: the third does not fit, the fourth still does.
  EXPECT_EQ(b->Pixel(5 + 1, 11), kTabNormal);
  EXPECT_EQ(b->Pixel(5 + w0 + 1, 11), kTabCurrent);
  EXPECT_EQ(b->Pixel(5 + w0 + w1 + 1, 11), kTabNormal);
  EXPECT_EQ(b->Pixel(5 + w0 + w1 + w3 + 1, 11), kFace);
  EXPECT_EQ(b->Pixel(2, 11), kFace);  // before the start margin
  EXPECT_GT(Inked(*b, Rect(5 + w0, 0, 5 + w0 + w1, 22), kTextCurrent, kTabCurrent), 0);

  // Scrolled to the fourth tab: it starts at the start margin.
  ts->SetFirstIndex(3);
  b = Painted(skin, 200, 22);
  EXPECT_EQ(b->Pixel(5 + 1, 11), kTabNormal);
  EXPECT_EQ(b->Pixel(5 + w3 + 1, 11), kFace);

  // The window itself, through its own painting and the skin's.
  InvalidateRect(ts->Handle(), nullptr, TRUE);
  UpdateWindow(ts->Handle());
  HDC dc = GetDC(ts->Handle());
  EXPECT_EQ(GetPixel(dc, 6, 11), static_cast<COLORREF>(kTabNormal));
  ReleaseDC(ts->Handle(), dc);
}

TEST_F(SkinTabTest, APageControlOfItsOwnGetsTheTabPicturesAndGivesThemBack) {
  auto* pc = new TAdvPageControl(form.get());
  pc->SetBounds(60, 10, kW, kH);
  pc->SetParent(form.get());
  TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinAdvPage, pc);
  skin->kind = 4;
  skin->Init(nullptr, data.get(), nullptr, true);
  ASSERT_TRUE(pc->TabBackGround());
  ASSERT_TRUE(pc->TabBackGroundActive());
  EXPECT_EQ(pc->TabBackGround()->Width(), 100);
  EXPECT_EQ(pc->TabBackGround()->Height(), 21);
  EXPECT_EQ(pc->TabBackGround()->Pixel(50, 10), kTabNormal);
  EXPECT_EQ(pc->TabBackGroundActive()->Pixel(50, 10), kTabCurrent);
  EXPECT_EQ(pc->Color(), kFace);
  skin->Unsubclass();
  EXPECT_FALSE(pc->TabBackGround());
  EXPECT_FALSE(pc->TabBackGroundActive());
  EXPECT_EQ(pc->Color(), kFace);

  // A page control without the pictures is skinned all the same.
  auto* plain = new TPageControl(form.get());
  plain->SetParent(form.get());
  TSkinControl* other = CreateControlSkin(TControlSkinClass::SkinAdvPage, plain);
  other->kind = 4;
  other->Init(nullptr, data.get(), nullptr, true);
  other->Unsubclass();
  EXPECT_EQ(plain->Color(), kFace);
}

// ---------------------------------------------------------------------------
// Behaviour

TEST_F(SkinTabTest, ClicksAndCtrlTabTurnThePagesWithOneChangeEach) {
  auto* pc = new TPageControl(form.get());
  pc->SetBounds(60, 10, kW, kH);
  pc->SetParent(form.get());
  std::vector<TTabSheet*> sheets;
  for (const char16_t* s : {u"First", u"Second", u"Third"}) {
    auto* sheet = new TTabSheet(form.get());
    sheet->SetCaption(s);
    sheet->SetPageControl(pc);
    sheets.push_back(sheet);
  }
  pc->OnChange = [this](TObject*) { ++changes; };
  TSkinTab* skin = Skin(pc);
  EXPECT_EQ(pc->ActivePage(), sheets[0]);

  const TRect t = ItemRect(pc->Handle(), 2);
  SendMessageW(pc->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.Left + 5, t.Top + 5));
  SendMessageW(pc->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(t.Left + 5, t.Top + 5));
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
  EXPECT_EQ(changes, 1);
  auto b = Painted(skin);
  TRect inner = ItemRect(pc->Handle(), 2);
  InflateRect(reinterpret_cast<RECT*>(&inner), -3, -3);
  EXPECT_GT(Count(*b, inner, kTabCurrent), 0);

  // Ctrl+Tab from a control on the page, Ctrl+Shift+Tab back.
  auto* edit2 = new TEdit(form.get());
  edit2->SetParent(sheets[2]);
  edit2->SetFocus();
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE pressed[256];
  memcpy(pressed, keys, sizeof pressed);
  pressed[VK_CONTROL] = 0x80;
  SetKeyboardState(pressed);
  PostMessageW(edit2->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Application->ProcessMessages();
  EXPECT_EQ(pc->ActivePage(), sheets[0]);  // wraps round
  EXPECT_EQ(changes, 2);
  pressed[VK_SHIFT] = 0x80;
  SetKeyboardState(pressed);
  pc->SetFocus();
  PostMessageW(pc->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Application->ProcessMessages();
  SetKeyboardState(keys);
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETCURFOCUS, 0, 0), 2);
}

TEST_F(SkinTabTest, ATabControlRecreatedOnAnotherSideKeepsItsOneSkin) {
  TTabControl* tc = AddTabs(tpTop);
  TSkinTab* skin = Skin(tc);
  const HWND old = tc->Handle();
  tc->OnChange = [&](TObject*) {
    ++changes;
    tc->SetTabPosition(tpBottom);  // re-creates the window inside its own click
  };
  const TRect t = ItemRect(old, 2);
  SendMessageW(old, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.Left + 5, t.Top + 5));
  EXPECT_EQ(changes, 1);
  ASSERT_NE(tc->Handle(), old);
  EXPECT_EQ(skin->hwnd, tc->Handle());
  EXPECT_EQ(skin->Position, Stbottom);
  EXPECT_EQ(tc->TabIndex(), 2);
  EXPECT_EQ(SendMessageW(tc->Handle(), SM_QUERYSKINNED, 0, 0), 1);
  auto b = Painted(skin);
  TRect inner = ItemRect(tc->Handle(), 2);
  InflateRect(reinterpret_cast<RECT*>(&inner), -3, -3);
  EXPECT_GT(Count(*b, inner, kTabCurrent), 0);
}

}  // namespace
