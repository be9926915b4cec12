// Combo boxes of the class library in every style, each filled with enough
// items for its list to scroll.
#include "platform/win/ComboBox.h"
#include "platform/win/StdCtrls.h"
#include "tools/gallery/Gallery.h"

namespace qv {

void AddComboControls(TForm& form, const TRect& cell) {
  // Without this line a combo box, whose window has WS_VSCROLL, is taken
  // for a scrolling control and keeps the system's button and list bar.
  MapControlClass(form, u"TComboBox=combobox");
  const int x = cell.Left, y = cell.Top;
  auto* title = new TLabel(&form);
  title->SetBounds(x, y, 200, 16);
  title->SetParent(&form);
  title->SetCaption(u"Combo boxes");
  const TComboBoxStyle styles[] = {csDropDown, csDropDownList, csOwnerDrawFixed, csSimple};
  int top = y + 20;
  for (TComboBoxStyle style : styles) {
    auto* c = new TComboBox(&form);
    c->SetStyle(style);
    c->SetBounds(x, top, 200, style == csSimple ? 70 : 21);
    c->SetParent(&form);
    for (int i = 1; i <= 15; ++i) c->Items()->Add(u"Combo item " + IntToStr(i));
    c->SetItemIndex(static_cast<int>(style));
    top += style == csSimple ? 76 : 28;
  }
}

}  // namespace qv
