#include "skin/data/SkinWrite.h"

#include "platform/core/Exceptions.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"

namespace qv {

namespace {

void PutInt32(std::vector<uint8_t>& out, int64_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(u >> (8 * k)));
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

}  // namespace qv
