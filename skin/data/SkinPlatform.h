// What the engine reads about the platform, once, at start-up: the facts the
// window side and the control skins alike decide on. The skin manager's
// module start applies SystemSkinPlatform(); until then the defaults below
// hold.
#pragma once
#include <windows.h>

namespace qv {

struct TSkinPlatform {
  DWORD Version = 0;  // GetVersion: major in the low byte, minor in the next, bit 31 on Windows 9x
  HINSTANCE Instance = nullptr;
};
TSkinPlatform SystemSkinPlatform();
// The facts in use; the module start applies SystemSkinPlatform().
const TSkinPlatform& CurrentSkinPlatform();
// Sets IsWinNT, NotWin6, SkinCodePage and SkinInstance from p (SkinWinVersion
// follows at the next InstallHook). Tests pose as another system with it.
void ApplySkinPlatform(const TSkinPlatform& p);

extern HINSTANCE SkinInstance;
extern bool IsWinNT;
extern bool NotWin6;
extern UINT SkinCodePage;

}  // namespace qv
