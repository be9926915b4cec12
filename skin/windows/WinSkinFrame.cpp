// The skinned frame of a window: painting the borders, the caption strip
// with its text and buttons, the caption buttons' states, the window region
// cut from the border images, and the frame's messages. Every rule of
// geometry comes from FrameLayout; this file gathers the window's facts and
// applies the answers.
#include <optional>
#include <vector>

#include "platform/core/Colors.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/ExceptionBarrier.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/StartupTrace.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

namespace {

TDataSkinBorder* BorderOf(TSkinData* sd, int index) {
  if (!sd || index < 1 || index > 4) return nullptr;
  TDataSkinBorder* e = sd->border[index].get();
  return HasPicture(e) ? e : nullptr;
}

// Left and right borders hold their images side by side, top and bottom
// stacked; the borders read Tile the other way round (1 stretches).
std::unique_ptr<TBitmap> BorderBitmap(TDataSkinBorder& e, int index, const TRect& rect, int image) {
  return CreateSkinBitmap(rect, *e.Map, e.r, index >= 3, e.Tile != 1, e.frame, image);
}

}  // namespace

// ---------------------------------------------------------------------------
// The frame's state

TSkinFrame::TSkinFrame()
    : CaptionFont(SystemCaptionFont()), CaptionBuf(std::make_unique<TBitmap>()), IconBmp(std::make_unique<TBitmap>()) {
  FormBorder = sbsSingle;
}

// ---------------------------------------------------------------------------
// Caption buttons' states

TNCObject::~TNCObject() {
  if (SF && SF->frame.ActiveBtn == this) SF->frame.ActiveBtn = nullptr;
}

void TNCObject::MouseEnter() {
  if (SF->frame.ActiveBtn && SF->frame.ActiveBtn != this) SF->frame.ActiveBtn->MouseLeave();
  if (SF->frame.ActiveBtn == this || !visible) return;
  SF->frame.ActiveBtn = this;
  state = TNCState::Hot;
  Draw();
}

void TNCObject::MouseDown() {
  if (SF->frame.ActiveBtn && SF->frame.ActiveBtn != this) SF->frame.ActiveBtn->MouseLeave();
  if (!visible) return;
  SF->frame.ActiveBtn = this;
  state = TNCState::Pressed;
  Draw();
}

void TNCObject::MouseUp() {
  if (!visible) return;
  state = TNCState::Hot;
  Draw();
}

void TNCObject::MouseLeave() {
  if (!visible) return;
  if (SF->frame.ActiveBtn == this) SF->frame.ActiveBtn = nullptr;
  state = TNCState::Normal;
  Draw();
  SF->ResetHint();
}

void TWinSysButton::Draw() { SF->DrawSysButton(this, state); }

// ---------------------------------------------------------------------------
// Facts of the window for the frame rules

TPoint TWinSkinForm::ScreenToWindow(TPoint screen) const {
  POINT origin{0, 0};
  ClientToScreen(Hwnd, &origin);
  return qv::ScreenToWindow(FrameShape(), screen, TPoint{origin.x, origin.y});
}

// ---------------------------------------------------------------------------
// Painting

void TWinSkinForm::PaintNC(HDC dc) {
  if (!SkinScratchBitmap || !fsd || fsd->Empty || !PaintsFrame(Skinstate) || frame.FormBorder == sbsNone ||
      (frame.FormStyle == sfsMDIChild && frame.Windowstate == swsMax))
    return;
  std::optional<WindowDC> own;
  if (!dc) dc = own.emplace(Hwnd, WindowDC::Whole);
  if (!dc) return;
  ExceptionBarrier([&] {
    RECT wr{};
    GetWindowRect(Hwnd, &wr);
    frame.wTr = FromRECT(wr);
    frame.fwidth = frame.wTr.Width();
    frame.fheight = frame.wTr.Height();
    const int W = frame.fwidth, H = frame.fheight;
    if (W > 0 && H > 0) {
      // The whole frame is composed off-screen and reaches the screen in
      // one copy, clipped off the client area, so nothing flickers.
      const bool minimised = frame.Windowstate == swsMin;
      HDC bdc = ComposeFrame(W, H, false);
      if (minimised) {
        BitBlt(dc, 0, 0, W, H, bdc, 0, 0, SRCCOPY);
      } else {
        // The four strips around the client area, each copied alone: a copy
        // of the whole window clipped off the client costs several times as
        // much. Where the strips overlap (no client area) they agree.
        const int top = frame.bw.Top + frame.MenuHeight, bottom = H - frame.bw.Bottom;
        BitBlt(dc, 0, 0, W, top, bdc, 0, 0, SRCCOPY);
        BitBlt(dc, 0, bottom, W, H - bottom, bdc, 0, bottom, SRCCOPY);
        if (bottom > top) {
          BitBlt(dc, 0, top, frame.bw.Left, bottom - top, bdc, 0, top, SRCCOPY);
          BitBlt(dc, W - frame.bw.Right, top, frame.bw.Right, bottom - top, bdc, W - frame.bw.Right, top, SRCCOPY);
        }
      }
    }
  });
  frame.ActiveBtn = nullptr;
  own.reset();
  StartupMark("frame painted");
}

void TWinSkinForm::UpdateMainMenu() {
  if (!menuBar.menu) return;
  const TLifeToken alive = alive_.Token();
  menuBar.menu->UpdataBtn();
  if (!alive || !menuBar.menu || frame.MenuHeight <= 0 || !fsd || Skinstate == TSkinFormState::New) return;
  RECT wr{};
  GetWindowRect(Hwnd, &wr);
  const TRect bar = FramePaintRects(FrameShape(), wr.right - wr.left, wr.bottom - wr.top).menu;
  if (bar.Width() <= 0 || bar.Height() <= 0) return;
  // Composed off-screen, as the whole frame is, and copied in one go.
  TBitmap buf;
  buf.SetSize(bar.Right, bar.Bottom);
  HDC bdc = BitmapCanvas(buf).Handle();
  DrawMenuStrip(bdc, bar);
  WindowDC dc(Hwnd, WindowDC::Whole);
  if (dc) BitBlt(dc, bar.Left, bar.Top, bar.Width(), bar.Height(), bdc, bar.Left, bar.Top, SRCCOPY);
}

void TWinSkinForm::getClipMap(TBitmap& Bitmap) {
  if (!fsd) return;
  RECT wr{};
  GetWindowRect(Hwnd, &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  if (W <= 0 || H <= 0) return;
  ComposeFrame(W, H, true);
  Bitmap.Assign(*frame.CaptionBuf);
}

// On CaptionBuf, which the caption's back picture is drawn to as well. The
// window's client area is never copied from it, so only a clip map and a
// minimised window (whose caption is all it shows) are filled first.
HDC TWinSkinForm::ComposeFrame(int W, int H, bool clipMap) {
  frame.CaptionBuf->SetSize(W, H);
  HDC bdc = BitmapCanvas(*frame.CaptionBuf).Handle();
  const bool minimised = frame.Windowstate == swsMin;
  if (clipMap || minimised) {
    const OwnedBrush face(CreateSolidBrush(ColorToRGB(fsd->Colors[scButtonFace])));
    RECT all{0, 0, W, H};
    FillRect(bdc, &all, face);
  }
  if (clipMap || !minimised) {
    DrawBorder(1, Rect(0, 0, frame.bw.Left, H), bdc);
    DrawBorder(2, Rect(W - frame.bw.Right, 0, W, H), bdc);
    DrawBorder(4, Rect(frame.bw.Left, H - frame.bw.Bottom, W - frame.bw.Right, H), bdc);
  }
  PaintCaption(bdc, W, H);
  if (clipMap || minimised || frame.MenuHeight <= 0) return bdc;
  DrawMenuStrip(bdc, FramePaintRects(FrameShape(), W, H).menu);
  return bdc;
}

void TWinSkinForm::DrawMenuStrip(HDC dc, const TRect& strip) {
  if (fsd->BGBrush) {
    RECT m = ToRECT(strip);
    FillRect(dc, &m, fsd->BGBrush);
  }
  if (menuBar.menu) menuBar.menu->DrawMenu(dc, strip);
}

void TWinSkinForm::DrawBorder(int index, const TRect& rect, HDC dc) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  TDataSkinBorder* e = BorderOf(fsd, index);
  if (!e) return;
  // Composed on the drawing primitives' scratch surface: no bitmap is made
  // per border and paint.
  DrawSkinImage(dc, rect, *e->Map, index >= 3, e->Tile != 1, false, e->frame, BorderImage(*e, frame.FWindowActive),
                e->r);
}

void TWinSkinForm::PaintCaption(HDC dc, int W, int H) {
  const TFramePaintRects rects = FramePaintRects(FrameShape(), W, H);
  DrawBorder(3, rects.title, dc);
  DrawCaptionText(dc, rects.title);
  LayoutSysButtons(W);
  DrawSysButtons(dc);
  SetBkMode(dc, OPAQUE);
}

bool TWinSkinForm::SysButtonVisible(size_t index) {
  if (index >= frame.SysBtn.size() || !frame.SysBtn[index]->data) return false;
  TWinSysButton& b = *frame.SysBtn[index];
  TSysButtonQuery q;
  q.mdiChildMaxWithMenu = menuBar.menu && MDIChildMax();
  q.ask = [this](int32_t code, int32_t action) -> intptr_t {
    return SendMessageW(Hwnd, SM_SYSBUTTONVISIBLE, static_cast<WPARAM>(code), static_cast<LPARAM>(action));
  };
  // The rules read the frame as it is now, while the window is asked in
  // between (and may change it).
  const TFrameShape now = FrameShape();
  const TSysButtonFlags flags = qv::SysButtonVisible(*b.data, now, b.enabled, q);
  b.visible = flags.visible;
  b.enabled = flags.enabled;
  return b.visible;
}

void TWinSkinForm::DrawCaptionText(HDC dc, const TRect& R) {
  if (!fsd->Title) return;
  astr = u" ";
  const String text =
      CaptionText(isunicode ? GetWindowCaption(Hwnd) : AnsiToWide(GetWindowCaptionA(Hwnd)));
  std::vector<TSysButtonView> views;
  for (size_t i = 0; i < frame.SysBtn.size(); ++i) {
    const bool shown = SysButtonVisible(i);
    if (frame.SysBtn[i]->data) views.push_back(TSysButtonView{frame.SysBtn[i]->data, shown});
  }
  frame.RightBtn = RightBtnOf(views);

  SelectGuard captionFont(dc, frame.CaptionFont->Handle());
  TextStyleSaver style(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(fsd->Colors[frame.FWindowActive ? scTitleTextActive : scTitleTextNoActive]));
  RECT m = ToRECT(R);
  SkinDrawText(dc, text, m, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  const bool popup = GetWindowLongPtrW(Hwnd, GWL_STYLE) & WS_POPUP;
  const TCaptionPlacement p = PlaceCaption(FrameShape(), *fsd->Title, R, FromRECT(m), frame.RightBtn, popup);
  frame.ctr = p.ctr;
  if (fsd->Title->Map && !fsd->Title->Map->Empty() && p.back.Width() > 0)
    StretchSkinFrame(BitmapCanvas(*frame.CaptionBuf), p.back, *fsd->Title->Map, false, true, 2, p.backImage,
                     Rect(fsd->Title->backleft, 0, fsd->Title->backright, 0));
  RECT t = ToRECT(p.text);
  SkinDrawText(dc, text, t, p.format);
  frame.FTitleRect = p.text;
}

void TWinSkinForm::LayoutSysButtons(int W) {
  const int menubarLeft = fsd->Menubar ? fsd->Menubar->r.Left : 0;
  const TFrameShape& f = FrameShape();
  for (auto& b : frame.SysBtn) {
    if (!b->visible || !b->data || !SysButtonHasImage(*b->data)) continue;
    b->bounds = SysButtonBounds(*b->data, f, W, frame.ctr, menubarLeft);
  }
}

void TWinSkinForm::DrawSysButtons(HDC dc) {
  for (auto& b : frame.SysBtn) {
    if (!b->data || !SysButtonPainted(*b->data, b->visible)) continue;
    if (IsIconButton(b->data->Action)) {
      DrawAppIcon(dc, b->bounds);
      continue;
    }
    DrawSkinFrame(dc, b->bounds, *b->data->Map, true, b->data->frame,
                  SysButtonFrameImage(*b->data, frame.FWindowActive, b->enabled));
  }
}

void TWinSkinForm::DrawSysButton(TWinSysButton* button, TNCState state) {
  if (!SkinScratchBitmap || !button || !button->data || !SysButtonHasImage(*button->data)) return;
  if (!PaintsFrame(Skinstate) || !IsWindow(Hwnd)) return;
  WindowDC dc(Hwnd, WindowDC::Whole);
  if (!dc) return;
  if (IsIconButton(button->data->Action)) {
    DrawAppIcon(dc, button->bounds);
  } else {
    DrawSkinFrame(dc, button->bounds, *button->data->Map, true, button->data->frame,
                  SysButtonStateImage(*button->data, state, button->enabled));
  }
}

// The application's icon (a form of the class library carries none of its
// own), else the window's, drawn as an icon: IconBmp blended its soft edges
// with the key colour and would show a magenta fringe. IconBmp only when
// there is no icon at all.
void TWinSkinForm::DrawAppIcon(HDC dc, const TRect& rect) {
  HICON icon = nullptr;
  if (Application && Application->Handle()) {
    icon = reinterpret_cast<HICON>(SendMessageW(Application->Handle(), WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Application->Handle(), WM_GETICON, ICON_BIG, 0));
  }
  if (!icon) icon = frame.DefIcon;
  if (icon && DrawIconEx(dc, rect.Left, rect.Top, icon, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL)) return;
  if (frame.IconBmp && !frame.IconBmp->Empty()) DrawTransparentBitmap(dc, rect, *frame.IconBmp, kSkinKeyColor);
}

TWinSysButton* TWinSkinForm::FindSysButton(TPoint windowPt) const {
  for (const auto& b : frame.SysBtn)
    if (b->data && SysButtonHit(b->bounds, b->visible, b->data->Action, windowPt)) return b.get();
  return nullptr;
}

// ---------------------------------------------------------------------------
// What the frame asks for is posted, never done here: it runs after the
// current message, and a handler further down the chain may refuse it.

void TWinSkinForm::Maximize() {
  if (frame.Windowstate == swsMax) {
    Restore();
    return;
  }
  if (frame.FormStyle == sfsMDIChild && SkinManager) SkinManager->SetMDIMax(true);
  frame.Windowstate = swsMax;
  PostMessageW(Hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  frame.ActiveBtn = nullptr;
}

void TWinSkinForm::Minimize() {
  if (frame.Windowstate == swsMin) {
    Restore();
    return;
  }
  frame.Windowstate = swsMin;
  SetSysMenuStyle(false);
  PostMessageW(Hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Restore() {
  frame.Windowstate = swsNormal;
  PostMessageW(Hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

// Sent, not posted: the child acts before the frame's button is redrawn.
// The child may go (SC_CLOSE); nothing here is touched afterwards.
void TWinSkinForm::ChildSysCommand(WPARAM cmd) {
  if (frame.FormStyle != sfsMDIform || !ClientHwnd) return;
  if (HWND child = reinterpret_cast<HWND>(SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(child, WM_SYSCOMMAND, cmd, 0);
}

void TWinSkinForm::RestoreMDI() {
  if (frame.FormStyle != sfsMDIform || !ClientHwnd) return;
  if (HWND child = reinterpret_cast<HWND>(SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(ClientHwnd, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
}

void TWinSkinForm::ResetHint() {
  frame.hintcount = 0;
  if (fsd) fsd->HideHint();
}

void TWinSkinForm::SysButtonClick(TWinSysButton* button, TPoint screen) {
  if (!button || !button->data) return;
  const int32_t action = button->data->Action;
  switch (SysButtonCommand(action)) {
    case TSysButtonCommand::Close:
      if (timer) timer->SetEnabled(false);
      if (HasCloseItem()) PostMessageW(Hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case TSysButtonCommand::Maximize:
      if (button->enabled) Maximize();
      break;
    case TSysButtonCommand::Minimize:
      if (button->enabled) Minimize();
      break;
    case TSysButtonCommand::SystemMenu:
      PopupSystemMenu(TPoint{screen.X + 1, screen.Y + 1});
      break;
    case TSysButtonCommand::ContextHelp:
      PostMessageW(Hwnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      break;
    case TSysButtonCommand::ChildMinimize:
      ChildSysCommand(SC_MINIMIZE);
      break;
    case TSysButtonCommand::ChildRestore:
      ChildSysCommand(SC_RESTORE);
      break;
    case TSysButtonCommand::ChildClose:
      ChildSysCommand(SC_CLOSE);
      break;
    case TSysButtonCommand::Notify:
      PostMessageW(Hwnd, SM_SYSBUTTONCLICK, static_cast<WPARAM>(action), 0);
      break;
  }
}

// ---------------------------------------------------------------------------
// The frame's messages

void TWinSkinForm::WMNCCalcSize(TMessage& Message) {
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
  const TRect window = (Message.WParam & 0xFF) && p ? FromRECT(p->rgrc[0]) : TRect{};
  if (!PassOn(Message)) return;
  if (!(Message.WParam & 0xFF) || !p) {
    Message.Result = 0;
    return;
  }
  const RECT client = ToRECT(NCCalcClientRect(FrameShape(), window, FromRECT(p->rgrc[0])));
  p->rgrc[0] = client;
  p->rgrc[1] = client;
  Message.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage& Message) {
  if (!PassOn(Message)) return;
  const TPoint pt = ScreenToWindow(PointFromLParam(Message.LParam));
  Message.Result = NCHitTest(FrameShape(), static_cast<int>(Message.Result), pt);
}

void TWinSkinForm::WMNCActivate(TMessage& Message) {
  frame.FWindowActive = (Message.WParam & 0xFF) != 0;
  if (timer) timer->SetEnabled(frame.FWindowActive);
  // Without the timer nothing would ever tell a raw window's hot control
  // that the mouse left it (which runs the control's handlers).
  const TLifeToken alive = alive_.Token();
  if (!frame.FWindowActive && controls.Activeskincontrol) {
    controls.LeaveActive();
    if (!alive) return;
  }
  if (frame.FormStyle == sfsMDIform && ClientHwnd) SendMessageW(ClientHwnd, WM_NCACTIVATE, Message.WParam, 0);
  if (!alive) return;
  if (frame.FormStyle == sfsMDIChild && !PassOn(Message)) return;
  if (!(frame.FormStyle == sfsMDIChild && frame.Windowstate == swsMax)) PaintNC(nullptr);
  Message.Result = 1;
}

void TWinSkinForm::WMWindowPosChanging(TMessage& Message) {
  auto* wp = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  const UINT before = wp ? wp->flags : 0;
  const int cx = wp ? wp->cx : 0, cy = wp ? wp->cy : 0;
  if (!PassOn(Message)) return;
  // The skin's own first sizing only trades the native frame for the
  // skin's around the same client area; a form that refuses user resizes
  // must still let it through.
  if (wp && Skinstate == TSkinFormState::FirstSizing && !(before & SWP_NOSIZE) && (wp->flags & SWP_NOSIZE)) {
    wp->flags &= ~static_cast<UINT>(SWP_NOSIZE);
    wp->cx = cx;
    wp->cy = cy;
  }
}

bool TWinSkinForm::WMNCMouse(TMessage& Message) {
  const TPoint screen = PointFromLParam(Message.LParam);
  TWinSysButton* button = FindSysButton(ScreenToWindow(screen));
  if (!button && Message.Msg != WM_NCLBUTTONDBLCLK && MenuBarMouse(Message)) return true;
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
      return WMNCMouseMove(Message, button);
    case WM_NCLBUTTONDOWN:
      return WMNCLButtonDown(Message, button, screen);
    case WM_NCLBUTTONUP:
      return WMNCLButtonUp(Message, button, screen);
    case WM_NCLBUTTONDBLCLK:
      return WMNCLButtonDblClk(Message, button);
    default:
      return false;
  }
}

bool TWinSkinForm::WMNCMouseMove(TMessage& Message, TWinSysButton* button) {
  if (!frame.FWindowActive) {
    Message.Result = 0;
    return true;
  }
  if (button) {
    button->MouseEnter();
    Message.Result = 0;
    return true;
  }
  if (frame.ActiveBtn) frame.ActiveBtn->MouseLeave();
  frame.ActiveBtn = nullptr;
  return false;
}

bool TWinSkinForm::WMNCLButtonDown(TMessage& Message, TWinSysButton* button, TPoint screen) {
  if (fsd) fsd->HideHint();
  if (button) {
    if (!frame.FWindowActive) {
      // Activation runs the window's (and the application's) handlers,
      // which may take the skin or rebuild its buttons: look it up again.
      const TLifeToken alive = alive_.Token();
      SetForegroundWindow(Hwnd);
      if (!alive) return true;
      button = FindSysButton(ScreenToWindow(screen));
      if (!button) return false;
    }
    button->MouseDown();
    Message.Result = 0;
    return true;
  }
  Message.WParam = static_cast<WPARAM>(NCLButtonDownHit(FrameShape(), static_cast<int>(Message.WParam)));
  return false;
}

bool TWinSkinForm::WMNCLButtonUp(TMessage& Message, TWinSysButton* button, TPoint screen) {
  if (fsd) fsd->HideHint();
  if (!button) return false;
  if (button == frame.ActiveBtn) {
    button->MouseUp();
    SysButtonClick(button, screen);
  }
  Message.Result = 0;
  return true;
}

bool TWinSkinForm::WMNCLButtonDblClk(TMessage& Message, TWinSysButton* button) {
  const std::optional<int32_t> action =
      button && button->data ? std::optional<int32_t>(button->data->Action) : std::nullopt;
  switch (NCDoubleClick(FrameShape(), action)) {
    case TNCDoubleClick::Close:
      if (timer) timer->SetEnabled(false);
      PostMessageW(Hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case TNCDoubleClick::Nothing:
      break;
    case TNCDoubleClick::Restore:
      Restore();
      break;
    case TNCDoubleClick::Maximize:
      Maximize();
      break;
    case TNCDoubleClick::PassOn:
      return false;
  }
  Message.Result = 0;
  return true;
}

// WM_NCPAINT: the platform draws no caption buttons of its own; nothing is
// painted while menu messages hold painting off; a frameless window passes
// the message on. False: passed on.
bool TWinSkinForm::WMNCPaint(TMessage& Message) {
  SetSysMenuStyle(true);
  if (fsd && !fsd->MenuMsg) {
    Message.Result = 0;
    return true;
  }
  if (frame.FormBorder == sbsNone) return false;
  PaintNC(nullptr);
  Message.Result = 0;
  return true;
}

bool TWinSkinForm::FrameMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING:
      WMWindowPosChanging(Message);
      return true;
    case WM_NCCALCSIZE:
      WMNCCalcSize(Message);
      return true;
    case WM_NCHITTEST:
      WMNCHitTest(Message);
      return true;
    case WM_NCPAINT:
      return WMNCPaint(Message);
    case WM_NCACTIVATE:
      WMNCActivate(Message);
      return true;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
      return WMNCMouse(Message);
    case WM_NCRBUTTONDOWN:
      return WMNCRButtonDown(Message);
    case SM_NCREPAINT:
      PaintNC(nullptr);
      Message.Result = 0;
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Window region

void TWinSkinForm::Cropwindow() {
  if (!fsd || fsd->Empty) return;
  RECT wr{};
  GetWindowRect(Hwnd, &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  const TFrameShape& f = FrameShape();
  if (!CropNeeded(f, Skinstate, sMainMenu, W, H, frame.crwidth, frame.crheight)) return;
  frame.crop = false;
  std::array<int32_t, 4> trans{};
  for (int i = 0; i < 4; ++i) trans[i] = fsd->border[i + 1] ? fsd->border[i + 1]->trans : 0;
  const TRegionPlan plan = FrameRegionPlan(f, W, H, trans);
  if (plan.shaped) {
    frame.crwidth = W;
    frame.crheight = H;
  }
  OwnedRegion rgn(CreateRectRgn(plan.base.Left, plan.base.Top, plan.base.Right, plan.base.Bottom));
  if (!rgn) return;
  if (plan.hasPieces) {
    const TRegionPiece* pieces[4] = {&plan.left, &plan.right, &plan.top, &plan.bottom};
    const int index[4] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
      const TRegionPiece& piece = *pieces[i];
      OwnedRegion part;
      TDataSkinBorder* e = BorderOf(fsd, index[i]);
      if (piece.fromImage && e && piece.rect.Width() > 0 && piece.rect.Height() > 0) {
        auto bmp = BorderBitmap(*e, index[i], piece.rect, 1);
        if (bmp && !bmp->Empty()) part.Reset(BitmapToRegion(*bmp, piece.rect.Left, piece.rect.Top, 1, 1, 1, kSkinKeyColor));
      } else if (piece.rect.Width() > 0 && piece.rect.Height() > 0) {
        part.Reset(CreateRectRgn(piece.rect.Left, piece.rect.Top, piece.rect.Right, piece.rect.Bottom));
      }
      if (part) CombineRgn(rgn, rgn, part, RGN_OR);
    }
  }
  // From here on the region is the system's: the next SetWindowRgn frees it.
  if (SetWindowRgn(Hwnd, rgn, TRUE)) {
    frame.WinRgn = rgn.Release();
    frame.crop = true;
  } else {
    frame.WinRgn = nullptr;
  }
}
void TWinSkinForm::Uncropwindow() {
  if (!frame.crop) return;
  // The region belongs to the system since SetWindowRgn; it frees it now.
  SetWindowRgn(Hwnd, nullptr, frame.FormStyle == sfsMDIChild);
  frame.WinRgn = nullptr;
  frame.crop = false;
}

void TWinSkinForm::UpdateWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(Hwnd, &wp)) return;
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      frame.Windowstate = swsMin;
      break;
    case SW_SHOWMAXIMIZED:
      frame.Windowstate = swsMax;
      break;
    default:
      frame.Windowstate = swsNormal;
      break;
  }
}

void TWinSkinForm::FindMDIClient() {
  frame.FormStyle = sfsNormal;
  for (HWND w = GetTopWindow(Hwnd); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWndClassName(w) != u"MDIClient") continue;
    frame.FormStyle = sfsMDIform;
    ClientHwnd = w;
    if (SkinManager) {
      SkinManager->clienthwnd = w;
      SkinManager->MDIForm = FForm;
    }
    return;
  }
}

bool TWinSkinForm::MDIChildMax() {
  if (frame.FormStyle != sfsMDIform || !ClientHwnd) return false;
  BOOL maximized = FALSE;
  const LRESULT child = SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
  return child && maximized;
}

void TWinSkinForm::SetSysMenuStyle(bool Remove) {
  if (frame.FormIcons & (1u << sbicaption)) return;
  const auto current = static_cast<DWORD>(GetWindowLongPtrW(Hwnd, GWL_STYLE));
  dwstyle = current;
  if (Remove) dwstyle &= ~static_cast<DWORD>(WS_SYSMENU);
  else if (hsysmenu) dwstyle |= WS_SYSMENU;
  // Every WM_NCPAINT asks; writing an unchanged style would send the style
  // messages each time for nothing.
  if (dwstyle != current) SetWindowLongPtrW(Hwnd, GWL_STYLE, static_cast<LONG_PTR>(dwstyle));
}

}  // namespace qv
