// The skin component's operations for an application that changes its
// windows after they were skinned, on real skinned forms: a nested form's
// controls, controls added later, a control skin taken away, popup menus
// hooked again, menu bars rebuilt and repainted; and the colour helper.
#include <gtest/gtest.h>

#include "platform/win/Application.h"
#include "platform/win/Buttons.h"
#include "platform/win/Menus.h"
#include "platform/win/StdCtrls.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/windows/WinSkinMenu.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {


class SkinDataOperationsTest : public qvtest::SkinWindowFixture {
 protected:
  static void SetUpTestSuite() { InitApplication(); }
  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvOpsWindow");
    data = qvtest::LoadProgramSkin();
    ASSERT_FALSE(data->Empty);
  }

  // A shown, skinned form without controls.
  TWinSkinForm* ShownForm(TForm*& form) {
    form = Own(new TForm(nullptr));
    form->SetBounds(60, 60, 360, 260);
    form->Show();
    SetForegroundWindow(form->Handle());
    return Skinned(form->Handle());
  }

  static TButton* ButtonIn(TComponent* owner, TWinControl* parent, int top) {
    auto* b = new TButton(owner);
    b->SetBounds(8, top, 90, 25);
    b->SetParent(parent);
    b->HandleNeeded();
    return b;
  }

  static bool HasSkin(TWinSkinForm* sf, TWinControl* c) { return sf->FindControlSkin(c->Handle()) != nullptr; }
};

TEST_F(SkinDataOperationsTest, ANestedFormsControlsAreSkinnedAndTheFormMarked) {
  TForm* form = nullptr;
  TWinSkinForm* sf = ShownForm(form);
  ASSERT_NE(sf, nullptr);
  // Placed in the skinned form after it was skinned: nothing skins it.
  auto* nested = new TPanel(nullptr);
  nested->SetBounds(10, 10, 200, 120);
  nested->SetParent(form);
  TButton* inside = ButtonIn(nested, nested, 8);
  EXPECT_FALSE(HasSkin(sf, inside));

  data->AddNestForm(form, nullptr);  // no nested form: nothing
  data->AddNestForm(nullptr, nested);  // no skinned parent: nothing
  EXPECT_EQ(nested->ComponentCount(), 1);
  data->AddNestForm(form, nested);
  EXPECT_TRUE(HasSkin(sf, inside));
  TWinSkinSpy* spy = nullptr;
  for (int i = 0; i < nested->ComponentCount(); ++i)
    if (auto* s = As<TWinSkinSpy>(nested->Components(i))) spy = s;
  ASSERT_NE(spy, nullptr);
  EXPECT_EQ(spy->sf, sf);
  delete nested;
}

TEST_F(SkinDataOperationsTest, ControlsAddedLaterAreSkinnedOnRequestAndTheirSkinsTakenAway) {
  TForm* form = nullptr;
  TWinSkinForm* sf = ShownForm(form);
  ASSERT_NE(sf, nullptr);
  TButton* loose = ButtonIn(form, form, 150);
  auto* box = new TPanel(form);
  box->SetBounds(120, 10, 200, 120);
  box->SetParent(form);
  TButton* boxed = ButtonIn(form, box, 8);
  ASSERT_FALSE(HasSkin(sf, loose));
  ASSERT_FALSE(HasSkin(sf, boxed));

  // Only inside the given control, then the whole form.
  data->UpdateSkinControl(form, box);
  EXPECT_TRUE(HasSkin(sf, boxed));
  EXPECT_FALSE(HasSkin(sf, loose));
  data->UpdateSkinControl(form, nullptr);
  EXPECT_TRUE(HasSkin(sf, loose));

  // Taken away: that control's skin only, freed (the control's window
  // procedure is its own again, and painting and clicking it go on safely),
  // for a windowed control and for a graphic one drawn by its parent.
  data->Skin3rd()->Add(u"TSpeedButton=speedbutton");
  auto* speed = new TSpeedButton(form);
  speed->SetBounds(8, 190, 90, 25);
  speed->SetParent(form);
  data->UpdateSkinControl(form, nullptr);
  for (TControl* c : std::initializer_list<TControl*>{loose, speed}) {
    SCOPED_TRACE(ToUtf8(c->ClassName()));
    ASSERT_TRUE(sf->IsComponentSkinned(c));
    const size_t before = sf->controls.Controllist.size();
    data->DeleteGraphicControl(form, c);
    EXPECT_FALSE(sf->IsComponentSkinned(c));
    EXPECT_TRUE(HasSkin(sf, boxed));
    EXPECT_EQ(sf->controls.Controllist.size(), before - 1);
    const LPARAM at = MAKELPARAM(c->Left() + 4, c->Top() + 4);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, at);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    data->DeleteGraphicControl(form, c);  // nothing left to take
    EXPECT_EQ(sf->controls.Controllist.size(), before - 1);
  }
}

TEST_F(SkinDataOperationsTest, APopupMenuAddedLaterIsDrawnByTheSkinAfterUpdateMenu) {
  TForm* form = nullptr;
  TWinSkinForm* sf = ShownForm(form);
  ASSERT_NE(sf, nullptr);
  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(popup);
  item->SetCaption(u"&Copy");
  popup->Items()->Add(item);
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(item->OnDrawItem);
  data->UpdateMenu(form);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_TRUE(item->OnDrawItem);
}

TEST_F(SkinDataOperationsTest, UpdateMainMenuRebuildsAndRepaintsEverySkinnedBar) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 201, L"&Open");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  HWND w = RawWindow(L"QvOpsWindow", L"Bars", WS_OVERLAPPEDWINDOW, 50, 50, 420, 260, bar);
  ShowWindow(w, SW_SHOWNORMAL);
  SetForegroundWindow(w);
  TWinSkinForm* sf = Skinned(w);
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->menuBar.menu, nullptr);
  SendMessageW(w, SM_NCREPAINT, 0, 0);
  qvtest::Pump(100);
  ASSERT_EQ(sf->menuBar.menu->Buttons.size(), 1u);
  const TRect strip = sf->menuBar.menu->Bar;
  ASSERT_GT(strip.Width(), 100);

  // A raw menu changes without telling anyone.
  AppendMenuW(sf->menuBar.menu->hmenu, MF_STRING, 202, L"&Window");
  data->UpdateMainMenu(false);
  EXPECT_FALSE(data->MenuMsg);
  EXPECT_EQ(sf->menuBar.menu->Buttons.size(), 1u);
  const auto before = qvtest::WindowPixels(w);

  data->UpdateMainMenu(true);
  EXPECT_TRUE(data->MenuMsg);
  ASSERT_EQ(sf->menuBar.menu->Buttons.size(), 2u);
  EXPECT_EQ(sf->menuBar.menu->Buttons[1]->caption, u"&Window");
  // Repainted now (no message ran since): the new button's text is there.
  const auto after = qvtest::WindowPixels(w);
  const TRect b = sf->menuBar.menu->Buttons[1]->bounds;
  ASSERT_GT(b.Width(), 0);
  int changed = 0;
  for (int y = b.Top; y < b.Bottom; ++y)
    for (int x = b.Left; x < b.Right; ++x) changed += before->Pixel(x, y) != after->Pixel(x, y);
  EXPECT_GT(changed, 20);

  // The form skin's own refresh paints the bar itself: even while frame
  // painting is held off (MenuMsg false), the bar over a smear comes back.
  data->MenuMsg = false;
  HDC dc = GetWindowDC(w);
  HBRUSH smear = CreateSolidBrush(RGB(1, 2, 3));
  RECT r{strip.Left, strip.Top, strip.Right, strip.Bottom};
  FillRect(dc, &r, smear);
  DeleteObject(smear);
  ReleaseDC(w, dc);
  AppendMenuW(sf->menuBar.menu->hmenu, MF_STRING, 203, L"&Help");
  sf->UpdateMainMenu();
  data->MenuMsg = true;
  EXPECT_EQ(sf->menuBar.menu->Buttons.size(), 3u);
  EXPECT_EQ(qvtest::CountColour(*qvtest::WindowPixels(w), strip, 0x030201), 0) << "the smear stays";
}

// A panel that counts its paints.
class TCountingPanel : public TPanel {
 public:
  using TPanel::TPanel;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TPanel::Paint();
  }
};

TEST_F(SkinDataOperationsTest, SetComponentColorStoresADifferentColourAndRepaintsAtOnce) {
  TForm* form = Own(new TForm(nullptr));
  form->SetBounds(80, 80, 300, 200);
  auto* panel = new TCountingPanel(form);
  panel->SetBounds(10, 10, 120, 80);
  panel->SetParent(form);
  panel->SetBevelOuter(bvNone);
  form->Show();
  qvtest::Pump(200);
  const int painted = panel->paints;

  SetComponentColor(panel, 0x0000FF);
  EXPECT_EQ(panel->Color(), 0x0000FF);
  EXPECT_EQ(panel->paints, painted + 1);  // before any message ran
  HDC dc = GetDC(panel->Handle());
  EXPECT_EQ(GetPixel(dc, 60, 40), RGB(255, 0, 0));
  ReleaseDC(panel->Handle(), dc);

  // The same colour again: nothing stored, nothing painted.
  SetComponentColor(panel, 0x0000FF);
  qvtest::Pump(100);
  EXPECT_EQ(panel->paints, painted + 1);
  SetComponentColor(nullptr, 0x00FF00);
  SetComponentColor(data, 0x00FF00);  // no colour to set
}

}  // namespace
