// The control gallery: a skinned form holding the class-library controls,
// one family per file, each placed by its own function in a cell of the
// form, and beside it a raw dialog made from a dialog template. A place to
// look and the window the end-to-end control-skin tests drive.
#pragma once
#include "platform/core/Geometry.h"
#include "platform/core/UString.h"
#include "platform/win/Forms.h"

namespace qv {

// Every family's controls on form, whose skin component (when it has one)
// learns the classes' skins; called before the form is skinned.
void AddGalleryControls(TForm& form);

// One family's controls, placed inside cell (form client coordinates).
using TAddFamily = void (*)(TForm& form, const TRect& cell);

void AddStandardControls(TForm& form, const TRect& cell);
void AddButtonControls(TForm& form, const TRect& cell);
void AddComboControls(TForm& form, const TRect& cell);
void AddBarAndPlayerControls(TForm& form, const TRect& cell);
void AddTabAndCheckControls(TForm& form, const TRect& cell);

// Gives the controls of a class a kind of control skin (a line
// "class=kind" of the form's skin component); called before the form is
// skinned.
void MapControlClass(TForm& form, StringView line);

// A new control of the form, placed at r in parent (the form when none) with
// caption, the name the end-to-end tests find it by.
template <class T>
T* Place(TForm& form, const TRect& r, const String& caption, TWinControl* parent = nullptr) {
  auto* c = new T(&form);
  c->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  c->SetParent(parent ? parent : &form);
  c->SetCaption(caption);
  return c;
}

}  // namespace qv
