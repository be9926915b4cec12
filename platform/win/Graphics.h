// Colours, fonts, a canvas over a device context and icons: the class
// library's graphics, over GDI.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/core/Colors.h"
#include "platform/core/Component.h"
#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"

namespace qv {

// TColor, ColorToRGB and the plain colours live in platform/core/Colors.h.
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
inline constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
inline constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
inline constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
inline constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
inline constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t;
extern const TEnumInfo kFontStyleInfo;

class TFont : public TPersistent {
  QV_CLASS(TFont)
 public:
  TFont();
  ~TFont() override;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;
  void Assign(const TPersistent& source) override;

  // A font handle for the current values, made when first asked for.
  HFONT Handle();
  const String& Name() const { return name_; }
  void SetName(const String& v);
  int Height() const { return height_; }
  void SetHeight(int v);
  // Points at the screen's pixels per inch.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Charset() const { return charset_; }
  void SetCharset(int v);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  // Name, height, character set and style as lf describes them.
  void AssignLogFont(const LOGFONTW& lf);
  // As the font behind handle (a window's WM_GETFONT); false, and the font
  // unchanged, for a null or dead handle.
  bool AssignHandle(HFONT handle);

  std::function<void(TObject*)> OnChange;

 private:
  void Changed();
  String name_ = u"Tahoma";
  int height_ = -11;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
  TFontStyles style_ = 0;
  OwnedFont handle_;
};

// The size of one line of text in the font selected in dc: what a caption
// needs, tabs and '&' taken as they are.
SIZE HdcTextExtent(HDC dc, StringView text);
// The same in font, measured on the screen.
SIZE ScreenTextExtent(HFONT font, StringView text);

// Drawing on a device context that belongs to someone else (a paint, a
// bitmap): the canvas selects its own font and leaves the DC as found. A
// change of the font takes it out of the DC before its handle is replaced.
class TCanvas {
 public:
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc);
  TFont& Font() { return font_; }
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor c) { brushColor_ = c; }

  void FillRect(const RECT& r);
  void TextOut(int x, int y, StringView text);
  SIZE TextExtent(StringView text);
  // DrawTextW with the canvas's font; transparent background.
  int DrawText(StringView text, RECT& r, UINT format);

 private:
  void SelectFont();
  HDC dc_ = nullptr;
  std::optional<SelectGuard> fontSelected_;
  TFont font_;
  TColor brushColor_ = clBtnFace;
};

class TIcon : public TPersistent {
  QV_CLASS(TIcon)
 public:
  TIcon() = default;
  ~TIcon() override;
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  HICON Handle() const { return handle_; }
  // Takes ownership of the handle.
  void SetHandle(HICON icon);
  bool Empty() const { return handle_ == nullptr; }
  // The icon resource of the program's module, at the given size (0: default).
  bool LoadFromResourceName(const String& name, int size = 0);

 private:
  HICON handle_ = nullptr;
};

// Gives a window one icon as both its small and its large icon.
void SetWindowIcons(HWND wnd, HICON icon);

// The system's caption font; the class default when the system gives none.
std::unique_ptr<TFont> SystemCaptionFont();

}  // namespace qv
