// The application object: its hidden window, the message loop, form
// creation and the default error box.
#pragma once
#include <windows.h>

#include "platform/win/Forms.h"
#include "platform/win/StartupTrace.h"

namespace qv {

class TApplication : public TComponent {
  QV_CLASS(TApplication)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize();
  const String& Title() const { return title_; }
  void SetTitle(const String& title);
  bool MainFormOnTaskBar() const { return mainFormOnTaskBar_; }
  void SetMainFormOnTaskBar(bool v) { mainFormOnTaskBar_ = v; }
  // The hidden window that owns the forms and carries the program's icon.
  HWND Handle() const { return handle_; }
  TCustomForm* MainForm() const { return mainForm_; }
  TIcon& Icon() { return icon_; }
  // Hover delays of hints in ms: before one shows, and how long it stays.
  int HintPause() const { return hintPause_; }
  void SetHintPause(int v) { hintPause_ = v; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int v) { hintHidePause_ = v; }

  // Creates a form of class T owned by the application; the reference is set
  // before the form resource is read, as event handlers may use it.
  template <class T>
  void CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    form->InitInheritedComponent();
    form->DoCreate();
    StartupMark("form read and its OnCreate run");
    if (!mainForm_) {
      form->HandleNeeded();
      mainForm_ = form;
    }
  }

  void Run();
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // The error box: the message with a '.' added when its last character
  // sorts above '.', the title as caption, the error icon.
  void ShowException(const String& message);

 private:
  static String ExtractProgramName();
  bool ProcessMessage(MSG& msg);
  HWND handle_ = nullptr;
  String title_;
  bool mainFormOnTaskBar_ = false;
  bool terminated_ = false;
  TCustomForm* mainForm_ = nullptr;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  TIcon icon_;
};

// The one application object (created by InitApplication, freed by DoneApplication).
extern TApplication* Application;
void InitApplication();
void DoneApplication();
// Where an event handler's uncaught error goes: the application's error box.
void HandleApplicationException(const String& message);

}  // namespace qv
