#include "platform/win/LinkLabel.h"

#include <commctrl.h>

#include "platform/core/TypInfo.h"
#include "platform/win/WinString.h"

namespace qv {

const TClassInfo& TLinkLabel::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TLinkLabel>(u"TLinkLabel", TWinControl::StaticClass())
                                      .Event(u"OnLinkClick", &TLinkLabel::OnLinkClick)
                                      .Done();
  return info;
}

TLinkLabel::TLinkLabel(TComponent* owner) : TWinControl(owner) {
  width_ = 53, height_ = 17;
  tabStop_ = true;
  parentColor_ = true;
}

void TLinkLabel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  // The parent's colour comes through WM_CTLCOLORSTATIC; the transparent
  // style is not drawn alike everywhere.
  p.baseClassName = u"SysLink";
}

void TLinkLabel::Dispatch(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == NM_CLICK || hdr->code == NM_RETURN) {
      const LITEM& item = reinterpret_cast<NMLINK*>(m.LParam)->item;
      if (OnLinkClick) {
        if (item.szUrl[0]) {
          OnLinkClick(this, FromW(item.szUrl), sltURL);
        } else {
          OnLinkClick(this, FromW(item.szID), sltID);
        }
      }
      return;
    }
  }
  TWinControl::Dispatch(m);
}

}  // namespace qv
