// The control skins of one skinned window, as the form skin (TWinSkinForm)
// owns them: every skin attached to a control of the window is listed here
// and names the form as its skinform. A control skin enters through its own
// set-up (Add) and leaves only through its destructor (Remove), whoever
// frees it; so the list is never walked by a copy while skins are freed: a
// skin may free the skins it owns with it (a combo box's list skin).
#pragma once
#include <windows.h>

#include <vector>

namespace qv {

class TComponent;
class TSkinControl;
class TSkinControlList;

// What a control skin asks of the skinned window that lists it. The form
// skin answers; a control skin knows it only as its skinform.
class TControlSkinHost {
 public:
  virtual TSkinControlList& ControlSkins() = 0;
  // The skinned window, for the messages a control skin posts it.
  virtual HWND HostWindow() const = 0;

 protected:
  ~TControlSkinHost() = default;
};

// Null when skinform is none or not a form skin.
TControlSkinHost* ControlSkinHostOf(TComponent* skinform);

class TSkinControlList {
 public:
  // form: what every listed skin names as its skinform.
  explicit TSkinControlList(TComponent* form) : form_(form) {}
  TSkinControlList(const TSkinControlList&) = delete;
  TSkinControlList& operator=(const TSkinControlList&) = delete;

  // True if already listed; otherwise names the form as the skin's
  // skinform and appends it.
  bool Add(TSkinControl* acontrol);
  void Remove(TSkinControl* acontrol);
  bool Listed(const TSkinControl* acontrol) const;
  TSkinControl* Find(HWND hwnd) const;
  // Unsubclasses (when asked) and frees every skin, one at a time from the
  // live list.
  void Free(bool unsubclass);
  // Frees the skins whose windows are gone (TControlSkinState::Dead).
  void Purge();
  // The hot skin, if any, is told the mouse left it and is no longer hot.
  void LeaveActive();

  std::vector<TSkinControl*> Controllist;
  TSkinControl* Activeskincontrol = nullptr;  // the control skin under the mouse

 private:
  TComponent* form_;
};

}  // namespace qv
