#include "skin/data/SkinPictures.h"

#include <algorithm>

#include "platform/core/Format.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

namespace qv {

String PictureMemberName(StringView value) {
  const size_t cut = value.find_last_of(u"\\:");
  const StringView name = cut == StringView::npos ? value : value.substr(cut + 1);
  const size_t dot = name.rfind(u'.');
  if (name.empty() || dot == StringView::npos || name.substr(dot) != u".bmp") return String();
  return String(name);
}

void TSkinPictures::CheckBudget(const TQuickIni& description) const {
  std::map<String, int64_t> bytesOf;
  int64_t total = 0;
  const TStringList& lines = *description.IniFile();
  for (int i = 0; i < lines.Count(); ++i) {
    const String& line = lines.Get(i);
    const size_t eq = line.find(u'=');
    if (eq == String::npos) continue;
    const String name = LowerCase(PictureMemberName(Trim(StringView(line).substr(eq + 1))));
    if (name.empty()) continue;
    auto it = bytesOf.find(name);
    if (it == bytesOf.end()) {
      TMemoryStream member;
      reader_.readfile(name, member);
      it = bytesOf.emplace(name, BitmapFilePixelBytes(member.Memory(), static_cast<size_t>(member.Size()))).first;
    }
    total += std::min(it->second, kSkinPictureBudget + 1);
    if (total > kSkinPictureBudget)
      throw EOutOfResources(u"The skin's pictures need more than " + IntToStr(kSkinPictureBudget >> 20) +
                            u" MB of memory");
  }
}

void TSkinPictures::Load(TBitmap& bmp, StringView member) {
  const String key = LowerCase(member);
  auto it = decoded_.find(key);
  if (it == decoded_.end()) {
    auto picture = std::make_unique<TBitmap>();
    TMemoryStream bytes;
    reader_.readfile(key, bytes);
    if (bytes.Size() > 0) picture->LoadFromStream(bytes);
    it = decoded_.emplace(key, std::move(picture)).first;
  }
  if (it->second->Empty()) {
    bmp.Clear();
    return;
  }
  // Only the pixels: the element's own transparency settings stay.
  const TColor transparentColor = bmp.TransparentColor;
  const bool transparent = bmp.Transparent;
  bmp.Assign(*it->second);
  bmp.TransparentColor = transparentColor;
  bmp.Transparent = transparent;
}

}  // namespace qv
