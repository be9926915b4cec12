// The media player skin on a real player: the overlay draws each visible
// button from the skin's button strip (frames coded by colour) with the
// right one of our glyph bitmaps, hands a press and a release over the same
// button to the player as exactly one click, keeps presses on a disabled
// player or button from it, and never outlives, or stays away from, its
// player (also one moved while its form is hidden).
#include <gtest/gtest.h>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/MPlayer.h"
#include "platform/win/WinString.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/WMediaPlayer.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::CountColour;
using qvtest::DC;

namespace {

constexpr TColor kFace = 0x808080, kNormal = 0x0000C0, kDown = 0x00C000, kOff = 0xC00000, kOlive = 0x008080;
constexpr int kCell = 30, kH = 30;

struct Click {
  TMPBtnType button;
};

// The one colour of a glyph bitmap of ours (its pixels that are not olive).
TColor GlyphInk(int look, int button) {
  HBITMAP h = LoadBitmapW(GetModuleHandleW(nullptr), W(MPGlyphName(look, button)));
  if (!h) return kOlive;
  TBitmap b;
  AssignBitmapHandle(b, h);
  DeleteObject(h);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != kOlive) return b.Pixel(x, y);
  return kOlive;
}

struct SkinPlayerTest : qvtest::SkinControlFixture {

  void SetUp() override {
    data = qvtest::ButtonStripSkin({kNormal, kDown, kOff, kNormal, kNormal}, kFace);
    data->SetDisableTag(77);
    MakeForm(75, 25);
    player = new TMediaPlayer(form.get());
    player->SetBounds(8, 80, kCell * kMPButtonCount, kH);
    player->SetParent(form.get());
    player->OnClick = [this](TObject*, TMPBtnType b, bool&) { clicks.push_back({b}); };
    player->Open();
    // Counts the releases that reach the player itself.
    const TWndMethod own = player->WindowProc;
    player->WindowProc = [this, own](TMessage& m) {
      if (m.Msg == WM_LBUTTONUP) ++releases;
      own(m);
    };
    ShowWindow(form->Handle(), SW_SHOWNA);
    skin = Attach<TSkinMP>(TControlSkinClass::SkinMP, player);
  }

  std::unique_ptr<TBitmap> Painted() {
    auto b = Bmp(skin->mp->Width(), skin->mp->Height(), 0xFFFFFF);
    skin->mp->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC(*b)), 0);
    return b;
  }

  HWND Overlay() { return skin->mp->Handle(); }
  void Press(int x) { SendMessageW(Overlay(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, kH / 2)); }
  void Release(int x) { SendMessageW(Overlay(), WM_LBUTTONUP, 0, MAKELPARAM(x, kH / 2)); }

  TMediaPlayer* player = nullptr;
  TSkinMP* skin = nullptr;
  std::vector<Click> clicks;
  int releases = 0;
};

TEST_F(SkinPlayerTest, EveryButtonShowsItsFrameAndGlyphInEachState) {
  ASSERT_NE(GlyphInk(0, btPlay), kOlive) << "the glyph resources are linked in";
  // Stopped: pause and stop are disabled; stop is not coloured.
  player->SetColoredButtons(kAllMPButtons & ~MPButtons({btStop, btNext}));
  auto b = Painted();
  for (int i = 0; i < kMPButtonCount; ++i) {
    SCOPED_TRACE(testing::Message() << "button " << i);
    const bool enabled = player->EnabledButtons() & (1u << i);
    const bool coloured = player->ColoredButtons() & (1u << i);
    const TRect cell = Rect(i * kCell, 0, (i + 1) * kCell, kH);
    EXPECT_EQ(b->Pixel(cell.Left + 1, 1), enabled ? kNormal : kOff);
    const int look = !enabled ? 1 : coloured ? 2 : 0;
    EXPECT_GT(CountColour(*b, cell, GlyphInk(look, i)), 10);
    EXPECT_EQ(CountColour(*b, cell, kOlive), 0);
  }
  // Held down, the button takes frame 2 and its glyph moves a pixel.
  const int x = 3 * kCell + kCell / 2;  // next
  auto before = Painted();
  Press(x);
  auto down = Painted();
  EXPECT_EQ(down->Pixel(3 * kCell + 1, 1), kDown);
  EXPECT_EQ(down->Pixel(4 * kCell + 1, 1), kNormal);
  const TRect cell = Rect(3 * kCell, 0, 4 * kCell, kH);
  bool moved = false;
  for (int y = 1; y < kH && !moved; ++y)
    for (int xx = cell.Left + 1; xx < cell.Right && !moved; ++xx)
      moved = before->Pixel(xx - 1, y - 1) != down->Pixel(xx, y) && down->Pixel(xx, y) != kDown;
  EXPECT_FALSE(moved) << "the glyph is drawn one pixel right and down";
  Release(x);
  EXPECT_EQ(Painted()->Pixel(3 * kCell + 1, 1), kNormal);
}

TEST_F(SkinPlayerTest, AClickThroughTheOverlayClicksThatButtonOnce) {
  // Only play and stop: each takes half.
  player->SetVisibleButtons(MPButtons({btPlay, btStop}));
  const int half = player->Width() / 2;
  Press(half + 10);
  Release(half + 10);
  EXPECT_TRUE(clicks.empty()) << "stop is disabled while stopped";
  Press(10);
  Release(10);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].button, btPlay);
  EXPECT_EQ(player->Mode(), mpPlaying);
  Press(half + 10);
  Release(half + 10);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1].button, btStop);
  EXPECT_EQ(player->Mode(), mpStopped);
}

TEST_F(SkinPlayerTest, AReleaseOverAnotherButtonClicksNothing) {
  player->SetVisibleButtons(MPButtons({btPlay, btStop}));
  player->SetEnabledButtons(MPButtons({btPlay, btStop}));
  const int half = player->Width() / 2;
  Press(10);
  EXPECT_EQ(Painted()->Pixel(1, 1), kDown);
  Release(half + 10);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(releases, 0);
  EXPECT_EQ(Painted()->Pixel(1, 1), kNormal);
  Press(10);
  Release(12);
  EXPECT_EQ(releases, 1);
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_EQ(player->Mode(), mpPlaying);
}

TEST_F(SkinPlayerTest, ADisabledButtonOrPlayerIsDrawnDisabledAndTakesNoPress) {
  // Stopped: stop is disabled. A press on it shows nothing pressed and
  // reaches the player neither going down nor coming up.
  const int play = kCell / 2, stop = 2 * kCell + kCell / 2;
  auto before = Painted();
  Press(stop);
  auto held = Painted();
  Release(stop);
  int changed = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 2 * kCell; x < 3 * kCell; ++x) changed += held->Pixel(x, y) != before->Pixel(x, y);
  EXPECT_EQ(changed, 0) << "pixels of stop that moved";
  EXPECT_EQ(releases, 0);

  // A disabled player: every button disabled, whatever its set says, and a
  // click on play changes nothing.
  player->SetEnabled(false);
  auto b = Painted();
  for (int i = 0; i < kMPButtonCount; ++i) {
    SCOPED_TRACE(testing::Message() << "button " << i);
    const TRect cell = Rect(i * kCell, 0, (i + 1) * kCell, kH);
    EXPECT_EQ(b->Pixel(cell.Left + 1, 1), kOff);
    EXPECT_GT(CountColour(*b, cell, GlyphInk(1, i)), 10);
  }
  Press(play);
  EXPECT_EQ(Painted()->Pixel(1, 1), kOff);
  Release(play);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(releases, 0);
  EXPECT_EQ(player->Mode(), mpStopped);

  player->SetEnabled(true);
  EXPECT_EQ(Painted()->Pixel(1, 1), kNormal);
  Press(play);
  Release(play);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SkinPlayerTest, NoVisibleButtonOrNoFramesDrawNothingWrong) {
  player->SetVisibleButtons(0);
  auto b = Painted();
  EXPECT_EQ(CountColour(*b, Rect(0, 0, b->Width(), kH), kFace), b->Width() * kH);
  Press(20);
  Release(20);
  EXPECT_TRUE(clicks.empty());
  player->SetVisibleButtons(kAllMPButtons);
  data->Button->frame = 0;
  b = Painted();
  EXPECT_EQ(CountColour(*b, Rect(0, 0, b->Width(), kH), kNormal), 0);
  EXPECT_GT(CountColour(*b, Rect(0, 0, kCell, kH), GlyphInk(2, btPlay)), 10);
}

TEST_F(SkinPlayerTest, TheOverlayFollowsItsPlayerAndGoesWithIt) {
  TWMediaPlayer* mp = skin->mp;
  ASSERT_NE(mp, nullptr);
  EXPECT_EQ(mp->Tag(), 77);
  EXPECT_TRUE(IsWindowVisible(mp->Handle()));
  player->SetBounds(20, 120, 180, 40);
  EXPECT_EQ(mp->Left(), 20);
  EXPECT_EQ(mp->Top(), 120);
  EXPECT_EQ(mp->Width(), 180);
  EXPECT_EQ(mp->Height(), 40);
  // Directly above the player.
  EXPECT_EQ(GetWindow(player->Handle(), GW_HWNDPREV), mp->Handle());

  player->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(mp->Handle()));
  player->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(mp->Handle()));
  ShowWindow(player->Handle(), SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(mp->Handle()));
  ShowWindow(player->Handle(), SW_SHOWNA);
  // Moved while its form is hidden: back with the form, in the new place.
  ShowWindow(form->Handle(), SW_HIDE);
  player->SetBounds(30, 100, 200, 30);
  ShowWindow(form->Handle(), SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(mp->Handle()));
  EXPECT_EQ(mp->Left(), 30);

  // Re-created: the overlay of the old window goes, a new one lies over
  // the new window.
  auto overlays = [&] {
    int n = 0;
    for (int i = 0; i < form->ControlCount(); ++i) n += form->Controls(i)->Is<TWMediaPlayer>();
    return n;
  };
  EXPECT_EQ(overlays(), 1);
  player->RecreateWnd();
  ASSERT_NE(skin->mp, nullptr);
  EXPECT_EQ(GetWindow(player->Handle(), GW_HWNDPREV), skin->mp->Handle());
  EXPECT_EQ(overlays(), 1);
  delete player;
  EXPECT_EQ(overlays(), 0);
}

TEST_F(SkinPlayerTest, FreeingThePlayerOrItsSkinFreesTheOverlay) {
  HWND overlay = skin->mp->Handle();
  delete player;
  EXPECT_FALSE(IsWindow(overlay));
  for (int i = 0; i < form->ControlCount(); ++i) EXPECT_FALSE(form->Controls(i)->Is<TWMediaPlayer>());

  // A skin freed without being let go first (as a skinned form frees its
  // skins) takes its overlay along too.
  auto* other = new TMediaPlayer(form.get());
  other->SetParent(form.get());
  auto* otherSkin = Attach<TSkinMP>(TControlSkinClass::SkinMP, other);
  overlay = otherSkin->mp->Handle();
  delete otherSkin;
  EXPECT_FALSE(IsWindow(overlay));
}

}  // namespace
