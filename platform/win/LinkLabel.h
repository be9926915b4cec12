// The link label: a SysLink control whose caption holds <a> elements.
#pragma once
#include "platform/win/Controls.h"

namespace qv {

enum TSysLinkType { sltURL, sltID };
using TSysLinkEvent = std::function<void(TObject* sender, const String& link, TSysLinkType linkType)>;

class TLinkLabel : public TWinControl {
  QV_CLASS(TLinkLabel)
 public:
  explicit TLinkLabel(TComponent* owner);
  TSysLinkEvent OnLinkClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
};

}  // namespace qv
