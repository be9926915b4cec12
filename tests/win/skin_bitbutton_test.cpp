// The glyph, menu and speed button skins on real controls, read back from
// memory bitmaps with a test skin whose five button frames are distinct
// solid colours: each frame of the three button kinds, the glyph placed
// beside the caption (a centred group keeping its spacing, the caption
// wrapped in the width the glyph leaves, read right to left), the caption's
// colours of each frame, the embossed disabled glyph, image-list and PNG
// pictures (a PNG speed button without one), the menu button's triangle,
// Down and flat speed buttons, the pictures that cannot be drawn, a raw
// window's font let go of, clicks (also ones that free or hide the button),
// and the choice of control skin attaching these skins.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/core/TypInfo.h"
#include "platform/win/Buttons.h"
#include "platform/win/CheckControls.h"
#include "platform/win/ComboBox.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/data/SkinMessages.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::CountColour;
using qvtest::DC;
using namespace qvtest::strip;

namespace {

constexpr TColor kFace = 0x808080, kWhite = 0xFFFFFF, kMagenta = 0xFF00FF, kGlyph1 = 0x3070F0, kGlyph2 = 0x70F030,
                 kGlyph3 = 0xF03070, kGlyph4 = 0x10A0A0, kPng = 0xE04020;
constexpr int kW = 100, kH = 40;

// A 79-byte PNG of 8 x 8 pixels of kPng, the top-left one transparent.
const unsigned char kPngBytes[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x08, 0x06, 0x00, 0x00, 0x00, 0xC4, 0x0F, 0xBE, 0x8B, 0x00, 0x00, 0x00,
    0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x00, 0x02, 0x05, 0x87, 0x07, 0xFF, 0x71, 0x61, 0xBC,
    0x92, 0xC3, 0x47, 0x01, 0x00, 0x72, 0xD5, 0x8D, 0x82, 0xC9, 0x7D, 0x08, 0x53, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// A strip of n frames of 16 x 16, each a solid square of its colour inside a
// magenta border (the bottom-left pixel, so transparent).
std::unique_ptr<TBitmap> GlyphStrip(int n) {
  const TColor colours[] = {kGlyph1, kGlyph2, kGlyph3, kGlyph4};
  auto b = Bmp(16 * n, 16, kMagenta);
  for (int i = 0; i < n; ++i) FillRect(*b, Rect(i * 16 + 2, 2, i * 16 + 14, 14), colours[i % 4]);
  return b;
}

// Where colour first shows, scanning rows top to bottom; (-1, -1) when not.
TPoint Find(TBitmap& b, TColor colour) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) == colour) return TPoint{x, y};
  return TPoint{-1, -1};
}

int CountInRow(TBitmap& b, int y, TColor colour) { return CountColour(b, Rect(0, y, b.Width(), y + 1), colour); }

// Rows from the first to the last that hold a dark (caption) pixel.
int InkHeight(TBitmap& b) {
  int first = -1, last = -1;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      if (qvtest::Dark(b.Pixel(x, y), 0x50)) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  return first < 0 ? 0 : last - first + 1;
}

enum TTestBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
const TEnumInfo kTestBiDiModeInfo{{u"bdLeftToRight", u"bdRightToLeft", u"bdRightToLeftNoAlign", u"bdRightToLeftReadingOnly"}};

// A bit button of a family that also publishes Alignment and BiDiMode.
class TAlignedBitBtn : public TBitBtn {
  QV_CLASS(TAlignedBitBtn)
 public:
  using TBitBtn::TBitBtn;
  TAlignment alignment = taLeftJustify;
  TTestBiDiMode bidi = bdLeftToRight;
};

const TClassInfo& TAlignedBitBtn::StaticClass() {
  using T = TAlignedBitBtn;
  static const TClassInfo& info = TClassBuilder<T>(u"TAlignedBitBtn", TBitBtn::StaticClass())
                                      .Enum(u"Alignment", &T::alignment, &T::alignment, kAlignmentInfo)
                                      .Enum(u"BiDiMode", &T::bidi, &T::bidi, kTestBiDiModeInfo)
                                      .Done();
  return info;
}

struct SkinBitButtonTest : qvtest::SkinControlFixture {

  void SetUp() override {
    data = qvtest::ButtonStripSkin({kNormal, kPressed, kDisabled, kHot, kFocused}, kFace);
    MakeForm(kW, kH);
    bit = new TBitBtn(form.get());
    bit->SetBounds(8, 90, kW, kH);
    bit->SetParent(form.get());
    menu = new TcxButton(form.get());
    menu->SetKind(cxbkDropDownButton);
    menu->SetBounds(120, 90, kW, kH);
    menu->SetParent(form.get());
    speed = new TSpeedButton(form.get());
    speed->SetBounds(8, 140, kW, kH);
    speed->SetParent(form.get());
    ShowWindow(form->Handle(), SW_SHOWNA);
    bitSkin = Attach<TSkinBitButton>(TControlSkinClass::SkinBitButton, bit);
    menuSkin = Attach<TSkinMenuButton>(TControlSkinClass::SkinMenuButton, menu);
    speedSkin = static_cast<TSkinSpeedButton*>(CreateControlSkin(TControlSkinClass::SkinSpeedButton, speed));
    InitGraphicControlSkin(speedSkin, nullptr, data.get(), nullptr);
    SetFocus(edit->Handle());
  }

  std::unique_ptr<TBitmap> Painted(TSkinControl* s) {
    auto b = Bmp(kW, kH, kWhite);
    if (s == speedSkin) speed->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC(*b)), 0);
    else s->PaintControl(DC(*b));
    return b;
  }
  TColor Look(TSkinControl* s) { return Painted(s)->Pixel(3, 3); }

  TBitBtn* bit = nullptr;
  TcxButton* menu = nullptr;
  TSpeedButton* speed = nullptr;
  TSkinBitButton* bitSkin = nullptr;
  TSkinMenuButton* menuSkin = nullptr;
  TSkinSpeedButton* speedSkin = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------
// Frames

TEST_F(SkinBitButtonTest, EachButtonKindShowsTheFrameOfItsState) {
  struct Row {
    const char* state;
    std::function<void(SkinBitButtonTest&, TControl*, TSkinControl*)> set;
    TColor bitFrame, menuFrame, speedFrame;
  };
  const Row rows[] = {
      {"normal", [](auto&, auto*, auto*) {}, kNormal, kNormal, kNormal},
      {"hot", [](auto&, auto*, TSkinControl* s) { s->state = kStateHot; }, kHot, kHot, kHot},
      {"pressed", [](auto&, auto*, TSkinControl* s) { s->state = kStatePressed | kStateHot; }, kPressed, kPressed,
       kPressed},
      {"focused",
       [](auto&, TControl* c, auto*) {
         if (auto* w = As<TWinControl>(c)) SetFocus(w->Handle());
       },
       kFocused, kHot, kNormal},
      {"default", [](auto&, TControl* c, auto*) { SetPropByName(c, u"Default", u"True"); }, kFocused, kNormal,
       kNormal},
      {"disabled",
       [](auto&, TControl* c, TSkinControl* s) {
         s->state = kStatePressed;
         c->SetEnabled(false);
       },
       kDisabled, kDisabled, kDisabled},
  };
  for (const Row& row : rows) {
    TControl* controls[] = {bit, menu, speed};
    TSkinControl* skins[] = {bitSkin, menuSkin, speedSkin};
    const TColor expected[] = {row.bitFrame, row.menuFrame, row.speedFrame};
    for (int k = 0; k < 3; ++k) {
      row.set(*this, controls[k], skins[k]);
      EXPECT_EQ(Look(skins[k]), expected[k]) << row.state << " kind " << k;
      skins[k]->state = 0;
      controls[k]->SetEnabled(true);
      SetPropByName(controls[k], u"Default", u"False");
      SetFocus(edit->Handle());
    }
  }
}

TEST_F(SkinBitButtonTest, ADownSpeedButtonIsPressedWithItsFourthGlyphEvenWhenDisabled) {
  auto glyph = GlyphStrip(4);
  speed->SetGlyph(glyph.get());
  speed->SetNumGlyphs(4);
  speed->SetGroupIndex(1);
  speed->SetDown(true);
  auto b = Painted(speedSkin);
  EXPECT_EQ(b->Pixel(3, 3), kPressed);
  EXPECT_NE(Find(*b, kGlyph4).X, -1);
  speed->SetEnabled(false);
  b = Painted(speedSkin);
  EXPECT_EQ(b->Pixel(3, 3), kPressed);
  EXPECT_NE(Find(*b, kGlyph4).X, -1);
}

TEST_F(SkinBitButtonTest, AFlatSpeedButtonShowsItsFaceOnlyWhileTheMouseIsOverIt) {
  speed->SetFlat(true);
  EXPECT_EQ(Look(speedSkin), kFace);
  speed->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Look(speedSkin), kHot);
  speed->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Look(speedSkin), kFace);
  speed->SetFlat(false);
  EXPECT_EQ(Look(speedSkin), kNormal);
}

// ---------------------------------------------------------------------------
// Pictures

TEST_F(SkinBitButtonTest, GlyphPlacementFollowsMarginSpacingAndLayout) {
  struct Row {
    int margin, spacing;
    TGlyphLayoutKind layout;
    bool speed;
    int glyphX, glyphY, textX, textY;
  } rows[] = {
      {-1, -1, glLeft, false, 14, 12, 44, 14},   // both automatic: a third each
      {-1, 4, glLeft, false, 20, 12, 40, 14},    // automatic margin, centred group
      {-1, 4, glLeft, true, 21, 12, 41, 14},     // the speed button sits one further
      {5, -1, glLeft, false, 5, 12, 40, 14},     // automatic spacing
      {5, 2, glRight, false, 79, 12, 37, 14},    // glyph right of the caption
      {3, 2, glTop, false, 42, 3, 30, 21},       // glyph over the caption
      {3, 2, glBottom, false, 42, 21, 30, 6},    // glyph under the caption
  };
  for (const Row& r : rows) {
    const TGlyphPlacement p = PlaceGlyph(kW, kH, 16, 16, 40, 13, r.margin, r.spacing, r.layout, r.speed);
    EXPECT_EQ(p.glyph, (TPoint{r.glyphX, r.glyphY})) << r.margin << "/" << r.spacing << " layout " << r.layout;
    EXPECT_EQ(p.text.Left, r.textX) << r.margin << "/" << r.spacing << " layout " << r.layout;
    EXPECT_EQ(p.text.Top, r.textY) << r.margin << "/" << r.spacing << " layout " << r.layout;
  }
  // No caption: no spacing either.
  EXPECT_EQ(PlaceGlyph(kW, kH, 16, 16, 0, 0, -1, 4, glLeft, false).glyph.X, 42);
}

TEST_F(SkinBitButtonTest, TheGlyphStandsBesideTheCaptionAsLaidOut) {
  auto glyph = GlyphStrip(1);
  bit->SetGlyph(glyph.get());
  auto b = Painted(bitSkin);
  // Alone (no spacing without a caption) the glyph is centred:
  // margin (100 - 16) / 2 = 42, its square two pixels in.
  EXPECT_EQ(Find(*b, kGlyph1), (TPoint{42 + 2, 12 + 2}));
  EXPECT_EQ(b->Pixel(42, 12), kNormal);  // the glyph's border is transparent

  bit->SetCaption(u"Wide");
  const int left = Find(*Painted(bitSkin), kGlyph1).X;
  bit->SetLayout(blGlyphRight);
  const int right = Find(*Painted(bitSkin), kGlyph1).X;
  EXPECT_LT(left, 44);
  EXPECT_GT(right, 44);
}

TEST_F(SkinBitButtonTest, ACentredBitButtonKeepsItsSpacingAndReadsRightToLeft) {
  auto* aligned = new TAlignedBitBtn(form.get());
  aligned->SetBounds(8, 190, kW, kH);
  aligned->SetParent(form.get());
  auto glyph = GlyphStrip(1);
  aligned->SetGlyph(glyph.get());
  aligned->SetCaption(u"Go");
  auto* skin = Attach<TSkinBitButton>(TControlSkinClass::SkinBitButton, aligned);
  auto glyphX = [&](TAlignment alignment, int margin, int spacing) {
    aligned->alignment = alignment;
    aligned->SetMargin(margin);
    aligned->SetSpacing(spacing);
    return Find(*Painted(skin), kGlyph1).X;
  };
  // Centred, the margin is worked out and a given spacing kept: as an
  // automatic margin with that spacing, and a wider spacing widens the
  // centred group to both sides.
  const int automatic = glyphX(taLeftJustify, -1, 10);
  EXPECT_EQ(glyphX(taCenter, 5, 10), automatic);
  EXPECT_EQ(glyphX(taCenter, 5, 20), automatic - 5);
  EXPECT_NE(glyphX(taLeftJustify, 5, 10), automatic);

  // A right-to-left control reads its caption so: the full stop goes first.
  aligned->SetCaption(u"A.");
  aligned->alignment = taLeftJustify;
  const auto leftToRight = Painted(skin);
  aligned->bidi = bdRightToLeft;
  EXPECT_GT(qvtest::DifferingPixels(*Painted(skin), *leftToRight), 0);
  for (TTestBiDiMode mode : {bdRightToLeftNoAlign, bdRightToLeftReadingOnly}) {
    aligned->bidi = mode;
    EXPECT_EQ(qvtest::DifferingPixels(*Painted(skin), *leftToRight), 0) << mode;
  }
}

TEST_F(SkinBitButtonTest, TheCaptionWrapsInTheWidthTheGlyphLeavesIt) {
  auto glyph = GlyphStrip(1);
  bit->SetGlyph(glyph.get());
  bit->SetCaption(u"Open file");
  HDC measure = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(measure, bit->Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32W(measure, L"Open file", 9, &size);
  TEXTMETRICW tm{};
  GetTextMetricsW(measure, &tm);
  SelectObject(measure, old);
  DeleteDC(measure);
  // The caption fits between the inner edges, but not beside the glyph too.
  const int W = size.cx + 4 + 9;
  bit->SetWidth(W);
  auto b = Bmp(W, kH, kWhite);
  bitSkin->PaintControl(DC(*b));
  EXPECT_GT(InkHeight(*b), tm.tmHeight);  // two lines
  bit->SetGlyph(nullptr);
  b = Bmp(W, kH, kWhite);
  bitSkin->PaintControl(DC(*b));
  EXPECT_LE(InkHeight(*b), tm.tmHeight);
}

TEST_F(SkinBitButtonTest, TheCaptionTakesTheSkinsColourOfEachFrame) {
  constexpr TColor kText = 0x000000, kNormal2 = 0x205080, kOver2 = 0x802050, kDown2 = 0x508020;
  const auto shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  bit->SetCaption(u"HH");
  bit->Font()->SetSize(14);
  bit->Font()->SetStyle(1u << fsBold);
  bit->Font()->SetColor(kText);
  TDataSkinButton& e = *data->Button;
  e.Normalcolor2 = kNormal2;
  e.Overcolor2 = kOver2;
  e.Downcolor2 = kDown2;
  const struct Row {
    bool newnormal, newover, newdown;
    uint32_t state;
    bool enabled;
    TColor ink;
  } rows[] = {
      {false, false, false, 0, true, kText},
      {true, false, false, 0, true, kNormal2},
      {true, false, false, kStateHot, true, kNormal2},  // in every frame
      {true, true, false, kStateHot, true, kOver2},
      {false, true, false, 0, true, kText},  // only when hot
      {true, true, true, kStatePressed, true, kDown2},
      {false, false, true, kStateHot, true, kText},  // only when pressed
      {true, true, true, kStatePressed, false, shadow},  // disabled over all
  };
  for (const Row& r : rows) {
    e.newnormal = r.newnormal;
    e.newover = r.newover;
    e.newdown = r.newdown;
    bitSkin->state = r.state;
    bit->SetEnabled(r.enabled);
    auto b = Painted(bitSkin);
    const int row = static_cast<int>(&r - rows);
    EXPECT_GT(CountColour(*b, r.ink), 10) << "row " << row;
    for (TColor other : {kText, kNormal2, kOver2, kDown2, shadow}) {
      if (other == r.ink) continue;
      EXPECT_EQ(CountColour(*b, other), 0) << "row " << row;
    }
  }
}

TEST_F(SkinBitButtonTest, ARawWindowsCaptionIsDrawnInItsFontWhichStaysItsOwn) {
  HWND raw =
      MakeWindow(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, Bounds(8, 240, kW, kH), form->Handle(), L"Raw");
  HFONT font = CreateFontW(-26, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  SendMessageW(raw, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  auto* s = static_cast<TSkinBitButton*>(CreateControlSkin(TControlSkinClass::SkinBitButton, form.get()));
  s->Inithwnd(raw, data.get(), nullptr, nullptr);
  auto b = Bmp(kW, kH, kWhite);
  s->PaintControl(DC(*b));
  EXPECT_EQ(b->Pixel(3, 3), kNormal);
  EXPECT_GT(InkHeight(*b), 14);  // the canvas's own font is 11 pixels high
  EXPECT_NE(GetCurrentObject(DC(*s->btemp), OBJ_FONT), font);
  delete s;
  DestroyWindow(raw);
  EXPECT_TRUE(DeleteObject(font));
}

TEST_F(SkinBitButtonTest, TheGlyphFrameFollowsTheButtonFrame) {
  auto glyph = GlyphStrip(3);
  bit->SetGlyph(glyph.get());
  bit->SetNumGlyphs(3);
  EXPECT_NE(Find(*Painted(bitSkin), kGlyph1).X, -1);
  bitSkin->state = kStatePressed;
  EXPECT_NE(Find(*Painted(bitSkin), kGlyph3).X, -1);
  bitSkin->state = 0;
  bit->SetEnabled(false);
  EXPECT_NE(Find(*Painted(bitSkin), kGlyph2).X, -1);
  // Pressed with fewer than three frames: the first.
  bit->SetEnabled(true);
  bit->SetNumGlyphs(2);
  bitSkin->state = kStatePressed;
  EXPECT_NE(Find(*Painted(bitSkin), kGlyph1).X, -1);
}

TEST_F(SkinBitButtonTest, ADisabledOneFrameGlyphIsEmbossedGreyOnAnyKeyColour) {
  const auto shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  const auto highlight = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
  const auto face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
  bit->SetEnabled(false);
  for (TColor key : {kWhite, kMagenta, TColor{0x008080}}) {
    SCOPED_TRACE(testing::Message() << "key " << std::hex << key);
    // A black square on the key, with a coloured stripe that is no part of
    // the black figure.
    auto glyph = Bmp(16, 16, key);
    FillRect(*glyph, Rect(4, 4, 12, 12), 0x000000);
    FillRect(*glyph, Rect(4, 13, 12, 15), kGlyph1);
    auto grey = CreateDisabledGlyph(*glyph);
    EXPECT_EQ(grey->Pixel(6, 6), shadow);
    EXPECT_EQ(grey->Pixel(12, 12), highlight);  // one down and right of the figure
    EXPECT_EQ(grey->Pixel(1, 1), face);
    EXPECT_EQ(grey->Pixel(6, 14), face);

    bit->SetGlyph(glyph.get());
    auto b = Painted(bitSkin);
    EXPECT_EQ(b->Pixel(42 + 6, 12 + 6), shadow);
    EXPECT_EQ(b->Pixel(42 + 12, 12 + 12), highlight);
    EXPECT_EQ(b->Pixel(42 + 1, 12 + 1), kDisabled);  // the face is transparent
  }
}

TEST_F(SkinBitButtonTest, ImageListAndPngPicturesAreDrawn) {
  TCustomImageList images(nullptr, 16, 16);
  auto strip = GlyphStrip(2);
  images.List().AddMasked(*strip, kMagenta);
  bit->SetImages(&images);
  bit->SetImageIndex(1);
  EXPECT_NE(Find(*Painted(bitSkin), kGlyph2).X, -1);
  bit->SetImageIndex(7);  // outside the list
  EXPECT_EQ(Find(*Painted(bitSkin), kGlyph2).X, -1);
  bit->SetImages(nullptr);

  auto* png = new TPngBitBtn(form.get());
  png->SetBounds(8, 190, kW, kH);
  png->SetParent(form.get());
  TPngImage image;
  image.LoadFromBytes(std::string(reinterpret_cast<const char*>(kPngBytes), sizeof kPngBytes));
  ASSERT_EQ(image.Width(), 8);
  png->SetPngImage(&image);
  auto* pngSkin = Attach<TSkinBitButton>(TControlSkinClass::SkinBitButton, png);
  ASSERT_TRUE(SetSkinPicField(pngSkin, u"PngImage"));
  auto b = Painted(pngSkin);
  const TPoint at = Find(*b, kPng);
  EXPECT_EQ(at, (TPoint{(kW - 8) / 2 + 1, (kH - 8 + 1) / 2}));  // the transparent corner shows the frame
  EXPECT_EQ(b->Pixel(at.X - 1, at.Y), kNormal);

  EXPECT_THROW(image.LoadFromBytes("not a picture"), EInvalidGraphic);
}

TEST_F(SkinBitButtonTest, APngSpeedButtonWithoutPictureCentresItsCaptionAsAPlainOne) {
  auto* png = new TPngSpeedButton(form.get());
  png->SetBounds(120, 140, kW, kH);
  png->SetParent(form.get());
  auto* pngSkin = static_cast<TSkinSpeedButton*>(CreateControlSkin(TControlSkinClass::SkinSpeedButton, png));
  InitGraphicControlSkin(pngSkin, nullptr, data.get(), nullptr);
  ASSERT_TRUE(SetSkinPicField(pngSkin, u"PngImage"));
  for (TSpeedButton* b : {speed, static_cast<TSpeedButton*>(png)}) b->SetCaption(u"Go");
  auto plain = Painted(speedSkin);
  auto pictureless = Bmp(kW, kH, kWhite);
  png->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC(*pictureless)), 0);
  EXPECT_GT(InkHeight(*plain), 0);
  EXPECT_EQ(qvtest::DifferingPixels(*plain, *pictureless), 0);
}

TEST_F(SkinBitButtonTest, PicturesThatCannotBeDrawnShowNothing) {
  auto glyph = GlyphStrip(2);
  bit->SetGlyph(glyph.get());
  for (int n : {0, -1, -5, 40}) {
    bit->SetNumGlyphs(n);
    auto b = Painted(bitSkin);
    EXPECT_EQ(b->Pixel(3, 3), kNormal) << n;
  }
  bit->SetNumGlyphs(0);
  EXPECT_EQ(Find(*Painted(bitSkin), kGlyph1).X, -1);
  TBitmap empty;
  bit->SetGlyph(&empty);
  EXPECT_EQ(Look(bitSkin), kNormal);
  // A picture property that is absent or holds no graphic.
  SetSkinPicField(bitSkin, u"NoSuchPicture");
  EXPECT_EQ(Look(bitSkin), kNormal);
  SetSkinPicField(bitSkin, u"Font");
  EXPECT_EQ(Look(bitSkin), kNormal);
}

TEST_F(SkinBitButtonTest, TheMenuButtonDrawsItsTriangleAndAFocusRectangleWithoutCaption) {
  // Without glyph and caption: margin = spacing = (100 - 8) / 4 = 23, the
  // triangle's tip column at 23 + 23 + 2 x 23 = 92, rows 17 to 20.
  auto b = Painted(menuSkin);
  const auto ink = static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT));
  const int widths[] = {7, 5, 3, 1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(CountInRow(*b, 17 + i, ink), widths[i]) << "row " << 17 + i;
  EXPECT_EQ(CountInRow(*b, 21, ink), 0);

  // The empty caption's box sits at (46, 20); its focus rectangle around it.
  auto dots = [&](TColor frame) {
    int n = 0;
    for (int y = 18; y < 22; ++y)
      for (int x = 44; x < 48; ++x) n += b->Pixel(x, y) != frame;
    return n;
  };
  EXPECT_EQ(dots(kNormal), 0);
  SetFocus(menu->Handle());
  b = Painted(menuSkin);
  EXPECT_GT(dots(kHot), 0);
}

// ---------------------------------------------------------------------------
// Clicks

TEST_F(SkinBitButtonTest, AClickOnASkinnedBitButtonOrSpeedButtonFiresOnClickOnce) {
  int bitClicks = 0, speedClicks = 0;
  bit->OnClick = [&](TObject*) { ++bitClicks; };
  speed->OnClick = [&](TObject*) { ++speedClicks; };
  SendMessageW(bit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(bit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  // The speed button has no window: its parent's mouse messages reach it.
  HWND parent = form->Handle();
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 150));
  EXPECT_EQ(speedSkin->state & kStatePressed, kStatePressed);
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(20, 150));
  Application->ProcessMessages();
  EXPECT_EQ(bitClicks, 1);
  EXPECT_EQ(speedClicks, 1);
  EXPECT_EQ(speedSkin->state & kStatePressed, 0u);
  // Released away from it: no click.
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 150));
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
  EXPECT_EQ(speedClicks, 1);
}

TEST_F(SkinBitButtonTest, ASpeedButtonFreedHiddenOrMovedInItsClickIsLeftAlone) {
  HWND parent = form->Handle();
  auto click = [&] {
    SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 150));
    SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(20, 150));
    Application->ProcessMessages();
  };
  speed->OnClick = [&](TObject*) { speed->SetVisible(false); };
  click();
  EXPECT_FALSE(speed->Visible());
  speed->SetVisible(true);
  auto* panel = new TPanel(form.get());
  panel->SetBounds(150, 150, 120, 60);
  panel->SetParent(form.get());
  speed->OnClick = [&](TObject*) { speed->SetParent(panel); };
  click();
  EXPECT_EQ(speed->Parent(), panel);
  speed->SetParent(form.get());
  speed->OnClick = [&](TObject*) {
    delete speed;
    speed = nullptr;
  };
  click();
  EXPECT_EQ(speed, nullptr);
  click();  // nothing left there
  UpdateWindow(parent);
}

// ---------------------------------------------------------------------------
// The choice of control skin attaches these skins

namespace {

// A combo box class listed as "comboboxex": the control draws its own button.
class TComboWithButton : public TComboBox {
  QV_CLASS(TComboWithButton)
 public:
  using TComboBox::TComboBox;
};

const TClassInfo& TComboWithButton::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TComboWithButton>(u"TComboWithButton", TComboBox::StaticClass()).Done();
  return info;
}

}  // namespace

TEST_F(SkinBitButtonTest, TheChoiceGivesPictureButtonsAndComboBoxesTheirSkins) {
  TWinSkinForm sf(nullptr);
  sf.fsd = data.get();
  data->SetSkinControls((1u << (xcFastReport + 1)) - 1);
  for (const char16_t* line : {u"TBitBtn=bitbtn", u"TSpeedButton=speedbutton", u"TComboBox=combobox",
                               u"TComboWithButton=comboboxex"})
    data->Skin3rd()->Add(line);
  auto place = [&](auto* c) {
    c->SetBounds(8, 200, 90, 24);
    c->SetParent(form.get());
    return c;
  };
  auto* plainBit = place(new TBitBtn(form.get()));
  auto* standard = place(new TcxButton(form.get()));
  auto* dropDown = place(new TcxButton(form.get()));
  dropDown->SetKind(cxbkDropDownButton);
  auto* pngBit = place(new TPngBitBtn(form.get()));
  auto* plainSpeed = place(new TSpeedButton(form.get()));
  auto* pngSpeed = place(new TPngSpeedButton(form.get()));
  auto* combo = place(new TComboBox(form.get()));
  auto* withButton = place(new TComboWithButton(form.get()));
  for (TControl* c : std::initializer_list<TControl*>{plainBit, standard, dropDown, pngBit, plainSpeed, pngSpeed,
                                                      combo, withButton})
    sf.AddComp(c, form.get());

  auto skinOf = [&](TControl* c) -> TSkinControl* {
    for (TSkinControl* s : sf.controls.Controllist)
      if (s->control == c || s->GControl == c) return s;
    return nullptr;
  };
  const struct {
    TControl* control;
    const char16_t* skin;
    const char16_t* picField;
  } rows[] = {
      {plainBit, u"TSkinBitButton", u""},       {standard, u"TSkinBitButton", u""},
      {dropDown, u"TSkinMenuButton", nullptr},  {pngBit, u"TSkinBitButton", u"PngImage"},
      {plainSpeed, u"TSkinSpeedButton", u""},   {pngSpeed, u"TSkinSpeedButton", u"PngImage"},
      {combo, u"TSkinComBox", nullptr},         {withButton, u"TSkinComBox", nullptr},
  };
  for (const auto& r : rows) {
    TSkinControl* s = skinOf(r.control);
    ASSERT_NE(s, nullptr) << ToUtf8(r.skin);
    EXPECT_EQ(s->ClassName(), r.skin);
    EXPECT_EQ(r.control->Perform(SM_QUERYSKINNED, 0, 0), 1) << ToUtf8(r.skin);
    if (auto* speedSkin = As<TSkinSpeedButton>(s)) {
      EXPECT_EQ(speedSkin->PicField, r.picField);
    } else if (auto* bitSkin = As<TSkinBitButton>(s); bitSkin && r.picField) {
      EXPECT_EQ(bitSkin->PicField, r.picField);
    }
  }
  EXPECT_FALSE(As<TSkinComBox>(skinOf(combo))->HasButton);
  EXPECT_TRUE(As<TSkinComBox>(skinOf(withButton))->HasButton);
  form.reset();  // the controls and their skins go before the skinned form
}
