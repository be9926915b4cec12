// TTimer: OnTimer every Interval milliseconds while Enabled, through a
// system timer on a hidden window of the creating thread. WM_TIMER goes
// through whatever message loop runs, so the timer keeps firing inside
// message boxes, menus and other modal loops.
#pragma once
#include <windows.h>

#include "platform/win/Controls.h"

namespace qv {

class TTimer : public TComponent {
  QV_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* owner);
  // May run inside the timer's own OnTimer.
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Milliseconds; 0 stops the timer.
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned v);

  // The handler may disable, re-time or free the timer.
  TNotifyEvent OnTimer;

  HWND WindowHandle() const { return window_; }

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& message);
  HWND window_ = nullptr;
  unsigned interval_ = 1000;
  bool enabled_ = true;
  bool running_ = false;
};

}  // namespace qv
