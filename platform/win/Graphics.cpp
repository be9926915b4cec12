#include "platform/win/Graphics.h"

#include <utility>

#include "platform/core/CallEvent.h"
#include "platform/win/WinString.h"

namespace qv {

namespace {
// System colours come from the running desktop.
const bool kSysColorsInstalled = (SetSysColorSource([](int index) { return static_cast<uint32_t>(GetSysColor(index)); }), true);

// The names a form resource may use for colours and character sets.
const bool kIdentsRegistered = [] {
  const struct {
    const char16_t* name;
    int64_t value;
  } idents[] = {{u"clBtnFace", clBtnFace},     {u"clWindow", clWindow},       {u"clWindowText", clWindowText},
                {u"clBtnText", clBtnText},     {u"clHighlight", clHighlight}, {u"clHotLight", clHotLight},
                {u"clBlack", clBlack},         {u"clWhite", clWhite},         {u"clNone", clNone},
                {u"clDefault", clDefault},     {u"DEFAULT_CHARSET", DEFAULT_CHARSET},
                {u"ANSI_CHARSET", ANSI_CHARSET}, {u"GB2312_CHARSET", GB2312_CHARSET}};
  for (const auto& i : idents) RegisterIntegerIdent(i.name, i.value);
  return true;
}();
}  // namespace

const TEnumInfo kFontStyleInfo{{u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"}};

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TFont>(u"TFont", TPersistent::StaticClass())
                                      .Int(u"Charset", &TFont::Charset, &TFont::SetCharset)
                                      .Int(u"Color", &TFont::Color, &TFont::SetColor)
                                      .Int(u"Height", &TFont::Height, &TFont::SetHeight)
                                      .Str(u"Name", &TFont::Name, &TFont::SetName)
                                      .SetOf(u"Style", &TFont::Style, &TFont::SetStyle, kFontStyleInfo)
                                      .Done();
  return info;
}

TFont::TFont() = default;

TFont::~TFont() = default;

void TFont::Assign(const TPersistent& source) {
  if (const auto* f = dynamic_cast<const TFont*>(&source)) {
    name_ = f->name_;
    height_ = f->height_;
    color_ = f->color_;
    charset_ = f->charset_;
    style_ = f->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & (1u << fsItalic)) != 0;
    lf.lfUnderline = (style_ & (1u << fsUnderline)) != 0;
    lf.lfStrikeOut = (style_ & (1u << fsStrikeOut)) != 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, W(name_), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectW(&lf));
  }
  return handle_;
}

void TFont::Changed() {
  // Those who hold the old handle hear of the change before it goes: a font
  // deleted while still selected into a DC is not deleted at all.
  const OwnedFont old = std::move(handle_);
  CallEvent(OnChange, this);
}

void TFont::SetName(const String& v) {
  if (v != name_) name_ = v, Changed();
}
void TFont::SetHeight(int v) {
  if (v != height_) height_ = v, Changed();
}
void TFont::SetColor(TColor v) {
  if (v != color_) color_ = v, Changed();
}
void TFont::SetCharset(int v) {
  if (v != charset_) charset_ = v, Changed();
}
void TFont::SetStyle(TFontStyles v) {
  if (v != style_) style_ = v, Changed();
}

void TFont::AssignLogFont(const LOGFONTW& lf) {
  SetName(FromW(lf.lfFaceName));
  SetHeight(lf.lfHeight);
  SetCharset(lf.lfCharSet);
  SetStyle((lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0u) | (lf.lfItalic ? 1u << fsItalic : 0u) |
           (lf.lfUnderline ? 1u << fsUnderline : 0u) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0u));
}

bool TFont::AssignHandle(HFONT handle) {
  LOGFONTW lf{};
  if (!handle || !GetObjectW(handle, sizeof lf, &lf)) return false;
  AssignLogFont(lf);
  return true;
}

std::unique_ptr<TFont> SystemCaptionFont() {
  auto font = std::make_unique<TFont>();
  NONCLIENTMETRICSW m{};
  // The structure's size on this platform, not a constant from one layout.
  m.cbSize = sizeof m;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) font->AssignLogFont(m.lfCaptionFont);
  return font;
}

namespace {
int ScreenPixelsPerInch() {
  const int ppi = GetDeviceCaps(WindowDC(nullptr), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}
}  // namespace

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

TCanvas::TCanvas() {
  font_.OnChange = [this](TObject*) { SetHandle(dc_); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

void TCanvas::SetHandle(HDC dc) {
  fontSelected_.reset();
  dc_ = dc;
}

void TCanvas::SelectFont() {
  // The font the DC came with is put back when the canvas lets go of it.
  fontSelected_.reset();
  fontSelected_.emplace(dc_, font_.Handle());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::FillRect(const RECT& r) {
  ::FillRect(dc_, &r, OwnedBrush(CreateSolidBrush(ColorToRGB(brushColor_))));
}

void TCanvas::TextOut(int x, int y, StringView text) {
  SelectFont();
  SetBkMode(dc_, TRANSPARENT);
  ::TextOutW(dc_, x, y, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
}

SIZE HdcTextExtent(HDC dc, StringView text) {
  SIZE sz{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &sz);
  return sz;
}

SIZE ScreenTextExtent(HFONT font, StringView text) {
  WindowDC screen(nullptr);
  SelectGuard selected(screen, font);
  return HdcTextExtent(screen, text);
}

SIZE TCanvas::TextExtent(StringView text) {
  SelectFont();
  return HdcTextExtent(dc_, text);
}

int TCanvas::DrawText(StringView text, RECT& r, UINT format) {
  SelectFont();
  SetBkMode(dc_, TRANSPARENT);
  return ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &r, format);
}

const TClassInfo& TIcon::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TIcon>(u"TIcon", TPersistent::StaticClass()).Done();
  return info;
}

TIcon::~TIcon() { SetHandle(nullptr); }

void TIcon::SetHandle(HICON icon) {
  if (handle_ && handle_ != icon) DestroyIcon(handle_);
  handle_ = icon;
}

void SetWindowIcons(HWND wnd, HICON icon) {
  // The small one first: a large icon arriving alone has a small one scaled
  // down from it, which the next message then throws away.
  SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

bool TIcon::LoadFromResourceName(const String& name, int size) {
  HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), W(name), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) return false;
  SetHandle(icon);
  return true;
}

}  // namespace qv
