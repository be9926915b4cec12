#include "skin/data/WinSkinData.h"

#include "platform/core/CallEvent.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/StartupTrace.h"
#include "platform/win/WinString.h"
#include "skin/data/BuiltinBitmaps.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinApi.h"
#include "skin/controls/SkinControl.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

const TClassInfo& TSkinData::StaticClass() {
  using T = TSkinData;
  static const TClassInfo& info = TClassBuilder<T>(u"TSkinData", TCustomSkinData::StaticClass())
                                      .Event(u"OnFormSkin", &T::fOnFormSkin)
                                      .Event(u"OnSkinChanged", &T::fOnSkinChanged)
                                      .Event(u"OnSkinControl", &T::FOnSkinControl)
                                      .Event(u"OnBeforeSkinForm", &T::fOnBeforeSkinForm)
                                      .Event(u"OnAfterSkinForm", &T::fOnAfterSkinForm)
                                      .Done();
  return info;
}

TSkinData::TSkinData(TComponent* AOwner)
    : TCustomSkinData(AOwner),
      fhintwindow(std::make_unique<THintWindow>()),
      bmpmenu(std::make_unique<TImageList>(16, 16)),
      CaptionFont(std::make_unique<TFont>()) {
  TBitmap glyphs;
  if (LoadBuiltinBitmap(glyphs, u"LUSTRANEMENU")) bmpmenu->AddMasked(glyphs, clWhite);
  cxMax = GetSystemMetrics(SM_CXMAXIMIZED);
  cyMax = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData() {
  if (SkinManager) SkinManager->RemoveSkinData(this);
  HideHint();
}

void TSkinData::Loaded() {
  StartupMark("skin read from the form");
  TCustomSkinData::Loaded();
  if (Designing()) return;
  if (!SkinUser32().GetScrollBarInfo) FSkinControls &= ~(1u << xcScrollbar);
  TSkinManage& manager = SkinManagerNeeded();
  manager.AddSkinData(this);
  CreateCaptionFont();
  if (ftype != sfMainform) {
    manager.active = true;
    // Running from now on; a second such component leaves it so (a count
    // here would give the manager a state nothing knows, and a reloaded skin
    // would no longer be announced).
    if (manager.state == TManagerState::Idle) manager.state = TManagerState::Running;
    if (auto* form = As<TWinControl>(Owner()); form && factive) manager.AddForm(form->Handle());
    return;
  }
  manager.InstallHook();
  if (factive) {
    // Nothing to skin with: the setting is dropped, nothing is unskinned.
    if (Empty) factive = false;
    else manager.SetAction(TSkinAction::SkinAll, 250);
  }
  if (InSet(FSkinControls, xcMainMenu)) FSkinControls &= ~(1u << xcMenuItem);
  else FSkinControls &= ~(1u << xcSystemMenu);
  GetAppIcon();
}

void TSkinData::SetActive(bool Value) {
  if (Value == factive) return;
  factive = Value;
  if (Designing() || Loading()) return;
  if (ftype == sfMainform) {
    if (Value) {
      if (Empty) return;
      TSkinManage& m = SkinManagerNeeded();
      m.UpdateData = this;
      m.SetAction(TSkinAction::SkinAll, 250);
      m.state = TManagerState::Running;
    } else if (SkinManager) {
      SkinManager->UpdateData = this;
      SkinManager->SetAction(TSkinAction::UnskinAll, 250);
    }
  } else if (ftype == sfOnlyThisForm) {
    if (!Value && !SkinManager) return;
    TSkinManage& m = SkinManagerNeeded();
    m.UpdateData = this;
    if (Value && Empty) return;
    m.SetAction(Value ? TSkinAction::SkinAll : TSkinAction::UnskinAll, 250);
  }
}

void TSkinData::SkinReloaded() {
  if (Designing() || Loading()) return;
  if (!SkinManager) Loaded();
  TSkinManage& m = SkinManagerNeeded();
  m.UpdateData = this;
  // The windows already moved to the new skin (SkinSwapped); the action
  // redoes what a handler may have changed since and tells the application.
  if (m.state == TManagerState::Running) m.SetAction(TSkinAction::SkinChanged, 250);
}

// Before the old elements are freed: no skinned window may keep a caption
// button on them, nor stay half on the old skin, whatever kind of component
// this is and whether or not the manager is told afterwards.
void TSkinData::SkinSwapped() {
  if (SkinManager) SkinManager->ApplySkin(this);
}

void TSkinData::SkinParsed() {
  BGBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Colors[scButtonFace]))));
}

void TSkinData::DoFormSkin(HWND ahwnd, const String& aName, bool& DoSkin) {
  formhwnd = ahwnd;
  if (fOnFormSkin) {
    CallEvent(fOnFormSkin, this, aName, DoSkin);
    return;
  }
  if (aName == u"SysMonthCal32") DoSkin = false;
  if (InSet(FSkinControls, xcFastReport) && aName.rfind(u"Tfr", 0) == 0) DoSkin = false;
}

void TSkinData::DoSkinChanged() {
  CallEvent(fOnSkinChanged, this);
}

void TSkinData::ActivateHint(const TRect& aRect, StringView AHint) {
  if (!InSet(fSkinOptions, xoCaptionButtonHint) || hashint) return;
  TRect r = fhintwindow->CalcHintRect(500, AHint);
  r = Rect(r.Left + aRect.Left, r.Top + aRect.Top, r.Right + aRect.Left, r.Bottom + aRect.Top);
  fhintwindow->ActivateHint(r, AHint);
  hashint = true;
}

void TSkinData::HideHint() {
  if (!hashint) return;
  fhintwindow->Hide();
  hashint = false;
}

bool TSkinData::GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& psbi) const {
  return SkinGetScrollBarInfo(hwnd, idObject, psbi);
}

void TSkinData::Install() { SkinManagerNeeded().SetAction(TSkinAction::SkinAll, 250); }

void TSkinData::Uninstall() {
  if (SkinManager) SkinManager->SetAction(TSkinAction::UnskinAll, 250);
}

void TSkinData::EnableSkin(bool b) {
  if (b || SkinManager) SkinManagerNeeded().active = b;
}

void TSkinData::ChangeForm(TWinControl* aform) {
  if (!aform) return;
  TSkinManage& m = SkinManagerNeeded();
  m.lpara = aform->Handle();
  m.UpdateData = this;
  m.SetAction(TSkinAction::Reskin, 250);
}

void TSkinData::SkinForm(HWND ahwnd) {
  TSkinManage& m = SkinManagerNeeded();
  m.skinchildform = true;
  m.AddForm(ahwnd);
  m.skinchildform = false;
}

// The skinned window of a form (the first listed for its handle).
static TWinSkinForm* SkinOf(TWinControl* form) {
  return SkinManager && form && form->HandleAllocated() ? SkinManager->FindForm(form->Handle()) : nullptr;
}

void TSkinData::AddNestForm(TWinControl* fParent, TWinControl* fNested) {
  if (!fNested) return;
  TWinSkinForm* sf = SkinOf(fParent);
  if (!sf) return;
  auto* spy = new TWinSkinSpy(fNested);
  spy->sf = sf;
  sf->InitNestform(fNested);
}

void TSkinData::UpdateSkinControl(TWinControl* fParent, TWinControl* acontrol) {
  if (TWinSkinForm* sf = SkinOf(fParent)) sf->InitControls(acontrol ? acontrol : fParent);
}

void TSkinData::DeleteGraphicControl(TWinControl* fParent, TControl* acontrol) {
  if (!SkinManager || !fParent || !fParent->HandleAllocated() || !acontrol) return;
  for (TWinSkinForm* sf : SkinManager->FormsOf(fParent->Handle())) {
    for (TSkinControl* c : sf->controls.Controllist) {
      if (c->Owner() != acontrol && c->control != acontrol && c->GControl != acontrol) continue;
      delete c;  // leaves the list itself
      break;
    }
  }
}

void TSkinData::UpdateMenu(TWinControl* fParent) {
  if (TWinSkinForm* sf = SkinOf(fParent)) sf->InitPopMenu(fParent, true, true);
}

void TSkinData::UpdateMainMenu(bool done) {
  MenuMsg = done;
  if (!done || !SkinManager) return;
  for (TWinSkinForm* sf : SkinManager->FormsOf(nullptr))
    if (sf->menuBar.menu) sf->UpdateMainMenu();
}

void TSkinData::InstallThread(DWORD aThreadID) { SkinManagerNeeded().InstallThread(aThreadID); }

void TSkinData::UnInstallThread(DWORD aThreadID) {
  if (SkinManager) SkinManager->UnInstallThread(aThreadID);
}

void TSkinData::ChangeProperty(TComponent* control, StringView aprop, StringView value) {
  if (!control) return;
  const TPropInfo* prop = GetPropInfo(control, aprop);
  if (prop && prop->kind == TPropKind::Enumeration) SetEnumProp(control, *prop, value);
}

void TSkinData::GetAppIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  HWND app = Application ? Application->Handle() : nullptr;
  if (!app) return;
  HICON icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  if (!icon) return;
  TBitmap bmp;
  bmp.SetSize(w, h);
  FillRect(bmp, Rect(0, 0, w, h), kSkinKeyColor);
  if (const OwnedIcon smallIcon = SizedIconCopy(icon, w, h))
    DrawIconEx(BitmapCanvas(bmp).Handle(), 0, 0, smallIcon, w, h, 0, nullptr, DI_NORMAL);
  SysIcon->Assign(bmp);
  SysIcon->TransparentColor = kSkinKeyColor;
  SysIcon->Transparent = true;
}

void TSkinData::CreateCaptionFont() {
  CaptionFont = SystemCaptionFont();
}

}  // namespace qv
