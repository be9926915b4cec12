#include "platform/win/Forms.h"

#include <algorithm>

#include "platform/core/CallEvent.h"
#include "platform/core/FormResource.h"
#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "platform/win/Menus.h"
#include "platform/win/Resources.h"
#include "platform/win/WinString.h"

namespace qv {

namespace {
const TEnumInfo kBorderIconInfo{{u"biSystemMenu", u"biMinimize", u"biMaximize", u"biHelp"}};
const TEnumInfo kBorderStyleInfo{{u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog", u"bsToolWindow", u"bsSizeToolWin"}};
const TEnumInfo kPositionInfo{{u"poDesigned", u"poDefault", u"poDefaultPosOnly", u"poDefaultSizeOnly",
                               u"poScreenCenter", u"poDesktopCenter", u"poMainFormCenter", u"poOwnerFormCenter"}};

struct TFrameStyles {
  DWORD style = 0, exStyle = 0;
};

// The window styles of a form's frame. Only single and sizeable frames carry
// the minimise and maximise boxes; a tool window's small caption has room for
// the close box alone. The platform draws the help button in the boxes'
// place, so a window has it only when it has neither box.
TFrameStyles FrameStyles(TFormBorderStyle border, TBorderIcons icons) {
  const auto has = [icons](TBorderIcon i) { return (icons & (1u << i)) != 0; };
  TFrameStyles f;
  switch (border) {
    case bsNone: f.style = WS_POPUP; return f;
    case bsSingle: f.style = WS_CAPTION; break;
    case bsSizeable: f.style = WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      f.style = WS_CAPTION;
      f.exStyle = WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      f.style = WS_CAPTION;
      f.exStyle = WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      f.style = WS_CAPTION | WS_THICKFRAME;
      f.exStyle = WS_EX_TOOLWINDOW;
      break;
  }
  if (has(biSystemMenu)) f.style |= WS_SYSMENU;
  if (border == bsSingle || border == bsSizeable) {
    if (has(biMinimize)) f.style |= WS_MINIMIZEBOX;
    if (has(biMaximize)) f.style |= WS_MAXIMIZEBOX;
  }
  const bool tool = border == bsToolWindow || border == bsSizeToolWin;
  if (has(biHelp) && !tool && !(f.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) f.exStyle |= WS_EX_CONTEXTHELP;
  return f;
}

}  // namespace

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCustomForm>(u"TCustomForm", TWinControl::StaticClass())
          .SetOf(u"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, kBorderIconInfo)
          .Enum(u"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, kBorderStyleInfo, bsSizeable)
          .Int(u"ClientWidth", &TCustomForm::FormClientWidth, &TCustomForm::SetClientWidth)
          .Int(u"ClientHeight", &TCustomForm::FormClientHeight, &TCustomForm::SetClientHeight)
          .Obj<TIcon>(u"Icon", &TCustomForm::Icon, &TCustomForm::SetIcon)
          .Bool(u"OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
          .Enum(u"Position", &TCustomForm::Position, &TCustomForm::SetPosition, kPositionInfo, poDesigned)
          .Int(u"PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .Int(u"TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
          .Event(u"OnCreate", &TCustomForm::OnCreate)
          .Event(u"OnClose", &TCustomForm::OnClose)
          .Event(u"OnCanResize", &TCustomForm::OnCanResize)
          .Done();
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TForm>(u"TForm", TCustomForm::StaticClass()).Done();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), icon_(new TIcon) {
  color_ = clBtnFace;
  visible_ = false;
  parentFont_ = false;
  Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
  SetMenu(nullptr);
  // The controls go first, while the form they stand on is still whole.
  DestroyComponents();
  DestroyHandle();
  Screen().RemoveForm(this);
  delete icon_;
}

void TCustomForm::InitInheritedComponent() { ReadComponentText(*this, LoadRcData(UpperCase(ClassName()))); }

void TCustomForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (!OnCreate) return;
  try {
    CallEvent(OnCreate, this);
  } catch (const Exception& e) {
    HandleApplicationException(e.Message());
  }
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  borderIcons_ = v;
  RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  borderStyle_ = v;
  RecreateWnd();
}

int TCustomForm::FormClientWidth() const { return ClientWidth(); }
int TCustomForm::FormClientHeight() const { return ClientHeight(); }

void TCustomForm::SetClientWidth(int v) {
  if (HandleAllocated()) {
    RECT r = ClientRect();
    SetBounds(left_, top_, width_ + v - (r.right - r.left), height_);
  }
  clientWidth_ = v;
}

void TCustomForm::SetClientHeight(int v) {
  if (HandleAllocated()) {
    RECT r = ClientRect();
    SetBounds(left_, top_, width_, height_ + v - (r.bottom - r.top));
  }
  clientHeight_ = v;
}

RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  return RECT{0, 0, clientWidth_ >= 0 ? clientWidth_ : width_, clientHeight_ >= 0 ? clientHeight_ : height_};
}

void TCustomForm::SetIcon(TIcon* icon) {
  if (icon) icon_->SetHandle(icon->Handle() ? CopyIcon(icon->Handle()) : nullptr);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  const TFrameStyles frame = FrameStyles(borderStyle_, borderIcons_);
  p.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | frame.style;
  p.exStyle |= frame.exStyle;
  if (!enabled_) p.style |= WS_DISABLED;
  p.exStyle |= WS_EX_CONTROLPARENT;
  if (clientWidth_ >= 0 || clientHeight_ >= 0) {
    RECT r{0, 0, clientWidth_ >= 0 ? clientWidth_ : width_, clientHeight_ >= 0 ? clientHeight_ : height_};
    AdjustWindowRectEx(&r, p.style, menu_ != nullptr, p.exStyle);
    p.width = width_ = r.right - r.left;
    p.height = height_ = r.bottom - r.top;
  }
  const bool isMain = Application && (!Application->MainForm() || Application->MainForm() == this);
  if (Application && Application->MainFormOnTaskBar() && isMain) {
    p.wndParent = nullptr;
    p.exStyle |= WS_EX_APPWINDOW;
  } else {
    p.wndParent = Application ? Application->Handle() : nullptr;
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (menu_) SetMenu(menu_);
  HICON big = icon_->Handle();
  if (!big && Application) big = Application->Icon().Handle();
  if (big) SetWindowIcons(handle_, big);
}

void TCustomForm::PlaceOnScreen() {
  placed_ = true;
  if (position_ != poScreenCenter && position_ != poDesktopCenter && position_ != poMainFormCenter) return;
  RECT area;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const int x = area.left + std::max(0L, ((area.right - area.left) - width_) / 2);
  const int y = area.top + std::max(0L, ((area.bottom - area.top) - height_) / 2);
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetVisible(bool v) {
  if (v && !placed_) {
    Handle();
    PlaceOnScreen();
  }
  visible_ = v;
  if (HandleAllocated()) {
    if (v) {
      ShowWindow(handle_, SW_SHOWNORMAL);
      SetForegroundWindow(handle_);
    } else {
      ShowWindow(handle_, SW_HIDE);
    }
  }
  Perform(CM_VISIBLECHANGED, v);
}

void TCustomForm::Show() { SetVisible(true); }

void TCustomForm::Close() {
  TCloseAction action = caHide;
  CallEvent(OnClose, this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    ShowWindow(Handle(), SW_MINIMIZE);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (Application) PostMessageW(Application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

bool TCustomForm::CanResize(int& newWidth, int& newHeight) {
  if (frameTrades_ > 0) return true;
  bool resize = true;
  CallEvent(OnCanResize, this, newWidth, newHeight, resize);
  return resize;
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_DESTROY:
    case CM_MENUCHANGED:
      if (menu_ && HandleFormMenuMessage(menu_, handle_, m)) return;
      break;
    case WM_SYSCOMMAND:
      // Without a maximise box the window has no maximised state to enter.
      if ((m.WParam & 0xFFF0) == SC_MAXIMIZE && !(FrameStyles(borderStyle_, borderIcons_).style & WS_MAXIMIZEBOX))
        return;
      break;
    default:
      break;
  }
  TWinControl::Dispatch(m);
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

void TScreen::RemoveForm(TCustomForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }

TFont& TScreen::MenuFont() {
  if (!menuFont_) {
    menuFont_ = new TFont;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
      menuFont_->SetName(FromW(ncm.lfMenuFont.lfFaceName));
      menuFont_->SetHeight(ncm.lfMenuFont.lfHeight);
      menuFont_->SetCharset(ncm.lfMenuFont.lfCharSet);
    }
  }
  return *menuFont_;
}

}  // namespace qv
