#include "platform/win/Timer.h"

#include "platform/core/CallEvent.h"
#include "platform/win/ObjectInstance.h"

namespace qv {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

const TClassInfo& TTimer::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTimer>(u"TTimer", TComponent::StaticClass())
                                      .Bool(u"Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
                                      .Int(u"Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
                                      .Event(u"OnTimer", &TTimer::OnTimer)
                                      .Done();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  UpdateTimer();
}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
  DeallocateHWnd(window_);
  window_ = nullptr;
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  if (v == interval_) return;
  interval_ = v;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (running_) {
    KillTimer(window_, kTimerId);
    running_ = false;
  }
  if (!enabled_ || interval_ == 0 || !window_) return;
  if (!SetTimer(window_, kTimerId, interval_, nullptr)) throw EOSError(u"Not enough timers available");
  running_ = true;
}

void TTimer::WndProc(TMessage& message) {
  if (message.Msg == WM_TIMER) {
    // KillTimer leaves a WM_TIMER that is already queued: a stopped timer
    // ignores it.
    if (message.WParam == kTimerId && running_) Timer();
    // The handler may have freed this object: nothing after it touches it.
    return;
  }
  message.Result = DefWindowProcW(window_, message.Msg, message.WParam, message.LParam);
}

void TTimer::Timer() {
  CallEvent(OnTimer, this);
}

}  // namespace qv
