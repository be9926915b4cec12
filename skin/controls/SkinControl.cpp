#include "skin/controls/SkinControl.h"

#include "platform/core/TypInfo.h"
#include "skin/windows/WinSkinForm.h"

namespace qv {

const TClassInfo& TSkinControl::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinControl>(u"TSkinControl", TComponent::StaticClass()).Done();
  return info;
}

TSkinControl::TSkinControl(TComponent* AOwner) : TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
  if (auto* sf = As<TWinSkinForm>(skinform)) sf->DeleteControl(this);
}

void TSkinControl::Unsubclass() { skinned = false; }

void TSkinControl::SkinChange() {}

void SetPropByName(TComponent* comp, StringView prop, StringView value) {
  if (!comp) return;
  const TPropInfo* p = GetPropInfo(comp, prop);
  if (!p) return;
  switch (p->kind) {
    case TPropKind::Ordinal:
      if (p->setOrd) SetOrdProp(comp, *p, StrToInt(value));
      break;
    case TPropKind::Enumeration:
      if (p->setOrd) SetEnumProp(comp, *p, value);
      break;
    case TPropKind::String:
      if (p->setStr) SetStrProp(comp, *p, value);
      break;
    default:
      break;
  }
}

}  // namespace qv
