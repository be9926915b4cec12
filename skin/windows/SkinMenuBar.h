// What a skinned window keeps of its menus: the skinned bar that stands in
// for the platform's, the native menu it shows, and the drop-down that is
// open. The bar's height is the frame's MenuHeight: the frame reserves the
// strip (an MDI child has one without a bar).
#pragma once
#include <windows.h>

namespace qv {

class TWinSkinMenu;

struct TSkinMenuBar {
  TWinSkinMenu* menu = nullptr;  // owned; null while the window has no bar
  // The window's menu when it was skinned or got its first bar: what tells
  // its owner-drawn items from other menus'.
  HMENU hmenu = nullptr;
  HMENU activemenu = nullptr;  // the drop-down last opened from the bar
  bool fInMenu = false;        // a drop-down of the bar is open
  // The native bar of a raw window was taken away at set-up.
  bool taken = false;
  // An MDI frame's menu-update setting at set-up, given back when its last
  // child goes.
  bool menuauto = false;
};

}  // namespace qv
