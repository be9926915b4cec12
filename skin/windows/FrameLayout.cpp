#include "skin/windows/FrameLayout.h"

#include <algorithm>

namespace qv {

namespace {

constexpr uintptr_t kScMinimize = 0xF020;
constexpr uintptr_t kScMaximize = 0xF030;
constexpr uintptr_t kScRestore = 0xF120;

// A rectangle whose right or bottom edge lies before its left or top edge
// collapses onto that edge.
TRect Upright(int left, int top, int right, int bottom) {
  return Rect(left, top, std::max(left, right), std::max(top, bottom));
}

bool HasArea(const TRect& r) { return r.Right > r.Left && r.Bottom > r.Top; }

int FrameCount(const TDataSkinObject& e) { return e.frame < 1 ? 1 : e.frame; }

// One visibility condition. The second condition differs on -1, 6, 8, 10
// and never asks the window.
bool VisibleBy(int32_t code, bool second, int32_t action, const TFrameShape& f, const TSysButtonQuery& q) {
  const bool mx = InSet(f.FormIcons, sbiMax), mn = InSet(f.FormIcons, sbiMin);
  const bool help = InSet(f.FormIcons, sbiHelp), sys = InSet(f.FormIcons, sbisystem);
  // -1 has no defined meaning; a skin that uses it gets a hidden button.
  if (code < 0 || code > 2000) return false;
  if (code >= 1000) return second || (q.ask && q.ask(code, action) > 0);
  if (code >= 201) return true;
  if (code == 200) return f.FormBorder == sbsDialog && !f.ismessagebox;
  if (code == 100) return q.mdiChildMaxWithMenu;
  switch (code) {
    case 0: return true;
    case 1: return f.Windowstate == swsMax;
    case 2: return f.Windowstate != swsMax;
    case 3: return f.FWindowActive;
    case 4: return !f.FWindowActive;
    case 6:
    case 8: return (mn || mx) && (second || sys);
    case 7: return !mx;
    case 9: return !mn;
    case 10: return help && (second || (!mn && !mx));
    default: return false;  // 5, 11..99, 101..199
  }
}

}  // namespace

// ---- Coordinates and hit-testing -------------------------------------------

TPoint ScreenToWindow(const TFrameShape& f, TPoint screen, TPoint clientOrigin) {
  TPoint p{screen.X - clientOrigin.X, screen.Y - clientOrigin.Y};
  if (f.FormStyle == sfsMDIChild && f.Windowstate == swsMin) return p;
  p.X += f.bw.Left;
  p.Y += f.bw.Top + f.MenuHeight;
  return p;
}

TRect NCCalcClientRect(const TFrameShape& f, const TRect& window, const TRect& platformClient) {
  if ((f.FormStyle == sfsMDIChild && f.Windowstate != swsNormal) || f.FormBorder == sbsNone) return platformClient;
  return Upright(window.Left + f.bw.Left, window.Top + f.bw.Top + f.MenuHeight, window.Right - f.bw.Right,
                 window.Bottom - f.bw.Bottom);
}

int NCHitTest(const TFrameShape& f, int platformHit, TPoint windowPt) {
  if (platformHit != kHitNowhere && platformHit != kHitCaption) return platformHit;
  // The top rows keep the platform's answer, so the window can still be
  // sized from its top edge.
  if (windowPt.Y <= 3) return platformHit;
  if (windowPt.Y > f.bw.Top && f.MenuHeight > 0) return kHitMenu;
  return kHitCaption;
}

int NCLButtonDownHit(const TFrameShape& f, int hit) {
  return hit == kHitCaption && f.Windowstate == swsMax && f.FWindowActive ? kHitMenu : hit;
}

bool SysButtonHit(const TRect& bounds, bool visible, int32_t action, TPoint p) {
  return visible && action >= 0 && p.X >= bounds.Left && p.X < bounds.Right && p.Y >= bounds.Top && p.Y < bounds.Bottom;
}

// ---- Caption buttons ---------------------------------------------------------

TSysButtonFlags SysButtonVisible(const TDataSkinSysButton& b, const TFrameShape& f, bool enabled,
                                 const TSysButtonQuery& q) {
  TSysButtonFlags out;
  out.enabled = enabled;
  // The first condition is always evaluated, so a window asked about it
  // hears of every paint.
  out.visible = VisibleBy(b.Visibility, false, b.Action, f, q);
  out.visible = out.visible && VisibleBy(b.Visibility1, true, b.Action, f, q);
  const bool sys = InSet(f.FormIcons, sbisystem);
  switch (b.Action) {
    case 0: out.visible = out.visible && sys; break;
    case 1: out.enabled = InSet(f.FormIcons, sbiMax) && sys; break;
    case 2: out.enabled = InSet(f.FormIcons, sbiMin) && sys; break;
    case 3:
    case 11:
    case 12: out.visible = out.visible && f.FormBorder != sbsDialog; break;
    default: break;
  }
  return out;
}

bool SysButtonHasImage(const TDataSkinSysButton& b) { return b.Map && !b.Map->Empty(); }

TRect SysButtonSize(const TDataSkinSysButton& b) {
  if (!SysButtonHasImage(b)) return TRect{};
  return Rect(0, 0, b.Map->Width() / FrameCount(b), b.Map->Height());
}

TRect SysButtonBounds(const TDataSkinSysButton& b, const TFrameShape& f, int W, const TRect& ctr, int menubarLeft) {
  const TRect s = SysButtonSize(b);
  const int w = s.Width(), h = s.Height();
  switch (b.Align) {
    case 0: return Bounds(b.XCoord, b.YCoord, w, h);
    case 1: return Bounds(W - b.XCoord, b.YCoord, w, h);
    case 2:
    case 8: return Bounds(ctr.Left - w - b.XCoord, b.YCoord, w, h);
    case 3:
    case 9: return Bounds(ctr.Right + b.XCoord, b.YCoord, w, h);
    case 100: return Bounds(W - b.XCoord - f.bw.Right - menubarLeft, (f.MenuHeight - h) / 2 + f.bw.Top, w, h);
    default: return Bounds(0, 0, w, h);
  }
}

int RightBtnOf(std::span<const TSysButtonView> buttons) {
  std::optional<int> largest;
  for (const TSysButtonView& v : buttons) {
    if (!v.data || !v.visible || v.data->Align != 1 || !SysButtonHasImage(*v.data)) continue;
    largest = largest ? std::max(*largest, v.data->XCoord) : v.data->XCoord;
  }
  return largest.value_or(0);
}

bool SysButtonPainted(const TDataSkinSysButton& b, bool visible) {
  return visible && SysButtonHasImage(b) && b.Visibility != 100;
}

int SysButtonFrameImage(const TDataSkinSysButton& b, bool windowActive, bool enabled) {
  if (b.frame < 4) return 1;
  return windowActive && enabled ? 1 : 4;
}

int SysButtonStateImage(const TDataSkinSysButton& b, TNCState state, bool enabled) {
  if (!enabled) return b.frame >= 4 ? 4 : 1;
  if (b.Visibility == 100 && state == TNCState::Hot) return 4;
  return static_cast<int>(state);
}

TSysButtonCommand SysButtonCommand(int32_t action) {
  switch (action) {
    case 0: return TSysButtonCommand::Close;
    case 1:
    case 22: return TSysButtonCommand::Maximize;
    case 2:
    case 23: return TSysButtonCommand::Minimize;
    case 3:
    case 11:
    case 12: return TSysButtonCommand::SystemMenu;
    case 4: return TSysButtonCommand::ContextHelp;
    case 7:
    case 60: return TSysButtonCommand::ChildMinimize;
    case 8:
    case 61: return TSysButtonCommand::ChildRestore;
    case 9:
    case 62: return TSysButtonCommand::ChildClose;
    default: return TSysButtonCommand::Notify;
  }
}

StringView GetButtonHint(int32_t action) {
  switch (action) {
    case 0:
    case 9:
    case 62: return u"Close";
    case 1:
    case 22: return u"Maximize";
    case 2:
    case 7:
    case 23:
    case 60: return u"Minimize";
    case 8:
    case 61: return u"Restore";
    default: return u"";
  }
}

THintStep HintStep(int hintcount, int hintPause, int hintHidePause) {
  const int64_t shown = 2 * int64_t{hintPause};
  if (hintcount < shown) return THintStep::Wait;
  if (hintcount < shown + hintHidePause) return THintStep::Show;
  return THintStep::Hide;
}

// ---- Window state and non-client clicks ---------------------------------------

TSkinWindowState WindowStateFromSize(uintptr_t wParam, TSkinWindowState current) {
  switch (wParam) {
    case 0: return swsNormal;
    case 1: return swsMin;
    case 2: return swsMax;
    default: return current;
  }
}

TSkinWindowState WindowStateFromShowCmd(unsigned showCmd) {
  switch (showCmd) {
    case 2:
    case 6:
    case 7: return swsMin;
    case 3: return swsMax;
    default: return swsNormal;
  }
}

TSkinWindowState WindowStateFromSysCommand(uintptr_t wParam, TSkinWindowState current) {
  if (wParam == kScMinimize) return swsMin;
  if (wParam == kScMaximize) return swsMax;
  if (wParam == kScRestore) return swsNormal;
  return current;
}

bool CropAfterSize(const TFrameShape& f, TSkinFormState skinstate, bool mdiMax) {
  if (f.Windowstate == swsMin) return false;
  if (f.FormStyle == sfsMDIChild && (mdiMax || f.Windowstate != swsNormal)) return false;
  return PaintsFrame(skinstate);
}

bool IsForwardedSysCommand(unsigned id) {
  switch (id) {
    case 0xF000:  // SC_SIZE
    case 0xF010:  // SC_MOVE
    case 0xF020:  // SC_MINIMIZE
    case 0xF030:  // SC_MAXIMIZE
    case 0xF040:  // SC_NEXTWINDOW
    case 0xF050:  // SC_PREVWINDOW
    case 0xF060:  // SC_CLOSE
    case 0xF120:  // SC_RESTORE
      return true;
    default: return false;
  }
}

TNCDoubleClick NCDoubleClick(const TFrameShape& f, std::optional<int32_t> buttonAction) {
  if (buttonAction) return IsIconButton(*buttonAction) ? TNCDoubleClick::Close : TNCDoubleClick::Nothing;
  if (f.Windowstate != swsNormal) return TNCDoubleClick::Restore;
  if (InSet(f.FormIcons, sbiMax)) return TNCDoubleClick::Maximize;
  return TNCDoubleClick::PassOn;
}

// ---- Painting -----------------------------------------------------------------

TFramePaintRects FramePaintRects(const TFrameShape& f, int W, int H) {
  const TRect& bw = f.bw;
  TFramePaintRects p;
  p.left = Rect(0, 0, bw.Left, H);
  p.right = Rect(W - bw.Right, 0, W, H);
  p.bottom = Rect(bw.Left, H - bw.Bottom, W - bw.Right, H);
  p.menu = Rect(bw.Left, bw.Top, W - bw.Right, bw.Top + f.MenuHeight);
  if (f.Windowstate == swsMin) {
    p.buffer = Rect(0, 0, W, H);
    p.title = Rect(0, 0, W, bw.Top);
  } else {
    p.buffer = Rect(0, 0, W, bw.Top);
    p.title = Rect(bw.Left, 0, W - bw.Right, bw.Top);
  }
  return p;
}

int BorderImage(const TDataSkinBorder& e, bool active) { return active || e.frame <= 1 ? 1 : 2; }

TCaptionPlacement PlaceCaption(const TFrameShape& f, const TDataSkinTitle& title, const TRect& R, const TRect& measured,
                               int RightBtn, bool popup) {
  TRect M = measured;
  M.Right += title.backleft + title.backright;
  const int TW = M.Width(), RW = R.Width();
  int x = 0;
  switch (title.Aligment) {
    case 0: x = title.r.Left; break;
    case 1: x = (RW - TW) / 2; break;
    case 2: x = RW - title.r.Right - TW; break;
    default: break;
  }
  if (f.bidileft) {
    switch (title.Aligment) {
      case 0: x = RW - RightBtn - TW; break;
      case 1: x = (RW - TW - RightBtn) / 2; break;
      case 2: x = title.r.Left; break;
      default: break;
    }
  }
  const int y = (R.Height() - M.Height()) / 2 + title.r.Top / 2;
  M = Moved(M, x, y);
  if (f.bidileft) {
    if (x <= 0) M.Left = title.r.Left;
    M = Moved(M, 10, 0);
  } else if (popup) {
    // Popups (message boxes and the like) keep the text off their buttons.
    if (RightBtn > 5) M.Right = std::min(M.Right, R.Right - RightBtn - 5);
  } else {
    M.Right = std::min(M.Right, R.Right - title.r.Right);
  }
  // Dialogs show no icon, so a left-aligned caption takes its place.
  if (f.FormBorder == sbsDialog && title.Aligment == 0) M.Left -= 16;

  TCaptionPlacement out;
  out.ctr = M;
  out.back = Rect(M.Left, R.Top, M.Right, R.Bottom);
  out.backImage = f.FWindowActive ? 1 : 2;
  out.text = Rect(M.Left + title.backleft, M.Top, M.Right - title.backright, M.Bottom);
  // DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, right to left with
  // DT_RIGHT | DT_RTLREADING.
  out.format = f.bidileft ? 0x28822u : 0x8820u;
  return out;
}

// ---- Window region ------------------------------------------------------------

bool CropNeeded(const TFrameShape& f, TSkinFormState skinstate, bool sMainMenu, int W, int H, int crwidth,
                int crheight) {
  if (skinstate == TSkinFormState::Dead || !sMainMenu) return false;
  if (W <= 0 || H <= 0) return false;
  const bool mdiChild = f.FormStyle == sfsMDIChild;
  if (mdiChild && f.Windowstate != swsNormal) return false;
  if (W == crwidth && H == crheight && !mdiChild && skinstate != TSkinFormState::Changing) return false;
  return true;
}

TRegionPlan FrameRegionPlan(const TFrameShape& f, int W, int H, const std::array<int32_t, 4>& trans) {
  TRegionPlan p;
  if (std::all_of(trans.begin(), trans.end(), [](int32_t t) { return t == 0; })) {
    p.base = Upright(0, 0, W, H);
    return p;
  }
  const TRect& bw = f.bw;
  p.shaped = true;
  p.base = Upright(bw.Left, bw.Top, W - bw.Right, H - bw.Bottom);
  if (f.FormBorder == sbsNone) return p;
  p.hasPieces = true;
  p.left.rect = Upright(0, 0, bw.Left, H);
  p.left.fromImage = trans[0] == 1 && H > 1 && HasArea(p.left.rect);
  p.right.rect = Upright(W - bw.Right, 0, W, H);
  p.right.fromImage = trans[1] == 1 && H > 1 && HasArea(p.right.rect);
  p.top.rect = Upright(bw.Left, 0, W - bw.Right, bw.Top);
  p.top.fromImage = trans[2] == 1 && bw.Top > 1 && HasArea(p.top.rect);
  // A bottom border thinner than 2 pixels has nothing worth cutting.
  p.bottom.rect = Upright(bw.Left, H - bw.Bottom, W - bw.Right, H);
  p.bottom.fromImage = trans[3] == 1 && bw.Bottom >= 2 && HasArea(p.bottom.rect);
  return p;
}

}  // namespace qv
