// Skin archives made with the packer's writer, loaded by the skin component,
// and what each reader made of them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "platform/core/Dialogs.h"
#include "platform/core/FileUtils.h"
#include "skin/data/CustomSkinData.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinConvert.h"
#include "skin/data/WinSkinStore.h"

using namespace qv;

namespace {

std::vector<uint8_t> Bmp(int w, int h, TColor fill, TColor corner = -1) {
  TBitmap b;
  b.SetSize(w, h);
  FillRect(b, Rect(0, 0, w, h), fill);
  if (corner >= 0) b.SetPixel(0, 0, corner);
  TMemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

// An archive of the description and the named members.
TMemoryStream Archive(const std::string& ini, std::map<std::string, std::vector<uint8_t>> files = {},
                      int32_t version = 70000) {
  std::vector<TSkinMember> members;
  if (!ini.empty()) members.push_back({u"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  for (auto& [name, bytes] : files) members.push_back({FromUtf8(name), bytes});
  TMemoryStream s;
  WriteSkinArchive(version, members, s);
  s.SetPosition(0);
  return s;
}

struct Loaded {
  TCustomSkinData d{nullptr};
  explicit Loaded(const std::string& ini, std::map<std::string, std::vector<uint8_t>> files = {}) {
    TMemoryStream s = Archive(ini, std::move(files));
    d.LoadFromStream(s);
  }
};

TColor Sys(int i) { return static_cast<TColor>(clSystemColor | i); }

// Records message boxes instead of showing them.
struct Boxes {
  std::vector<String> texts;
  TMessageBoxHandler old;
  Boxes() {
    old = SetMessageBoxHandler([this](StringView t, StringView, unsigned) {
      texts.emplace_back(t);
      return 1;
    });
  }
  ~Boxes() { SetMessageBoxHandler(old); }
};

// Hands a defined property's bytes to the component like the form reader.
class OneBinary : public TFiler {
 public:
  explicit OneBinary(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  void DefineBinaryProperty(StringView name, BinaryReader read, BinaryWriter write, bool) override {
    if (name != u"SkinStream") return;
    TMemoryStream s;
    if (!bytes_.empty()) s.WriteBuffer(bytes_.data(), int64_t(bytes_.size()));
    s.SetPosition(0);
    if (writeBack) {
      TMemoryStream out;
      write(out);
      written = out.Bytes();
    } else {
      read(s);
    }
  }
  void DefineListProperty(StringView, ListReader, ListWriter, bool) override {}
  bool writeBack = false;
  std::vector<uint8_t> written;

 private:
  std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> Counted(const std::vector<uint8_t>& archive, int32_t n) {
  std::vector<uint8_t> v = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  v.insert(v.end(), archive.begin(), archive.end());
  return v;
}

}  // namespace

TEST(SkinElements, StartEmptyAndZero) {
  TDataSkinButton b(u"Buttons");
  EXPECT_TRUE(b.Map->Empty());
  EXPECT_TRUE(b.CheckMap->Empty());
  EXPECT_EQ(b.frame, 0);
  EXPECT_EQ(b.r, TRect{});
  EXPECT_EQ(b.Normalcolor, 0);
  EXPECT_EQ(b.IDName, u"Buttons");
  TCustomSkinData d(nullptr);
  EXPECT_TRUE(d.Empty);
  EXPECT_EQ(d.border[3]->IDName, u"Top");
  EXPECT_EQ(d.Title->IDName, u"Title");
  EXPECT_EQ(d.Skin3rd()->Count(), 118);
  EXPECT_EQ(d.Skin3rd()->Get(0), u"TCategoryButtons=scrollbar");
  EXPECT_EQ(d.Skin3rd()->Get(117), u"TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_FALSE(InSet(d.SkinControls(), xcMenuItem));
  EXPECT_TRUE(InSet(d.SkinControls(), xcSystemMenu));
  EXPECT_EQ(d.Options(), SetOf({xoPreview, xoToolbarBK, xoCaptionButtonHint}));
  EXPECT_EQ(d.Version(), u"5.40.07.15");
}

TEST(SkinLoad, AnArchiveWithoutDescriptionStillLoads) {
  Loaded s("", {{"x.bmp", Bmp(4, 4, 0)}});
  const TCustomSkinData& d = s.d;
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.Colors[0], Sys(8));
  EXPECT_EQ(d.Colors[3], Sys(15));
  EXPECT_EQ(d.Colors[13], Sys(15));
  EXPECT_EQ(d.Colors[6], Sys(20));
  EXPECT_FALSE(d.hasColors[3]);
  EXPECT_EQ(d.PresetColors[9], 0xFFFFFF);
  EXPECT_FALSE(d.tab || d.combox || d.SArrow || d.Menubar || d.progress);
  ASSERT_TRUE(d.Toolbar && d.comboxarrow && d.TrackBar && d.TrackBarVert);
  EXPECT_TRUE(d.comboxarrow->Map->Empty());
  EXPECT_EQ(d.comboxarrow->frame, 0);
  EXPECT_EQ(d.TrackBar->Map->Width(), 16);
  EXPECT_EQ(d.TrackBar->r, Rect(3, 3, 3, 3));
  EXPECT_EQ(d.TrackBar->frame, 1);
  EXPECT_EQ(d.TrackBarVert->Map->Height(), 16);
  ASSERT_EQ(d.SysBtn.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(d.SysBtn[size_t(i)]->Action, 7 + i);
    EXPECT_EQ(d.SysBtn[size_t(i)]->Align, 100);
    EXPECT_EQ(d.SysBtn[size_t(i)]->frame, 4);
    EXPECT_TRUE(d.SysBtn[size_t(i)]->Map->Empty());
  }
  EXPECT_EQ(d.Title->FontHeight, 14);
  EXPECT_EQ(d.Title->activetext, clNone);
  EXPECT_EQ(d.Button->frame, 5);
  EXPECT_EQ(d.Button->checkframe, 4);
}

TEST(SkinLoad, ColourTextAndItsEdges) {
  EXPECT_EQ(StrToRGB(u"255 0 255"), 0xFF00FF);
  EXPECT_EQ(StrToRGB(u" 255,0,255 "), 0xFF00FF);
  EXPECT_EQ(StrToRGB(u"255 0"), 0x0000FF);
  EXPECT_EQ(StrToRGB(u"12"), 0);
  EXPECT_EQ(StrToRGB(u"300 0 0"), 0x00002C);
  EXPECT_EQ(StrToRGB(u"1 2 3 4 5 6"), 0x030201);  // runs past the third are ignored
  EXPECT_EQ(StrToRGB(u"1 2 3 4"), 0x030201);
  // A run too large stays open and swallows every later digit: nothing closes.
  EXPECT_EQ(StrToRGB(u"99999999999 7 8 9"), 0);
  EXPECT_EQ(StrToRGB(u"1 2 99999999999 7"), 0x000201);
}

TEST(SkinLoad, SchemeColoursAndPresets) {
  Loaded s(
      "[Colours]\nButtonFace=1 2 3\nHilight=0x10 0 0\nMenuText=\n[ColourScheme1]\ncolor=0 0 255\n"
      "[Colours]\nWindowText=9 9 9\n[colour2]\n[Customcolors]\nColor3=7 8 9\n");
  const TCustomSkinData& d = s.d;
  EXPECT_EQ(d.Colors[3], 0x030201);
  EXPECT_TRUE(d.hasColors[3]);
  EXPECT_EQ(d.Colors[13], 0x030201);  // menu bar defaults to the face just read
  EXPECT_FALSE(d.hasColors[13]);
  EXPECT_EQ(d.Colors[15], Sys(7));    // an empty value counts as absent
  EXPECT_FALSE(d.hasColors[15]);
  EXPECT_EQ(d.Colors[0], Sys(8));     // only the first "Colours" section counts
  EXPECT_EQ(d.Colors[12], 0x000A00);  // colour text is decimal only: "0x10 0 0" is 0, 10, 0
  ASSERT_EQ(d.ColorPreset.size(), 2u);
  EXPECT_EQ(d.ColorPreset[0], 0xFF0000);
  EXPECT_EQ(d.ColorPreset[1], Sys(8));
  TColor c = 0;
  EXPECT_TRUE(d.GetPrecolor(c, 0));
  EXPECT_EQ(c, 0xFF0000);
  EXPECT_FALSE(d.GetPrecolor(c, 2));
  EXPECT_FALSE(d.GetPrecolor(c, -1));
  EXPECT_EQ(d.PresetColors[3], 0x090807);
  EXPECT_EQ(d.PresetColors[0], 0xFFFFFF);
}

TEST(SkinLoad, CaptionButtons) {
  Loaded s(
      "[Buttons]\n[Button]\n[Button.Radio]\n[ButtonX]\nAction=4\n"
      "[Button.Skip]\nAction=-1\n[Button.Keep]\nAction=-1\nVisibility=0\nButtonImage=w.bmp\n"
      "[Button.Max]\nAction=1\nVisibility=2\nXcoord=40\nYcoord=3\nButtonImage=n.bmp\n"
      "[Button.Help]\nAction=4\nXcoord=1\n[Button.Icon]\nAction=3\nButtonImage=n.bmp\n"
      "[Button.Given]\nframe=2\nAction=3\nButtonImage=w.bmp\n"
      "[MDICONTROLS]\nImage=mdi.bmp\n",
      {{"n.bmp", Bmp(60, 20, 1)}, {"w.bmp", Bmp(120, 20, 2)}, {"mdi.bmp", Bmp(120, 10, 3)}});
  const auto& b = s.d.SysBtn;
  ASSERT_EQ(b.size(), 6u + 3u);
  EXPECT_EQ(b[0]->IDName, u"BUTTONX");
  EXPECT_EQ(b[0]->XCoord, 0);  // an Action-4 button before any maximise button
  EXPECT_EQ(b[1]->IDName, u"BUTTON.KEEP");
  EXPECT_EQ(b[1]->Visibility1, -1);
  EXPECT_EQ(b[1]->frame, 6);  // negative action
  EXPECT_EQ(b[1]->CombineOp, -1);
  EXPECT_EQ(b[2]->frame, 3);  // 60 x 20
  EXPECT_EQ(b[2]->Visibility1, 0);
  EXPECT_EQ(b[3]->XCoord, 40);
  EXPECT_EQ(b[3]->YCoord, 3);
  EXPECT_TRUE(b[4]->Map->Empty());  // icon without a frame: no picture
  EXPECT_EQ(b[5]->frame, 2);
  EXPECT_FALSE(b[5]->Map->Empty());
  for (int j = 0; j < 3; ++j) {
    const auto& m = *b[size_t(6 + j)];
    EXPECT_EQ(m.Action, 7 + j);
    EXPECT_EQ(m.Map->Width(), 40);
    EXPECT_EQ(m.Map->Height(), 10);
    EXPECT_EQ(m.XCoord, 14 * (3 - j));
    EXPECT_EQ(m.IDName, u"BUTTON.GIVEN");
  }
}

TEST(SkinLoad, PicturesByNameAndTileRules) {
  Loaded s(
      "[Scrollbar]\nImage=sub\\a.bmp\nTile=5\nFrame=9\n[HorzScroll]\nImage=a.BMP\n[VertScroll]\nImage=missing.bmp\n"
      "[Progress]\nBitmap=c:a.bmp\nTile=5\n[Personality]\nmenuBar=a.bmp\nTileMenu=5\nLeft=a.bmp\nLeftStretch=5\n"
      "[Tab.Pane]\nImage=a.bmp\nLeftWidth=10\nTopHeight=10\nRightWidth=3\nBottomHeight=10\n"
      "[Headerbar]\nImage=a.bmp\nFrame=2\n[MenuItem]\nImage=a.bmp\n[HorzScrollThumb]\nImage=a.bmp\nFrameCount=7\n"
      "[VertScrollThumb]\nImage=a.bmp\n[Tabs]\nImage=a.bmp\nBorder=a.bmp\nTile=1\nNormalColour2=1 1 1\n",
      {{"a.bmp", Bmp(8, 4, 0x123456)}});
  const TCustomSkinData& d = s.d;
  ASSERT_TRUE(d.SArrow && d.HBar && d.VBar && d.progress && d.Menubar);
  EXPECT_EQ(d.SArrow->Map->Width(), 8);
  EXPECT_EQ(d.SArrow->Tile, 0);
  EXPECT_EQ(d.SArrow->frame, 23);
  EXPECT_EQ(d.SArrow->Normalcolor, -1);
  EXPECT_EQ(d.SArrow->Normalcolor2, Sys(18));
  EXPECT_TRUE(d.HBar->Map->Empty());  // ".BMP" is not ".bmp"
  EXPECT_TRUE(d.VBar->Map->Empty());
  EXPECT_EQ(d.progress->Tile, 1);
  EXPECT_EQ(d.progress->frame, 2);
  EXPECT_EQ(d.progress->Normalcolor, 0);
  EXPECT_EQ(d.Menubar->Tile, 1);
  EXPECT_EQ(d.Menubar->r, Rect(1, 0, 1, 0));
  EXPECT_EQ(d.border[1]->Tile, 1);
  EXPECT_FALSE(d.border[1]->Map->Empty());
  EXPECT_EQ(d.TabSheet->r, Rect(4, 4, 3, 4));
  EXPECT_EQ(d.Header->frame, 2);
  EXPECT_EQ(d.MenuItem->frame, 5);
  EXPECT_EQ(d.HSlider->frame, 7);
  EXPECT_EQ(d.VSlider->frame, 3);
  EXPECT_EQ(d.tab->frame, 5);
  EXPECT_FALSE(d.tab->MaskMap->Empty());
  EXPECT_EQ(d.tab->Tile, 1);
  EXPECT_EQ(d.tab->Normalcolor2, 0x010101);
}

TEST(SkinLoad, ComboImagesAndArrow) {
  // Border frames 84 x 21 (4 of 21), button frames 4 of 17 x 21, glyphs 5 of 9 x 5.
  TBitmap button;
  button.SetSize(68, 21);
  for (int k = 0; k < 4; ++k) FillRect(button, Bounds(17 * k, 0, 17, 21), 0x101010 * (k + 1));
  TMemoryStream bs;
  button.SaveToStream(bs);
  Loaded s("[SunkEdge]\nImage=e.bmp\nLeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n"
           "[ComboButton]\nImage=b.bmp\n[ExtraImages]\nImage=g.bmp\n",
           {{"e.bmp", Bmp(84, 21, 0xEEEEEE)}, {"b.bmp", bs.Bytes()}, {"g.bmp", Bmp(45, 5, 0x0000FF)}});
  const TCustomSkinData& d = s.d;
  const int bw = 17 + 2;
  ASSERT_TRUE(d.combox && d.Comboxborder && d.comboxarrow);
  EXPECT_EQ(d.combox->style, 2);
  EXPECT_EQ(d.combox->Map->Width(), 200);
  EXPECT_EQ(d.combox->Map->Height(), 21);
  EXPECT_EQ(d.combox->r, Rect(2, 2, bw + 2, 2));
  EXPECT_EQ(d.Comboxborder->r, Rect(bw + 2, 2, 2, 2));
  EXPECT_EQ(d.combox->MaskMap->Width(), 68);  // the original button, mirrored
  EXPECT_EQ(d.combox->MaskMap->Pixel(0, 0), 0x404040);
  // Cell 2: border, the button's second frame on the right, the glyph in
  // its middle, the edit area keyed out.
  const TBitmap& strip = *d.combox->Map;
  EXPECT_EQ(strip.Pixel(50 + 1, 10), 0xEEEEEE);
  EXPECT_EQ(strip.Pixel(50 + 10, 10), kSkinKeyColor);
  EXPECT_EQ(strip.Pixel(100 - 2, 1), 0x202020);
  EXPECT_EQ(strip.Pixel(100 - bw / 2 - 1, 10), 0x0000FF);
  // The mirror serves right-to-left boxes.
  EXPECT_EQ(d.Comboxborder->Map->Pixel(199 - (50 + 1), 10), 0xEEEEEE);
  // The arrow: the right-hand square of each cell.
  EXPECT_EQ(d.comboxarrow->frame, 4);
  EXPECT_EQ(d.comboxarrow->Map->Width(), 68);
  EXPECT_EQ(d.comboxarrow->Map->Height(), 17);
  EXPECT_EQ(d.comboxarrow->Map->Pixel(17 + 16, 0), strip.Pixel(100 - 3, 2));
}

TEST(SkinLoad, ComboArrowWithoutBorderOrWithoutButton) {
  // Only the button: its picture with the key colour as the resolved face.
  TMemoryStream one = Archive("[Colours]\n[ComboButton]\nImage=b.bmp\n", {{"b.bmp", Bmp(8, 4, kSkinKeyColor)}});
  TCustomSkinData d(nullptr);
  TSysColorSource old = SetSysColorSource([](int) { return 0x00A0B0C0u; });
  d.LoadFromStream(one);
  SetSysColorSource(old);
  ASSERT_TRUE(d.comboxarrow);
  EXPECT_EQ(d.comboxarrow->frame, 4);
  EXPECT_EQ(d.comboxarrow->Map->Pixel(3, 3), 0xA0B0C0);
  // A later skin with "SunkEdge" alone has nothing to cut an arrow from:
  // its arrow is empty, as it would be in a component that never had
  // another skin.
  TMemoryStream two = Archive("[SunkEdge]\nImage=e.bmp\n", {{"e.bmp", Bmp(8, 4, 0)}});
  d.LoadFromStream(two);
  EXPECT_FALSE(d.Empty);
  EXPECT_FALSE(d.combox);
  ASSERT_TRUE(d.comboxarrow);
  EXPECT_TRUE(d.comboxarrow->Map->Empty());
}

TEST(SkinLoad, CaptionColourAndToolbarGradient) {
  // A saturated caption (pure blue) in the top border's first third.
  Loaded s("[Colours]\nButtonFace=200 200 200\n[Personality]\nTop=t.bmp\nTopFrame=2\n",
           {{"t.bmp", Bmp(30, 40, 0xFF0000)}});
  const TCustomSkinData& d = s.d;
  EXPECT_EQ(d.GetCaptionColor(), 0xFF0000);
  EXPECT_EQ(d.Colors[17], 0xFF0000);
  ASSERT_TRUE(d.Toolbar);
  EXPECT_EQ(d.Toolbar->Map->Width(), 10);
  EXPECT_EQ(d.Toolbar->Map->Height(), 40);
  EXPECT_EQ(d.Toolbar->Map->Pixel(5, 0), Blend(0xC8C8C8, 0xFFFFFF, 150));
  // Saturation 255 > 110: the caption blended with white by (225-255)*25/140+50 = 45.
  EXPECT_EQ(d.Toolbar->Map->Pixel(5, 39), Blend(0xFF0000, 0xFFFFFF, 45));
  // A grey caption keeps the grey-based bottom colour.
  Loaded g("[Personality]\nTop=t.bmp\n", {{"t.bmp", Bmp(30, 40, 0xC0C0C0)}});
  EXPECT_EQ(g.d.Toolbar->Map->Pixel(0, 39), Blend(0x808080, 0xC0C0C0, 150));
  // A frame count of 0 counts as one image instead of dividing by zero.
  Loaded z("[Personality]\nTop=t.bmp\nTopFrame=0\n", {{"t.bmp", Bmp(30, 40, 0x00FF00, 0x0000FF)}});
  EXPECT_EQ(z.d.GetCaptionColor(), 0x00FF00);
}

TEST(SkinLoad, TitleAndBorders) {
  Loaded s("[Personality]\nTextShift=5\nTextShiftVert=6\nTextRightClip=7\nActiveTextR=1\nActiveTextG=2\n"
           "ActiveTextB=300\nInActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=1\nLeftTopHeight=30\nLeftBotHeight=4\n"
           "TopTopHeight=11\nTopBotHeight=12\nTopFrame=2\nBottomTrans=0\n[Fonts]\nFontHeight=16\n");
  const TCustomSkinData& d = s.d;
  EXPECT_EQ(d.Title->r, Rect(5, 6, 7, 0));
  EXPECT_EQ(d.Title->activetext, 0x2C0201);
  EXPECT_EQ(d.Title->inactivetext, clNone);
  EXPECT_EQ(d.Title->FontHeight, 16);
  EXPECT_EQ(d.Title->frame, 2);
  EXPECT_EQ(d.border[1]->r, Rect(0, 30, 0, 4));
  EXPECT_EQ(d.border[3]->r, Rect(11, 0, 12, 0));
  EXPECT_EQ(d.border[3]->frame, 2);
  EXPECT_EQ(d.border[4]->trans, 0);
  EXPECT_EQ(d.border[2]->trans, 1);
  EXPECT_EQ(d.border[2]->frame, 1);
}

TEST(SkinLoad, BrokenPictureEndsTheLoad) {
  std::vector<uint8_t> bad = Bmp(4, 4, 0);
  bad.resize(bad.size() - 5);
  TMemoryStream s = Archive("[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", bad}});
  TCustomSkinData d(nullptr);
  EXPECT_THROW(d.LoadFromStream(s), EInvalidGraphic);
  EXPECT_TRUE(d.Empty);
}

TEST(SkinLoad, UnknownVersionKeepsThePreviousSkin) {
  Boxes boxes;
  TCustomSkinData d(nullptr);
  TMemoryStream good = Archive("[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", Bmp(4, 4, 0)}});
  d.LoadFromStream(good);
  ASSERT_TRUE(d.SArrow);
  std::vector<uint8_t> plain = BuildSkinArchive(70000, {{u"skin.ini", {}}});
  plain[0] = 0x10, plain[1] = 0x27, plain[2] = 0, plain[3] = 0;  // 10000
  TMemoryStream p, old;
  p.WriteBuffer(plain.data(), int64_t(plain.size()));
  PackStream(p, old);
  d.LoadFromStream(old);
  EXPECT_TRUE(d.Empty);
  EXPECT_TRUE(d.SArrow);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], kOlderSkinMessage);
}

// Skinned windows point at the caption buttons and elements of the loaded
// skin: a reload must never free them under those windows. A load that
// breaks part way keeps the old skin whole (and the old bytes); one that
// succeeds keeps the old elements alive until SkinSwapped has run.
TEST(SkinLoad, AReloadKeepsTheOldSkinWholeUntilTheNewOneIsComplete) {
  struct Watched : TCustomSkinData {
    Watched() : TCustomSkinData(nullptr) {}
    const TDataSkinSysButton* old = nullptr;
    int swaps = 0, oldFrame = 0;
    void SkinSwapped() override {
      ++swaps;
      if (old) oldFrame = old->frame;  // freed memory here trips the sanitizer
    }
  };
  const std::string ini = "[Button.Close]\nAction=0\nButtonImage=c.bmp\n[Scrollbar]\nImage=s.bmp\n";
  TMemoryStream first = Archive("[TitlebarSkin]\nSkinName=First\n" + ini, {{"c.bmp", Bmp(60, 20, 1)}, {"s.bmp", Bmp(4, 4, 2)}});
  Watched d;
  d.LoadFromStream(first);
  ASSERT_EQ(d.swaps, 1);
  const std::vector<uint8_t> firstBytes = d.data->Bytes();
  const TDataSkinSysButton* close = d.SysBtn.at(0).get();
  const TDataSkinObject* arrow = d.SArrow.get();
  ASSERT_EQ(close->frame, 3);
  // The scroll-bar picture is read after the caption buttons: broken, it
  // ends the load with the buttons already read anew.
  std::vector<uint8_t> bad = Bmp(4, 4, 0);
  bad.resize(bad.size() - 5);
  TMemoryStream broken = Archive("[TitlebarSkin]\nSkinName=Broken\n" + ini, {{"c.bmp", Bmp(120, 20, 3)}, {"s.bmp", bad}});
  const std::string file = ::testing::TempDir() + "broken.skn";
  broken.SaveToFile(FromUtf8(file));
  TSkinStore store(nullptr);
  broken.SetPosition(0);
  store.Store()->Add()->Data()->LoadFromStream(broken);
  const std::pair<const char*, std::function<void()>> loads[] = {
      {"stream", [&] { broken.SetPosition(0), d.LoadFromStream(broken); }},
      {"file", [&] { d.LoadFromFile(FromUtf8(file)); }},
      {"collection", [&] { d.LoadFromCollection(&store, 0); }}};
  for (const auto& [how, load] : loads) {
    SCOPED_TRACE(how);
    EXPECT_THROW(load(), EInvalidGraphic);
    EXPECT_EQ(d.swaps, 1);
    EXPECT_FALSE(d.Empty);
    EXPECT_EQ(d.SkinName, u"First");
    ASSERT_EQ(d.SysBtn.at(0).get(), close);
    EXPECT_EQ(close->frame, 3);
    EXPECT_EQ(close->Map->Width(), 60);
    EXPECT_EQ(d.SArrow.get(), arrow);
    EXPECT_EQ(d.data->Bytes(), firstBytes);
  }
  // A good archive: swapped in whole, the old buttons readable until then.
  d.old = close;
  TMemoryStream second = Archive("[TitlebarSkin]\nSkinName=Second\n" + ini, {{"c.bmp", Bmp(120, 20, 4)}, {"s.bmp", Bmp(4, 4, 5)}});
  d.LoadFromStream(second);
  EXPECT_EQ(d.swaps, 2);
  EXPECT_EQ(d.oldFrame, 3);
  EXPECT_EQ(d.SkinName, u"Second");
  EXPECT_EQ(d.SysBtn.at(0)->frame, 6);
}

// The most memory the process has held since the mark was reset (Linux).
int64_t PeakBytesSinceReset(bool reset) {
  if (reset) {
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (f) std::fputs("5", f), std::fclose(f);
  }
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long long kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmHWM: %lld kB", &kb) == 1) break;
  std::fclose(f);
  return kb < 0 ? -1 : kb * 1024;
}

TEST(SkinLoad, PicturesBeyondTheMemoryBoundAreRefusedBeforeAnyIsDecoded) {
  // A 4096 x 4096 bitmap of 1 bit per pixel: 2 MB in the archive, packed to
  // almost nothing, 48 MiB once widened to 24 bits. Named by six keys it
  // would take 288 MiB.
  std::vector<uint8_t> big = BitmapFileHeaders(4096, 4096, 1, 2, 4096 * 4096 / 8);
  const uint8_t palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
  big.insert(big.end(), palette, palette + 8);
  big.resize(big.size() + 4096 * 4096 / 8, 0);
  std::string ini = "[Scrollbar]\nImage=small.bmp\n";
  for (const char* s : {"HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb", "Headerbar", "MenuItem"})
    ini += std::string("[") + s + "]\nImage=big.bmp\n";
  TMemoryStream archive = Archive(ini, {{"small.bmp", Bmp(4, 4, 0)}, {"big.bmp", big}});

  TCustomSkinData d(nullptr);
  TMemoryStream good = Archive("[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", Bmp(5, 3, 0)}});
  d.LoadFromStream(good);
  const int64_t before = PeakBytesSinceReset(true);
  EXPECT_THROW(d.LoadFromStream(archive), EOutOfResources);
  const int64_t after = PeakBytesSinceReset(false);
  if (before > 0) {
    EXPECT_LT(after - before, int64_t{64} << 20);
  }
  // The skin loaded before is still there, as it was.
  EXPECT_FALSE(d.Empty);
  ASSERT_TRUE(d.SArrow);
  EXPECT_EQ(d.SArrow->Map->Width(), 5);
  EXPECT_FALSE(d.HBar);

  // Five keys (240 MiB) stay under the bound: the member is decoded once and
  // each element gets its own copy.
  ini.erase(ini.rfind("[MenuItem]"));
  TMemoryStream under = Archive(ini, {{"small.bmp", Bmp(4, 4, 0)}, {"big.bmp", big}});
  d.LoadFromStream(under);
  EXPECT_FALSE(d.Empty);
  ASSERT_TRUE(d.HBar && d.Header);
  EXPECT_EQ(d.Header->Map->Width(), 4096);
  d.HBar->Map->SetPixel(0, 0, 0xFF);
  EXPECT_EQ(d.Header->Map->Pixel(0, 0), 0);
}

TEST(SkinStream, ReadsTheCountedArchiveAndRejectsShortData) {
  TMemoryStream a = Archive("[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", Bmp(4, 4, 0)}});
  const std::vector<uint8_t> archive = a.Bytes();
  TCustomSkinData d(nullptr);
  OneBinary good(Counted(archive, int32_t(archive.size())));
  d.DefineProperties(good);
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.data->Bytes(), archive);
  // N = 0 keeps the data and loads nothing.
  OneBinary none(Counted({}, 0));
  d.DefineProperties(none);
  EXPECT_EQ(d.data->Bytes(), archive);
  // A count past the bytes present is refused before anything is read.
  TCustomSkinData e(nullptr);
  OneBinary shortData(Counted(archive, int32_t(archive.size()) + 1));
  EXPECT_THROW(e.DefineProperties(shortData), EReadError);
  EXPECT_EQ(e.data->Size(), 0);
  OneBinary noCount({1, 2});
  EXPECT_THROW(e.DefineProperties(noCount), EReadError);
  // Written back: the count and the same bytes.
  OneBinary writer({});
  writer.writeBack = true;
  d.DefineProperties(writer);
  EXPECT_EQ(writer.written, Counted(archive, int32_t(archive.size())));
}

TEST(SkinStream, FilesAndStores) {
  TCustomSkinData d(nullptr);
  d.LoadFromFile(u"/nonexistent/skin.skn");
  EXPECT_TRUE(d.Empty);
  EXPECT_EQ(d.SkinFile(), u"/nonexistent/skin.skn");
  TSkinStore store(nullptr);
  TMemoryStream a = Archive("[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", Bmp(4, 4, 0)}});
  store.Store()->Add()->Data()->LoadFromStream(a);
  d.LoadFromCollection(&store, 1);  // past the end: nothing
  EXPECT_TRUE(d.Empty);
  EXPECT_THROW(d.LoadFromCollection(&store, -1), EListError);
  d.LoadFromCollection(&store, 0);
  EXPECT_FALSE(d.Empty);
  EXPECT_TRUE(d.SArrow);
  EXPECT_EQ(TCustomSkinData::GetFileName(u"abc.def.ghi"), u"abc");
  EXPECT_EQ(TCustomSkinData::GetFileName(u".abc"), u"");
  EXPECT_EQ(TCustomSkinData::GetFileName(u"abc"), u"");
}

TEST(EmbeddedSkin, TheProgramsOwnSkinLoadsWhole) {
  TCustomSkinData d(nullptr);
  d.LoadFromFile(FromUtf8(QV_TEST_DATA "/../../assets/skin/quillvault.skin"));
  ASSERT_FALSE(d.Empty);
  EXPECT_EQ(d.SkinName, u"Quillvault Slate");
  // Every element the loader reads from a section is there, with a picture.
  const std::initializer_list<const TDataSkinObject*> read = {
        d.tab.get(), d.HSpin.get(), d.VSpin.get(), d.Comboxborder.get(), d.ExtraImages.get(),
        d.combox.get(), d.comboxarrow.get(), d.Box.get(), d.Toolbarbtn.get(),
        d.progress.get(), d.progresschunk.get(), d.boxlabel.get(), d.StatusBar.get(), d.TabSheet.get(), d.Header.get(),
        d.Menubar.get(), d.MenuItem.get(), d.MenuitemBG.get(), d.SArrow.get(), d.HBar.get(), d.VBar.get(),
        d.HSlider.get(), d.VSlider.get(), d.TrackHorz.get(), d.TrackVert.get(), d.TrackBar.get(),
        d.TrackBarVert.get(), d.TrackLeft.get(), d.Trackright.get(), d.Tracktop.get(), d.Trackbottom.get()};
  for (const TDataSkinObject* e : read) {
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->Map->Empty()) << ToUtf8(e->IDName);
  }
  for (int i = 1; i <= 4; ++i) {
    EXPECT_FALSE(d.border[size_t(i)]->Map->Empty());
    EXPECT_EQ(d.border[size_t(i)]->trans, 1);
    EXPECT_EQ(d.border[size_t(i)]->frame, 2);
  }
  // Transparent rounded corners: the window's top-left pixel is the key.
  EXPECT_EQ(d.border[1]->Map->Pixel(0, 0), kSkinKeyColor);
  EXPECT_EQ(d.border[1]->Map->Pixel(0, d.border[1]->r.Top + 1), d.border[1]->Map->Pixel(0, d.border[1]->r.Top));
  EXPECT_EQ(d.Elements().size(), 47u);
  EXPECT_EQ(d.SysBtn.size(), 6u + 3u);
  EXPECT_FALSE(d.SysBtn[6]->Map->Empty());
  EXPECT_EQ(d.Button->checkframe, 4);
  // The caption is dark: its text is light, and the toolbar follows it.
  EXPECT_LT(RedOf(uint32_t(d.GetCaptionColor())), 0x60);
  EXPECT_GT(RedOf(uint32_t(d.Colors[1])), 0xE0);
}
