#include "platform/win/ComCtrls.h"

#include <commctrl.h>

#include "platform/core/CallEvent.h"
#include "platform/core/TypInfo.h"

namespace qv {

namespace {
const TEnumInfo kTrackBarOrientationInfo{{u"trHorizontal", u"trVertical"}};
const TEnumInfo kProgressBarOrientationInfo{{u"pbHorizontal", u"pbVertical"}};
}  // namespace

// --- TTrackBar --------------------------------------------------------------

const TClassInfo& TTrackBar::StaticClass() {
  using T = TTrackBar;
  static const TClassInfo& info =
      TClassBuilder<T>(u"TTrackBar", TWinControl::StaticClass())
          .Int(u"Min", &T::Min, &T::SetMin, 0)
          .Int(u"Max", &T::Max, &T::SetMax, 10)
          .Int(u"Position", &T::Position, &T::SetPosition, 0)
          .Int(u"Frequency", &T::Frequency, &T::SetFrequency, 1)
          .Enum(u"Orientation", &T::Orientation, &T::SetOrientation, kTrackBarOrientationInfo, trHorizontal)
          .Event(u"OnChange", &T::OnChange)
          .Done();
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150, height_ = 45;
  tabStop_ = true;
  // The slider lies on its parent's background.
  parentColor_ = true;
  color_ = clBtnFace;
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"msctls_trackbar32";
  p.style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::InitializeWnd() {
  TWinControl::InitializeWnd();
  SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(handle_, TBM_SETTICFREQ, frequency_, 0);
  SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetMin(int v) {
  min_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETRANGEMIN, TRUE, v);
  Changed();
}

void TTrackBar::SetMax(int v) {
  max_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, v);
  Changed();
}

int TTrackBar::Position() const {
  return handle_ ? static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0)) : position_;
}

void TTrackBar::SetPosition(int v) {
  if (handle_) SendMessageW(handle_, TBM_SETPOS, TRUE, v);
  else position_ = v < min_ ? min_ : v > max_ ? max_ : v;
  Changed();
}

void TTrackBar::SetFrequency(int v) {
  frequency_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETTICFREQ, v, 0);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  // The system control takes its direction only at creation.
  if (handle_) {
    position_ = Position();
    RecreateWnd();
  }
}

// The range may move the position too (the control keeps it inside).
void TTrackBar::Changed() {
  const int now = Position();
  if (now == position_) return;
  position_ = now;
  CallEvent(OnChange, this);
}

void TTrackBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      Changed();
      m.Result = 0;
      return;
    case WM_DESTROY:
      // The position outlives a re-created window.
      position_ = Position();
      break;
    default:
      break;
  }
  TWinControl::Dispatch(m);
}

// --- TProgressBar -----------------------------------------------------------

const TClassInfo& TProgressBar::StaticClass() {
  using T = TProgressBar;
  static const TClassInfo& info =
      TClassBuilder<T>(u"TProgressBar", TWinControl::StaticClass())
          .Int(u"Min", &T::Min, &T::SetMin, 0)
          .Int(u"Max", &T::Max, &T::SetMax, 100)
          .Int(u"Position", &T::Position, &T::SetPosition, 0)
          .Enum(u"Orientation", &T::Orientation, &T::SetOrientation, kProgressBarOrientationInfo, pbHorizontal)
          .Bool(u"Smooth", &T::Smooth, &T::SetSmooth, false)
          .Done();
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150, height_ = 17;
  color_ = clBtnFace;
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClassName = u"msctls_progress32";
  if (orientation_ == pbVertical) p.style |= PBS_VERTICAL;
  if (smooth_) p.style |= PBS_SMOOTH;
}

void TProgressBar::InitializeWnd() {
  TWinControl::InitializeWnd();
  SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
  SendMessageW(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (handle_) SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
}

void TProgressBar::SetMax(int v) {
  max_ = v;
  if (handle_) SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
}

int TProgressBar::Position() const {
  return handle_ ? static_cast<int>(SendMessageW(handle_, PBM_GETPOS, 0, 0)) : position_;
}

void TProgressBar::SetPosition(int v) {
  position_ = v;
  if (handle_) SendMessageW(handle_, PBM_SETPOS, v, 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  if (handle_) {
    position_ = Position();
    RecreateWnd();
  }
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  if (handle_) {
    position_ = Position();
    RecreateWnd();
  }
}

}  // namespace qv
