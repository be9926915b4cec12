// The control skins of a skinned window. Choosing and attaching a skin per
// child control comes with the control skins; until then a skinned window
// keeps its controls as they are, and InitControls only drops the skins of
// controls whose windows are gone.
#include "skin/windows/WinSkinForm.h"

namespace qv {

void TWinSkinForm::InitControls(TWinControl* /*wForm*/) { PurgeControls(); }

void TWinSkinForm::InitHwndControls(HWND /*hwnd*/) {}

void TWinSkinForm::AddControlh(HWND /*hwnd*/) {}

}  // namespace qv
