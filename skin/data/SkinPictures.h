// The pictures of one skin load. Each archive member is decoded once and
// copied into every element that names it: a member named by many keys is
// no longer decoded once per key. Before any picture is read, the pictures
// that the description names are added up from their headers, and a skin
// whose pictures would together take more than kSkinPictureBudget decoded
// is refused, so that a small archive of large, highly packed bitmaps
// cannot fill memory.
#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include "platform/core/Bitmap.h"

namespace qv {

class TQuickIni;
class TSkinReader;

inline constexpr int64_t kSkinPictureBudget = int64_t{256} << 20;

// The archive member that a picture value names: the part after the last
// backslash or colon, when it ends in ".bmp" exactly; empty otherwise.
String PictureMemberName(StringView value);

class TSkinPictures {
 public:
  explicit TSkinPictures(TSkinReader& reader) : reader_(reader) {}

  // EOutOfResources when the members named by the description's values, each
  // counted once per value naming it, take more than kSkinPictureBudget
  // bytes of pixels.
  void CheckBudget(const TQuickIni& description) const;
  // bmp := the picture of the member (a name from PictureMemberName); cleared
  // when the member is missing or empty. An invalid bitmap raises
  // EInvalidGraphic, as loading it does.
  void Load(TBitmap& bmp, StringView member);

 private:
  TSkinReader& reader_;
  std::map<String, std::unique_ptr<TBitmap>> decoded_;  // by lower-case name
};

}  // namespace qv
