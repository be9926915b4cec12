// The main program: application object, main form, message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "platform/win/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace qv;
  InitApplication();
  Application->Initialize();
  Application->SetMainFormOnTaskBar(true);
  Application->SetTitle(u"Marrowick作品");
  Application->CreateForm(Form1);
  Application->Run();
  DoneApplication();
  return 0;
}
