// Skinned window scroll bars: a control with window scroll bars (memo, rich
// edit, list box, grid, tree view...) gets two overlays, horizontal and
// vertical, kept over its native bars, plus a thin skinned border unless
// it has none. The raw-window variant does the same for the list of a
// simple combo box.
//
// A control with a "FixedColor" (the fixed cells of a grid) gets the skin's
// face colour there; the colour it had before the first skin is the one it
// gets back on unskinning, however many skin changes came in between.
#pragma once
#include <windows.h>

#include "skin/controls/SkinControl.h"

namespace qv {

class TWScrollbar;

class TSkinScrollbar : public TSkinControl {
  QV_CLASS(TSkinScrollbar)
 public:
  // A single scroll bar (its creator's choice) gets no skinned border.
  enum TScrollbarKind : int32_t { sbkBordered = 0, sbkSingleScrollbar = 1 };

  explicit TSkinScrollbar(TComponent* AOwner);
  ~TSkinScrollbar() override;

  // Hooks acontrol (normally the owner; it becomes the owner otherwise) and
  // places both overlays. sf is the skinned form; acanvas is not kept.
  virtual void InitScrollbar(TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf);

  bool BeforeProc(TMessage& Message) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  void SkinChange() override;
  void Unsubclass() override;

  void UpdatePosition();
  // One pixel of the skin's shadow colour around the window, one of the
  // face colour inside it.
  void DrawBorder(HDC dc);
  // Every native bar that the window shows lies under an overlay that
  // paints it from the skin.
  bool BarsCovered() const;

  TWScrollbar* hb = nullptr;  // owned
  TWScrollbar* vb = nullptr;  // owned
  bool border = false;

 private:
  void WindowCameBack() override;
  // EM_REPLACESEL of an edit whose bars are covered: the system redraws a
  // native bar on every change of the text, which can cost many times the
  // change itself (a log box appending a line), and nobody sees those bars.
  // The change runs with the window's drawing held; then the client area is
  // repainted, and the overlays follow from that paint.
  void ReplaceSelUnderOverlays(TMessage& Message);
};

class TSkinScrollbarH : public TSkinControl {
  QV_CLASS(TSkinScrollbarH)
 public:
  explicit TSkinScrollbarH(TComponent* AOwner);
  ~TSkinScrollbarH() override;

  void Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) override;
  void AfterProc(TMessage& Message) override;
  void DrawControl(HDC dc, const TRect& rc) override;
  void Unsubclass() override;

  void UpdatePosition();

  TWScrollbar* hb = nullptr;  // owned
  TWScrollbar* vb = nullptr;  // owned
};

}  // namespace qv
