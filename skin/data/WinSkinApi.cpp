#include "skin/data/WinSkinApi.h"

#include <string>

#include "platform/core/AnsiText.h"
#include "platform/core/TypInfo.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinPlatform.h"

namespace qv {

namespace {

// Loads user32 and looks the entries up on first use; frees the module when
// the program ends.
struct User32Unit {
  TSkinUser32 entries;
  User32Unit() {
    entries.module = LoadLibraryW(L"user32.dll");
    if (!entries.module) return;
    auto find = [&](const char* name) { return GetProcAddress(entries.module, name); };
    entries.GetScrollBarInfo = reinterpret_cast<TSkinUser32::GetScrollBarInfoProc>(find("GetScrollBarInfo"));
    entries.TrackMouseEvent = reinterpret_cast<TSkinUser32::TrackMouseEventProc>(find("TrackMouseEvent"));
    entries.GetComboBoxInfo = reinterpret_cast<TSkinUser32::GetComboBoxInfoProc>(find("GetComboBoxInfo"));
    entries.DisableProcessWindowsGhosting =
        reinterpret_cast<TSkinUser32::DisableProcessWindowsGhostingProc>(find("DisableProcessWindowsGhosting"));
  }
  ~User32Unit() {
    if (entries.module) FreeLibrary(entries.module);
  }
};

}  // namespace

TSkinUser32& SkinUser32() {
  static User32Unit unit;
  return unit.entries;
}

String AnsiToWide(const std::string& S) { return CodePageToText(SkinCodePage, S); }

String WideCopy(const wchar_t* P, int N) {
  if (!P) return String();
  size_t len = 0;
  while (P[len] && (N < 0 || len < static_cast<size_t>(N))) ++len;
  return FromW(P, len);
}

int SkinDrawText(HDC DC, StringView Text, RECT& Rect, UINT Format) {
  if (IsWinNT)
    return DrawTextW(DC, reinterpret_cast<LPCWSTR>(Text.data()), static_cast<int>(Text.size()), &Rect, Format);
  const std::string ansi = TextToCodePage(CP_ACP, Text);
  return DrawTextA(DC, ansi.c_str(), -1, &Rect, Format);
}

TWinControl* FindControlOfWindow(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TWinControl*>(GetPropW(Wnd, MAKEINTATOM(ControlAtom())));
}

bool SkinGetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& psbi) {
  const auto proc = SkinUser32().GetScrollBarInfo;
  return proc && proc(hwnd, idObject, &psbi) != 0;
}

void TrackMouseLeave(HWND Wnd) {
  const auto proc = SkinUser32().TrackMouseEvent;
  if (!proc) return;
  TRACKMOUSEEVENT tme{};
  // The record's real size: a fixed 16 only fits the 32-bit layout.
  tme.cbSize = sizeof tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = Wnd;
  proc(&tme);
}

void SetComponentColor(TComponent* component, TColor colour) {
  const TPropInfo* p = component ? GetPropInfo(component, u"Color") : nullptr;
  if (!p || p->kind != TPropKind::Ordinal || GetOrdProp(component, *p) == colour) return;
  SetOrdProp(component, *p, colour);
  auto* control = As<TControl>(component);
  if (!control) return;
  control->Repaint();
  // Painted now, not at the next idle moment.
  auto* w = As<TWinControl>(control);
  if (!w) w = control->Parent();
  if (w && w->HandleAllocated()) UpdateWindow(w->Handle());
}

}  // namespace qv
