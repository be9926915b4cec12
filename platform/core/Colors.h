// Colours of the class library: 0x00BBGGRR, or 0xFF000000 + a system colour
// index. Resolving a system colour needs the platform; the platform-free code
// asks a replaceable source (the Windows build installs GetSysColor).
#pragma once
#include <cstdint>
#include <functional>

namespace qv {

using TColor = int32_t;
inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// System colour indices (the platform's numbering).
enum : int {
  kColorScrollbar = 0, kColorMenu = 4, kColorWindow = 5, kColorWindowText = 8, kColorCaptionText = 9,
  kColorHighlight = 13, kColorHighlightText = 14, kColorBtnFace = 15, kColorBtnShadow = 16,
  kColorBtnText = 18, kColorInactiveCaptionText = 19, kColorBtnHighlight = 20, kColor3DDkShadow = 21,
  kColorMenuText = 7, kColorInfoText = 23, kColorInfoBk = 24, kColorHotLight = 26
};

using TSysColorSource = std::function<uint32_t(int index)>;
// Returns the source that was installed before. Without one, a fixed classic
// scheme answers (host builds and tests).
TSysColorSource SetSysColorSource(TSysColorSource source);
// 0x00BBGGRR of any colour; a system colour is resolved by its low byte.
uint32_t ColorToRGB(TColor color);

inline uint8_t RedOf(uint32_t c) { return static_cast<uint8_t>(c); }
inline uint8_t GreenOf(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t BlueOf(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
inline constexpr uint32_t RGBColor(unsigned r, unsigned g, unsigned b) {
  return (r & 255u) | ((g & 255u) << 8) | ((b & 255u) << 16);
}

}  // namespace qv
