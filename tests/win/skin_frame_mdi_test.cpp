// A skinned MDI frame with skinned children, from raw windows ("MDICLIENT"):
// the frame finds its client, children are skinned as MDI children, the
// frame's child buttons act on the active child, the window state follows
// the system commands, the manager's maximised-child flag follows the
// client's messages, the client's own scroll bars stay off, and a menu
// set through the client becomes the skinned bar.
#include <gtest/gtest.h>

#include "platform/win/WinString.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

HWND gClient = nullptr;
int gChildPaints = 0;

LRESULT CALLBACK MdiFrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcW(w, gClient, msg, wp, lp);
}

LRESULT CALLBACK MdiChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) ++gChildPaints;
  return DefMDIChildProcW(w, msg, wp, lp);
}

class SkinFrameMdiTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    const auto background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    qvtest::RegisterWindowClass(L"QvMdiFrame", MdiFrameProc, background);
    qvtest::RegisterWindowClass(L"QvMdiChild", MdiChildProc, background);
    data = qvtest::LoadProgramSkin();
    ASSERT_FALSE(data->Empty);
    frame = RawWindow(L"QvMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 30, 30, 640, 480);
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 50000;
    gClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 600, 400, frame,
                              nullptr, GetModuleHandleW(nullptr), &ccs);
    ASSERT_NE(gClient, nullptr);
    ShowWindow(frame, SW_SHOWNORMAL);
    SetForegroundWindow(frame);
    fsf = Skinned(frame);
    ASSERT_NE(fsf, nullptr);
  }

  void TearDown() override {
    SkinWindowFixture::TearDown();
    gClient = nullptr;
  }

  HWND Child(const wchar_t* title) {
    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"QvMdiChild";
    mcs.szTitle = title;
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = 10;
    mcs.y = 10;
    mcs.cx = 260;
    mcs.cy = 180;
    mcs.style = WS_OVERLAPPEDWINDOW;
    return reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }

  HWND Active() { return reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDIGETACTIVE, 0, 0)); }

  void PressChildButton(int32_t action) {
    TDataSkinSysButton element(u"Child");
    element.Action = action;
    TWinSysButton button(fsf, data);
    button.data = &element;
    button.visible = true;
    fsf->SysButtonClick(&button, TPoint{});
  }

  HWND frame = nullptr;
  TWinSkinForm* fsf = nullptr;
};

}  // namespace

TEST_F(SkinFrameMdiTest, TheFrameFindsItsClientAndChildrenAreSkinnedAsMdiChildren) {
  EXPECT_EQ(fsf->frame.FormStyle, sfsMDIform);
  EXPECT_EQ(fsf->ClientHwnd, gClient);
  EXPECT_EQ(SkinManager->clienthwnd, gClient);
  HWND child = Child(L"One");
  ASSERT_NE(child, nullptr);
  TWinSkinForm* csf = Skinned(child);
  ASSERT_NE(csf, nullptr);
  EXPECT_EQ(csf->frame.FormStyle, sfsMDIChild);
  EXPECT_EQ(csf->frame.Windowstate, swsNormal);
  // A normal child has the skin's frame and region.
  const POINT origin = qvtest::ClientOrigin(child);
  EXPECT_EQ(origin.x, csf->frame.bw.Left);
  EXPECT_EQ(origin.y, csf->frame.bw.Top + csf->frame.MenuHeight);
  EXPECT_TRUE(csf->frame.crop);
  EXPECT_FALSE(fsf->MDIChildMax());
}

TEST_F(SkinFrameMdiTest, TheWindowStateFollowsTheSystemCommandsAndTheMaximisedChildFlag) {
  HWND child = Child(L"One");
  TWinSkinForm* csf = Skinned(child);
  ASSERT_NE(csf, nullptr);
  // The skin's maximise sets the manager's flag and posts the command.
  csf->Maximize();
  EXPECT_TRUE(SkinManager->MDIMax);
  EXPECT_EQ(csf->frame.Windowstate, swsMax);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return IsZoomed(child) != FALSE; }, 2000));
  EXPECT_TRUE(fsf->MDIChildMax());
  EXPECT_FALSE(csf->frame.crop);
  // Restoring through the system command clears it.
  SendMessageW(child, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(csf->frame.Windowstate, swsNormal);
  EXPECT_FALSE(SkinManager->MDIMax);
  EXPECT_FALSE(IsZoomed(child));
  SendMessageW(child, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(csf->frame.Windowstate, swsMin);
  SendMessageW(child, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(csf->frame.Windowstate, swsNormal);
  // Tiling and cascading end the maximised state of the flag.
  SkinManager->SetMDIMax(true);
  SendMessageW(gClient, WM_MDITILE, MDITILE_VERTICAL, 0);
  EXPECT_FALSE(SkinManager->MDIMax);
  SkinManager->SetMDIMax(true);
  SendMessageW(gClient, WM_MDICASCADE, 0, 0);
  EXPECT_FALSE(SkinManager->MDIMax);
}

TEST_F(SkinFrameMdiTest, DestroyingTheMaximisedChildClearsTheFlag) {
  HWND one = Child(L"One");
  ASSERT_NE(Skinned(one), nullptr);
  Skinned(one)->Maximize();
  ASSERT_TRUE(qvtest::WaitUntil([&] { return IsZoomed(one) != FALSE; }, 2000));
  ASSERT_TRUE(SkinManager->MDIMax);
  SendMessageW(gClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(one), 0);
  EXPECT_FALSE(IsWindow(one));
  EXPECT_FALSE(SkinManager->MDIMax);
}

TEST_F(SkinFrameMdiTest, TheFramesChildButtonsActOnTheActiveChild) {
  HWND one = Child(L"One");
  HWND two = Child(L"Two");
  ASSERT_NE(Skinned(two), nullptr);
  ASSERT_EQ(Active(), two);
  PressChildButton(7);  // minimise
  EXPECT_TRUE(IsIconic(two));
  EXPECT_FALSE(IsIconic(one));
  SendMessageW(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(one), 0);
  SendMessageW(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one), 0);
  ASSERT_TRUE(IsZoomed(one));
  fsf->RestoreMDI();
  EXPECT_FALSE(IsZoomed(one));
  PressChildButton(9);  // close
  EXPECT_FALSE(IsWindow(one));
  EXPECT_TRUE(IsWindow(two));
  // A window that is no MDI frame has no child to act on.
  TWinSkinForm* csf = Skinned(two);
  ASSERT_NE(csf, nullptr);
  csf->ChildSysCommand(SC_CLOSE);
  EXPECT_TRUE(IsWindow(two));
}

TEST_F(SkinFrameMdiTest, TheClientRedrawsTheFrameOnRequestAndKeepsItsScrollBarsOff) {
  HWND child = Child(L"One");
  ASSERT_NE(Skinned(child), nullptr);
  qvtest::Pump(100);
  const int before = gChildPaints;
  EXPECT_EQ(SendMessageW(gClient, SM_MDIREDRAW, reinterpret_cast<WPARAM>(child), 0), 0);
  // Everything down to the children is painted before the answer.
  EXPECT_GT(gChildPaints, before);
  // The scroll bars the client would show for a child out of sight go.
  ASSERT_FALSE(InSet(data->fSkinOptions, xoMDIScrollbar));
  SetWindowLongPtrW(gClient, GWL_STYLE, GetWindowLongPtrW(gClient, GWL_STYLE) | WS_VSCROLL | WS_HSCROLL);
  SetWindowPos(gClient, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(GetWindowLongPtrW(gClient, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
}

TEST_F(SkinFrameMdiTest, ActivationSwitchesTheTimerAndUnskinningGivesTheClientBack) {
  SendMessageW(frame, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(fsf->frame.FWindowActive);
  EXPECT_FALSE(fsf->timer->Enabled());
  SendMessageW(frame, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(fsf->frame.FWindowActive);
  EXPECT_TRUE(fsf->timer->Enabled());
  // Unskinning gives the client its own procedure back.
  const LONG_PTR skinned = GetWindowLongPtrW(gClient, GWLP_WNDPROC);
  fsf->UnSubclass();
  EXPECT_NE(GetWindowLongPtrW(gClient, GWLP_WNDPROC), skinned);
  TWinSkinForm::Free(fsf);
  fsf = nullptr;
}

namespace {

HMENU MenuOf(std::initializer_list<const wchar_t*> captions) {
  HMENU bar = CreateMenu();
  for (const wchar_t* c : captions) {
    HMENU drop = CreatePopupMenu();
    AppendMenuW(drop, MF_STRING, 100, L"Item");
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(drop), c);
  }
  return bar;
}

// The frame's first menu arrives through the client after skinning: the
// items of its drop-downs are drawn by the skin, not passed on blank.
TEST_F(SkinFrameMdiTest, AFirstMenuSetThroughTheClientHasItsDropDownsDrawn) {
  ASSERT_EQ(fsf->menuBar.menu, nullptr);
  HMENU bar = CreateMenu();
  HMENU drop = CreatePopupMenu();
  AppendMenuW(drop, MF_STRING, 101, L"&Open a document");
  AppendMenuW(drop, MF_STRING, 102, L"&Save it again");
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(drop), L"&File");
  SendMessageW(gClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar), 0);
  ASSERT_NE(fsf->menuBar.menu, nullptr);
  SendMessageW(frame, SM_NCREPAINT, 0, 0);
  ASSERT_EQ(fsf->menuBar.menu->Buttons.size(), 1u);
  const auto shot = qvtest::DropDownPixels(frame, fsf->menuBar.menu->Buttons[0]->bounds);
  ASSERT_NE(shot, nullptr);
  EXPECT_GT(qvtest::InkPixels(*shot, 4), 40);
}

TEST_F(SkinFrameMdiTest, AMenuSetThroughTheClientBecomesTheSkinnedBar) {
  ASSERT_EQ(fsf->menuBar.menu, nullptr);  // the frame had no menu when it was skinned
  HMENU first = MenuOf({L"&Window", L"&Help"});
  SendMessageW(gClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(first), 0);
  EXPECT_EQ(GetMenu(frame), nullptr);
  ASSERT_NE(fsf->menuBar.menu, nullptr);
  EXPECT_GT(fsf->frame.MenuHeight, 0);
  ASSERT_EQ(fsf->menuBar.menu->Buttons.size(), 2u);
  EXPECT_EQ(fsf->menuBar.menu->Buttons[0]->caption, u"&Window");
  EXPECT_EQ(fsf->menuBar.menu->Buttons[1]->caption, u"&Help");

  // A child's own frame menu replaces it, still without the platform's bar.
  HMENU second = MenuOf({L"&File"});
  SendMessageW(gClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_EQ(GetMenu(frame), nullptr);
  ASSERT_EQ(fsf->menuBar.menu->Buttons.size(), 1u);
  EXPECT_EQ(fsf->menuBar.menu->Buttons[0]->caption, u"&File");
  DestroyMenu(first);
}

}  // namespace
