// Time from the "SkinStream" bytes of the main form (a 4-byte count and the
// packed archive) to a loaded skin component, for the program's own skin.
// Prints the median and spread of many runs; no limits.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/core/FileUtils.h"
#ifdef _WIN32
#include "skin/data/WinSkinData.h"
using SkinComponent = qv::TSkinData;
#else
#include "skin/data/CustomSkinData.h"
using SkinComponent = qv::TCustomSkinData;
#endif

namespace {

// Hands the counted bytes to the component as the form reader does.
class StreamProperty : public qv::TFiler {
 public:
  explicit StreamProperty(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  void DefineBinaryProperty(qv::StringView name, BinaryReader read, BinaryWriter, bool) override {
    if (name != u"SkinStream") return;
    qv::TMemoryStream s;
    s.WriteBuffer(bytes_.data(), static_cast<int64_t>(bytes_.size()));
    s.SetPosition(0);
    read(s);
  }
  void DefineListProperty(qv::StringView, ListReader, ListWriter, bool) override {}

 private:
  const std::vector<uint8_t>& bytes_;
};

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : QV_SKIN_ASSET;
  std::vector<uint8_t> archive;
  try {
    archive = qv::ReadFileBytes(qv::FromUtf8(path));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_load_bench: %s\n", e.what());
    return 1;
  }
  const uint32_t n = static_cast<uint32_t>(archive.size());
  std::vector<uint8_t> property = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  property.insert(property.end(), archive.begin(), archive.end());

  const int runs = argc > 2 ? std::atoi(argv[2]) : 200;
  std::vector<double> ms;
  size_t elements = 0;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    SkinComponent skin(nullptr);
    StreamProperty filer(property);
    skin.DefineProperties(filer);
    const auto t1 = std::chrono::steady_clock::now();
    if (skin.Empty) {
      std::fprintf(stderr, "skin_load_bench: %s did not load\n", path);
      return 1;
    }
    elements = skin.Elements().size();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("SkinStream %u bytes -> %zu elements: median %.3f ms, p10 %.3f ms, p90 %.3f ms (%d runs)\n", n, elements,
              ms[ms.size() / 2], ms[ms.size() / 10], ms[ms.size() * 9 / 10], runs);
  return 0;
}
