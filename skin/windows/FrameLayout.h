// The skinned frame as plain arithmetic: where the client area lies inside
// the skin's borders, how a non-client hit is revised, where each caption
// button sits and whether it shows, where the caption text goes, which image
// of a border or button strip is drawn, what a caption button or a double
// click does, and when and from which pieces the window region is built.
// The window procedure and the painting code gather the inputs (window
// rectangle, styles, state, measured text) and apply the results; nothing
// here touches a window, so every rule can be checked on the host.
//
// All rectangles and points are in window coordinates (relative to the
// window's top-left corner) unless a name says otherwise.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "platform/core/Geometry.h"
#include "platform/core/UString.h"
#include "skin/data/CustomSkinData.h"
#include "skin/data/SkinElements.h"

namespace qv {

// The kinds and states of a skinned window.
enum TSkinFormStyle { sfsNormal, sfsMDIform, sfsMDIChild, sfsChild };
enum TSkinFormBorder { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
enum TSkinWindowState { swsNormal, swsMax, swsMin };
enum TSkinFormIcon { sbiMax, sbiMin, sbiHelp, sbisystem, sbicaption };
using TSkinFormIcons = uint32_t;  // SetOf / InSet of TSkinFormIcon

// Where a window's skin is in its life (its Skinstate); the numbers are
// the ones programs that read the field know.
enum class TSkinFormState : int32_t {
  New = 0,          // made, not finished by SM_INITSKIN: the frame is neither painted nor activated
  Skinned = 1,      // at work (or a window whose frame the skin leaves to the platform)
  Changing = 3,     // a new skin is being applied
  Unskinning = 4,   // taken off a window that is going: nothing is given back to it
  FirstSizing = 5,  // the first sizing trades the native frame for the skin's
  Dead = 6,         // the window is destroyed; the manager's purge frees the skin
};
// Only a finished skin, or one taking a new skin, paints the frame.
inline bool PaintsFrame(TSkinFormState s) { return s == TSkinFormState::Skinned || s == TSkinFormState::Changing; }

// The look of a caption or menu-bar button under the mouse; the numbers are
// also the images of a caption button's strip that show them.
enum class TNCState : int32_t { Normal = 1, Pressed = 2, Hot = 3 };

// Hit codes the frame reads or answers (named apart from the platform's
// macros so that this header can follow <windows.h>).
inline constexpr int kHitNowhere = 0;
inline constexpr int kHitCaption = 2;
inline constexpr int kHitMenu = 5;

// What every frame rule reads about the window, under the skinned window's
// own field names.
struct TFrameShape {
  TSkinFormStyle FormStyle = sfsNormal;
  TSkinFormBorder FormBorder = sbsSizeable;
  TSkinWindowState Windowstate = swsNormal;
  TSkinFormIcons FormIcons = 0;
  TRect bw;  // border widths: Left, Top (the caption height), Right, Bottom
  int MenuHeight = 0;
  bool FWindowActive = true;
  bool ismessagebox = false;
  bool bidileft = false;  // WS_EX_LEFTSCROLL: the caption is laid out right to left
};

// ---- Coordinates and hit-testing -------------------------------------------

// A screen point in window coordinates, given where the client area's origin
// lies on the screen. A minimised MDI child keeps plain client coordinates.
TPoint ScreenToWindow(const TFrameShape& f, TPoint screen, TPoint clientOrigin);

// WM_NCCALCSIZE with valid rectangles: the client rectangle (screen or parent
// coordinates, like `window`) inside the skin's borders and menu strip. A
// maximised or minimised MDI child and a borderless window keep what the
// platform computed (`platformClient`). A window smaller than its borders
// gets a client area of no width or height rather than an inverted one.
TRect NCCalcClientRect(const TFrameShape& f, const TRect& window, const TRect& platformClient);

// WM_NCHITTEST: the platform's answer as the skinned frame revises it. Only
// "nowhere" and "caption" are revised: below the top four rows the answer is
// the caption, and below the caption strip of a window with a menu strip,
// the menu. Caption buttons answer "caption" and are found by position.
int NCHitTest(const TFrameShape& f, int platformHit, TPoint windowPt);

// WM_NCLBUTTONDOWN on no caption or menu-bar button: an active maximised
// window is not dragged by its caption, so "caption" becomes "menu".
int NCLButtonDownHit(const TFrameShape& f, int hit);

// A caption button takes the mouse when visible, with a non-negative Action,
// and the point inside its bounds (right and bottom edges outside).
bool SysButtonHit(const TRect& bounds, bool visible, int32_t action, TPoint windowPt);

// ---- Caption buttons ---------------------------------------------------------

// The live answers that visibility codes 100 and 1000..2000 need.
struct TSysButtonQuery {
  bool mdiChildMaxWithMenu = false;  // an MDI child is maximised and the window has a menu bar
  // SM_SYSBUTTONVISIBLE (wParam the code, lParam the Action); no function
  // answers 0, as a window that ignores the message does.
  std::function<intptr_t(int32_t code, int32_t action)> ask;
};

struct TSysButtonFlags {
  bool visible = false;
  bool enabled = true;
};

// SysButtonVisible: a button is shown when both its Visibility and its
// Visibility1 conditions hold, then adjusted by its Action: close hides
// without a system menu, maximise and minimise stay shown but are enabled
// only with their box and the system menu, the icon hides on dialogs.
// `enabled` is the button's current flag, kept for every other Action.
TSysButtonFlags SysButtonVisible(const TDataSkinSysButton& b, const TFrameShape& f, bool enabled,
                                 const TSysButtonQuery& q);

// One image of a caption button's strip: Map width over the frame count
// (below 1 counts as 1), Map height.
TRect SysButtonSize(const TDataSkinSysButton& b);

// A button is laid out and painted only when visible with a non-empty image.
bool SysButtonHasImage(const TDataSkinSysButton& b);

// LayoutSysButtons for one shown button: its bounds by Align, from the
// window's left (0) or right (1), beside the caption text `ctr` (2 and 8
// left of it, 3 and 9 right of it) or inside the menu strip (100, from the
// right, less the menu bar element's left margin `menubarLeft`); any other
// Align puts it at the origin. W is the window's width.
TRect SysButtonBounds(const TDataSkinSysButton& b, const TFrameShape& f, int W, const TRect& ctr, int menubarLeft);

struct TSysButtonView {
  const TDataSkinSysButton* data = nullptr;
  bool visible = false;
};
// RightBtn: the largest XCoord of the shown right-aligned buttons with an
// image, 0 when there is none.
int RightBtnOf(std::span<const TSysButtonView> buttons);

// The window icon's button (drawn with the application's icon).
inline bool IsIconButton(int32_t action) { return action == 3 || action == 11; }

// Whole-frame painting draws a button when it is shown with an image and
// is not one of the menu bar's (Visibility 100).
bool SysButtonPainted(const TDataSkinSysButton& b, bool visible);
// The image painted with the whole frame: 1 when the window is active and
// the button enabled, else 4; a strip of fewer than 4 images always 1.
int SysButtonFrameImage(const TDataSkinSysButton& b, bool windowActive, bool enabled);
// The image painted after a state change (the state's own image): a
// disabled button shows 4 (1 with fewer than 4 images); a menu-bar button
// (Visibility 100) shows 4 when hot.
int SysButtonStateImage(const TDataSkinSysButton& b, TNCState state, bool enabled);

// What a released caption button does, by its Action.
enum class TSysButtonCommand {
  Close,          // 0: SC_CLOSE, when the system menu has it
  Maximize,       // 1, 22: when enabled
  Minimize,       // 2, 23: when enabled
  SystemMenu,     // 3, 11, 12
  ContextHelp,    // 4
  ChildMinimize,  // 7, 60: to the active MDI child
  ChildRestore,   // 8, 61
  ChildClose,     // 9, 62
  Notify,         // anything else: SM_SYSBUTTONCLICK for the application
};
TSysButtonCommand SysButtonCommand(int32_t action);

// The hint of a caption button, empty for Actions that have none.
StringView GetButtonHint(int32_t action);

// The hover hint after `hintcount` ms over a button: shown from twice the
// hint pause for the hide pause, then hidden.
enum class THintStep { Wait, Show, Hide };
THintStep HintStep(int hintcount, int hintPause, int hintHidePause);

// ---- Window state and non-client clicks ---------------------------------------

// WM_SIZE's wParam: 0 normal, 1 minimised, 2 maximised; others keep `current`.
TSkinWindowState WindowStateFromSize(uintptr_t wParam, TSkinWindowState current);
// GetWindowPlacement's showCmd: 2, 6, 7 minimised, 3 maximised, else normal.
TSkinWindowState WindowStateFromShowCmd(unsigned showCmd);
// WM_SYSCOMMAND: exactly SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE (the whole
// wParam, so the caption's SC_MAXIMIZE | 2 is not one), else `current`.
TSkinWindowState WindowStateFromSysCommand(uintptr_t wParam, TSkinWindowState current);
// After WM_SIZE (with Windowstate already updated): the region follows the
// size unless the window is minimised, or an MDI child while one is
// maximised or itself not normal, and only while skinned or changing skin.
bool CropAfterSize(const TFrameShape& f, TSkinFormState skinstate, bool mdiMax);
// The system-menu commands that the skinned system menu delivers as
// WM_COMMAND and that go back to the window as WM_SYSCOMMAND.
bool IsForwardedSysCommand(unsigned id);

// WM_NCLBUTTONDBLCLK. `buttonAction` is the Action of the caption button
// under the cursor, if any.
enum class TNCDoubleClick { Close, Nothing, Restore, Maximize, PassOn };
TNCDoubleClick NCDoubleClick(const TFrameShape& f, std::optional<int32_t> buttonAction);

// ---- Painting -----------------------------------------------------------------

// Where PaintNC puts each part of a W x H window. A minimised window paints
// only its caption, over a buffer of the whole window.
struct TFramePaintRects {
  TRect left, right, bottom;  // border objects 1, 2 and 4
  TRect title;                // the caption strip T, border object 3 and the text
  TRect buffer;               // size of the caption buffer, copied to (0, 0)
  TRect menu;                 // the menu strip
};
TFramePaintRects FramePaintRects(const TFrameShape& f, int W, int H);

// The image of a border object: 1 while active or when it has one image, else 2.
int BorderImage(const TDataSkinBorder& e, bool active);

// DrawCaptionText's text: two spaces before the window text, one after.
inline String CaptionText(StringView windowText) { return u"  " + String(windowText) + u" "; }

struct TCaptionPlacement {
  TRect ctr;            // the caption rectangle; buttons beside the text are placed from it
  TRect back;           // where the title image is stretched
  int backImage = 1;    // its image: 1 active, 2 inactive
  TRect text;           // where the text is drawn (FTitleRect)
  uint32_t format = 0;  // DrawText format
};
// DrawCaptionText's placement in the title rectangle R. `measured` is R
// after DrawText with DT_CALCRECT (R's top-left, the text's extent);
// `popup` is WS_POPUP in the window's current style. Alignment 0 left,
// 1 centre, 2 right, from the title's margins; right to left mirrors them
// around RightBtn and shifts the text 10 pixels right; left to right clips
// the text before the right-aligned buttons (popups) or the title's right
// margin; a left-aligned dialog caption starts 16 pixels further left.
TCaptionPlacement PlaceCaption(const TFrameShape& f, const TDataSkinTitle& title, const TRect& R, const TRect& measured,
                               int RightBtn, bool popup);

// ---- Window region ------------------------------------------------------------

// Cropwindow's gate: not once dead or without a skinned frame, not for an
// empty window or an MDI child that is not normal, and not when the size is
// the one the region was built for, unless an MDI child or a skin change.
bool CropNeeded(const TFrameShape& f, TSkinFormState skinstate, bool sMainMenu, int W, int H, int crwidth,
                int crheight);

// One piece of the region: its rectangle, or, with fromImage, the border
// object drawn at the rectangle's size and cut by the key colour, placed at
// its top-left.
struct TRegionPiece {
  TRect rect;
  bool fromImage = false;
};
struct TRegionPlan {
  bool shaped = false;  // the size is recorded as (crwidth, crheight) only then
  TRect base;           // the whole window, or the inner rectangle when shaped
  bool hasPieces = false;
  TRegionPiece left, right, top, bottom;  // OR-ed to base when hasPieces
};
// The region of a W x H window. `trans` holds the border objects' trans
// flags, objects 1 to 4 (left, right, top, bottom). Without any transparent
// border the region is the whole window. Rectangles never come out inverted
// (a region maker would swap their corners and cover the wrong area), and a
// piece is cut from its image only when it has an area to draw.
TRegionPlan FrameRegionPlan(const TFrameShape& f, int W, int H, const std::array<int32_t, 4>& trans);

}  // namespace qv
