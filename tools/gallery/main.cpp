// The control gallery program: the skinned form of every control family and
// the raw dialog beside it.
#include <windows.h>
#include <commctrl.h>

#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "skin/data/WinSkinData.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/RawDialog.h"

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

// One line per family; the cells run left to right, then the next row.
const TAddFamily kFamilies[] = {
    AddStandardControls,
    AddButtonControls,
    AddComboControls,
    AddBarAndPlayerControls,
    AddTabAndCheckControls,
};

constexpr int kCellWidth = 230, kCellHeight = 200, kColumns = 3, kMargin = 8;

void AddFamilies(TForm& form) {
  int i = 0;
  for (TAddFamily add : kFamilies) {
    const int x = kMargin + (i % kColumns) * kCellWidth, y = kMargin + (i / kColumns) * kCellHeight;
    add(form, Bounds(x, y, kCellWidth - kMargin, kCellHeight - kMargin));
    ++i;
  }
}

}  // namespace

void MapControlClass(TForm& form, StringView line) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* skin = As<TSkinData>(form.Components(i)); skin && skin->Skin3rd()) skin->Skin3rd()->Add(line);
}

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
  AddFamilies(*form);
  Application->ProcessMessages();
  ShowRawDialog(instance, form->Handle());
  Application->Run();
  DoneApplication();
  return 0;
}
