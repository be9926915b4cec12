// The control gallery program: the skinned form of every control family and
// the raw dialog beside it; skin files named on the command line are tried
// on them in turn.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "platform/win/WinString.h"
#include "skin/data/WinSkinData.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/RawDialog.h"
#include "tools/gallery/SkinTrial.h"

namespace qv {

// Its form resource carries only the skin component (with the program's own
// skin written in by the build); the controls are added in code.
class TGalleryForm : public TForm {
  QV_CLASS(TGalleryForm)
 public:
  explicit TGalleryForm(TComponent* owner) : TForm(owner) {}
  TSkinData* SkinData1 = nullptr;
};

const TClassInfo& TGalleryForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TGalleryForm>(u"TGalleryForm", TForm::StaticClass())
                                      .Field(u"SkinData1", &TGalleryForm::SkinData1)
                                      .Done();
  return info;
}

namespace {

std::vector<String> SkinFilesOfCommandLine() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<String> files;
  for (int i = 1; argv && i < argc; ++i) files.push_back(FromW(argv[i]));
  LocalFree(argv);
  return files;
}

}  // namespace

}  // namespace qv

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace qv;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_BAR_CLASSES |
                                           ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  InitApplication();
  Application->Initialize();
  Application->SetTitle(u"Control gallery");
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  AddGalleryControls(*form);
  Application->ProcessMessages();
  ShowRawDialog(instance, form->Handle());
  {
    const TSkinTrial trial(*form, *form->SkinData1, SkinFilesOfCommandLine());
    Application->Run();
  }
  DoneApplication();
  return 0;
}
