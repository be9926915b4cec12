// Which control skin a child control of a skinned window gets, decided apart
// from attaching it: a decision is a short plan of steps that
// TWinSkinForm::RunControlSkinPlan carries out in order. The decision reads
// only the skin component's settings and the control (or raw window) as it
// is now; it holds for every control skin class, built or not.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/core/UString.h"
#include "skin/controls/ControlSkinFactory.h"

namespace qv {

class TControl;
class TSkinData;

// How a chosen skin is attached: Init (class-library control; InitRecolour
// also replaces its Color by the skin's face), InitScrollbar,
// InitGraphicControl (speed buttons), Inithwnd (a window by its handle).
enum class TSkinAttach { Init, InitRecolour, InitScrollbar, InitGraphicControl, Inithwnd };

struct TControlSkinStep {
  enum TOp {
    Skin,                 // a skin of cls for comp (or for wnd with Inithwnd)
    ChildControls,        // AddChildControls(comp)
    Components,           // AddComponents(comp)
    ChildrenWithoutForm,  // AddComp(child, nil) for every child of comp
    SetTransparent,       // comp's property "Transparent" := "True"
    HwndControls,         // InitHwndControls(wnd)
    PanelColor,           // the face colour for the control that owns wnd
  };
  TOp op = Skin;
  TControl* comp = nullptr;
  HWND wnd = nullptr;
  TControlSkinClass cls = TControlSkinClass::None;
  TSkinAttach attach = TSkinAttach::Init;
  int kind = 0;            // the skin's kind, in the values its class names
  bool HasButton = false;  // set after Init
  String PicField;         // set before attaching
};
using TControlSkinPlan = std::vector<TControlSkinStep>;

// The Skin3rd decision for the upper-case class name N. False when no line
// names the class or its kind is empty; true otherwise, and the plan (empty
// for "nil", an unknown kind or a missing SkinControls member) is all there
// is to do.
bool ChooseSkin3rd(const TSkinData& sd, StringView N, TControl* Comp, TControlSkinPlan& plan);
// The kind text Skin3rd gives the class (lower case, at most 50
// characters); empty when no line names it.
String Skin3rdKind(const TSkinData& sd, StringView N);
// The fixed chain of class names and classes, for a control Skin3rd left
// to it.
TControlSkinPlan ChooseFixedChain(const TSkinData& sd, StringView N, TControl* Comp);
// An edit skin only for an edit with a border.
TControlSkinPlan ChooseBorderedEdit(TControl* Comp);
// A raw child window, by its lower-case class name and its style.
TControlSkinPlan ChooseRawWindow(const TSkinData& sd, HWND hwnd);

}  // namespace qv
