// The plain standard controls: a push button, an edit, a memo with scroll
// bars and a panel, each with a caption the tests find it by.
#include "platform/win/StdCtrls.h"
#include "tools/gallery/Gallery.h"

namespace qv {

namespace {

template <class T>
T* Place(TForm& form, TWinControl* parent, const TRect& r) {
  auto* c = new T(&form);
  c->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  c->SetParent(parent);
  return c;
}

}  // namespace

void AddStandardControls(TForm& form, const TRect& cell) {
  const int x = cell.Left, y = cell.Top;
  Place<TLabel>(form, &form, Bounds(x, y, 200, 16))->SetCaption(u"Standard controls");
  Place<TButton>(form, &form, Bounds(x, y + 20, 90, 25))->SetCaption(u"Push button");
  auto* disabled = Place<TButton>(form, &form, Bounds(x + 96, y + 20, 90, 25));
  disabled->SetCaption(u"Disabled button");
  disabled->SetEnabled(false);
  Place<TEdit>(form, &form, Bounds(x, y + 52, 186, 21))->SetText(u"Edit box");
  auto* memo = Place<TMemo>(form, &form, Bounds(x, y + 80, 186, 70));
  memo->SetScrollBars(ssBoth);
  memo->SetText(u"Memo line 1\r\nMemo line 2\r\nMemo line 3\r\nMemo line 4\r\nMemo line 5\r\n"
                u"Memo line 6 is a long one that runs past the right edge");
  Place<TPanel>(form, &form, Bounds(x, y + 156, 186, 30))->SetCaption(u"Panel");
}

}  // namespace qv
