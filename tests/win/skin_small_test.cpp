// The small skins on real windows: a size grip painted over in the face
// colour, a raw dialog placed in a window and a tool bar erased in the face
// colour with their static texts on the skin's brush (and their own look
// back when the skin lets go), and glyph check boxes handed strips built
// slot by slot from the skin's check and radio pictures, whose earlier
// glyphs come back when the skin goes.
#include <gtest/gtest.h>

#include "platform/win/GlyphCheckBoxes.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinControl.h"
#include "tests/win/FrameCodedSkin.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::CountNot;
using qvtest::DC;
using qvtest::FrameStrip;

namespace {

constexpr TColor kFace = 0x40A040, kWhite = 0xFFFFFF, kKey = 0xFF00FF, kOrig = 0x123456;
constexpr TColor kC[5] = {0x0000C0, 0x00C000, 0xC00000, 0x00C0C0, 0xC000C0};
constexpr TColor kR[4] = {0x000060, 0x006000, 0x600000, 0x006060};
constexpr int kFw = 13;


struct SkinSmallTest : qvtest::SkinControlFixture {
  static void SetUpTestSuite() { RegisterRawClass(L"QvSmallHost"); }

  void SetUp() override {
    data = std::make_unique<TSkinData>(nullptr);
    data->Colors[3] = kFace;
    data->BGBrush.Reset(CreateSolidBrush(kFace));
    data->Button = std::make_unique<TDataSkinButton>(u"Button");
    data->Button->CheckMap = FrameStrip({kC[0], kC[1], kC[2], kC[3], kC[4]}, kFw, kFw);
    data->Button->checkframe = 5;
    data->Button->RadioMap = FrameStrip({kR[0], kR[1], kR[2], kR[3]}, kFw, kFw);
    data->Button->radioframe = 4;
    MakeForm(75, 25);
    host = MakeWindow(L"QvSmallHost", WS_POPUP | WS_VISIBLE, Bounds(0, 0, 300, 200));
  }

  HWND Child(const wchar_t* cls, DWORD style, int w = 120, int h = 60) {
    return MakeWindow(cls, WS_CHILD | WS_VISIBLE | style, Bounds(10, 10, w, h), host, L"Text");
  }

  TSkinControl* SkinRaw(TControlSkinClass cls, HWND w) {
    TSkinControl* s = CreateControlSkin(cls, form.get());
    s->Inithwnd(w, data.get(), nullptr, nullptr);
    return s;
  }

  static std::unique_ptr<TBitmap> Erased(HWND w) {
    return qvtest::DrawnBy(w, WM_ERASEBKGND, qvtest::ClientSize(w), kWhite);
  }

  HWND host = nullptr;
};

TEST_F(SkinSmallTest, ASizeGripShowsTheFaceColour) {
  HWND grip = Child(L"SCROLLBAR", SBS_SIZEGRIP, 16, 16);
  SkinRaw(TControlSkinClass::SkinSizer, grip);
  auto b = qvtest::DrawnBy(grip, WM_PAINT, SIZE{16, 16}, kWhite);
  EXPECT_EQ(CountNot(*b, kFace), 0);
}

TEST_F(SkinSmallTest, DialogsAndToolBarsTakeTheFaceAndGiveItBack) {
  for (const wchar_t* cls : {L"#32770", TOOLBARCLASSNAMEW}) {
    SCOPED_TRACE(cls == std::wstring(L"#32770") ? "dialog" : "tool bar");
    HWND box = Child(cls, 0);
    HWND text = MakeWindow(L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, Bounds(2, 2, 60, 20), box);
    TSkinControl* skin = SkinRaw(TControlSkinClass::SkinBoxH, box);
    EXPECT_EQ(CountNot(*Erased(box), kFace), 0);
    // The static text paints its background with what its parent answers.
    auto t = Bmp(60, 20, kWhite);
    SendMessageW(text, WM_PAINT, reinterpret_cast<WPARAM>(DC(*t)), 0);
    EXPECT_EQ(CountNot(*t, kFace), 0);

    skin->Unsubclass();
    EXPECT_GT(CountNot(*Erased(box), kFace), 0);
    SendMessageW(text, WM_PAINT, reinterpret_cast<WPARAM>(DC(*t)), 0);
    EXPECT_GT(CountNot(*t, kFace), 0);
    delete skin;
    DestroyWindow(box);
  }
}

// ---------------------------------------------------------------------------
// Glyph check boxes

struct GlyphCase {
  int kind;
  std::vector<TColor> slots;  // the strip expected, slot by slot
};

TBitmap* StripOf(TControl* c, int kind) {
  if (kind == 3) return static_cast<TcxCheckBox*>(c)->Properties()->Glyph();
  return static_cast<TRzCustomGlyphControl*>(c)->CustomGlyphs();
}

TEST_F(SkinSmallTest, GlyphCheckBoxesGetStripsAndGiveThemBack) {
  const GlyphCase cases[] = {
      {1, {kC[0], kC[1], kC[4], kC[0], kC[1], kC[4], kC[2], kC[3], kC[4]}},
      {2, {kR[0], kR[1], kR[0], kR[1], kR[2], kR[3]}},
      {3, {kC[0], kC[1], kC[4], kC[0], kC[1], kC[4]}},
  };
  for (const GlyphCase& gc : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << gc.kind);
    TGlyphCheckControl* box = nullptr;
    if (gc.kind == 1) box = new TRzCheckBox(form.get());
    else if (gc.kind == 2) box = new TRzRadioButton(form.get());
    else box = new TcxCheckBox(form.get());
    box->SetBounds(8, 100, 120, 20);
    box->SetParent(form.get());
    auto original = Bmp(2, 2, kOrig);
    if (gc.kind == 3) {
      static_cast<TcxCheckBox*>(box)->Properties()->SetGlyph(original.get());
    } else {
      auto* rz = static_cast<TRzCustomGlyphControl*>(box);
      rz->SetCustomGlyphs(original.get());
      rz->SetUseCustomGlyphs(true);
      rz->SetTransparentColor(kOrig);
    }
    TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinObjImage, box);
    skin->kind = gc.kind;
    skin->Init(nullptr, data.get(), nullptr, true);

    TBitmap* strip = StripOf(box, gc.kind);
    ASSERT_EQ(strip->Width(), static_cast<int>(gc.slots.size()) * kFw);
    for (size_t s = 0; s < gc.slots.size(); ++s) EXPECT_EQ(strip->Pixel(static_cast<int>(s) * kFw + 6, 6), gc.slots[s]);
    if (gc.kind == 3) {
      EXPECT_EQ(GetOrdPropByName(strip, u"TransparentColor"), kKey);
      EXPECT_EQ(GetEnumPropByName(strip, u"Transparent"), u"False");
    } else {
      EXPECT_EQ(GetOrdPropByName(box, u"TransparentColor"), kKey);
      EXPECT_EQ(GetEnumPropByName(box, u"UseCustomGlyphs"), u"True");
    }
    // The control draws from the strip: unchecked, then checked.
    auto painted = Bmp(120, 20, kWhite);
    box->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC(*painted)), 0);
    EXPECT_EQ(painted->Pixel(6, 10), gc.slots[0]);
    box->SetChecked(true);
    box->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC(*painted)), 0);
    EXPECT_EQ(painted->Pixel(6, 10), gc.slots[1]);

    // A skin without the picture gives the glyphs back until it has one.
    auto& map = gc.kind == 2 ? data->Button->RadioMap : data->Button->CheckMap;
    auto kept = std::move(map);
    skin->SkinChange();
    EXPECT_EQ(StripOf(box, gc.kind)->Pixel(0, 0), kOrig);
    map = std::move(kept);
    skin->SkinChange();
    EXPECT_EQ(StripOf(box, gc.kind)->Width(), static_cast<int>(gc.slots.size()) * kFw);

    skin->Unsubclass();
    strip = StripOf(box, gc.kind);
    EXPECT_EQ(strip->Width(), 2);
    EXPECT_EQ(strip->Pixel(0, 0), kOrig);
    if (gc.kind != 3) {
      EXPECT_EQ(GetOrdPropByName(box, u"TransparentColor"), kOrig);
      EXPECT_EQ(GetEnumPropByName(box, u"UseCustomGlyphs"), u"True");
    }
    delete skin;
    delete box;
  }
}

TEST_F(SkinSmallTest, PicturesWithoutFramesLeaveTheGlyphsAlone) {
  auto* box = new TRzCheckBox(form.get());
  box->SetParent(form.get());
  data->Button->checkframe = 0;
  TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinObjImage, box);
  skin->kind = 1;
  skin->Init(nullptr, data.get(), nullptr, true);
  EXPECT_TRUE(box->CustomGlyphs()->Empty());
  EXPECT_FALSE(box->UseCustomGlyphs());
  // A picture with four frames leaves the grayed slots see-through.
  data->Button->checkframe = 4;
  data->Button->CheckMap = FrameStrip({kC[0], kC[1], kC[2], kC[3]}, kFw, kFw);
  skin->SkinChange();
  ASSERT_EQ(box->CustomGlyphs()->Width(), 9 * kFw);
  EXPECT_EQ(box->CustomGlyphs()->Pixel(2 * kFw + 6, 6), kKey);
  EXPECT_EQ(box->CustomGlyphs()->Pixel(7 * kFw + 6, 6), kC[3]);
}

}  // namespace
