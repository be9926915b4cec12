// The skinned menu bar under Wine: a window's menu becomes the skin's own
// bar (buttons, no native bar, the client moved below the strip), painted
// from a test skin whose parts each have a colour of their own; drop-downs
// opened by message, click and keyboard and closed again, moves between
// drop-downs by arrow keys (wrapping at both ends, submenus left alone) and
// by the mouse, accelerators, Alt alone, the class library's main menu,
// and a bar rebuilt while its drop-down is open.
//
// A drop-down runs TrackPopupMenu's modal loop on this thread; a thread
// timer (dispatched inside that loop) plays a script of steps against it.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Menus.h"
#include "platform/win/WinString.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

// The test skin's colours (TColor, 0x00BBGGRR) and the INI values for them.
constexpr TColor kBarActive = 0xFF8000;    // menu-bar image 1
constexpr TColor kBarInactive = 0x004080;  // menu-bar image 2
constexpr TColor kBorder = 0x505050;
constexpr int kCaption = 24, kSide = 4;

std::vector<uint8_t> Bmp(int w, int h, const std::function<TColor(int x, int y)>& colour) {
  TBitmap b;
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, colour(x, y));
  TMemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

TMemoryStream TestSkin() {
  const std::string ini =
      "[TitlebarSkin]\r\nSkinName=Menu bar test\r\n"
      "[Personality]\r\n"
      "Left=left.bmp\r\nLeftFrame=2\r\nLeftTrans=0\r\n"
      "Right=right.bmp\r\nRightFrame=2\r\nRightTrans=0\r\n"
      "Top=top.bmp\r\nTopFrame=2\r\nTopTrans=0\r\n"
      "Bottom=bottom.bmp\r\nBottomFrame=2\r\nBottomTrans=0\r\n"
      "menuBar=menubar.bmp\r\nTileMenu=1\r\nTileLeftMenu=0\r\nTileRightMenu=0\r\n"
      "[Colours]\r\n"
      "ButtonFace=238 241 245\r\nMenubar=10 20 30\r\nMenuBarText=200 0 0\r\n"
      "ButtonShadow=0 200 0\r\nButtonHilight=0 0 250\r\n";
  auto flat = [](TColor c) { return [c](int, int) { return c; }; };
  std::vector<TSkinMember> members{
      {u"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
      {u"left.bmp", Bmp(2 * kSide, 40, flat(kBorder))},
      {u"right.bmp", Bmp(2 * kSide, 40, flat(kBorder))},
      {u"top.bmp", Bmp(40, 2 * kCaption, flat(kBorder))},
      {u"bottom.bmp", Bmp(40, 2 * kSide, flat(kBorder))},
      // Two images side by side: active, inactive.
      {u"menubar.bmp", Bmp(20, 19, [](int x, int) { return x < 10 ? kBarActive : kBarInactive; })},
  };
  TMemoryStream s;
  WriteSkinArchive(70000, members, s);
  s.SetPosition(0);
  return s;
}

// Messages the raw test windows saw.
std::vector<WPARAM> commands;

LRESULT CALLBACK MenuRawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) commands.push_back(wp);
  return DefWindowProcW(w, msg, wp, lp);
}

int VisibleMenuWindows() { return static_cast<int>(qvtest::MenuWindowsShown().size()); }

// Steps played from a thread timer, one per tick; a step returns true when
// done. Past the time limit the open menu is ended so that no test hangs.
class MenuScript {
 public:
  using Step = std::function<bool()>;
  explicit MenuScript(std::vector<Step> steps) : steps_(std::move(steps)) {}
  bool Done() const { return next_ >= steps_.size(); }
  bool TimedOut() const { return timedOut_; }
  size_t Reached() const { return next_; }

 private:
  void Tick() {
    if (GetTickCount() - start_ > 8000) {
      timedOut_ = true;
      next_ = steps_.size();
      EndMenu();
      return;
    }
    if (!Done() && steps_[next_]()) ++next_;
  }
  std::vector<Step> steps_;
  size_t next_ = 0;
  DWORD start_ = GetTickCount();
  bool timedOut_ = false;
  qvtest::LoopTimer timer_{30, [this] { Tick(); }};
};

using qvtest::Centre;
using qvtest::PaintedFrame;

class SkinMenuBarTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvMenuBarWindow", MenuRawProc);
    commands.clear();
    data = qvtest::LoadSkin([](TSkinData& d) {
      TMemoryStream skin = TestSkin();
      d.LoadFromStream(skin);
    });
    ASSERT_FALSE(data->Empty);
    ASSERT_TRUE(data->Menubar);
    ASSERT_NE(SkinManager, nullptr);
  }

  // "&File" (with "&Recent" > "&One" first, then "&Open"), "&Edit", and a
  // grey "&Help"; each top-level item has a command of its own.
  HMENU ThreeMenus(bool rightToLeft = false) {
    HMENU bar = CreateMenu();
    HMENU recent = CreatePopupMenu();
    AppendMenuW(recent, MF_STRING, 301, L"&One");
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
    AppendMenuW(file, MF_STRING, 201, L"&Open");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 202, L"E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, 211, L"&Copy");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, 221, L"&About");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(help), L"&Help");
    for (UINT i = 0; i < 3; ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_ID | (rightToLeft ? MIIM_FTYPE : 0u);
      mii.wID = 100 + i;
      if (rightToLeft) {
        mii.fType = MFT_STRING | MFT_RIGHTORDER;
      }
      SetMenuItemInfoW(bar, i, TRUE, &mii);
    }
    return bar;
  }

  // A form whose main menu has "&File" with "&Open" in it.
  static TForm* FormWithMenu() { return qvtest::FormWithFileMenu(80, 80, 360, 240); }

  HWND Raw(HMENU menu, int w = 360, int h = 240) {
    return RawWindow(L"QvMenuBarWindow", L"Menus", WS_OVERLAPPEDWINDOW, 60, 60, w, h, menu);
  }

  // Shown in front, skinned, and its bar laid out.
  TWinSkinForm* Skinned(HWND w) {
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
    TWinSkinForm* sf = qvtest::WaitSkinned(w);
    if (sf) SendMessageW(w, SM_NCREPAINT, 0, 0);
    return sf;
  }

  static LPARAM ScreenPoint(HWND w, TPoint windowPt) { return qvtest::ScreenLParam(w, windowPt); }

  // Runs the script while the menus it drives come and go; true when every
  // step ran and no drop-down is left open.
  bool Play(MenuScript& script) {
    const bool finished = qvtest::WaitUntil([&] { return script.Done() && MenuTrackIndex < 0; }, 10000);
    return finished && !script.TimedOut() && VisibleMenuWindows() == 0;
  }

  static MenuScript::Step OpenAt(int index) {
    return [index] { return MenuTrackIndex == index && VisibleMenuWindows() >= 1; };
  }
  static MenuScript::Step Key(HWND w, WPARAM vk) {
    return [w, vk] {
      PostMessageW(w, WM_KEYDOWN, vk, 1);
      return true;
    };
  }
  // Waits about ms, then checks what still holds.
  static MenuScript::Step After(int ms, std::function<bool()> check, bool* failed) {
    auto since = std::make_shared<DWORD>(0);
    return [=] {
      if (!*since) *since = GetTickCount();
      if (GetTickCount() - *since < static_cast<DWORD>(ms)) return false;
      if (!check()) *failed = true;
      return true;
    };
  }
};

}  // namespace

TEST_F(SkinMenuBarTest, ARawMenuBecomesTheSkinsBarBelowTheCaption) {
  HMENU menu = ThreeMenus();
  HWND w = Raw(menu);
  const SIZE client = qvtest::ClientSize(w);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->menuBar.menu, nullptr);
  EXPECT_EQ(GetMenu(w), nullptr);
  EXPECT_EQ(sf->menuBar.menu->hmenu, menu);
  EXPECT_EQ(sf->frame.MenuHeight, GetSystemMetrics(SM_CYMENU));
  const auto& b = sf->menuBar.menu->Buttons;
  ASSERT_EQ(b.size(), 3u);
  EXPECT_EQ(b[0]->caption, u"&File");
  EXPECT_EQ(b[1]->caption, u"&Edit");
  EXPECT_EQ(b[2]->caption, u"&Help");
  EXPECT_TRUE(b[0]->enabled);
  EXPECT_FALSE(b[2]->enabled);
  EXPECT_EQ(b[1]->mid, 101);
  EXPECT_EQ(b[1]->hsubmenu, GetSubMenu(menu, 1));

  // The client keeps its size and starts below the caption and the bar.
  EXPECT_EQ(qvtest::ClientSize(w).cx, client.cx);
  EXPECT_EQ(qvtest::ClientSize(w).cy, client.cy);
  const POINT origin = qvtest::ClientOrigin(w);
  EXPECT_EQ(origin.y, kCaption + sf->frame.MenuHeight);
  EXPECT_EQ(origin.x, kSide);

  // Buttons side by side from the bar's left margin + 4, text width + 10.
  const TRect& bar = sf->menuBar.menu->Bar;
  EXPECT_EQ(bar.Top, kCaption);
  EXPECT_EQ(bar.Height(), sf->frame.MenuHeight);
  EXPECT_EQ(b[0]->bounds.Left, bar.Left + 4);
  for (size_t i = 0; i < b.size(); ++i) {
    EXPECT_GT(b[i]->bounds.Width(), 10);
    EXPECT_EQ(b[i]->bounds.Top, bar.Top);
    EXPECT_EQ(b[i]->bounds.Bottom, bar.Bottom - 1);
    if (i) {
      EXPECT_EQ(b[i]->bounds.Left, b[i - 1]->bounds.Right);
    }
  }

  // Hit-testing: the bar is the menu, each button is found by position.
  const TPoint onEdit = Centre(b[1]->bounds);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, onEdit)), HTMENU);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, TPoint{bar.Right - 3, bar.Top + 2})), HTMENU);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, TPoint{kSide + 20, kCaption / 2})), HTCAPTION);
  EXPECT_EQ(sf->menuBar.menu->FindBtn(onEdit), b[1].get());
  EXPECT_EQ(sf->menuBar.menu->FindBtn(TPoint{bar.Right - 3, bar.Top + 2}), nullptr);
  EXPECT_EQ(sf->menuBar.menu->FindBtn(TPoint{onEdit.X, bar.Bottom + 3}), nullptr);
}

TEST_F(SkinMenuBarTest, UnskinningGivesTheMenuBackWithItsOwnDrawing) {
  HMENU menu = ThreeMenus();
  HWND w = Raw(menu);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  HMENU file = GetSubMenu(menu, 0);
  TWinSkinForm::SetSubMenusOwnerDraw(file);
  MENUITEMINFOW mii{};
  wchar_t text[32]{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = 32;
  ASSERT_TRUE(GetMenuItemInfoW(file, 1, TRUE, &mii));
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
  EXPECT_STREQ(text, L"&Open");
  // Into submenus as well.
  EXPECT_TRUE(GetMenuState(GetSubMenu(file, 0), 0, MF_BYPOSITION) & MF_OWNERDRAW);

  delete data;  // its windows are given back whole
  data = nullptr;
  EXPECT_EQ(GetMenu(w), menu);
  mii.cch = 32;
  ASSERT_TRUE(GetMenuItemInfoW(file, 1, TRUE, &mii));
  EXPECT_FALSE(mii.fType & MFT_OWNERDRAW);
  EXPECT_STREQ(text, L"&Open");
  EXPECT_FALSE(GetMenuState(GetSubMenu(file, 0), 0, MF_BYPOSITION) & MF_OWNERDRAW);
  EXPECT_EQ(GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION), 5);
}

TEST_F(SkinMenuBarTest, TheBarIsPaintedFromTheSkin) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  sf->frame.FWindowActive = true;
  auto painted = PaintedFrame(w, sf);
  const auto& b = sf->menuBar.menu->Buttons;
  const TRect& bar = sf->menuBar.menu->Bar;
  // Background: image 1 right of the last button and left of the first.
  for (int y = bar.Top; y < bar.Bottom; y += 3) {
    EXPECT_EQ(painted->Pixel(bar.Right - 2, y), kBarActive) << y;
    EXPECT_EQ(painted->Pixel(bar.Left + 1, y), kBarActive) << y;
  }
  // Captions in MenuBarText, the grey one in ButtonShadow; nothing else.
  auto count = [&](const TRect& r, TColor c) { return qvtest::CountNear(*painted, r, c, 40); };
  EXPECT_GT(count(b[0]->bounds, 0x0000C8), 5);
  EXPECT_GT(count(b[1]->bounds, 0x0000C8), 5);
  EXPECT_EQ(count(b[2]->bounds, 0x0000C8), 0);
  EXPECT_GT(count(b[2]->bounds, 0x00C800), 5);
  // The client area is not touched, the caption is the border's.
  EXPECT_EQ(painted->Pixel(bar.Left + 5, bar.Bottom + 5), 0x123456);
  EXPECT_EQ(painted->Pixel(bar.Left + 5, 2), kBorder);
  // The bar's background is kept without the captions.
  ASSERT_FALSE(sf->menuBar.menu->bkmap->Empty());
  const TPoint c = Centre(b[0]->bounds);
  EXPECT_EQ(sf->menuBar.menu->bkmap->Pixel(c.X - bar.Left, c.Y - bar.Top), kBarActive);

  // Inactive: image 2.
  sf->frame.FWindowActive = false;
  painted = PaintedFrame(w, sf);
  EXPECT_EQ(painted->Pixel(bar.Right - 2, bar.Top + 3), kBarInactive);
  sf->frame.FWindowActive = true;
}

TEST_F(SkinMenuBarTest, AHotButtonIsOutlinedOnTheWindow) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  sf->frame.FWindowActive = true;
  SendMessageW(w, SM_NCREPAINT, 0, 0);
  TMenuBtn* edit = sf->menuBar.menu->Buttons[1].get();
  const TPoint at = Centre(edit->bounds);
  SendMessageW(w, WM_NCMOUSEMOVE, HTMENU, ScreenPoint(w, at));
  EXPECT_EQ(sf->frame.ActiveBtn, edit);
  EXPECT_EQ(edit->state, TNCState::Hot);
  GdiFlush();
  HDC dc = GetWindowDC(w);
  const TColor outline = static_cast<TColor>(GetPixel(dc, edit->bounds.Left, at.Y));
  const TColor inside = static_cast<TColor>(GetPixel(dc, edit->bounds.Left + 1, edit->bounds.Top + 1));
  ReleaseDC(w, dc);
  EXPECT_EQ(outline, 0xFA0000);  // ButtonHilight 0 0 250
  EXPECT_EQ(inside, kBarActive);
  // Off the bar it goes back to normal.
  SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(w, TPoint{kSide + 20, kCaption / 2}));
  EXPECT_EQ(sf->frame.ActiveBtn, nullptr);
  EXPECT_EQ(edit->state, TNCState::Normal);
}

TEST_F(SkinMenuBarTest, ADropDownOpenedByMessageClosesAgain) {
  HMENU menu = ThreeMenus();
  HWND w = Raw(menu);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  TMenuBtn* file = sf->menuBar.menu->Buttons[0].get();
  bool failed = false;
  HMENU fileMenu = GetSubMenu(menu, 0);
  MenuScript script({OpenAt(0), [&] {
                       // While open: the hook is in, the window in menu mode,
                       // the items drawn by the skin with their texts kept.
                       if (!MenuFilterHook || !sf->menuBar.fInMenu || MenuTrackForm != sf ||
                           sf->menuBar.activemenu != fileMenu)
                         failed = true;
                       if (!(GetMenuState(fileMenu, 1, MF_BYPOSITION) & MF_OWNERDRAW)) failed = true;
                       wchar_t text[32]{};
                       MENUITEMINFOW mii{};
                       mii.cbSize = sizeof mii;
                       mii.fMask = MIIM_STRING;
                       mii.dwTypeData = text;
                       mii.cch = 32;
                       if (!GetMenuItemInfoW(fileMenu, 1, TRUE, &mii) || lstrcmpW(text, L"&Open") != 0) failed = true;
                       PostMessageW(w, WM_CANCELMODE, 0, 0);
                       EndMenu();
                       return true;
                     }});
  EXPECT_EQ(SendMessageW(w, SM_POPUPMENUBAR, 0, ScreenPoint(w, Centre(file->bounds))), 0);
  EXPECT_TRUE(Play(script));
  EXPECT_FALSE(failed);
  EXPECT_FALSE(sf->menuBar.fInMenu);
  EXPECT_EQ(MenuFilterHook, nullptr);
  EXPECT_EQ(MenuTrackForm, nullptr);
  // The click reported the item's command.
  qvtest::WaitUntil([] { return !commands.empty(); }, 500);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.front(), 100u);

  // Off every button, or on a caption button, nothing opens.
  commands.clear();
  const TRect& strip = sf->menuBar.menu->Bar;
  EXPECT_EQ(SendMessageW(w, SM_POPUPMENUBAR, 0, ScreenPoint(w, TPoint{strip.Right - 3, strip.Top + 2})), 0);
  EXPECT_EQ(MenuFilterHook, nullptr);
  qvtest::Pump(60);
  EXPECT_TRUE(commands.empty());
}

TEST_F(SkinMenuBarTest, AGreyButtonOnlyReportsItsCommand) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  MenuScript script({[] { return true; }});  // ends anything that would open
  EXPECT_TRUE(sf->CheckMenu(sf->menuBar.menu->Buttons[2].get()));
  EXPECT_EQ(MenuFilterHook, nullptr);
  EXPECT_FALSE(sf->menuBar.fInMenu);
  EXPECT_EQ(VisibleMenuWindows(), 0);
  EXPECT_FALSE(sf->CheckMenu(nullptr));
}

TEST_F(SkinMenuBarTest, ArrowKeysMoveBetweenDropDownsAndWrapAtBothEnds) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  // The grey Help button takes part in the moves but opens nothing, so the
  // wrap is shown between File and Edit: two buttons with drop-downs.
  sf->menuBar.menu->Buttons[2]->enabled = true;
  bool failed = false;
  MenuScript script({
      OpenAt(0),
      // File's first item has a submenu: Right opens it, Left closes it.
      Key(w, VK_RIGHT),
      After(250, [] { return MenuTrackIndex == 0 && VisibleMenuWindows() == 2; }, &failed),
      Key(w, VK_LEFT),
      After(250, [] { return MenuTrackIndex == 0 && VisibleMenuWindows() == 1; }, &failed),
      // Left on the first button wraps to the last.
      Key(w, VK_LEFT),
      OpenAt(2),
      // Right on the last wraps to the first.
      Key(w, VK_RIGHT),
      OpenAt(0),
      Key(w, VK_DOWN),  // Open: no submenu, so Right moves on
      Key(w, VK_RIGHT),
      OpenAt(1),
      Key(w, VK_ESCAPE),
  });
  PostMessageW(w, SM_POPUPMENUBAR, 0, ScreenPoint(w, Centre(sf->menuBar.menu->Buttons[0]->bounds)));
  EXPECT_TRUE(Play(script)) << "reached step " << script.Reached();
  EXPECT_FALSE(failed);
  EXPECT_FALSE(sf->menuBar.fInMenu);
  EXPECT_EQ(MenuFilterHook, nullptr);
  // Every drop-down that opened reported its command: File, Help, File,
  // Edit (opening and closing the submenu reports nothing).
  std::vector<WPARAM> opened;
  for (WPARAM c : commands)
    if (c >= 100 && c <= 102) opened.push_back(c);
  EXPECT_EQ(opened, (std::vector<WPARAM>{100, 102, 100, 101}));
}

TEST_F(SkinMenuBarTest, TheMouseMovesOnToTheButtonUnderIt) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  RECT wr{};
  GetWindowRect(w, &wr);
  const TPoint file = Centre(sf->menuBar.menu->Buttons[0]->bounds), edit = Centre(sf->menuBar.menu->Buttons[1]->bounds);
  auto moveTo = [&](TPoint p) {
    return [&, p] {
      SetCursorPos(wr.left + p.X, wr.top + p.Y);
      PostMessageW(w, WM_MOUSEMOVE, 0, 0);
      return true;
    };
  };
  bool failed = false;
  MenuScript script({
      OpenAt(0),
      moveTo(TPoint{file.X + 2, file.Y}),  // still on File: stays
      After(200, [] { return MenuTrackIndex == 0; }, &failed),
      moveTo(edit),
      OpenAt(1),
      Key(w, VK_ESCAPE),
  });
  SetCursorPos(wr.left + file.X, wr.top + file.Y);
  PostMessageW(w, WM_NCLBUTTONDOWN, HTMENU, ScreenPoint(w, file));
  EXPECT_TRUE(Play(script)) << "reached step " << script.Reached();
  EXPECT_FALSE(failed);
  // The button that was clicked last is the window's active one again.
  ASSERT_NE(sf->frame.ActiveBtn, nullptr);
  EXPECT_EQ(sf->frame.ActiveBtn, sf->menuBar.menu->Buttons[1].get());
}

TEST_F(SkinMenuBarTest, ABarRebuiltWhileItsDropDownIsOpenLeavesNoStaleButton) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  TMenuBtn* old = sf->menuBar.menu->Buttons[1].get();
  MenuScript script({OpenAt(1), [&] {
                       // The application sets a new menu and says so.
                       HMENU other = CreateMenu();
                       AppendMenuW(other, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Tools");
                       AppendMenuW(other, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Window");
                       SetMenu(w, other);
                       SendMessageW(w, CM_MENUCHANGED, 0, 0);
                       return true;
                     },
                     Key(w, VK_ESCAPE)});
  SendMessageW(w, WM_NCLBUTTONDOWN, HTMENU, ScreenPoint(w, Centre(old->bounds)));
  EXPECT_TRUE(Play(script)) << "reached step " << script.Reached();
  ASSERT_EQ(sf->menuBar.menu->Buttons.size(), 2u);
  EXPECT_EQ(sf->menuBar.menu->Buttons[1]->caption, u"&Window");
  EXPECT_EQ(GetMenu(w), nullptr);
  // The active button, if any, is one of the new ones.
  if (sf->frame.ActiveBtn) {
    const auto& b = sf->menuBar.menu->Buttons;
    EXPECT_TRUE(sf->frame.ActiveBtn == b[0].get() || sf->frame.ActiveBtn == b[1].get());
  }
  sf->TimerTick(nullptr);
}

TEST_F(SkinMenuBarTest, AltLettersOpenTheirButtonAndAltAloneIsConsumed) {
  HWND w = Raw(ThreeMenus());
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  auto& b = sf->menuBar.menu->Buttons;
  EXPECT_EQ(sf->FindAccelButton(u'e'), b[1].get());
  EXPECT_EQ(sf->FindAccelButton(u'F'), b[0].get());
  EXPECT_EQ(sf->FindAccelButton(u'h'), nullptr);  // grey
  EXPECT_EQ(sf->FindAccelButton(u'x'), nullptr);

  {
    MenuScript script({OpenAt(1), Key(w, VK_ESCAPE)});
    EXPECT_EQ(SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, u'e'), 1);
    EXPECT_TRUE(Play(script));
  }
  {
    // Alt alone: the first button.
    MenuScript script({OpenAt(0), Key(w, VK_ESCAPE)});
    EXPECT_EQ(SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    EXPECT_TRUE(Play(script));
  }
  // A window without a bar swallows Alt alone, opening nothing.
  HWND plain = Raw(nullptr);
  ASSERT_NE(Skinned(plain), nullptr);
  {
    MenuScript script({[] { return true; }});
    EXPECT_EQ(SendMessageW(plain, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    EXPECT_EQ(VisibleMenuWindows(), 0);
  }

  // Alt+letter through CM_DIALOGCHAR posts a click on the button, but not
  // with Shift held as well.
  BYTE saved[256]{}, keys[256]{};
  GetKeyboardState(saved);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  TMessage m{CM_DIALOGCHAR, u'e', 1 << 29, 0};
  sf->CMDialogChar(m);
  EXPECT_EQ(m.Result, 1);
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, w, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  RECT wr{};
  GetWindowRect(w, &wr);
  EXPECT_EQ(static_cast<int16_t>(LOWORD(posted.lParam)), wr.left + b[1]->bounds.Left + 1);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(posted.lParam)), wr.top + b[1]->bounds.Top + 1);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  m = TMessage{CM_DIALOGCHAR, u'e', 1 << 29, 0};
  sf->CMDialogChar(m);
  EXPECT_EQ(m.Result, 0);
  EXPECT_FALSE(PeekMessageW(&posted, w, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  SetKeyboardState(saved);
}

TEST_F(SkinMenuBarTest, AFormsMainMenuBecomesTheBarAndFollowsItsChanges) {
  auto* form = FormWithMenu();
  forms.push_back(form);
  TMainMenu* main = form->Menu();
  TMenuItem* file = main->Items()->Items(0);
  auto* edit = new TMenuItem(main);
  edit->SetCaption(u"&Edit");
  edit->SetEnabled(false);
  main->Items()->Add(edit);
  form->HandleNeeded();
  ASSERT_NE(GetMenu(form->Handle()), nullptr);
  form->Show();
  TWinSkinForm* sf = Skinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->menuBar.menu, nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(sf->menuBar.menu->menu, main);
  auto& b = sf->menuBar.menu->Buttons;
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0]->menuitem, file);
  EXPECT_EQ(b[0]->hsubmenu, file->Handle());
  EXPECT_EQ(b[1]->menuitem, edit);
  EXPECT_FALSE(b[1]->enabled);
  EXPECT_EQ(b[1]->hsubmenu, nullptr);

  // A changed item reaches the bar; the native bar stays away.
  file->SetCaption(u"&Archive");
  ASSERT_EQ(sf->menuBar.menu->Buttons.size(), 2u);
  EXPECT_EQ(sf->menuBar.menu->Buttons[0]->caption, u"&Archive");
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);

  // Alt+A through the form's own key handling posts the click.
  BYTE saved[256]{}, keys[256]{};
  GetKeyboardState(saved);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, u'a', 1 << 29), 1);
  SetKeyboardState(saved);
  MSG posted{};
  EXPECT_TRUE(PeekMessageW(&posted, form->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));

  // Right to left: the buttons line up from the bar's right end.
  main->SetRightToLeft(true);
  SendMessageW(form->Handle(), SM_NCREPAINT, 0, 0);
  const TRect& bar = sf->menuBar.menu->Bar;
  EXPECT_EQ(sf->menuBar.menu->Buttons[0]->bounds.Right, bar.Right - 8);
  EXPECT_EQ(sf->menuBar.menu->Buttons[1]->bounds.Right, sf->menuBar.menu->Buttons[0]->bounds.Left);
}

// A form that gets its main menu only after it was skinned: the items of
// the bar's drop-downs are drawn by the skin, not passed on blank.
TEST_F(SkinMenuBarTest, AMainMenuSetAfterSkinningHasItsDropDownsDrawn) {
  auto* form = new TForm(nullptr);
  forms.push_back(form);
  form->SetBounds(80, 80, 360, 240);
  form->Show();
  TWinSkinForm* sf = Skinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  ASSERT_EQ(sf->menuBar.menu, nullptr);
  auto* main = new TMainMenu(form);
  auto* file = new TMenuItem(main);
  file->SetCaption(u"&File");
  main->Items()->Add(file);
  for (const char16_t* text : {u"&Open a document", u"&Save it again"}) {
    auto* item = new TMenuItem(main);
    item->SetCaption(text);
    file->Add(item);
  }
  form->SetMenu(main);
  ASSERT_NE(sf->menuBar.menu, nullptr);
  SendMessageW(form->Handle(), SM_NCREPAINT, 0, 0);
  ASSERT_EQ(sf->menuBar.menu->Buttons.size(), 1u);
  // The skin's item ground, which no other drawing uses.
  constexpr TColor kItemGround = 0x30C0F0;
  data->Colors[16] = kItemGround;
  const auto shot = qvtest::DropDownPixels(form->Handle(), sf->menuBar.menu->Buttons[0]->bounds);
  ASSERT_NE(shot, nullptr);
  EXPECT_GT(qvtest::InkPixels(*shot, 4), 40);
  int ground = 0;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = 0; x < shot->Width(); ++x) ground += shot->Pixel(x, y) == kItemGround;
  EXPECT_GT(ground, shot->Width() * 10);
}

TEST_F(SkinMenuBarTest, ACaptionWithoutTextIsNeverFound) {
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 401, L"");
  AppendMenuW(menu, MF_STRING, 402, L"&Go");
  HWND w = Raw(menu);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  auto& b = sf->menuBar.menu->Buttons;
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0]->bounds.Width(), 0);
  EXPECT_EQ(sf->menuBar.menu->FindBtn(TPoint{b[0]->bounds.Left, b[0]->bounds.Top + 2}), b[1].get());
  // A button without a drop-down reports its command and opens nothing.
  commands.clear();
  SendMessageW(w, SM_POPUPMENUBAR, 0, ScreenPoint(w, Centre(b[1]->bounds)));
  qvtest::WaitUntil([] { return !commands.empty(); }, 500);
  EXPECT_EQ(commands, (std::vector<WPARAM>{402}));
  EXPECT_EQ(MenuFilterHook, nullptr);
}

TEST_F(SkinMenuBarTest, AFormFreedWhileItsDropDownIsOpenEndsTheMenuSafely) {
  TForm* form = FormWithMenu();
  form->Show();
  HWND w = form->Handle();
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_EQ(sf->menuBar.menu->Buttons.size(), 1u);
  const LPARAM at = ScreenPoint(w, Centre(sf->menuBar.menu->Buttons[0]->bounds));
  MenuScript script({OpenAt(0), [&] {
                       delete form;  // the skin goes with it, inside the menu's loop
                       return true;
                     }});
  SendMessageW(w, WM_NCLBUTTONDOWN, HTMENU, at);
  EXPECT_TRUE(qvtest::WaitUntil([&] { return script.Done() && MenuTrackIndex < 0; }, 10000));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(MenuFilterHook, nullptr);
  EXPECT_EQ(MenuTrackForm, nullptr);
  EXPECT_EQ(SkinManager->FindForm(w), nullptr);
}

TEST_F(SkinMenuBarTest, ARawWindowsMenuGoesBackToALiveWindowAndDiesWithADeadOne) {
  HMENU kept = ThreeMenus();
  HWND live = Raw(kept);
  HMENU own = ThreeMenus();
  HWND dying = Raw(own);
  HMENU shared = ThreeMenus();
  HWND first = Raw(shared);
  HWND second = Raw(shared);
  for (HWND w : {live, dying, first, second}) {
    TWinSkinForm* sf = Skinned(w);
    ASSERT_NE(sf, nullptr);
    ASSERT_NE(sf->menuBar.menu, nullptr);
    EXPECT_EQ(GetMenu(w), nullptr);
  }

  // Destroyed with its window, as it would have been on the platform's bar;
  // a menu that another window's bar still holds stays.
  DestroyWindow(dying);
  EXPECT_FALSE(IsMenu(own));
  DestroyWindow(first);
  EXPECT_TRUE(IsMenu(shared));
  EXPECT_EQ(SkinManager->FindForm(second)->menuBar.menu->hmenu, shared);

  // The manager ends while the windows live: each gets its menu back.
  delete SkinManager;
  EXPECT_EQ(SkinManager, nullptr);
  EXPECT_EQ(GetMenu(live), kept);
  EXPECT_EQ(GetMenu(second), shared);
  EXPECT_EQ(GetMenuItemCount(kept), 3);
}
