// Controls whose windows are made anew (RecreateWnd, a combo box given a new
// style) on a form skinned with the program's skin: the skin each control
// had follows it to the new window, the same one skin (answering
// SM_QUERYSKINNED there, never joined by a second), makes again what
// belonged to the old window (the combo box's list skin, the page control's
// tab pictures, the media player's overlay) and the new window looks as the
// old one did.
#include <gtest/gtest.h>

#include <functional>

#include "platform/win/Application.h"
#include "platform/win/Buttons.h"
#include "platform/win/CheckControls.h"
#include "platform/win/ComCtrls.h"
#include "platform/win/ComboBox.h"
#include "platform/win/MPlayer.h"
#include "platform/win/TabControls.h"
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/WMediaPlayer.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

struct SkinRecreateTest : qvtest::SkinWindowFixture {
  void SetUp() override {
    InitApplication();
    data = qvtest::LoadProgramSkin([](TSkinData& d) {
      for (const char16_t* line :
           {u"TBitBtn=bitbtn", u"TcxButton=bitbtn", u"TSpeedButton=speedbutton", u"TComboBox=combobox",
            u"TCheckBox=checkbox", u"TGroupBox=groupbox", u"TTabControl=tab", u"TAdvPageControl=advpagecontrol",
            u"TTrackBar=trackbar", u"TProgressBar=progress"})
        d.Skin3rd()->Add(line);
    });
    form = Own(new TForm(nullptr));
    form->SetBounds(40, 40, 560, 420);
  }

  template <class C>
  C* Place(int x, int y, int w, int h, TWinControl* parent = nullptr) {
    auto* c = new C(form);
    c->SetBounds(x, y, w, h);
    c->SetParent(parent ? parent : form);
    return c;
  }

  // The one skin listed for the control; null for none or more than one.
  TSkinControl* OnlySkinOf(TControl* c) {
    TSkinControl* found = nullptr;
    int n = 0;
    for (TSkinControl* s : sf->controls.Controllist)
      if (s->control == c || s->GControl == c) {
        found = s;
        ++n;
      }
    return n == 1 ? found : nullptr;
  }

  int Overlays() {
    int n = 0;
    for (int i = 0; i < form->ControlCount(); ++i) n += form->Controls(i)->Is<TWMediaPlayer>();
    return n;
  }

  TForm* form = nullptr;
  TWinSkinForm* sf = nullptr;
};

}  // namespace

TEST_F(SkinRecreateTest, EveryControlKeepsItsOneSkinAndItsLookOnItsNewWindow) {
  auto* edit = Place<TEdit>(440, 370, 100, 21);
  auto* bit = Place<TBitBtn>(8, 8, 100, 28);
  bit->SetCaption(u"Bit");
  auto* menu = Place<TcxButton>(116, 8, 100, 28);
  menu->SetKind(cxbkDropDownButton);
  menu->SetCaption(u"Menu");
  auto* push = Place<TButton>(224, 8, 80, 28);
  push->SetCaption(u"Push");
  auto* check = Place<TCheckBox>(312, 8, 100, 17);
  check->SetCaption(u"Check");
  check->SetChecked(true);
  auto* combo = Place<TComboBox>(8, 44, 120, 21);
  combo->Items()->Add(u"First");
  combo->SetItemIndex(0);
  auto* track = Place<TTrackBar>(136, 44, 120, 30);
  track->SetPosition(3);
  auto* progress = Place<TProgressBar>(264, 44, 120, 17);
  progress->SetPosition(50);
  auto* group = Place<TGroupBox>(8, 84, 150, 60);
  group->SetCaption(u"Group");
  auto* tabs = Place<TTabControl>(166, 84, 180, 60);
  for (const char16_t* t : {u"One", u"Two"}) tabs->Tabs()->Add(t);
  auto* tabSet = Place<TTabSet>(354, 84, 180, 21);
  for (const char16_t* t : {u"Set one", u"Set two"}) tabSet->Tabs()->Add(t);
  tabSet->SetTabIndex(0);
  auto* pages = Place<TAdvPageControl>(8, 160, 200, 90);
  for (const char16_t* caption : {u"Page 1", u"Page 2"}) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
  }
  auto* player = Place<TMediaPlayer>(216, 160, 250, 30);
  auto* panel = Place<TPanel>(216, 200, 200, 50);
  auto* speed = Place<TSpeedButton>(4, 4, 80, 26, panel);
  speed->SetCaption(u"Speed");

  form->Show();
  sf = qvtest::WaitSkinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  SetFocus(edit->Handle());
  SetCursorPos(0, 0);

  const struct Row {
    const char* name;
    TWinControl* recreated;  // the speed button has no window: its panel's is made anew
    TControl* skinned;
    std::function<void(TSkinControl*)> more;
  } rows[] = {
      {"bit button", bit, bit, {}},
      {"menu button", menu, menu, {}},
      {"push button", push, push, {}},
      {"check box", check, check, {}},
      {"combo box", combo, combo,
       [&](TSkinControl* s) {
         COMBOBOXINFO info{};
         info.cbSize = sizeof info;
         ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
         auto* db = static_cast<TSkinComBox*>(s)->db;
         ASSERT_NE(db, nullptr);
         EXPECT_EQ(db->hwnd, info.hwndList);
         EXPECT_EQ(SendMessageW(info.hwndList, SM_QUERYSKINNED, 0, 0), 1);
       }},
      {"track bar", track, track, {}},
      {"progress bar", progress, progress, {}},
      {"group box", group, group, {}},
      {"tab control", tabs, tabs, {}},
      {"tab set", tabSet, tabSet, {}},
      {"page control", pages, pages,
       [&](TSkinControl*) {
         for (TBitmap* picture : {pages->TabBackGround(), pages->TabBackGroundActive()}) {
           ASSERT_NE(picture, nullptr);
           EXPECT_FALSE(picture->Empty());
         }
       }},
      {"media player", player, player,
       [&](TSkinControl*) {
         ASSERT_EQ(Overlays(), 1);
         TWMediaPlayer* mp = static_cast<TSkinMP*>(OnlySkinOf(player))->mp;
         ASSERT_NE(mp, nullptr);
         RECT over{}, under{};
         GetWindowRect(mp->Handle(), &over);
         GetWindowRect(player->Handle(), &under);
         EXPECT_TRUE(EqualRect(&over, &under));
         EXPECT_TRUE(IsWindowVisible(mp->Handle()));
       }},
      {"speed button", panel, speed, {}},
  };
  std::vector<TSkinControl*> skins;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TSkinControl* skin = OnlySkinOf(row.skinned);
    skins.push_back(skin);
    ASSERT_NE(skin, nullptr);
    const HWND old = row.recreated->Handle();
    // What a control leaves to its parent (a tab strip beside its tabs)
    // shows the parent's background, as it does once the window is new.
    ShowWindow(old, SW_HIDE);
    UpdateWindow(form->Handle());
    ShowWindow(old, SW_SHOWNA);
    qvtest::Pump(50);
    const auto before = qvtest::ScreenPixels(old);
    row.recreated->RecreateWnd();
    const HWND now = row.recreated->Handle();
    ASSERT_NE(now, old);
    qvtest::Pump(100);

    EXPECT_EQ(OnlySkinOf(row.skinned), skin);
    if (row.skinned == row.recreated) {
      EXPECT_EQ(skin->hwnd, now);
      EXPECT_EQ(skin->skinstate, TControlSkinState::Active);
      EXPECT_EQ(SendMessageW(now, SM_QUERYSKINNED, 0, 0), 1);
    }
    if (row.more) row.more(skin);
    EXPECT_EQ(qvtest::DifferingPixels(*before, *qvtest::ScreenPixels(now)), 0);
  }

  // A later walk over the form (a skin change, a control added) finds every
  // control skinned already.
  sf->InitControls(form);
  for (size_t i = 0; i < skins.size(); ++i) EXPECT_EQ(OnlySkinOf(rows[i].skinned), skins[i]) << rows[i].name;

  // A new style is a new window too; the list of the new one gets the skin.
  combo->SetStyle(csDropDown);
  rows[4].more(OnlySkinOf(combo));
  // Goes with its skin before the form is unskinned: what the form's
  // unskinning does with a combo box's list skin is not looked at here.
  delete combo;
}
