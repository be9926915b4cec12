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
  Place<TCheckBox>(form, Bounds(4, 4, 100, 17), u"Check box", page)->SetChecked(true);
  auto* grey = Place<TCheckBox>(form, Bounds(108, 4, 100, 17), u"Grey check", page);
  grey->SetAllowGrayed(true);
  grey->SetState(cbGrayed);
  Place<TCheckBox>(form, Bounds(4, 24, 100, 17), u"Left text", page)->SetAlignment(taLeftJustify);
  auto* off = Place<TCheckBox>(form, Bounds(108, 24, 100, 17), u"Disabled check", page);
  off->SetChecked(true);
  off->SetEnabled(false);
  Place<TRadioButton>(form, Bounds(4, 44, 100, 17), u"Radio one", page)->SetChecked(true);
  Place<TRadioButton>(form, Bounds(108, 44, 100, 17), u"Radio two", page);
  auto* radios = Place<TRadioGroup>(form, Bounds(4, 66, 100, 88), u"Radio group", page);
  TStringList items;
  SetLines(&items, {u"Choice A", u"Choice B", u"Choice C"});
  radios->SetItems(&items);
  radios->SetItemIndex(1);
  auto* checks = Place<TCheckGroup>(form, Bounds(108, 66, 100, 88), u"Check group", page);
  items.Clear();
  SetLines(&items, {u"Option A", u"Option B", u"Option C"});
  checks->SetItems(&items);
  checks->SetChecked(0, true);
}

void AddTabPage(TForm& form, TTabSheet* page) {
  auto* tabs = Place<TTabControl>(form, Bounds(4, 4, 204, 56), u"Tab control", page);
  SetLines(tabs->Tabs(), {u"Tab one", u"Tab two", u"Tab three"});
  tabs->SetTabIndex(1);
  auto* set = Place<TTabSet>(form, Bounds(4, 64, 204, 21), u"Tab set", page);
  SetLines(set->Tabs(), {u"Set one", u"Set two", u"Set three"});
  set->SetTabIndex(0);
  auto* notebook = Place<TTabbedNotebook>(form, Bounds(4, 90, 100, 64), u"Tabbed notebook", page);
  TStringList names;
  SetLines(&names, {u"Pg 1", u"Pg 2"});
  notebook->SetPageNames(&names);
  auto* adv = Place<TAdvPageControl>(form, Bounds(108, 90, 100, 64), u"Picture tabs", page);
  Sheet(form, adv, u"Adv 1");
  Sheet(form, adv, u"Adv 2");
}

void AddGroupPage(TForm& form, TTabSheet* page) {
  auto* group = Place<TGroupBox>(form, Bounds(4, 4, 204, 70), u"Group box", page);
  Place<TCheckBox>(form, Bounds(10, 20, 180, 17), u"Inside the group", group);
  Place<TRadioButton>(form, Bounds(10, 42, 180, 17), u"Radio in group", group)->SetChecked(true);
  auto* panel = Place<TPanel>(form, Bounds(4, 80, 204, 70), u"", page);
  Place<TCheckBox>(form, Bounds(10, 10, 180, 17), u"On a panel", panel)->SetChecked(true);
  Place<TCheckBox>(form, Bounds(10, 34, 180, 34), u"Words that wrap on to a second line", panel)->SetWordWrap(true);
}

}  // namespace

void AddTabAndCheckControls(TForm& form, const TRect& cell) {
  for (const char16_t* line : kSkin3rd) MapControlClass(form, line);
  auto* pages = Place<TPageControl>(form, cell, u"Pages");
  AddCheckPage(form, Sheet(form, pages, u"Checks"));
  AddTabPage(form, Sheet(form, pages, u"Tabs"));
  AddGroupPage(form, Sheet(form, pages, u"Groups"));
  pages->SetActivePageIndex(0);
}

}  // namespace qv
