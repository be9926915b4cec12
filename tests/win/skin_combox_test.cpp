// The combo box skin on real combo boxes, read back from memory bitmaps with
// a test skin whose four combo images are distinct solid colours around a
// transparent middle: the border and button in the normal, hot, pressed,
// focused and disabled states for every combo style of the class library
// and for raw "combobox" and "comboboxex32" windows; the skinned scroll bar
// of the open list; items chosen by mouse and by keyboard; and a combo box
// (or its skin) freed while its list is open.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win/ComboBox.h"
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinMessages.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;
using qvtest::Bmp;
using qvtest::DC;
using namespace qvtest::strip;
using qvtest::PaintedOnWhite;

namespace {

// Frames 1 to 4: normal, pressed, disabled, hot.
constexpr TColor kFrames[] = {kNormal, kPressed, kDisabled, kHot};
constexpr TColor kFace = 0x808080, kWhite = 0xFFFFFF, kMagenta = 0xFF00FF;
constexpr int kW = 150;

std::unique_ptr<TSkinData> ComboSkin() {
  auto d = std::make_unique<TSkinData>(nullptr);
  d->Colors[3] = kFace;
  d->Colors[7] = 0x404040;
  const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
  d->combox = std::make_unique<TDataSkinBorder>(u"ComboButton");
  d->combox->frame = 4;
  d->combox->style = 2;
  d->combox->r = TRect{2, 2, bw + 2, 2};
  d->combox->Map = Bmp(200, 21, kMagenta);
  for (int k = 0; k < 4; ++k) {
    FillRect(*d->combox->Map, Rect(k * 50, 0, k * 50 + 50, 21), kFrames[k]);
    FillRect(*d->combox->Map, Rect(k * 50 + 2, 2, k * 50 + 49 - bw, 18), kMagenta);
  }
  return d;
}

struct SkinComboTest : qvtest::SkinControlFixture {

  void SetUp() override {
    data = ComboSkin();
    MakeForm(75, 25);
    ShowWindow(form->Handle(), SW_SHOWNA);
    SetFocus(edit->Handle());
  }

  TComboBox* Combo(TComboBoxStyle style, int top = 80) {
    auto* c = new TComboBox(form.get());
    c->SetStyle(style);
    c->SetBounds(8, top, kW, style == csSimple ? 90 : 21);
    c->SetParent(form.get());
    for (int i = 0; i < 20; ++i) c->Items()->Add(u"Item " + IntToStr(i));
    c->SetItemIndex(0);
    c->Handle();
    return c;
  }

  TSkinComBox* Skin(TComboBox* c) { return Attach<TSkinComBox>(TControlSkinClass::SkinComBox, c); }

  // The window's picture as the skin paints it over a white bitmap.
  std::unique_ptr<TBitmap> Painted(TSkinComBox* s) {
    RECT r{};
    GetWindowRect(s->hwnd, &r);
    return PaintedOnWhite(s, r.right - r.left, r.bottom - r.top);
  }
  // The button's edge, right of the middle.
  TColor Look(TSkinComBox* s) {
    auto b = Painted(s);
    return b->Pixel(b->Width() - 2, b->Height() / 2);
  }
  TColor Middle(TSkinComBox* s) {
    auto b = Painted(s);
    return b->Pixel(b->Width() / 3, b->Height() / 2);
  }
  void MouseAt(HWND w, int x, int y) { SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
};

}  // namespace

// ---------------------------------------------------------------------------
// Looks

TEST_F(SkinComboTest, BorderAndButtonFollowTheStateForEveryStyleAndRawWindow) {
  struct Target {
    const char* name;
    std::function<TSkinComBox*(SkinComboTest&)> make;
    bool takesFocus;  // the box itself holds the focus (no edit part)
  };
  auto raw = [](SkinComboTest& t, const wchar_t* cls, DWORD style) {
    HWND w = t.MakeWindow(cls, WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, Bounds(8, 120, kW, 200), t.form->Handle());
    SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Raw item"));
    HWND target = qvtest::ClassOf(w) == L"ComboBoxEx32" ? GetTopWindow(w) : w;
    auto* s = static_cast<TSkinComBox*>(CreateControlSkin(TControlSkinClass::SkinComBox, t.form.get()));
    s->Inithwnd(target, t.data.get(), nullptr, nullptr);
    return s;
  };
  const Target targets[] = {
      {"drop-down", [](SkinComboTest& t) { return t.Skin(t.Combo(csDropDown)); }, false},
      {"drop-down list", [](SkinComboTest& t) { return t.Skin(t.Combo(csDropDownList)); }, true},
      {"owner-draw", [](SkinComboTest& t) { return t.Skin(t.Combo(csOwnerDrawFixed)); }, true},
      {"raw drop-down", [&](SkinComboTest& t) { return raw(t, L"COMBOBOX", CBS_DROPDOWN); }, false},
      {"raw drop-down list", [&](SkinComboTest& t) { return raw(t, L"COMBOBOX", CBS_DROPDOWNLIST); }, true},
      {"raw comboboxex32", [&](SkinComboTest& t) { return raw(t, L"ComboBoxEx32", CBS_DROPDOWNLIST); }, true},
  };
  for (const Target& target : targets) {
    TSkinComBox* s = target.make(*this);
    HWND w = s->hwnd;
    SCOPED_TRACE(target.name);
    EXPECT_EQ(Look(s), kNormal);
    EXPECT_EQ(Middle(s), kWhite);  // the control's own painting stays

    const TRect b = s->rBtn;
    MouseAt(w, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    EXPECT_EQ(Look(s), kHot);
    MouseAt(w, 3, 3);  // over the edit part: no longer hot
    EXPECT_EQ(Look(s), kNormal);

    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
    EXPECT_EQ(Look(s), kPressed);
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
    SendMessageW(w, CB_SHOWDROPDOWN, FALSE, 0);
    SetFocus(edit->Handle());
    s->state = 0;
    EXPECT_EQ(Look(s), kNormal);

    if (target.takesFocus) {
      SetFocus(w);
      EXPECT_EQ(Look(s), kHot);
      SetFocus(edit->Handle());
    }
    EnableWindow(w, FALSE);
    EXPECT_EQ(Look(s), kDisabled);
    MouseAt(w, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);  // disabled: no hot
    EXPECT_EQ(s->state & kStateHot, 0u);
    s->state = kStateHot;
    MouseAt(w, 3, 3);  // nor does a disabled one let go of it
    EXPECT_EQ(s->state & kStateHot, kStateHot);
    s->state = 0;
    EnableWindow(w, TRUE);
  }
}

TEST_F(SkinComboTest, ASimpleComboBoxKeepsItsOwnLookAndItsListGetsTheSkinnedBar) {
  TComboBox* c = Combo(csSimple);
  TSkinComBox* s = Skin(c);
  auto b = Painted(s);
  EXPECT_EQ(b->Pixel(b->Width() - 2, 10), kWhite);  // no button to draw
  ASSERT_NE(s->vb, nullptr);
  EXPECT_EQ(s->db, nullptr);
  EXPECT_EQ(SendMessageW(s->hlist, SM_QUERYSKINNED, 0, 0), 1);
}

TEST_F(SkinComboTest, AControlWithItsOwnButtonGetsTheSkinsArrowOverIt) {
  data->comboxarrow = std::make_unique<TDataSkinObject>(u"ComboxArrow");
  data->comboxarrow->Map = Bmp(4 * 17, 17, kNormal);
  for (int k = 0; k < 4; ++k) FillRect(*data->comboxarrow->Map, Rect(k * 17, 0, k * 17 + 17, 17), kFrames[k]);
  data->comboxarrow->frame = 4;
  TComboBox* c = Combo(csDropDownList);
  TSkinComBox* s = Skin(c);
  ASSERT_TRUE(SetSkinHasButton(s, true));
  // The window's own button, in window coordinates.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c->Handle(), &info));
  const POINT origin = qvtest::ClientOrigin(c->Handle());
  RECT btn = info.rcButton;
  OffsetRect(&btn, origin.x, origin.y);
  ASSERT_FALSE(IsRectEmpty(&btn));
  const int midY = (btn.top + btn.bottom) / 2;
  for (const auto& [state, colour] : {std::pair{0u, kNormal}, std::pair{kStatePressed, kPressed}}) {
    s->state = state;
    auto b = Painted(s);
    // The arrow covers the button to its edges and nothing beside it.
    EXPECT_EQ(b->Pixel(btn.left, btn.top), colour);
    EXPECT_EQ(b->Pixel(btn.right - 1, btn.bottom - 1), colour);
    EXPECT_EQ(b->Pixel(btn.left - 1, midY), kWhite);
    if (btn.right < b->Width()) {
      EXPECT_NE(b->Pixel(btn.right, midY), colour);
    }
  }
}

TEST_F(SkinComboTest, NoComboImageLeavesTheControlAlone) {
  TSkinComBox* s = Skin(Combo(csDropDownList));
  data->combox->Map->Clear();
  EXPECT_EQ(Look(s), kWhite);
  data->combox.reset();
  EXPECT_EQ(Look(s), kWhite);
}

// ---------------------------------------------------------------------------
// The list

TEST_F(SkinComboTest, TheOpenListCarriesTheSkinnedScrollBar) {
  TComboBox* c = Combo(csDropDownList);
  TSkinComBox* s = Skin(c);
  ASSERT_NE(s->db, nullptr);
  c->SetDroppedDown(true);
  ASSERT_TRUE(c->DroppedDown());
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c->Handle(), &info));
  EXPECT_TRUE(IsWindowVisible(info.hwndList));
  EXPECT_EQ(s->db->hwnd, info.hwndList);
  EXPECT_EQ(SendMessageW(info.hwndList, SM_QUERYSKINNED, 0, 0), 1);
  c->SetDroppedDown(false);
}

TEST_F(SkinComboTest, ChoosingAnItemByKeyboardOrMouseChangesItemIndexAndFiresOnChange) {
  TComboBox* c = Combo(csDropDownList);
  Skin(c);
  int changes = 0;
  c->OnChange = [&](TObject*) { ++changes; };
  SetFocus(c->Handle());
  SendMessageW(c->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  Application->ProcessMessages();
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(changes, 1);

  c->SetDroppedDown(true);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c->Handle(), &info));
  RECT item{};
  SendMessageW(info.hwndList, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
  SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
  Application->ProcessMessages();
  EXPECT_EQ(c->ItemIndex(), 4);
  EXPECT_GE(changes, 2);
  EXPECT_FALSE(c->DroppedDown());
}

TEST_F(SkinComboTest, FreedWhileTheListIsOpenLeavesNothingBehind) {
  // The combo box goes with its skin.
  TComboBox* c = Combo(csDropDownList);
  Skin(c);
  c->SetDroppedDown(true);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c->Handle(), &info));
  delete c;
  Application->ProcessMessages();
  EXPECT_FALSE(IsWindow(info.hwndList));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(qvtest::ThreadWindowsShown(L"ComboLBox").size(), 0u);

  // Only the skin goes; the list stays the system's.
  TComboBox* d = Combo(csSimple, 120);
  TSkinComBox* s = Skin(d);
  TComboBox* e = Combo(csDropDownList, 220);
  TSkinComBox* t = Skin(e);
  e->SetDroppedDown(true);
  ASSERT_TRUE(GetComboBoxInfo(e->Handle(), &info));
  const HWND simpleList = s->hlist;
  delete s;
  delete t;
  EXPECT_EQ(SendMessageW(info.hwndList, SM_QUERYSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(simpleList, SM_QUERYSKINNED, 0, 0), 0);
  e->SetDroppedDown(false);
  Application->ProcessMessages();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(qvtest::ThreadWindowsShown(L"TWScrollbar").size(), 0u);
}

TEST_F(SkinComboTest, BorderedFlatAndLeftHandButtonsGoWhereTheStyleSays) {
  constexpr TColor kBorders[] = {0x101080, 0x108010, 0x801010, 0x108080};
  constexpr TColor kLefts[] = {0x602060, 0x206060, 0x606020, 0x202060};
  auto strip = [](const TColor* colours, int w) {
    auto b = Bmp(4 * w, 21, kMagenta);
    for (int k = 0; k < 4; ++k) FillRect(*b, Rect(k * w, 0, k * w + w, 21), colours[k]);
    return b;
  };
  data->Comboxborder = std::make_unique<TDataSkinObject>(u"ComboBorder");
  data->Comboxborder->Map = strip(kBorders, 20);
  data->Comboxborder->frame = 4;
  data->Comboxborder->r = TRect{2, 2, 2, 2};
  data->combox->style = 0;
  data->combox->Map = strip(kFrames, 17);
  data->combox->MaskMap = strip(kLefts, 17);
  const int cx = GetSystemMetrics(SM_CXHSCROLL);

  TComboBox* c = Combo(csDropDownList);
  TSkinComBox* s = Skin(c);
  auto b = Painted(s);
  const int W = b->Width(), H = b->Height();
  EXPECT_EQ(b->Pixel(W - 3, H / 2), kNormal);     // the button at the right
  EXPECT_EQ(b->Pixel(0, H / 2), kBorders[0]);     // the border round the box
  EXPECT_EQ(b->Pixel(W / 3, H / 2), kWhite);      // the inside is the control's
  EXPECT_EQ(s->rBtn, (TRect{W - cx - 2, 0, W, H}));  // the hot area follows

  // An arrow picture of its own, 7 x 4, centred in the button's glyph box
  // (the button without its two right-hand pixels).
  constexpr TColor kArrow = 0x30B0F0;
  data->ExtraImages = std::make_unique<TDataSkinObject>(u"ExtraImages");
  data->ExtraImages->Map = Bmp(4 * 7, 4, kArrow);
  data->ExtraImages->frame = 4;
  b = Painted(s);
  const int ax = W - cx - 2 + (cx - 7) / 2, ay = (H - 4) / 2;
  EXPECT_EQ(b->Pixel(ax, ay), kArrow);
  EXPECT_EQ(b->Pixel(ax + 6, ay + 3), kArrow);
  EXPECT_EQ(b->Pixel(ax - 1, ay), kNormal);
  EXPECT_EQ(b->Pixel(ax + 7, ay + 3), kNormal);
  EXPECT_EQ(b->Pixel(ax, ay - 1), kNormal);
  EXPECT_EQ(b->Pixel(ax + 6, ay + 4), kNormal);
  data->ExtraImages.reset();

  HWND left = MakeWindow(L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, Bounds(8, 150, kW, 200),
                         form->Handle(), L"", WS_EX_LEFTSCROLLBAR);
  auto* l = static_cast<TSkinComBox*>(CreateControlSkin(TControlSkinClass::SkinComBox, form.get()));
  l->Inithwnd(left, data.get(), nullptr, nullptr);
  b = Painted(l);
  EXPECT_EQ(b->Pixel(3, b->Height() / 2), kLefts[0]);  // the mirrored button at the left
  EXPECT_EQ(l->rBtn.Left, 0);
  EXPECT_EQ(b->Pixel(b->Width() - 1, b->Height() / 2), kBorders[0]);

  // Flat: focus, press and hot win over the disabled frame.
  data->combox->style = 1;
  EnableWindow(c->Handle(), FALSE);
  s->state = kStateHot;
  b = Painted(s);
  const TRect btn = s->rBtn;
  const int bx = (btn.Left + btn.Right) / 2, by = (btn.Top + btn.Bottom) / 2;
  EXPECT_GT(btn.Left, W / 2);
  EXPECT_EQ(b->Pixel(bx, by), kHot);
  s->state = 0;
  EXPECT_EQ(Painted(s)->Pixel(bx, by), kDisabled);
  EXPECT_EQ(Painted(s)->Pixel(0, H / 2), static_cast<TColor>(0x404040));  // framed in the shadow colour
}
