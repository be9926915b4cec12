// The skins of tab controls, all from the skin's tab element (frame 1 of
// its strip a normal tab, frame 2 the current one). The pictures are drawn
// from the current skin's element at every paint, turned on the way where
// the side asks for it, never kept: nothing of an earlier skin shows after
// a change, and no tab control holds a copy of a picture.
//
// - TSkinTab paints a system tab control: the whole tab strip composed off
//   screen, for tabs on any of the four sides (the strip is drawn lying down
//   and turned for the left and right sides), then the display area framed
//   from the element's MaskMap (style 0) or the TabSheet element (style 1).
//   A visible up-down (scrolled tabs) keeps its own painting over the strip.
// - TSkinTab31 paints the class library's tab set, laid out as the tab set
//   lays itself out; the strip is drawn upside down so that its tabs hang
//   from the top edge.
// - TSkinAdvPage paints nothing: it hands two tab pictures made from the
//   element to the page control's "TabBackGround" and "TabBackGroundActive"
//   properties and takes them back when it goes.
//
// Without a tab picture in the current skin the tab control and the tab set
// paint their own tabs (the tab control's frame is still the skin's), and
// the page control gets its own tabs back.
#pragma once
#include <memory>

#include "skin/controls/SkinControl.h"

namespace qv {

class TDataSkinBorder;
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
  void WindowRecreated() override;

  // Position from the window style.
  void GetPosition();
  // Skins the "msctls_updown32" child once; true while it is visible.
  bool CheckUpDown();

  TSkinTabPosition Position = StTop;
  bool unicode = false;
  std::unique_ptr<TBitmap> Drawtemp;
  TSkinUpDown* updown = nullptr;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  void DrawStrip(HDC dc, const TRect& R, const TRect& D, TDataSkinBorder& tab);
  void DrawFrame(HDC dc, const TRect& D, TDataSkinBorder& tab);
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
};

class TSkinAdvPage : public TSkinControl {
  QV_CLASS(TSkinAdvPage)
 public:
  // Only the creator's akTabBackgrounds gives the tabs the skin's pictures.
  enum TAdvPageKind : int32_t { akPlain = 0, akTabBackgrounds = 4 };

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
