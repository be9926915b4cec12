// Streams, string lists and component ownership of the class library core.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StringList.h"

using namespace qv;

TEST(MemoryStream, ReadWriteSeekAndShortReads) {
  TMemoryStream ms;
  ms.WriteBuffer("abcdef", 6);
  EXPECT_EQ(ms.Size(), 6);
  ms.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(ms.Read(buf, 8), 2);
  EXPECT_EQ(std::string(buf, 2), "ef");
  EXPECT_EQ(ms.Read(buf, 8), 0);
  ms.SetPosition(5);
  EXPECT_THROW(ms.ReadBuffer(buf, 2), EReadError);
  EXPECT_EQ(ms.Seek(-100, soCurrent), 0);  // never before the start
  ms.SetPosition(10);                       // past the end: a write fills the gap
  ms.WriteBuffer("z", 1);
  EXPECT_EQ(ms.Size(), 11);
  EXPECT_EQ(ms.Memory()[8], 0);
  ms.SetSize(2);
  EXPECT_EQ(ms.Position(), 2);
}

TEST(Streams, CopyFromZeroCopiesAllFromStart) {
  TMemoryStream a, b;
  a.WriteBuffer("hello", 5);
  EXPECT_EQ(b.CopyFrom(a, 0), 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.Memory()), 5), "hello");
}

TEST(FileStream, CreatesReadsAndReportsMissingFiles) {
  const auto dir = std::filesystem::temp_directory_path() / "qv_stream_test";
  std::filesystem::create_directories(dir);
  const String path = FromUtf8((dir / "\xE6\x96\x87.bin").string());
  WriteFileBytes(path, "xyz", 3);
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{'x', 'y', 'z'}));
  {
    TFileStream f(path, fmOpenReadWrite);
    f.Seek(0, soEnd);
    f.WriteBuffer("!", 1);
  }
  EXPECT_EQ(ReadFileBytes(path).size(), 4u);
  EXPECT_TRUE(RemoveFile(path));
  EXPECT_THROW(TFileStream(path, fmOpenRead), EFOpenError);
  const String nested = FromUtf8((dir / "a" / "b").string());
  EXPECT_TRUE(ForceDirectories(nested));
  EXPECT_TRUE(DirectoryExists(nested));
  std::filesystem::remove_all(dir);
}

TEST(StringList, TextSplitsEveryBreakKind) {
  TStringList l;
  l.SetText(u"a\r\nb\rc\nd\n");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l[2], u"c");
  EXPECT_EQ(l.Text(), u"a\r\nb\r\nc\r\nd\r\n");
  l.SetText(u"x\n\ny");
  EXPECT_EQ(l.Count(), 3);  // an empty line in the middle stays
}

TEST(StringList, NamesValuesAndCaseInsensitiveLookup) {
  TStringList l;
  l.Add(u"TButton=button");
  l.Add(u"TEdit=edit");
  EXPECT_EQ(l.Values(u"tedit"), u"edit");
  EXPECT_EQ(l.IndexOf(u"TBUTTON=BUTTON"), 0);
  l.SetValue(u"TEdit", u"");
  EXPECT_EQ(l.Count(), 1);
  EXPECT_THROW(l.Get(5), EListError);
}

TEST(StringList, SortedDuplicatesAndOwnedObjects) {
  TStringList l(true);
  l.SetSorted(true);
  l.AddObject(u"b", new TStringList);
  l.AddObject(u"a", new TStringList);
  l.Add(u"B");  // dupIgnore: same text without regard to case
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l[0], u"a");
  int at = -1;
  EXPECT_FALSE(l.Find(u"ab", at));
  EXPECT_EQ(at, 1);
  l.SetDuplicates(dupError);
  EXPECT_THROW(l.Add(u"a"), EListError);
  l.Delete(0);  // frees its object; ASan would report a leak otherwise
}

namespace {

struct Probe : TComponent {
  explicit Probe(TComponent* owner, std::vector<String>* log = nullptr) : TComponent(owner), log_(log) {}
  ~Probe() override {
    if (log_) log_->push_back(u"free " + Name());
  }
  void Notification(TComponent* c, TOperation op) override {
    if (log_ && op == opRemove && c != this) log_->push_back(Name() + u" sees " + c->Name() + u" go");
    TComponent::Notification(c, op);
  }
  std::vector<String>* log_;
};

}  // namespace

TEST(Component, OwnerFreesOwnedLastFirstAndNamesAreUnique) {
  std::vector<String> log;
  auto* root = new TComponent(nullptr);
  auto* a = new Probe(root, &log);
  a->SetName(u"A");
  auto* b = new Probe(root, &log);
  b->SetName(u"B");
  EXPECT_THROW(b->SetName(u"a"), EComponentError);
  EXPECT_EQ(root->FindComponent(u"b"), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  delete root;
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.front(), u"free B");
  EXPECT_EQ(log.back(), u"free A");
}

TEST(Component, FreeNotificationTellsTheOtherSide) {
  std::vector<String> log;
  auto* watcher = new Probe(nullptr, &log);
  watcher->SetName(u"W");
  auto* target = new Probe(nullptr, &log);
  target->SetName(u"T");
  watcher->FreeNotification(target);
  delete target;
  EXPECT_NE(std::find(log.begin(), log.end(), u"W sees T go"), log.end());
  delete watcher;  // must not notify the freed target
}

TEST(Component, DeletingAnOwnedComponentUnlinksIt) {
  TComponent root(nullptr);
  auto* c = new TComponent(&root);
  EXPECT_EQ(root.ComponentCount(), 1);
  delete c;
  EXPECT_EQ(root.ComponentCount(), 0);
}
