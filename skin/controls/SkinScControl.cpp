#include "skin/controls/SkinScControl.h"

#include "platform/core/TypInfo.h"
#include "skin/controls/WScrollbar.h"

namespace qv {

const TClassInfo& TSkinScControl::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinScControl>(u"TSkinScControl", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinScControl::TSkinScControl(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScControl::~TSkinScControl() { FreeBar(); }

void TSkinScControl::FreeBar() {
  TWScrollbar* bar = sb;
  sb = nullptr;
  delete bar;
}

void TSkinScControl::InitScrollbar(TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  if (Inited || !acontrol) return;
  if (Owner() != acontrol) acontrol->InsertComponent(this);
  TSkinControl::Init(sf, sd, acanvas, false);
  if (!Inited) return;
  fCanvas = nullptr;
  sb = new TWScrollbar(this);
  // Hints are published properties of the controls that have them.
  for (StringView prop : {StringView(u"ShowHint"), StringView(u"Hint")}) {
    const TPropInfo* p = GetPropInfo(control, prop);
    if (!p || !GetPropInfo(sb, prop)) continue;
    const String value = p->kind == TPropKind::String ? GetStrPropByName(control, prop) : GetEnumPropByName(control, prop);
    if (!value.empty()) SetPropByName(sb, prop, value);
  }
  const TLifeToken alive = Alive();
  sb->Attach(this, control, 2);
  if (!alive || !sb || !control) return;
  if (!control->Visible()) sb->HideScrollbar();
}

void TSkinScControl::AfterProc(TMessage& Message) {
  if (!sb) {
    TSkinControl::AfterProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      sb->SetPosition(hwnd);
      return;
    case WM_NCPAINT:
      if (control && control->HandleAllocated()) hwnd = control->Handle();
      sb->SetPosition(hwnd);
      return;
    case SBM_SETSCROLLINFO:
    case CN_VSCROLL:
    case CN_HSCROLL:
      sb->Invalidate();
      return;
    case CM_VISIBLECHANGED:
      if (Message.WParam == 0) sb->HideScrollbar();
      else sb->SetPosition(hwnd);
      return;
    default:
      TSkinControl::AfterProc(Message);
  }
}

void TSkinScControl::DrawControl(HDC /*dc*/, const TRect& /*rc*/) {
  if (sb) sb->Invalidate();
}

void TSkinScControl::Unsubclass() {
  TSkinControl::Unsubclass();
  if (skinstate != TControlSkinState::Dead) FreeBar();
}

}  // namespace qv
