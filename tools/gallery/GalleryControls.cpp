// The gallery's form filled: each family in its cell, and the skin
// component told which skin each class of the families takes.
#include "platform/core/TypInfo.h"
#include "skin/data/WinSkinData.h"
#include "tools/gallery/Gallery.h"

namespace qv {

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

}  // namespace

void AddGalleryControls(TForm& form) {
  int i = 0;
  for (TAddFamily add : kFamilies) {
    const int x = kMargin + (i % kColumns) * kCellWidth, y = kMargin + (i / kColumns) * kCellHeight;
    add(form, Bounds(x, y, kCellWidth - kMargin, kCellHeight - kMargin));
    ++i;
  }
}

void MapControlClass(TForm& form, StringView line) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* skin = As<TSkinData>(form.Components(i)); skin && skin->Skin3rd()) skin->Skin3rd()->Add(line);
}

}  // namespace qv
