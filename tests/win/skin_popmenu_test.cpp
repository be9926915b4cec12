// Popup and system menus under the skin: the popup-menu window of a real
// TrackPopupMenu subclassed and framed from the skin's menu background (read
// back through WM_PRINT and the window's DC), its skin gone once the menu
// closes; the skinned system menu's entries, states and glyphs for normal,
// maximised and minimise-less windows, the fixed variant of older systems,
// its commands; the ways it opens (caption right click, Alt+Space, the icon
// button twice); and the draw handlers put on a form's class-library menus.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Menus.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {


// The frame-coded menu background: 3-pixel bands of their own colour on each
// side (top and bottom bands run the full width) round a grey centre.
constexpr TColor kTop = 0x0000C0, kBottom = 0xC00000, kLeft = 0x00C000, kRight = 0x00C0C0, kCentre = 0x808080;

std::unique_ptr<TBitmap> CodedMenuBackground() {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(9, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      TColor c = kCentre;
      if (y < 3) c = kTop;
      else if (y >= 6) c = kBottom;
      else if (x < 3) c = kLeft;
      else if (x >= 6) c = kRight;
      bmp->SetPixel(x, y, c);
    }
  return bmp;
}

// Looks at the open menu from a thread timer (the menu's own loop dispatches
// it), then closes it. Every menu window seen is recorded.
struct MenuProbe {
  std::function<void(HWND)> inspect;
  std::vector<HWND> seen;
  int ticks = 0;

  explicit MenuProbe(std::function<void(HWND)> fn) : inspect(std::move(fn)) {}

  void Tick() {
    ++ticks;
    std::vector<HWND> menus = qvtest::MenuWindowsShown();
    if (menus.empty()) {
      // Nothing opened within a good second: let the test go on.
      if (ticks > 8) EndMenu();
      return;
    }
    seen.push_back(menus.back());
    if (inspect) inspect(menus.back());
    inspect = nullptr;
    EndMenu();
  }
  qvtest::LoopTimer timer{150, [this] { Tick(); }};
};

std::unique_ptr<TBitmap> Printed(HWND w) {
  return qvtest::DrawnBy(w, WM_PRINT, qvtest::WindowSize(w), 0x123456, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
}

// A new item with the caption, the last under `parent`.
TMenuItem* AddItem(TMenuItem* parent, TComponent* owner, const char16_t* caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

TMenuItem* ItemByTag(TPopupMenu* menu, intptr_t tag) {
  for (int i = 0; i < menu->Items()->Count(); ++i)
    if (menu->Items()->Items(i)->Tag() == tag) return menu->Items()->Items(i);
  return nullptr;
}

using qvtest::DropPosted;
using qvtest::Pump;

class SkinPopMenuTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvPopMenuWindow");
    data = qvtest::LoadProgramSkin([](TSkinData& d) {
      d.SetSkinControls(d.SkinControls() | SetOf({xcPopupMenu, xcSystemMenu, xcMainMenu, xcMenuItem}));
    });
    ASSERT_FALSE(data->Empty);
    ASSERT_NE(SkinManager, nullptr);
    if (!data->MenuitemBG) data->MenuitemBG = std::make_unique<TDataSkinObject>(u"MenuBackground");
    data->MenuitemBG->Map = CodedMenuBackground();
    data->MenuitemBG->r = Rect(3, 3, 3, 3);
    data->MenuitemBG->Tile = 0;
  }

  // Shown at once: it is skinned at its activation.
  HWND Raw(DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND wnd = RawWindow(L"QvPopMenuWindow", L"Menus", style, 60, 60, 360, 260);
    ShowWindow(wnd, SW_SHOWNORMAL);
    return wnd;
  }
};

}  // namespace

// ---------------------------------------------------------------------------
// The popup-menu window

TEST_F(SkinPopMenuTest, APopupMenuWindowIsSkinnedFramedFromTheSkinAndLetGoWhenItCloses) {
  HWND w = Raw();
  ASSERT_NE(Skinned(w), nullptr);
  HMENU m = CreatePopupMenu();
  AppendMenuW(m, MF_STRING, 1, L"First entry");
  AppendMenuW(m, MF_STRING, 2, L"Second entry");
  AppendMenuW(m, MF_STRING, 3, L"Third entry");
  HMENU other = CreatePopupMenu();

  bool skinned = false, inactiveAnswer = false, listed = false, otherHasNone = false;
  std::unique_ptr<TBitmap> printed;
  SIZE size{}, bgSize{};
  TColor bgTop = 0, bgCentre = 0;
  MenuProbe probe([&](HWND menu) {
    RECT r{};
    GetWindowRect(menu, &r);
    size = SIZE{r.right - r.left, r.bottom - r.top};
    skinned = SendMessageW(menu, SM_QUERYSKINNED, 0, 0) == 1;
    listed = SkinManager->HasPopMenu(menu);
    SkinManager->active = false;
    inactiveAnswer = SendMessageW(menu, SM_QUERYSKINNED, 0, 0) == 1;
    SkinManager->active = true;
    printed = Printed(menu);
    // The skin that painted without knowing its menu takes the first one
    // an item names; every item asks again, and the first menu stays.
    SkinManager->SetHMenu(m);
    SkinManager->SetHMenu(other);
    otherHasNone = SkinManager->GetMenuBg(other) == nullptr;
    if (TBitmap* bg = SkinManager->GetMenuBg(m)) {
      bgSize = SIZE{bg->Width(), bg->Height()};
      bgTop = bg->Pixel(bg->Width() / 2, 0);
      bgCentre = bg->Pixel(bg->Width() / 2, bg->Height() / 2);
    }
  });
  TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, 200, 200, 0, w, nullptr);
  ASSERT_EQ(probe.seen.size(), 1u);
  EXPECT_TRUE(skinned);
  EXPECT_TRUE(inactiveAnswer) << "SM_QUERYSKINNED is answered even while the manager is inactive";
  EXPECT_TRUE(listed);
  ASSERT_NE(printed, nullptr);
  ASSERT_GT(size.cx, 20);
  ASSERT_GT(size.cy, 20);
  EXPECT_EQ(printed->Pixel(size.cx / 2, 1), kTop);
  EXPECT_EQ(printed->Pixel(size.cx / 2, size.cy - 2), kBottom);
  EXPECT_EQ(printed->Pixel(1, size.cy / 2), kLeft);
  EXPECT_EQ(printed->Pixel(size.cx - 2, size.cy / 2), kRight);
  // The whole background stays for the items.
  EXPECT_EQ(bgSize.cx, size.cx);
  EXPECT_EQ(bgSize.cy, size.cy);
  EXPECT_EQ(bgTop, kTop);
  EXPECT_EQ(bgCentre, kCentre);
  EXPECT_TRUE(otherHasNone);

  // Closed: no skinned menu window is left behind.
  Pump(100);
  EXPECT_TRUE(SkinManager->Mlist.empty());
  EXPECT_EQ(SkinManager->menutype, TMenuType::Popup);
  DestroyMenu(m);
  DestroyMenu(other);
}

TEST_F(SkinPopMenuTest, TheFrameIsPaintedThroughTheWindowsDCWhenNCPaintNamesNoRegion) {
  HWND w = Raw();
  ASSERT_NE(Skinned(w), nullptr);
  // WM_NCPAINT's 1 is no region: handed to GetDCEx it gave a null DC that
  // was painted into and released. Any system now paints the whole window.
  EXPECT_FALSE(IsRealRegion(0));
  EXPECT_FALSE(IsRealRegion(1));
  HRGN rgn = CreateRectRgn(0, 0, 10, 10);
  EXPECT_TRUE(IsRealRegion(reinterpret_cast<WPARAM>(rgn)));
  EXPECT_FALSE(IsRealRegion(reinterpret_cast<WPARAM>(GetStockObject(WHITE_BRUSH))));
  RECT wr{};
  GetWindowRect(w, &wr);
  HRGN stale = CreateRectRgn(0, 0, 5, 5);
  DeleteObject(stale);
  EXPECT_TRUE(MenuFrameClipsToRegion(reinterpret_cast<WPARAM>(rgn), 0x00000005u));
  EXPECT_FALSE(MenuFrameClipsToRegion(reinterpret_cast<WPARAM>(rgn), 0x00000206u));
  for (DWORD version : {0x00000004u, 0x00000005u, 0x00000106u, 0x00000206u}) {
    EXPECT_FALSE(MenuFrameClipsToRegion(1, version)) << std::hex << version;
    EXPECT_FALSE(MenuFrameClipsToRegion(reinterpret_cast<WPARAM>(stale), version)) << std::hex << version;
    // The whole window, for 1 and for a handle that is no region (any more).
    for (HRGN none : {reinterpret_cast<HRGN>(1), stale}) {
      HDC whole = MenuFrameDC(w, reinterpret_cast<WPARAM>(none), version);
      ASSERT_NE(whole, nullptr) << std::hex << version;
      RECT clip{};
      GetClipBox(whole, &clip);
      EXPECT_EQ(clip.right - clip.left, wr.right - wr.left) << std::hex << version;
      ReleaseDC(w, whole);
    }
  }
  // A real region clips the frame's DC on the older systems.
  RECT screenRgn{wr.left, wr.top, wr.left + 10, wr.top + 10};
  HRGN small = CreateRectRgnIndirect(&screenRgn);
  HDC clipped = MenuFrameDC(w, reinterpret_cast<WPARAM>(small), 0x00000005u);
  ASSERT_NE(clipped, nullptr);
  RECT clip{};
  GetClipBox(clipped, &clip);
  EXPECT_LE(clip.right - clip.left, 10);
  ReleaseDC(w, clipped);
  DeleteObject(rgn);

  HMENU m = CreatePopupMenu();
  AppendMenuW(m, MF_STRING, 1, L"Entry one");
  AppendMenuW(m, MF_STRING, 2, L"Entry two");
  LRESULT answer = -1;
  TColor onWindow = 0, onWindowLeft = 0;
  bool rebuilt = false;
  MenuProbe probe([&](HWND menu) {
    // Windows 2000, where the frame's DC came from GetDCEx.
    ApplySkinPlatform(TSkinPlatform{0x00000005u, CurrentSkinPlatform().Instance});
    TWinSkinPopMenu* skin = nullptr;
    for (TWinSkinPopMenu* p : SkinManager->Mlist)
      if (p->hwnd == menu) skin = p;
    if (!skin) return;
    skin->MenuBg->Clear();
    answer = SendMessageW(menu, WM_NCPAINT, 1, 0);
    RECT r{};
    GetWindowRect(menu, &r);
    rebuilt = skin->MenuBg->Width() == r.right - r.left && skin->MenuBg->Height() == r.bottom - r.top;
    HDC dc = GetWindowDC(menu);
    onWindow = GetPixel(dc, (r.right - r.left) / 2, 1);
    onWindowLeft = GetPixel(dc, 1, (r.bottom - r.top) / 2);
    ReleaseDC(menu, dc);
    ApplySkinPlatform(SystemSkinPlatform());
  });
  TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, 200, 200, 0, w, nullptr);
  ASSERT_EQ(probe.seen.size(), 1u);
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(rebuilt);
  EXPECT_EQ(onWindow, kTop);
  EXPECT_EQ(onWindowLeft, kLeft);
  DestroyMenu(m);
}

TEST_F(SkinPopMenuTest, WithoutAMenuBackgroundImageTheMenuKeepsItsNativeFrame) {
  HWND w = Raw();
  ASSERT_NE(Skinned(w), nullptr);
  data->MenuitemBG->Map = std::make_unique<TBitmap>();
  HMENU m = CreatePopupMenu();
  AppendMenuW(m, MF_STRING, 1, L"Entry");
  std::unique_ptr<TBitmap> printed;
  bool skinned = false, empty = false;
  MenuProbe probe([&](HWND menu) {
    skinned = SendMessageW(menu, SM_QUERYSKINNED, 0, 0) == 1;
    printed = Printed(menu);
    for (TWinSkinPopMenu* p : SkinManager->Mlist)
      if (p->hwnd == menu) empty = p->MenuBg->Empty();
  });
  TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, 200, 200, 0, w, nullptr);
  ASSERT_EQ(probe.seen.size(), 1u);
  EXPECT_TRUE(skinned);
  EXPECT_TRUE(empty);
  ASSERT_NE(printed, nullptr);
  EXPECT_NE(printed->Pixel(printed->Width() / 2, 1), kTop);
  EXPECT_NE(printed->Pixel(printed->Width() / 2, 1), 0x123456) << "the native frame is printed";
  DestroyMenu(m);
}

// ---------------------------------------------------------------------------
// The skinned system menu

TEST_F(SkinPopMenuTest, TheSystemMenuFollowsTheWindowsStateAndCarriesTheGlyphs) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->hsysmenu, nullptr);
  sf->BuildSystemMenu();
  TPopupMenu* menu = sf->sysmenu;
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->Tag(), 0x8235);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_EQ(menu->Images(), data->bmpmenu.get());
  ASSERT_EQ(menu->Items()->Count(), GetMenuItemCount(sf->hsysmenu));

  struct Want {
    UINT cmd;
    int image;
    bool enabled;
  };
  const Want normal[] = {{SC_RESTORE, 0, false}, {SC_MOVE, -1, true},    {SC_SIZE, -1, true},
                         {SC_MINIMIZE, 2, true}, {SC_MAXIMIZE, 1, true}, {SC_CLOSE, 3, true}};
  for (const Want& want : normal) {
    TMenuItem* item = ItemByTag(menu, want.cmd);
    ASSERT_NE(item, nullptr) << std::hex << want.cmd;
    EXPECT_EQ(item->ImageIndex(), want.image) << std::hex << want.cmd;
    EXPECT_EQ(item->Enabled(), want.enabled) << std::hex << want.cmd;
    EXPECT_FALSE(item->Caption().empty());
    EXPECT_TRUE(item->OnDrawItem && item->OnMeasureItem && item->OnClick);
  }
  int lines = 0;
  for (int i = 0; i < menu->Items()->Count(); ++i) lines += menu->Items()->Items(i)->IsLine();
  EXPECT_GE(lines, 1) << "the native separator";

  // The glyph strip holds restore, maximise, minimise and close.
  ASSERT_NE(data->bmpmenu, nullptr);
  EXPECT_GE(data->bmpmenu->Count(), 4);

  // Choosing an entry posts its command to the window.
  DropPosted(w, WM_SYSCOMMAND);
  ItemByTag(menu, SC_MINIMIZE)->Click();
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_MINIMIZE));

  // Maximised: move and size go, restore comes.
  ShowWindow(w, SW_MAXIMIZE);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return sf->frame.Windowstate == swsMax; }, 2000));
  sf->BuildSystemMenu();
  ASSERT_NE(sf->sysmenu, nullptr);
  const Want maxed[] = {{SC_RESTORE, 0, true},   {SC_MOVE, -1, false},    {SC_SIZE, -1, false},
                        {SC_MINIMIZE, 2, true},  {SC_MAXIMIZE, 1, false}, {SC_CLOSE, 3, true}};
  for (const Want& want : maxed) {
    TMenuItem* item = ItemByTag(sf->sysmenu, want.cmd);
    ASSERT_NE(item, nullptr) << std::hex << want.cmd;
    EXPECT_EQ(item->Enabled(), want.enabled) << "maximised " << std::hex << want.cmd;
  }
}

TEST_F(SkinPopMenuTest, AWindowWithoutAMinimiseBoxGetsADisabledMinimiseEntry) {
  HWND w = Raw(WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  sf->BuildSystemMenu();
  ASSERT_NE(sf->sysmenu, nullptr);
  TMenuItem* min = ItemByTag(sf->sysmenu, SC_MINIMIZE);
  ASSERT_NE(min, nullptr);
  EXPECT_FALSE(min->Enabled());
  TMenuItem* max = ItemByTag(sf->sysmenu, SC_MAXIMIZE);
  ASSERT_NE(max, nullptr);
  EXPECT_TRUE(max->Enabled());
}

TEST_F(SkinPopMenuTest, NativeEntriesKeepTheirTextsLinesGrayingAndChecks) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  AppendMenuW(sf->hsysmenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(sf->hsysmenu, MF_STRING | MF_GRAYED, 0x1230, L"Grayed entry");
  AppendMenuW(sf->hsysmenu, MF_STRING | MF_GRAYED | MF_DISABLED, 0x1238, L"Grayed and disabled");
  AppendMenuW(sf->hsysmenu, MF_STRING | MF_CHECKED, 0x1240, L"Checked entry");
  std::wstring longText(120, L'x');
  AppendMenuW(sf->hsysmenu, MF_STRING, 0x1250, longText.c_str());
  // The default entry (Close) grayed carries the default bit as well.
  EnableMenuItem(sf->hsysmenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  sf->BuildSystemMenu();
  ASSERT_NE(sf->sysmenu, nullptr);
  TPopupMenu* menu = sf->sysmenu;
  const int n = menu->Items()->Count();
  ASSERT_GE(n, 6);
  EXPECT_TRUE(menu->Items()->Items(n - 5)->IsLine());
  TMenuItem* grayed = ItemByTag(menu, 0x1230);
  ASSERT_NE(grayed, nullptr);
  EXPECT_EQ(grayed->Caption(), u"Grayed entry");
  EXPECT_FALSE(grayed->Enabled());
  EXPECT_EQ(grayed->ImageIndex(), -1);
  ASSERT_NE(ItemByTag(menu, 0x1238), nullptr);
  EXPECT_FALSE(ItemByTag(menu, 0x1238)->Enabled());
  TMenuItem* checked = ItemByTag(menu, 0x1240);
  ASSERT_NE(checked, nullptr);
  EXPECT_TRUE(checked->Checked());
  EXPECT_TRUE(checked->Enabled());
  TMenuItem* longItem = ItemByTag(menu, 0x1250);
  ASSERT_NE(longItem, nullptr);
  EXPECT_EQ(longItem->Caption().size(), 80u);
  TMenuItem* close = ItemByTag(menu, SC_CLOSE);
  ASSERT_NE(close, nullptr);
  EXPECT_FALSE(close->Enabled()) << "grayed default entry";
  EXPECT_EQ(close->ImageIndex(), 3);
}

TEST_F(SkinPopMenuTest, OlderSystemsGetTheFixedSystemMenu) {
  HWND plain = Raw(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  HWND full = Raw();
  TWinSkinForm* sfPlain = Skinned(plain);
  TWinSkinForm* sfFull = Skinned(full);
  ASSERT_NE(sfPlain, nullptr);
  ASSERT_NE(sfFull, nullptr);
  // Windows NT 4.
  ApplySkinPlatform(TSkinPlatform{0x00000004u, CurrentSkinPlatform().Instance});
  EXPECT_TRUE(sfPlain->HasCloseItem());
  sfPlain->BuildSystemMenu();
  ASSERT_NE(sfPlain->sysmenu, nullptr);
  TPopupMenu* menu = sfPlain->sysmenu;
  ASSERT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(0)->Caption(), u" Restore ");
  EXPECT_EQ(menu->Items()->Items(0)->ImageIndex(), 0);
  EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
  EXPECT_EQ(menu->Items()->Items(1)->Tag(), 100);
  TMenuItem* close = menu->Items()->Items(2);
  EXPECT_EQ(close->Caption(), u" Close ");
  EXPECT_EQ(close->ImageIndex(), 3);
  EXPECT_EQ(close->ShortCut(), TextToShortCut(u"ALT+F4"));
  EXPECT_NE(close->ShortCut(), scNone);
  EXPECT_EQ(menu->Tag(), 0x8235);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_EQ(menu->Images(), data->bmpmenu.get());

  sfFull->BuildSystemMenu();
  ASSERT_NE(sfFull->sysmenu, nullptr);
  ASSERT_EQ(sfFull->sysmenu->Items()->Count(), 5);
  EXPECT_EQ(sfFull->sysmenu->Items()->Items(1)->Caption(), u" Maximize ");
  EXPECT_EQ(sfFull->sysmenu->Items()->Items(2)->Caption(), u" Minimize ");
  EXPECT_EQ(sfFull->sysmenu->Items()->Items(2)->ImageIndex(), 2);

  // The fixed entries act themselves: Close closes, Maximize maximises.
  DropPosted(plain, WM_CLOSE);
  close->Click();
  MSG msg{};
  EXPECT_TRUE(PeekMessageW(&msg, plain, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  DropPosted(full, WM_SYSCOMMAND);
  sfFull->sysmenu->Items()->Items(1)->Click();
  ASSERT_TRUE(PeekMessageW(&msg, full, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_MAXIMIZE));
  EXPECT_EQ(sfFull->frame.Windowstate, swsMax);
  ApplySkinPlatform(SystemSkinPlatform());
}

TEST_F(SkinPopMenuTest, HasCloseItemAsksTheNativeSystemMenu) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  EXPECT_TRUE(sf->HasCloseItem());
  DeleteMenu(sf->hsysmenu, SC_CLOSE, MF_BYCOMMAND);
  EXPECT_FALSE(sf->HasCloseItem());
  // Windows 98 has no menu to ask.
  ApplySkinPlatform(TSkinPlatform{0x80000A04u, CurrentSkinPlatform().Instance});
  EXPECT_TRUE(sf->HasCloseItem());
  ApplySkinPlatform(SystemSkinPlatform());
  // Without a native system menu there is no skinned one.
  sf->hsysmenu = nullptr;
  sf->BuildSystemMenu();
  EXPECT_EQ(sf->sysmenu, nullptr);
}

TEST_F(SkinPopMenuTest, ARightClickOnTheCaptionOpensTheSkinnedSystemMenu) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  RECT wr{};
  GetWindowRect(w, &wr);
  const LPARAM caption = MAKELPARAM(wr.left + 40, wr.top + sf->frame.bw.Top / 2 + 2);
  bool skinned = false;
  std::optional<TMenuType> menutype;
  POINT at{};
  int entries = 0;
  {
    MenuProbe probe([&](HWND menu) {
      skinned = SendMessageW(menu, SM_QUERYSKINNED, 0, 0) == 1;
      menutype = SkinManager->menutype;
      RECT r{};
      GetWindowRect(menu, &r);
      at = POINT{r.left, r.top};
      entries = sf->sysmenu ? sf->sysmenu->Items()->Count() : 0;
    });
    EXPECT_EQ(SendMessageW(w, WM_NCRBUTTONDOWN, HTCAPTION, caption), 0);
    ASSERT_EQ(probe.seen.size(), 1u);
  }
  EXPECT_TRUE(skinned);
  EXPECT_EQ(menutype, TMenuType::System);
  EXPECT_EQ(at.x, wr.left + 40);
  EXPECT_GT(entries, 0);
  Pump(100);
  EXPECT_TRUE(SkinManager->Mlist.empty());

  // Elsewhere than on the caption the click is the window's own.
  sf->poptime = 0;
  {
    MenuProbe probe(nullptr);
    const int seen = static_cast<int>(probe.seen.size());
    SendMessageW(w, WM_NCRBUTTONDOWN, HTBORDER, caption);
    EXPECT_EQ(static_cast<int>(probe.seen.size()), seen);
  }
}

TEST_F(SkinPopMenuTest, AltSpaceOpensTheSystemMenuAtTheClientOrigin) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  POINT at{};
  bool skinned = false;
  MenuProbe probe([&](HWND menu) {
    skinned = SendMessageW(menu, SM_QUERYSKINNED, 0, 0) == 1;
    RECT r{};
    GetWindowRect(menu, &r);
    at = POINT{r.left, r.top};
  });
  SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  Pump(400);
  // Only the skinned menu: the native one does not follow it.
  ASSERT_EQ(probe.seen.size(), 1u);
  EXPECT_TRUE(skinned);
  EXPECT_EQ(at.x, origin.x);
  EXPECT_EQ(at.y, origin.y);
}

TEST_F(SkinPopMenuTest, TheIconButtonOpensTheSystemMenuBesideTheCursor) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  TWinSysButton* icon = nullptr;
  for (auto& b : sf->frame.SysBtn)
    if (b->data && b->visible && (b->data->Action == 3 || b->data->Action == 11 || b->data->Action == 12)) icon = b.get();
  if (!icon) GTEST_SKIP() << "the skin has no icon button";
  POINT at{};
  MenuProbe probe([&](HWND menu) {
    RECT r{};
    GetWindowRect(menu, &r);
    at = POINT{r.left, r.top};
  });
  sf->SysButtonClick(icon, TPoint{150, 120});
  ASSERT_EQ(probe.seen.size(), 1u);
  EXPECT_EQ(at.x, 151);
  EXPECT_EQ(at.y, 121);
}

TEST_F(SkinPopMenuTest, ASecondRequestWithinTheDoubleClickTimeClosesInstead) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_FALSE(sf->frame.SysBtn.empty());
  sf->DoubleTime = 60000;
  sf->poptime = GetTickCount();
  DropPosted(w, WM_CLOSE);
  MSG msg{};
  // Not from a caption button: nothing.
  sf->frame.ActiveBtn = nullptr;
  sf->PopupSystemMenu(TPoint{100, 100});
  EXPECT_FALSE(PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  // The icon button clicked twice: the window closes.
  sf->frame.ActiveBtn = sf->frame.SysBtn.front().get();
  sf->PopupSystemMenu(TPoint{100, 100});
  EXPECT_TRUE(PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_FALSE(sf->timer->Enabled());
  sf->frame.ActiveBtn = nullptr;
  // Another module's manager shows no menu at all.
  sf->poptime = 0;
  sf->mode = 1;
  MenuProbe probe(nullptr);
  sf->PopupSystemMenu(TPoint{100, 100});
  EXPECT_TRUE(probe.seen.empty());
  sf->mode = 0;
}

// As the platform's system menu goes with its window, the skinned one ends
// when its window is destroyed (or its form freed) while it is open.
TEST_F(SkinPopMenuTest, TheSystemMenuEndsWithItsWindow) {
  struct Case {
    const char* name;
    std::function<HWND()> make;
    std::function<void(HWND)> destroy;
  };
  TForm* form = nullptr;
  const Case cases[] = {
      {"raw window", [&] { return Raw(); }, [](HWND w) { DestroyWindow(w); }},
      {"form",
       [&] {
         form = new TForm(nullptr);
         form->SetBounds(60, 60, 360, 260);
         form->Show();
         return form->Handle();
       },
       [&](HWND) {
         delete form;
         form = nullptr;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = c.make();
    TWinSkinForm* sf = Skinned(w);
    ASSERT_NE(sf, nullptr);
    bool destroyed = false;
    int ticksAfter = 0;
    {
      qvtest::LoopTimer timer(100, [&] {
        if (!destroyed) {
          if (qvtest::MenuWindowsShown().empty()) return;
          destroyed = true;
          c.destroy(w);
        } else if (!qvtest::MenuWindowsShown().empty() && ++ticksAfter >= 5) {
          EndMenu();
        }
      });
      // Alt+Space.
      SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    }
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(ticksAfter, 0) << "the menu outlived its window";
    Pump(100);
    EXPECT_TRUE(qvtest::MenuWindowsShown().empty());
  }
}

TEST_F(SkinPopMenuTest, SystemCommandsArrivingAsMenuCommandsArePostedAsSystemCommands) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  DropPosted(w, WM_SYSCOMMAND);
  SendMessageW(w, WM_COMMAND, SC_MAXIMIZE, 0);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_MAXIMIZE));
  SendMessageW(w, WM_COMMAND, 1234, 0);
  EXPECT_FALSE(PeekMessageW(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
}

// ---------------------------------------------------------------------------
// The class-library menus of a form

TEST_F(SkinPopMenuTest, PopupMenusOfAFormGetTheSkinsHandlersUnlessTaggedOff) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  TForm* form = Own(new TForm(nullptr));
  auto* skinnedMenu = new TPopupMenu(form);
  TMenuItem* entry = AddItem(skinnedMenu->Items(), skinnedMenu, u"Open");
  TMenuItem* sub = AddItem(entry, skinnedMenu, u"Deeper");
  auto* measured = new TMenuItem(skinnedMenu);
  measured->SetCaption(u"Own measure");
  bool ownMeasure = false;
  measured->OnMeasureItem = [&](TObject*, TCanvas&, int&, int&) { ownMeasure = true; };
  skinnedMenu->Items()->Add(measured);

  auto* nativeMenu = new TPopupMenu(form);
  nativeMenu->SetTag(data->DisableTag());
  TMenuItem* nativeEntry = AddItem(nativeMenu->Items(), nativeMenu, u"Native");

  // A form inside the form: its menus too.
  auto* inner = new TForm(form);
  auto* innerMenu = new TPopupMenu(inner);
  TMenuItem* innerEntry = AddItem(innerMenu->Items(), innerMenu, u"Inner");

  sf->InitPopMenu(form, true, true);
  EXPECT_TRUE(skinnedMenu->OwnerDraw());
  for (TMenuItem* item : {entry, sub, measured}) EXPECT_TRUE(item->OnDrawItem);
  EXPECT_TRUE(entry->OnMeasureItem && sub->OnMeasureItem);
  int width = 0, height = 0;
  TBitmap scratch;
  scratch.SetSize(4, 4);
  measured->OnMeasureItem(measured, BitmapCanvas(scratch), width, height);
  EXPECT_TRUE(ownMeasure) << "an item's own measure handler stays";
  EXPECT_FALSE(nativeMenu->OwnerDraw());
  EXPECT_FALSE(nativeEntry->OnDrawItem);
  EXPECT_FALSE(nativeEntry->OnMeasureItem);
  EXPECT_TRUE(innerMenu->OwnerDraw());
  EXPECT_TRUE(innerEntry->OnDrawItem);

  // Unskinning takes every handler off.
  sf->InitPopMenu(form, false, false);
  EXPECT_FALSE(skinnedMenu->OwnerDraw());
  EXPECT_FALSE(entry->OnDrawItem || entry->OnMeasureItem || sub->OnDrawItem || measured->OnMeasureItem);
  EXPECT_FALSE(innerEntry->OnDrawItem);
  // Without xcPopupMenu nothing is hooked.
  data->SetSkinControls(data->SkinControls() & ~SetOf({xcPopupMenu}));
  sf->InitPopMenu(form, true, true);
  EXPECT_FALSE(skinnedMenu->OwnerDraw());
  EXPECT_FALSE(entry->OnDrawItem);
}

TEST_F(SkinPopMenuTest, MainMenusLeaveTheBarItemsAndSelfDrawnItemsAlone) {
  HWND w = Raw();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  TForm* form = Own(new TForm(nullptr));
  auto* mainMenu = new TMainMenu(form);
  TMenuItem* file = AddItem(mainMenu->Items(), mainMenu, u"&File");
  TMenuItem* open = AddItem(file, mainMenu, u"&Open");
  TMenuItem* recent = AddItem(file, mainMenu, u"Recent");
  TMenuItem* deep = AddItem(recent, mainMenu, u"One");
  auto* own = new TMenuItem(mainMenu);
  own->SetCaption(u"Own");
  int ownDrawn = 0;
  own->OnDrawItem = [&](TObject*, TCanvas&, const TRect&, bool) { ++ownDrawn; };
  file->Add(own);

  sf->InitMainMenu(form, true);
  EXPECT_TRUE(mainMenu->OwnerDraw());
  EXPECT_FALSE(file->OnDrawItem || file->OnMeasureItem) << "the bar's items are the bar's";
  for (TMenuItem* item : {open, recent, deep}) EXPECT_TRUE(item->OnDrawItem && item->OnMeasureItem);
  EXPECT_FALSE(own->OnMeasureItem) << "a self-drawn item keeps both of its handlers";
  TBitmap scratch;
  scratch.SetSize(4, 4);
  own->OnDrawItem(own, BitmapCanvas(scratch), Rect(0, 0, 4, 4), false);
  EXPECT_EQ(ownDrawn, 1);

  sf->InitMainMenu(form, false);
  EXPECT_FALSE(mainMenu->OwnerDraw());
  for (TMenuItem* item : {file, open, recent, deep, own}) EXPECT_FALSE(item->OnDrawItem || item->OnMeasureItem);
}
