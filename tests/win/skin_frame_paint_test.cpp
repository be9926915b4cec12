// The skinned frame painted from a test skin whose pieces are distinct solid
// colours, read back pixel by pixel: each border in its active and inactive
// image, the close button, the caption text at each alignment, the
// minimised caption, the frame painted on request into a given DC, the
// region cut at key-coloured corners, and the caption button's hint after
// the application's pauses. Also the caption
// buttons' pointers across a skin change, a skin freed inside its own
// window's message, and a form that refuses resizes getting its native
// frame back.
#include <gtest/gtest.h>

#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/WinString.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/FrameCodedSkin.h"

using namespace qv;
using qvtest::FrameStrip;

namespace {

// Active and inactive image of each piece (0x00BBGGRR).
constexpr TColor kLeft[2] = {0x0000C0, 0x000060};
constexpr TColor kRight[2] = {0x00C000, 0x006000};
constexpr TColor kTop[2] = {0xC00000, 0x600000};
constexpr TColor kBottom[2] = {0xC0C000, 0x606000};
constexpr TColor kClose[4] = {0x40A0FF, 0x2080C0, 0x60C0FF, 0x808080};
constexpr TColor kTextActive = 0xFFFFFF, kTextInactive = 0x00FFFF, kFace = 0xE0E0E0;
constexpr int kSide = 6, kCaption = 24, kFoot = 5, kBorderLen = 40;

// A side border whose outer corners are cut (three key pixels each, top and
// bottom), in both images.
std::unique_ptr<TBitmap> SideStrip(const TColor (&colours)[2], bool rightSide) {
  auto bmp = FrameStrip({colours[0], colours[1]}, kSide, kBorderLen);
  for (int image = 0; image < 2; ++image) {
    const int outer = image * kSide + (rightSide ? kSide - 1 : 0);
    const int inward = rightSide ? -1 : 1;
    for (int y : {0, kBorderLen - 1}) {
      bmp->SetPixel(outer, y, kSkinKeyColor);
      bmp->SetPixel(outer + inward, y, kSkinKeyColor);
      bmp->SetPixel(outer, y == 0 ? 1 : kBorderLen - 2, kSkinKeyColor);
    }
  }
  return bmp;
}

void SetBorder(TSkinData& d, int index, std::unique_ptr<TBitmap> map, const TRect& margins, int trans) {
  auto& e = d.border[index];
  if (!e) e = std::make_unique<TDataSkinBorder>(u"Border");
  e->Map = std::move(map);
  e->r = margins;
  e->frame = 2;
  e->Tile = 1;
  e->trans = trans;
}

// The test skin over a loaded one: solid borders, a title without a back
// image, one close button.
void MakeSolidSkin(TSkinData& d) {
  SetBorder(d, 1, SideStrip(kLeft, false), Rect(0, 10, 0, 10), 1);
  SetBorder(d, 2, SideStrip(kRight, true), Rect(0, 10, 0, 10), 1);
  SetBorder(d, 3, FrameStrip({kTop[0], kTop[1]}, 40, kCaption, true), Rect(4, 0, 4, 0), 0);
  SetBorder(d, 4, FrameStrip({kBottom[0], kBottom[1]}, 40, kFoot, true), Rect(4, 0, 4, 0), 0);
  d.Title->Map = std::make_unique<TBitmap>();
  d.Title->r = Rect(10, 0, 40, 0);  // the text ends left of the close button
  d.Title->backleft = d.Title->backright = 0;
  d.Title->Aligment = 0;
  d.Colors[1] = kTextActive;
  d.Colors[2] = kTextInactive;
  d.Colors[3] = kFace;
  d.SysBtn.clear();
  auto close = std::make_unique<TDataSkinSysButton>(u"Close");
  close->Map = FrameStrip({kClose[0], kClose[1], kClose[2], kClose[3]}, 16, 14);
  close->frame = 4;
  close->Action = 0;
  close->Align = 1;
  close->XCoord = 30;
  close->YCoord = 4;
  d.SysBtn.push_back(std::move(close));
  d.fSkinOptions |= 1u << xoCaptionButtonHint;
}

LRESULT CALLBACK PaintRawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// What the test window's own procedure does with a message of the skin's.
struct RawHooks {
  UINT freeSkinOn = 0;  // frees the window's skin outright inside this message
};
RawHooks gHooks;

LRESULT CALLBACK PaintRawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (gHooks.freeSkinOn && msg == gHooks.freeSkinOn && SkinManager) {
    gHooks.freeSkinOn = 0;
    // As a form freeing its components does: no deferral.
    delete SkinManager->FindForm(w);
  }
  return DefWindowProcW(w, msg, wp, lp);
}

using qvtest::Centre;
using qvtest::ScreenLParam;
using qvtest::WindowSize;

class SkinFramePaintTest : public qvtest::SkinWindowFixture {
 protected:
  static void SetUpTestSuite() { InitApplication(); }

  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvFramePaintWindow", PaintRawProc);
    gHooks = RawHooks{};
    data = qvtest::LoadProgramSkin(MakeSolidSkin);
    ASSERT_FALSE(data->Empty);
    ASSERT_NE(SkinManager, nullptr);
  }

  void TearDown() override {
    Application->SetHintPause(500);
    Application->SetHintHidePause(2500);
    SkinWindowFixture::TearDown();
  }

  HWND Raw(const wchar_t* text = L"Quillvault Test", int w = 400, int h = 300) {
    return RawWindow(L"QvFramePaintWindow", text, WS_OVERLAPPEDWINDOW, 50, 50, w, h);
  }

  TWinSkinForm* ShownSkinned(HWND w) {
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
    return Skinned(w);
  }

  // Shown, active, and its caption buttons laid out.
  TWinSkinForm* ShownActive(HWND w) {
    TWinSkinForm* sf = ShownSkinned(w);
    if (sf) {
      SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
      SendMessageW(w, SM_NCREPAINT, 0, 0);
    }
    return sf;
  }

  std::unique_ptr<TBitmap> Painted(HWND w, TWinSkinForm* sf) { return qvtest::PaintedFrame(w, sf); }

  // The test skin's one close button, laid out or not.
  TWinSysButton* Close(TWinSkinForm* sf) { return qvtest::SysButtonOf(sf, 0, false); }

  // Columns of the caption strip holding text ink (any colour other than the
  // caption's own), between the side borders and left of the close button.
  std::pair<int, int> InkColumns(const TBitmap& bmp, TWinSkinForm* sf, TColor caption) {
    const int stop = Close(sf)->bounds.Left;
    int first = -1, last = -1;
    for (int x = sf->frame.bw.Left; x < stop; ++x)
      for (int y = 0; y < sf->frame.bw.Top; ++y)
        if (bmp.Pixel(x, y) != caption) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return {first, last};
  }

  int SpaceWidth(TWinSkinForm* sf) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, sf->frame.CaptionFont->Handle());
    SIZE s{};
    GetTextExtentPoint32W(dc, L" ", 1, &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return s.cx;
  }

};

}  // namespace

TEST_F(SkinFramePaintTest, EachPieceIsPaintedInItsActiveAndInactiveImage) {
  HWND w = Raw();
  TWinSkinForm* sf = ShownSkinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_EQ(sf->frame.bw.Left, kSide);
  ASSERT_EQ(sf->frame.bw.Top, kCaption);
  ASSERT_EQ(sf->frame.bw.Right, kSide);
  ASSERT_EQ(sf->frame.bw.Bottom, kFoot);
  const SIZE s = WindowSize(w);
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    SendMessageW(w, WM_NCACTIVATE, active, 0);
    EXPECT_EQ(sf->frame.FWindowActive, active);
    const int i = active ? 0 : 1;
    auto p = Painted(w, sf);
    for (int y = 2; y < s.cy - 2; y += 9) {
      EXPECT_EQ(p->Pixel(2, y), kLeft[i]) << y;
      EXPECT_EQ(p->Pixel(s.cx - 3, y), kRight[i]) << y;
    }
    for (int x = kSide; x < s.cx - kSide; x += 13) EXPECT_EQ(p->Pixel(x, s.cy - 2), kBottom[i]) << x;
    // The caption's top rows, above the text and the button.
    for (int x = kSide; x < s.cx - kSide; x += 13) EXPECT_EQ(p->Pixel(x, 1), kTop[i]) << x;
    // The close button: image 1 while active, 4 (disabled look) while not.
    TWinSysButton* close = Close(sf);
    ASSERT_NE(close, nullptr);
    ASSERT_TRUE(close->visible);
    EXPECT_EQ(close->bounds, Rect(s.cx - 30, 4, s.cx - 14, 18));
    EXPECT_EQ(p->Pixel(close->bounds.Left + 8, close->bounds.Top + 7), active ? kClose[0] : kClose[3]);
    // The caption text in the colour of the state, and the client area untouched.
    const auto ink = InkColumns(*p, sf, kTop[i]);
    ASSERT_GE(ink.first, 0);
    int textColoured = 0;
    for (int x = ink.first; x <= ink.second; ++x)
      for (int y = 0; y < kCaption; ++y) textColoured += p->Pixel(x, y) == (active ? kTextActive : kTextInactive);
    EXPECT_GT(textColoured, 10);
    EXPECT_EQ(p->Pixel(s.cx / 2, s.cy / 2), 0x123456);
  }
  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
}

// The frame without the window behind it: the face colour where the client
// is, the side and bottom borders, the caption with its text and button.
TEST_F(SkinFramePaintTest, TheClipMapHoldsBordersAndTitleOverTheFaceColour) {
  HWND w = Raw();
  TWinSkinForm* sf = ShownActive(w);
  ASSERT_NE(sf, nullptr);
  const SIZE s = WindowSize(w);
  TBitmap map;
  sf->getClipMap(map);
  ASSERT_EQ(map.Width(), s.cx);
  ASSERT_EQ(map.Height(), s.cy);
  for (int y = 2; y < s.cy - 2; y += 9) {
    EXPECT_EQ(map.Pixel(2, y), kLeft[0]) << y;
    EXPECT_EQ(map.Pixel(s.cx - 3, y), kRight[0]) << y;
  }
  for (int x = kSide; x < s.cx - kSide; x += 13) {
    EXPECT_EQ(map.Pixel(x, s.cy - 2), kBottom[0]) << x;
    EXPECT_EQ(map.Pixel(x, 1), kTop[0]) << x;
  }
  TWinSysButton* close = Close(sf);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(map.Pixel(close->bounds.Left + 8, close->bounds.Top + 7), kClose[0]);
  int text = 0;
  for (int x = kSide; x < close->bounds.Left; ++x)
    for (int y = 0; y < kCaption; ++y) text += map.Pixel(x, y) == kTextActive;
  EXPECT_GT(text, 10);
  for (int y = kCaption; y < s.cy - kFoot; y += 17) EXPECT_EQ(map.Pixel(s.cx / 2, y), kFace) << y;
}

TEST_F(SkinFramePaintTest, TheCaptionTextSitsWhereItsAlignmentPutsIt) {
  HWND w = Raw();
  TWinSkinForm* sf = ShownSkinned(w);
  ASSERT_NE(sf, nullptr);
  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
  const SIZE s = WindowSize(w);
  const TRect R = Rect(sf->frame.bw.Left, 0, s.cx - sf->frame.bw.Right, sf->frame.bw.Top);
  const int space = SpaceWidth(sf);
  ASSERT_GT(space, 0);
  std::pair<int, int> ink[3];
  int textWidth[3];
  for (int align = 0; align < 3; ++align) {
    SCOPED_TRACE(align);
    data->Title->Aligment = align;
    auto p = Painted(w, sf);
    ink[align] = InkColumns(*p, sf, kTop[0]);
    ASSERT_GE(ink[align].first, 0);
    // The ink lies inside where the text was drawn.
    EXPECT_GE(ink[align].first, sf->frame.FTitleRect.Left);
    EXPECT_LE(ink[align].second, sf->frame.FTitleRect.Right);
    textWidth[align] = sf->frame.FTitleRect.Width();
  }
  // Left: from the title's left margin, after the two leading spaces.
  EXPECT_EQ(ink[0].first > R.Left + 10, true);
  EXPECT_LE(ink[0].first, R.Left + 10 + 2 * space + 2);
  // Centre: the text (with its two spaces before and one after) centred.
  const int centre = (ink[1].first + ink[1].second) / 2;
  EXPECT_NEAR(centre, (R.Left + R.Right) / 2 + space / 2, space + 2);
  // Right: ends at the title's right margin, before the trailing space.
  EXPECT_LT(ink[2].second, R.Right - 40);
  EXPECT_GE(ink[2].second, R.Right - 40 - space - 2);
  // The same text each time.
  EXPECT_EQ(textWidth[0], textWidth[1]);
  EXPECT_EQ(ink[0].second - ink[0].first, ink[2].second - ink[2].first);
}

TEST_F(SkinFramePaintTest, AMinimisedWindowGetsOnlyItsCaptionOverTheFaceColour) {
  HWND w = Raw();
  TWinSkinForm* sf = ShownSkinned(w);
  ASSERT_NE(sf, nullptr);
  sf->frame.Windowstate = swsMin;
  auto p = Painted(w, sf);
  sf->frame.Windowstate = swsNormal;
  const SIZE s = WindowSize(w);
  // The caption runs over the whole width; below it only the face colour,
  // the client area included.
  EXPECT_EQ(p->Pixel(1, 1), kTop[0]);
  EXPECT_EQ(p->Pixel(s.cx - 2, 1), kTop[0]);
  EXPECT_EQ(p->Pixel(2, s.cy / 2), kFace);
  EXPECT_EQ(p->Pixel(s.cx / 2, s.cy / 2), kFace);
  EXPECT_EQ(p->Pixel(s.cx / 2, s.cy - 2), kFace);
}

TEST_F(SkinFramePaintTest, TheRegionCutsTheKeyColouredCornersAndKeepsTheRest) {
  HWND w = Raw();
  TWinSkinForm* sf = ShownSkinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_TRUE(sf->frame.crop);
  const SIZE s = WindowSize(w);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  const int r = s.cx - 1, b = s.cy - 1;
  struct Corner {
    int x, y, dx, dy;  // the corner pixel and the way inward
  } corners[] = {{0, 0, 1, 1}, {r, 0, -1, 1}, {0, b, 1, -1}, {r, b, -1, -1}};
  for (const Corner& c : corners) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_FALSE(PtInRegion(rgn, c.x, c.y));
    EXPECT_FALSE(PtInRegion(rgn, c.x + c.dx, c.y));
    EXPECT_FALSE(PtInRegion(rgn, c.x, c.y + c.dy));
    EXPECT_TRUE(PtInRegion(rgn, c.x + 2 * c.dx, c.y));
    EXPECT_TRUE(PtInRegion(rgn, c.x, c.y + 2 * c.dy));
    EXPECT_TRUE(PtInRegion(rgn, c.x + c.dx, c.y + c.dy));
  }
  // The edges between the corners, the caption and the client stay whole.
  EXPECT_TRUE(PtInRegion(rgn, 0, s.cy / 2));
  EXPECT_TRUE(PtInRegion(rgn, r, s.cy / 2));
  EXPECT_TRUE(PtInRegion(rgn, s.cx / 2, 0));
  EXPECT_TRUE(PtInRegion(rgn, s.cx / 2, b));
  EXPECT_TRUE(PtInRegion(rgn, s.cx / 2, s.cy / 2));
  DeleteObject(rgn);
  // A new size gets a region of its own, cut at the new corners.
  SetWindowPos(w, nullptr, 0, 0, s.cx + 30, s.cy + 20, SWP_NOMOVE | SWP_NOZORDER);
  rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, s.cx + 29, s.cy + 19));
  EXPECT_TRUE(PtInRegion(rgn, s.cx + 27, s.cy + 19));
  EXPECT_TRUE(PtInRegion(rgn, r, b));
  DeleteObject(rgn);
}

TEST_F(SkinFramePaintTest, TheHintShowsAfterThePauseAndGoesAfterTheHidePause) {
  Application->SetHintPause(50);        // shown from 100 ms of hovering
  Application->SetHintHidePause(300);   // hidden from 400 ms
  HWND w = Raw();
  TWinSkinForm* sf = ShownActive(w);
  ASSERT_NE(sf, nullptr);
  TWinSysButton* close = Close(sf);
  ASSERT_NE(close, nullptr);
  RECT wr{};
  GetWindowRect(w, &wr);
  const TPoint c = Centre(close->bounds);
  SetCursorPos(wr.left + c.X, wr.top + c.Y);
  SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenLParam(w, c));
  ASSERT_EQ(sf->frame.ActiveBtn, close);
  EXPECT_FALSE(data->IsHint());
  const DWORD start = GetTickCount();
  ASSERT_TRUE(qvtest::WaitUntil([&] { return data->IsHint(); }, 2000));
  EXPECT_GE(GetTickCount() - start, 90u);
  ASSERT_NE(data->fhintwindow, nullptr);
  EXPECT_EQ(data->fhintwindow->Text(), u"Close");
  EXPECT_TRUE(IsWindowVisible(data->fhintwindow->Handle()));
  // Shown below the cursor, from the button's left edge.
  RECT hr{};
  GetWindowRect(data->fhintwindow->Handle(), &hr);
  EXPECT_EQ(hr.left, wr.left + close->bounds.Left);
  EXPECT_EQ(hr.top, wr.top + c.Y + 24);
  EXPECT_TRUE(qvtest::WaitUntil([&] { return !data->IsHint(); }, 2000));
  EXPECT_FALSE(IsWindowVisible(data->fhintwindow->Handle()));
  EXPECT_EQ(sf->frame.ActiveBtn, close);
  // Leaving the button: no longer hot, and the count starts again.
  SetCursorPos(wr.left + 150, wr.top + 150);
  EXPECT_TRUE(qvtest::WaitUntil([&] { return sf->frame.ActiveBtn == nullptr; }, 2000));
  EXPECT_EQ(close->state, TNCState::Normal);
}

TEST_F(SkinFramePaintTest, ADisabledButtonStillGetsItsHint) {
  Application->SetHintPause(50);
  Application->SetHintHidePause(2000);
  HWND w = Raw();
  TWinSkinForm* sf = ShownActive(w);
  ASSERT_NE(sf, nullptr);
  TWinSysButton* close = Close(sf);
  ASSERT_NE(close, nullptr);
  close->enabled = false;
  RECT wr{};
  GetWindowRect(w, &wr);
  const TPoint c = Centre(close->bounds);
  SetCursorPos(wr.left + c.X, wr.top + c.Y);
  SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenLParam(w, c));
  ASSERT_EQ(sf->frame.ActiveBtn, close);
  EXPECT_TRUE(qvtest::WaitUntil([&] { return data->IsHint(); }, 1500));
  SetCursorPos(wr.left + 150, wr.top + 150);
}

TEST_F(SkinFramePaintTest, ASkinChangeLeavesNoPointerToTheFreedButtons) {
  HWND w = Raw();
  TWinSkinForm* sf = ShownActive(w);
  ASSERT_NE(sf, nullptr);
  TWinSysButton* close = Close(sf);
  ASSERT_NE(close, nullptr);
  const LPARAM on = ScreenLParam(w, Centre(close->bounds));
  SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, on);
  ASSERT_EQ(sf->frame.ActiveBtn, close);
  // The skin changes while the button is held: the manager rebuilds every
  // caption button.
  SkinManager->UpdateData = data;
  SkinManager->SetAction(TSkinAction::SkinChanged, 10);
  // (A new button may reuse the old one's memory: it is told apart by its
  // state, as new buttons start normal.)
  ASSERT_TRUE(qvtest::WaitUntil([&] { return Close(sf) && Close(sf)->state == TNCState::Normal; }, 3000));
  EXPECT_EQ(sf->frame.ActiveBtn, nullptr);
  // The release over the new button finds it afresh: it was never pressed,
  // so nothing is posted; the timer and a move away touch nothing freed.
  qvtest::DropPosted(w, WM_SYSCOMMAND);
  MSG m{};
  SendMessageW(w, SM_NCREPAINT, 0, 0);
  SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, ScreenLParam(w, Centre(Close(sf)->bounds)));
  EXPECT_FALSE(PeekMessageW(&m, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
  sf->TimerTick(nullptr);
  SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenLParam(w, TPoint{60, 8}));
  EXPECT_EQ(sf->frame.ActiveBtn, nullptr);
  EXPECT_TRUE(IsWindow(w));
}

// A window's skin freed outright inside a message it passed on (as a form
// freeing its components does): nothing of the skin runs afterwards, so the
// window keeps what unskinning gave it back.
TEST_F(SkinFramePaintTest, ASkinFreedInsideItsWindowsMessageTouchesNothingAfterwards) {
  for (const UINT msg : {static_cast<UINT>(WM_SIZE), static_cast<UINT>(WM_NCHITTEST),
                         static_cast<UINT>(WM_NCCALCSIZE), static_cast<UINT>(WM_ERASEBKGND)}) {
    SCOPED_TRACE(msg);
    HWND w = Raw();
    TWinSkinForm* sf = ShownSkinned(w);
    ASSERT_NE(sf, nullptr);
    ASSERT_TRUE(sf->frame.crop);
    gHooks.freeSkinOn = msg;
    const SIZE s = WindowSize(w);
    switch (msg) {
      case WM_SIZE:
      case WM_NCCALCSIZE:
        SetWindowPos(w, nullptr, 0, 0, s.cx + 17, s.cy + 11, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        break;
      case WM_NCHITTEST:
        SendMessageW(w, WM_NCHITTEST, 0, ScreenLParam(w, TPoint{s.cx / 2, 8}));
        break;
      default:
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        break;
    }
    EXPECT_EQ(gHooks.freeSkinOn, 0u);
    EXPECT_EQ(SkinManager->FindForm(w), nullptr);
    // Unskinned: the window's own procedure and no region, even after a
    // size change that a live skin would have answered with a new region.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), PaintRawProc);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, rgn), ERROR);
    DeleteObject(rgn);
    DestroyWindow(w);
  }
}

TEST_F(SkinFramePaintTest, AFormThatRefusesResizesGetsItsNativeFrameBackWhenUnskinned) {
  TForm* form = Own(new TForm(nullptr));
  form->SetBounds(70, 70, 320, 220);
  form->HandleNeeded();
  const SIZE client = qvtest::ClientSize(form->Handle());
  const SIZE native = WindowSize(form->Handle());
  form->OnCanResize = [](TObject*, int&, int&, bool& resize) { resize = false; };
  form->Show();
  TWinSkinForm* sf = Skinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  EXPECT_EQ(WindowSize(form->Handle()).cx, client.cx + 2 * kSide);
  EXPECT_EQ(WindowSize(form->Handle()).cy, client.cy + kCaption + kFoot);
  sf->UnSubclass();
  TWinSkinForm::Free(sf);
  EXPECT_EQ(WindowSize(form->Handle()).cx, native.cx);
  EXPECT_EQ(WindowSize(form->Handle()).cy, native.cy);
  EXPECT_EQ(qvtest::ClientSize(form->Handle()).cx, client.cx);
  EXPECT_EQ(qvtest::ClientSize(form->Handle()).cy, client.cy);
  // Other resizes are still refused.
  SetWindowPos(form->Handle(), nullptr, 0, 0, native.cx + 50, native.cy + 50, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowSize(form->Handle()).cx, native.cx);
}

TEST_F(SkinFramePaintTest, AFormPaintsItsFrameIntoTheDeviceContextItIsGiven) {
  TForm* form = Own(new TForm(nullptr));
  form->SetBounds(80, 80, 300, 200);
  form->Show();
  TWinSkinForm* sf = Skinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  const SIZE s = WindowSize(form->Handle());
  auto target = [&] { return qvtest::Bmp(s.cx, s.cy, 0x123456); };
  // Without the magic value: swallowed, nothing painted.
  auto untouched = target();
  EXPECT_EQ(form->Perform(SM_PAINTBORDER, reinterpret_cast<WPARAM>(BitmapCanvas(*untouched).Handle()), 7), 0);
  EXPECT_EQ(untouched->Pixel(2, s.cy / 2), 0x123456);
  // With it: the whole frame, and the magic value as the answer.
  auto painted = target();
  EXPECT_EQ(form->Perform(SM_PAINTBORDER, reinterpret_cast<WPARAM>(BitmapCanvas(*painted).Handle()), SkinPaintMagic),
            static_cast<LRESULT>(SkinPaintMagic));
  EXPECT_EQ(painted->Pixel(2, s.cy / 2), sf->frame.FWindowActive ? kLeft[0] : kLeft[1]);
  EXPECT_EQ(painted->Pixel(s.cx / 2, s.cy - 2), sf->frame.FWindowActive ? kBottom[0] : kBottom[1]);
  EXPECT_EQ(painted->Pixel(s.cx / 2, s.cy / 2), 0x123456);
  // No DC: the answer alone.
  EXPECT_EQ(form->Perform(SM_PAINTBORDER, 0, SkinPaintMagic), static_cast<LRESULT>(SkinPaintMagic));
}
