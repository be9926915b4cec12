#include "skin/controls/SkinControlList.h"

#include <algorithm>

#include "skin/controls/SkinControl.h"

namespace qv {

TControlSkinHost* ControlSkinHostOf(TComponent* skinform) { return dynamic_cast<TControlSkinHost*>(skinform); }

bool TSkinControlList::Add(TSkinControl* acontrol) {
  if (Listed(acontrol)) return true;
  acontrol->skinform = form_;
  Controllist.push_back(acontrol);
  return false;
}

void TSkinControlList::Remove(TSkinControl* acontrol) {
  Controllist.erase(std::remove(Controllist.begin(), Controllist.end(), acontrol), Controllist.end());
  if (Activeskincontrol == acontrol) Activeskincontrol = nullptr;
}

bool TSkinControlList::Listed(const TSkinControl* acontrol) const {
  return std::find(Controllist.begin(), Controllist.end(), acontrol) != Controllist.end();
}

TSkinControl* TSkinControlList::Find(HWND hwnd) const {
  for (TSkinControl* c : Controllist)
    if (c->hwnd == hwnd) return c;
  return nullptr;
}

void TSkinControlList::Free(bool unsubclass) {
  Activeskincontrol = nullptr;
  while (!Controllist.empty()) {
    TSkinControl* c = Controllist.front();
    if (unsubclass && c->skinstate != TControlSkinState::Dead) c->Unsubclass();
    // Letting go may have freed it (and the skins it owns) already.
    if (Listed(c)) delete c;
  }
}

void TSkinControlList::Purge() {
  // One at a time: a dead skin may take dead skins it owns along.
  for (;;) {
    auto dead =
        std::find_if(Controllist.begin(), Controllist.end(),
                     [](TSkinControl* c) { return c->skinstate == TControlSkinState::Dead; });
    if (dead == Controllist.end()) return;
    delete *dead;  // leaves the list itself
  }
}

void TSkinControlList::LeaveActive() {
  TSkinControl* left = Activeskincontrol;
  if (!left) return;
  Activeskincontrol = nullptr;
  left->MouseLeave();  // last: its handlers may free the window's skin
}

}  // namespace qv
