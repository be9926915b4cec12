// The main program: application object, main form, message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "platform/win/Application.h"
#include "platform/win/StartupTrace.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace qv;
  StartupMark("program entered");
  InitApplication();
  StartupMark("application object and window made");
  Application->Initialize();
  Application->SetMainFormOnTaskBar(true);
  Application->SetTitle(u"Marrowick作品");
  Application->CreateForm(Form1);
  StartupMark("main form made: streamed, skin loaded, created, windows made");
  Application->Run();
  DoneApplication();
  return 0;
}
