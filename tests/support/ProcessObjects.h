// What this process holds of the window system, counted for leak checks:
// live GDI objects, menus and this thread's windows.
//
// Counting GDI objects: Wine's GetGuiResources answers 0, so where it does,
// the process's GDI handle table that the PEB points at is walked (the
// 64-bit PEB's, in a 32-bit process under WoW64; Wine's layout, the same in
// both widths: 0x10000 entries of 24 bytes, the handle's upper word at +12,
// the type at +14) and each used entry is confirmed by GetObjectType on the
// handle it stands for (index | upper word << 16). GdiCountIsTrustworthy
// checks the count against 100 brushes made and freed.
//
// Counting menus: Wine takes a user handle whose upper word is 0 for any
// generation of that slot, so IsMenu on every slot's lower word finds each
// menu of the process once.
#pragma once
#include <windows.h>

namespace qvtest {

// -1 when neither way of counting is available.
int LiveGdiObjects();
// True when making and freeing 100 brushes moves the count by exactly 100.
bool GdiCountIsTrustworthy();
// Which way LiveGdiObjects counts here, for reports.
const char* GdiCountSource();

int LiveMenus();
// This thread's windows: top-level and message-only ones and all their
// descendants.
int ThreadWindows();

}  // namespace qvtest
