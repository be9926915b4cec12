// Forms: top-level windows streamed from a form resource, and the screen's
// list of them.
#pragma once
#include <functional>
#include <vector>

#include "platform/win/Controls.h"

namespace qv {

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint32_t;
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

class TMainMenu;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCanResizeEvent = std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;

class TCustomForm : public TWinControl {
  QV_CLASS(TCustomForm)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Streams the form resource named after the class (upper case) from the
  // program's RCDATA resources, then runs OnCreate. Application::CreateForm
  // calls it once the object is fully constructed.
  void InitInheritedComponent();
  void DoCreate();

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  void Release();

  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  int FormClientWidth() const;
  void SetClientWidth(int v);
  int FormClientHeight() const;
  void SetClientHeight(int v);
  RECT ClientRect() const override;
  TIcon* Icon() const { return icon_; }
  // The window's menu (Menus.cpp); null for none.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  void SetIcon(TIcon* icon);
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int v) { textHeight_ = v; }
  void SetVisible(bool v) override;
  // Around a size change that only trades the window's frame for another
  // around the same client area (a skin put on or taken off): that is no
  // resize, so OnCanResize is not asked. Calls nest.
  void BeginFrameTrade() { ++frameTrades_; }
  void EndFrameTrade() { if (frameTrades_ > 0) --frameTrades_; }

  TNotifyEvent OnCreate;
  TCloseEvent OnClose;
  TCanResizeEvent OnCanResize;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;
  bool CanResize(int& newWidth, int& newHeight) override;

 private:
  void PlaceOnScreen();
  TBorderIcons borderIcons_ = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
  TFormBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  int clientWidth_ = -1, clientHeight_ = -1;
  TIcon* icon_;
  bool oldCreateOrder_ = false;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  bool placed_ = false;
  bool created_ = false;
  int frameTrades_ = 0;
  TMainMenu* menu_ = nullptr;
};

class TForm : public TCustomForm {
  QV_CLASS(TForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TScreen {
 public:
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int i) const { return forms_[static_cast<size_t>(i)]; }
  // The system's menu font.
  TFont& MenuFont();
  void AddForm(TCustomForm* f) { forms_.push_back(f); }
  void RemoveForm(TCustomForm* f);

 private:
  std::vector<TCustomForm*> forms_;
  TFont* menuFont_ = nullptr;
};

TScreen& Screen();

}  // namespace qv
