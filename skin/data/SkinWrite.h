// Writing skin archives (the layout is described in SkinRead.h): used by the
// skin packer at build time and by tests that need archives of every version.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/Streams.h"

namespace qv {

struct TSkinMember {
  String name;  // 8-bit text: every code unit up to 0xFF, no line breaks
  std::vector<uint8_t> bytes;
};

// The plain data of an archive: header (U1 and U2 zero), the skipped block
// of the version as zeros, the names separated by CR LF, sizes, members.
// Throws EConvertError for an unknown version, a name that cannot be stored,
// or more members than a reader takes.
std::vector<uint8_t> BuildSkinArchive(int32_t version, const std::vector<TSkinMember>& members);
// The same, packed as one compressed block at target's start.
void WriteSkinArchive(int32_t version, const std::vector<TSkinMember>& members, TStream& target);

// Every file of folder as a member, in the byte order of the names' UTF-8;
// names starting with '.' and subfolders are left out.
std::vector<TSkinMember> SkinFolderMembers(const String& folder);

}  // namespace qv
