// Writes that the disk refuses part of the way: each says which file and why,
// and leaves nothing half written behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Streams.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// No file of this process may grow past limit bytes while it lives; a write
// across the limit is cut there and the next one fails with EFBIG, as on a
// disk that fills up.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r = saved_;
    r.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &r);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int);
};

struct TempDir {
  fs::path path = fs::temp_directory_path() / ("qv_writes_" + std::to_string(std::random_device()()));
  TempDir() { fs::create_directories(path); }
  ~TempDir() { fs::remove_all(path); }
  String operator/(const char* name) const { return FromUtf8((path / name).string()); }
  size_t Count() const { return static_cast<size_t>(std::distance(fs::directory_iterator(path), {})); }
};

const String kTooBig = FromUtf8(std::strerror(EFBIG));

// The message of the error that write throws, or "<no error>".
template <typename E = EWriteError, typename F>
String ErrorOf(F write) {
  try {
    write();
  } catch (const E& e) {
    return e.Message();
  }
  return u"<no error>";
}

std::string Bytes(StringView path) {
  const std::vector<uint8_t> b = ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

}  // namespace

TEST(FileWrites, AFullDeviceNamesTheFileAndTheReason) {
  TFileStream f(u"/dev/full", fmOpenWrite);
  EXPECT_EQ(ErrorOf([&] { f.WriteBuffer("row", 3); }),
            u"Cannot write to file \"/dev/full\". " + FromUtf8(std::strerror(ENOSPC)));
}

TEST(FileWrites, ANewFileIsWrittenWholeOrNotAtAll) {
  TempDir dir;
  const std::string doc(3000, 'x');
  const String path = dir / "1 a.html", temp = dir / "new.tmp";
  {
    FileSizeLimit limit(1000);
    EXPECT_EQ(ErrorOf([&] { WriteNewFileBytes(path, temp, doc.data(), doc.size()); }),
              u"Cannot write to file \"" + path + u"\". " + kTooBig);
  }
  EXPECT_EQ(dir.Count(), 0u);  // nothing cut short left behind
  EXPECT_EQ(WriteNewFileBytes(path, temp, doc.data(), doc.size()), TNewFileResult::Written);
  EXPECT_EQ(WriteNewFileBytes(path, temp, "y", 1), TNewFileResult::Taken);
  EXPECT_EQ(Bytes(path), doc);
  EXPECT_EQ(dir.Count(), 1u);
  const String tooLong = dir / (std::string(300, 'n') + ".html").c_str();
  EXPECT_EQ(WriteNewFileBytes(tooLong, temp, "z", 1), TNewFileResult::NameTooLong);
  EXPECT_THROW(WriteNewFileBytes(dir / "missing/1 a.html", temp, "z", 1), EFCreateError);
  EXPECT_EQ(dir.Count(), 1u);
}

TEST(FileWrites, AProcessKilledWhileWritingANewFileLeavesNothingUnderItsName) {
  TempDir dir;
  const std::string doc(3000, 'x');
  const String path = dir / "1 a.html", temp = dir / "new.tmp";
  // The child dies of the signal a write past its size limit raises, as a
  // process ended from outside would, part of the way through.
  const pid_t child = fork();
  if (child == 0) {
    const rlimit noCore{0, 0}, small{1000, 1000};
    setrlimit(RLIMIT_CORE, &noCore);
    setrlimit(RLIMIT_FSIZE, &small);
    std::signal(SIGXFSZ, SIG_DFL);
    WriteNewFileBytes(path, temp, doc.data(), doc.size());
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  EXPECT_FALSE(FileExists(path));
  // The next writer takes the name as free and the leftover as its own.
  EXPECT_EQ(WriteNewFileBytes(path, temp, doc.data(), doc.size()), TNewFileResult::Written);
  EXPECT_EQ(Bytes(path), doc);
  EXPECT_EQ(dir.Count(), 1u);
}

TEST(FileWrites, AReplacementLeavesTheOldFileWholeUntilTheNewOneIsComplete) {
  TempDir dir;
  const String path = dir / "config.ini";
  const std::string old(500, 'o'), longer(3000, 'n');
  WriteFileBytes(path, old.data(), old.size());
  {
    FileSizeLimit limit(1000);
    EXPECT_EQ(ErrorOf([&] { ReplaceFileBytes(path, longer.data(), longer.size()); }),
              u"Cannot write to file \"" + path + u"\". " + kTooBig);
  }
  EXPECT_EQ(Bytes(path), old);
  EXPECT_EQ(dir.Count(), 1u);  // no temporary file left
  ReplaceFileBytes(path, longer.data(), longer.size());
  EXPECT_EQ(Bytes(path), longer);
  EXPECT_EQ(dir.Count(), 1u);
}

TEST(FileWrites, AFolderThatCannotBeMadeIsNamed) {
  TempDir dir;
  CreateFolders(dir / "u/html");
  EXPECT_TRUE(DirectoryExists(dir / "u/html"));
  CreateFolders(dir / "u/html");  // folders that exist are no error
  WriteFileBytes(dir / "f", "", 0);
  EXPECT_EQ(ErrorOf<EInOutError>([&] { CreateFolders(dir / "f/html"); }),
            u"Cannot create folder \"" + (dir / "f") + u"\". " + FromUtf8(std::strerror(EEXIST)));
}
