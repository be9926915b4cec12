// Check boxes and radio buttons of other control families that draw their
// own glyphs: the skin builds a glyph strip in their slot layout from the
// skin's check or radio picture and hands it to the control's own glyph
// properties. It does not subclass the control.
//
// A check box (okCheck), 9 slots into "CustomGlyphs" (with
// "UseCustomGlyphs" and "TransparentColor"); a radio button (okRadio), 6
// slots, the same properties; a check box (okPropertiesCheck), 6 slots into
// the "Glyph" of its "Properties" object. What the control had before is kept and put back
// when the skin lets go.
#pragma once
#include <memory>

#include "skin/controls/SkinControl.h"

namespace qv {

class TSkinObjImage : public TSkinControl {
  QV_CLASS(TSkinObjImage)
 public:
  // Set by the creator from the control's family.
  enum TObjImageKind : int32_t { okCheck = 1, okRadio = 2, okPropertiesCheck = 3 };

  explicit TSkinObjImage(TComponent* AOwner) : TSkinControl(AOwner) {}

  void Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) override;
  void Unsubclass() override;
  void SkinChange() override;

  // The strip for this kind from the skin, or null when the skin has no
  // usable picture.
  std::unique_ptr<TBitmap> BuildStrip();

 private:
  void ApplyGlyphs();
  // The bitmap the strip goes to: "CustomGlyphs", or the "Glyph" of
  // "Properties" for okPropertiesCheck; null when the control has none.
  TBitmap* TargetBitmap();
  void SaveOriginal(TBitmap& target);
  void PutBackOriginal();

  // What the control had before the first strip.
  struct Original {
    TBitmap glyphs;
    String useCustom;       // okCheck and okRadio
    int32_t keyColour = -1;  // "TransparentColor" (okPropertiesCheck: of the glyph)
    String transparent;     // okPropertiesCheck: the glyph's "Transparent"
  };
  std::unique_ptr<Original> original_;
};

}  // namespace qv
