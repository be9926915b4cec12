#include "skin/controls/SkinSizer.h"

#include "platform/core/TypInfo.h"
#include "skin/data/WinSkinData.h"

namespace qv {

const TClassInfo& TSkinSizer::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinSizer>(u"TSkinSizer", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinSizer::DrawControl(HDC dc, const TRect& rc) { FillFaceRect(dc, rc); }

const TClassInfo& TSkinBoxH::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinBoxH>(u"TSkinBoxH", TSkinControl::StaticClass()).Done();
  return info;
}

bool TSkinBoxH::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: {
      RECT r{};
      GetWindowRect(hwnd, &r);
      FillFaceRect(reinterpret_cast<HDC>(Message.WParam), Rect(0, 0, r.right - r.left, r.bottom - r.top));
      Message.Result = 0;
      return false;
    }
    case WM_CTLCOLORSTATIC: {
      if (!fsd || !fsd->BGBrush) return true;
      const auto alive = Alive();
      CallOldProc(Message);
      if (!alive) return false;
      // The text cells take the face colour too, not only the rest.
      SetBkColor(reinterpret_cast<HDC>(Message.WParam), ColorToRGB(fsd->Colors[scButtonFace]));
      Message.Result = reinterpret_cast<LRESULT>(fsd->BGBrush.Get());
      return false;
    }
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

void TSkinBoxH::Unsubclass() {
  const bool was = skinned;
  TSkinControl::Unsubclass();
  if (was && skinstate != TControlSkinState::Dead && IsWindow(hwnd))
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace qv
