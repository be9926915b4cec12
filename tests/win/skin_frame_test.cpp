// The skinned frame under Wine: the frame and caption buttons each border
// style and icon set gives a form, the client area inside the skin's borders,
// the window's size around an unchanged client area (also for a form that
// refuses resizes), hit-testing, the region cut at the skin's key-coloured
// corners, the painted frame read back with the icon in its button, caption
// buttons that post their command on release over them and nothing when
// released elsewhere, the icon picture following the window's icon, children
// painted once when the window is shown and skinned, and the control skins
// the frame looks after (one made anew, the hot one of a raw window).
#include <gtest/gtest.h>

#include <set>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/SkinVariants.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {


using qvtest::PaintedFrame;
using qvtest::ScreenLParam;
using qvtest::WindowSize;

class SkinFrameTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvFrameWindow");
    data = qvtest::LoadProgramSkin();
    ASSERT_FALSE(data->Empty);
    ASSERT_NE(SkinManager, nullptr);
  }

  HWND Raw(DWORD style = WS_OVERLAPPEDWINDOW, int w = 320, int h = 240) {
    return RawWindow(L"QvFrameWindow", L"Frame", style, 40, 40, w, h);
  }

  TWinSysButton* ButtonOf(TWinSkinForm* sf, int32_t action) { return qvtest::SysButtonOf(sf, action); }
};

}  // namespace

TEST_F(SkinFrameTest, TheClientAreaKeepsItsSizeInsideTheSkinsBorders) {
  HWND w = Raw();
  const SIZE client = qvtest::ClientSize(w);
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_GT(sf->frame.bw.Top, 0);
  EXPECT_EQ(qvtest::ClientSize(w).cx, client.cx);
  EXPECT_EQ(qvtest::ClientSize(w).cy, client.cy);
  EXPECT_EQ(WindowSize(w).cx, client.cx + sf->frame.bw.Left + sf->frame.bw.Right);
  EXPECT_EQ(WindowSize(w).cy, client.cy + sf->frame.bw.Top + sf->frame.bw.Bottom + sf->frame.MenuHeight);
  // The client origin sits right inside the left border and the caption.
  const POINT origin = qvtest::ClientOrigin(w);
  EXPECT_EQ(origin.x, sf->frame.bw.Left);
  EXPECT_EQ(origin.y, sf->frame.bw.Top + sf->frame.MenuHeight);
  // A frame change keeps it all.
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(qvtest::ClientSize(w).cx, client.cx);
  EXPECT_EQ(qvtest::ClientSize(w).cy, client.cy);
}

// Borders larger than the screen squeeze a form while their skin is on (the
// platform holds the window to about the screen's size); the next skin, and
// taking the skin off, give its client the size it had before.
TEST_F(SkinFrameTest, BordersLargerThanTheScreenSqueezeAFormOnlyWhileTheirSkinIsOn) {
  const std::wstring dir = qvtest::MakeTempDir(L"frame-borders");
  const std::wstring hostile = dir + L"\\hostile.skin";
  auto load = [&](const std::wstring& file) {
    data->LoadFromFile(FromW(file.c_str()));
    ASSERT_FALSE(data->Empty);
    qvtest::WaitUntil([] { return !SkinManager->UpdateData; }, 3000);
    qvtest::Pump(100);
  };
  struct Picture {
    const char16_t* name;
    int w, h;
  };
  for (const Picture& p : {Picture{u"right.bmp", 2500, 60}, Picture{u"top.bmp", 24, 4000}}) {
    SCOPED_TRACE(ToUtf8(p.name));
    qvtest::WriteProgramSkin(hostile, qvtest::ProgramSkinIni(), {{p.name, qvtest::PictureBytes(p.w, p.h, 0x604020)}});
    TForm* form = Own(new TForm(nullptr));
    form->SetBounds(60, 60, 400, 300);
    form->Show();
    ASSERT_NE(Skinned(form->Handle()), nullptr);
    const HWND w = form->Handle();
    const SIZE client = qvtest::ClientSize(w);
    load(hostile);
    const SIZE squeezed = qvtest::ClientSize(w);
    ASSERT_TRUE(squeezed.cx < client.cx || squeezed.cy < client.cy);
    load(qvtest::ProgramSkinPath());
    EXPECT_EQ(qvtest::ClientSize(w).cx, client.cx);
    EXPECT_EQ(qvtest::ClientSize(w).cy, client.cy);
    load(hostile);
    data->SetActive(false);
    qvtest::WaitUntil([&] { return !SkinManager->FindForm(w); }, 3000);
    EXPECT_EQ(qvtest::ClientSize(w).cx, client.cx);
    EXPECT_EQ(qvtest::ClientSize(w).cy, client.cy);
    load(qvtest::ProgramSkinPath());
    data->SetActive(true);
  }
  qvtest::RemoveTree(dir);
}

TEST_F(SkinFrameTest, AFormThatRefusesResizesStillTakesTheSkinsSize) {
  TForm* form = Own(new TForm(nullptr));
  form->SetBounds(60, 60, 300, 200);
  form->HandleNeeded();
  const SIZE client = qvtest::ClientSize(form->Handle());
  form->OnCanResize = [](TObject*, int&, int&, bool& resize) { resize = false; };
  form->Show();
  TWinSkinForm* sf = Skinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  EXPECT_EQ(qvtest::ClientSize(form->Handle()).cx, client.cx);
  EXPECT_EQ(qvtest::ClientSize(form->Handle()).cy, client.cy);
  EXPECT_EQ(WindowSize(form->Handle()).cx, client.cx + sf->frame.bw.Left + sf->frame.bw.Right);
  // A resize asked for by anyone else is still refused.
  const SIZE skinned = WindowSize(form->Handle());
  SetWindowPos(form->Handle(), nullptr, 0, 0, skinned.cx + 40, skinned.cy + 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowSize(form->Handle()).cx, skinned.cx);
  EXPECT_EQ(qvtest::ClientSize(form->Handle()).cy, client.cy);
}

// Each border style and set of border icons gives the form's window the
// styles of its frame, and the skinned frame the caption buttons that go with
// them: no boxes on dialogs and tool windows, help only where neither box is.
TEST_F(SkinFrameTest, BorderStylesAndIconsGiveTheFrameAndItsCaptionButtons) {
  constexpr TBorderIcons kSys = 1u << biSystemMenu, kMin = 1u << biMinimize, kMax = 1u << biMaximize,
                         kHelp = 1u << biHelp;
  constexpr DWORD kCaption = WS_CAPTION | WS_SYSMENU, kBoxes = WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  constexpr DWORD kStyles = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | kBoxes;
  constexpr DWORD kExStyles = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;
  // Buttons by action: 0 close, 1 maximise, 2 minimise, 3 icon, 4 help.
  struct Case {
    TFormBorderStyle border;
    TBorderIcons icons;
    DWORD style, exStyle;
    TSkinFormBorder skin;
    std::set<int32_t> buttons;
  };
  const Case cases[] = {
      {bsNone, kSys | kMin | kMax, WS_POPUP, 0, sbsNone, {}},
      {bsSingle, kSys | kMin | kMax, kCaption | kBoxes, 0, sbsSingle, {0, 1, 2, 3}},
      {bsSizeable, kSys | kMin, kCaption | WS_THICKFRAME | WS_MINIMIZEBOX, 0, sbsSizeable, {0, 1, 2, 3}},
      {bsSizeable, kSys | kHelp, kCaption | WS_THICKFRAME, WS_EX_CONTEXTHELP, sbsSizeable, {0, 3, 4}},
      {bsSingle, kSys | kMax | kHelp, kCaption | WS_MAXIMIZEBOX, 0, sbsSingle, {0, 1, 2, 3}},
      {bsDialog, kSys | kMin | kMax, kCaption, WS_EX_DLGMODALFRAME, sbsDialog, {0}},
      {bsDialog, kSys | kHelp, kCaption, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, sbsDialog, {0, 4}},
      {bsToolWindow, kSys | kMin | kMax | kHelp, kCaption, WS_EX_TOOLWINDOW, sbsSingle, {0, 3}},
      {bsSizeToolWin, kSys | kMin | kMax, kCaption | WS_THICKFRAME, WS_EX_TOOLWINDOW, sbsSizeable, {0, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "border style " << c.border << ", icons " << c.icons);
    TForm* form = Own(new TForm(nullptr));
    form->SetBounds(60, 60, 300, 200);
    form->SetBorderStyle(c.border);
    form->SetBorderIcons(c.icons);
    HWND w = form->Handle();
    // Read before the skin takes WS_SYSMENU away to paint its own buttons.
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & kStyles, static_cast<LONG_PTR>(c.style));
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_EXSTYLE) & kExStyles, static_cast<LONG_PTR>(c.exStyle));
    form->Show();
    TWinSkinForm* sf = Skinned(w);
    ASSERT_NE(sf, nullptr);
    EXPECT_EQ(sf->frame.FormBorder, c.skin);
    PaintedFrame(w, sf);
    std::set<int32_t> shown;
    for (auto& b : sf->frame.SysBtn) {
      if (!b->visible || !b->data || !SysButtonHasImage(*b->data)) continue;
      shown.insert(b->data->Action);
      // On the caption, not cut off by the window's edge.
      EXPECT_GT(b->bounds.Top, 0) << "action " << b->data->Action;
      EXPECT_LE(b->bounds.Right, WindowSize(w).cx - sf->frame.bw.Right) << "action " << b->data->Action;
    }
    EXPECT_EQ(shown, c.buttons);
    // Without a maximise box there is no maximised state, whoever asks.
    SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(IsZoomed(w) != 0, (c.style & WS_MAXIMIZEBOX) != 0);
  }
}

TEST_F(SkinFrameTest, HitTestsAnswerFromTheSkinsFrame) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  SendMessageW(w, SM_NCREPAINT, 0, 0);  // lays the caption buttons out
  const SIZE size = WindowSize(w);
  // Anywhere on the caption strip below its top rows drags the window,
  // even where the native frame has no caption.
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenLParam(w, size.cx / 2, sf->frame.bw.Top / 2)), HTCAPTION);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenLParam(w, size.cx / 3, sf->frame.bw.Top - 1)), HTCAPTION);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenLParam(w, size.cx / 2, size.cy / 2)), HTCLIENT);
  // The close button answers "caption" and is found by its position.
  TWinSysButton* close = ButtonOf(sf, 0);
  ASSERT_NE(close, nullptr);
  const TPoint centre = qvtest::Centre(close->bounds);
  EXPECT_GT(close->bounds.Left, size.cx / 2);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenLParam(w, centre.X, centre.Y)), HTCAPTION);
  EXPECT_EQ(sf->FindSysButton(centre), close);
  EXPECT_EQ(sf->FindSysButton(TPoint{size.cx / 2, sf->frame.bw.Top / 2}), nullptr);
}

TEST_F(SkinFrameTest, TheRegionLeavesOutTheKeyColouredCorners) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_TRUE(sf->frame.crop);
  const SIZE size = WindowSize(w);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_TRUE(PtInRegion(rgn, size.cx / 2, size.cy / 2));
  EXPECT_TRUE(PtInRegion(rgn, size.cx / 2, sf->frame.bw.Top / 2));
  // Where the left border's first image is key-coloured, the window is cut.
  TDataSkinBorder& left = *data->border[1];
  auto drawn =
      CreateSkinBitmap(Rect(0, 0, sf->frame.bw.Left, size.cy), *left.Map, left.r, false, left.Tile != 1, left.frame, 1);
  int cut = 0, kept = 0;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < sf->frame.bw.Left; ++x) {
      const bool key = drawn->Pixel(x, y) == kSkinKeyColor;
      EXPECT_EQ(PtInRegion(rgn, x, y) != 0, !key) << x << "," << y;
      (key ? cut : kept)++;
    }
  DeleteObject(rgn);
  if (left.trans == 1) {
    EXPECT_GT(cut, 0);
  }
  EXPECT_GT(kept, 0);
  // The same size again is not rebuilt: the region handed over stays.
  HRGN given = sf->frame.WinRgn;
  sf->Cropwindow();
  EXPECT_EQ(sf->frame.WinRgn, given);
}

TEST_F(SkinFrameTest, PaintNCDrawsTheBordersAndCaptionFromTheSkin) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  sf->frame.FWindowActive = true;
  auto painted = PaintedFrame(w, sf);
  const SIZE size = WindowSize(w);
  // The left border as the skin draws it.
  TDataSkinBorder& left = *data->border[1];
  auto expectLeft =
      CreateSkinBitmap(Rect(0, 0, sf->frame.bw.Left, size.cy), *left.Map, left.r, false, left.Tile != 1, left.frame, 1);
  for (int y = 0; y < size.cy; y += 7)
    EXPECT_EQ(painted->Pixel(sf->frame.bw.Left - 1, y), expectLeft->Pixel(sf->frame.bw.Left - 1, y)) << y;
  // The caption strip's top row, above the text and buttons.
  TDataSkinBorder& top = *data->border[3];
  const TRect title = Rect(sf->frame.bw.Left, 0, size.cx - sf->frame.bw.Right, sf->frame.bw.Top);
  auto expectTop = CreateSkinBitmap(title, *top.Map, top.r, true, top.Tile != 1, top.frame, 1);
  int topRow = sf->frame.bw.Top;
  for (auto& b : sf->frame.SysBtn)
    if (b->visible) topRow = std::min(topRow, b->bounds.Top);
  topRow = std::min(topRow, sf->frame.FTitleRect.Top);
  ASSERT_GT(topRow, 0);
  for (int x = 8; x < title.Width() - 8; x += 11)
    EXPECT_EQ(painted->Pixel(title.Left + x, 0), expectTop->Pixel(x, 0)) << x;
  // The client area is left alone.
  EXPECT_EQ(painted->Pixel(size.cx / 2, size.cy / 2), 0x123456);
  // The close button in its normal image.
  TWinSysButton* close = ButtonOf(sf, 0);
  ASSERT_NE(close, nullptr);
  // Drawn one to one from image 1 of its strip wherever that is not key.
  const TBitmap& map = *close->data->Map;
  int compared = 0;
  for (int y = 0; y < close->bounds.Height(); ++y)
    for (int x = 0; x < close->bounds.Width(); ++x) {
      const TColor src = map.Pixel(x, y);
      if (src == kSkinKeyColor) continue;
      EXPECT_EQ(painted->Pixel(close->bounds.Left + x, close->bounds.Top + y), src) << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 0);
}

TEST_F(SkinFrameTest, AnInactiveWindowShowsTheInactiveImages) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  TDataSkinBorder& top = *data->border[3];
  if (top.frame < 2) GTEST_SKIP() << "the skin's caption has one image";
  SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(sf->frame.FWindowActive);
  EXPECT_FALSE(sf->timer->Enabled());
  auto painted = PaintedFrame(w, sf);
  const SIZE size = WindowSize(w);
  const TRect title = Rect(sf->frame.bw.Left, 0, size.cx - sf->frame.bw.Right, sf->frame.bw.Top);
  auto inactive = CreateSkinBitmap(title, *top.Map, top.r, true, top.Tile != 1, top.frame, 2);
  auto active = CreateSkinBitmap(title, *top.Map, top.r, true, top.Tile != 1, top.frame, 1);
  int differs = 0;
  for (int x = 8; x < title.Width() - 8; x += 11) {
    EXPECT_EQ(painted->Pixel(title.Left + x, 0), inactive->Pixel(x, 0)) << x;
    if (inactive->Pixel(x, 0) != active->Pixel(x, 0)) ++differs;
  }
  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(sf->frame.FWindowActive);
  EXPECT_TRUE(sf->timer->Enabled());
  (void)differs;
}

TEST_F(SkinFrameTest, CaptionButtonsPostTheirCommandWhenReleasedOverThem) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  SendMessageW(w, SM_NCREPAINT, 0, 0);
  sf->frame.FWindowActive = true;
  TWinSysButton* close = ButtonOf(sf, 0);
  ASSERT_NE(close, nullptr);
  qvtest::DropPosted(w, WM_SYSCOMMAND);
  MSG m{};
  const LPARAM on = ScreenLParam(w, qvtest::Centre(close->bounds));
  const LPARAM off = ScreenLParam(w, WindowSize(w).cx / 2, sf->frame.bw.Top / 2);

  // Pressed, then released elsewhere: nothing.
  EXPECT_EQ(SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, on), 0);
  EXPECT_EQ(sf->frame.ActiveBtn, close);
  EXPECT_EQ(close->state, TNCState::Pressed);
  SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, off);
  EXPECT_FALSE(PeekMessageW(&m, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
  // Moving off it leaves the hot state.
  SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, off);
  EXPECT_EQ(sf->frame.ActiveBtn, nullptr);
  EXPECT_EQ(close->state, TNCState::Normal);

  // Pressed and released on it: SC_CLOSE is posted, the window still lives.
  SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, on);
  EXPECT_EQ(close->state, TNCState::Hot);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, on);
  EXPECT_EQ(SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, on), 0);
  EXPECT_EQ(close->state, TNCState::Hot);
  ASSERT_TRUE(PeekMessageW(&m, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_TRUE(IsWindow(w));
  sf->timer->SetEnabled(true);

  // The minimise button posts SC_MINIMIZE.
  if (TWinSysButton* min = ButtonOf(sf, 2)) {
    const LPARAM at = ScreenLParam(w, qvtest::Centre(min->bounds));
    SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, at);
    SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, at);
    ASSERT_TRUE(PeekMessageW(&m, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>(SC_MINIMIZE));
    EXPECT_FALSE(IsIconic(w));
  }
}

TEST_F(SkinFrameTest, BeforeItsSkinIsFinishedTheFrameIsNotPainted) {
  HWND w = Raw();
  ASSERT_TRUE(SkinManager->AddForm(w));
  TWinSkinForm* sf = SkinManager->FindForm(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_EQ(sf->Skinstate, TSkinFormState::New);
  EXPECT_EQ(SendMessageW(w, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(SendMessageW(w, WM_NCACTIVATE, TRUE, 0), 0);
  qvtest::Pump(50);
}

TEST_F(SkinFrameTest, TheIconButtonShowsTheWindowsIcon) {
  HWND w = Raw();
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  sf->frame.FWindowActive = true;
  auto painted = PaintedFrame(w, sf);
  TWinSysButton* button = ButtonOf(sf, 3);
  ASSERT_NE(button, nullptr);
  ASSERT_GT(button->bounds.Width(), 0);
  // The icon as the system draws it at the button's place; its opaque
  // pixels are those that come out the same over two backgrounds.
  auto drawn = [&](TColor background) {
    auto bmp = qvtest::Bmp(button->bounds.Width(), button->bounds.Height(), background);
    DrawIconEx(BitmapCanvas(*bmp).Handle(), 0, 0, icon, bmp->Width(), bmp->Height(), 0, nullptr, DI_NORMAL);
    return bmp;
  };
  auto expected = drawn(0x123456), other = drawn(0x654321);
  int inked = 0, same = 0;
  for (int y = 0; y < expected->Height(); ++y)
    for (int x = 0; x < expected->Width(); ++x) {
      if (expected->Pixel(x, y) != other->Pixel(x, y)) continue;
      ++inked;
      same += painted->Pixel(button->bounds.Left + x, button->bounds.Top + y) == expected->Pixel(x, y);
    }
  ASSERT_GT(inked, 20);
  EXPECT_EQ(same, inked);
}

TEST_F(SkinFrameTest, AnIconSetLaterReplacesTheIconPicture) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  const int cx = sf->frame.IconBmp->Width(), cy = sf->frame.IconBmp->Height();
  ASSERT_GT(cx, 0);
  // The small icon over the key colour, as the system draws it.
  auto picture = [&](HICON icon) {
    auto bmp = qvtest::Bmp(cx, cy, kSkinKeyColor);
    auto small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
    if (!small) small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
    DrawIconEx(BitmapCanvas(*bmp).Handle(), 0, 0, small, cx, cy, 0, nullptr, DI_NORMAL);
    DestroyIcon(small);
    return bmp;
  };
  // Back to the first icon as well: the picture follows each change.
  for (LPCWSTR id : {IDI_ERROR, IDI_WARNING, IDI_ERROR}) {
    HICON icon = LoadIconW(nullptr, id);
    SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    const auto expected = picture(icon);
    int differ = 0;
    for (int y = 0; y < cy; ++y)
      for (int x = 0; x < cx; ++x) differ += sf->frame.IconBmp->Pixel(x, y) != expected->Pixel(x, y);
    EXPECT_EQ(differ, 0) << (id == IDI_ERROR ? "error icon" : "warning icon");
  }
}

namespace {
// The window as it showed the moment the platform's default procedure had
// taken a new title, when it showed at all.
std::unique_ptr<TBitmap> gShownAtNewTitle;
void NoteShownAtNewTitle(HWND w) {
  if (IsWindowVisible(w)) gShownAtNewTitle = qvtest::WindowPixels(w);
}
LRESULT CALLBACK TitleWatchingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = DefWindowProcW(w, msg, wp, lp);
  if (msg == WM_SETTEXT) NoteShownAtNewTitle(w);
  return r;
}

}  // namespace

// The platform's default procedure paints a caption and border of its own
// on a new title; a window of any kind keeps the skin's frame throughout,
// with the new title in it, and its style as it was.
TEST_F(SkinFrameTest, ANewTitleNeverShowsThePlatformsFrame) {
  qvtest::RegisterWindowClass(L"QvTitleWatcher", TitleWatchingProc);
  struct Case {
    const char* name;
    std::function<HWND()> make;
  };
  const Case cases[] = {
      {"raw window",
       [&] { return RawWindow(L"QvTitleWatcher", L"Old title", WS_OVERLAPPEDWINDOW, 40, 40, 320, 240); }},
      {"form",
       [&] {
         TForm* form = Own(new TForm(nullptr));
         form->SetBounds(40, 40, 320, 240);
         form->SetCaption(u"Old title");
         TWndMethod own = form->WindowProc;
         form->WindowProc = [form, own](TMessage& m) {
           own(m);
           if (m.Msg == WM_SETTEXT) NoteShownAtNewTitle(form->Handle());
         };
         return form->Handle();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = c.make();
    ShowWindow(w, SW_SHOWNORMAL);
    TWinSkinForm* sf = Skinned(w);
    ASSERT_NE(sf, nullptr);
    qvtest::Pump(100);
    ASSERT_EQ(qvtest::NotTheSkinsFrame(w, sf, *qvtest::WindowPixels(w), false), 0);
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    gShownAtNewTitle.reset();
    SetWindowTextW(w, L"A new title, longer than the old one");
    if (gShownAtNewTitle) {
      EXPECT_EQ(qvtest::NotTheSkinsFrame(w, sf, *gShownAtNewTitle, true), 0);
    }
    qvtest::Pump(100);
    EXPECT_EQ(qvtest::NotTheSkinsFrame(w, sf, *qvtest::WindowPixels(w), false), 0);
    EXPECT_EQ(qvtest::WindowText(w), L"A new title, longer than the old one");
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), style);
  }
}

namespace {
constexpr COLORREF kChildInk = RGB(0x20, 0xC0, 0x40);
int gChildErases = 0;
LRESULT CALLBACK InkChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) ++gChildErases;
  if (msg != WM_PAINT) return DefWindowProcW(w, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  HBRUSH ink = CreateSolidBrush(kChildInk);
  FillRect(dc, &ps.rcPaint, ink);
  DeleteObject(ink);
  EndPaint(w, &ps);
  return 0;
}
}  // namespace

// Shown with the platform's frame, the window is sized again by its skin a
// moment later, which repaints it all: its children are painted once, with
// the skin's frame around them.
TEST_F(SkinFrameTest, AWindowsChildrenArePaintedOnceWhenItIsShownAndSkinned) {
  qvtest::RegisterWindowClass(L"QvInkChild", InkChildProc, GetSysColorBrush(COLOR_WINDOW));
  HWND w = Raw(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
  HWND child = CreateWindowExW(0, L"QvInkChild", L"", WS_CHILD | WS_VISIBLE, 30, 30, 100, 60, w, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  gChildErases = 0;
  ShowWindow(w, SW_SHOWNORMAL);
  ASSERT_NE(Skinned(w), nullptr);
  qvtest::Pump(100);
  EXPECT_EQ(gChildErases, 1);
  RECT r{};
  GetWindowRect(child, &r);
  const std::vector<uint32_t> px = qvtest::ScreenPixels(RECT{r.left + 50, r.top + 30, r.left + 51, r.top + 31});
  ASSERT_EQ(px.size(), 1u);
  EXPECT_EQ(px[0], 0x20C040u);
}

TEST_F(SkinFrameTest, AControlMadeAnewLosesItsOldSkin) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  HWND old = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, w, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto* skin = new TSkinControl(nullptr);
  skin->hwnd = old;
  skin->skinform = sf;
  sf->AddControlList(skin);
  const size_t listed = sf->controls.Controllist.size();
  // Another window's handle changes nothing.
  SendMessageW(w, SM_CONTROLRECREATED, reinterpret_cast<WPARAM>(w), 0);
  EXPECT_EQ(sf->controls.Controllist.size(), listed);
  DestroyWindow(old);
  SendMessageW(w, SM_CONTROLRECREATED, reinterpret_cast<WPARAM>(old), 0);
  EXPECT_EQ(sf->controls.Controllist.size(), listed - 1);
  EXPECT_EQ(std::find(sf->controls.Controllist.begin(), sf->controls.Controllist.end(), skin), sf->controls.Controllist.end());
}

// A control skin paints as it takes up a changed skin, and a paint may free
// another skin of the window: one that left the list meanwhile is not
// changed.
TEST_F(SkinFrameTest, ASkinChangePassesOverControlSkinsThatLeftMeanwhile) {
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  struct Counted : TSkinControl {
    using TSkinControl::TSkinControl;
    void SkinChange() override {
      ++changes;
      if (then) then();
    }
    int changes = 0;
    std::function<void()> then;
  };
  auto* first = new Counted(nullptr);
  auto second = std::make_unique<Counted>(nullptr);
  sf->AddControlList(first);
  sf->AddControlList(second.get());
  first->then = [&] { sf->DeleteControl(second.get()); };
  sf->SkinChange();
  EXPECT_EQ(first->changes, 1);
  EXPECT_EQ(second->changes, 0);
}

namespace {
int gLeaves = 0;
LRESULT CALLBACK LeaveCountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == CM_MOUSELEAVE) ++gLeaves;
  return DefWindowProcW(w, msg, wp, lp);
}
}  // namespace

// A raw window's controls get no mouse-leave from a class library: the
// skin tells the hot one when the cursor has left it or the frame went
// inactive.
TEST_F(SkinFrameTest, TheHotControlOfARawWindowHearsThatTheMouseLeft) {
  qvtest::RegisterWindowClass(L"QvLeaveCounter", LeaveCountingProc);
  HWND w = Raw();
  ShowWindow(w, SW_SHOWNORMAL);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  HWND child = CreateWindowExW(0, L"QvLeaveCounter", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, w, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  auto* skin = new TSkinControl(nullptr);
  skin->hwnd = child;
  skin->skinform = sf;
  sf->AddControlList(skin);
  RECT cr{};
  GetWindowRect(child, &cr);
  skin->boundsrect = Rect(cr.left, cr.top, cr.right, cr.bottom);
  gLeaves = 0;
  // Over it: still hot.
  SetCursorPos(cr.left + 5, cr.top + 5);
  sf->controls.Activeskincontrol = skin;
  sf->TimerTick(nullptr);
  EXPECT_EQ(sf->controls.Activeskincontrol, skin);
  EXPECT_EQ(gLeaves, 0);
  // Away from it: told once, and no longer hot.
  SetCursorPos(cr.right + 60, cr.bottom + 60);
  sf->TimerTick(nullptr);
  EXPECT_EQ(sf->controls.Activeskincontrol, nullptr);
  EXPECT_EQ(gLeaves, 1);
  // The frame going inactive stops the timer, so it tells at once.
  SetCursorPos(cr.left + 5, cr.top + 5);
  sf->controls.Activeskincontrol = skin;
  SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(sf->controls.Activeskincontrol, nullptr);
  EXPECT_EQ(gLeaves, 2);
  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
}
