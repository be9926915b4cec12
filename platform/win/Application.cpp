#include "platform/win/Application.h"

#include <commctrl.h>

#include "platform/core/Dialogs.h"
#include "platform/core/Format.h"
#include "platform/core/TypInfo.h"
#include "platform/win/StartupTrace.h"
#include "platform/win/WinString.h"

namespace qv {

TApplication* Application = nullptr;

namespace {

LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == CM_RELEASE) {
    // A form asked to be freed once the message that asked has returned.
    auto* form = reinterpret_cast<TCustomForm*>(lparam);
    for (int i = 0; i < Screen().FormCount(); ++i) {
      if (Screen().Forms(i) == form) {
        delete form;
        break;
      }
    }
    return 0;
  }
  if (msg == WM_CLOSE && Application && Application->MainForm()) {
    Application->MainForm()->Close();
    return 0;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

HWND ActiveOwner() {
  HWND active = GetActiveWindow();
  if (active) return active;
  if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
    return Application->MainForm()->Handle();
  return Application ? Application->Handle() : nullptr;
}

}  // namespace

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TApplication>(u"TApplication", TComponent::StaticClass()).Done();
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_LINK_CLASS | ICC_DATE_CLASSES |
                                           ICC_USEREX_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  icon_.LoadFromResourceName(u"MAINICON");
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = instance;
  wc.hIcon = icon_.Handle();
  // Without a small icon of its own the class would have one scaled down
  // from the large one, which costs more than the icon load itself.
  wc.hIconSm = icon_.Handle();
  wc.lpszClassName = L"TApplication";
  RegisterClassExW(&wc);
  title_ = ExtractProgramName();
  handle_ = CreateWindowExW(0, L"TApplication", W(title_), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                            instance, nullptr);
  if (handle_ && icon_.Handle()) SetWindowIcons(handle_, icon_.Handle());
}

TApplication::~TApplication() {
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
}

String TApplication::ExtractProgramName() {
  String name = ProgramPath();
  const size_t slash = name.find_last_of(u"\\/");
  if (slash != String::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind(u'.');
  if (dot != String::npos) name.erase(dot);
  return name;
}

void TApplication::Initialize() {}

void TApplication::SetTitle(const String& title) {
  title_ = title;
  SetApplicationTitle(title);
  if (handle_) SetWindowTextW(handle_, W(title));
}

namespace {

// The keys the dialog manager would act on, and the characters it would
// take as mnemonics, go to the form first as CM_DIALOGKEY / CM_DIALOGCHAR
// unless the focused window asks for them itself; a non-zero answer
// means the form took the key.
bool OfferToForm(TCustomForm& form, MSG& msg) {
  UINT cm = 0;
  LRESULT want = 0;
  switch (msg.message) {
    case WM_KEYDOWN:
      switch (msg.wParam) {
        case VK_TAB: want = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: want = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: want = DLGC_WANTALLKEYS; break;
        default: return false;
      }
      cm = CM_DIALOGKEY;
      break;
    case WM_CHAR:
      want = DLGC_WANTCHARS;
      cm = CM_DIALOGCHAR;
      break;
    case WM_SYSCHAR:
      cm = CM_DIALOGCHAR;
      break;
    default:
      return false;
  }
  if (want && (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & want)) return false;
  return form.Perform(cm, msg.wParam, msg.lParam) != 0;
}

}  // namespace

bool TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  // Tab and the arrow keys move between the controls of the active form.
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    for (int i = 0; root && i < Screen().FormCount(); ++i) {
      TCustomForm* f = Screen().Forms(i);
      if (!f->HandleAllocated() || f->Handle() != root) continue;
      if (OfferToForm(*f, msg)) return true;
      if (IsDialogMessageW(root, &msg)) return true;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ProcessMessage(msg);
}

void TApplication::Run() {
  if (mainForm_) mainForm_->Show();
  StartupMark("main form shown");
  MSG msg;
  while (!terminated_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ShowException(const String& message) {
  MessageBoxW(ActiveOwner(), W(WithFullStop(message)), W(title_), MB_OK | MB_ICONERROR);
}

void InitApplication() {
  if (Application) return;
  Application = new TApplication(nullptr);
  SetMessageBoxHandler([](StringView text, StringView caption, unsigned flags) {
    const String t(text), c(caption);
    return MessageBoxW(ActiveOwner(), W(t), W(c), flags);
  });
}

void DoneApplication() {
  delete Application;
  Application = nullptr;
}

void HandleApplicationException(const String& message) {
  if (Application) {
    Application->ShowException(message);
  } else {
    MessageBoxW(nullptr, W(message), L"Error", MB_OK | MB_ICONERROR);
  }
}

}  // namespace qv
