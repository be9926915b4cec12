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

}  // namespace qv
