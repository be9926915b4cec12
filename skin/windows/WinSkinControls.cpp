// The control skins of a skinned window: the order in which its controls
// are visited and the attaching of what ControlSkinChoice decides. Every
// road first asks whether the control already has a skin, so running
// InitControls again skins only controls that came later.
#include <exception>

#include "platform/core/CallEvent.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/PropByName.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/ControlSkinChoice.h"
#include "skin/windows/WinSkinForm.h"

namespace qv {

void TWinSkinForm::InitControls(TWinControl* wForm) {
  PurgeControls();
  if (!wForm || !fsd) return;
  const TLifeToken alive = alive_.Token();
  AddComponents(wForm);
  if (!alive) return;
  std::vector<TWinControl*> tabOrder;
  wForm->GetTabOrderList(tabOrder);
  for (TWinControl* control : tabOrder) {
    if (!SkipTabOrderControl(control)) AddComp(control, wForm);
    if (!alive) return;
  }
}

void TWinSkinForm::InitNestform(TWinControl* wForm) {
  PurgeControls();
  if (!wForm || !fsd) return;
  const TLifeToken alive = alive_.Token();
  TControlSkinStep box;
  box.comp = wForm;
  box.cls = TControlSkinClass::SkinBox;
  box.attach = TSkinAttach::InitRecolour;
  AttachControlSkin(box);
  for (int i = 0; i < wForm->ComponentCount() && alive; ++i)
    if (auto* c = As<TControl>(wForm->Components(i))) AddComp(c, wForm);
  if (alive) InitPopMenu(wForm, true, true);
}

void TWinSkinForm::AddComp(TControl* Comp, TWinControl* wForm) {
  if (!Comp || !fsd) return;
  if (Comp->Tag() == fsd->DisableTag()) {
    PassDisableTag(Comp);
    return;
  }
  if (!Comp->Parent() || IsComponentSkinned(Comp)) return;
  const String N = UpperCase(Comp->ClassName());
  if (auto* w = As<TWinControl>(Comp); w && !w->HandleAllocated()) {
    try {
      w->HandleNeeded();
    } catch (const std::exception&) {
      return;
    }
    if (!w->HandleAllocated()) return;
  }

  if (fsd->FOnSkinControl) {
    TComponent* supplied = nullptr;
    CallEvent(fsd->FOnSkinControl, this, fsd, wForm, Comp, N, supplied);
    if (supplied) {
      auto* skin = As<TSkinControl>(supplied);
      if (skin && !AddControlList(skin)) {
        skin->Init(this, fsd, fcanvas2.get(), skin->newColor);
        if (auto* panel = As<TCustomPanel>(Comp)) AddChildControls(panel);
      }
      return;
    }
  }

  if (AddSkin3rd(N, Comp)) return;
  if (N == u"TDBCOMBOBOXEH" || N == u"TFRDESIGNERPAGE" || N == u"TFRPBOX") return;
  RunControlSkinPlan(ChooseFixedChain(*fsd, N, Comp));
}

bool TWinSkinForm::IsComponentSkinned(TControl* Comp) {
  if (!Comp) return false;
  if (Comp->Perform(SM_QUERYSKINNED, 0, 0) == 1) return true;
  for (TSkinControl* c : controls.Controllist)
    if (c->control == Comp || c->GControl == Comp) return true;
  // A skin attached to the control's window by its handle.
  auto* w = As<TWinControl>(Comp);
  return w && w->HandleAllocated() && FindControlSkin(w->Handle());
}

void TWinSkinForm::PassDisableTag(TControl* Comp) {
  auto* w = As<TWinControl>(Comp);
  if (!w || w->ControlCount() == 0 || !fsd) return;
  const String name = LowerCase(w->ClassName());
  if (Pos(u"radiogroup", name) == 0 && Pos(u"checkgroup", name) == 0) return;
  for (int i = 0; i < w->ControlCount(); ++i)
    if (TControl* child = w->Controls(i)) child->SetTag(fsd->DisableTag());
}

void TWinSkinForm::AddComponents(TWinControl* wForm) {
  if (!wForm || !fsd) return;
  const TLifeToken alive = alive_.Token();
  for (int i = 0; i < wForm->ComponentCount() && alive; ++i)
    if (auto* c = As<TControl>(wForm->Components(i))) AddComp(c, wForm);
  if (alive && InSet(fsd->SkinControls(), xcPopupMenu)) InitPopMenu(wForm, true, true);
}

void TWinSkinForm::AddChildControls(TWinControl* container) {
  if (!container) return;
  const TLifeToken alive = alive_.Token();
  for (int i = 0; i < container->ControlCount() && alive; ++i) AddComp(container->Controls(i), container);
}

bool TWinSkinForm::SkipTabOrderControl(TWinControl* control) {
  if (!control || !control->HandleAllocated()) return true;
  if (fsd && control->Tag() == fsd->DisableTag()) return true;
  return SendMessageW(control->Handle(), SM_QUERYSKINNED, 0, 0) == 1;
}

void TWinSkinForm::AddBorderedEdit(TControl* Comp) { RunControlSkinPlan(ChooseBorderedEdit(Comp)); }

bool TWinSkinForm::AddSkin3rd(StringView N, TControl* Comp) {
  if (!fsd) return false;
  TControlSkinPlan plan;
  if (!ChooseSkin3rd(*fsd, N, Comp, plan)) return false;
  RunControlSkinPlan(plan);
  return true;
}

void TWinSkinForm::InitHwndControls(HWND hwnd) {
  const TLifeToken alive = alive_.Token();
  for (HWND child = GetTopWindow(hwnd); child && alive; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) AddControlh(child);
}

void TWinSkinForm::AddControlh(HWND hwnd) {
  if (!hwnd || !fsd || FindControlSkin(hwnd)) return;
  // Skinned through another form's list, or as a class-library control.
  if (SendMessageW(hwnd, SM_QUERYSKINNED, 0, 0) == 1) return;
  RunControlSkinPlan(ChooseRawWindow(*fsd, hwnd));
}

void TWinSkinForm::RunControlSkinPlan(const TControlSkinPlan& plan) {
  const TLifeToken alive = alive_.Token();
  for (const TControlSkinStep& step : plan) {
    if (!alive) return;
    switch (step.op) {
      case TControlSkinStep::Skin:
        AttachControlSkin(step);
        break;
      case TControlSkinStep::ChildControls:
        AddChildControls(As<TWinControl>(step.comp));
        break;
      case TControlSkinStep::Components:
        AddComponents(As<TWinControl>(step.comp));
        break;
      case TControlSkinStep::ChildrenWithoutForm:
        if (auto* w = As<TWinControl>(step.comp))
          for (int i = 0; i < w->ControlCount() && alive; ++i)
            if (TControl* child = w->Controls(i)) AddComp(child, nullptr);
        break;
      case TControlSkinStep::SetTransparent:
        // A property of another type under that name keeps the control as
        // it is; the skin goes on regardless.
        try {
          SetPropByName(step.comp, u"Transparent", u"True");
        } catch (const std::exception&) {
        }
        break;
      case TControlSkinStep::HwndControls:
        InitHwndControls(step.wnd);
        break;
      case TControlSkinStep::PanelColor:
        if (TWinControl* c = FindControlOfWindow(step.wnd)) c->SetColor(fsd->Colors[scButtonFace]);
        break;
    }
  }
}

TSkinControl* TWinSkinForm::AttachControlSkin(const TControlSkinStep& step) {
  if (!fsd || step.cls == TControlSkinClass::None) return nullptr;
  TCanvas* canvas = fcanvas2.get();

  if (step.attach == TSkinAttach::Inithwnd) {
    if (!step.wnd || FindControlSkin(step.wnd)) return nullptr;
    TSkinControl* skin = CreateControlSkin(step.cls, this);
    if (skin) skin->Inithwnd(step.wnd, fsd, canvas, this);
    return skin;
  }

  // One skin per control, and never one for a control the Tag keeps out
  // (the children of a group are skinned from the group's decision).
  TControl* comp = step.comp;
  if (!comp || comp->Tag() == fsd->DisableTag() || IsComponentSkinned(comp)) return nullptr;
  auto* wc = As<TWinControl>(comp);
  if (step.attach == TSkinAttach::InitGraphicControl ? !comp->Is<TGraphicControl>() : !wc) return nullptr;
  if (wc && !wc->HandleAllocated()) {
    try {
      wc->HandleNeeded();
    } catch (const std::exception&) {
      return nullptr;
    }
  }

  TSkinControl* skin = CreateControlSkin(step.cls, comp);
  if (!skin) return nullptr;
  skin->kind = step.kind;
  if (!step.PicField.empty()) SetSkinPicField(skin, step.PicField);
  bool attached = true;
  switch (step.attach) {
    case TSkinAttach::Init:
    case TSkinAttach::InitRecolour:
      skin->Init(this, fsd, canvas, step.attach == TSkinAttach::InitRecolour);
      if (step.HasButton) SetSkinHasButton(skin, true);
      break;
    case TSkinAttach::InitScrollbar:
      attached = InitScrollbarSkin(skin, wc, fsd, canvas, this);
      break;
    case TSkinAttach::InitGraphicControl:
      attached = InitGraphicControlSkin(skin, this, fsd, canvas);
      break;
    case TSkinAttach::Inithwnd:
      break;
  }
  if (!attached) {
    delete skin;
    return nullptr;
  }
  return skin;
}

}  // namespace qv
