// The skin component a form carries: TCustomSkinData (the stored settings
// and the loaded skin) plus what needs the window system: starting the skin
// manager when the form has loaded, the caption-button hint, the caption
// font, the application's small icon, the face brush, the menu glyphs and
// the thin operations that pass requests on to the manager.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/win/Controls.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/Graphics.h"
#include "platform/win/HintWindow.h"
#include "platform/win/ImageList.h"
#include "skin/data/CustomSkinData.h"

namespace qv {

using TOnFormSkin = std::function<void(TObject* Sender, const String& aName, bool& DoSkin)>;
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const String& aName)>;
using TOnSkinControl = std::function<void(TComponent* Sender, class TSkinData* SkinData, TControl* Form,
                                          TControl* Control, const String& ControlClass, TComponent*& SkinnedControl)>;

class TSkinData : public TCustomSkinData {
  QV_CLASS(TSkinData)
 public:
  explicit TSkinData(TComponent* AOwner);
  ~TSkinData() override;

  void Loaded() override;
  void SetActive(bool Value) override;

  // ---- used by the skin engine
  void DoFormSkin(HWND ahwnd, const String& aName, bool& DoSkin);
  void DoSkinChanged();
  void ActivateHint(const TRect& aRect, StringView AHint);
  void HideHint();
  bool IsHint() const { return hashint; }
  bool GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& psbi) const;

  // ---- for the application: thin calls into the skin manager, which is
  // created when a call needs it and none exists yet
  void Install();
  void Uninstall();
  void EnableSkin(bool b);
  void ChangeForm(TWinControl* aform);
  void SkinForm(HWND ahwnd);
  // A form placed inside fParent's skinned window gets its controls skinned
  // (and a TWinSkinSpy, owned by fNested, that marks it).
  void AddNestForm(TWinControl* fParent, TWinControl* fNested);
  // Skins what has no skin yet in acontrol (in fParent when null).
  void UpdateSkinControl(TWinControl* fParent, TWinControl* acontrol);
  // Frees the control skin of acontrol in every skinned window of fParent.
  void DeleteGraphicControl(TWinControl* fParent, TControl* acontrol);
  // The popup menus of fParent and its controls hooked again.
  void UpdateMenu(TWinControl* fParent);
  // done: every skinned menu bar rebuilt from its menu and repainted.
  void UpdateMainMenu(bool done);
  void InstallThread(DWORD aThreadID);
  void UnInstallThread(DWORD aThreadID);
  // Sets an enumerated published property of control by member name.
  void ChangeProperty(TComponent* control, StringView aprop, StringView value);

  void GetAppIcon();
  void CreateCaptionFont();

  TOnFormSkin fOnFormSkin;
  TOnSkinForm fOnBeforeSkinForm;
  TOnSkinForm fOnAfterSkinForm;
  std::function<void(TObject*)> fOnSkinChanged;
  TOnSkinControl FOnSkinControl;

  std::unique_ptr<THintWindow> fhintwindow;
  bool hashint = false;
  OwnedBrush BGBrush;
  std::unique_ptr<TImageList> bmpmenu;
  std::unique_ptr<TFont> CaptionFont;
  HWND formhwnd = nullptr;

 protected:
  void SkinReloaded() override;
  void SkinSwapped() override;
  void SkinParsed() override;
  int HScrollArrowWidth() const override { return GetSystemMetrics(SM_CXHSCROLL); }
};

}  // namespace qv
