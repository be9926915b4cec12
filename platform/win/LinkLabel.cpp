#include "platform/win/LinkLabel.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/core/CallEvent.h"
#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinString.h"

namespace qv {

const TClassInfo& TLinkLabel::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TLinkLabel>(u"TLinkLabel", TWinControl::StaticClass())
                                      .Bool(u"AutoSize", &TLinkLabel::AutoSize, &TLinkLabel::SetAutoSize, true)
                                      .Event(u"OnLinkClick", &TLinkLabel::OnLinkClick)
                                      .Done();
  return info;
}

TLinkLabel::TLinkLabel(TComponent* owner) : TWinControl(owner) {
  width_ = 53, height_ = 17;
  tabStop_ = true;
  parentColor_ = true;
}

String LinkControlText(StringView caption) {
  String out;
  size_t i = 0;
  while (i < caption.size()) {
    const bool anchor = caption.substr(i, 2) == u"<a" || caption.substr(i, 2) == u"<A";
    if (!anchor || i + 2 >= caption.size() || caption[i + 2] != u' ') {
      out.push_back(caption[i++]);
      continue;
    }
    const size_t close = caption.find(u'>', i);
    if (close == StringView::npos) {
      out.append(caption.substr(i));
      break;
    }
    out += u"<a";
    // Attributes are name="value" pairs separated by blanks.
    size_t j = i + 2;
    while (j < close) {
      while (j < close && caption[j] == u' ') ++j;
      const size_t eq = caption.find(u'=', j);
      if (eq == StringView::npos || eq > close) break;
      size_t end = eq + 1;
      if (end < close && caption[end] == u'"') {
        const size_t quote = caption.find(u'"', end + 1);
        end = (quote == StringView::npos || quote > close) ? close : quote + 1;
      } else {
        while (end < close && caption[end] != u' ') ++end;
      }
      const String name = LowerCase(caption.substr(j, eq - j));
      if (name == u"href" || name == u"id") out += u" " + String(caption.substr(j, end - j));
      j = end;
    }
    out += u">";
    i = close + 1;
  }
  return out;
}

String LinkVisibleText(StringView caption) {
  String out;
  size_t i = 0;
  while (i < caption.size()) {
    const StringView rest = caption.substr(i);
    const bool open = rest.size() > 2 && (rest[1] == u'a' || rest[1] == u'A') && (rest[2] == u'>' || rest[2] == u' ');
    const bool close = rest.size() > 3 && rest[1] == u'/' && (rest[2] == u'a' || rest[2] == u'A') && rest[3] == u'>';
    const size_t end = rest.find(u'>');
    if (rest[0] == u'<' && (open || close) && end != StringView::npos) {
      i += end + 1;
      continue;
    }
    out.push_back(caption[i++]);
  }
  return out;
}

void TLinkLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  AdjustSize();
}

void TLinkLabel::AdjustSize() {
  if (!autoSize_) return;
  const String text = LinkVisibleText(text_);
  SIZE size{};
  TEXTMETRICW tm{};
  {
    WindowDC dc(nullptr);
    SelectGuard selected(dc, Font()->Handle());
    size = HdcTextExtent(dc, text);
    GetTextMetricsW(dc, &tm);
  }
  // One line, with a pixel to spare on each side for the focus rectangle.
  const int width = size.cx + 2;
  // A caption longer than the room to the parent's right edge moves the
  // label left rather than cutting the link off.
  int left = left_;
  if (Parent() && left + width > Parent()->ClientWidth()) left = std::max(0, Parent()->ClientWidth() - width);
  SetBounds(left, top_, width, tm.tmHeight + 2);
}

void TLinkLabel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.caption = LinkControlText(text_);
  // The parent's colour comes through WM_CTLCOLORSTATIC; the transparent
  // style is not drawn alike everywhere.
  p.baseClassName = u"SysLink";
}

void TLinkLabel::CreateWnd() {
  TWinControl::CreateWnd();
  // The parent's client area is known for certain only now.
  AdjustSize();
}

void TLinkLabel::SetText(const String& s) {
  text_ = s;
  if (HandleAllocated()) SetWindowTextW(Handle(), W(LinkControlText(s)));
  AdjustSize();
  Perform(CM_TEXTCHANGED);
}

String TLinkLabel::GetText() const { return text_; }

void TLinkLabel::Dispatch(TMessage& m) {
  // The window's text is the caption the program gave, not what the system
  // control was handed.
  if (m.Msg == WM_GETTEXTLENGTH) {
    m.Result = static_cast<LRESULT>(text_.size());
    return;
  }
  if (m.Msg == WM_GETTEXT) {
    const size_t room = m.WParam;
    auto* buf = reinterpret_cast<wchar_t*>(m.LParam);
    if (!room || !buf) return;
    const size_t n = std::min(room - 1, text_.size());
    std::copy(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(n), buf);
    buf[n] = L'\0';
    m.Result = static_cast<LRESULT>(n);
    return;
  }
  if (m.Msg == CM_FONTCHANGED) AdjustSize();
  if (IsReflectedNotify(m)) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == NM_CLICK || hdr->code == NM_RETURN) {
      const LITEM& item = reinterpret_cast<NMLINK*>(m.LParam)->item;
      if (item.szUrl[0]) {
        CallEvent(OnLinkClick, this, FromW(item.szUrl), sltURL);
      } else {
        CallEvent(OnLinkClick, this, FromW(item.szID), sltID);
      }
      return;
    }
  }
  TWinControl::Dispatch(m);
}

}  // namespace qv
