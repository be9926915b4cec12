// The skin engine's private window messages: plain numbers (not registered
// messages) with fixed meanings between the skin manager, skinned windows,
// control skins and the application. Where a message carries a device
// context or answers "painted", lParam and the answer are SkinPaintMagic, so
// that a stray message with the same number is told apart.
//
// Senders that post: SM_INITSKIN, SM_SYSBUTTONCLICK, SM_MDIREDRAW,
// SM_CONTROLRECREATED and the SM_FORMSKINNED reply to SM_QUERYSKINNED; every
// other message is sent. 0xBC4C is unused; 0x3507 belongs to tab close
// buttons, which this program never shows.
#pragma once
#include <cstdint>

namespace qv {

inline constexpr uintptr_t SkinPaintMagic = 0x41A2;

// wParam 0, lParam 0: re-read the skin (the replaced form procedure's SkinChange).
inline constexpr unsigned SM_SKINCHANGED = 0x3401;
// wParam 0, lParam 0: repaint the whole skinned non-client area.
inline constexpr unsigned SM_NCREPAINT = 0x3502;
// Posted once the skin object exists, lParam 1000: finish skinning the window.
inline constexpr unsigned SM_INITSKIN = 0x3503;
// To one skinned control: wParam > 0 skins it, 0 lets it paint itself.
inline constexpr unsigned SM_SETSKINNED = 0x3506;
// Tab close button, never shown here: wParam tab control, lParam tab index.
inline constexpr unsigned SM_TABCLOSE = 0x3507;
// Posted for the application: wParam the caption button's Action.
inline constexpr unsigned SM_SYSBUTTONCLICK = 0x3514;
// Sent for the application to answer: wParam Visibility, lParam Action;
// answer > 0 shows the caption button, 0 (a window that ignores it) hides it.
inline constexpr unsigned SM_SYSBUTTONVISIBLE = 0x3515;
// Posted to the MDI client: redraw it with its children and frames.
inline constexpr unsigned SM_MDIREDRAW = 0x3516;
// Posted to the skinned form: wParam the recreated control's old window.
inline constexpr unsigned SM_CONTROLRECREATED = 0x3517;
// lParam a screen point (x low, y high 16 bits): open the menu-bar button
// there. Answer 0.
inline constexpr unsigned SM_POPUPMENUBAR = 0x3518;
// Answer 1 exactly when a skin of this engine has subclassed the window.
inline constexpr unsigned SM_QUERYSKINNED = 0x3523;
// wParam a DC, lParam SkinPaintMagic: a skinned edit paints its client there.
inline constexpr unsigned SM_PAINTCLIENT = 0xBC4A;
// wParam a DC, lParam SkinPaintMagic: the skinned border is painted there.
// Any other lParam is swallowed by a skinned form.
inline constexpr unsigned SM_PAINTBORDER = 0xBC4B;
// Answer SkinPaintMagic when lParam is SkinPaintMagic, else 1.
inline constexpr unsigned SM_SKINFORMQUERY = 0xBC4D;
// To the skinned window itself, lParam SkinPaintMagic: skinning finished.
// Same number as the class library's CN_NOTIFY.
inline constexpr unsigned SM_FORMSKINNED = 0xBC4E;

// Tag values the engine reads on components.
inline constexpr intptr_t kTagNoSkin = 99;             // a form never skinned; default DisableTag
inline constexpr intptr_t kTagTransparent = 5555;      // button-like control drawn over its parent
inline constexpr intptr_t kTagSystemMenuPopup = 0x8235;  // the system-menu popup the skin builds

}  // namespace qv
