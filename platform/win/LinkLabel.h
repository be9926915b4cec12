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
  String GetText() const override;
  void SetText(const String& s) override;
  TSysLinkEvent OnLinkClick;

  // On (the default), the label takes the size of its caption on one line
  // whenever the caption or the font changes, moving left where the parent
  // has no room for it.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  void AdjustSize();
  bool autoSize_ = true;
};

// The caption as the system's link control understands it: attributes of an
// <a> element other than href and id are dropped (some versions of the
// control show the whole markup as plain text when they meet one).
String LinkControlText(StringView caption);
// The caption as it shows: the text of every element without its tags.
String LinkVisibleText(StringView caption);

}  // namespace qv
