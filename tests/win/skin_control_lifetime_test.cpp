// Control skins of a whole skinned window going away, in every order that
// a program brings about: the skin switched off, the skin component freed,
// the skin manager freed (as at the program's end), the form freed, the
// controls or their windows destroyed first. The scene is a skinned form
// with a class-library combo box of every style and a skinned raw dialog
// with raw combo boxes: a combo box's skin makes and owns the skin of its
// list, which the skinned window lists as well. Run under the heap checks
// (freed memory poisoned), a skin used or freed after it is gone faults.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win/Application.h"
#include "platform/win/ComboBox.h"
#include "platform/win/Forms.h"
#include "skin/data/SkinMessages.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

constexpr TComboBoxStyle kStyles[] = {csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
                                      csOwnerDrawVariable};
constexpr DWORD kRawStyles[] = {CBS_DROPDOWN, CBS_DROPDOWNLIST, CBS_SIMPLE};

// The list window of a combo box, or null.
HWND ListOf(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
}

bool HasSkin(HWND w) { return SendMessageW(w, SM_QUERYSKINNED, 0, 0) == 1; }

struct SkinLifetimeTest : qvtest::SkinWindowFixture {
  static void SetUpTestSuite() {
    InitApplication();
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
  }

  void SetUp() override {
    data = qvtest::LoadProgramSkin([](TSkinData& d) { d.Skin3rd()->Add(u"TComboBox=combobox"); });
    ASSERT_FALSE(data->Empty);
  }

  // A shown, skinned form with a combo box of every style.
  TForm* ComboForm(int x) {
    auto* form = new TForm(nullptr);
    form->SetBounds(x, 40, 300, 420);
    int top = 8;
    for (TComboBoxStyle style : kStyles) {
      auto* c = new TComboBox(form);
      c->SetStyle(style);
      c->SetBounds(8, top, 160, style == csSimple ? 90 : 21);
      c->SetParent(form);
      for (int i = 0; i < 30; ++i) c->Items()->Add(u"Item " + IntToStr(i));
      top += style == csSimple ? 100 : 40;
    }
    form->Show();
    SetForegroundWindow(form->Handle());
    return form;
  }

  // A shown raw dialog with a raw combo box of every style, and an extended
  // combo box whose inner combo box is the one skinned.
  HWND ComboDialog() {
    HWND dlg = RawWindow(L"#32770", L"Raw", WS_POPUP | WS_CAPTION | WS_SYSMENU, 380, 40, 300, 340);
    int top = 8;
    auto add = [&](const wchar_t* cls, DWORD style) {
      HWND c = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 8, top, 160,
                               style == CBS_SIMPLE ? 90 : 200, dlg, nullptr, GetModuleHandleW(nullptr), nullptr);
      for (int i = 0; i < 30; ++i) SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Raw item"));
      top += style == CBS_SIMPLE ? 100 : 40;
    };
    for (DWORD style : kRawStyles) add(L"COMBOBOX", style);
    add(WC_COMBOBOXEXW, CBS_DROPDOWNLIST);
    ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
    return dlg;
  }

  struct Scene {
    TForm* form = nullptr;
    HWND dialog = nullptr;
    std::vector<HWND> combos;  // the form's, then the dialog's
  };

  // Both windows skinned, every skinnable combo box and its list with it.
  Scene MakeScene() {
    Scene s;
    s.form = Own(ComboForm(40));
    s.dialog = ComboDialog();
    EXPECT_NE(Skinned(s.form->Handle()), nullptr);
    EXPECT_NE(Skinned(s.dialog), nullptr);
    for (int i = 0; i < s.form->ComponentCount(); ++i)
      if (auto* c = As<TComboBox>(s.form->Components(i))) s.combos.push_back(c->Handle());
    for (HWND c = GetTopWindow(s.dialog); c; c = GetWindow(c, GW_HWNDNEXT))
      s.combos.push_back(qvtest::ClassOf(c) == WC_COMBOBOXEXW ? GetTopWindow(c) : c);
    for (HWND c : s.combos) {
      const bool simpleRaw = qvtest::ClassOf(c) == L"ComboBox" && (GetWindowLongW(c, GWL_STYLE) & 3) == CBS_SIMPLE;
      if (simpleRaw) continue;  // raw simple combo boxes keep the platform's look
      EXPECT_TRUE(HasSkin(c)) << qvtest::Narrow(qvtest::ClassOf(c));
      if ((GetWindowLongW(c, GWL_STYLE) & 3) != CBS_SIMPLE) {
        EXPECT_TRUE(HasSkin(ListOf(c)));
      }
    }
    return s;
  }

  // What is left of the scene works on as the platform's own: no window
  // answers for a skin, lists open and close, everything repaints.
  void ExpectLeftAlone(const Scene& s) {
    for (HWND c : s.combos) {
      if (!IsWindow(c)) continue;
      EXPECT_FALSE(HasSkin(c));
      if (HWND list = ListOf(c)) {
        EXPECT_FALSE(HasSkin(list));
      }
      if ((GetWindowLongW(c, GWL_STYLE) & 3) == CBS_SIMPLE) continue;
      SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
      RedrawWindow(ListOf(c), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
    }
    for (HWND top : {s.form ? s.form->Handle() : nullptr, s.dialog})
      if (top && IsWindow(top))
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
  }

  void FreeForm(Scene& s) {
    std::erase(forms, s.form);
    delete s.form;
    s.form = nullptr;
  }

  static void FreeComboBoxes(Scene& s) {
    for (int i = s.form->ComponentCount(); i-- > 0;)
      if (As<TComboBox>(s.form->Components(i))) delete s.form->Components(i);
  }

  static void DestroyRawComboBoxes(Scene& s) {
    while (HWND c = GetTopWindow(s.dialog)) DestroyWindow(c);
    Application->ProcessMessages();
  }

  // Everything freed, a fresh manager and skin.
  void StartOver() {
    TearDown();
    forms.clear();
    windows.clear();
    SetUp();
  }

  // The manager's deferred unskinning of every window (action 2).
  void SwitchOff() {
    data->SetActive(false);
    ASSERT_TRUE(qvtest::WaitUntil([] { return SkinManager->FormsOf(nullptr).empty(); }, 3000));
  }
};

TEST_F(SkinLifetimeTest, EveryControlSkinGoesOnceWhateverGoesFirst) {
  struct Order {
    const char* what;
    std::function<void(SkinLifetimeTest&, Scene&)> go;
  };
  const Order orders[] = {
      {"the skin switched off", [](SkinLifetimeTest& t, Scene&) { t.SwitchOff(); }},
      {"the skin component freed",
       [](SkinLifetimeTest& t, Scene&) {
         delete t.data;
         t.data = nullptr;
       }},
      {"the skin manager freed", [](SkinLifetimeTest&, Scene&) { delete SkinManager; }},
      {"the form freed, then the skin switched off",
       [](SkinLifetimeTest& t, Scene& s) {
         t.FreeForm(s);
         t.SwitchOff();
       }},
      {"the controls freed, then the skin switched off",
       [](SkinLifetimeTest& t, Scene& s) {
         FreeComboBoxes(s);
         DestroyRawComboBoxes(s);
         t.SwitchOff();
       }},
      {"the raw combo boxes destroyed, then the skin manager freed",
       [](SkinLifetimeTest&, Scene& s) {
         DestroyRawComboBoxes(s);
         delete SkinManager;
       }},
      {"the skins switched off by message and their windows destroyed, then the controls skinned anew",
       [](SkinLifetimeTest& t, Scene& s) {
         for (HWND c : s.combos) SendMessageW(c, SM_SETSKINNED, 0, 0);
         for (int i = 0; i < s.form->ComponentCount(); ++i)
           if (auto* c = As<TComboBox>(s.form->Components(i))) DestroyWindow(c->Handle());
         DestroyRawComboBoxes(s);
         t.data->UpdateSkinControl(s.form, nullptr);
         t.SwitchOff();
       }},
      {"the raw window destroyed, then the skin component freed",
       [](SkinLifetimeTest& t, Scene& s) {
         DestroyWindow(s.dialog);
         Application->ProcessMessages();
         delete t.data;
         t.data = nullptr;
       }},
  };
  for (const Order& order : orders) {
    SCOPED_TRACE(order.what);
    Scene s = MakeScene();
    order.go(*this, s);
    ExpectLeftAlone(s);
    StartOver();
  }
}

}  // namespace
