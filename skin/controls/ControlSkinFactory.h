// Every control skin class the choice of control skin can pick, and the one
// place that turns such a choice into an object. The choice is made for
// every class, built or not; a class not built yet creates nothing here and
// its controls stay as they are. Building a control skin class means adding
// its line to CreateControlSkin (and, where the class has one, to the
// class-specific set-ups below).
#pragma once
#include "platform/core/UString.h"

namespace qv {

class TCanvas;
class TComponent;
class TSkinControl;
class TSkinData;
class TWinControl;

enum class TControlSkinClass {
  None,
  SkinButton,
  SkinBitButton,
  SkinMenuButton,
  SkinSpeedButton,
  SkinComBox,
  SkinEdit,
  SkinUpDown,
  SkinDateTime,
  SkinTab,
  SkinTab31,
  SkinAdvPage,
  SkinCheckBox,
  SkinRadioButton,
  SkinGroupBox,
  SkinBox,
  SkinBoxH,
  SkinTrackBar,
  SkinProgress,
  SkinMP,
  SkinSizer,
  SkinObjImage,
  SkinScrollbar,
};

// "TSkinButton" and so on; empty for None.
String ControlSkinClassName(TControlSkinClass cls);

// A new control skin of the class with the given owner (the skinned control,
// or the skinned form for a raw window); null for None and for a class not
// built yet.
TSkinControl* CreateControlSkin(TControlSkinClass cls, TComponent* owner);

// The initialisers and settings that only some classes have. Each answers
// false, or does nothing, for a skin of another class (or of a class not
// built yet).
bool InitScrollbarSkin(TSkinControl* skin, TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf);
bool InitGraphicControlSkin(TSkinControl* skin, TComponent* sf, TSkinData* sd, TCanvas* acanvas);
// The combo box skin's drop-down button of an extended combo box.
bool SetSkinHasButton(TSkinControl* skin, bool value);
// The published property that holds the glyph of bit and speed buttons.
bool SetSkinPicField(TSkinControl* skin, StringView field);

}  // namespace qv
