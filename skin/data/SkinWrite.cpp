#include "skin/data/SkinWrite.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"

namespace qv {

namespace {

void PutInt32(std::vector<uint8_t>& out, int64_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

String PathText(const std::filesystem::path& p) {
  const std::u8string u8 = p.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

}  // namespace

std::vector<uint8_t> BuildSkinArchive(int32_t version, const std::vector<TSkinMember>& members) {
  const int skip = SkinVersionSkip(version);
  if (skip < 0) throw EConvertError(u"Unknown skin archive version " + IntToStr(version));
  if (members.size() > static_cast<size_t>(kSkinMaxMembers))
    throw EConvertError(u"A skin archive holds at most " + IntToStr(kSkinMaxMembers) + u" members");

  std::vector<uint8_t> dir;
  for (size_t i = 0; i < members.size(); ++i) {
    const String& name = members[i].name;
    // An empty name would vanish as the last line and shift every size after it.
    if (name.empty()) throw EConvertError(u"A skin member needs a name");
    if (i) dir.insert(dir.end(), {'\r', '\n'});
    for (char16_t c : name) {
      if (c > 0xFF || c == u'\r' || c == u'\n')
        throw EConvertError(u"The member name \"" + name + u"\" cannot be stored in a skin archive");
      dir.push_back(static_cast<uint8_t>(c));
    }
  }

  std::vector<uint8_t> out;
  PutInt32(out, version);
  PutInt32(out, static_cast<int64_t>(dir.size()));
  PutInt32(out, 0);
  PutInt32(out, 0);
  out.resize(out.size() + static_cast<size_t>(skip), 0);
  out.insert(out.end(), dir.begin(), dir.end());
  for (const auto& m : members) {
    if (m.bytes.size() > INT32_MAX) throw EConvertError(u"The member \"" + m.name + u"\" is too large");
    PutInt32(out, static_cast<int64_t>(m.bytes.size()));
  }
  for (const auto& m : members) out.insert(out.end(), m.bytes.begin(), m.bytes.end());
  return out;
}

void WriteSkinArchive(int32_t version, const std::vector<TSkinMember>& members, TStream& target) {
  const std::vector<uint8_t> plain = BuildSkinArchive(version, members);
  TMemoryStream source;
  if (!plain.empty()) source.WriteBuffer(plain.data(), static_cast<int64_t>(plain.size()));
  PackStream(source, target);
}

std::vector<TSkinMember> SkinFolderMembers(const String& folder) {
  namespace fs = std::filesystem;
  const std::string utf8 = ToUtf8(folder);
  const fs::path dir(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::u8string name = e.path().filename().u8string();
    if (e.is_regular_file() && !name.empty() && name[0] != u8'.') files.push_back(e.path());
  }
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().u8string() < b.filename().u8string(); });
  std::vector<TSkinMember> members;
  for (const auto& f : files) members.push_back(TSkinMember{PathText(f.filename()), ReadFileBytes(PathText(f))});
  return members;
}

}  // namespace qv
