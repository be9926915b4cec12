#include "skin/windows/ControlSkinChoice.h"

#include <commctrl.h>

#include <initializer_list>

#include "platform/win/Forms.h"
#include "platform/win/StdCtrls.h"
#include "platform/win/WinGeometry.h"
#include "skin/controls/PropByName.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinTab.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/WinSkinForm.h"

namespace qv {

namespace {

using C = TControlSkinClass;
using A = TSkinAttach;
using Op = TControlSkinStep::TOp;

// The longest kind text Skin3rd gives a class; longer ones are cut.
constexpr int kMaxSkin3rdKind = 50;

bool Has(const TSkinData& sd, TSkinControlType member) { return InSet(sd.SkinControls(), member); }

bool IsOneOf(StringView N, std::initializer_list<const char16_t*> names) {
  for (const char16_t* name : names)
    if (N == name) return true;
  return false;
}

TControlSkinStep SkinStep(TControl* comp, C cls, A attach, int kind = 0) {
  TControlSkinStep s;
  s.op = Op::Skin;
  s.comp = comp;
  s.cls = cls;
  s.attach = attach;
  s.kind = kind;
  return s;
}

TControlSkinStep WindowSkinStep(HWND wnd, C cls) {
  TControlSkinStep s;
  s.op = Op::Skin;
  s.wnd = wnd;
  s.cls = cls;
  s.attach = A::Inithwnd;
  return s;
}

TControlSkinStep CompStep(Op op, TControl* comp) {
  TControlSkinStep s;
  s.op = op;
  s.comp = comp;
  return s;
}

TControlSkinStep WindowStep(Op op, HWND wnd) {
  TControlSkinStep s;
  s.op = op;
  s.wnd = wnd;
  return s;
}

// Every child control of comp, for the group kinds of Skin3rd.
template <class F>
void ForEachChild(TControl* comp, F f) {
  if (auto* w = As<TWinControl>(comp))
    for (int i = 0; i < w->ControlCount(); ++i)
      if (TControl* child = w->Controls(i)) f(child);
}

// The buttons of a radio or check group: the image skin of objKind in the
// group families named "TRZ…", cls otherwise.
void SkinGroupChildren(TControl* group, bool rz, int objKind, C cls, TControlSkinPlan& plan) {
  ForEachChild(group, [&](TControl* child) {
    plan.push_back(rz ? SkinStep(child, C::SkinObjImage, A::InitRecolour, objKind) : SkinStep(child, cls, A::Init));
  });
}

// The Skin3rd kinds; an unknown kind or a missing member leaves the plan
// empty.
void Skin3rdPlan(const TSkinData& sd, StringView kind, StringView N, TControl* Comp, TControlSkinPlan& plan) {
  const bool rz = Pos(u"TRZ", N) > 0;
  if (kind == u"nil") return;
  if (kind == u"combobox") {
    if (Has(sd, xcCombo)) plan.push_back(SkinStep(Comp, C::SkinComBox, A::Init));
  } else if (kind == u"comboboxex") {
    if (Has(sd, xcCombo)) {
      plan.push_back(SkinStep(Comp, C::SkinComBox, A::Init));
      plan.back().HasButton = true;
    }
  } else if (kind == u"edit") {
    if (Has(sd, xcEdit)) plan = ChooseBorderedEdit(Comp);
  } else if (kind == u"radiobutton") {
    if (Has(sd, xcRadioButton)) plan.push_back(SkinStep(Comp, C::SkinRadioButton, A::Init));
  } else if (kind == u"panel") {
    if (Has(sd, xcPanel)) {
      plan.push_back(CompStep(Op::SetTransparent, Comp));
      plan.push_back(SkinStep(Comp, C::SkinBox, A::InitRecolour));
    }
  } else if (kind == u"trackbar") {
    // The button switch, not xcTrackBar, on purpose: these track bars go with the buttons.
    if (Has(sd, xcButton)) {
      plan.push_back(CompStep(Op::SetTransparent, Comp));
      plan.push_back(SkinStep(Comp, C::SkinTrackBar, A::Init));
    }
  } else if (kind == u"button") {
    if (Has(sd, xcButton)) plan.push_back(SkinStep(Comp, C::SkinButton, A::Init));
  } else if (kind == u"datetimepicker") {
    if (Has(sd, xcCombo)) plan.push_back(SkinStep(Comp, C::SkinDateTime, A::Init));
  } else if (kind == u"mediaplayer") {
    if (Has(sd, xcButton)) plan.push_back(SkinStep(Comp, C::SkinMP, A::Init));
  } else if (kind == u"bitbtn") {
    if (Has(sd, xcButton)) {
      const bool dropDown = N == u"TCXBUTTON" && GetEnumPropByName(Comp, u"Kind") == u"cxbkDropDownButton";
      plan.push_back(SkinStep(Comp, dropDown ? C::SkinMenuButton : C::SkinBitButton, A::Init));
    }
  } else if (kind == u"pngbitbtn") {
    if (Has(sd, xcButton)) {
      plan.push_back(SkinStep(Comp, C::SkinBitButton, A::Init));
      plan.back().PicField = u"PngImage";
    }
  } else if (kind == u"pngspeedbutton") {
    if (Has(sd, xcButton)) {
      plan.push_back(SkinStep(Comp, C::SkinSpeedButton, A::InitGraphicControl));
      plan.back().PicField = u"PngImage";
    }
  } else if (kind == u"menubtn") {
    if (Has(sd, xcButton)) plan.push_back(SkinStep(Comp, C::SkinMenuButton, A::Init));
  } else if (kind == u"speedbutton") {
    if (Has(sd, xcSpeedButton)) plan.push_back(SkinStep(Comp, C::SkinSpeedButton, A::InitGraphicControl));
  } else if (kind == u"tab") {
    if (Has(sd, xcTab) && sd.tab) plan.push_back(SkinStep(Comp, C::SkinTab, A::Init));
  } else if (kind == u"progress") {
    if (Has(sd, xcProgress)) plan.push_back(SkinStep(Comp, C::SkinProgress, A::Init));
  } else if (kind == u"scrollbar") {
    if (Has(sd, xcScrollbar)) {
      plan.push_back(SkinStep(Comp, C::SkinScrollbar, A::InitScrollbar));
      plan.push_back(CompStep(Op::ChildControls, Comp));
    }
  } else if (kind == u"singlescrollbar") {
    if (Has(sd, xcScrollbar))
      plan.push_back(SkinStep(Comp, C::SkinScrollbar, A::InitScrollbar, TSkinScrollbar::sbkSingleScrollbar));
  } else if (kind == u"embedscrollbar") {
    if (Has(sd, xcScrollbar))
      ForEachChild(Comp, [&](TControl* child) {
        if (IsScrollControl(child)) plan.push_back(SkinStep(child, C::SkinScrollbar, A::InitScrollbar));
      });
  } else if (kind == u"container") {
    plan.push_back(CompStep(Op::ChildControls, Comp));
  } else if (kind == u"groupbox") {
    if (Has(sd, xcGroupBox)) plan.push_back(SkinStep(Comp, C::SkinGroupBox, A::InitRecolour));
  } else if (kind == u"advpagecontrol") {
    if (Has(sd, xcTab)) plan.push_back(SkinStep(Comp, C::SkinAdvPage, A::InitRecolour, TSkinAdvPage::akTabBackgrounds));
  } else if (kind == u"radiogroup") {
    if (Has(sd, xcGroupBox)) {
      if (Has(sd, xcRadioButton)) SkinGroupChildren(Comp, rz, 2, C::SkinRadioButton, plan);
      plan.push_back(SkinStep(Comp, C::SkinGroupBox, A::InitRecolour));
    }
  } else if (kind == u"checkgroup") {
    if (Has(sd, xcPanel)) {
      if (Has(sd, xcRadioButton)) SkinGroupChildren(Comp, rz, 1, C::SkinCheckBox, plan);
      if (Has(sd, xcGroupBox)) plan.push_back(SkinStep(Comp, C::SkinGroupBox, A::InitRecolour));
    }
  } else if (kind == u"checkbox") {
    if (Has(sd, xcCheckBox)) plan.push_back(SkinStep(Comp, C::SkinCheckBox, A::Init));
  }
}

}  // namespace

String Skin3rdKind(const TSkinData& sd, StringView N) {
  const TStrings* lines = sd.Skin3rd();
  if (!lines) return String();
  const String key = LowerCase(N) + u"=";
  for (int i = 0; i < lines->Count(); ++i) {
    const String line = LowerCase(lines->Get(i));
    if (line.compare(0, key.size(), key) != 0) continue;
    return line.substr(key.size(), kMaxSkin3rdKind);
  }
  return String();
}

bool ChooseSkin3rd(const TSkinData& sd, StringView N, TControl* Comp, TControlSkinPlan& plan) {
  plan.clear();
  const String kind = Skin3rdKind(sd, N);
  if (kind.empty()) return false;
  Skin3rdPlan(sd, kind, N, Comp, plan);
  return true;
}

TControlSkinPlan ChooseFixedChain(const TSkinData& sd, StringView N, TControl* Comp) {
  TControlSkinPlan plan;
  auto skin = [&](C cls, A attach, int kind = 0) {
    plan.push_back(SkinStep(Comp, cls, attach, kind));
    return plan;
  };
  if (N == u"TTABSET" && Has(sd, xcTab) && sd.tab) return skin(C::SkinTab31, A::Init);
  if (N == u"TTABBEDNOTEBOOK" && Has(sd, xcTab) && sd.tab) return skin(C::SkinTab, A::Init);
  if (N == u"TMVCPANEL") return {CompStep(Op::ChildControls, Comp)};
  if (IsOneOf(N, {u"TUPDOWN", u"TSPINBUTTON"}) && Has(sd, xcSpin)) return skin(C::SkinUpDown, A::Init);
  if (N == u"TMEDIAPLAYER" && Has(sd, xcButton)) return skin(C::SkinMP, A::Init);
  if (N == u"TDBNAVIGATOR" && Has(sd, xcPanel)) {
    skin(C::SkinBox, A::InitRecolour);
    plan.push_back(CompStep(Op::ChildrenWithoutForm, Comp));
    return plan;
  }
  if (IsOneOf(N, {u"TRZDBCHECKBOX", u"TRZCHECKBOX"}) && Has(sd, xcCheckBox))
    return skin(C::SkinObjImage, A::InitRecolour, TSkinObjImage::okCheck);
  if (IsOneOf(N, {u"TRZRADIOBUTTON", u"TRZDBRADIOBUTTON"}) && Has(sd, xcRadioButton))
    return skin(C::SkinObjImage, A::InitRecolour, TSkinObjImage::okRadio);
  if (IsOneOf(N, {u"TCXDBCHECKBOX", u"TCXCHECKBOX"}) && Has(sd, xcCheckBox))
    return skin(C::SkinObjImage, A::InitRecolour, TSkinObjImage::okPropertiesCheck);
  if (N == u"TTNTCOMBOBOX" && Has(sd, xcCombo)) return skin(C::SkinComBox, A::Init);
  if (IsOneOf(N, {u"TRICHEDIT", u"TWWDBRICHEDIT", u"TDXDBMEMO"}) && Has(sd, xcScrollbar))
    return skin(C::SkinScrollbar, A::InitScrollbar);
  if (Comp->Is<TCustomPanel>() && Has(sd, xcPanel)) {
    // The children first: the panel's skin paints behind skinned children.
    plan.push_back(CompStep(Op::ChildControls, Comp));
    return skin(C::SkinBox, A::InitRecolour);
  }
  if (IsOneOf(N, {u"TDXTREELIST", u"TDXDBTREELIST", u"TDXDBGRID"}) && Has(sd, xcScrollbar))
    return skin(C::SkinScrollbar, A::InitScrollbar);
  if ((Comp->Is<TCustomMemo>() || IsScrollControl(Comp)) && Has(sd, xcScrollbar))
    return skin(C::SkinScrollbar, A::InitScrollbar);
  if (Comp->Is<TButton>() && Has(sd, xcButton)) return skin(C::SkinButton, A::Init);
  if (Comp->Is<TCustomEdit>() && Has(sd, xcEdit)) return skin(C::SkinEdit, A::Init);
  if (IsOneOf(N, {u"TDCEDIT", u"TDCDBEDIT"})) {
    const int32_t buttons = GetOrdPropByName(Comp, u"NumButtons");
    if (buttons == 1 && Has(sd, xcCombo)) return skin(C::SkinComBox, A::Init);
    auto* w = As<TWinControl>(Comp);
    if (buttons == 0 && Has(sd, xcEdit) && w && w->HandleAllocated()) {
      plan.push_back(WindowSkinStep(w->Handle(), C::SkinEdit));
      plan.back().comp = Comp;
    }
    return plan;
  }
  if (Comp->Is<TCustomForm>()) {
    skin(C::SkinBox, A::InitRecolour);
    plan.push_back(CompStep(Op::Components, Comp));
    return plan;
  }
  return plan;
}

TControlSkinPlan ChooseBorderedEdit(TControl* Comp) {
  auto* w = As<TWinControl>(Comp);
  if (!w || !w->HandleAllocated()) return {};
  RECT wr{}, cr{};
  if (!GetWindowRect(w->Handle(), &wr) || !GetClientRect(w->Handle(), &cr)) return {};
  const TRect outer = AtOrigin(wr), inner = AtOrigin(cr);
  if (outer.Right == inner.Right && outer.Bottom == inner.Bottom) return {};
  return {SkinStep(Comp, C::SkinEdit, A::Init)};
}

TControlSkinPlan ChooseRawWindow(const TSkinData& sd, HWND hwnd) {
  const String WC = LowerCase(GetWndClassName(hwnd));
  const auto S = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  auto skin = [&](C cls) { return TControlSkinPlan{WindowSkinStep(hwnd, cls)}; };

  if (WC == u"button" && (S & 0xB) != 0xB) {
    if ((S & 7) == 7 || (S & BS_BITMAP)) return {};
    if ((S & 3) == 3 || (S & 2) == 2 || (S & 5) == 5)
      return Has(sd, xcCheckBox) ? skin(C::SkinCheckBox) : TControlSkinPlan{};
    // The masks, not the button type, decide on purpose: a split button (0xC) is skinned as a radio button.
    if ((S & 9) == 9 || (S & 4) == 4)
      return Has(sd, xcRadioButton) ? skin(C::SkinRadioButton) : TControlSkinPlan{};
    return Has(sd, xcButton) ? skin(C::SkinButton) : TControlSkinPlan{};
  }
  if (WC == u"combobox" && Has(sd, xcCombo))
    return (S & 3) == CBS_SIMPLE ? TControlSkinPlan{} : skin(C::SkinComBox);
  if (WC == u"comboboxex32" && Has(sd, xcCombo)) {
    HWND inner = GetTopWindow(hwnd);
    if (!inner) return {};
    return {WindowSkinStep(inner, C::SkinComBox)};
  }
  if (WC == u"scrollbar" && !(S & WS_TABSTOP)) return skin(C::SkinSizer);
  if (WC == u"systreeview32") return {};
  if (WC == u"#32770" && !(S & WS_TABSTOP)) {
    // Its own controls first, then the box behind them.
    return {WindowStep(Op::HwndControls, hwnd), WindowSkinStep(hwnd, C::SkinBoxH)};
  }
  if (IsOneOf(WC, {u"tpanel", u"ttntpanel.unicodeclass", u"ttntsilentpaintpanel.unicodeclass"}))
    return {WindowStep(Op::HwndControls, hwnd), WindowStep(Op::PanelColor, hwnd)};
  if (WC == u"tcheckbox" && Has(sd, xcCheckBox)) return skin(C::SkinCheckBox);
  if (WC == u"tcombobox" && Has(sd, xcCombo)) return skin(C::SkinComBox);
  if (WC == u"tbutton" && Has(sd, xcButton)) return skin(C::SkinButton);
  if (WC == u"tprogressbar") return skin(C::SkinProgress);
  if (WC == u"tsilentpaintpanel") return {WindowStep(Op::PanelColor, hwnd)};
  // As for the class library's tab controls: no tab skin without a tab
  // element to paint from.
  if (WC == u"systabcontrol32" && !(S & TCS_OWNERDRAWFIXED) && Has(sd, xcTab) && sd.tab) return skin(C::SkinTab);
  if (WC == u"toolbarwindow32") return skin(C::SkinBoxH);
  if (WC == u"edit" && Has(sd, xcEdit)) return skin(C::SkinEdit);
  return {};
}

}  // namespace qv
