// skinpack: makes skin archives from a folder of member files, and packs or
// unpacks single compressed blocks. See Usage below.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinConvert.h"

namespace {

const char kUsage[] =
    "Usage:\n"
    "  skinpack [--version N] FOLDER ARCHIVE\n"
    "      Packs every file of FOLDER (names in byte order; names starting\n"
    "      with '.' and subfolders are left out) into the skin archive\n"
    "      ARCHIVE, compressed as one block. N is the archive version:\n"
    "      20000, 30000, 40000, 50000, 60000 or 70000 (default 70000).\n"
    "  skinpack --pack FILE BLOCK\n"
    "      Compresses any FILE into one block (4-byte plain size + code).\n"
    "  skinpack --unpack BLOCK FILE\n"
    "      Writes the plain bytes of the compressed block BLOCK to FILE.\n"
    "  skinpack --help\n"
    "      Shows this text.\n";

int UsageError(const char* what) {
  std::fprintf(stderr, "skinpack: %s\n\n%s", what, kUsage);
  return 2;
}

qv::String Arg(const char* s) { return qv::FromUtf8(s); }

void PackFile(const char* from, const char* to, bool pack) {
  qv::TMemoryStream in;
  in.LoadFromFile(Arg(from));
  qv::TMemoryStream out;
  if (pack) qv::PackStream(in, out);
  else qv::UnpackStream(in, out);
  out.SaveToFile(Arg(to));
  std::printf("%s: %lld -> %lld bytes\n", to, static_cast<long long>(in.Size()), static_cast<long long>(out.Size()));
}

void PackFolder(int32_t version, const char* folder, const char* archive) {
  const std::vector<qv::TSkinMember> members = qv::SkinFolderMembers(Arg(folder));
  qv::TMemoryStream out;
  qv::WriteSkinArchive(version, members, out);
  out.SaveToFile(Arg(archive));
  std::printf("%s: version %d, %zu members, %lld bytes\n", archive, version, members.size(),
              static_cast<long long>(out.Size()));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.empty()) return UsageError("nothing to do");
    if (args[0] == "--help" || args[0] == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (args[0] == "--pack" || args[0] == "--unpack") {
      if (args.size() != 3) return UsageError("two file names expected");
      PackFile(args[1].c_str(), args[2].c_str(), args[0] == "--pack");
      return 0;
    }
    int32_t version = 70000;
    size_t at = 0;
    if (args[0] == "--version") {
      int v = 0;
      if (args.size() < 2 || !qv::TryStrToInt(Arg(args[1].c_str()), v) || qv::SkinVersionSkip(v) < 0)
        return UsageError("--version takes 20000, 30000, 40000, 50000, 60000 or 70000");
      version = v;
      at = 2;
    }
    if (args.size() - at != 2 || args[at].rfind("--", 0) == 0) return UsageError("a folder and an archive name expected");
    PackFolder(version, args[at].c_str(), args[at + 1].c_str());
    return 0;
  } catch (const qv::Exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
  }
  return 1;
}
