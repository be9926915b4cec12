#include "platform/win/StdCtrls.h"

#include <type_traits>
#include <vector>

#include "platform/core/TypInfo.h"
#include "platform/win/WinString.h"

namespace qv {

namespace {
const TEnumInfo kScrollStyleInfo{{u"ssNone", u"ssHorizontal", u"ssVertical", u"ssBoth"}};
}

// --- TButton ----------------------------------------------------------------

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TButton>(u"TButton", TWinControl::StaticClass())
                                      .Bool(u"Default", &TButton::Default, &TButton::SetDefault, false)
                                      .Done();
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  width_ = 75, height_ = 25;
  tabStop_ = true;
  color_ = clBtnFace;
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"BUTTON";
  p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::Dispatch(m);
}

// --- TEdit ------------------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCustomEdit>(u"TCustomEdit", TWinControl::StaticClass())
          .Int(u"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
          .Done();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121, height_ = 21;
  tabStop_ = true;
}

void TCustomEdit::SetMaxLength(int n) {
  maxLength_ = n;
  if (HandleAllocated()) SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

// Before any text goes in: a memo's lines follow at once.
void TCustomEdit::InitializeWnd() {
  TWinControl::InitializeWnd();
  SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"EDIT";
  p.style |= ES_AUTOHSCROLL | ES_LEFT;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TEdit>(u"TEdit", TCustomEdit::StaticClass())
                                      .Str(u"Text", &TEdit::GetText, &TEdit::SetText)
                                      .Done();
  return info;
}

// --- TMemo ------------------------------------------------------------------

const TClassInfo& TMemoStrings::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TMemoStrings>(u"TMemoStrings", TStrings::StaticClass()).Done();
  return info;
}

// Before the memo has a window (while the form is being read) the lines live
// in its text; once it has one, the edit control holds them.
namespace {
template <class Op>
auto OnDetachedText(TCustomMemo* memo, Op op) {
  TStringList lines;
  lines.SetText(memo->GetText());
  if constexpr (std::is_void_v<decltype(op(lines))>) {
    op(lines);
    memo->SetText(lines.Text());
  } else {
    return op(lines);
  }
}
}  // namespace

int TMemoStrings::Count() const {
  if (!memo_->HandleAllocated()) return OnDetachedText(memo_, [](TStringList& l) { return l.Count(); });
  HWND wnd = memo_->Handle();
  LRESULT n = SendMessageW(wnd, EM_GETLINECOUNT, 0, 0);
  // An empty last line (after a final break) is no line of the list.
  if (SendMessageW(wnd, EM_LINELENGTH, SendMessageW(wnd, EM_LINEINDEX, n - 1, 0), 0) == 0) --n;
  return static_cast<int>(n);
}

String TMemoStrings::Get(int index) const {
  if (!memo_->HandleAllocated()) return OnDetachedText(memo_, [&](TStringList& l) { return l.Get(index); });
  HWND wnd = memo_->Handle();
  const LRESULT start = SendMessageW(wnd, EM_LINEINDEX, index, 0);
  if (start < 0) return String();
  const LRESULT len = SendMessageW(wnd, EM_LINELENGTH, start, 0);
  std::vector<wchar_t> buf(static_cast<size_t>(len) + 2);
  *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(buf.size());
  const LRESULT got = SendMessageW(wnd, EM_GETLINE, index, reinterpret_cast<LPARAM>(buf.data()));
  return FromW(buf.data(), static_cast<size_t>(got));
}

void TMemoStrings::Put(int index, StringView s) {
  if (!memo_->HandleAllocated()) return OnDetachedText(memo_, [&](TStringList& l) { l.Put(index, s); });
  HWND wnd = memo_->Handle();
  const LRESULT start = SendMessageW(wnd, EM_LINEINDEX, index, 0);
  if (start < 0) return;
  const LRESULT len = SendMessageW(wnd, EM_LINELENGTH, start, 0);
  SendMessageW(wnd, EM_SETSEL, start, start + len);
  const String text(s);
  SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(W(text)));
}

void TMemoStrings::Insert(int index, StringView s) {
  if (index < 0) return;
  if (!memo_->HandleAllocated()) return OnDetachedText(memo_, [&](TStringList& l) { l.Insert(index, s); });
  HWND wnd = memo_->Handle();
  LRESULT at = SendMessageW(wnd, EM_LINEINDEX, index, 0);
  String line;
  if (at >= 0) {
    line = String(s) + u"\r\n";
  } else {
    // After the last line: break it first.
    at = SendMessageW(wnd, EM_LINEINDEX, index - 1, 0);
    if (at < 0) return;
    const LRESULT len = SendMessageW(wnd, EM_LINELENGTH, at, 0);
    if (len == 0) return;
    at += len;
    line = u"\r\n" + String(s);
  }
  SendMessageW(wnd, EM_SETSEL, at, at);
  SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(W(line)));
}

void TMemoStrings::Delete(int index) {
  if (!memo_->HandleAllocated()) return OnDetachedText(memo_, [&](TStringList& l) { l.Delete(index); });
  HWND wnd = memo_->Handle();
  const LRESULT start = SendMessageW(wnd, EM_LINEINDEX, index, 0);
  if (start < 0) return;
  LRESULT end = SendMessageW(wnd, EM_LINEINDEX, index + 1, 0);
  if (end < 0) end = start + SendMessageW(wnd, EM_LINELENGTH, start, 0);
  SendMessageW(wnd, EM_SETSEL, start, end);
  SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L""));
}

void TMemoStrings::Clear() { memo_->SetText(String()); }

void TMemoStrings::SetText(StringView text) { memo_->SetText(String(text)); }

String TMemoStrings::Text() const { return memo_->GetText(); }

const TClassInfo& TCustomMemo::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TCustomMemo>(u"TCustomMemo", TCustomEdit::StaticClass()).Done();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(new TMemoStrings(this)) {
  width_ = 185, height_ = 89;
}

TCustomMemo::~TCustomMemo() { delete lines_; }

void TCustomMemo::SetScrollBars(TScrollStyle s) {
  scrollBars_ = s;
  RecreateWnd();
}

// Not the single-line edit's styles: a memo wraps its lines.
void TCustomMemo::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"EDIT";
  p.style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_LEFT;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.style |= WS_HSCROLL | ES_AUTOHSCROLL;
  p.exStyle |= WS_EX_CLIENTEDGE;
  // The lines come once the font is set: the edit control lays its text out
  // whole at creation and again at each new font.
  p.caption.clear();
}

void TCustomMemo::InitializeWnd() {
  TCustomEdit::InitializeWnd();
  if (!text_.empty()) SetWindowTextW(handle_, W(text_));
}

const TClassInfo& TMemo::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TMemo>(u"TMemo", TCustomMemo::StaticClass())
          .Obj<TStrings>(u"Lines", &TMemo::Lines, &TMemo::SetLines)
          .Enum(u"ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, kScrollStyleInfo, ssNone)
          .Done();
  return info;
}

// --- TLabel -----------------------------------------------------------------

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TLabel>(u"TLabel", TGraphicControl::StaticClass()).Done();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 65, height_ = 17;
  parentColor_ = true;
}

void TLabel::Paint(TCanvas& canvas) {
  RECT r{0, 0, width_, height_};
  UINT format = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
  if (!enabled_) canvas.Font().SetColor(clSystemColor | COLOR_GRAYTEXT);
  canvas.DrawText(text_, r, format);
}

}  // namespace qv
