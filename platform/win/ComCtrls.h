// A track bar and a progress bar over the system's own controls. Each keeps
// its values in the object while it has no window and in the window once it
// has one.
#pragma once
#include "platform/win/Controls.h"

namespace qv {

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TProgressBarOrientation { pbHorizontal, pbVertical };

// A slider; OnChange runs whenever its position moves, by the program or by
// the user (thumb dragged, keys, clicks on the channel).
class TTrackBar : public TWinControl {
  QV_CLASS(TTrackBar)
 public:
  explicit TTrackBar(TComponent* owner);

  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetMin(int v);
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  void Changed();
  int min_ = 0, max_ = 10, position_ = 0, frequency_ = 1;
  TTrackBarOrientation orientation_ = trHorizontal;
};

class TProgressBar : public TWinControl {
  QV_CLASS(TProgressBar)
 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetMin(int v);
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};

}  // namespace qv
