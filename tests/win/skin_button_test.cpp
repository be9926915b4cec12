// The push button skin on real buttons: each look of the button read back
// from a memory bitmap with a test skin whose five frames are distinct solid
// colours, the parent showing through a transparent button, the "||" line
// break, the focus rectangle option, and the click: once per press and
// release over the button, none when released outside, WM_COMMAND from raw
// buttons, and handlers that free the button or its skin before the click
// returns.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::DC;
using namespace qvtest::strip;

namespace {

constexpr TColor kFace = 0x808080, kText = 0x102030, kParent = 0x30A050, kWhite = 0xFFFFFF, kMagenta = 0xFF00FF;
constexpr int kW = 75, kH = 40;

std::unique_ptr<TSkinData> ButtonSkin() {
  auto d = qvtest::ButtonStripSkin({kNormal, kPressed, kDisabled, kHot, kFocused}, kFace);
  d->Colors[4] = kText;
  return d;
}

// Rows (top to bottom) holding a pixel other than the frame colour, grouped
// into bands separated by empty rows.
int InkBands(TBitmap& b, TColor frame) {
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < b.Height(); ++y) {
    bool ink = false;
    for (int x = 4; x < b.Width() - 4 && !ink; ++x) ink = b.Pixel(x, y) != frame;
    if (ink && !inBand) ++bands;
    inBand = ink;
  }
  return bands;
}

// Raw buttons' parent: counts the WM_COMMANDs it gets.
struct Command {
  WPARAM wparam;
  LPARAM lparam;
};
std::vector<Command> gCommands;

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) gCommands.push_back({wp, lp});
  return DefWindowProcW(w, msg, wp, lp);
}

struct SkinButtonTest : qvtest::SkinControlFixture {
  static void SetUpTestSuite() { RegisterRawClass(L"QvButtonHost", HostProc); }

  void SetUp() override {
    gCommands.clear();
    data = ButtonSkin();
    MakeForm(kW, kH);
    button->SetCaption(u"OK");
    button->OnClick = [this](TObject*) { ++clicks; };
    ShowWindow(form->Handle(), SW_SHOWNA);
    skin = Attach<TSkinButton>(TControlSkinClass::SkinButton, button);
    SetFocus(edit->Handle());
  }

  // The button as the skin paints it now, in a memory bitmap.
  std::unique_ptr<TBitmap> Painted(TSkinControl* s = nullptr) {
    auto b = Bmp(kW, kH, kWhite);
    (s ? s : skin)->PaintControl(DC(*b));
    return b;
  }
  TColor Look(TSkinControl* s = nullptr) { return Painted(s)->Pixel(3, 3); }

  void Press(HWND w, int x = 10, int y = 10) { SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Release(HWND w, int x = 10, int y = 10) {
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  }

  TSkinButton* skin = nullptr;
  int clicks = 0;
};

// ---------------------------------------------------------------------------
// Looks

TEST_F(SkinButtonTest, EveryLookHasItsFrame) {
  EXPECT_EQ(Look(), kNormal);

  SetFocus(button->Handle());
  EXPECT_EQ(Look(), kFocused);
  SetFocus(edit->Handle());
  button->SetDefault(true);
  EXPECT_EQ(Look(), kFocused);  // default looks like focused
  button->SetDefault(false);

  SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Look(), kHot);
  SetFocus(button->Handle());
  EXPECT_EQ(Look(), kHot);  // hot beats focused

  Press(button->Handle());
  EXPECT_EQ(Look(), kPressed);

  button->SetEnabled(false);
  EXPECT_EQ(Look(), kDisabled);  // disabled beats pressed and hot
  button->SetEnabled(true);

  SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skin->state, 0u);
  SetFocus(edit->Handle());
  EXPECT_EQ(Look(), kNormal);
}

TEST_F(SkinButtonTest, TheSpaceKeyMirrorsThePressedLook) {
  SetFocus(button->Handle());
  SendMessageW(button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Look(), kPressed);
  SendMessageW(button->Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(Look(), kFocused);
}

TEST_F(SkinButtonTest, TheWindowItselfIsPaintedFromTheSkin) {
  UpdateWindow(form->Handle());
  InvalidateRect(button->Handle(), nullptr, TRUE);
  UpdateWindow(button->Handle());
  HDC dc = GetDC(button->Handle());
  EXPECT_EQ(GetPixel(dc, 3, 3), static_cast<COLORREF>(kNormal));
  ReleaseDC(button->Handle(), dc);
  // WM_PRINTCLIENT-style painting into a given DC goes the same way.
  auto b = qvtest::DrawnBy(button->Handle(), WM_PAINT, SIZE{kW, kH}, kWhite);
  EXPECT_EQ(b->Pixel(3, 3), kNormal);
  EXPECT_EQ(SendMessageW(button->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC(*b)), 0), 1);
}

TEST_F(SkinButtonTest, NoPictureOrNoFramesDrawsNothing) {
  data->Button->frame = 0;
  EXPECT_EQ(Look(), kFace);  // the face under a strip that cannot be cut
  data->Button->frame = -2;
  EXPECT_EQ(Look(), kFace);
  data->Button->Map->Clear();
  EXPECT_EQ(Look(), kWhite);
  data->Button.reset();
  EXPECT_EQ(Look(), kWhite);
}

TEST_F(SkinButtonTest, ATransparentButtonShowsItsParentThroughTheKeyColour) {
  auto* panel = new TPanel(form.get());
  panel->SetBounds(100, 8, 200, 120);
  panel->SetColor(kParent);
  panel->SetBevelOuter(bvNone);
  panel->SetParent(form.get());
  auto* inner = new TButton(form.get());
  inner->SetBounds(20, 20, kW, kH);
  inner->SetParent(panel);
  data->Button->trans = 1;
  FillRect(*data->Button->Map, Rect(0, 0, 100, 20), kMagenta);
  FillRect(*data->Button->Map, Rect(0, 0, 100, 2), kNormal);

  auto* flat = new TSkinButton(inner);
  flat->Init(nullptr, data.get(), nullptr, false);
  EXPECT_FALSE(flat->trans);
  auto b = Painted(flat);
  EXPECT_EQ(b->Pixel(3, 0), kNormal);
  EXPECT_EQ(b->Pixel(3, 30), kFace);
  delete flat;

  inner->SetTag(kTagTransparent);
  auto* see = new TSkinButton(inner);
  see->Init(nullptr, data.get(), nullptr, false);
  EXPECT_TRUE(see->trans);
  b = Painted(see);
  EXPECT_EQ(b->Pixel(3, 0), kNormal);
  EXPECT_EQ(b->Pixel(3, 30), kParent);
  delete see;

  inner->SetTag(0);
  data->SetOptions(SetOf({xoTransparent}));
  auto* option = new TSkinButton(inner);
  option->Init(nullptr, data.get(), nullptr, false);
  EXPECT_TRUE(option->trans);
  EXPECT_EQ(Painted(option)->Pixel(3, 30), kParent);
}

TEST_F(SkinButtonTest, OnlyTheFirstDoubleBarBreaksTheCaption) {
  EXPECT_EQ(ReplaceFirst(u"A||B||C", u"||", u"\r\n"), u"A\r\nB||C");
  EXPECT_EQ(ReplaceFirst(u"AB", u"||", u"\r\n"), u"AB");
  button->SetCaption(u"Ab");
  EXPECT_EQ(InkBands(*Painted(), kNormal), 1);
  button->SetCaption(u"A||B");
  EXPECT_EQ(InkBands(*Painted(), kNormal), 2);
  button->SetCaption(u"A||B||C");
  EXPECT_EQ(InkBands(*Painted(), kNormal), 2);
  EXPECT_EQ(skin->caption, u"A\r\nB||C");
}

TEST_F(SkinButtonTest, TheFocusRectangleCanBeSwitchedOff) {
  SetFocus(button->Handle());
  const int with = qvtest::CountNot(*Painted(), kFocused);
  data->SetOptions(SetOf({xoNoFocusRect}));
  const int without = qvtest::CountNot(*Painted(), kFocused);
  EXPECT_GT(with, without + 10);
}

TEST_F(SkinButtonTest, DisabledCaptionsComeInTheShadowColour) {
  button->SetCaption(u"MMMM");
  button->SetEnabled(false);
  auto b = Painted();
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  bool found = false;
  for (int y = 0; y < kH && !found; ++y)
    for (int x = 0; x < kW && !found; ++x) found = b->Pixel(x, y) == static_cast<TColor>(shadow);
  EXPECT_TRUE(found);
}

// ---------------------------------------------------------------------------
// Clicks

TEST_F(SkinButtonTest, PressAndReleaseOverTheButtonClicksOnce) {
  Press(button->Handle());
  EXPECT_EQ(GetFocus(), button->Handle());
  EXPECT_EQ(clicks, 0);
  Release(button->Handle());
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(skin->state & kStatePressed, 0u);

  // A release without a press is no click; nor is a double-click's second
  // release without its press.
  Release(button->Handle());
  EXPECT_EQ(clicks, 1);
  SendMessageW(button->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  Release(button->Handle());
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtonTest, ReleasedOutsideThereIsNoClick) {
  Press(button->Handle());
  Release(button->Handle(), -5, 200);
  EXPECT_EQ(clicks, 0);

  // The usual road: the mouse leaves while held, the release goes elsewhere.
  Press(button->Handle());
  SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Look(), kFocused);
  Release(button->Handle());
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 0);
}

TEST_F(SkinButtonTest, RawButtonsTellTheirParent) {
  HWND host = MakeWindow(L"QvButtonHost", WS_OVERLAPPEDWINDOW, Bounds(400, 40, 200, 120), nullptr, L"host");
  HWND raw = MakeWindow(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, Bounds(8, 8, kW, kH), host, L"Raw", 0,
                        reinterpret_cast<HMENU>(42));
  auto* rs = new TSkinButton(form.get());
  rs->Inithwnd(raw, data.get(), nullptr, nullptr);
  EXPECT_EQ(rs->kind, 0);
  EXPECT_FALSE(rs->trans);
  EXPECT_EQ(Look(rs), kNormal);
  Press(raw);
  EXPECT_EQ(Look(rs), kPressed);
  Release(raw);
  Application->ProcessMessages();
  ASSERT_EQ(gCommands.size(), 1u);  // the native button never clicked by itself
  EXPECT_EQ(gCommands[0].wparam, 42u);
  EXPECT_EQ(gCommands[0].lparam, reinterpret_cast<LPARAM>(raw));
  delete rs;

  // A raw "TButton" window says wParam 0.
  gCommands.clear();
  HWND t =
      MakeWindow(L"TButton", WS_CHILD | WS_VISIBLE, Bounds(8, 60, kW, 24), host, L"T", 0, reinterpret_cast<HMENU>(43));
  ASSERT_NE(t, nullptr);
  auto* ts = new TSkinButton(form.get());
  ts->Inithwnd(t, data.get(), nullptr, nullptr);
  Press(t);
  Release(t);
  Application->ProcessMessages();
  ASSERT_EQ(gCommands.size(), 1u);
  EXPECT_EQ(gCommands[0].wparam, 0u);
  delete ts;
}

TEST_F(SkinButtonTest, AClickThatFreesTheButtonReturnsSafely) {
  button->OnClick = [this](TObject*) {
    delete button;  // frees its skin as well
    button = nullptr;
    skin = nullptr;
  };
  Press(button->Handle());
  Release(button->Handle());
  EXPECT_EQ(button, nullptr);
  Application->ProcessMessages();
  EXPECT_EQ(form->ComponentCount(), 1);
}

TEST_F(SkinButtonTest, AClickWhoseNestedLoopUnskinsTheButtonReturnsSafely) {
  HWND h = button->Handle();
  button->OnClick = [this](TObject*) {
    ++clicks;
    // As the backup run does: pump messages, among them one that unskins.
    PostMessageW(form->Handle(), WM_NULL, 0, 0);
    delete skin;
    skin = nullptr;
    Application->ProcessMessages();
  };
  Press(h);
  Release(h);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(h, SM_QUERYSKINNED, 0, 0), 0);
  // The button is its own again: the native press clicks it.
  SendMessageW(h, BM_CLICK, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtonTest, ClassNamesBeginningTrzOrTelAreKindOne) {
  EXPECT_EQ(skin->kind, 0);
  struct TRzButton : TButton {
    using TButton::TButton;
    const TClassInfo& ClassType() const override {
      static const TClassInfo& info = TClassBuilder<TRzButton>(u"TRzButton", TButton::StaticClass()).Done();
      return info;
    }
  };
  auto* rz = new TRzButton(form.get());
  rz->SetBounds(100, 40, kW, kH);
  rz->SetParent(form.get());
  auto* s = new TSkinButton(rz);
  s->Init(nullptr, data.get(), nullptr, false);
  EXPECT_EQ(s->kind, 1);
  int rzClicks = 0;
  rz->OnClick = [&rzClicks](TObject*) { ++rzClicks; };
  Press(rz->Handle());
  Release(rz->Handle());
  EXPECT_EQ(rzClicks, 1);  // its click still comes on release
}

}  // namespace
