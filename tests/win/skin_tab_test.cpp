// Tab skins on real tab controls, read back from memory bitmaps and from
// the windows themselves, with a test skin whose tab frames and frame
// pictures are coded by colour: the tabs on each of the four sides with the
// current (selected) tab's frame and text colour, the display area's frame
// turned to the side of the tabs, from the tab element's picture or the
// TabSheet element; the tab set's tabs where the tab set has them; the
// page-control pictures given and taken back; skins loaded again, shown at
// once, and without tab pictures leaving the controls their own tabs; clicks
// and Ctrl+Tab turning pages with one OnChange, and a tab control re-created
// on another side keeping its one skin and painted for that side; many tab
// controls on a large picture holding no copy of it.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win/TabControls.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinWrite.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::ColourDistance;
using qvtest::CountColour;
using qvtest::CountPixels;
using qvtest::DC;
using qvtest::PaintedOnWhite;
using qvtest::WindowPixels;

namespace {

constexpr TColor kFace = 0x808080, kParent = 0x406080, kWhite = 0xFFFFFF;
constexpr TColor kTabNormal = 0x00A000, kTabCurrent = 0xA000A0;
constexpr TColor kTextNormal = 0x0000FF, kTextCurrent = 0xFF0000;
constexpr TColor kEdgeTop = 0x00C0C0, kEdge = 0x202020, kInside = 0xE0E0E0;
constexpr TColor kSheetEdge = 0x6060C0;
constexpr int kW = 240, kH = 160;

// Frames side by side: the current tab's second, the others normal.
std::unique_ptr<TBitmap> TabStrip(TColor normal, TColor current, int frames = 2) {
  auto b = Bmp(20 * frames, 20, normal);
  FillRect(*b, Rect(20, 0, 40, 20), current);
  return b;
}

// The page frame: its top edge coded apart, so that the turn shows.
std::unique_ptr<TBitmap> PageFrame() {
  auto b = Bmp(20, 20, kEdge);
  FillRect(*b, Rect(0, 0, 20, 5), kEdgeTop);
  FillRect(*b, Rect(4, 5, 16, 16), kInside);
  return b;
}

std::unique_ptr<TSkinData> TabSkin() {
  auto d = std::make_unique<TSkinData>(nullptr);
  d->Colors[3] = kFace;
  d->tab = std::make_unique<TDataSkinBorder>(u"tab");
  d->tab->frame = 2;
  d->tab->Map = TabStrip(kTabNormal, kTabCurrent);
  d->tab->Normalcolor2 = kTextNormal;
  d->tab->Overcolor2 = kTextCurrent;
  d->tab->MaskMap = PageFrame();
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
  return CountPixels(b, r, [&](TColor p) { return ColourDistance(p, ink) < ColourDistance(p, tab); });
}

// The control's own tabs show in r: none of the skin's tab colours, and
// dark text of the control's own.
::testing::AssertionResult OwnTabs(TBitmap& b, const TRect& r, std::initializer_list<TColor> skinColours) {
  for (TColor c : skinColours)
    if (const int n = CountColour(b, r, c))
      return ::testing::AssertionFailure() << n << " pixels of the skin's 0x" << std::hex << c;
  if (CountPixels(b, r, [](TColor p) { return qvtest::Dark(p, 0x30); }) < 5)
    return ::testing::AssertionFailure() << "no text of the control's own (blank)";
  return ::testing::AssertionSuccess();
}

// Counts the access violations raised while it lives, caught or not: the
// paint handlers swallow what a paint raises, and a 64-bit build's
// catch (...) takes a fault for one.
class AccessViolations {
 public:
  AccessViolations() : handler_(AddVectoredExceptionHandler(1, &Seen)) { count_ = 0; }
  ~AccessViolations() { RemoveVectoredExceptionHandler(handler_); }
  AccessViolations(const AccessViolations&) = delete;
  AccessViolations& operator=(const AccessViolations&) = delete;
  int Count() const { return count_; }

 private:
  static LONG CALLBACK Seen(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++count_;
    return EXCEPTION_CONTINUE_SEARCH;
  }
  static inline int count_ = 0;
  void* handler_;
};

// The test skin as an archive: the strip in the given colours, the page
// frame, and `tabs`, the [Tabs] section naming them ("" leaves it out);
// without a description the archive holds the pictures alone.
TMemoryStream TabArchive(const std::string& tabs, TColor normal, TColor current, bool description = true) {
  auto bytes = [](const TBitmap& b) {
    TMemoryStream s;
    b.SaveToStream(s);
    return s.Bytes();
  };
  // A loaded tab strip has five frames.
  std::vector<TSkinMember> members{{u"tabs.bmp", bytes(*TabStrip(normal, current, 5))},
                                   {u"frame.bmp", bytes(*PageFrame())}};
  const std::string ini = "[TitlebarSkin]\nSkinName=Tabs\n" + tabs;
  if (description) members.push_back({u"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  TMemoryStream s;
  WriteSkinArchive(70000, members, s);
  s.SetPosition(0);
  return s;
}

const std::string kTabsSection =
    "[Tabs]\nImage=tabs.bmp\nFrame=2\nBorder=frame.bmp\nNormalColour2=255 0 0\nMouseOverColour2=0 0 255\n";

struct SkinTabTest : qvtest::SkinControlFixture {

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

  // So many tabs that the control scrolls them with its up-down.
  TTabControl* ScrolledTabs() {
    auto* tc = new TTabControl(form.get());
    tc->SetBounds(60, 10, 120, 80);
    tc->SetParent(form.get());
    for (int i = 0; i < 8; ++i) tc->Tabs()->Add(u"Tab number " + IntToStr(i));
    return tc;
  }

  // A tab control of the platform's own, with one tab per text.
  HWND RawTabs(DWORD style, const TRect& at, std::initializer_list<const wchar_t*> texts) {
    HWND w = MakeWindow(WC_TABCONTROLW, WS_CHILD | WS_VISIBLE | style, at, form->Handle());
    int i = 0;
    for (const wchar_t* text : texts) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(text);
      SendMessageW(w, TCM_INSERTITEMW, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
    }
    return w;
  }

  TSkinTab* Skin(TWinControl* c) { return Attach<TSkinTab>(TControlSkinClass::SkinTab, c); }

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

TEST_F(SkinTabTest, TabsOnEverySideLieOnTheirItemsAndShowTheCurrentTabAndTheTurnedFrame) {
  // Tabs ringed by a one-pixel rim that the margins keep, so that where
  // each lies shows to the pixel.
  constexpr TColor kRim = 0x204080;
  data->tab->Map = TabStrip(kRim, kRim);
  FillRect(*data->tab->Map, Rect(1, 1, 19, 19), kTabNormal);
  FillRect(*data->tab->Map, Rect(21, 1, 39, 19), kTabCurrent);
  data->tab->r = Rect(1, 1, 1, 1);
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
    const TRect D = FrameRect(w, c.side);
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      // Exactly on the item: its edge (where the frame leaves it) is the rim.
      const TRect t = ItemRect(w, i);
      int rim = 0, off = 0;
      for (int y = t.Top; y < t.Bottom; ++y)
        for (int x = t.Left; x < t.Right; ++x) {
          const bool framed = x >= D.Left && x < D.Right && y >= D.Top && y < D.Bottom;
          if (framed || !(x == t.Left || x == t.Right - 1 || y == t.Top || y == t.Bottom - 1)) continue;
          (b->Pixel(x, y) == kRim ? rim : off)++;
        }
      EXPECT_EQ(off, 0);
      EXPECT_GT(rim, t.Width() + t.Height() - 4);
      TRect inner = t;
      InflateRect(reinterpret_cast<RECT*>(&inner), -1, -1);
      const bool current = i == 1;
      EXPECT_GT(CountColour(*b, inner, current ? kTabCurrent : kTabNormal), inner.Width() * inner.Height() / 3);
      EXPECT_EQ(CountColour(*b, inner, current ? kTabNormal : kTabCurrent), 0);
      const TColor tabColor = current ? kTabCurrent : kTabNormal;
      EXPECT_GT(Inked(*b, inner, current ? kTextCurrent : kTextNormal, tabColor), 3);
      EXPECT_EQ(Inked(*b, inner, current ? kTextNormal : kTextCurrent, tabColor), 0);
    }
    // The frame's coded top edge lies along the side of the tabs.
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
  EXPECT_EQ(CountColour(*b, Rect(0, 0, kW, D.Top), kTabCurrent), 0);  // no tab is current
  EXPECT_GT(CountColour(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);

  data->tab->frame = 1;  // no frame for the current tab: it looks like the others, text and all
  data->tab->Map = Bmp(20, 20, kTabNormal);
  skin->SkinChange();
  tc->SetTabIndex(0);
  b = Painted(skin);
  EXPECT_GT(CountColour(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);
  EXPECT_EQ(CountColour(*b, Rect(0, 0, kW, D.Top), kTabCurrent), 0);
  TRect first = ItemRect(tc->Handle(), 0);
  InflateRect(reinterpret_cast<RECT*>(&first), -3, -3);
  EXPECT_GT(Inked(*b, first, kTextNormal, kTabNormal), 3);
  EXPECT_EQ(Inked(*b, first, kTextCurrent, kTabNormal), 0);
  data->tab->frame = 0;
  b = Painted(skin);
  EXPECT_GT(CountColour(*b, Rect(0, 0, kW, D.Top), kTabNormal), 0);

  // No tabs from the skin: the control paints its own, in the skin's frame.
  data->tab->Map->Clear();
  skin->SkinChange();
  Application->ProcessMessages();
  b = WindowPixels(tc->Handle());
  const TRect strip = Rect(0, 0, ItemRect(tc->Handle(), 2).Right, ItemRect(tc->Handle(), 2).Bottom - 2);
  EXPECT_TRUE(OwnTabs(*b, strip, {kTabNormal, kTabCurrent}));
  EXPECT_EQ(b->Pixel((D.Left + D.Right) / 2, D.Top + 1), kEdgeTop);
}

TEST_F(SkinTabTest, ARawTabControlIsSkinnedByItsHandle) {
  HWND w = RawTabs(TCS_BOTTOM, Bounds(60, 10, kW, kH), {L"First", L"Second"});
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
  TTabControl* tc = ScrolledTabs();
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
  TSkinControl* skin = Attach(TControlSkinClass::SkinTab31, ts);
  EXPECT_EQ(SendMessageW(ts->Handle(), SM_QUERYSKINNED, 0, 0), 1);

  auto b = Painted(skin, 200, 22);
  // Tabs 1, 2 and 4: the third does not fit, the fourth still does.
  EXPECT_EQ(b->Pixel(5 + 1, 11), kTabNormal);
  EXPECT_EQ(b->Pixel(5 + w0 + 1, 11), kTabCurrent);
  EXPECT_EQ(b->Pixel(5 + w0 + w1 + 1, 11), kTabNormal);
  EXPECT_EQ(b->Pixel(5 + w0 + w1 + w3 + 1, 11), kFace);
  EXPECT_EQ(b->Pixel(2, 11), kFace);  // before the start margin
  EXPECT_GT(Inked(*b, Rect(5 + w0, 0, 5 + w0 + w1, 22), kTextCurrent, kTabCurrent), 0);

  // A strip of one frame: the current tab as the others, text and all.
  data->tab->frame = 1;
  data->tab->Map = Bmp(20, 22, kTabNormal);
  b = Painted(skin, 200, 22);
  EXPECT_EQ(b->Pixel(5 + w0 + 1, 11), kTabNormal);
  EXPECT_GT(Inked(*b, Rect(5 + w0, 0, 5 + w0 + w1, 22), kTextNormal, kTabNormal), 0);
  EXPECT_EQ(Inked(*b, Rect(5 + w0, 0, 5 + w0 + w1, 22), kTextCurrent, kTabNormal), 0);
  data->tab->frame = 2;
  data->tab->Map = TabStrip(kTabNormal, kTabCurrent);

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

TEST_F(SkinTabTest, TheSelectedTabIsTheCurrentOneWhereverTheFocusRests) {
  // Buttons keep their selection while the keyboard moves the focus.
  HWND w = RawTabs(TCS_BUTTONS, Bounds(60, 10, kW, kH), {L"Button", L"Button", L"Button"});
  SendMessageW(w, TCM_SETCURSEL, 0, 0);
  SendMessageW(w, TCM_SETCURFOCUS, 2, 0);
  ASSERT_EQ(SendMessageW(w, TCM_GETCURSEL, 0, 0), 0);
  ASSERT_EQ(SendMessageW(w, TCM_GETCURFOCUS, 0, 0), 2);
  TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinTab, form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  auto b = Painted(skin);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TRect t = ItemRect(w, i);
    InflateRect(reinterpret_cast<RECT*>(&t), -3, -3);
    EXPECT_GT(CountColour(*b, t, i == 0 ? kTabCurrent : kTabNormal), 0);
    EXPECT_EQ(CountColour(*b, t, i == 0 ? kTabNormal : kTabCurrent), 0);
  }
  delete skin;
}

TEST_F(SkinTabTest, AStripBesideAVisibleUpDownStaysInsideTheCallersClipping) {
  TSkinTab* skin = Skin(ScrolledTabs());
  ASSERT_TRUE(skin->CheckUpDown());  // scrolled tabs: the up-down shows
  auto b = Bmp(120, 80, kWhite);
  HDC dc = DC(*b);
  HRGN callers = CreateRectRgn(0, 0, 40, 80);
  SelectClipRgn(dc, callers);
  skin->PaintControl(dc);
  HRGN after = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, after), 1);
  EXPECT_TRUE(EqualRgn(after, callers));
  SelectClipRgn(dc, nullptr);
  DeleteObject(after);
  DeleteObject(callers);
  EXPECT_GT(CountColour(*b, Rect(0, 0, 40, 80), kTabCurrent), 0);  // the first tab, selected
  EXPECT_EQ(CountColour(*b, Rect(40, 0, 120, 80), kWhite), 80 * 80);
}

TEST_F(SkinTabTest, TheTabSetsTabsAreDrawnWhereItsClicksFindThem) {
  // Each tab's first column coded apart, so that every tab's extent shows.
  constexpr TColor kTabStart = 0x3060C0;
  data->tab->frame = 1;
  data->tab->Map = Bmp(20, 20, kTabNormal);
  FillRect(*data->tab->Map, Rect(0, 0, 1, 20), kTabStart);
  data->tab->r = Rect(1, 0, 0, 0);
  // A bold font is wider than the plain one the captions are drawn in.
  auto* ts = new TTabSet(form.get());
  ts->SetBounds(10, 180, 300, 22);
  ts->SetParent(form.get());
  ts->Font()->SetStyle(1u << fsBold);
  for (const char16_t* t : {u"First tab", u"Second", u"The third tab", u"Four"}) ts->Tabs()->Add(t);
  TSkinControl* skin = Attach(TControlSkinClass::SkinTab31, ts);
  auto b = Painted(skin, 300, 22);
  std::vector<int> edges;  // where each tab starts, then where the last ends
  for (int x = 0; x < 300; ++x) {
    if (b->Pixel(x, 1) == kTabStart) edges.push_back(x);
    if (!edges.empty() && b->Pixel(x, 1) == kFace && b->Pixel(x - 1, 1) != kFace) edges.push_back(x);
  }
  ASSERT_EQ(edges.size(), 5u);
  for (int i = 0; i < 4; ++i)
    for (const int x : {edges[i], edges[i + 1] - 1}) {
      SendMessageW(ts->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
      SendMessageW(ts->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
      EXPECT_EQ(ts->TabIndex(), i) << "x " << x;
    }
}

// ---------------------------------------------------------------------------
// Skins loaded again

TEST_F(SkinTabTest, ASkinLoadedAgainShowsAtOnceAndOneWithoutTabPicturesLeavesTheControlsTheirOwnTabs) {
  constexpr TColor kTabNormal2 = 0x00A0A0, kTabCurrent2 = 0xA0A000;
  data = std::make_unique<TSkinData>(nullptr);
  data->SetLoading();  // no manager: the skins hear of each load from the test, as from their skinned form
  TMemoryStream first = TabArchive(kTabsSection, kTabNormal, kTabCurrent);
  data->LoadFromStream(first);
  ASSERT_TRUE(data->tab);

  form->SetBounds(40, 40, 400, 360);  // every control in sight
  TTabControl* tc = AddTabs(tpTop);
  HWND raw = RawTabs(TCS_BOTTOM, Bounds(60, 180, kW, 50), {L"Raw tab", L"Raw tab"});
  auto* ts = new TTabSet(form.get());
  ts->SetBounds(10, 240, 200, 22);
  ts->SetParent(form.get());
  for (const char16_t* t : {u"One", u"Two"}) ts->Tabs()->Add(t);
  ts->SetTabIndex(0);
  auto* pc = new TAdvPageControl(form.get());
  pc->SetParent(form.get());
  std::vector<TSkinControl*> skins{Skin(tc), CreateControlSkin(TControlSkinClass::SkinTab, form.get()),
                                   CreateControlSkin(TControlSkinClass::SkinTab31, ts),
                                   CreateControlSkin(TControlSkinClass::SkinAdvPage, pc)};
  skins[1]->Inithwnd(raw, data.get(), nullptr, nullptr);
  skins[2]->Init(nullptr, data.get(), nullptr, false);
  skins[3]->kind = 4;
  skins[3]->Init(nullptr, data.get(), nullptr, true);
  auto reload = [&](const std::string& tabs, bool description = true) {
    TMemoryStream next = TabArchive(tabs, kTabNormal2, kTabCurrent2, description);
    data->LoadFromStream(next);
    for (TSkinControl* skin : skins) skin->SkinChange();
    Application->ProcessMessages();
  };
  // The whole strip of each, as its window shows it.
  const HWND tabWindows[] = {tc->Handle(), raw, ts->Handle()};
  auto strip = [&](HWND w) {
    if (w == ts->Handle()) return Rect(0, 0, 200, 22);
    const TRect last = ItemRect(w, static_cast<int>(SendMessageW(w, TCM_GETITEMCOUNT, 0, 0)) - 1);
    return Rect(0, last.Top + 2, last.Right, last.Bottom - 2);
  };

  // The new pictures at once, without anything else repainting.
  reload(kTabsSection);
  for (HWND w : tabWindows) {
    auto b = WindowPixels(w);
    EXPECT_GT(CountColour(*b, strip(w), kTabCurrent2), 0);
    EXPECT_EQ(CountColour(*b, strip(w), kTabCurrent), 0);
  }
  EXPECT_EQ(pc->TabBackGroundActive()->Pixel(50, 10), kTabCurrent2);

  struct Variant {
    const char* name;
    std::string tabs;
    bool description;
  };
  const Variant without[] = {{"no tab section", "", true}, {"no description", kTabsSection, false}};
  const AccessViolations faults;
  for (const Variant& v : without) {
    SCOPED_TRACE(v.name);
    reload(v.tabs, v.description);
    EXPECT_FALSE(data->tab);
    for (HWND w : tabWindows) {
      auto b = WindowPixels(w);
      EXPECT_TRUE(OwnTabs(*b, strip(w), {kTabNormal2, kTabCurrent2}));
    }
    EXPECT_FALSE(pc->TabBackGround());
    EXPECT_FALSE(pc->TabBackGroundActive());
    // And skinned again by the next skin that has them.
    reload(kTabsSection);
    for (HWND w : tabWindows) EXPECT_GT(CountColour(*WindowPixels(w), strip(w), kTabCurrent2), 0);
    EXPECT_TRUE(pc->TabBackGroundActive());
  }
  EXPECT_EQ(faults.Count(), 0);  // nothing read of an element the skin lacked
  for (TSkinControl* skin : skins) delete skin;
}

TEST_F(SkinTabTest, TabControlsOnEverySideHoldNoCopyOfALargePicture) {
  // 12 MB of pixels a picture, for the tabs and for the frame.
  data->tab->Map = Bmp(2000, 2000, kTabNormal);
  FillRect(*data->tab->Map, Rect(1000, 0, 2000, 2000), kTabCurrent);
  data->tab->MaskMap = Bmp(2000, 2000, kEdge);
  auto committed = [] {
    PROCESS_MEMORY_COUNTERS c{};
    GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
    return static_cast<double>(c.PagefileUsage) / (1 << 20);
  };
  Painted(Skin(AddTabs(tpBottom)));  // the pictures' own surfaces, and the drawing's, made once
  const double before = committed();
  for (TTabPosition p : {tpBottom, tpLeft, tpRight, tpBottom, tpLeft, tpRight}) Painted(Skin(AddTabs(p)));
  EXPECT_LT(committed() - before, 12.0);
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
  EXPECT_GT(CountColour(*b, inner, kTabCurrent), 0);

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
  // As the new window painted itself: its tabs at the bottom.
  Application->ProcessMessages();
  auto b = WindowPixels(tc->Handle());
  TRect inner = ItemRect(tc->Handle(), 2);
  InflateRect(reinterpret_cast<RECT*>(&inner), -3, -3);
  EXPECT_GT(CountColour(*b, inner, kTabCurrent), inner.Width() * inner.Height() / 3);
}

}  // namespace
