// A hint: a small borderless popup with one or more lines of text, shown
// at a given screen rectangle and hidden again.
#pragma once
#include <windows.h>

#include "platform/core/Geometry.h"
#include "platform/core/UString.h"
#include "platform/win/GdiHandles.h"

namespace qv {

class THintWindow {
 public:
  THintWindow() = default;
  ~THintWindow();
  THintWindow(const THintWindow&) = delete;
  THintWindow& operator=(const THintWindow&) = delete;

  // The rectangle at (0, 0) that the text needs, wrapped at maxWidth.
  TRect CalcHintRect(int maxWidth, StringView hint);
  // Shows the text at r (screen coordinates) without taking the focus.
  void ActivateHint(const TRect& r, StringView hint);
  void Hide();
  HWND Handle() const { return handle_; }
  const String& Text() const { return text_; }

 private:
  void HandleNeeded();
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
  HWND handle_ = nullptr;
  OwnedFont font_;
  String text_;
};

}  // namespace qv
