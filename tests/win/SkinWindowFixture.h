// What the skinned-window tests share: a skin loaded and active (its manager
// hooking this thread), raw windows of the test's own classes and forms freed
// after each test, waiting until a window's skin has finished, window
// geometry in window coordinates, the frame as PaintNC draws it into a memory
// bitmap, windows read back from the screen, pixels counted by colour, and a
// thread timer that the modal loops of menus dispatch.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Menus.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

// ---------------------------------------------------------------------------
// Memory bitmaps, window classes, this thread's messages

// For tests of the class library's windows: the application object exists.
struct AppFixture : ::testing::Test {
  static void SetUpTestSuite() { qv::InitApplication(); }
};

inline std::unique_ptr<qv::TBitmap> Bmp(int w, int h, qv::TColor fill) {
  auto b = std::make_unique<qv::TBitmap>();
  b->SetSize(w, h);
  qv::FillRect(*b, qv::Rect(0, 0, w, h), fill);
  return b;
}

// What w paints when msg hands it (as wParam) a bitmap of the given size
// filled with `fill`.
inline std::unique_ptr<qv::TBitmap> DrawnBy(HWND w, UINT msg, SIZE size, qv::TColor fill, LPARAM lp = 0) {
  auto b = Bmp(size.cx, size.cy, fill);
  SendMessageW(w, msg, reinterpret_cast<WPARAM>(qv::BitmapCanvas(*b).Handle()), lp);
  return b;
}

// Pixels in which two bitmaps of one size differ; -1 for another size.
inline int DifferingPixels(const qv::TBitmap& a, const qv::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
  return n;
}

// A window class of the test's own; registering it again changes nothing.
inline void RegisterWindowClass(const wchar_t* name, WNDPROC proc = DefWindowProcW, HBRUSH background = nullptr) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// Takes every posted msg of w out of the queue.
inline void DropPosted(HWND w, UINT msg) {
  MSG m{};
  while (PeekMessageW(&m, w, msg, msg, PM_REMOVE)) {
  }
}

// ---------------------------------------------------------------------------
// Skins

// A fresh manager over the skin `load` reads into a new component; `adjust`
// may change the loaded skin before it becomes active (and any window is
// skinned).
inline qv::TSkinData* LoadSkin(const std::function<void(qv::TSkinData&)>& load,
                               const std::function<void(qv::TSkinData&)>& adjust = {}) {
  delete qv::SkinManager;
  auto* data = new qv::TSkinData(nullptr);
  data->SetLoading();
  load(*data);
  if (!data->Empty && adjust) adjust(*data);
  data->SetActive(true);
  data->Loaded();
  return data;
}

inline std::wstring ProgramSkinPath() {
  return WinePath(std::string(QV_TEST_DATA) + "/../../assets/skin/quillvault.skin");
}

// LoadSkin over the program's own skin.
inline qv::TSkinData* LoadProgramSkin(const std::function<void(qv::TSkinData&)>& adjust = {}) {
  return LoadSkin([](qv::TSkinData& d) { d.LoadFromFile(qv::FromW(ProgramSkinPath().c_str())); }, adjust);
}

// The window's skin once SM_INITSKIN has finished it, or null after ms.
inline qv::TWinSkinForm* WaitSkinned(HWND w, int ms = 3000) {
  const bool done = WaitUntil(
      [&] {
        qv::TWinSkinForm* sf = qv::SkinManager ? qv::SkinManager->FindForm(w) : nullptr;
        return sf && sf->FActive && sf->Skinstate == qv::TSkinFormState::Skinned;
      },
      ms);
  return done ? qv::SkinManager->FindForm(w) : nullptr;
}

// The caption button with the given action; with `shown`, only one that is
// laid out visible.
inline qv::TWinSysButton* SysButtonOf(qv::TWinSkinForm* sf, int32_t action, bool shown = true) {
  for (auto& b : sf->frame.SysBtn)
    if (b->data && b->data->Action == action && (b->visible || !shown)) return b.get();
  return nullptr;
}

// ---------------------------------------------------------------------------
// Window geometry and the painted frame

inline SIZE WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Where the client area starts, in window coordinates.
inline POINT ClientOrigin(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  return POINT{origin.x - r.left, origin.y - r.top};
}

// A point in window coordinates as a mouse message's screen lParam.
inline LPARAM ScreenLParam(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  return MAKELPARAM(r.left + x, r.top + y);
}
inline LPARAM ScreenLParam(HWND w, qv::TPoint p) { return ScreenLParam(w, p.X, p.Y); }

inline qv::TPoint Centre(const qv::TRect& r) { return qv::TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The frame as PaintNC composes it, over a window-sized bitmap filled with
// `background` (which the client area keeps).
inline std::unique_ptr<qv::TBitmap> PaintedFrame(HWND w, qv::TWinSkinForm* sf, qv::TColor background = 0x123456) {
  const SIZE size = WindowSize(w);
  auto bmp = Bmp(size.cx, size.cy, background);
  sf->PaintNC(qv::BitmapCanvas(*bmp).Handle());
  return bmp;
}

// ---------------------------------------------------------------------------
// Menus

// A form whose main menu has "&File" with "&Open" in it.
inline qv::TForm* FormWithFileMenu(int x, int y, int w, int h) {
  auto* form = new qv::TForm(nullptr);
  form->SetBounds(x, y, w, h);
  auto* main = new qv::TMainMenu(form);
  auto* file = new qv::TMenuItem(main);
  file->SetCaption(u"&File");
  main->Items()->Add(file);
  auto* open = new qv::TMenuItem(main);
  open->SetCaption(u"&Open");
  file->Add(open);
  form->SetMenu(main);
  return form;
}

inline BOOL CALLBACK CollectShownWindow(HWND w, LPARAM lp) {
  if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

// This thread's visible top-level windows of class cls, in z-order.
inline std::vector<HWND> ThreadWindowsShown(const wchar_t* cls) {
  std::vector<HWND> shown, found;
  EnumThreadWindows(GetCurrentThreadId(), CollectShownWindow, reinterpret_cast<LPARAM>(&shown));
  for (HWND w : shown)
    if (ClassOf(w) == cls) found.push_back(w);
  return found;
}

// This thread's visible menu windows, in z-order.
inline std::vector<HWND> MenuWindowsShown() { return ThreadWindowsShown(L"#32768"); }

// A thread timer that calls `tick` every ms: the modal loop of an open menu
// dispatches it, so a test can look and act while TrackPopupMenu holds the
// thread. One runs at a time.
class LoopTimer {
 public:
  LoopTimer(UINT ms, std::function<void()> tick) : tick_(std::move(tick)) {
    current_ = this;
    id_ = SetTimer(nullptr, 0, ms, Tick);
  }
  ~LoopTimer() {
    KillTimer(nullptr, id_);
    current_ = nullptr;
  }
  LoopTimer(const LoopTimer&) = delete;
  LoopTimer& operator=(const LoopTimer&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->tick_();
  }
  static inline LoopTimer* current_ = nullptr;
  std::function<void()> tick_;
  UINT_PTR id_ = 0;
};

// A window's pixels as they are on the screen.
inline std::unique_ptr<qv::TBitmap> ScreenPixels(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  auto bmp = Bmp(r.right - r.left, r.bottom - r.top, 0);
  HDC screen = GetDC(nullptr);
  BitBlt(qv::BitmapCanvas(*bmp).Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return bmp;
}

// The window as it shows: what its window DC holds, painted by whoever
// painted it last (nothing is repainted for the look).
inline std::unique_ptr<qv::TBitmap> WindowPixels(HWND w) {
  const SIZE s = WindowSize(w);
  auto b = Bmp(s.cx, s.cy, 0);
  HDC dc = GetWindowDC(w);
  BitBlt(qv::BitmapCanvas(*b).Handle(), 0, 0, s.cx, s.cy, dc, 0, 0, SRCCOPY);
  ReleaseDC(w, dc);
  return b;
}

// Frame pixels of `shown` that are not what the skin paints there now, but
// where the window region cuts the frame; with bordersOnly below the caption
// strip (which shows the title).
inline int NotTheSkinsFrame(HWND w, qv::TWinSkinForm* sf, const qv::TBitmap& shown, bool bordersOnly) {
  const auto painted = PaintedFrame(w, sf);
  const POINT origin = ClientOrigin(w);
  const SIZE client = ClientSize(w);
  const int top = bordersOnly ? sf->frame.bw.Top + sf->frame.MenuHeight : 0;
  int n = 0;
  for (int y = top; y < std::min(shown.Height(), painted->Height()); ++y)
    for (int x = 0; x < std::min(shown.Width(), painted->Width()); ++x) {
      const bool inClient = x >= origin.x && x < origin.x + client.cx && y >= origin.y && y < origin.y + client.cy;
      const qv::TColor p = painted->Pixel(x, y);
      if (!inClient && p != qv::kSkinKeyColor && shown.Pixel(x, y) != p) ++n;
    }
  return n;
}

// ---------------------------------------------------------------------------
// Telling colours apart and counting pixels

inline int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// The differences of the three channels, summed.
inline int ColourDistance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift : {0, 8, 16}) d += std::abs(Channel(a, shift) - Channel(b, shift));
  return d;
}

// Every channel of c within tolerance of want's.
inline bool Near(uint32_t c, uint32_t want, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(c, shift) - Channel(want, shift)) > tolerance) return false;
  return true;
}

// Every channel below limit: the ink of a dark text.
inline bool Dark(uint32_t c, int limit) {
  for (int shift : {0, 8, 16})
    if (Channel(c, shift) >= limit) return false;
  return true;
}

// Pixels of b inside r (as far as b reaches) whose colour passes.
template <class Pass>
int CountPixels(const qv::TBitmap& b, const qv::TRect& r, Pass pass) {
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x) n += pass(b.Pixel(x, y));
  return n;
}
inline qv::TRect Whole(const qv::TBitmap& b) { return qv::Rect(0, 0, b.Width(), b.Height()); }

inline int CountColour(const qv::TBitmap& b, const qv::TRect& r, qv::TColor c) {
  return CountPixels(b, r, [c](qv::TColor p) { return p == c; });
}
inline int CountColour(const qv::TBitmap& b, qv::TColor c) { return CountColour(b, Whole(b), c); }
// Pixels of the whole bitmap in another colour than c.
inline int CountNot(const qv::TBitmap& b, qv::TColor c) { return b.Width() * b.Height() - CountColour(b, c); }
inline int CountNear(const qv::TBitmap& b, const qv::TRect& r, qv::TColor c, int tolerance) {
  return CountPixels(b, r, [=](qv::TColor p) { return Near(p, c, tolerance); });
}

// Of the colours counted, how many pixels are more than `distance` from
// the most common one: what is drawn on a plain ground.
inline int FarFromCommonest(const std::map<uint32_t, int>& counts, int distance) {
  uint32_t ground = 0;
  int most = -1;
  for (const auto& [c, n] : counts)
    if (n > most) ground = c, most = n;
  int drawn = 0;
  for (const auto& [c, n] : counts)
    if (ColourDistance(c, ground) > distance) drawn += n;
  return drawn;
}

// Pixels at least margin in from the edges whose colour is far from the
// most common one there: the ink of texts and marks on a plain ground.
inline int InkPixels(const qv::TBitmap& b, int margin) {
  std::map<uint32_t, int> counts;
  for (int y = margin; y < b.Height() - margin; ++y)
    for (int x = margin; x < b.Width() - margin; ++x) ++counts[static_cast<uint32_t>(b.Pixel(x, y))];
  return FarFromCommonest(counts, 200);
}

// Opens the drop-down of the bar button at `button` (window coordinates) as
// a click on it does, and returns the drop-down's pixels once it has been
// shown a moment (null when none opened); the menu is closed again.
inline std::unique_ptr<qv::TBitmap> DropDownPixels(HWND w, const qv::TRect& button) {
  std::unique_ptr<qv::TBitmap> shot;
  int ticks = 0;
  const DWORD start = GetTickCount();
  LoopTimer timer(30, [&] {
    const std::vector<HWND> menus = MenuWindowsShown();
    if (!shot && !menus.empty() && ++ticks >= 6) shot = ScreenPixels(menus.front());
    if (shot || GetTickCount() - start > 5000) EndMenu();
  });
  SendMessageW(w, qv::SM_POPUPMENUBAR, 0, ScreenLParam(w, Centre(button)));
  WaitUntil([&] { return (shot || GetTickCount() - start > 5000) && MenuWindowsShown().empty(); }, 7000);
  return shot;
}

// ---------------------------------------------------------------------------
// The fixture

// Frees after each test what it made: its forms and windows, the manager and
// the skin; and puts the system's facts back where a test changed them.
struct SkinWindowFixture : ::testing::Test {
  void TearDown() override {
    for (qv::TForm* f : forms) delete f;
    for (HWND w : windows)
      if (IsWindow(w)) DestroyWindow(w);
    delete qv::SkinManager;
    delete data;
    qv::ApplySkinPlatform(qv::SystemSkinPlatform());
  }

  HWND Track(HWND w) {
    windows.push_back(w);
    return w;
  }

  qv::TForm* Own(qv::TForm* f) {
    forms.push_back(f);
    return f;
  }

  // A top-level window of a class of the test's own, not yet shown.
  HWND RawWindow(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 HMENU menu = nullptr) {
    return Track(CreateWindowExW(0, cls, text, style, x, y, w, h, nullptr, menu, GetModuleHandleW(nullptr), nullptr));
  }

  qv::TWinSkinForm* Skinned(HWND w) { return WaitSkinned(w); }

  qv::TSkinData* data = nullptr;
  std::vector<HWND> windows;
  std::vector<qv::TForm*> forms;
};

}  // namespace qvtest
