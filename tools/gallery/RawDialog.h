// The raw dialog of the gallery: system controls of every kind the skin
// engine tells apart by window class and style, made from a dialog template
// and filled when it starts.
#pragma once
#include <windows.h>

namespace qv {

// Modeless, owned by owner and placed to its right.
HWND ShowRawDialog(HINSTANCE instance, HWND owner);

}  // namespace qv
