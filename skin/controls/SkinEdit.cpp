#include "skin/controls/SkinEdit.h"

#include <optional>

#include "platform/core/TypInfo.h"
#include "platform/win/ExceptionBarrier.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

TRect Inflated(const TRect& r, int d) { return Rect(r.Left - d, r.Top - d, r.Right + d, r.Bottom + d); }

bool IsUpDownClass(HWND wnd) {
  const String name = LowerCase(GetWndClassName(wnd));
  return name == u"msctls_updown32" || Pos(u"spin", name) > 0 || Pos(u"updown", name) > 0;
}

}  // namespace

void FrameColorRect(HDC dc, const TRect& r, TColor color) {
  const OwnedBrush brush(CreateSolidBrush(ColorToRGB(color)));
  const RECT rr = ToRECT(r);
  FrameRect(dc, &rr, brush);
}

bool HasNonClientBorder(HWND wnd, const TRect& rc) {
  RECT client{};
  if (!GetClientRect(wnd, &client)) return false;
  return client.right - client.left != rc.Width() && client.bottom - client.top != rc.Height();
}

const TClassInfo& TSkinEdit::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinEdit>(u"TSkinEdit", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinEdit::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(Message.WParam));
      break;
    case WM_PRINT:
      PrintFrame(reinterpret_cast<HDC>(Message.WParam));
      break;
    case SM_PAINTCLIENT:
      if (static_cast<uintptr_t>(Message.LParam) != SkinPaintMagic) break;
      if (Message.WParam) {
        TMessage paint{WM_PAINT, Message.WParam, 0, 0};
        CallOldProc(paint);
      }
      Message.Result = static_cast<LRESULT>(SkinPaintMagic);
      break;
    default:
      TSkinControl::AfterProc(Message);
  }
}

void TSkinEdit::DrawControl(HDC dc, const TRect& rc) {
  if (!fsd) return;
  if (InSet(fsd->SkinControls(), xcSpin) && !updown) FindUpDown();
  if (!HasNonClientBorder(hwnd, rc)) return;
  FrameColorRect(dc, rc, fsd->Colors[scButtonShadow]);
  FrameColorRect(dc, Inflated(rc, -1), clWhite);
  FrameColorRect(dc, Inflated(rc, -2), clWhite);
}

void TSkinEdit::WindowRecreated() { delete updown; }

void TSkinEdit::FindUpDown() {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDownClass(child)) continue;
    // One skin per window: an up-down skinned by someone else keeps theirs.
    if (SendMessageW(child, SM_QUERYSKINNED, 0, 0) == 1) return;
    updown = new TSkinUpDown(Owner());
    updown->FreeNotification(this);
    updown->Inithwnd(child, fsd, fCanvas, skinform);
    updown->inedit = true;
    return;
  }
}

void TSkinEdit::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == updown) updown = nullptr;
}

void TSkinEdit::PrintFrame(HDC adc) {
  RECT wr{};
  if (!GetWindowRect(hwnd, &wr)) return;
  boundsrect = FromRECT(wr);
  const TRect rc = Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top);
  std::optional<WindowDC> windowDC;
  if (!adc) windowDC.emplace(hwnd, WindowDC::Whole);
  const HDC dc = adc ? adc : windowDC->Get();
  if (!dc) return;
  ClipRegionSaver clip(dc);
  ExceptionBarrier([&] {
    RECT client{};
    GetClientRect(hwnd, &client);
    if (client.right + 2 < rc.Width() && client.bottom + 2 < rc.Height() && fsd) {
      // The edit's own printing may leave the DC clipped to its client
      // area, which would hide the frame.
      SelectClipRgn(dc, nullptr);
      // The inner ring in the printing DC's own brush, the outer one dark.
      HBRUSH own = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
      const RECT inner{1, 1, rc.Right - 1, rc.Bottom - 1};
      FrameRect(dc, &inner, own);
      FrameColorRect(dc, rc, fsd->Colors[scButtonShadow]);
    }
  });
}

}  // namespace qv
