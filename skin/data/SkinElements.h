// Skin elements: one picture of the skin with the numbers that say how to cut
// and draw it. Plain data, owned by the skin component; each element owns
// its bitmaps.
#pragma once
#include <memory>

#include "platform/core/Bitmap.h"

namespace qv {

class TDataSkinObject {
 public:
  explicit TDataSkinObject(StringView name);
  virtual ~TDataSkinObject();
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  // Margins of the nine-part cut (widths of the left and right columns,
  // heights of the top and bottom rows), or other settings where a reader
  // says so.
  TRect r;
  std::unique_ptr<TBitmap> Map;
  int32_t trans = 0;
  // 0 stretched, 1 tiled; the window borders use it the other way round.
  int32_t Tile = 0;
  String IDName;
  int32_t frame = 0;
  int32_t style = 0;
  // -1 when the skin gives none (set by the readers, not here).
  int32_t Normalcolor = 0;
  int32_t Overcolor = 0;
  int32_t Downcolor = 0;
  TColor Normalcolor2 = 0;
  TColor Overcolor2 = 0;
  TColor Downcolor2 = 0;
};

// The element is there and has a picture to draw from.
inline bool HasPicture(const TDataSkinObject* o) { return o && o->Map && !o->Map->Empty(); }

class TDataSkinBorder : public TDataSkinObject {
 public:
  explicit TDataSkinBorder(StringView name);
  ~TDataSkinBorder() override;
  std::unique_ptr<TBitmap> MaskMap;
};

// The caption text: Map is the "TextBack" picture, r the text offsets.
class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Aligment = 0;
  int32_t BackGround = 0;
  int32_t FontHeight = 0;
  int32_t backleft = 0;
  int32_t backright = 0;
  // 0x1FFFFFFF when the skin gives none.
  TColor activetext = 0;
  TColor inactivetext = 0;
};

// Push buttons, with the check box and radio button strips.
class TDataSkinButton : public TDataSkinObject {
 public:
  explicit TDataSkinButton(StringView name);
  ~TDataSkinButton() override;
  std::unique_ptr<TBitmap> CheckMap;
  std::unique_ptr<TBitmap> RadioMap;
  int32_t radioframe = 0;
  int32_t checkframe = 0;
  bool newnormal = false;
  bool newover = false;
  bool newdown = false;
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// The caption of a group box.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t LeftShift = 0;
  int32_t RightShift = 0;
  int32_t Alignment = 0;
};

}  // namespace qv
