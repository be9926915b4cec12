#include "skin/controls/ControlSkinFactory.h"

#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"

namespace qv {

String ControlSkinClassName(TControlSkinClass cls) {
  switch (cls) {
    case TControlSkinClass::None: return String();
    case TControlSkinClass::SkinButton: return u"TSkinButton";
    case TControlSkinClass::SkinBitButton: return u"TSkinBitButton";
    case TControlSkinClass::SkinMenuButton: return u"TSkinMenuButton";
    case TControlSkinClass::SkinSpeedButton: return u"TSkinSpeedButton";
    case TControlSkinClass::SkinComBox: return u"TSkinComBox";
    case TControlSkinClass::SkinEdit: return u"TSkinEdit";
    case TControlSkinClass::SkinUpDown: return u"TSkinUpDown";
    case TControlSkinClass::SkinDateTime: return u"TSkinDateTime";
    case TControlSkinClass::SkinTab: return u"TSkinTab";
    case TControlSkinClass::SkinTab31: return u"TSkinTab31";
    case TControlSkinClass::SkinAdvPage: return u"TSkinAdvPage";
    case TControlSkinClass::SkinCheckBox: return u"TSkinCheckBox";
    case TControlSkinClass::SkinRadioButton: return u"TSkinRadioButton";
    case TControlSkinClass::SkinGroupBox: return u"TSkinGroupBox";
    case TControlSkinClass::SkinBox: return u"TSkinBox";
    case TControlSkinClass::SkinBoxH: return u"TSkinBoxH";
    case TControlSkinClass::SkinTrackBar: return u"TSkinTrackBar";
    case TControlSkinClass::SkinProgress: return u"TSkinProgress";
    case TControlSkinClass::SkinMP: return u"TSkinMP";
    case TControlSkinClass::SkinSizer: return u"TSkinSizer";
    case TControlSkinClass::SkinObjImage: return u"TSkinObjImage";
    case TControlSkinClass::SkinScrollbar: return u"TSkinScrollbar";
  }
  return String();
}

// No default: a class added to TControlSkinClass without its line here is
// a compiler warning, not a control that silently stays unskinned.
TSkinControl* CreateControlSkin(TControlSkinClass cls, TComponent* owner) {
  switch (cls) {
    case TControlSkinClass::None: return nullptr;
    case TControlSkinClass::SkinButton: return new TSkinButton(owner);
    case TControlSkinClass::SkinBitButton: return new TSkinBitButton(owner);
    case TControlSkinClass::SkinMenuButton: return new TSkinMenuButton(owner);
    case TControlSkinClass::SkinSpeedButton: return new TSkinSpeedButton(owner);
    case TControlSkinClass::SkinComBox: return new TSkinComBox(owner);
    case TControlSkinClass::SkinEdit: return new TSkinEdit(owner);
    case TControlSkinClass::SkinUpDown: return new TSkinUpDown(owner);
    case TControlSkinClass::SkinDateTime: return new TSkinDateTime(owner);
    case TControlSkinClass::SkinScrollbar: return new TSkinScrollbar(owner);
    case TControlSkinClass::SkinTrackBar: return new TSkinTrackBar(owner);
    case TControlSkinClass::SkinProgress: return new TSkinProgress(owner);
    case TControlSkinClass::SkinMP: return new TSkinMP(owner);
    case TControlSkinClass::SkinSizer: return new TSkinSizer(owner);
    case TControlSkinClass::SkinBoxH: return new TSkinBoxH(owner);
    case TControlSkinClass::SkinObjImage: return new TSkinObjImage(owner);
    case TControlSkinClass::SkinTab: return new TSkinTab(owner);
    case TControlSkinClass::SkinTab31: return new TSkinTab31(owner);
    case TControlSkinClass::SkinAdvPage: return new TSkinAdvPage(owner);
    case TControlSkinClass::SkinCheckBox: return new TSkinCheckBox(owner);
    case TControlSkinClass::SkinRadioButton: return new TSkinRadioButton(owner);
    case TControlSkinClass::SkinGroupBox: return new TSkinGroupBox(owner);
    case TControlSkinClass::SkinBox: return new TSkinBox(owner);
  }
  return nullptr;
}

bool InitScrollbarSkin(TSkinControl* skin, TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  auto* scrollbar = As<TSkinScrollbar>(skin);
  if (!scrollbar || !acontrol) return false;
  scrollbar->InitScrollbar(acontrol, sd, acanvas, sf);
  return true;
}

bool InitGraphicControlSkin(TSkinControl* skin, TComponent* sf, TSkinData* sd, TCanvas* acanvas) {
  auto* speed = As<TSkinSpeedButton>(skin);
  if (!speed) return false;
  speed->InitGraphicControl(sf, sd, acanvas);
  return speed->Inited;
}

bool SetSkinHasButton(TSkinControl* skin, bool value) {
  auto* combo = As<TSkinComBox>(skin);
  if (!combo) return false;
  combo->HasButton = value;
  return true;
}

// The speed button draws from a picture property of its own.
bool SetSkinPicField(TSkinControl* skin, StringView field) {
  if (auto* speed = As<TSkinSpeedButton>(skin)) {
    speed->PicField = String(field);
    return true;
  }
  auto* bit = As<TSkinBitButton>(skin);
  if (!bit) return false;
  bit->PicField = String(field);
  return true;
}

}  // namespace qv
