// Edit, up-down and date-time picker skins on real windows: a test skin
// whose picture frames are distinct solid colours, painted into memory
// bitmaps and read back from the screen. The edit's frame, its print
// frame and client painting; the up-down found inside an edit; the arrow
// frames of the up-down by cursor, press and style; the picker's frame and
// the arrow button laid over its own; skins without usable pictures.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/StdCtrls.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::Pump;
using qvtest::WindowPixels;
using qvtest::WindowSize;

namespace {

constexpr TColor kFace = 0xC0C8D0, kShadow = 0x503010, kDarkShadow = 0x102030, kWhite = 0xFFFFFF;
constexpr TColor kForeign = 0x123456;
// Frames 1-8 of VSpin and HSpin, 1-4 of the combo-box arrow, 1-8 of the glyph strip.
constexpr TColor kV[9] = {0, 0x0000C0, 0x00C000, 0xC00000, 0x00C0C0, 0xC000C0, 0xC0C000, 0x4080C0, 0xC08040};
constexpr TColor kH[9] = {0, 0x000060, 0x006000, 0x600000, 0x006060, 0x600060, 0x606000, 0x204060, 0x604020};
constexpr TColor kA[5] = {0, 0x3060A0, 0x60A030, 0xA03060, 0x30A060};
constexpr TColor kM[9] = {0, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070, 0x909090};

// n solid frames of w x h side by side.
void FillStrip(TBitmap& b, const TColor* colours, int n, int w = 6, int h = 6) {
  b.SetSize(n * w, h);
  for (int i = 0; i < n; ++i) FillRect(b, Bounds(i * w, 0, w, h), colours[i + 1]);
}

std::unique_ptr<TSkinData> TestSkin() {
  auto data = std::make_unique<TSkinData>(nullptr);
  data->Colors[3] = kFace;
  data->Colors[7] = kShadow;
  data->Colors[8] = kDarkShadow;
  data->VSpin = std::make_unique<TDataSkinBorder>(u"UpDown.Vert");
  FillStrip(*data->VSpin->Map, kV, 8);
  data->VSpin->frame = 8;
  data->HSpin = std::make_unique<TDataSkinBorder>(u"UpDown.Horz");
  FillStrip(*data->HSpin->Map, kH, 8);
  data->HSpin->frame = 8;
  data->comboxarrow = std::make_unique<TDataSkinObject>(u"ComboxArrow");
  FillStrip(*data->comboxarrow->Map, kA, 4);
  data->comboxarrow->frame = 4;
  return data;
}


// What the skin paints for the whole window, into a bitmap of its size.
std::unique_ptr<TBitmap> Painted(TSkinControl* skin) {
  const SIZE s = WindowSize(skin->hwnd);
  auto b = Bmp(s.cx, s.cy, kForeign);
  skin->PaintControl(BitmapCanvas(*b).Handle());
  return b;
}

// Every pixel of the ring d pixels inside the bitmap's edge.
::testing::AssertionResult Ring(const TBitmap& b, int d, TColor want) {
  const int W = b.Width(), H = b.Height();
  for (int y = d; y < H - d; ++y)
    for (int x = d; x < W - d; ++x) {
      const bool edge = y == d || y == H - 1 - d || x == d || x == W - 1 - d;
      if (edge && b.Pixel(x, y) != want)
        return ::testing::AssertionFailure() << "ring " << d << " at " << x << "," << y << ": " << std::hex
                                             << b.Pixel(x, y) << " want " << want;
    }
  return ::testing::AssertionSuccess();
}

bool AllOf(const TBitmap& b, TColor want) { return qvtest::CountNot(b, want) == 0; }

void CursorTo(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  SetCursorPos(p.x, p.y);
}

// A date-time picker of the class library's kind: the system picker under
// a class-library control, optionally with its button on the left.
class TTestPicker : public TWinControl {
  QV_CLASS(TTestPicker)
 public:
  explicit TTestPicker(TComponent* owner, bool left = false) : TWinControl(owner), left_(left) {
    width_ = 160, height_ = 24;
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClassName = u"SysDateTimePick32";
    p.exStyle |= WS_EX_CLIENTEDGE | (left_ ? WS_EX_LEFTSCROLLBAR : 0);
  }

 private:
  bool left_;
};

const TClassInfo& TTestPicker::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTestPicker>(u"TTestPicker", TWinControl::StaticClass()).Done();
  return info;
}

class SkinEditTest : public qvtest::SkinControlFixture {
 protected:
  static void SetUpTestSuite() {
    RegisterRawClass(L"QvEditHost", DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
  }

  void SetUp() override {
    data = TestSkin();
    owner = std::make_unique<TComponent>(nullptr);
    // Away from every window, so that no arrow counts as under the cursor.
    SetCursorPos(0, 0);
    host = MakeWindow(L"QvEditHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 420, 300), nullptr, L"Edits");
    SetForegroundWindow(host);
  }

  // The raw windows' skins go first, while their windows live.
  void TearDown() override {
    owner.reset();
    SkinControlFixture::TearDown();
  }

  HWND Child(const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h, HWND parent = nullptr) {
    return MakeWindow(cls, WS_CHILD | WS_VISIBLE | style, Bounds(x, y, w, h), parent ? parent : host, L"", exStyle);
  }

  template <class T>
  T* SkinRaw(HWND w) {
    auto* skin = new T(owner.get());
    skin->Inithwnd(w, data.get(), nullptr, nullptr);
    return skin;
  }

  // A class-library control of class C on a shown form at (20, 20).
  template <class C, class... A>
  C* OnForm(A... args) {
    auto* c = new C(NewForm(120, 120, 360, 240), args...);
    c->SetParent(form.get());
    c->SetLeft(20);
    c->SetTop(20);
    form->Show();
    return c;
  }

  // S attached to the control through its WindowProc.
  template <class S>
  S* SkinOf(TWinControl* c) {
    auto* skin = new S(c);
    skin->Init(nullptr, data.get(), nullptr, false);
    return skin;
  }

  std::unique_ptr<TComponent> owner;
  HWND host = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------
// The edit's frame

TEST_F(SkinEditTest, BorderedEditGetsAThreePixelFrameDarkOutside) {
  HWND edit = Child(L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 120, 24);
  auto* skin = SkinRaw<TSkinEdit>(edit);
  auto b = Painted(skin);
  EXPECT_TRUE(Ring(*b, 0, kShadow));
  EXPECT_TRUE(Ring(*b, 1, kWhite));
  EXPECT_TRUE(Ring(*b, 2, kWhite));
  EXPECT_EQ(b->Pixel(20, 12), kForeign) << "the client is the edit's own";

  // The real window shows it after the edit painted itself, and keeps it
  // when the edit takes the focus and repaints.
  InvalidateRect(edit, nullptr, TRUE);
  UpdateWindow(edit);
  auto shown = WindowPixels(edit);
  EXPECT_TRUE(Ring(*shown, 0, kShadow));
  EXPECT_TRUE(Ring(*shown, 2, kWhite));
  SetFocus(edit);
  SendMessageW(edit, WM_CHAR, L'q', 0);
  Pump(50);
  shown = WindowPixels(edit);
  EXPECT_TRUE(Ring(*shown, 0, kShadow));
  EXPECT_TRUE(Ring(*shown, 1, kWhite));

  HWND flat = Child(L"EDIT", 0, 0, 10, 50, 120, 24);
  EXPECT_TRUE(AllOf(*Painted(SkinRaw<TSkinEdit>(flat)), kForeign)) << "no border, no frame";
}

TEST_F(SkinEditTest, ClassLibraryEditIsFramedThroughItsWindowProc) {
  auto* edit = OnForm<TEdit>();
  edit->SetBounds(20, 20, 150, 24);
  auto* skin = SkinOf<TSkinEdit>(edit);
  ASSERT_EQ(skin->hwnd, edit->Handle());
  edit->SetText(u"框架");
  UpdateWindow(edit->Handle());
  auto shown = WindowPixels(edit->Handle());
  EXPECT_TRUE(Ring(*shown, 0, kShadow));
  EXPECT_TRUE(Ring(*shown, 1, kWhite));
  EXPECT_TRUE(Ring(*shown, 2, kWhite));
}

TEST_F(SkinEditTest, PrintedEditGetsTheDarkRingAndThePrintersBrushInside) {
  HWND edit = Child(L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 120, 24);
  SkinRaw<TSkinEdit>(edit);
  auto b = Bmp(120, 24, kForeign);
  HDC dc = BitmapCanvas(*b).Handle();
  constexpr TColor kPrinter = 0x00A0FF;
  HBRUSH brush = CreateSolidBrush(kPrinter);
  HGDIOBJ old = SelectObject(dc, brush);
  SendMessageW(edit, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
  SelectObject(dc, old);
  DeleteObject(brush);
  EXPECT_TRUE(Ring(*b, 0, kShadow));
  EXPECT_TRUE(Ring(*b, 1, kPrinter));

  // A thin border (one pixel) is printed as the edit drew it.
  HWND thin = Child(L"EDIT", WS_BORDER, 0, 10, 50, 120, 24);
  SkinRaw<TSkinEdit>(thin);
  auto t = Bmp(120, 24, kForeign);
  SendMessageW(thin, WM_PRINT, reinterpret_cast<WPARAM>(BitmapCanvas(*t).Handle()), PRF_NONCLIENT);
  EXPECT_FALSE(Ring(*t, 0, kShadow));
}

TEST_F(SkinEditTest, PaintClientWithTheMagicPaintsTheClientAndAnswersIt) {
  HWND edit = Child(L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 120, 24);
  SetWindowTextW(edit, L"MMMMMMMM");
  SkinRaw<TSkinEdit>(edit);
  auto b = Bmp(120, 24, kForeign);
  const WPARAM dc = reinterpret_cast<WPARAM>(BitmapCanvas(*b).Handle());
  EXPECT_EQ(SendMessageW(edit, SM_PAINTCLIENT, dc, 0), 0);
  EXPECT_TRUE(AllOf(*b, kForeign));
  EXPECT_EQ(SendMessageW(edit, SM_PAINTCLIENT, 0, SkinPaintMagic), static_cast<LRESULT>(SkinPaintMagic));
  EXPECT_EQ(SendMessageW(edit, SM_PAINTCLIENT, dc, SkinPaintMagic), static_cast<LRESULT>(SkinPaintMagic));
  EXPECT_FALSE(AllOf(*b, kForeign)) << "the edit painted its text there";
  EXPECT_NE(b->Pixel(0, 0), kShadow) << "no frame over a client picture";
}

// ---------------------------------------------------------------------------
// The up-down inside an edit

TEST_F(SkinEditTest, UpDownInsideAnEditIsFoundAtPaintAndSkinnedOnce) {
  auto* edit = OnForm<TEdit>();
  edit->SetBounds(20, 20, 150, 24);
  auto* skin = SkinOf<TSkinEdit>(edit);
  UpdateWindow(edit->Handle());
  EXPECT_EQ(skin->updown, nullptr) << "nothing to find yet";

  HWND ud = Child(UPDOWN_CLASSW, UDS_ARROWKEYS, 0, 128, 0, 18, 20, edit->Handle());
  InvalidateRect(edit->Handle(), nullptr, TRUE);
  UpdateWindow(edit->Handle());
  ASSERT_NE(skin->updown, nullptr);
  TSkinUpDown* found = skin->updown;
  EXPECT_EQ(found->hwnd, ud);
  EXPECT_TRUE(found->inedit);
  EXPECT_EQ(found->Owner(), edit) << "owned like the edit's own skin";
  EXPECT_EQ(SendMessageW(ud, SM_QUERYSKINNED, 0, 0), 1);
  InvalidateRect(edit->Handle(), nullptr, TRUE);
  UpdateWindow(edit->Handle());
  EXPECT_EQ(skin->updown, found) << "one skin per up-down";

  // A new window for the edit: the old up-down's skin goes with it, and
  // one in the new window is found as the first was.
  edit->RecreateWnd();
  EXPECT_EQ(skin->updown, nullptr);
  ud = Child(UPDOWN_CLASSW, UDS_ARROWKEYS, 0, 128, 0, 18, 20, edit->Handle());
  InvalidateRect(edit->Handle(), nullptr, TRUE);
  UpdateWindow(edit->Handle());
  ASSERT_NE(skin->updown, nullptr);
  EXPECT_EQ(skin->updown->hwnd, ud);
  found = skin->updown;

  // The up-down's skin going first leaves the edit's skin without it.
  DestroyWindow(ud);
  delete found;
  EXPECT_EQ(skin->updown, nullptr);

  // Without xcSpin in the skin's controls the up-down keeps its own look.
  data->SetSkinControls(data->SkinControls() & ~SetOf({xcSpin}));
  HWND raw = Child(L"EDIT", 0, WS_EX_CLIENTEDGE, 10, 10, 150, 24);
  HWND inner = Child(UPDOWN_CLASSW, 0, 0, 128, 0, 16, 20, raw);
  auto* rawSkin = SkinRaw<TSkinEdit>(raw);
  Painted(rawSkin);
  EXPECT_EQ(rawSkin->updown, nullptr);
  EXPECT_EQ(SendMessageW(inner, SM_QUERYSKINNED, 0, 0), 0);
}

TEST_F(SkinEditTest, ArrowsInsideAnEditKeepThreePixelsOffItsEdges) {
  // 120 x 24 with a 2-pixel client edge; the up-down 1 pixel above the
  // client, so its top lies 1 pixel below the edit's, and 1 pixel short of
  // the edit's right and bottom edges.
  HWND edit = Child(L"EDIT", 0, WS_EX_CLIENTEDGE, 10, 10, 120, 24);
  HWND ud = Child(UPDOWN_CLASSW, 0, 0, 0, 0, 16, 22, edit);
  const int W = WindowSize(ud).cx;
  SetWindowPos(ud, nullptr, 116 + 1 - W, -1, W, 22, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(WindowSize(ud).cy, 22);
  auto* skin = SkinRaw<TSkinEdit>(edit);
  Painted(skin);
  ASSERT_NE(skin->updown, nullptr);
  ASSERT_EQ(skin->updown->hwnd, ud);
  auto b = Painted(skin->updown);
  // Arrows in (0, 2, W - 2, 20), split at row 2 + 9; white around them.
  EXPECT_EQ(b->Pixel(5, 1), kWhite);
  EXPECT_EQ(b->Pixel(5, 2), kV[1]);
  EXPECT_EQ(b->Pixel(5, 10), kV[1]);
  EXPECT_EQ(b->Pixel(5, 11), kV[5]);
  EXPECT_EQ(b->Pixel(5, 19), kV[5]);
  EXPECT_EQ(b->Pixel(5, 20), kWhite);
  EXPECT_EQ(b->Pixel(W - 3, 5), kV[1]);
  EXPECT_EQ(b->Pixel(W - 2, 5), kWhite);
}

// ---------------------------------------------------------------------------
// Up-down arrows

TEST_F(SkinEditTest, UpDownArrowFramesFollowCursorPressAndEnabledState) {
  HWND ud = Child(UPDOWN_CLASSW, 0, 0, 10, 10, 16, 40);
  auto* skin = SkinRaw<TSkinUpDown>(ud);
  auto b = Painted(skin);
  EXPECT_EQ(b->Pixel(10, 5), kV[1]);
  EXPECT_EQ(b->Pixel(10, 35), kV[5]);

  // Hot shows on the arrow under the cursor only.
  CursorTo(ud, 10, 5);
  skin->state |= kStateHot;
  b = Painted(skin);
  EXPECT_EQ(b->Pixel(10, 5), kV[4]);
  EXPECT_EQ(b->Pixel(10, 35), kV[5]);
  skin->state &= ~kStateHot;

  // A press in the lower half: frame 6 there, the upper arrow as it was.
  CursorTo(ud, 10, 30);
  SendMessageW(ud, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 30));
  EXPECT_TRUE(skin->state & kStatePressed);
  b = Painted(skin);
  EXPECT_EQ(b->Pixel(10, 35), kV[6]);
  EXPECT_EQ(b->Pixel(10, 5), kV[1]);
  auto shown = WindowPixels(ud);
  EXPECT_EQ(shown->Pixel(10, 35), kV[6]) << "painted at once on the window";
  SendMessageW(ud, WM_LBUTTONUP, 0, MAKELPARAM(10, 30));
  EXPECT_FALSE(skin->state & kStatePressed);
  EXPECT_EQ(Painted(skin)->Pixel(10, 35), kV[5]);

  EnableWindow(ud, FALSE);
  b = Painted(skin);
  EXPECT_EQ(b->Pixel(10, 5), kV[3]);
  EXPECT_EQ(b->Pixel(10, 35), kV[7]);
}

TEST_F(SkinEditTest, HorizontalUpDownTakesHSpinLeftThenRight) {
  HWND ud = Child(UPDOWN_CLASSW, UDS_HORZ, 0, 10, 10, 40, 20);
  auto* skin = SkinRaw<TSkinUpDown>(ud);
  auto b = Painted(skin);
  EXPECT_EQ(b->Pixel(5, 10), kH[1]);
  EXPECT_EQ(b->Pixel(35, 10), kH[5]);
  CursorTo(ud, 30, 10);
  SendMessageW(ud, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  b = Painted(skin);
  EXPECT_EQ(b->Pixel(35, 10), kH[6]);
  EXPECT_EQ(b->Pixel(5, 10), kH[1]);
  SendMessageW(ud, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
}

TEST_F(SkinEditTest, UpDownPaintsItselfAndErasesWhite) {
  HWND ud = Child(UPDOWN_CLASSW, 0, 0, 10, 10, 16, 40);
  SkinRaw<TSkinUpDown>(ud);
  auto b = Bmp(WindowSize(ud).cx, 40, kForeign);
  HDC dc = BitmapCanvas(*b).Handle();
  EXPECT_EQ(SendMessageW(ud, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  EXPECT_TRUE(AllOf(*b, kWhite));
  SendMessageW(ud, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(b->Pixel(10, 5), kV[1]);
  InvalidateRect(ud, nullptr, TRUE);
  UpdateWindow(ud);
  EXPECT_EQ(WindowPixels(ud)->Pixel(10, 35), kV[5]);
}

TEST_F(SkinEditTest, UpDownGlyphIsCentredUnscaledOverItsArrow) {
  FillStrip(*data->VSpin->MaskMap, kM, 8, 4, 4);
  HWND ud = Child(UPDOWN_CLASSW, 0, 0, 10, 10, 16, 40);
  ASSERT_EQ(WindowSize(ud).cx, 16);
  auto b = Painted(SkinRaw<TSkinUpDown>(ud));
  // Up arrow (0, 0, 16, 20): glyph box at (6, 8)-(10, 12).
  EXPECT_EQ(b->Pixel(6, 8), kM[1]);
  EXPECT_EQ(b->Pixel(9, 11), kM[1]);
  EXPECT_EQ(b->Pixel(5, 8), kV[1]);
  EXPECT_EQ(b->Pixel(10, 11), kV[1]);
  EXPECT_EQ(b->Pixel(6, 7), kV[1]);
  EXPECT_EQ(b->Pixel(7, 29), kM[5]);
}

TEST_F(SkinEditTest, UpDownWithoutUsableSpinPictureDrawsPlainArrowsOrFace) {
  data->VSpin.reset();
  HWND ud = Child(UPDOWN_CLASSW, 0, 0, 10, 10, 16, 40);
  ASSERT_EQ(WindowSize(ud).cx, 16);
  auto* skin = SkinRaw<TSkinUpDown>(ud);
  auto b = Painted(skin);
  EXPECT_EQ(b->Pixel(0, 0), kDarkShadow);
  EXPECT_EQ(b->Pixel(15, 19), kDarkShadow);
  EXPECT_EQ(b->Pixel(0, 20), kDarkShadow) << "the down arrow's own rectangle";
  EXPECT_EQ(b->Pixel(3, 3), kFace);
  EXPECT_EQ(b->Pixel(8, 20 / 2 - 2), kDarkShadow) << "the up arrow's tip";
  EXPECT_EQ(b->Pixel(3, 23), kFace);
  CursorTo(ud, 10, 30);
  SendMessageW(ud, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 30));
  b = Painted(skin);
  EXPECT_EQ(b->Pixel(3, 23), kShadow) << "pressed face";
  EXPECT_EQ(b->Pixel(3, 3), kFace);
  SendMessageW(ud, WM_LBUTTONUP, 0, MAKELPARAM(10, 30));

  // An element without a picture is as good as none; a strip that claims
  // no frames cannot be cut and leaves the face (glyphs included).
  data->VSpin = std::make_unique<TDataSkinBorder>(u"UpDown.Vert");
  data->VSpin->frame = 8;
  EXPECT_EQ(Painted(skin)->Pixel(0, 0), kDarkShadow);
  FillStrip(*data->VSpin->Map, kV, 8);
  FillStrip(*data->VSpin->MaskMap, kM, 8, 4, 4);
  for (int frames : {0, -3}) {
    data->VSpin->frame = frames;
    EXPECT_TRUE(AllOf(*Painted(skin), kFace)) << frames;
  }
}

// ---------------------------------------------------------------------------
// Date-time picker

TEST_F(SkinEditTest, PickerGetsATwoPixelFrameAndTheArrowButtonOverItsOwn) {
  auto* picker = OnForm<TTestPicker>();
  auto* skin = SkinOf<TSkinDateTime>(picker);
  TArrowButton* arrow = skin->arrow;
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->Owner(), skin);
  EXPECT_FALSE(arrow->TabStop());
  const int cw = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(GetParent(arrow->Handle()), picker->Handle());
  EXPECT_TRUE(IsWindowVisible(arrow->Handle()));
  EXPECT_EQ(arrow->Left(), 160 - cw - 4);
  EXPECT_EQ(arrow->Top(), 0);
  EXPECT_EQ(arrow->Width(), cw);
  EXPECT_EQ(arrow->Height(), 20);
  EXPECT_TRUE(GetWindowLongPtrW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);

  auto b = Painted(skin);
  EXPECT_TRUE(Ring(*b, 0, kShadow));
  EXPECT_TRUE(Ring(*b, 1, kWhite));
  EXPECT_FALSE(Ring(*b, 2, kWhite));

  // On the screen: the frame, and the arrow picture where the picker's
  // own button was (the arrow lies in the client, 2 pixels in).
  InvalidateRect(picker->Handle(), nullptr, TRUE);
  UpdateWindow(picker->Handle());
  UpdateWindow(arrow->Handle());
  auto shown = WindowPixels(picker->Handle());
  EXPECT_TRUE(Ring(*shown, 0, kShadow));
  EXPECT_EQ(shown->Pixel(2 + arrow->Left() + cw / 2, 12), kA[1]);

  // The picker growing moves the arrow with its right edge.
  picker->SetWidth(200);
  UpdateWindow(picker->Handle());
  Painted(skin);
  EXPECT_EQ(arrow->Left(), 200 - cw - 4);

  // A new window for the picker gets the arrow back inside it.
  picker->RecreateWnd();
  EXPECT_EQ(skin->hwnd, picker->Handle());
  EXPECT_EQ(skin->arrow, arrow);
  EXPECT_EQ(GetParent(arrow->Handle()), picker->Handle());
  InvalidateRect(picker->Handle(), nullptr, TRUE);
  UpdateWindow(picker->Handle());
  UpdateWindow(arrow->Handle());
  shown = WindowPixels(picker->Handle());
  EXPECT_TRUE(Ring(*shown, 0, kShadow));
  EXPECT_EQ(shown->Pixel(2 + arrow->Left() + cw / 2, 12), kA[1]);
}

TEST_F(SkinEditTest, ArrowButtonShowsHotOnlyWhileThePickerIsEnabled) {
  auto* picker = OnForm<TTestPicker>();
  auto* skin = SkinOf<TSkinDateTime>(picker);
  TArrowButton* arrow = skin->arrow;
  auto paint = [&] {
    auto b = Bmp(arrow->Width(), arrow->Height(), kForeign);
    arrow->Perform(WM_PAINT, reinterpret_cast<WPARAM>(BitmapCanvas(*b).Handle()));
    return b->Pixel(arrow->Width() / 2, arrow->Height() / 2);
  };
  EXPECT_EQ(paint(), kA[1]);
  arrow->Perform(CM_MOUSEENTER);
  EXPECT_EQ(paint(), kA[4]);
  arrow->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(paint(), kA[1]);
  EnableWindow(picker->Handle(), FALSE);
  arrow->Perform(CM_MOUSEENTER);
  EXPECT_EQ(paint(), kA[1]);
  EnableWindow(picker->Handle(), TRUE);

  // A skin without a cut arrow picture, or without one at all: the face.
  data->comboxarrow->frame = 0;
  EXPECT_EQ(paint(), kFace);
  data->comboxarrow->frame = 4;
  data->comboxarrow->Map->Clear();
  EXPECT_EQ(paint(), kFace);
  data->comboxarrow.reset();
  EXPECT_EQ(paint(), kFace);
}

TEST_F(SkinEditTest, ClickOnTheArrowReachesThePickerAtTheSameSpot) {
  auto* picker = OnForm<TTestPicker>(true);
  std::vector<TMessage> seen;
  TWndMethod old = picker->WindowProc;
  picker->WindowProc = [&seen, old](TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP) seen.push_back(m);
    old(m);
  };
  auto* skin = SkinOf<TSkinDateTime>(picker);
  TArrowButton* arrow = skin->arrow;
  EXPECT_EQ(arrow->Left(), 2) << "the button on the left";
  Painted(skin);
  EXPECT_EQ(arrow->Left(), 2);

  SendMessageW(arrow->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(arrow->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(GetFocus(), picker->Handle());
  ASSERT_TRUE(qvtest::WaitUntil([&] { return seen.size() >= 2; }, 2000));
  EXPECT_EQ(seen[0].Msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(seen[0].WParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(seen[0].LParam, MAKELPARAM(5, 4));
  EXPECT_EQ(seen[1].Msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(seen[1].LParam, MAKELPARAM(5, 4));
}

TEST_F(SkinEditTest, ClickOnTheArrowOpensThePickersCalendar) {
  auto* picker = OnForm<TTestPicker>();
  auto* skin = SkinOf<TSkinDateTime>(picker);
  TArrowButton* arrow = skin->arrow;
  SendMessageW(arrow->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow->Width() / 2, 8));
  const bool opened = qvtest::WaitUntil(
      [&] {
        HWND cal = reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0));
        return cal && IsWindowVisible(cal);
      },
      2000);
  EXPECT_TRUE(opened);
  SendMessageW(picker->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  ReleaseCapture();
}
