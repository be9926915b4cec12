// The real program's skinned system menu, opened from outside by a right
// click on the caption and by Alt+Space: a skinned menu window with the
// window's system entries drawn by the skin, gone again once it closes.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/WinTestSupport.h"

using namespace qvtest;

namespace {

struct OpenMenu {
  HWND wnd = nullptr;
  bool skinned = false;
  RECT rect{};
};

// The window is skinned a moment after it shows; until then the click is
// the platform's, so it is repeated a few times.
OpenMenu OpenWith(ProgramUnderTest& program, const std::function<void()>& ask) {
  OpenMenu m;
  for (int i = 0; i < 4 && !m.wnd; ++i) {
    ask();
    m.wnd = program.WaitForWindow(L"#32768", 2000);
  }
  if (!m.wnd) return m;
  m.skinned = QuerySkinned(m.wnd) == 1;
  GetWindowRect(m.wnd, &m.rect);
  return m;
}

void CloseMenu(ProgramUnderTest& program, HWND menu) {
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([&] { return program.WaitForWindow(L"#32768", 0) == nullptr; }, 3000);
}

}  // namespace

TEST(SystemMenu, ARightClickOnTheCaptionAndAltSpaceOpenTheSkinnedSystemMenu) {
  LoopbackServer author;
  ProgramUnderTest program(L"sysmenu");
  program.SetEnv(L"QUILLVAULT_AUTHOR_HOST", L"127.0.0.1:" + std::to_wstring(author.Port()));
  program.Start();
  HWND form = program.WaitForWindow(L"TForm1", 20000);
  ASSERT_NE(form, nullptr);
  // Only a skinned frame opens the skinned menu on a right click.
  ASSERT_TRUE(WaitUntil([&] { return QuerySkinned(form) == 1; }, 10000))
      << "the main window was never skinned";
  RECT wr{};
  GetWindowRect(form, &wr);

  // A right click on the caption, well clear of the icon and the buttons.
  OpenMenu menu = OpenWith(program, [&] {
    PostMessageW(form, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(wr.left + 160, wr.top + 12));
  });
  ASSERT_NE(menu.wnd, nullptr) << "no menu window opened";
  EXPECT_TRUE(menu.skinned);
  EXPECT_EQ(menu.rect.left, wr.left + 160);
  EXPECT_EQ(menu.rect.top, wr.top + 12);
  CloseMenu(program, menu.wnd);
  EXPECT_EQ(program.WaitForWindow(L"#32768", 0), nullptr);
  EXPECT_TRUE(IsWindowVisible(form));

  // Alt+Space opens it at the client origin (once the double-click time
  // is over: a second request within it closes the window instead).
  Sleep(GetDoubleClickTime() + 100);
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  menu = OpenWith(program, [&] { PostMessageW(form, WM_SYSCOMMAND, SC_KEYMENU, ' '); });
  ASSERT_NE(menu.wnd, nullptr);
  EXPECT_TRUE(menu.skinned);
  EXPECT_EQ(menu.rect.left, origin.x);
  EXPECT_EQ(menu.rect.top, origin.y);
  CloseMenu(program, menu.wnd);
  EXPECT_EQ(program.WaitForWindow(L"#32768", 0), nullptr);

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
}
