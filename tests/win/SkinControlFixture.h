// Shared by the control skin tests: memory bitmaps to paint into, a form
// with an edit box and a push button, raw windows (of a class of the test's
// own or the system's), skins attached to controls, all freed after each
// test.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/StdCtrls.h"
#include "skin/controls/ControlSkinFactory.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/WinSkinData.h"
#include "tests/win/SkinWindowFixture.h"

namespace qvtest {

inline HDC DC(qv::TBitmap& b) { return qv::BitmapCanvas(b).Handle(); }

// The control as its skin paints it into a white w x h bitmap: what the
// skin leaves unpainted stays white.
inline std::unique_ptr<qv::TBitmap> PaintedOnWhite(qv::TSkinControl* s, int w, int h) {
  auto b = Bmp(w, h, 0xFFFFFF);
  s->PaintControl(DC(*b));
  return b;
}

// The solid colours of the test strips' frames, in the skins' order; each
// is told apart from the others in every channel.
namespace strip {
constexpr qv::TColor kNormal = 0x0000C0, kPressed = 0x00C000, kDisabled = 0xC00000, kHot = 0x00C0C0,
                     kFocused = 0xC000C0;
}  // namespace strip

// A skin whose push-button strip holds five frames of solid colours
// (normal, pressed, disabled, hot, focused) over the face colour.
inline std::unique_ptr<qv::TSkinData> ButtonStripSkin(const qv::TColor (&frames)[5], qv::TColor face) {
  auto d = std::make_unique<qv::TSkinData>(nullptr);
  d->Colors[3] = face;
  d->Button = std::make_unique<qv::TDataSkinButton>(u"Button");
  d->Button->frame = 5;
  d->Button->Map = Bmp(100, 20, frames[0]);
  for (int i = 0; i < 5; ++i) qv::FillRect(*d->Button->Map, qv::Rect(i * 20, 0, i * 20 + 20, 20), frames[i]);
  return d;
}

// The control skins' tests: a skin of the test's making in `data`, a form,
// raw windows; the skins belong to their controls or to the windows.
struct SkinControlFixture : AppFixture {
  // Registers rawClass with proc once per test suite.
  static void RegisterRawClass(const wchar_t* rawClass, WNDPROC proc = DefWindowProcW, HBRUSH background = nullptr) {
    qv::InitApplication();
    RegisterWindowClass(rawClass, proc, background);
  }

  qv::TForm* NewForm(int x, int y, int w, int h) {
    form = std::make_unique<qv::TForm>(nullptr);
    form->SetBounds(x, y, w, h);
    return form.get();
  }

  // A form with an edit box and a push button of the given size.
  void MakeForm(int buttonWidth, int buttonHeight) {
    NewForm(40, 40, 320, 240);
    edit = new qv::TEdit(form.get());
    edit->SetBounds(8, 8, 120, 21);
    edit->SetParent(form.get());
    button = new qv::TButton(form.get());
    button->SetBounds(8, 40, buttonWidth, buttonHeight);
    button->SetParent(form.get());
    form->Handle();
  }

  void TearDown() override {
    for (HWND w : windows)
      if (IsWindow(w)) DestroyWindow(w);
    form.reset();
    data.reset();
    qv::Application->ProcessMessages();
  }

  HWND Track(HWND w) {
    windows.push_back(w);
    return w;
  }

  // A raw window of cls at `at` (in parent's client area when it has a
  // parent), destroyed after the test if it is still there.
  HWND MakeWindow(const wchar_t* cls, DWORD style, const qv::TRect& at, HWND parent = nullptr,
                  const wchar_t* text = L"", DWORD exStyle = 0, HMENU id = nullptr) {
    return Track(CreateWindowExW(exStyle, cls, text, style, at.Left, at.Top, at.Width(), at.Height(), parent, id,
                                 GetModuleHandleW(nullptr), nullptr));
  }

  // A skin of class cls made for c and started on `data`.
  template <class S = qv::TSkinControl>
  S* Attach(qv::TControlSkinClass cls, qv::TWinControl* c) {
    auto* s = static_cast<S*>(qv::CreateControlSkin(cls, c));
    s->Init(nullptr, data.get(), nullptr, false);
    return s;
  }

  std::unique_ptr<qv::TSkinData> data;
  std::unique_ptr<qv::TForm> form;
  qv::TEdit* edit = nullptr;
  qv::TButton* button = nullptr;
  std::vector<HWND> windows;
};

}  // namespace qvtest
