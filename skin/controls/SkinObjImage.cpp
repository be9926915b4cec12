#include "skin/controls/SkinObjImage.h"

#include <exception>

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "skin/controls/SkinControlList.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

struct FrameCopy {
  int frame;
  int slot;
};

// Frame -> slot copies per kind; the last row of each applies only to a
// picture with a fifth (grayed) frame.
const std::vector<FrameCopy>& Copies(int32_t kind, bool grayed) {
  static const std::vector<FrameCopy> check{{1, 1}, {1, 4}, {2, 2}, {2, 5}, {3, 7}, {4, 8}};
  static const std::vector<FrameCopy> checkGrayed{{1, 1}, {1, 4}, {2, 2}, {2, 5}, {3, 7}, {4, 8}, {5, 3}, {5, 6}, {5, 9}};
  static const std::vector<FrameCopy> radio{{1, 1}, {1, 3}, {2, 2}, {2, 4}, {3, 5}, {4, 6}};
  static const std::vector<FrameCopy> props{{1, 1}, {1, 4}, {2, 2}, {2, 5}};
  static const std::vector<FrameCopy> propsGrayed{{1, 1}, {1, 4}, {2, 2}, {2, 5}, {5, 3}, {5, 6}};
  if (kind == TSkinObjImage::okRadio) return radio;
  if (kind == TSkinObjImage::okPropertiesCheck) return grayed ? propsGrayed : props;
  return grayed ? checkGrayed : check;
}

// A property of an unexpected type never stops the skinning.
void SetQuietly(TObject* obj, StringView prop, StringView value) {
  try {
    SetPropByName(obj, prop, value);
  } catch (const std::exception&) {
  }
}

}  // namespace

const TClassInfo& TSkinObjImage::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinObjImage>(u"TSkinObjImage", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinObjImage::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool /*acolor*/) {
  if (Inited || !BindOwner(sf, sd, acanvas)) return;
  if (auto* f = ControlSkinHostOf(skinform)) f->ControlSkins().Add(this);
  ApplyGlyphs();
  Inited = true;
  skinstate = TControlSkinState::Active;
}

void TSkinObjImage::SkinChange() { ApplyGlyphs(); }

std::unique_ptr<TBitmap> TSkinObjImage::BuildStrip() {
  if (!fsd || !fsd->Button) return nullptr;
  TDataSkinButton& b = *fsd->Button;
  TBitmap* image = kind == okRadio ? b.RadioMap.get() : b.CheckMap.get();
  const int frames = kind == okRadio ? b.radioframe : b.checkframe;
  if (!image || image->Empty() || frames <= 0) return nullptr;
  const int fw = image->Width() / frames, h = image->Height();
  if (fw <= 0) return nullptr;
  const int slots = kind == okCheck ? 9 : 6;
  auto strip = std::make_unique<TBitmap>();
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(slots * fw, h);
  HDC dst = BitmapCanvas(*strip).Handle();
  // Slots the picture has no frame for stay see-through.
  FillColorRect(dst, Rect(0, 0, strip->Width(), h), kSkinKeyColor);
  HDC src = BitmapCanvas(*image).Handle();
  for (const FrameCopy& c : Copies(kind, frames == 5))
    if (c.frame <= frames) BitBlt(dst, (c.slot - 1) * fw, 0, fw, h, src, (c.frame - 1) * fw, 0, SRCCOPY);
  return strip;
}

TBitmap* TSkinObjImage::TargetBitmap() {
  if (!control) return nullptr;
  if (kind != okPropertiesCheck)
    return static_cast<TBitmap*>(GetObjectPropByName(control, u"CustomGlyphs", TBitmap::StaticClass()));
  TObject* props = GetObjectPropByName(control, u"Properties", TObject::StaticClass());
  return static_cast<TBitmap*>(GetObjectPropByName(props, u"Glyph", TBitmap::StaticClass()));
}

void TSkinObjImage::SaveOriginal(TBitmap& target) {
  if (original_) return;
  original_ = std::make_unique<Original>();
  original_->glyphs.Assign(target);
  if (kind == okPropertiesCheck) {
    original_->keyColour = GetOrdPropByName(&target, u"TransparentColor");
    original_->transparent = GetEnumPropByName(&target, u"Transparent");
  } else {
    original_->keyColour = GetOrdPropByName(control, u"TransparentColor");
    original_->useCustom = GetEnumPropByName(control, u"UseCustomGlyphs");
  }
}

void TSkinObjImage::ApplyGlyphs() {
  std::unique_ptr<TBitmap> strip = BuildStrip();
  if (!strip) {
    // A skin without the picture leaves the control its own glyphs, not the
    // last skin's.
    PutBackOriginal();
    return;
  }
  TBitmap* target = TargetBitmap();
  if (kind == okPropertiesCheck) {
    if (!target) return;
    SaveOriginal(*target);
    target->Assign(*strip);
    SetQuietly(target, u"TransparentColor", IntToStr(kSkinKeyColor));
    SetQuietly(target, u"Transparent", u"False");
    control->Invalidate();
    return;
  }
  if (target) {
    SaveOriginal(*target);
    target->Assign(*strip);
  }
  SetQuietly(control, u"transparentcolor", IntToStr(kSkinKeyColor));
  // Off and on again, so that the control takes the new glyphs.
  SetQuietly(control, u"UseCustomGlyphs", u"false");
  SetQuietly(control, u"UseCustomGlyphs", u"true");
}

void TSkinObjImage::Unsubclass() {
  if (!skinned) return;
  TSkinControl::Unsubclass();
  PutBackOriginal();
}

void TSkinObjImage::PutBackOriginal() {
  if (!control) return;
  TBitmap* target = TargetBitmap();
  if (!original_ || !target) {
    // Nothing was handed over, or nowhere to put it back: the skin's own
    // glyphs are switched off at least.
    if (kind != okPropertiesCheck) SetQuietly(control, u"UseCustomGlyphs", u"false");
    return;
  }
  target->Assign(original_->glyphs);
  if (kind == okPropertiesCheck) {
    if (original_->keyColour != -1) SetQuietly(target, u"TransparentColor", IntToStr(original_->keyColour));
    if (!original_->transparent.empty()) SetQuietly(target, u"Transparent", original_->transparent);
    control->Invalidate();
  } else {
    if (original_->keyColour != -1) SetQuietly(control, u"TransparentColor", IntToStr(original_->keyColour));
    SetQuietly(control, u"UseCustomGlyphs", u"false");
    if (!original_->useCustom.empty()) SetQuietly(control, u"UseCustomGlyphs", original_->useCustom);
  }
  original_.reset();
}

}  // namespace qv
