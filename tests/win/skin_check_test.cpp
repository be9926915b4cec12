// Check box, radio button, group box and panel skins on real controls, read
// back from memory bitmaps with a test skin whose check and radio frames
// are distinct solid colours: each state's frame (and the frame a short
// strip falls back to), the box and caption for both alignments, raw
// buttons painting themselves with only the box from the skin, the group
// box's frame and caption, a panel's colour given and put back; clicks,
// Space and the arrow keys, OnClick once, and a check box re-created or
// freed inside its own click.
#include <gtest/gtest.h>

#include <memory>

#include "platform/win/CheckControls.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/data/SkinMessages.h"
#include "skin/windows/SkinManager.h"
#include "tests/win/SkinControlFixture.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::DC;
using qvtest::PaintedOnWhite;

namespace {

constexpr int kBox = 13;  // one frame of the strips
constexpr int kW = 120, kH = 21;
constexpr TColor kFace = 0x808080, kShadow = 0x0000A0, kWhite = 0xFFFFFF, kPanel = 0x30A050;

// Frame i (from 1) of the test strips: a colour of its own.
constexpr TColor FrameColor(int i) { return static_cast<TColor>(0x010000 * (i * 16) + 0x20 + i); }

std::unique_ptr<TBitmap> Strip(int frames) {
  auto b = Bmp(kBox * frames, kBox, 0);
  for (int i = 0; i < frames; ++i) FillRect(*b, Rect(i * kBox, 0, (i + 1) * kBox, kBox), FrameColor(i + 1));
  return b;
}

std::unique_ptr<TSkinData> CheckSkin(int checkFrames, int radioFrames) {
  auto d = std::make_unique<TSkinData>(nullptr);
  d->Colors[3] = kFace;
  d->Colors[7] = kShadow;
  d->Button = std::make_unique<TDataSkinButton>(u"Button");
  d->Button->checkframe = checkFrames;
  d->Button->CheckMap = Strip(std::max(checkFrames, 1));
  d->Button->radioframe = radioFrames;
  d->Button->RadioMap = Strip(std::max(radioFrames, 1));
  return d;
}

// The frame whose colour stands at p, 0 for none.
int FrameAt(TBitmap& b, int x, int y) {
  for (int i = 1; i <= 12; ++i)
    if (b.Pixel(x, y) == FrameColor(i)) return i;
  return 0;
}

// Columns [x0, x1) holding a pixel that is neither face nor white.
bool InkIn(TBitmap& b, int x0, int x1) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, b.Width()); ++x)
      if (b.Pixel(x, y) != kFace && b.Pixel(x, y) != kWhite && b.Pixel(x, y) != kShadow && !FrameAt(b, x, y))
        return true;
  return false;
}

// A data-aware check box as other libraries have them: the skin follows the
// check state sent to its window, not its State property.
class TDataCheckBox : public TCheckBox {
  QV_CLASS(TDataCheckBox)
 public:
  using TCheckBox::TCheckBox;
  String DataField;
};

const TClassInfo& TDataCheckBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TDataCheckBox>(u"TDataCheckBox", TCheckBox::StaticClass())
                                      .Str(u"DataField", &TDataCheckBox::DataField, &TDataCheckBox::DataField)
                                      .Done();
  return info;
}

// A check box of another library whose "Caption" is a number, not text.
class TNumberedCheckBox : public TCheckBox {
  QV_CLASS(TNumberedCheckBox)
 public:
  using TCheckBox::TCheckBox;
  int Number = 7;
};

const TClassInfo& TNumberedCheckBox::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TNumberedCheckBox>(u"TNumberedCheckBox", TCheckBox::StaticClass())
          .Int(u"Caption", &TNumberedCheckBox::Number, &TNumberedCheckBox::Number)
          .Done();
  return info;
}

struct SkinCheckTest : qvtest::SkinControlFixture {

  void SetUp() override {
    data = CheckSkin(12, 8);
    MakeForm(75, 25);
    form->Font()->SetColor(0x000000);
    ShowWindow(form->Handle(), SW_SHOWNA);
  }

  template <class C>
  C* Add(int y, const char16_t* caption = u"Caption") {
    auto* c = new C(form.get());
    c->SetBounds(140, y, kW, kH);
    c->SetCaption(caption);
    c->SetParent(form.get());
    c->OnClick = [this](TObject*) { ++clicks; };
    return c;
  }

  template <class S>
  S* Skin(TWinControl* c) {
    return Attach<S>(
        std::is_same_v<S, TSkinCheckBox> ? TControlSkinClass::SkinCheckBox : TControlSkinClass::SkinRadioButton, c);
  }

  std::unique_ptr<TBitmap> Painted(TSkinControl* s, int w = kW, int h = kH) { return PaintedOnWhite(s, w, h); }
  int BoxFrame(TSkinControl* s) { return FrameAt(*Painted(s), kBox / 2, kH / 2); }

  void Click(HWND w) {
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  }

  int clicks = 0;
};

// ---------------------------------------------------------------------------
// Looks

TEST_F(SkinCheckTest, EachCheckStateShowsItsFrame) {
  struct Case {
    int frames;
    TCheckBoxState state;
    bool enabled;
    int frame;
  };
  const Case cases[] = {
      {12, cbUnchecked, true, 1}, {12, cbChecked, true, 5},  {12, cbGrayed, true, 9},
      {12, cbUnchecked, false, 4}, {12, cbChecked, false, 8}, {12, cbGrayed, false, 12},
      {4, cbUnchecked, true, 1},  {4, cbChecked, true, 2},   {4, cbGrayed, true, 4},
      {4, cbUnchecked, false, 3}, {4, cbChecked, false, 4},  {4, cbGrayed, false, 4},
      // A strip too short for the state falls back to the enabled look.
      {2, cbChecked, false, 2},   {2, cbUnchecked, false, 1}, {2, cbGrayed, true, 2},
  };
  auto* cb = Add<TCheckBox>(8);
  cb->SetAllowGrayed(true);
  auto* skin = Skin<TSkinCheckBox>(cb);
  EXPECT_EQ(skin->kind, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frames << " frames, state " << c.state << ", enabled " << c.enabled);
    data->Button->checkframe = c.frames;
    data->Button->CheckMap = Strip(c.frames);
    cb->SetState(c.state);
    cb->SetEnabled(c.enabled);
    EXPECT_EQ(BoxFrame(skin), c.frame);
  }
}

TEST_F(SkinCheckTest, ADataAwareCheckBoxFollowsTheCheckStateSentToIt) {
  data->Button->checkframe = 4;
  data->Button->CheckMap = Strip(4);
  auto* plain = Add<TCheckBox>(8);
  auto* aware = Add<TDataCheckBox>(40);
  auto* plainSkin = Skin<TSkinCheckBox>(plain);
  auto* awareSkin = Skin<TSkinCheckBox>(aware);
  for (TWinControl* c : {static_cast<TWinControl*>(plain), static_cast<TWinControl*>(aware)})
    SendMessageW(c->Handle(), BM_SETCHECK, BST_CHECKED, 0);  // past the State property
  EXPECT_EQ(BoxFrame(plainSkin), 1);
  EXPECT_EQ(BoxFrame(awareSkin), 2);
  EXPECT_EQ(awareSkin->state, 2);
}

TEST_F(SkinCheckTest, EachRadioStateShowsItsFrame) {
  struct Case {
    int frames;
    bool checked, enabled;
    int frame;
  };
  const Case cases[] = {{8, false, true, 1}, {8, true, true, 5}, {8, false, false, 4}, {8, true, false, 8},
                        {4, false, true, 1}, {4, true, true, 2}, {4, false, false, 3}, {4, true, false, 4},
                        {1, true, false, 1}};
  auto* rb = Add<TRadioButton>(8);
  auto* skin = Skin<TSkinRadioButton>(rb);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frames << " frames, checked " << c.checked << ", enabled " << c.enabled);
    data->Button->radioframe = c.frames;
    data->Button->RadioMap = Strip(c.frames);
    rb->SetChecked(c.checked);
    rb->SetEnabled(c.enabled);
    EXPECT_EQ(BoxFrame(skin), c.frame);
  }
}

TEST_F(SkinCheckTest, AStripWithoutFramesLeavesTheControlToItself) {
  auto* cb = Add<TCheckBox>(8);
  auto* skin = Skin<TSkinCheckBox>(cb);
  for (int frames : {0, -3}) {
    data->Button->checkframe = frames;
    EXPECT_EQ(Painted(skin)->Pixel(kBox / 2, kH / 2), kWhite);  // nothing drawn, nothing divided by 0
    EXPECT_EQ(skin->kind, 0);
  }
  data->Button->CheckMap->Clear();
  EXPECT_EQ(Painted(skin)->Pixel(kBox / 2, kH / 2), kWhite);
  // A skin change that brings a strip back takes the painting back.
  data->Button->checkframe = 4;
  data->Button->CheckMap = Strip(4);
  skin->SkinChange();
  EXPECT_EQ(skin->kind, 1);
  data->Button.reset();
  EXPECT_EQ(Painted(skin)->Pixel(kBox / 2, kH / 2), kWhite);
}

TEST_F(SkinCheckTest, BoxAndCaptionStandOnTheSideTheAlignmentAsks) {
  auto* cb = Add<TCheckBox>(8);
  auto* rb = Add<TRadioButton>(40);
  auto* cskin = Skin<TSkinCheckBox>(cb);
  auto* rskin = Skin<TSkinRadioButton>(rb);
  for (TSkinControl* s : {static_cast<TSkinControl*>(cskin), static_cast<TSkinControl*>(rskin)}) {
    auto b = Painted(s);
    EXPECT_EQ(FrameAt(*b, 0, kH / 2), 1);
    EXPECT_EQ(b->Pixel(kW - 1, kH / 2), kFace);
    EXPECT_TRUE(InkIn(*b, kBox + 2, kW));
    EXPECT_FALSE(InkIn(*b, 0, kBox + 2));
  }
  cb->SetAlignment(taLeftJustify);
  rb->SetAlignment(taLeftJustify);
  auto b = Painted(cskin);
  EXPECT_EQ(FrameAt(*b, kW - 1, kH / 2), 1);  // flush right
  EXPECT_EQ(FrameAt(*b, kW - kBox, kH / 2), 1);
  EXPECT_TRUE(InkIn(*b, 0, kW - kBox - 2));
  EXPECT_FALSE(InkIn(*b, kW - kBox - 2, kW));
  b = Painted(rskin);
  EXPECT_EQ(b->Pixel(kW - 1, kH / 2), kFace);  // one pixel further in
  EXPECT_EQ(FrameAt(*b, kW - 2, kH / 2), 1);
  EXPECT_EQ(FrameAt(*b, kW - kBox - 1, kH / 2), 1);
}

TEST_F(SkinCheckTest, ACheckBoxWithoutATextCaptionShowsItsWindowText) {
  auto* cb = Add<TNumberedCheckBox>(8, u"Window text");
  EXPECT_TRUE(InkIn(*Painted(Skin<TSkinCheckBox>(cb)), kBox + 2, kW));
}

TEST_F(SkinCheckTest, TheCaptionIsCentredVerticallyAndWrapsWhenAsked) {
  auto* cb = Add<TCheckBox>(8, u"Long caption text that wraps");
  cb->SetHeight(60);
  cb->SetWidth(90);
  cb->SetWordWrap(true);
  auto* skin = Skin<TSkinCheckBox>(cb);
  auto b = Painted(skin, 90, 60);
  int top = -1, bottom = -1;
  for (int y = 0; y < 60; ++y)
    for (int x = kBox + 2; x < 90; ++x)
      if (b->Pixel(x, y) != kFace) {
        if (top < 0) top = y;
        bottom = y;
      }
  ASSERT_GE(top, 0);
  EXPECT_GT(bottom - top, 20);  // two lines at least
  EXPECT_LE(std::abs((60 - 1 - bottom) - top), 4);
  EXPECT_EQ(FrameAt(*b, 3, 30), 1);  // the box in the middle of the height
  EXPECT_EQ(b->Pixel(3, (60 - kBox) / 2 - 1), kFace);
}

TEST_F(SkinCheckTest, AFocusedCaptionIsFramedExceptOnVersionSixOrWhenEmpty) {
  auto* cb = Add<TCheckBox>(8);
  auto* skin = Skin<TSkinCheckBox>(cb);
  const bool saved = NotWin6;
  auto differs = [&](bool notWin6) {
    NotWin6 = notWin6;
    SetFocus(edit->Handle());
    auto unfocused = Painted(skin);
    SetFocus(cb->Handle());
    auto focused = Painted(skin);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (unfocused->Pixel(x, y) != focused->Pixel(x, y)) return true;
    return false;
  };
  EXPECT_TRUE(differs(true));
  EXPECT_FALSE(differs(false));
  cb->SetCaption(u"");
  EXPECT_FALSE(differs(true));
  NotWin6 = saved;
}

TEST_F(SkinCheckTest, RawButtonsPaintThemselvesAndGetOnlyTheBox) {
  struct Case {
    DWORD style;
    WPARAM check;
    TControlSkinClass cls;
    int frame;
  };
  const Case cases[] = {{BS_AUTOCHECKBOX, BST_CHECKED, TControlSkinClass::SkinCheckBox, 5},
                        {BS_AUTO3STATE, BST_INDETERMINATE, TControlSkinClass::SkinCheckBox, 9},
                        {BS_AUTORADIOBUTTON, BST_CHECKED, TControlSkinClass::SkinRadioButton, 5}};
  for (const Case& c : cases) {
    HWND w = MakeWindow(L"BUTTON", WS_CHILD | WS_VISIBLE | c.style, Bounds(8, 100, kW, kH), form->Handle(), L"Raw");
    TSkinControl* s = CreateControlSkin(c.cls, form.get());
    s->Inithwnd(w, data.get(), nullptr, nullptr);
    EXPECT_EQ(s->kind, 0);
    SendMessageW(w, BM_SETCHECK, c.check, 0);
    auto b = Painted(s);
    EXPECT_EQ(FrameAt(*b, kBox / 2, kH / 2), c.frame);
    EXPECT_FALSE(InkIn(*b, kBox, kW));  // the caption is the button's own
    if (auto* cs = As<TSkinCheckBox>(s)) {
      EXPECT_EQ(cs->state, static_cast<int>(c.check) + 1);
    }
    // The window itself: the button's own caption, the skin's box over it.
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, kBox / 2, kH / 2), static_cast<COLORREF>(FrameColor(c.frame)));
    ReleaseDC(w, dc);
    delete s;
  }
}

TEST_F(SkinCheckTest, GroupBoxFrameAndCaption) {
  auto* group = new TGroupBox(form.get());
  group->SetBounds(140, 60, 150, 80);
  group->SetCaption(u"Group");
  group->SetParent(form.get());
  TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinGroupBox, group);
  skin->Init(nullptr, data.get(), nullptr, true);
  EXPECT_EQ(skin->kind, 1);
  EXPECT_EQ(group->Color(), kFace);

  auto b = Painted(skin, 150, 80);
  HDC sdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(sdc, group->Font()->Handle());
  SIZE zero{}, text{};
  GetTextExtentPoint32W(sdc, L"0", 1, &zero);
  GetTextExtentPoint32W(sdc, L"Group", 5, &text);
  SelectObject(sdc, old);
  ReleaseDC(nullptr, sdc);
  const int y = zero.cy / 2 - 1;
  // The caption's cell covers the frame line.
  auto lineIn = [&](TBitmap& bmp, int x0, int x1) {
    for (int x = x0; x < x1; ++x)
      if (bmp.Pixel(x, y) == kShadow) return true;
    return false;
  };
  EXPECT_EQ(b->Pixel(1, 40), kShadow);    // left side
  EXPECT_EQ(b->Pixel(148, 40), kShadow);  // right side (RoundRect leaves the last column)
  EXPECT_EQ(b->Pixel(120, y), kShadow);   // top line, past the caption
  EXPECT_EQ(b->Pixel(120, y - 1), kFace);
  EXPECT_EQ(b->Pixel(75, 78), kShadow);   // bottom line
  EXPECT_TRUE(InkIn(*b, 8, 8 + text.cx));
  EXPECT_FALSE(lineIn(*b, 8, 8 + text.cx));
  EXPECT_TRUE(lineIn(*b, 3, 8));

  SetWindowLongW(group->Handle(), GWL_EXSTYLE, GetWindowLongW(group->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  b = Painted(skin, 150, 80);
  EXPECT_FALSE(InkIn(*b, 2, 150 - 8 - text.cx));
  EXPECT_TRUE(InkIn(*b, 150 - 8 - text.cx, 142));
  EXPECT_FALSE(lineIn(*b, 150 - 8 - text.cx, 142));
  EXPECT_TRUE(lineIn(*b, 8, 20));
}

TEST_F(SkinCheckTest, APanelTakesTheFaceColourAndGetsItsOwnBack) {
  struct Case {
    const char* how;
    TControlSkinState skinstate;  // before letting go
    bool unsubclass;
    TColor after;
  };
  const Case cases[] = {{"unskinned", TControlSkinState::Active, true, kPanel},
                       {"freed", TControlSkinState::Active, false, kPanel},
                       {"window going", TControlSkinState::Unskinning, true, kFace}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetColor(kPanel);
    TSkinControl* skin = CreateControlSkin(TControlSkinClass::SkinBox, panel);
    skin->Init(nullptr, data.get(), nullptr, true);
    EXPECT_EQ(panel->Color(), kFace);
    skin->skinstate = c.skinstate;
    if (c.unsubclass) skin->Unsubclass();
    delete skin;
    EXPECT_EQ(panel->Color(), c.after);
    delete panel;
  }
}

// ---------------------------------------------------------------------------
// Behaviour

TEST_F(SkinCheckTest, ClickingTogglesOnceAndCyclesThroughGreyWhenAllowed) {
  auto* cb = Add<TCheckBox>(8);
  auto* skin = Skin<TSkinCheckBox>(cb);
  Click(cb->Handle());
  EXPECT_EQ(cb->State(), cbChecked);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(BoxFrame(skin), 5);
  Click(cb->Handle());
  EXPECT_EQ(cb->State(), cbUnchecked);
  EXPECT_EQ(clicks, 2);

  cb->SetAllowGrayed(true);
  const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked};
  const int frames[] = {9, 5, 1};
  for (int i = 0; i < 3; ++i) {
    Click(cb->Handle());
    EXPECT_EQ(cb->State(), cycle[i]);
    EXPECT_EQ(BoxFrame(skin), frames[i]);
  }
  EXPECT_EQ(clicks, 5);

  // Space, as the button itself takes it.
  SetFocus(cb->Handle());
  SendMessageW(cb->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(cb->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(cb->State(), cbGrayed);
  EXPECT_EQ(clicks, 6);
}

TEST_F(SkinCheckTest, ARadioButtonInAGroupUnchecksItsSiblingsByClickAndArrowKey) {
  auto* group = new TRadioGroup(form.get());
  group->SetBounds(140, 8, 150, 100);
  group->SetParent(form.get());
  TStringList items;
  for (const char16_t* s : {u"One", u"Two", u"Three"}) items.Add(s);
  group->SetItems(&items);
  group->OnClick = [this](TObject*) { ++clicks; };
  std::vector<TSkinRadioButton*> skins;
  for (int i = 0; i < 3; ++i) skins.push_back(Skin<TSkinRadioButton>(group->Buttons(i)));
  auto checkedFrames = [&] {
    std::vector<int> f;
    for (auto* s : skins) f.push_back(BoxFrame(s));
    return f;
  };

  Click(group->Buttons(1)->Handle());
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(checkedFrames(), (std::vector<int>{1, 5, 1}));
  Click(group->Buttons(0)->Handle());
  EXPECT_EQ(checkedFrames(), (std::vector<int>{5, 1, 1}));
  EXPECT_EQ(clicks, 2);

  // Down arrow moves on to the next button of the group and checks it.
  SetFocus(group->Buttons(0)->Handle());
  PostMessageW(group->Buttons(0)->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), group->Buttons(1)->Handle());
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(checkedFrames(), (std::vector<int>{1, 5, 1}));
  EXPECT_EQ(clicks, 3);
}

TEST_F(SkinCheckTest, ACheckBoxRecreatedOrFreedInItsOwnClickKeepsOneSkin) {
  auto* cb = Add<TCheckBox>(8);
  auto* skin = Skin<TSkinCheckBox>(cb);
  const HWND old = cb->Handle();
  cb->OnClick = [&](TObject*) {
    ++clicks;
    cb->RecreateWnd();
  };
  Click(old);
  EXPECT_EQ(clicks, 1);
  ASSERT_NE(cb->Handle(), old);
  EXPECT_EQ(skin->hwnd, cb->Handle());
  EXPECT_EQ(SendMessageW(cb->Handle(), SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(BoxFrame(skin), 5);
  InvalidateRect(cb->Handle(), nullptr, TRUE);
  UpdateWindow(cb->Handle());
  HDC dc = GetDC(cb->Handle());
  EXPECT_EQ(GetPixel(dc, kBox / 2, kH / 2), static_cast<COLORREF>(FrameColor(5)));  // the new window, skinned
  ReleaseDC(cb->Handle(), dc);

  cb->OnClick = [&](TObject*) {
    ++clicks;
    delete cb;  // takes its skin along
  };
  Click(cb->Handle());
  EXPECT_EQ(clicks, 2);
  Application->ProcessMessages();
}

}  // namespace

namespace {

// The whole road: a skinned form gives its panel and group box the face
// colour, and both get their own back when the skin component goes first.
using SkinBoxColours = qvtest::SkinWindowFixture;

TEST_F(SkinBoxColours, ComeBackWhenTheSkinComponentIsFreedFirst) {
  InitApplication();
  data = qvtest::LoadProgramSkin([](TSkinData& d) { d.Skin3rd()->Add(u"TGroupBox=groupbox"); });
  ASSERT_NE(SkinManager, nullptr);
  TForm* form = Own(new TForm(nullptr));
  form->SetBounds(50, 50, 320, 200);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetColor(kPanel);
  auto* group = new TGroupBox(form);
  group->SetParent(form);
  group->SetBounds(10, 60, 150, 80);
  group->SetColor(kPanel);
  form->Show();
  ASSERT_NE(qvtest::WaitSkinned(form->Handle()), nullptr);
  EXPECT_EQ(panel->Color(), data->Colors[3]);
  EXPECT_EQ(group->Color(), data->Colors[3]);
  EXPECT_EQ(SendMessageW(group->Handle(), SM_QUERYSKINNED, 0, 0), 1);
  delete data;
  data = nullptr;
  qvtest::Pump(100);
  EXPECT_EQ(panel->Color(), kPanel);
  EXPECT_EQ(group->Color(), kPanel);
}

}  // namespace
