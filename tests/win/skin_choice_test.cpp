// The choice of control skin under Wine: the decision tables for
// class-library controls (real classes and stand-ins that carry the class
// names and published properties the rules read), the Skin3rd lines, the
// Tag that keeps controls out, raw child windows of every button style and
// the other window classes, one skin per control however often a control
// is reached, OnSkinControl, and real skins landing where their class is
// built.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "platform/win/Forms.h"
#include "platform/win/StdCtrls.h"
#include "platform/win/WinString.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/ControlSkinChoice.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;

namespace {

const TEnumInfo kCxButtonKindInfo{{u"cxbkStandard", u"cxbkDropDown", u"cxbkDropDownButton"}};

// A windowed control under any class name, with the published properties a
// rule reads when asked for: NumButtons, Kind, Transparent.
class TStandIn : public TWinControl {
 public:
  TStandIn(TComponent* owner, const TClassInfo& info) : TWinControl(owner), info_(info) {}
  const TClassInfo& ClassType() const override { return info_; }
  int32_t numButtons = 0;
  int32_t kindValue = 0;
  bool transparent = false;
  DWORD extraStyle = 0, extraExStyle = 0;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.style |= extraStyle;
    p.exStyle |= extraExStyle;
  }

 private:
  const TClassInfo& info_;
};

enum StandInProps { kNoProps = 0, kNumButtons = 1, kKind = 2, kTransparent = 4 };

const TClassInfo& StandInClass(const char16_t* name, int props) {
  static std::map<String, const TClassInfo*> classes;
  const TClassInfo*& info = classes[name];
  if (!info) {
    TClassBuilder<TStandIn> b(name, TWinControl::StaticClass());
    if (props & kNumButtons) b.Int(u"NumButtons", &TStandIn::numButtons, &TStandIn::numButtons);
    if (props & kKind) b.Enum(u"Kind", &TStandIn::kindValue, &TStandIn::kindValue, kCxButtonKindInfo);
    if (props & kTransparent) b.Bool(u"Transparent", &TStandIn::transparent, &TStandIn::transparent);
    info = &b.Done();
  }
  return *info;
}

std::string Utf8(StringView s) { return ToUtf8(s); }

// A plan as text: "TSkinBox(recolour) + children"; a step about another
// control than self is prefixed with that control's Name.
std::string Describe(const TControlSkinPlan& plan, const void* self = nullptr) {
  std::string out;
  for (const TControlSkinStep& s : plan) {
    if (!out.empty()) out += " + ";
    if (s.comp && s.comp != self && s.op == TControlSkinStep::Skin) out += Utf8(s.comp->Name()) + ":";
    switch (s.op) {
      case TControlSkinStep::Skin: {
        out += Utf8(ControlSkinClassName(s.cls));
        static const char* const kAttach[] = {"", "(recolour)", "(scrollbar)", "(graphic)", "(hwnd)"};
        out += kAttach[static_cast<int>(s.attach)];
        if (s.kind) out += "#" + std::to_string(s.kind);
        if (s.HasButton) out += "+button";
        if (!s.PicField.empty()) out += "[" + Utf8(s.PicField) + "]";
        break;
      }
      case TControlSkinStep::ChildControls: out += "children"; break;
      case TControlSkinStep::Components: out += "components"; break;
      case TControlSkinStep::ChildrenWithoutForm: out += "children/nil"; break;
      case TControlSkinStep::SetTransparent: out += "transparent"; break;
      case TControlSkinStep::HwndControls: out += "hwnd-children"; break;
      case TControlSkinStep::PanelColor: out += "panel-colour"; break;
    }
  }
  return out;
}

bool Built(TControlSkinClass cls) {
  TSkinControl* skin = CreateControlSkin(cls, nullptr);
  delete skin;
  return skin != nullptr;
}

constexpr TSkinControlTypes kAllMembers = (1u << (xcFastReport + 1)) - 1;


class SkinChoiceTest : public qvtest::SkinControlFixture {
 protected:
  void SetUp() override {
    delete SkinManager;
    data = std::make_unique<TSkinData>(nullptr);
    data->SetSkinControls(kAllMembers);
    data->Skin3rd()->Clear();
    data->tab = std::make_unique<TDataSkinBorder>(u"Tabs");
    data->Colors[3] = RGB(12, 34, 56);
    sf = std::make_unique<TWinSkinForm>(nullptr);
    sf->fsd = data.get();
    NewForm(40, 40, 400, 300)->Handle();
  }

  // The form's skins go before the form skin that lists them.
  void TearDown() override {
    form.reset();
    sf.reset();
    SkinControlFixture::TearDown();
  }

  template <class T>
  T* Add(const char16_t* name, TWinControl* parent = nullptr) {
    auto* c = new T(form.get());
    c->SetName(name);
    c->SetBounds(8, 8 + 30 * static_cast<int>(form->ComponentCount() % 8), 90, 24);
    c->SetParent(parent ? parent : form.get());
    return c;
  }

  // Styles are given here: the window is made as soon as it has a parent.
  TStandIn* StandIn(const char16_t* cls, const char16_t* name, int props = kNoProps, TWinControl* parent = nullptr,
                    DWORD style = 0, DWORD exStyle = 0) {
    auto* c = new TStandIn(form.get(), StandInClass(cls, props));
    c->extraStyle = style;
    c->extraExStyle = exStyle;
    c->SetName(name);
    c->SetBounds(8, 8, 90, 24);
    c->SetParent(parent ? parent : form.get());
    return c;
  }

  std::string Chain(TControl* c) {
    if (auto* w = As<TWinControl>(c)) w->HandleNeeded();
    return Describe(ChooseFixedChain(*data, UpperCase(c->ClassName()), c), c);
  }

  // "-" when Skin3rd leaves the control to the fixed chain.
  std::string Third(TControl* c) {
    if (auto* w = As<TWinControl>(c)) w->HandleNeeded();
    TControlSkinPlan plan;
    if (!ChooseSkin3rd(*data, UpperCase(c->ClassName()), c, plan)) return "-";
    return Describe(plan, c);
  }

  void Lines(std::initializer_list<const char16_t*> lines) {
    data->Skin3rd()->Clear();
    for (const char16_t* l : lines) data->Skin3rd()->Add(l);
  }

  // Skin3rd as the one line "cls=kind".
  void OneLine(const char16_t* cls, const char16_t* kind) {
    data->Skin3rd()->Clear();
    data->Skin3rd()->Add(String(cls) + u"=" + kind);
  }

  void Without(std::initializer_list<TSkinControlType> members) {
    TSkinControlTypes s = kAllMembers;
    for (TSkinControlType m : members) s &= ~(1u << m);
    data->SetSkinControls(s);
  }

  HWND Host() {
    static bool registered = false;
    if (!registered) {
      for (const wchar_t* name : {L"QvChoiceHost", L"TProgressBar", L"TSilentPaintPanel", L"TCheckBox", L"TComboBox"})
        qvtest::RegisterWindowClass(name);
      registered = true;
    }
    return MakeWindow(L"QvChoiceHost", WS_OVERLAPPEDWINDOW, Bounds(60, 60, 400, 300), nullptr, L"host");
  }

  HWND Child(HWND parent, const wchar_t* cls, DWORD style) {
    return MakeWindow(cls, WS_CHILD | WS_VISIBLE | style, Bounds(4, 4, 120, 60), parent, L"x");
  }

  std::string Raw(HWND w) { return Describe(ChooseRawWindow(*data, w)); }

  int SkinsOf(TControl* c) {
    int n = 0;
    for (TSkinControl* s : sf->controls.Controllist)
      if (s->control == c) ++n;
    return n;
  }

  std::unique_ptr<TWinSkinForm> sf;
};

// ---- the fixed chain

TEST_F(SkinChoiceTest, TheFixedChainPicksBySkinClassNameThenByClass) {
  struct Row {
    TControl* control;
    const char* expected;
  };
  auto* tabset = StandIn(u"TTabSet", u"Tabs");
  auto* tabbed = StandIn(u"TTabbedNotebook", u"Notebook");
  auto* mvc = StandIn(u"TMVCPanel", u"Mvc");
  auto* updown = StandIn(u"TUpDown", u"UpDown");
  auto* spin = StandIn(u"TSpinButton", u"Spin");
  auto* player = StandIn(u"TMediaPlayer", u"Player");
  auto* navigator = StandIn(u"TDBNavigator", u"Navigator");
  auto* rzcheck = StandIn(u"TRzCheckBox", u"RzCheck");
  auto* rzdbcheck = StandIn(u"TRzDBCheckBox", u"RzDBCheck");
  auto* rzradio = StandIn(u"TRzRadioButton", u"RzRadio");
  auto* cxcheck = StandIn(u"TcxCheckBox", u"CxCheck");
  auto* tnt = StandIn(u"TTntComboBox", u"Tnt");
  auto* rich = StandIn(u"TRichEdit", u"Rich");
  auto* wwrich = StandIn(u"TwwDBRichEdit", u"WwRich");
  auto* dxtree = StandIn(u"TdxDBTreeList", u"DxTree");
  auto* panel = Add<TPanel>(u"Panel1");
  auto* memo = Add<TMemo>(u"Memo1");
  auto* edit = Add<TEdit>(u"Edit1");
  auto* button = Add<TButton>(u"Button1");
  auto* label = Add<TLabel>(u"Label1");
  auto* scrolled = StandIn(u"TScrolledThing", u"Scrolled", kNoProps, nullptr, WS_VSCROLL);
  auto* plain = StandIn(u"TPlainThing", u"Plain");
  TForm inner(nullptr);

  const Row rows[] = {
      {tabset, "TSkinTab31"},
      {tabbed, "TSkinTab"},
      {mvc, "children"},
      {updown, "TSkinUpDown"},
      {spin, "TSkinUpDown"},
      {player, "TSkinMP"},
      {navigator, "TSkinBox(recolour) + children/nil"},
      {rzcheck, "TSkinObjImage(recolour)#1"},
      {rzdbcheck, "TSkinObjImage(recolour)#1"},
      {rzradio, "TSkinObjImage(recolour)#2"},
      {cxcheck, "TSkinObjImage(recolour)#3"},
      {tnt, "TSkinComBox"},
      {rich, "TSkinScrollbar(scrollbar)"},
      {wwrich, "TSkinScrollbar(scrollbar)"},
      {dxtree, "TSkinScrollbar(scrollbar)"},
      {panel, "children + TSkinBox(recolour)"},
      {memo, "TSkinScrollbar(scrollbar)"},
      {edit, "TSkinEdit"},
      {button, "TSkinButton"},
      {label, ""},
      {scrolled, "TSkinScrollbar(scrollbar)"},
      {plain, ""},
      {&inner, "TSkinBox(recolour) + components"},
  };
  for (const Row& r : rows) EXPECT_EQ(Chain(r.control), r.expected) << Utf8(r.control->ClassName());
}

TEST_F(SkinChoiceTest, ARowWhoseMemberIsMissingHandsOnToTheNextRows) {
  auto* tabset = StandIn(u"TTabSet", u"Tabs");
  auto* scrolledTabs = StandIn(u"TTabSet", u"ScrolledTabs", kNoProps, nullptr, WS_HSCROLL);
  auto* memo = Add<TMemo>(u"Memo1");
  auto* panel = Add<TPanel>(u"Panel1");
  auto* updown = StandIn(u"TUpDown", u"UpDown");

  Without({xcTab});
  EXPECT_EQ(Chain(tabset), "");
  EXPECT_EQ(Chain(scrolledTabs), "TSkinScrollbar(scrollbar)");
  data->SetSkinControls(kAllMembers);
  data->tab.reset();  // a skin without tab images
  EXPECT_EQ(Chain(tabset), "");

  Without({xcScrollbar});
  EXPECT_EQ(Chain(memo), "TSkinEdit");  // a memo is an edit, but the scroll-bar rows come first
  Without({xcPanel});
  EXPECT_EQ(Chain(panel), "");
  Without({xcSpin});
  EXPECT_EQ(Chain(updown), "");
}

TEST_F(SkinChoiceTest, NumButtonsDecidesTheDCEdit) {
  auto* one = StandIn(u"TDCEdit", u"One", kNumButtons);
  one->numButtons = 1;
  auto* none = StandIn(u"TDCEdit", u"None", kNumButtons);
  none->numButtons = 0;
  auto* two = StandIn(u"TDCEdit", u"Two", kNumButtons);
  two->numButtons = 2;
  auto* absent = StandIn(u"TDCDBEdit", u"Absent");
  // The scroll-bar rows come before the DC edit's.
  auto* scrolled = StandIn(u"TDCEdit", u"Scrolled", kNumButtons, nullptr, WS_VSCROLL);

  EXPECT_EQ(Chain(one), "TSkinComBox");
  EXPECT_EQ(Chain(none), "TSkinEdit(hwnd)");
  EXPECT_EQ(Chain(two), "");
  EXPECT_EQ(Chain(absent), "");
  EXPECT_EQ(Chain(scrolled), "TSkinScrollbar(scrollbar)");
  Without({xcCombo});
  EXPECT_EQ(Chain(one), "");
  Without({xcEdit});
  EXPECT_EQ(Chain(none), "");
}

// ---- Skin3rd

TEST_F(SkinChoiceTest, Skin3rdLinesMatchTheClassWithoutRegardToCase) {
  auto* thing = StandIn(u"TThing", u"Thing");
  EXPECT_EQ(Third(thing), "-");
  Lines({u"tTHING=ScrollBar"});
  EXPECT_EQ(Third(thing), "TSkinScrollbar(scrollbar) + children");
  // The first line for a class decides.
  Lines({u"TOther=button", u"TThing=nil", u"TThing=button"});
  EXPECT_EQ(Third(thing), "");
  // A blank before "=" matches nothing: the fixed chain decides.
  Lines({u"TThing =button"});
  EXPECT_EQ(Third(thing), "-");
  // A blank after it matches, but names no kind: no skin, no fixed chain.
  Lines({u"TThing= button"});
  EXPECT_EQ(Third(thing), "");
  // A longer class name that begins with this one is another class.
  Lines({u"TThingy=button"});
  EXPECT_EQ(Third(thing), "-");
  // An empty kind leaves the class to the fixed chain.
  Lines({u"TThing="});
  EXPECT_EQ(Third(thing), "-");
}

TEST_F(SkinChoiceTest, Skin3rdKindsAreCutAtFiftyCharacters) {
  auto* thing = StandIn(u"TThing", u"Thing");
  const String longKind = u"scrollbar" + String(60, u'x');
  OneLine(u"TThing", longKind.c_str());
  EXPECT_EQ(Skin3rdKind(*data, u"TTHING"), longKind.substr(0, 50));
  EXPECT_EQ(Third(thing), "");  // decided: no kind, no skin
}

TEST_F(SkinChoiceTest, EverySkin3rdKindHasItsSkin) {
  struct Row {
    const char16_t* kind;
    const char* expected;
  };
  const Row rows[] = {
      {u"nil", ""},
      {u"combobox", "TSkinComBox"},
      {u"comboboxex", "TSkinComBox+button"},
      {u"radiobutton", "TSkinRadioButton"},
      {u"panel", "transparent + TSkinBox(recolour)"},
      {u"trackbar", "transparent + TSkinTrackBar"},
      {u"button", "TSkinButton"},
      {u"datetimepicker", "TSkinDateTime"},
      {u"mediaplayer", "TSkinMP"},
      {u"bitbtn", "TSkinBitButton"},
      {u"pngbitbtn", "TSkinBitButton[PngImage]"},
      {u"pngspeedbutton", "TSkinSpeedButton(graphic)[PngImage]"},
      {u"menubtn", "TSkinMenuButton"},
      {u"speedbutton", "TSkinSpeedButton(graphic)"},
      {u"tab", "TSkinTab"},
      {u"progress", "TSkinProgress"},
      {u"scrollbar", "TSkinScrollbar(scrollbar) + children"},
      {u"singlescrollbar", "TSkinScrollbar(scrollbar)#1"},
      {u"container", "children"},
      {u"groupbox", "TSkinGroupBox(recolour)"},
      {u"advpagecontrol", "TSkinAdvPage(recolour)#4"},
      {u"checkbox", "TSkinCheckBox"},
      {u"listview", ""},
  };
  auto* thing = StandIn(u"TThing", u"Thing");
  for (const Row& r : rows) {
    OneLine(u"TThing", r.kind);
    EXPECT_EQ(Third(thing), r.expected) << Utf8(r.kind);
  }
}

TEST_F(SkinChoiceTest, Skin3rdKindsWithoutTheirMemberLeaveTheControlUnskinned) {
  struct Row {
    const char16_t* kind;
    TSkinControlType member;
    const char* expected;
  };
  const Row rows[] = {
      {u"combobox", xcCombo, ""},
      {u"datetimepicker", xcCombo, ""},
      {u"speedbutton", xcSpeedButton, ""},
      {u"scrollbar", xcScrollbar, ""},
      {u"tab", xcTab, ""},
      {u"panel", xcPanel, ""},
      // These read other members than their names suggest.
      {u"trackbar", xcTrackBar, "transparent + TSkinTrackBar"},
      {u"bitbtn", xcBitBtn, "TSkinBitButton"},
      {u"trackbar", xcButton, ""},
      {u"container", xcPanel, "children"},
  };
  auto* thing = StandIn(u"TButtonLike", u"Thing");
  for (const Row& r : rows) {
    OneLine(u"TButtonLike", r.kind);
    Without({r.member});
    EXPECT_EQ(Third(thing), r.expected) << Utf8(r.kind);
  }
  // "nil" keeps even a push button unskinned.
  auto* button = Add<TButton>(u"Button1");
  data->SetSkinControls(kAllMembers);
  Lines({u"TButton=nil"});
  EXPECT_EQ(Third(button), "");
  EXPECT_EQ(Chain(button), "TSkinButton");
}

TEST_F(SkinChoiceTest, TheEditKindSkinsOnlyAnEditWithABorder) {
  auto* bordered = StandIn(u"TFancyEdit", u"Bordered", kNoProps, nullptr, 0, WS_EX_CLIENTEDGE);
  auto* flat = StandIn(u"TFancyEdit", u"Flat");
  Lines({u"TFancyEdit=edit"});
  EXPECT_EQ(Third(bordered), "TSkinEdit");
  EXPECT_EQ(Third(flat), "");
  Without({xcEdit});
  EXPECT_EQ(Third(bordered), "");
}

TEST_F(SkinChoiceTest, ADropDownCxButtonIsAMenuButton) {
  auto* drop = StandIn(u"TcxButton", u"Drop", kKind);
  drop->kindValue = 2;
  auto* standard = StandIn(u"TcxButton", u"Standard", kKind);
  auto* other = StandIn(u"TOtherButton", u"Other", kKind);
  other->kindValue = 2;
  Lines({u"TcxButton=BitBtn", u"TOtherButton=bitbtn"});
  EXPECT_EQ(Third(drop), "TSkinMenuButton");
  EXPECT_EQ(Third(standard), "TSkinBitButton");
  EXPECT_EQ(Third(other), "TSkinBitButton");
}

TEST_F(SkinChoiceTest, GroupKindsSkinTheChildrenThenTheGroup) {
  auto* group = StandIn(u"TRadioGroupThing", u"Group");
  auto* rzgroup = StandIn(u"TRzRadioGroupThing", u"RzGroup");
  for (TWinControl* g : {static_cast<TWinControl*>(group), static_cast<TWinControl*>(rzgroup)}) {
    StandIn(u"TGroupItem", (g == group ? u"A" : u"RzA"), kNoProps, g);
    StandIn(u"TGroupItem", (g == group ? u"B" : u"RzB"), kNoProps, g);
  }
  Lines({u"TRadioGroupThing=radiogroup", u"TRzRadioGroupThing=radiogroup"});
  EXPECT_EQ(Third(group), "A:TSkinRadioButton + B:TSkinRadioButton + TSkinGroupBox(recolour)");
  EXPECT_EQ(Third(rzgroup), "RzA:TSkinObjImage(recolour)#2 + RzB:TSkinObjImage(recolour)#2 + TSkinGroupBox(recolour)");
  Without({xcRadioButton});
  EXPECT_EQ(Third(group), "TSkinGroupBox(recolour)");
  Without({xcGroupBox});
  EXPECT_EQ(Third(group), "");

  Lines({u"TRadioGroupThing=checkgroup", u"TRzRadioGroupThing=checkgroup"});
  data->SetSkinControls(kAllMembers);
  EXPECT_EQ(Third(group), "A:TSkinCheckBox + B:TSkinCheckBox + TSkinGroupBox(recolour)");
  EXPECT_EQ(Third(rzgroup), "RzA:TSkinObjImage(recolour)#1 + RzB:TSkinObjImage(recolour)#1 + TSkinGroupBox(recolour)");
  // The check group reads the panel, radio button and group box members.
  Without({xcGroupBox, xcCheckBox});
  EXPECT_EQ(Third(group), "A:TSkinCheckBox + B:TSkinCheckBox");
  Without({xcRadioButton});
  EXPECT_EQ(Third(group), "TSkinGroupBox(recolour)");
  Without({xcPanel});
  EXPECT_EQ(Third(group), "");
}

TEST_F(SkinChoiceTest, EmbedScrollbarSkinsOnlyTheChildrenWithScrollBars) {
  auto* box = StandIn(u"TEmbedBox", u"Box");
  StandIn(u"TGroupItem", u"Bars", kNoProps, box, WS_VSCROLL | WS_HSCROLL);
  StandIn(u"TGroupItem", u"NoBars", kNoProps, box);
  auto* memo = new TMemo(form.get());
  memo->SetName(u"Memo1");
  memo->SetParent(box);
  Lines({u"TEmbedBox=embedscrollbar"});
  EXPECT_EQ(Third(box), "Bars:TSkinScrollbar(scrollbar) + Memo1:TSkinScrollbar(scrollbar)");
}

// ---- raw windows

TEST_F(SkinChoiceTest, RawButtonsAreSkinnedByTheirButtonType) {
  HWND host = Host();
  const char* const expected[16] = {
      "TSkinButton(hwnd)",      "TSkinButton(hwnd)",      "TSkinCheckBox(hwnd)",    "TSkinCheckBox(hwnd)",
      "TSkinRadioButton(hwnd)", "TSkinCheckBox(hwnd)",    "TSkinCheckBox(hwnd)",    "",
      "TSkinButton(hwnd)",      "TSkinRadioButton(hwnd)", "TSkinCheckBox(hwnd)",    "",
      "TSkinRadioButton(hwnd)", "TSkinCheckBox(hwnd)",    "TSkinCheckBox(hwnd)",    "",
  };
  for (DWORD type = 0; type <= 0xF; ++type) {
    HWND b = Child(host, L"BUTTON", type);
    ASSERT_NE(b, nullptr);
    // Some systems drop obsolete button types at creation; the decision
    // reads the style as it stands.
    SetWindowLongPtrW(b, GWL_STYLE, (GetWindowLongPtrW(b, GWL_STYLE) & ~0xF) | type);
    ASSERT_EQ(GetWindowLongPtrW(b, GWL_STYLE) & 0xF, static_cast<LONG_PTR>(type));
    EXPECT_EQ(Raw(b), expected[type]) << "button type " << type;
  }
  EXPECT_EQ(Raw(Child(host, L"BUTTON", BS_PUSHBUTTON | BS_BITMAP)), "");
  // Without its member a button type gets nothing, not the push button skin.
  Without({xcCheckBox, xcRadioButton});
  EXPECT_EQ(Raw(Child(host, L"BUTTON", BS_AUTOCHECKBOX)), "");
  EXPECT_EQ(Raw(Child(host, L"BUTTON", BS_RADIOBUTTON)), "");
  Without({xcButton});
  EXPECT_EQ(Raw(Child(host, L"BUTTON", BS_DEFPUSHBUTTON)), "");
}

TEST_F(SkinChoiceTest, OtherRawWindowsAreSkinnedByClassAndStyle) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND host = Host();
  EXPECT_EQ(Raw(Child(host, L"COMBOBOX", CBS_DROPDOWNLIST)), "TSkinComBox(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"COMBOBOX", CBS_SIMPLE)), "");
  EXPECT_EQ(Raw(Child(host, L"SCROLLBAR", SBS_SIZEGRIP)), "TSkinSizer(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"SCROLLBAR", SBS_VERT | WS_TABSTOP)), "");
  EXPECT_EQ(Raw(Child(host, WC_TREEVIEWW, 0)), "");
  EXPECT_EQ(Raw(Child(host, WC_TABCONTROLW, 0)), "TSkinTab(hwnd)");
  EXPECT_EQ(Raw(Child(host, WC_TABCONTROLW, TCS_OWNERDRAWFIXED)), "");
  data->tab.reset();  // a skin without tab images
  EXPECT_EQ(Raw(Child(host, WC_TABCONTROLW, 0)), "");
  EXPECT_EQ(Raw(Child(host, TOOLBARCLASSNAMEW, 0)), "TSkinBoxH(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"EDIT", 0)), "TSkinEdit(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"STATIC", 0)), "");
  EXPECT_EQ(Raw(Child(host, L"#32770", 0)), "hwnd-children + TSkinBoxH(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"#32770", WS_TABSTOP)), "");
  EXPECT_EQ(Raw(Child(host, L"TSilentPaintPanel", 0)), "panel-colour");
  EXPECT_EQ(Raw(Child(host, L"TCheckBox", 0)), "TSkinCheckBox(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"TComboBox", 0)), "TSkinComBox(hwnd)");

  // The extended combo box: the skin goes on its inner combo box.
  HWND ex = Child(host, WC_COMBOBOXEXW, CBS_DROPDOWN);
  ASSERT_NE(GetTopWindow(ex), nullptr);
  const TControlSkinPlan plan = ChooseRawWindow(*data, ex);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].wnd, GetTopWindow(ex));
  EXPECT_EQ(plan[0].cls, TControlSkinClass::SkinComBox);

  // A progress bar of the class library is skinned whatever SkinControls holds.
  HWND progress = Child(host, L"TProgressBar", 0);
  data->SetSkinControls(0);
  EXPECT_EQ(Raw(progress), "TSkinProgress(hwnd)");
  EXPECT_EQ(Raw(Child(host, L"EDIT", 0)), "");
}

TEST_F(SkinChoiceTest, ARawPanelOfTheClassLibraryTakesTheFaceColourAndItsChildrenAreVisited) {
  HWND host = Host();
  auto* panel = new TPanel(form.get());
  panel->SetParentWindow(host);
  panel->SetColor(RGB(255, 0, 0));
  HWND p = panel->Handle();
  EXPECT_EQ(Raw(p), "hwnd-children + panel-colour");
  sf->AddControlh(p);
  EXPECT_EQ(panel->Color(), data->Colors[3]);
  EXPECT_TRUE(sf->controls.Controllist.empty());
  sf->AddControlh(nullptr);
  EXPECT_TRUE(sf->controls.Controllist.empty());
}

// ---- attaching: gates, one skin per control, OnSkinControl

class OnSkinControlTest : public SkinChoiceTest {
 protected:
  void SetUp() override {
    SkinChoiceTest::SetUp();
    data->FOnSkinControl = [this](TComponent* sender, TSkinData* sd, TControl* /*wForm*/, TControl* control,
                                  const String& cls, TComponent*& skinned) {
      EXPECT_EQ(sender, sf.get());
      EXPECT_EQ(sd, data.get());
      seen.push_back(Utf8(control->Name()) + "/" + Utf8(cls));
      if (supply == Supply::Skin) skinned = new TSkinControl(control);
      if (supply == Supply::Other) skinned = new TComponent(control);
    };
  }
  enum class Supply { Nothing, Skin, Other };
  Supply supply = Supply::Skin;
  std::vector<std::string> seen;
};

TEST_F(OnSkinControlTest, ASuppliedControlSkinIsInitialisedAndListedOnce) {
  auto* button = Add<TButton>(u"Button1");
  sf->AddComp(button, form.get());
  ASSERT_EQ(seen, std::vector<std::string>{"Button1/TBUTTON"});
  ASSERT_EQ(SkinsOf(button), 1);
  EXPECT_TRUE(sf->controls.Controllist[0]->Inited);
  EXPECT_EQ(button->Perform(SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(button->Handle(), SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(sf->FindControlSkin(button->Handle()), sf->controls.Controllist[0]);
  sf->AddComp(button, form.get());
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(SkinsOf(button), 1);
}

TEST_F(OnSkinControlTest, AnotherComponentSuppliedLeavesTheControlUnskinned) {
  supply = Supply::Other;
  auto* button = Add<TButton>(u"Button1");
  sf->AddComp(button, form.get());
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_TRUE(sf->controls.Controllist.empty());
  EXPECT_EQ(button->Perform(SM_QUERYSKINNED, 0, 0), 0);
}

TEST_F(OnSkinControlTest, APanelWithASuppliedSkinHasItsChildrenSkinnedToo) {
  auto* panel = Add<TPanel>(u"Panel1");
  auto* inner = Add<TEdit>(u"Inner", panel);
  sf->AddComp(panel, form.get());
  EXPECT_EQ(seen, (std::vector<std::string>{"Panel1/TPANEL", "Inner/TEDIT"}));
  EXPECT_EQ(SkinsOf(panel), 1);
  EXPECT_EQ(SkinsOf(inner), 1);
}

TEST_F(OnSkinControlTest, TheDisableTagKeepsAControlAndTheButtonsOfItsGroupOut) {
  data->SetDisableTag(77);
  auto* button = Add<TButton>(u"Button1");
  button->SetTag(77);
  auto* group = StandIn(u"TMyRadioGroup", u"Group");
  auto* a = StandIn(u"TGroupItem", u"A", kNoProps, group);
  auto* b = StandIn(u"TGroupItem", u"B", kNoProps, group);
  group->SetTag(77);
  auto* box = StandIn(u"TMyBox", u"Box");
  auto* c = StandIn(u"TGroupItem", u"C", kNoProps, box);
  box->SetTag(77);

  sf->InitControls(form.get());
  EXPECT_EQ(a->Tag(), 77);
  EXPECT_EQ(b->Tag(), 77);
  EXPECT_EQ(c->Tag(), 0);  // not a group: its children keep their Tag
  EXPECT_EQ(seen, std::vector<std::string>{"C/TGROUPITEM"});
  EXPECT_EQ(SkinsOf(button) + SkinsOf(group) + SkinsOf(a) + SkinsOf(b) + SkinsOf(box), 0);
}

TEST_F(OnSkinControlTest, AControlWithoutParentIsLeftAloneAndAMissingWindowIsCreated) {
  auto* orphan = new TButton(form.get());
  orphan->SetName(u"Orphan");
  sf->AddComp(orphan, form.get());
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(orphan->HandleAllocated());

  supply = Supply::Nothing;
  auto* late = new TStandIn(form.get(), StandInClass(u"TPlainThing", kNoProps));
  late->SetName(u"Late");
  late->SetParent(form.get());
  sf->AddComp(late, form.get());
  EXPECT_EQ(seen, std::vector<std::string>{"Late/TPLAINTHING"});
  EXPECT_TRUE(late->HandleAllocated());
}

TEST_F(OnSkinControlTest, EveryControlGetsOneSkinHoweverOftenItIsReached) {
  auto* button = Add<TButton>(u"Button1");
  auto* edit = Add<TEdit>(u"Edit1");
  auto* panel = Add<TPanel>(u"Panel1");
  auto* inner = Add<TEdit>(u"Inner", panel);
  // Owned by the form, in the panel, and in the tab order: reached three ways.
  sf->InitControls(form.get());
  sf->InitControls(form.get());
  EXPECT_EQ(seen.size(), 4u);
  for (TControl* c : {static_cast<TControl*>(button), static_cast<TControl*>(edit), static_cast<TControl*>(panel),
                      static_cast<TControl*>(inner)})
    EXPECT_EQ(SkinsOf(c), 1) << Utf8(c->Name());
  EXPECT_EQ(sf->controls.Controllist.size(), 4u);
}

TEST_F(OnSkinControlTest, ANestedFormHasItsControlsSkinned) {
  TForm nested(nullptr);
  nested.SetBounds(0, 0, 200, 100);
  nested.SetParent(form.get());
  auto* button = new TButton(&nested);
  button->SetName(u"NestedButton");
  button->SetParent(&nested);
  sf->InitNestform(&nested);
  EXPECT_EQ(seen, std::vector<std::string>{"NestedButton/TBUTTON"});
  EXPECT_EQ(SkinsOf(button), 1);
  nested.SetParent(nullptr);
}

// ---- the real control skins, where their classes are built

TEST_F(SkinChoiceTest, BuiltSkinsLandInTheListAndAnswerTheQuery) {
  auto* button = Add<TButton>(u"Button1");
  auto* edit = Add<TEdit>(u"Edit1");
  auto* memo = Add<TMemo>(u"Memo1");
  auto* label = Add<TLabel>(u"Label1");
  sf->InitControls(form.get());
  sf->InitControls(form.get());
  const struct {
    TWinControl* control;
    TControlSkinClass cls;
  } rows[] = {{button, TControlSkinClass::SkinButton},
              {edit, TControlSkinClass::SkinEdit},
              {memo, TControlSkinClass::SkinScrollbar}};
  for (const auto& r : rows) {
    const int expected = Built(r.cls) ? 1 : 0;
    EXPECT_EQ(SkinsOf(r.control), expected) << Utf8(ControlSkinClassName(r.cls));
    EXPECT_EQ(SendMessageW(r.control->Handle(), SM_QUERYSKINNED, 0, 0), expected);
    if (expected) {
      TSkinControl* skin = sf->FindControlSkin(r.control->Handle());
      ASSERT_NE(skin, nullptr);
      EXPECT_EQ(skin->ClassName(), ControlSkinClassName(r.cls));
      EXPECT_EQ(skin->Owner(), r.control);
    }
  }
  for (TSkinControl* s : sf->controls.Controllist) EXPECT_NE(s->GControl, label);
}

TEST_F(SkinChoiceTest, RawDialogControlsGetBuiltSkinsOwnedByTheSkinnedForm) {
  HWND host = Host();
  HWND push = Child(host, L"BUTTON", BS_PUSHBUTTON);
  HWND owner = Child(host, L"BUTTON", BS_OWNERDRAW);
  HWND dialog = Child(host, L"#32770", 0);
  HWND deep = Child(dialog, L"BUTTON", BS_DEFPUSHBUTTON);
  HWND popup = MakeWindow(L"BUTTON", WS_POPUP, Bounds(0, 0, 10, 10), host, L"p");
  sf->InitHwndControls(host);
  sf->InitHwndControls(host);
  const int expected = Built(TControlSkinClass::SkinButton) ? 1 : 0;
  EXPECT_EQ(SendMessageW(push, SM_QUERYSKINNED, 0, 0), expected);
  EXPECT_EQ(SendMessageW(deep, SM_QUERYSKINNED, 0, 0), expected);  // reached through the dialog
  EXPECT_EQ(SendMessageW(owner, SM_QUERYSKINNED, 0, 0), 0);
  EXPECT_EQ(sf->FindControlSkin(popup), nullptr);  // owned windows are no children
  if (expected) {
    EXPECT_EQ(sf->FindControlSkin(push)->Owner(), sf.get());
    int pushSkins = 0;
    for (TSkinControl* s : sf->controls.Controllist) pushSkins += s->hwnd == push;
    EXPECT_EQ(pushSkins, 1);
  }
}

TEST(SkinChoiceSetUp, TheSkinnedFormSkinsItsControlsWhenItsSkinIsFinished) {
  InitApplication();
  std::unique_ptr<TSkinData> data(qvtest::LoadProgramSkin());
  ASSERT_NE(SkinManager, nullptr);
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(50, 50, 320, 200);
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  button->SetBounds(10, 10, 80, 26);
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  form->Show();
  TWinSkinForm* sf = qvtest::WaitSkinned(form->Handle());
  ASSERT_NE(sf, nullptr);
  const bool built = Built(TControlSkinClass::SkinButton);
  EXPECT_EQ(SendMessageW(button->Handle(), SM_QUERYSKINNED, 0, 0), built ? 1 : 0);
  EXPECT_EQ(sf->FindControlSkin(button->Handle()) != nullptr, built);
  form.reset();
  delete SkinManager;
  data.reset();
}

}  // namespace
