// The control gallery's form and raw dialog, made as the gallery makes them,
// with the program's skin loaded into a skin component not yet active: the
// tests that take every control kind through its paces start from here.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/win/Application.h"
#include "platform/win/WinString.h"
#include "tests/win/SkinWindowFixture.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/RawDialog.h"

namespace qvtest {

class GalleryFixture : public SkinWindowFixture {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_BAR_CLASSES |
                                             ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    qv::InitApplication();
    delete qv::SkinManager;
    form = Own(new qv::TForm(nullptr));
    form->SetCaption(u"Control gallery");
    form->SetBounds(8, 8, 720, 640);
    form->SetClientWidth(698);
    form->SetClientHeight(608);
    skin = new qv::TSkinData(form);
    skin->SetLoading();
    skin->LoadFromFile(qv::FromW(ProgramSkinPath().c_str()));
    skin->Loaded();
    ASSERT_FALSE(skin->Empty);
    qv::AddGalleryControls(*form);
    form->Show();
    dialog = Track(qv::ShowRawDialog(GetModuleHandleW(nullptr), form->Handle()));
    ASSERT_NE(dialog, nullptr);
  }

  // Both windows skinned (each skin is made when its window is activated;
  // the dialog took the focus when it was made).
  void Skin() {
    skin->SetActive(true);
    for (HWND w : {form->Handle(), dialog, form->Handle()}) {
      SetForegroundWindow(w);
      ASSERT_NE(WaitSkinned(w), nullptr);
    }
  }

  qv::TForm* form = nullptr;
  qv::TSkinData* skin = nullptr;
  HWND dialog = nullptr;
};

}  // namespace qvtest
