// Track bar and progress bar skins on real common controls, read back from
// memory bitmaps the controls print into, with pictures whose frames are
// solid colours: the thumb is always frame 2 whatever the control's state,
// the channel keeps its caps in both orientations, and a progress bar fills
// its share from the left or the bottom in both styles, rounded to the
// nearest pixel, or paints itself when the pictures of its style are
// missing. Dragging the thumb and the arrow keys still move a skinned track
// bar.
#include <gtest/gtest.h>

#include "platform/win/ComCtrls.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinProgress.h"
#include "tests/win/FrameCodedSkin.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::CodedElement;
using qvtest::DC;
using qvtest::DrawnBy;
using qvtest::FrameStrip;
using qvtest::WindowSize;

namespace {

constexpr TColor kFace = 0x808080, kLine = 0x204060, kWhite = 0xFFFFFF;
constexpr TColor kThumb[5] = {0x0000C0, 0x00C000, 0xC00000, 0x00C0C0, 0xC000C0};
constexpr TColor kThumbV[5] = {0x000060, 0x006000, 0x600000, 0x006060, 0x600060};
constexpr TColor kCapA = 0x3030F0, kMid = 0x30F030, kCapB = 0xF03030;
constexpr TColor kEmpty = 0x40C0C0, kFull = 0xC04040, kChunk = 0x10A010;

// 12 x 6 (or 6 x 12): 3 pixels of cap, 6 of middle, 3 of cap.
std::unique_ptr<TDataSkinObject> Channel(bool vertical) {
  auto b = vertical ? Bmp(6, 12, kMid) : Bmp(12, 6, kMid);
  FillRect(*b, vertical ? Rect(0, 0, 6, 3) : Rect(0, 0, 3, 6), kCapA);
  FillRect(*b, vertical ? Rect(0, 9, 6, 12) : Rect(9, 0, 12, 6), kCapB);
  auto e = CodedElement(vertical ? u"TRACKVERT" : u"Track", std::move(b));
  e->r = vertical ? Rect(0, 3, 0, 3) : Rect(3, 0, 3, 0);
  return e;
}

std::unique_ptr<TSkinData> BarSkin() {
  auto d = std::make_unique<TSkinData>(nullptr);
  d->Colors[3] = kFace;
  d->Colors[7] = kLine;
  d->TrackHorz = CodedElement(u"Trackbar.ThumbHorz",
                              FrameStrip({kThumb[0], kThumb[1], kThumb[2], kThumb[3], kThumb[4]}, 11, 19), 5);
  d->TrackVert = CodedElement(u"Trackbar.ThumbVert",
                              FrameStrip({kThumbV[0], kThumbV[1], kThumbV[2], kThumbV[3], kThumbV[4]}, 19, 11), 5);
  d->TrackBar = Channel(false);
  d->TrackBarVert = Channel(true);
  return d;
}

RECT ThumbRect(HWND w) {
  RECT r{};
  SendMessageW(w, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// ---------------------------------------------------------------------------
// Track bar

struct SkinTrackBarTest : qvtest::SkinControlFixture {
  void Make(TTrackBarOrientation o) {
    data = BarSkin();
    MakeForm(75, 25);
    bar = new TTrackBar(form.get());
    bar->SetOrientation(o);
    if (o == trVertical) bar->SetBounds(140, 8, 40, 180);
    else bar->SetBounds(8, 80, 240, 40);
    bar->SetParent(form.get());
    bar->SetPosition(5);
    bar->OnChange = [this](TObject*) { ++changes; };
    ShowWindow(form->Handle(), SW_SHOWNA);
    Attach(TControlSkinClass::SkinTrackBar, bar);
  }

  // The control as it prints itself (custom draw included).
  std::unique_ptr<TBitmap> Printed() {
    return DrawnBy(bar->Handle(), WM_PRINTCLIENT, WindowSize(bar->Handle()), kWhite, PRF_CLIENT | PRF_ERASEBKGND);
  }

  TColor ThumbLook() {
    const POINT c = Centre(ThumbRect(bar->Handle()));
    return Printed()->Pixel(c.x, c.y);
  }

  TTrackBar* bar = nullptr;
  int changes = 0;
};

TEST_F(SkinTrackBarTest, TheThumbIsFrameTwoInEveryState) {
  for (TTrackBarOrientation o : {trHorizontal, trVertical}) {
    SCOPED_TRACE(o == trVertical ? "vertical" : "horizontal");
    Make(o);
    const TColor frame2 = o == trVertical ? kThumbV[1] : kThumb[1];
    HWND w = bar->Handle();
    EXPECT_EQ(ThumbLook(), frame2) << "normal";
    const POINT c = Centre(ThumbRect(w));
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(c.x, c.y));
    EXPECT_EQ(ThumbLook(), frame2) << "hot";
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
    EXPECT_EQ(ThumbLook(), frame2) << "pressed";
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    bar->SetEnabled(false);
    EXPECT_EQ(ThumbLook(), frame2) << "disabled";
    TearDown();
  }
}

TEST_F(SkinTrackBarTest, TheChannelKeepsItsCapsInBothOrientations) {
  for (TTrackBarOrientation o : {trHorizontal, trVertical}) {
    SCOPED_TRACE(o == trVertical ? "vertical" : "horizontal");
    Make(o);
    auto b = Printed();
    const RECT t = ThumbRect(bar->Handle());
    // Along the channel, across the thumb's middle line.
    if (o == trHorizontal) {
      const int y = Centre(t).y, left = 8, right = bar->Width() - 9;
      int first = left, last = right;
      while (first < right && b->Pixel(first, y) != kCapA) ++first;
      while (last > left && b->Pixel(last, y) != kCapB) --last;
      ASSERT_LT(first, t.left);
      ASSERT_GT(last, t.right);
      EXPECT_EQ(b->Pixel(first + 3, y), kMid);
      EXPECT_EQ(b->Pixel(last - 3, y), kMid);
      EXPECT_EQ(b->Pixel(last - 2, y), kCapB);
    } else {
      const int x = Centre(t).x, top = 8, bottom = bar->Height() - 9;
      int first = top, last = bottom;
      while (first < bottom && b->Pixel(x, first) != kCapA) ++first;
      while (last > top && b->Pixel(x, last) != kCapB) --last;
      ASSERT_LT(first, t.top);
      ASSERT_GT(last, t.bottom);
      EXPECT_EQ(b->Pixel(x, first + 3), kMid);
      EXPECT_EQ(b->Pixel(x, last - 3), kMid);
    }
    TearDown();
  }
}

TEST_F(SkinTrackBarTest, NoPicturesLeaveAPlainThumbAndNoChannel) {
  // No thumb picture, or one too narrow for its five frames.
  for (bool narrow : {false, true}) {
    SCOPED_TRACE(narrow ? "narrow thumb" : "no thumb");
    Make(trHorizontal);
    if (narrow) data->TrackHorz->Map = FrameStrip({kThumb[0]}, 4, 19);
    else data->TrackHorz.reset();
    data->TrackBar.reset();
    auto b = Printed();
    const RECT t = ThumbRect(bar->Handle());
    // The thumb's outline in the line colour, and no channel picture anywhere.
    EXPECT_EQ(b->Pixel(t.left, Centre(t).y), kLine);
    for (int x = 0; x < b->Width(); ++x) EXPECT_NE(b->Pixel(x, Centre(t).y), kMid);
    TearDown();
  }
}

TEST_F(SkinTrackBarTest, OnlyReflectedNotificationsAreAnswered) {
  Make(trHorizontal);
  NMCUSTOMDRAW cd{};
  cd.hdr.hwndFrom = bar->Handle();
  cd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
  cd.dwDrawStage = CDDS_PREPAINT;
  // The same number sent by someone else is no notification of the control.
  EXPECT_NE(SendMessageW(bar->Handle(), CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_NOTIFYITEMDRAW);
}

TEST_F(SkinTrackBarTest, DraggingTheThumbAndArrowKeysMoveThePosition) {
  Make(trHorizontal);
  HWND w = bar->Handle();
  POINT c = Centre(ThumbRect(w));
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar->Width() - 2, c.y));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(bar->Width() - 2, c.y));
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_GE(changes, 1);

  const int before = changes;
  SetFocus(w);
  SendMessageW(w, WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(w, WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(bar->Position(), 9);
  EXPECT_GT(changes, before);
  // Still painted by the skin after all that.
  EXPECT_EQ(ThumbLook(), kThumb[1]);
}

// ---------------------------------------------------------------------------
// Progress bar

struct SkinProgressTest : qvtest::SkinControlFixture {
  void Make(TProgressBarOrientation o, int style) {
    data = std::make_unique<TSkinData>(nullptr);
    data->Colors[3] = kFace;
    data->progress = CodedElement<TDataSkinBorder>(
        u"progress", style == 1 ? FrameStrip({kEmpty}, 10, 10) : FrameStrip({kEmpty, kFull}, 10, 10), 2);
    data->progress->style = style;
    data->progresschunk = CodedElement(u"progresschunk", Bmp(8, 6, kChunk));
    data->progresschunk->Tile = 1;
    MakeForm(75, 25);
    bar = new TProgressBar(form.get());
    bar->SetOrientation(o);
    if (o == pbVertical) bar->SetBounds(200, 8, 20, kLength);
    else bar->SetBounds(8, 80, kLength, 20);
    bar->SetParent(form.get());
    form->Handle();
    Attach(TControlSkinClass::SkinProgress, bar);
  }

  std::unique_ptr<TBitmap> Painted() {
    return DrawnBy(bar->Handle(), WM_PAINT, WindowSize(bar->Handle()), kWhite);
  }

  // The colour `along` pixels from where the bar starts to fill.
  static TColor At(TBitmap& b, bool vertical, int along) {
    return vertical ? b.Pixel(b.Width() / 2, b.Height() - 1 - along) : b.Pixel(along, b.Height() / 2);
  }

  static constexpr int kLength = 240;
  TProgressBar* bar = nullptr;
};

TEST_F(SkinProgressTest, FillsItsShareInBothStylesAndOrientations) {
  struct Case {
    int style, lo, hi, pos;
    int filled;  // pixels from the start
  };
  const Case cases[] = {
      {0, 20, 120, 20, 0}, {0, 20, 120, 70, kLength / 2}, {0, 20, 120, 120, kLength},
      // Style 1 measures from 0 and starts its chunks 2 pixels in.
      {1, 20, 120, 20, 2 + kLength * 20 / 120}, {1, 20, 120, 70, 2 + kLength * 70 / 120}, {1, 0, 120, 0, 0},
  };
  for (TProgressBarOrientation o : {pbHorizontal, pbVertical}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (o == pbVertical ? "vertical" : "horizontal") << " style " << c.style
                                      << " pos " << c.pos);
      Make(o, c.style);
      SendMessageW(bar->Handle(), PBM_SETRANGE32, c.lo, c.hi);
      SendMessageW(bar->Handle(), PBM_SETPOS, c.pos, 0);
      auto b = Painted();
      const bool v = o == pbVertical;
      const TColor fill = c.style == 1 ? kChunk : kFull;
      if (c.filled > 3) {
        EXPECT_EQ(At(*b, v, c.filled - 3), fill);
      }
      if (c.filled + 3 < kLength) {
        EXPECT_EQ(At(*b, v, c.filled + 3), kEmpty);
      }
      TearDown();
    }
  }
}

TEST_F(SkinProgressTest, ARangeWithoutWidthShowsTheEmptyBar) {
  Make(pbHorizontal, 0);
  SendMessageW(bar->Handle(), PBM_SETRANGE32, 50, 50);
  SendMessageW(bar->Handle(), PBM_SETPOS, 50, 0);
  auto b = Painted();
  EXPECT_EQ(At(*b, false, 3), kEmpty);
  EXPECT_EQ(At(*b, false, kLength - 3), kEmpty);
}

TEST_F(SkinProgressTest, WithoutThePicturesOfItsStyleTheBarPaintsItself) {
  // Style 1 without a chunk, a two-frame picture too narrow for its frames,
  // no picture at all: the control's own full bar, not a blank one.
  struct Case {
    int style;
    void (*takeAway)(TSkinData&);
  };
  const Case cases[] = {
      {1, [](TSkinData& d) { d.progresschunk->Map->Clear(); }},
      {0, [](TSkinData& d) { d.progress->Map = Bmp(1, 10, kEmpty); }},
      {0, [](TSkinData& d) { d.progress->Map->Clear(); }},
  };
  const auto ownBar = static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    Make(pbHorizontal, c.style);
    c.takeAway(*data);
    SendMessageW(bar->Handle(), PBM_SETRANGE32, 0, 100);
    SendMessageW(bar->Handle(), PBM_SETPOS, 100, 0);
    EXPECT_EQ(At(*Painted(), false, kLength / 2), ownBar);
    TearDown();
  }
}

TEST_F(SkinProgressTest, TheFillIsRoundedToTheNearestPixel) {
  struct Case {
    int width, pos, lo, hi, filled;
  };
  const Case cases[] = {
      {240, 1, 0, 160, 2},  // 1.5
      {100, 2, 0, 3, 67},   // 66.7
      {100, 1, 0, 3, 33},   // 33.3
      {100, 150, 0, 100, 100},
      {100, -5, 0, 100, 0},
      {100, 5, 5, 5, 0},
      {100, 0, INT32_MIN, INT32_MAX, 50},
      {100, INT32_MAX, INT32_MIN, INT32_MAX, 100},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgressFill(c.width, c.pos, c.lo, c.hi), c.filled)
        << c.width << " " << c.pos << " " << c.lo << " " << c.hi;
}

}  // namespace
