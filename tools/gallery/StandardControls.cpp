// The plain standard controls: a push button, an edit, a memo with scroll
// bars and a panel, each with a caption the tests find it by.
#include "platform/win/StdCtrls.h"
#include "tools/gallery/Gallery.h"

namespace qv {

void AddStandardControls(TForm& form, const TRect& cell) {
  const int x = cell.Left, y = cell.Top;
  Place<TLabel>(form, Bounds(x, y, 200, 16), u"Standard controls");
  Place<TButton>(form, Bounds(x, y + 20, 90, 25), u"Push button");
  Place<TButton>(form, Bounds(x + 96, y + 20, 90, 25), u"Disabled button")->SetEnabled(false);
  Place<TEdit>(form, Bounds(x, y + 52, 186, 21), u"Edit box");
  auto* memo = Place<TMemo>(form, Bounds(x, y + 80, 186, 70),
                            u"Memo line 1\r\nMemo line 2\r\nMemo line 3\r\nMemo line 4\r\nMemo line 5\r\n"
                            u"Memo line 6 is a long one that runs past the right edge");
  memo->SetScrollBars(ssBoth);
  Place<TPanel>(form, Bounds(x, y + 156, 186, 30), u"Panel");
}

}  // namespace qv
