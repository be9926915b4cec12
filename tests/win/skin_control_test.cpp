// The control skin base on real windows: the message protocol
// (SM_SETSKINNED, SM_QUERYSKINNED, WM_NCDESTROY) through both ways of
// attaching (a class-library control's WindowProc, a raw window's procedure),
// the replaced procedure given back only while ours is on top, painting
// through DrawControl with its errors swallowed, a skin freed inside one of
// its own messages, the drawing helpers read back from memory bitmaps, and
// the free functions.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win/ImageList.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinMessages.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::DC;

namespace {

constexpr TColor kProbe = 0x3366CC, kFace = 0x00C0A0, kWhite = 0xFFFFFF, kMagenta = 0xFF00FF;
constexpr TColor kFrame1 = 0x0000FF, kFrame2 = 0x00FF00, kFrame3 = 0xFF0000;

// What the raw test window's own procedure saw, and the skin's calls, in
// one order.
std::vector<UINT> gSeen;
constexpr UINT kUnsubclassMark = 0xFFFF0001;

LRESULT CALLBACK ProbeWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  gSeen.push_back(msg);
  return DefWindowProcW(w, msg, wp, lp);
}

// A procedure installed over the skin's, as other code may do.
WNDPROC gBelow = nullptr;
int gTheirs = 0;
LRESULT CALLBACK AboveWndProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  ++gTheirs;
  return CallWindowProcW(gBelow, h, m, wp, lp);
}

bool Saw(UINT msg) { return std::find(gSeen.begin(), gSeen.end(), msg) != gSeen.end(); }

// A skin that paints one colour and counts; it can be told to fail or to
// free itself on a message.
class TProbeSkin : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void DrawControl(HDC dc, const TRect& rc) override {
    ++draws;
    lastRect = rc;
    if (fail) throw Exception(u"the skin cannot paint");
    FillColorRect(dc, rc, kProbe);
  }
  void Unsubclass() override {
    gSeen.push_back(kUnsubclassMark);
    TSkinControl::Unsubclass();
  }
  void AfterProc(TMessage& Message) override {
    if (Message.Msg == WM_USER + 1) {
      delete this;  // as a click that unskins the window would
      return;
    }
    TSkinControl::AfterProc(Message);
  }
  int draws = 0;
  TRect lastRect;
  bool fail = false;
};

struct SkinControlTest : qvtest::SkinControlFixture {
  static void SetUpTestSuite() { RegisterRawClass(L"QvProbeWindow", ProbeWndProc); }

  void SetUp() override {
    gSeen.clear();
    data = std::make_unique<TSkinData>(nullptr);
    data->Colors[3] = kFace;
    MakeForm(75, 25);
    form->SetColor(0x204060);
  }

  HWND RawWindow(const wchar_t* cls = L"QvProbeWindow", const wchar_t* text = L"raw") {
    return MakeWindow(cls, WS_CHILD | WS_VISIBLE, Bounds(150, 8, 100, 24), form->Handle(), text);
  }
};

// ---------------------------------------------------------------------------
// The message protocol

TEST_F(SkinControlTest, QuerySkinnedIsAnsweredByTheSkinUntilUnsubclass) {
  HWND w = RawWindow();
  auto* skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  EXPECT_EQ(skin->skinstate, TControlSkinState::Active);
  EXPECT_TRUE(skin->Inited);
  gSeen.clear();
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_FALSE(Saw(SM_QUERYSKINNED));

  skin->Unsubclass();
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 0);
  EXPECT_TRUE(Saw(SM_QUERYSKINNED));
  delete skin;
}

TEST_F(SkinControlTest, SetSkinnedZeroPassesEverythingOnUntilAPositiveOneRepaints) {
  HWND w = RawWindow();
  auto* skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  ShowWindow(form->Handle(), SW_SHOWNA);
  UpdateWindow(form->Handle());
  gSeen.clear();

  EXPECT_EQ(SendMessageW(w, SM_SETSKINNED, 0, 0), 0);
  EXPECT_FALSE(skin->skinned);
  EXPECT_FALSE(Saw(SM_SETSKINNED));
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 0);
  EXPECT_TRUE(Saw(SM_QUERYSKINNED));
  const int before = skin->draws;
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(skin->draws, before);  // the window painted itself

  // A negative wParam is off too.
  SendMessageW(w, SM_SETSKINNED, static_cast<WPARAM>(-1), 0);
  EXPECT_FALSE(skin->skinned);

  gSeen.clear();
  SendMessageW(w, SM_SETSKINNED, 2, 0);
  EXPECT_TRUE(skin->skinned);
  EXPECT_FALSE(Saw(SM_SETSKINNED));
  EXPECT_GT(skin->draws, before);  // switched on: repainted at once
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 1);
  delete skin;
}

TEST_F(SkinControlTest, NcDestroyReachesTheWindowFirstAndNothingIsRestoredOnTheDeadHandle) {
  HWND w = RawWindow();
  auto* skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  gSeen.clear();
  DestroyWindow(w);
  const auto nc = std::find(gSeen.begin(), gSeen.end(), static_cast<UINT>(WM_NCDESTROY));
  const auto un = std::find(gSeen.begin(), gSeen.end(), kUnsubclassMark);
  ASSERT_NE(nc, gSeen.end());
  ASSERT_NE(un, gSeen.end());
  EXPECT_LT(nc, un);
  EXPECT_EQ(skin->skinstate, TControlSkinState::Dead);
  EXPECT_FALSE(skin->skinned);
  delete skin;  // the handle is gone: nothing to give back, no crash
}

TEST_F(SkinControlTest, NcDestroyOfAClassLibraryControlLeavesItsColour) {
  edit->SetColor(0x112233);
  auto* skin = new TProbeSkin(edit);
  skin->Init(nullptr, data.get(), nullptr, true);
  EXPECT_EQ(edit->Color(), kFace);
  gSeen.clear();
  edit->DestroyHandle();
  EXPECT_EQ(skin->skinstate, TControlSkinState::Dead);
  EXPECT_NE(std::find(gSeen.begin(), gSeen.end(), kUnsubclassMark), gSeen.end());
  EXPECT_EQ(edit->Color(), kFace);  // the window was gone: colour left alone

  // A live window's Unsubclass gives the colour back.
  auto* other = new TProbeSkin(button);
  button->SetColor(0x445566);
  other->Init(nullptr, data.get(), nullptr, true);
  EXPECT_EQ(button->Color(), kFace);
  other->Unsubclass();
  EXPECT_EQ(button->Color(), 0x445566);
  other->Unsubclass();  // a second time changes nothing
  EXPECT_EQ(button->Color(), 0x445566);
}

// ---------------------------------------------------------------------------
// Attaching and letting go

TEST_F(SkinControlTest, AClassLibraryControlGetsItsWindowProcBack) {
  auto* skin = new TProbeSkin(button);
  skin->Init(nullptr, data.get(), nullptr, false);
  EXPECT_EQ(skin->control, button);
  EXPECT_EQ(skin->hwnd, button->Handle());
  EXPECT_EQ(skin->FObjectInst, nullptr);
  EXPECT_TRUE(skin->OldWndProc);
  EXPECT_EQ(SendMessageW(button->Handle(), SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(button->Perform(SM_QUERYSKINNED), 1);
  skin->Init(nullptr, data.get(), nullptr, true);  // once only
  EXPECT_FALSE(skin->newColor);
  delete skin;
  EXPECT_EQ(SendMessageW(button->Handle(), SM_QUERYSKINNED, 0, 0), 0);
  EXPECT_EQ(button->ComponentCount(), 0);
}

TEST_F(SkinControlTest, AClassLibraryControlReplacedAfterUsKeepsUsAsAPassThrough) {
  auto* skin = new TProbeSkin(edit);
  skin->Init(nullptr, data.get(), nullptr, false);
  auto theirs = std::make_shared<int>(0);
  TWndMethod under = edit->WindowProc;
  edit->WindowProc = [theirs, under](TMessage& m) {
    ++*theirs;
    under(m);
  };
  delete skin;
  // Still theirs on top, calling ours, which only passes on now.
  EXPECT_EQ(SendMessageW(edit->Handle(), SM_QUERYSKINNED, 0, 0), 0);
  EXPECT_GT(*theirs, 0);
  SendMessageW(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still works"));
  EXPECT_EQ(edit->Text(), u"still works");
}

TEST_F(SkinControlTest, ARawWindowGetsItsProcedureBackOnlyWhileOursIsCurrent) {
  HWND w = RawWindow(L"EDIT", L"text");
  const LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
  auto* skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  EXPECT_EQ(skin->control, nullptr);
  EXPECT_EQ(skin->caption, u"text");
  EXPECT_NE(skin->FObjectInst, nullptr);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(skin->FPrevWndProc), original);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skin->FObjectInst));
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 1);
  delete skin;
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 0);

  // Someone subclasses after us: ours stays under theirs as a pass-through.
  skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  gTheirs = 0;
  gBelow = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC));
  const WNDPROC above = AboveWndProc;
  SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(above));
  delete skin;
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(above));
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 0);
  SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"through"));
  wchar_t text[32] = {};
  GetWindowTextW(w, text, 32);
  EXPECT_STREQ(text, L"through");
  EXPECT_GT(gTheirs, 0);
  DestroyWindow(w);
}

TEST_F(SkinControlTest, TheSkinnedFormListsItsControlSkins) {
  TWinSkinForm sf(nullptr);
  auto* a = new TProbeSkin(button);
  a->Init(&sf, data.get(), nullptr, false);
  HWND w = RawWindow();
  auto* b = new TProbeSkin(form.get());
  b->Inithwnd(w, data.get(), nullptr, &sf);
  ASSERT_EQ(sf.controls.Controllist.size(), 2u);
  delete a;
  ASSERT_EQ(sf.controls.Controllist.size(), 1u);
  EXPECT_EQ(sf.controls.Controllist[0], b);
  DestroyWindow(w);
  sf.PurgeControls();  // frees the skin of the dead window
  EXPECT_TRUE(sf.controls.Controllist.empty());
}

TEST_F(SkinControlTest, ASkinFreedInsideItsOwnMessageTouchesNothingAfterwards) {
  HWND w = RawWindow();
  auto* skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  SendMessageW(w, WM_USER + 1, 0, 0);  // frees the skin in AfterProc
  EXPECT_EQ(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 0);

  auto* owned = new TProbeSkin(edit);
  owned->Init(nullptr, data.get(), nullptr, false);
  edit->Perform(WM_USER + 1);
  EXPECT_EQ(edit->Perform(SM_QUERYSKINNED), 0);
  EXPECT_EQ(edit->ComponentCount(), 0);
}

TEST_F(SkinControlTest, AControlFreedWithItsSkinStillAttached) {
  auto* skin = new TProbeSkin(edit);
  skin->Init(nullptr, data.get(), nullptr, true);
  delete edit;  // frees the skin it owns; nothing may touch the control's parts
  edit = nullptr;
  Application->ProcessMessages();
  SUCCEED();
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(SkinControlTest, PaintingGoesThroughDrawControlAndItsErrorsAreSwallowed) {
  auto* skin = new TProbeSkin(button);
  skin->Init(nullptr, data.get(), nullptr, false);
  ShowWindow(form->Handle(), SW_SHOWNA);
  UpdateWindow(form->Handle());
  const int before = skin->draws;
  InvalidateRect(button->Handle(), nullptr, TRUE);
  UpdateWindow(button->Handle());
  EXPECT_GT(skin->draws, before);
  EXPECT_EQ(skin->lastRect, Rect(0, 0, 75, 25));
  RECT wr{};
  GetWindowRect(button->Handle(), &wr);
  EXPECT_EQ(skin->boundsrect, Rect(wr.left, wr.top, wr.right, wr.bottom));

  // Into a memory bitmap through PaintControl.
  auto bmp = Bmp(75, 25, kWhite);
  skin->PaintControl(DC(*bmp));
  EXPECT_EQ(bmp->Pixel(10, 10), kProbe);

  skin->fail = true;
  const int failing = skin->draws;
  InvalidateRect(button->Handle(), nullptr, TRUE);
  UpdateWindow(button->Handle());
  skin->PaintControl(nullptr);
  skin->PaintControl(DC(*bmp));
  TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(DC(*bmp)), 0, 0};
  skin->WMPaint(paint);
  EXPECT_GE(skin->draws, failing + 3);
  EXPECT_TRUE(IsWindow(button->Handle()));
}

TEST_F(SkinControlTest, EraseBackgroundFillsARawWindowWithTheFace) {
  HWND w = RawWindow();
  auto* skin = new TProbeSkin(form.get());
  skin->Inithwnd(w, data.get(), nullptr, nullptr);
  auto bmp = Bmp(100, 24, kWhite);
  TMessage m{WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC(*bmp)), 0, 0};
  skin->WMEraseBkgnd(m);
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(bmp->Pixel(50, 12), kFace);

  // A class-library control gets its parent's painting (the form's colour).
  auto* e = new TProbeSkin(edit);
  e->Init(nullptr, data.get(), nullptr, false);
  FillRect(*bmp, Rect(0, 0, 100, 24), kWhite);
  m.Result = 0;
  e->WMEraseBkgnd(m);
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(bmp->Pixel(50, 12), 0x204060);
  EXPECT_EQ(e->GetParentColor(kFace), 0x204060);
  EXPECT_EQ(skin->GetParentColor(kFace), kFace);  // a raw window has no parent control
  delete skin;
}

TEST_F(SkinControlTest, SkinPicturesDrawNothingForBadFrameCountsRectanglesOrPictures) {
  TSkinControl skin(nullptr);
  auto strip = Bmp(30, 10, kFrame1);
  FillRect(*strip, Rect(10, 0, 20, 10), kFrame2);
  FillRect(*strip, Rect(20, 0, 30, 10), kFrame3);
  auto target = Bmp(20, 20, kWhite);
  for (int n : {0, -1, -30}) {
    skin.DrawSkinMap1(DC(*target), Rect(0, 0, 20, 20), strip.get(), 1, n);
    EXPECT_EQ(target->Pixel(5, 5), kWhite) << n;
  }
  skin.DrawSkinMap1(DC(*target), Rect(0, 0, 20, 20), strip.get(), 4, 3);
  skin.DrawSkinMap1(DC(*target), Rect(10, 0, 0, 20), strip.get(), 1, 3);
  TBitmap empty;
  skin.DrawSkinMap2(DC(*target), Rect(0, 0, 20, 20), &empty, 1, 3);
  skin.DrawSkinMap1(DC(*target), Rect(0, 0, 20, 20), nullptr, 1, 3);
  EXPECT_EQ(target->Pixel(5, 5), kWhite);

  skin.DrawSkinMap1(DC(*target), Rect(0, 0, 20, 20), strip.get(), 2, 3);
  EXPECT_EQ(target->Pixel(5, 5), kFrame2);
  skin.DrawSkinMap3(BitmapCanvas(*target), Rect(0, 0, 20, 20), strip.get(), 3, 3);
  EXPECT_EQ(target->Pixel(19, 19), kFrame3);

  // Key-coloured pixels are left out.
  FillRect(*strip, Rect(0, 0, 10, 5), kMagenta);
  FillRect(*target, Rect(0, 0, 20, 20), kWhite);
  skin.DrawSkinMap2(DC(*target), Rect(0, 0, 20, 20), strip.get(), 1, 3);
  EXPECT_EQ(target->Pixel(5, 2), kWhite);
  EXPECT_EQ(target->Pixel(5, 15), kFrame1);

  TDataSkinObject element(u"Test");
  element.Map = Bmp(30, 10, kFrame1);
  FillRect(*element.Map, Rect(20, 0, 30, 10), kFrame3);
  FillRect(*target, Rect(0, 0, 20, 20), kWhite);
  skin.DrawSkinMap(DC(*target), Rect(0, 0, 20, 20), &element, 1, 0);
  EXPECT_EQ(target->Pixel(5, 5), kWhite);
  skin.DrawSkinMap(DC(*target), Rect(0, 0, 20, 20), &element, 3, 3);
  EXPECT_EQ(target->Pixel(5, 5), kFrame3);
}

// ---------------------------------------------------------------------------
// Text

// The left- and rightmost columns of (x0..x1) holding a non-white pixel.
std::pair<int, int> InkColumns(TBitmap& b, int x0, int x1) {
  int first = -1, last = -1;
  for (int x = x0; x < x1; ++x)
    for (int y = 0; y < b.Height(); ++y)
      if (b.Pixel(x, y) != kWhite) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

TEST_F(SkinControlTest, ImageCaptionsSitWhereTheAlignmentPutsThem) {
  TSkinControl skin(nullptr);
  skin.enabled = true;
  auto bmp = Bmp(200, 30, kWhite);
  TCanvas& canvas = BitmapCanvas(*bmp);
  canvas.Font().SetColor(0);

  // Text only, left: it starts 3 pixels in.
  skin.DrawImgCaption(canvas, Rect(0, 0, 200, 30), nullptr, -1, u"Wide text", 0);
  auto [first, last] = InkColumns(*bmp, 0, 200);
  EXPECT_GE(first, 3);
  EXPECT_LE(first, 5);

  // Right: it ends 2 pixels short of the right edge.
  FillRect(*bmp, Rect(0, 0, 200, 30), kWhite);
  skin.DrawImgCaption(canvas, Rect(0, 0, 200, 30), nullptr, -1, u"Wide text", 2);
  std::tie(first, last) = InkColumns(*bmp, 0, 200);
  EXPECT_LE(last, 197);
  EXPECT_GE(last, 192);

  // An image without text: only the image, 3 pixels in and centred upright.
  TImageList images(16, 16);
  auto glyph = Bmp(16, 16, kFrame3);
  ASSERT_EQ(images.AddMasked(*glyph, kMagenta), 0);
  FillRect(*bmp, Rect(0, 0, 200, 30), kWhite);
  skin.DrawImgCaption(canvas, Rect(0, 0, 200, 30), images.Handle(), 0, u"", 0);
  EXPECT_EQ(bmp->Pixel(3, 7), kFrame3);
  EXPECT_EQ(bmp->Pixel(18, 22), kFrame3);
  EXPECT_EQ(bmp->Pixel(2, 15), kWhite);
  EXPECT_EQ(bmp->Pixel(19, 15), kWhite);
  EXPECT_EQ(InkColumns(*bmp, 20, 200).first, -1);

  // Image and text: the text follows the image.
  FillRect(*bmp, Rect(0, 0, 200, 30), kWhite);
  skin.DrawImgCaption(canvas, Rect(0, 0, 200, 30), images.Handle(), 0, u"Abc", 0);
  EXPECT_EQ(bmp->Pixel(3, 15), kFrame3);
  EXPECT_GE(InkColumns(*bmp, 19, 200).first, 19);
  EXPECT_NE(InkColumns(*bmp, 19, 200).first, -1);
}

TEST_F(SkinControlTest, CentredCaptionsSitOnePixelAboveTheMiddle) {
  TSkinControl skin(nullptr);
  auto bmp = Bmp(120, 40, kWhite);
  TCanvas& canvas = BitmapCanvas(*bmp);
  canvas.Font().SetColor(0);
  skin.DrawCaption(canvas, Rect(0, 0, 120, 40), u"Mmm", true, DT_CENTER);
  auto [first, last] = InkColumns(*bmp, 0, 120);
  ASSERT_GE(first, 0);
  EXPECT_NEAR((first + last) / 2.0, 60, 3);

  // Disabled text comes in the shadow colour.
  FillRect(*bmp, Rect(0, 0, 120, 40), kWhite);
  skin.DrawCaption(canvas, Rect(0, 0, 120, 40), u"Mmm", false, DT_LEFT);
  EXPECT_EQ(canvas.Font().Color(), clBtnShadow);
  std::tie(first, last) = InkColumns(*bmp, 0, 120);
  EXPECT_LE(first, 3);
}

TEST_F(SkinControlTest, CaptionsOneColourAfterAnotherNeverLeaveADeletedFontInTheDC) {
  // As the tab skins draw their tabs: each caption in its colour, the
  // colour changed while the last caption's font is still in the DC.
  TSkinControl skin(nullptr);
  skin.enabled = true;
  auto bmp = Bmp(200, 30, kWhite);
  TCanvas& canvas = BitmapCanvas(*bmp);
  HDC dc = canvas.Handle();
  for (const TColor colour : {0x0000FF, 0xFF0000, 0x00FF00}) {
    skin.DrawImgCaption(canvas, Rect(0, 0, 200, 30), nullptr, -1, u"Tab", 1);
    const HGDIOBJ used = GetCurrentObject(dc, OBJ_FONT);
    canvas.Font().SetColor(colour);
    EXPECT_NE(GetCurrentObject(dc, OBJ_FONT), used);
    EXPECT_EQ(GetObjectType(used), 0u);  // deleted, not kept alive by a DC
  }
}

// ---------------------------------------------------------------------------
// Free functions

TEST_F(SkinControlTest, WindowCaptionsAndPropertiesStayWide) {
  const String chinese = S("备份 — 用户名");
  button->SetCaption(chinese);
  EXPECT_EQ(GetWindowCaption(button->Handle()), chinese);
  EXPECT_EQ(GetStrPropByName(button, u"caption"), chinese);
  EXPECT_EQ(GetStrPropByName(button, u"CAPTION"), chinese);
  EXPECT_EQ(GetStrPropByName(button, u"NoSuchProperty"), u"");
  EXPECT_EQ(GetStrPropByName(nullptr, u"Caption"), u"");
  EXPECT_EQ(GetEnumPropByName(button, u"default"), u"False");
  EXPECT_EQ(GetOrdPropByName(button, u"width"), 75);
  EXPECT_EQ(GetOrdPropByName(button, u"Default"), -1);  // not of integer kind
  EXPECT_EQ(GetObjectPropByName(button, u"Font", TFont::StaticClass()), button->Font());
  EXPECT_EQ(GetObjectPropByName(button, u"Font", TBitmap::StaticClass()), nullptr);
  SetPropByName(button, u"Caption", u"取消");
  EXPECT_EQ(GetWindowCaption(button->Handle()), u"取消");

  // Without the wide text functions the text comes in a 1000-character buffer.
  const String longText(1500, u'x');
  SetWindowTextW(edit->Handle(), reinterpret_cast<const wchar_t*>(longText.c_str()));
  EXPECT_EQ(GetWindowCaption(edit->Handle()).size(), 1500u);
  const bool nt = IsWinNT;
  IsWinNT = false;
  EXPECT_EQ(GetWindowCaption(edit->Handle()).size(), 999u);
  IsWinNT = nt;
  EXPECT_EQ(GetWindowCaption(nullptr), u"");
}

TEST_F(SkinControlTest, MouseDownPointsComeFromTheMessageOrFromTheCursorPastTheLimit) {
  const TMessage m{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), 12), 0};
  EXPECT_EQ(MouseDownPoint(edit, m), (TPoint{-3, 12}));
  // The window system keeps windows below 32768 pixels; a control without
  // a window yet can be wider, and is measured from the cursor on screen.
  TEdit wide(nullptr);
  wide.SetBounds(0, 0, 40000, 20);
  ASSERT_FALSE(wide.HandleAllocated());
  SetCursorPos(300, 200);
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(MouseDownPoint(&wide, m), (TPoint{p.x, p.y}));
  wide.SetBounds(0, 0, 100, 40000);
  EXPECT_EQ(MouseDownPoint(&wide, m), (TPoint{p.x, p.y}));
}

TEST_F(SkinControlTest, DoMouseDownRaisesTheControlsMouseDownForTheLeftButton) {
  auto* skin = new TProbeSkin(edit);
  skin->Init(nullptr, data.get(), nullptr, false);
  int calls = 0;
  TMouseButton button = mbRight;
  TShiftState shift = 0;
  TPoint at;
  edit->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    ++calls, button = b, shift = s, at = TPoint{x, y};
  };
  skin->DoMouseDown(TMessage{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 5), 0});
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(button, mbLeft);
  EXPECT_EQ(shift & (ssLeft | ssShift | ssCtrl), ssLeft | ssShift);
  EXPECT_EQ(at, (TPoint{7, 5}));
  // Unskinned, the control raises it itself from the window's message.
  delete skin;
  SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(3, 4));
  SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(shift & (ssLeft | ssShift | ssCtrl), ssLeft | ssCtrl);
  EXPECT_EQ(at, (TPoint{3, 4}));
  edit->OnMouseDown = nullptr;
}

}  // namespace
