#include "platform/win/HintWindow.h"

#include "platform/win/WinString.h"

namespace qv {

namespace {
constexpr wchar_t kClassName[] = L"THintWindow";
constexpr int kPad = 4;
}  // namespace

THintWindow::~THintWindow() {
  if (handle_) DestroyWindow(handle_);
}

void THintWindow::HandleNeeded() {
  if (handle_) return;
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) font_.Reset(CreateFontIndirectW(&m.lfStatusFont));
  handle_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                            nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (handle_) SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TRect THintWindow::CalcHintRect(int maxWidth, StringView hint) {
  HandleNeeded();
  WindowDC dc(handle_);
  SelectGuard font(dc, font_);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(hint.data()), static_cast<int>(hint.size()), &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  return Rect(0, 0, r.right + 2 * kPad + 2, r.bottom + 2 * kPad);
}

void THintWindow::ActivateHint(const TRect& r, StringView hint) {
  HandleNeeded();
  text_ = String(hint);
  SetWindowPos(handle_, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(handle_, nullptr, TRUE);
}

void THintWindow::Hide() {
  if (handle_) ShowWindow(handle_, SW_HIDE);
}

LRESULT CALLBACK THintWindow::WndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<THintWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (msg == WM_PAINT && self) {
    PaintDC dc(wnd, 0);
    RECT r;
    GetClientRect(wnd, &r);
    InflateRect(&r, -kPad, -kPad);
    SelectGuard font(dc, self->font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, W(self->text_), static_cast<int>(self->text_.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

}  // namespace qv
