// Every control skin class the choice of control skin can pick, and the one
// place that turns such a choice into an object. Adding a control skin: the
// README's "Adding a control skin" lists every place it touches.
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
// or the skinned form for a raw window); null for None.
TSkinControl* CreateControlSkin(TControlSkinClass cls, TComponent* owner);

// The initialisers and settings that only some classes have. Each answers
// false, or does nothing, for a skin of another class.
bool InitScrollbarSkin(TSkinControl* skin, TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf);
bool InitGraphicControlSkin(TSkinControl* skin, TComponent* sf, TSkinData* sd, TCanvas* acanvas);
// The combo box skin's drop-down button of an extended combo box.
bool SetSkinHasButton(TSkinControl* skin, bool value);
// The published property that holds the glyph of bit and speed buttons.
bool SetSkinPicField(TSkinControl* skin, StringView field);

}  // namespace qv
