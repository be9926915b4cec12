// Skin archives: one compressed block (WinConvert) whose plain data holds
//
//   TSkinHeader (Version, DirLen, U1, U2: signed 32-bit little-endian)
//   S bytes skipped, S depending on Version (SkinVersionSkip)
//   DirLen bytes of directory: member names, 8-bit text, one a line
//   4 bytes per name: the member sizes, in directory order
//   the members' bytes, end to end
//
// Names are held in lower case. An archive whose parts do not fit the bytes
// present is refused and the reader keeps what it held.
#pragma once
#include <array>
#include <cstdint>

#include "platform/core/StringList.h"

namespace qv {

struct TSkinHeader {
  int32_t Version = 0;
  int32_t DirLen = 0;
  int32_t U1 = 0;
  int32_t U2 = 0;
};

inline constexpr int kSkinMaxMembers = 1001;
inline constexpr char16_t kOlderSkinMessage[] = u"This is Older Skin File\rPlease update to new version !";

// Bytes between the header and the directory for an archive version; -1 for
// a version the reader does not know.
int SkinVersionSkip(int32_t version);

class TSkinReader {
 public:
  TSkinReader();
  ~TSkinReader();
  TSkinReader(const TSkinReader&) = delete;
  TSkinReader& operator=(const TSkinReader&) = delete;

  // Unpacks the archive at source's start and takes its directory and
  // members. An unknown version is shown to the user and gives false; so
  // does (silently) an archive whose parts do not fit its bytes. Errors of
  // the compressed block (ElzhException) pass through. On false nothing of
  // the archive is taken.
  bool Loadfromstream(TStream& source);
  // False when the file does not exist.
  bool loadfromfile(StringView aname);
  // The block at source's start, unpacked into Dest from its start.
  void Decompress(TStream& source, TStream& Dest);

  // The first member named aname (compared in lower case), rewound; the
  // stream stays empty when there is none.
  void readfile(StringView aname, TMemoryStream& stream);
  // The first member whose name contains aname (case-sensitive; names are
  // lower case); fname := its name. Without one the stream stays empty and
  // fname unchanged.
  void readIni(StringView aname, TMemoryStream& stream, String& fname);

  TStringList* Dir;  // member names, lower case, in directory order
  int32_t dirlen = 0;  // kept for the record layout; not used
  int32_t Num = 0;
  std::array<int32_t, kSkinMaxMembers> sizes{};
  TMemoryStream* ms;  // the members' bytes, end to end
  TSkinHeader header;
  TSkinHeader header2;

 private:
  void CopyMember(int index, TMemoryStream& stream) const;
};

}  // namespace qv
