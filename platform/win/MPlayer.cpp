#include "platform/win/MPlayer.h"

#include <algorithm>

#include "platform/core/CallEvent.h"
#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"

namespace qv {

const TEnumInfo kMPBtnTypeInfo{
    {u"btPlay", u"btPause", u"btStop", u"btNext", u"btPrev", u"btStep", u"btBack", u"btRecord", u"btEject"}};

namespace {
const TEnumInfo kMPModesInfo{
    {u"mpNotReady", u"mpStopped", u"mpPlaying", u"mpRecording", u"mpSeeking", u"mpPaused", u"mpOpen"}};

bool Has(TButtonSet s, int b) { return (s >> b) & 1u; }

// The glyph colours of the coloured look; the plain look draws them black.
COLORREF GlyphColour(TMPBtnType b) {
  switch (b) {
    case btPlay: return RGB(0, 128, 0);
    case btPause: return RGB(160, 120, 0);
    case btStop: return RGB(160, 0, 0);
    case btRecord: return RGB(200, 0, 0);
    default: return RGB(0, 0, 128);
  }
}
}  // namespace

TButtonSet MPButtonsForMode(TMPModes mode) {
  const TButtonSet moving = MPButtons({btNext, btPrev, btStep, btBack, btEject});
  switch (mode) {
    case mpStopped: return moving | MPButtons({btPlay, btRecord});
    case mpPlaying:
    case mpRecording: return moving | MPButtons({btPause, btStop});
    case mpPaused: return moving | MPButtons({btPlay, btPause, btStop});
    case mpOpen: return MPButtons({btEject});
    default: return 0;
  }
}

const TClassInfo& TMediaPlayer::StaticClass() {
  using T = TMediaPlayer;
  static const TClassInfo& info =
      TClassBuilder<T>(u"TMediaPlayer", TCustomControl::StaticClass())
          .SetOf(u"VisibleButtons", &T::VisibleButtons, &T::SetVisibleButtons, kMPBtnTypeInfo, kAllMPButtons)
          .SetOf(u"EnabledButtons", &T::EnabledButtons, &T::SetEnabledButtons, kMPBtnTypeInfo)
          .SetOf(u"ColoredButtons", &T::ColoredButtons, &T::SetColoredButtons, kMPBtnTypeInfo, kAllMPButtons)
          .Bool(u"AutoEnable", &T::AutoEnable, &T::SetAutoEnable, true)
          .Enum(u"Mode", &T::Mode, nullptr, kMPModesInfo)
          .Int(u"Position", &T::Position, &T::SetPosition, 0)
          .Int(u"Length", &T::Length, &T::SetLength, 100)
          .Event(u"OnClick", &T::OnClick)
          .Done();
  return info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
  width_ = 253, height_ = 30;
  color_ = clBtnFace;
  tabStop_ = true;
}

// ---------------------------------------------------------------------------
// State

void TMediaPlayer::SetVisibleButtons(TButtonSet v) {
  visible_ = v & kAllMPButtons;
  Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet v) {
  enabledButtons_ = v & kAllMPButtons;
  Invalidate();
}

void TMediaPlayer::SetColoredButtons(TButtonSet v) {
  colored_ = v & kAllMPButtons;
  Invalidate();
}

void TMediaPlayer::SetAutoEnable(bool v) {
  autoEnable_ = v;
  if (v) SetEnabledButtons(MPButtonsForMode(mode_));
}

void TMediaPlayer::SetMode(TMPModes mode) {
  mode_ = mode;
  if (autoEnable_) SetEnabledButtons(MPButtonsForMode(mode));
}

void TMediaPlayer::SetPosition(int v) { position_ = std::clamp(v, 0, length_); }

void TMediaPlayer::SetLength(int v) {
  length_ = std::max(0, v);
  SetPosition(position_);
}

void TMediaPlayer::Open() {
  position_ = 0;
  SetMode(mpStopped);
}

void TMediaPlayer::Close() { SetMode(mpNotReady); }

void TMediaPlayer::Play() {
  if (mode_ == mpStopped || mode_ == mpPaused) SetMode(mpPlaying);
}

// Pause again resumes.
void TMediaPlayer::Pause() {
  if (mode_ == mpPlaying || mode_ == mpRecording) SetMode(mpPaused);
  else if (mode_ == mpPaused) SetMode(mpPlaying);
}

void TMediaPlayer::Stop() {
  if (mode_ == mpPlaying || mode_ == mpRecording || mode_ == mpPaused) SetMode(mpStopped);
}

void TMediaPlayer::Next() {
  if (mode_ != mpNotReady && mode_ != mpOpen) SetPosition(length_);
}

void TMediaPlayer::Previous() {
  if (mode_ != mpNotReady && mode_ != mpOpen) SetPosition(0);
}

void TMediaPlayer::Step() {
  if (mode_ != mpNotReady && mode_ != mpOpen) SetPosition(position_ + 1);
}

void TMediaPlayer::Back() {
  if (mode_ != mpNotReady && mode_ != mpOpen) SetPosition(position_ - 1);
}

void TMediaPlayer::StartRecording() {
  if (mode_ == mpStopped) SetMode(mpRecording);
}

// Out and back in again.
void TMediaPlayer::Eject() {
  if (mode_ == mpOpen) Open();
  else if (mode_ != mpNotReady) SetMode(mpOpen);
}

void TMediaPlayer::ClickButton(TMPBtnType button) {
  bool doDefault = true;
  CallEvent(OnClick, this, button, doDefault);
  if (!doDefault) return;
  switch (button) {
    case btPlay: Play(); break;
    case btPause: Pause(); break;
    case btStop: Stop(); break;
    case btNext: Next(); break;
    case btPrev: Previous(); break;
    case btStep: Step(); break;
    case btBack: Back(); break;
    case btRecord: StartRecording(); break;
    case btEject: Eject(); break;
  }
}

// ---------------------------------------------------------------------------
// Layout, mouse, painting

int TMediaPlayer::ButtonAt(int x) const {
  int count = 0;
  for (int b = 0; b < kMPButtonCount; ++b) count += Has(visible_, b);
  if (count == 0) return -1;
  const int w = width_ / count;
  int left = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!Has(visible_, b)) continue;
    if (x >= left && x <= left + w) return b;
    left += w;
  }
  return -1;
}

void TMediaPlayer::Dispatch(TMessage& m) {
  switch (m.Msg) {
    // The press lasts until the button comes up, also when something else
    // takes the mouse meanwhile (an overlay handing presses on).
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = ButtonAt(PointFromLParam(m.LParam).X);
      if (pressed_ >= 0 && !Has(enabledButtons_, pressed_)) pressed_ = -1;
      if (handle_) SetCapture(handle_);
      Invalidate();
      break;
    case WM_LBUTTONUP: {
      const int was = pressed_;
      pressed_ = -1;
      if (handle_ && GetCapture() == handle_) ReleaseCapture();
      Invalidate();
      if (was >= 0 && ButtonAt(PointFromLParam(m.LParam).X) == was)
        ClickButton(static_cast<TMPBtnType>(was));
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}

void TMediaPlayer::Paint() {
  HDC dc = Canvas().Handle();
  Canvas().SetBrushColor(color_);
  Canvas().FillRect(RECT{0, 0, width_, height_});
  int count = 0;
  for (int b = 0; b < kMPButtonCount; ++b) count += Has(visible_, b);
  if (count == 0) return;
  const int w = width_ / count;
  int left = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!Has(visible_, b)) continue;
    DrawButton(dc, RECT{left, 0, left + w, height_}, static_cast<TMPBtnType>(b), Has(enabledButtons_, b) && enabled_,
               pressed_ == b);
    left += w;
  }
}

void TMediaPlayer::DrawButton(HDC dc, const RECT& cell, TMPBtnType button, bool enabled, bool pressed) {
  RECT r = cell;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const COLORREF ink = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                                : Has(colored_, button) ? GlyphColour(button) : RGB(0, 0, 0);
  OwnedBrush brush(CreateSolidBrush(ink));
  OwnedPen pen(CreatePen(PS_SOLID, 1, ink));
  SelectGuard brushSelected(dc, brush), penSelected(dc, pen);
  const int d = pressed ? 1 : 0;
  const int cx = (cell.left + cell.right) / 2 + d, cy = (cell.top + cell.bottom) / 2 + d;
  // Shapes on a 10 x 10 grid around the centre.
  auto tri = [&](int x0, int x1) {  // pointing from x0 to x1
    const POINT p[3] = {{cx + x0, cy - 4}, {cx + x0, cy + 4}, {cx + x1, cy}};
    Polygon(dc, p, 3);
  };
  auto bar = [&](int x0, int x1) { Rectangle(dc, cx + x0, cy - 4, cx + x1, cy + 5); };
  switch (button) {
    case btPlay: tri(-3, 4); break;
    case btPause: bar(-4, -1), bar(2, 5); break;
    case btStop: bar(-4, 5); break;
    case btNext: tri(-4, 2), bar(3, 5); break;
    case btPrev: bar(-4, -2), tri(3, -3); break;
    case btStep: tri(-4, 0), tri(0, 4); break;
    case btBack: tri(4, 0), tri(0, -4); break;
    case btRecord: Ellipse(dc, cx - 4, cy - 4, cx + 5, cy + 5); break;
    case btEject: {
      const POINT p[3] = {{cx - 5, cy + 1}, {cx + 5, cy + 1}, {cx, cy - 5}};
      Polygon(dc, p, 3);
      Rectangle(dc, cx - 5, cy + 3, cx + 6, cy + 5);
      break;
    }
  }
}

}  // namespace qv
