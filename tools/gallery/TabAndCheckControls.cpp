// Tabs, check boxes, radio buttons, group boxes and panels: a page control
// filling the cell, whose pages hold the check and radio controls, the
// groups and the other tab controls, each with a caption the tests find it
// by. The skin component learns which skin each of these classes takes.
#include "platform/win/CheckControls.h"
#include "platform/win/TabControls.h"
#include "tools/gallery/Gallery.h"

namespace qv {

namespace {

const char16_t* const kSkin3rd[] = {
    u"TCheckBox=checkbox",   u"TRadioButton=radiobutton", u"TGroupBox=groupbox",
    u"TRadioGroup=radiogroup", u"TCheckGroup=checkgroup",   u"TTabControl=tab",
    u"TPageControl=tab",     u"TAdvPageControl=advpagecontrol",
};

template <class T>
T* Put(TForm& form, TWinControl* parent, int x, int y, int w, int h, const char16_t* caption) {
  auto* c = new T(&form);
  c->SetBounds(x, y, w, h);
  c->SetCaption(caption);
  c->SetParent(parent);
  return c;
}

TTabSheet* Sheet(TForm& form, TPageControl* pages, const char16_t* caption) {
  auto* sheet = new TTabSheet(&form);
  sheet->SetCaption(caption);
  sheet->SetPageControl(pages);
  return sheet;
}

void SetLines(TStrings* lines, std::initializer_list<const char16_t*> texts) {
  for (const char16_t* t : texts) lines->Add(t);
}

void AddCheckPage(TForm& form, TTabSheet* page) {
  Put<TCheckBox>(form, page, 4, 4, 100, 17, u"Check box")->SetChecked(true);
  auto* grey = Put<TCheckBox>(form, page, 108, 4, 100, 17, u"Grey check");
  grey->SetAllowGrayed(true);
  grey->SetState(cbGrayed);
  Put<TCheckBox>(form, page, 4, 24, 100, 17, u"Left text")->SetAlignment(taLeftJustify);
  auto* off = Put<TCheckBox>(form, page, 108, 24, 100, 17, u"Disabled check");
  off->SetChecked(true);
  off->SetEnabled(false);
  Put<TRadioButton>(form, page, 4, 44, 100, 17, u"Radio one")->SetChecked(true);
  Put<TRadioButton>(form, page, 108, 44, 100, 17, u"Radio two");
  auto* radios = Put<TRadioGroup>(form, page, 4, 66, 100, 88, u"Radio group");
  TStringList items;
  SetLines(&items, {u"Choice A", u"Choice B", u"Choice C"});
  radios->SetItems(&items);
  radios->SetItemIndex(1);
  auto* checks = Put<TCheckGroup>(form, page, 108, 66, 100, 88, u"Check group");
  items.Clear();
  SetLines(&items, {u"Option A", u"Option B", u"Option C"});
  checks->SetItems(&items);
  checks->SetChecked(0, true);
}

void AddTabPage(TForm& form, TTabSheet* page) {
  auto* tabs = Put<TTabControl>(form, page, 4, 4, 204, 56, u"Tab control");
  SetLines(tabs->Tabs(), {u"Tab one", u"Tab two", u"Tab three"});
  tabs->SetTabIndex(1);
  auto* set = Put<TTabSet>(form, page, 4, 64, 204, 21, u"Tab set");
  SetLines(set->Tabs(), {u"Set one", u"Set two", u"Set three"});
  set->SetTabIndex(0);
  auto* notebook = Put<TTabbedNotebook>(form, page, 4, 90, 100, 64, u"Tabbed notebook");
  TStringList names;
  SetLines(&names, {u"Pg 1", u"Pg 2"});
  notebook->SetPageNames(&names);
  auto* adv = Put<TAdvPageControl>(form, page, 108, 90, 100, 64, u"Picture tabs");
  Sheet(form, adv, u"Adv 1");
  Sheet(form, adv, u"Adv 2");
}

void AddGroupPage(TForm& form, TTabSheet* page) {
  auto* group = Put<TGroupBox>(form, page, 4, 4, 204, 70, u"Group box");
  Put<TCheckBox>(form, group, 10, 20, 180, 17, u"Inside the group");
  Put<TRadioButton>(form, group, 10, 42, 180, 17, u"Radio in group")->SetChecked(true);
  auto* panel = Put<TPanel>(form, page, 4, 80, 204, 70, u"");
  Put<TCheckBox>(form, panel, 10, 10, 180, 17, u"On a panel")->SetChecked(true);
  Put<TCheckBox>(form, panel, 10, 34, 180, 34, u"Words that wrap on to a second line")->SetWordWrap(true);
}

}  // namespace

void AddTabAndCheckControls(TForm& form, const TRect& cell) {
  for (const char16_t* line : kSkin3rd) MapControlClass(form, line);
  auto* pages = Put<TPageControl>(form, &form, cell.Left, cell.Top, cell.Right - cell.Left, cell.Bottom - cell.Top,
                                  u"Pages");
  AddCheckPage(form, Sheet(form, pages, u"Checks"));
  AddTabPage(form, Sheet(form, pages, u"Tabs"));
  AddGroupPage(form, Sheet(form, pages, u"Groups"));
  pages->SetActivePageIndex(0);
}

}  // namespace qv
