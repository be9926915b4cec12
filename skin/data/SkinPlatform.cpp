#include "skin/data/SkinPlatform.h"

namespace qv {

HINSTANCE SkinInstance = nullptr;
bool IsWinNT = true;
bool NotWin6 = true;
UINT SkinCodePage = 0;

namespace {

TSkinPlatform gPlatform;

}  // namespace

TSkinPlatform SystemSkinPlatform() {
  TSkinPlatform p;
  p.Version = GetVersion();
  p.Instance = GetModuleHandleW(nullptr);
  return p;
}

const TSkinPlatform& CurrentSkinPlatform() { return gPlatform; }

void ApplySkinPlatform(const TSkinPlatform& p) {
  gPlatform = p;
  IsWinNT = p.Version < 0x80000000u;
  NotWin6 = LOBYTE(LOWORD(p.Version)) != 6;
  SkinCodePage = 0;
  SkinInstance = p.Instance;
}

}  // namespace qv
