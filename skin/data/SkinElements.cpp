#include "skin/data/SkinElements.h"

namespace qv {

TDataSkinObject::TDataSkinObject(StringView name) : Map(std::make_unique<TBitmap>()), IDName(name) {}

// The picture is cleared before the bitmap goes; releasing never throws.
TDataSkinObject::~TDataSkinObject() {
  try {
    Map->Clear();
  } catch (...) {
  }
}

TDataSkinBorder::TDataSkinBorder(StringView name) : TDataSkinObject(name), MaskMap(std::make_unique<TBitmap>()) {}

TDataSkinBorder::~TDataSkinBorder() = default;

TDataSkinButton::TDataSkinButton(StringView name)
    : TDataSkinObject(name), CheckMap(std::make_unique<TBitmap>()), RadioMap(std::make_unique<TBitmap>()) {}

// CheckMap, then RadioMap, then (in the base) Map.
TDataSkinButton::~TDataSkinButton() {
  CheckMap.reset();
  RadioMap.reset();
}

}  // namespace qv
