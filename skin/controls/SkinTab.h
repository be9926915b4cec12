// The skins of tab controls, all from the skin's tab element (frame 1 of
// its strip a normal tab, frame 2 the current one):
//
// - TSkinTab paints a system tab control: the whole tab strip composed off
//   screen, for tabs on any of the four sides (the strip is drawn lying down
//   and turned for the left and right sides), then the display area framed
//   from the element's MaskMap (style 0) or the TabSheet element (style 1).
//   A visible up-down (scrolled tabs) keeps its own painting over the strip.
// - TSkinTab31 paints the class library's tab set, laid out from the tab
//   set's own properties; the strip is flipped so that its tabs hang from
//   the top edge.
// - TSkinAdvPage paints nothing: it hands two tab pictures made from the
//   element to the page control's "TabBackGround" and "TabBackGroundActive"
//   properties and takes them back when it goes.
#pragma once
#include <memory>

#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinUpDown;

enum TSkinTabPosition { StTop, Stbottom, Stleft, Stright };

// The side of the tabs from a tab control's window style.
TSkinTabPosition TabPositionOfStyle(DWORD style);

class TSkinTab : public TSkinControl {
  QV_CLASS(TSkinTab)
 public:
  explicit TSkinTab(TComponent* AOwner);
  ~TSkinTab() override;

  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) override;
  bool BeforeProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  void SkinChange() override;
  void WindowRecreated() override;

  // The pictures again from the skin, turned for the side of the tabs.
  void inittab();
  void GetPosition();
  // Skins the "msctls_updown32" child once; true while it is visible.
  bool CheckUpDown();

  TSkinTabPosition Position = StTop;
  bool unicode = false;
  std::unique_ptr<TBitmap> tabbmp, borderbmp, Drawtemp;
  TSkinUpDown* updown = nullptr;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  void DrawTabImage(TCanvas& canvas, const TRect& rect, int I);
  void DrawStrip(HDC dc, const TRect& R, const TRect& D);
  // Drawtemp onto S, leaving the up-down's rectangle alone.
  void CopyStrip(HDC dc, const TRect& S);
  String ItemText(const wchar_t* text);
  void SelectTextFont(TCanvas& canvas);
};

class TSkinTab31 : public TSkinControl {
  QV_CLASS(TSkinTab31)
 public:
  explicit TSkinTab31(TComponent* AOwner);
  ~TSkinTab31() override;

  // Attached to the tab set's window procedure as to a raw window: the tab
  // set is not recoloured. Follows the tab set to a re-created window.
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  bool BeforeProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  void SkinChange() override;
  void inittab();

  std::unique_ptr<TBitmap> tabbmp;
};

class TSkinAdvPage : public TSkinControl {
  QV_CLASS(TSkinAdvPage)
 public:
  using TSkinControl::TSkinControl;
  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  // Takes the pictures away; the colour is not given back.
  void Unsubclass() override;
  void DrawControl(HDC dc, const TRect& rc) override;
  void SkinChange() override;
  // The pictures went with the old window (Unsubclass); the new one gets
  // them again.
  void WindowRecreated() override;
  void SetTabBackgrounds();
  bool CheckUpDown();

  TSkinUpDown* updown = nullptr;

  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace qv
