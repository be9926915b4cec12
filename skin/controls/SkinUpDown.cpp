#include "skin/controls/SkinUpDown.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace qv {

const TClassInfo& TSkinUpDown::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinUpDown>(u"TSkinUpDown", TSkinControl::StaticClass()).Done();
  return info;
}

bool TSkinUpDown::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      return false;
    case WM_ERASEBKGND:
      // WM_PAINT covers the whole control; only a raw window shows white
      // until then.
      if (!control) {
        RECT r{};
        GetClientRect(hwnd, &r);
        FillColorRect(reinterpret_cast<HDC>(Message.WParam), FromRECT(r), clWhite);
      }
      Message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The control's own handling notifies the buddy and the parent, whose
      // handlers may free this skin.
      const auto alive = Alive();
      CallOldProc(Message);
      if (!alive) return false;
      state |= kStatePressed;
      PaintControl(nullptr);
      return false;
    }
    case WM_LBUTTONUP: {
      state &= ~kStatePressed;
      const auto alive = Alive();
      CallOldProc(Message);
      if (alive) PaintControl(nullptr);
      return false;
    }
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

int TSkinUpDown::ArrowFrame(bool over) const {
  if (!enabled) return 3;
  if (!over) return 1;
  if (state & kStatePressed) return 2;
  if (state & kStateHot) return 4;
  return 1;
}

TRect TSkinUpDown::InEditRect(HDC dc, const TRect& rc) {
  RECT client{};
  GetClientRect(hwnd, &client);
  FillColorRect(dc, FromRECT(client), clWhite);
  TRect R = rc;
  RECT P{}, S{};
  if (!GetWindowRect(GetParent(hwnd), &P) || !GetWindowRect(hwnd, &S)) return R;
  if (S.top - P.top < 3) R.Top += 3 - (S.top - P.top);
  if (P.bottom - S.bottom < 3) R.Bottom -= 3 - (P.bottom - S.bottom);
  if (P.right - S.right < 3) R.Right -= 3 - (P.right - S.right);
  return R;
}

void TSkinUpDown::DrawControl(HDC dc, const TRect& rc) {
  if (!fsd) return;
  const TRect R = inedit ? InEditRect(dc, rc) : rc;
  const int W = R.Width(), H = R.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap buffer;
  buffer.SetSize(W, H);
  HDC bdc = BitmapCanvas(buffer).Handle();
  FillColorRect(bdc, Rect(0, 0, W, H), fsd->Colors[scButtonFace]);

  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd, &cursor);
  const LONG_PTR style = GetWndLong(hwnd, GWL_STYLE);
  enabled = (style & WS_DISABLED) == 0;
  if (style & UDS_HORZ) {
    const int w = W / 2;
    DrawArrow(bdc, Rect(0, 0, w, H), 2, ArrowFrame(cursor.x < w));
    DrawArrow(bdc, Rect(w, 0, W, H), 3, ArrowFrame(cursor.x >= w));
  } else {
    const int h = H / 2;
    DrawArrow(bdc, Rect(0, 0, W, h), 0, ArrowFrame(cursor.y < h));
    DrawArrow(bdc, Rect(0, h, W, H), 1, ArrowFrame(cursor.y >= h));
  }
  BitBlt(dc, R.Left, R.Top, W, H, bdc, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawArrow(HDC dc, const TRect& r, int kind, int frame) {
  TDataSkinBorder* element = kind < 2 ? fsd->VSpin.get() : fsd->HSpin.get();
  // An element without a picture is as good as none: the plain arrows
  // still show the control.
  if (HasPicture(element)) {
    DrawSkinArrow(dc, r, *element, frame + 4 * (kind < 2 ? kind : kind - 2));
  } else {
    DrawPlainArrow(dc, r, kind, frame);
  }
}

void TSkinUpDown::DrawSkinArrow(HDC dc, const TRect& r, TDataSkinBorder& element, int index) {
  // A strip that claims no frames cannot be cut; the face stays.
  const int N = element.frame;
  if (N <= 0) return;
  DrawSkinFrame(dc, r, *element.Map, true, N, index);
  if (element.MaskMap && !element.MaskMap->Empty()) DrawSkinFrameCentered(dc, r, *element.MaskMap, true, N, index);
}

void TSkinUpDown::DrawPlainArrow(HDC dc, const TRect& r, int kind, int frame) {
  const TSchemeColor face = frame == 2 || frame == 4 ? scButtonShadow : scButtonFace;
  const OwnedBrush brush(CreateSolidBrush(ColorToRGB(fsd->Colors[face])));
  const OwnedPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(fsd->Colors[scButtonDkShadow])));
  SelectGuard useBrush(dc, brush), usePen(dc, pen);
  Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom);
  const int x = r.Left + r.Width() / 2;
  const int y = r.Top + r.Height() / 2 - (kind < 2 ? 2 : 0);
  TCanvas canvas;
  canvas.SetHandle(dc);
  DrawArrowGlyph(canvas, x, y, kind);
  canvas.SetHandle(nullptr);
}

}  // namespace qv
