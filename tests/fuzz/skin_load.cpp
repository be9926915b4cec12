// The whole skin load, from outside bytes to elements. The first byte picks
// what the rest is:
//   0  a stored archive (a compressed block)
//   1  the plain data of an archive, packed here first
//   2  a skin description, packed with a few fixed bitmaps
//   3  one bitmap file that every picture key of a fixed description names
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/core/Dialogs.h"
#include "skin/data/CustomSkinData.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinConvert.h"

namespace {

std::vector<uint8_t> SmallBmp(int w, int h, uint32_t seed) {
  qv::TBitmap b;
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, ((x * 7 + y * 13 + seed) & 1) ? 0xFF00FF : 0x336699);
  qv::TMemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

const char kEveryPicture[] =
    "[Personality]\nLeft=a.bmp\nRight=a.bmp\nTop=a.bmp\nBottom=a.bmp\nmenuBar=a.bmp\nTextBack=a.bmp\n"
    "[Button.Close]\nButtonImage=a.bmp\n[Button.Icon]\nAction=3\nButtonImage=a.bmp\n[MDICONTROLS]\nImage=a.bmp\n"
    "[Buttons]\nBitmap=a.bmp\nCheckButton=a.bmp\nRadioButton=a.bmp\n[SunkEdge]\nImage=a.bmp\n"
    "[ComboButton]\nImage=a.bmp\n[ExtraImages]\nImage=a.bmp\n[Tabs]\nImage=a.bmp\nBorder=a.bmp\n"
    "[UpDown.Horz]\nImage=a.bmp\nGlyphImage=a.bmp\n[Progress]\nBitmap=a.bmp\n[Track]\nImage=a.bmp\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (qv::SetMessageBoxHandler([](qv::StringView, qv::StringView, unsigned) { return 1; }), true);
  (void)quiet;
  if (size == 0) return 0;
  const std::vector<uint8_t> rest(data + 1, data + size);
  qv::TMemoryStream archive;
  try {
    switch (data[0] & 3) {
      case 0:
        if (!rest.empty()) archive.WriteBuffer(rest.data(), static_cast<int64_t>(rest.size()));
        break;
      case 1: {
        qv::TMemoryStream plain;
        if (!rest.empty()) plain.WriteBuffer(rest.data(), static_cast<int64_t>(rest.size()));
        qv::PackStream(plain, archive);
        break;
      }
      case 2:
        qv::WriteSkinArchive(70000, {{u"skin.ini", rest}, {u"a.bmp", SmallBmp(12, 4, 0)}, {u"b.bmp", SmallBmp(3, 9, 1)}},
                             archive);
        break;
      default:
        qv::WriteSkinArchive(
            70000, {{u"skin.ini", std::vector<uint8_t>(kEveryPicture, kEveryPicture + sizeof kEveryPicture - 1)},
                    {u"a.bmp", rest}},
            archive);
        break;
    }
  } catch (const qv::Exception&) {
    return 0;
  }
  qv::TCustomSkinData skin(nullptr);
  try {
    skin.LoadFromStream(archive);
  } catch (const qv::ElzhException&) {
    return 0;
  } catch (const qv::EInvalidGraphic&) {
    if (!skin.Empty) std::abort();
    return 0;
  } catch (const qv::EOutOfResources&) {
    return 0;
  }
  if (skin.Empty) return 0;
  // Whatever loaded is whole: every element's pictures can be read end to end.
  size_t pixels = 0;
  for (const qv::TDataSkinObject* e : skin.Elements())
    for (int y = 0; y < e->Map->Height(); ++y) pixels += e->Map->ScanLine(y)[0];
  if (skin.SysBtn.size() < 3) std::abort();
  return static_cast<int>(pixels & 0);
}
