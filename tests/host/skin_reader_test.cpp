// Skin archives read member by member: every version, names, limits,
// damaged blocks and files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Dialogs.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinConvert.h"

using namespace qv;

namespace {

using Bytes = std::vector<uint8_t>;

const int kVersions[] = {20000, 30000, 40000, 50000, 60000, 70000};

// Records the messages shown while it lives.
class MessageRecorder {
 public:
  MessageRecorder()
      : old_(SetMessageBoxHandler([this](StringView text, StringView, unsigned) {
          shown.emplace_back(text);
          return 1;
        })) {}
  ~MessageRecorder() { SetMessageBoxHandler(old_); }
  std::vector<String> shown;

 private:
  TMessageBoxHandler old_;
};

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::vector<TSkinMember> SampleMembers() {
  return {{u"Buttons.BMP", Str("BM button pixels")},
          {u"a.ini.bmp", Str("BM not the description")},
          {u"skin.ini", Str("[Form]\r\nCaption=1\r\n")},
          {u"empty.bmp", {}},
          {u"Title Bar.bmp", Bytes(5000, 0x7E)}};
}

TMemoryStream& Archive(TMemoryStream& s, int version, const std::vector<TSkinMember>& members) {
  WriteSkinArchive(version, members, s);
  return s;
}

// Packs hand-made plain archive bytes as a block.
void PackPlain(const Bytes& plain, TMemoryStream& block) {
  TMemoryStream src;
  if (!plain.empty()) src.WriteBuffer(plain.data(), static_cast<int64_t>(plain.size()));
  PackStream(src, block);
}

void PutInt(Bytes& b, int32_t v) {
  for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k)));
}

// Version 20000 (nothing skipped) with the given directory text and sizes.
Bytes PlainArchive(const std::string& dir, const std::vector<int32_t>& sizes, size_t memberBytes) {
  Bytes b;
  PutInt(b, 20000);
  PutInt(b, static_cast<int32_t>(dir.size()));
  PutInt(b, 0);
  PutInt(b, 0);
  b.insert(b.end(), dir.begin(), dir.end());
  for (int32_t s : sizes) PutInt(b, s);
  for (size_t i = 0; i < memberBytes; ++i) b.push_back(static_cast<uint8_t>('a' + i % 26));
  return b;
}

std::string Member(TSkinReader& r, const char16_t* name) {
  TMemoryStream s;
  r.readfile(name, s);
  EXPECT_EQ(s.Position(), 0);
  return std::string(s.Bytes().begin(), s.Bytes().end());
}

}  // namespace

TEST(SkinReader, EveryVersionGivesTheSameMembers) {
  const auto members = SampleMembers();
  for (int version : kVersions) {
    TMemoryStream archive;
    TSkinReader r;
    ASSERT_TRUE(r.Loadfromstream(Archive(archive, version, members))) << version;
    EXPECT_EQ(r.header.Version, version);
    EXPECT_EQ(r.Num, 5);
    EXPECT_EQ(r.Dir->Text(), u"buttons.bmp\r\na.ini.bmp\r\nskin.ini\r\nempty.bmp\r\ntitle bar.bmp\r\n");
    for (const auto& m : members) EXPECT_EQ(Member(r, m.name.c_str()), std::string(m.bytes.begin(), m.bytes.end()));
  }
}

TEST(SkinReader, ReadfileComparesTheLowerCasedNameExactly) {
  TMemoryStream archive;
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(Archive(archive, 70000, SampleMembers())));
  EXPECT_EQ(Member(r, u"BUTTONS.bmp"), "BM button pixels");
  EXPECT_EQ(Member(r, u"title bar.BMP"), std::string(5000, 0x7E));
  EXPECT_EQ(Member(r, u" buttons.bmp"), "");
  EXPECT_EQ(Member(r, u"buttons.bmp "), "");
  EXPECT_EQ(Member(r, u"buttons"), "");
  TMemoryStream s;
  s.WriteBuffer("old", 3);
  r.readfile(u"nothing.bmp", s);  // cleared even when nothing is found
  EXPECT_EQ(s.Size(), 0);
}

TEST(SkinReader, ReadIniTakesTheFirstNameContainingTheText) {
  TMemoryStream archive;
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(Archive(archive, 60000, SampleMembers())));
  TMemoryStream s;
  String fname = u"unchanged";
  r.readIni(u".ini", s, fname);
  EXPECT_EQ(fname, u"a.ini.bmp");
  EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), "BM not the description");
  r.readIni(u"skin.", s, fname);
  EXPECT_EQ(fname, u"skin.ini");
  EXPECT_EQ(s.Position(), 0);
  fname = u"unchanged";
  r.readIni(u".INI", s, fname);  // names are lower case; the text is not lowered
  EXPECT_EQ(fname, u"unchanged");
  EXPECT_EQ(s.Size(), 0);
}

TEST(SkinReader, DirectoryLineBreaks) {
  // CR, LF and CR LF all separate; a final break adds no name; inner empty
  // lines are names (of empty members here).
  TMemoryStream block;
  PackPlain(PlainArchive("A.bmp\rb.bmp\n\r\nc.ini\r\n", {2, 3, 0, 4}, 9), block);
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(block));
  EXPECT_EQ(r.Num, 4);
  EXPECT_EQ(r.Dir->Text(), u"a.bmp\r\nb.bmp\r\n\r\nc.ini\r\n");
  EXPECT_EQ(Member(r, u"a.bmp"), "ab");
  EXPECT_EQ(Member(r, u"b.bmp"), "cde");
  EXPECT_EQ(Member(r, u"c.ini"), "fghi");
}

TEST(SkinReader, UnknownVersionsAreShownAndChangeNothing) {
  TMemoryStream good;
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(Archive(good, 70000, SampleMembers())));
  for (int32_t version : {10000, 0, 70001, -1}) {
    Bytes plain = PlainArchive("x.bmp", {1}, 1);
    plain[0] = static_cast<uint8_t>(version), plain[1] = static_cast<uint8_t>(version >> 8);
    plain[2] = static_cast<uint8_t>(version >> 16), plain[3] = static_cast<uint8_t>(version >> 24);
    TMemoryStream block;
    PackPlain(plain, block);
    MessageRecorder messages;
    EXPECT_FALSE(r.Loadfromstream(block));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], u"This is Older Skin File\rPlease update to new version !");
  }
  EXPECT_EQ(r.Num, 5);
  EXPECT_EQ(r.header.Version, 70000);
  EXPECT_EQ(Member(r, u"buttons.bmp"), "BM button pixels");
}

TEST(SkinReader, ArchivesThatDoNotFitTheirBytesAreRefused) {
  TMemoryStream good;
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(Archive(good, 70000, SampleMembers())));

  std::string many;
  for (int i = 0; i < 1002; ++i) many += "m" + std::to_string(i) + "\r\n";
  const std::vector<Bytes> bad = {
      {},                                           // nothing at all
      Bytes(15, 0),                                 // shorter than the header
      PlainArchive("x.bmp", {}, 0),                 // directory but no sizes
      PlainArchive("x.bmp", {-1}, 0),               // negative size
      PlainArchive("x.bmp\r\ny.bmp", {3, 4}, 6),    // members run past the end
      PlainArchive("x.bmp", {0x7FFFFFFF}, 4),       // absurd size
      PlainArchive(many, std::vector<int32_t>(1002, 0), 0),  // more members than the table holds
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    TMemoryStream block;
    PackPlain(bad[i], block);
    MessageRecorder messages;
    EXPECT_FALSE(r.Loadfromstream(block)) << i;
    EXPECT_TRUE(messages.shown.empty()) << i;
  }
  // Directory lengths that point past the data, negative or huge.
  for (int32_t dirLen : {-1, 6, 0x7FFFFFF0}) {
    Bytes plain = PlainArchive("x.bmp", {}, 0);
    for (int k = 0; k < 4; ++k) plain[4 + k] = static_cast<uint8_t>(static_cast<uint32_t>(dirLen) >> (8 * k));
    TMemoryStream block;
    PackPlain(plain, block);
    EXPECT_FALSE(r.Loadfromstream(block)) << dirLen;
  }
  // A version whose skipped block is longer than the data.
  Bytes shortSkip = PlainArchive("", {}, 0);
  shortSkip[0] = 0x30, shortSkip[1] = 0x75;  // 30000: 256 bytes skipped
  TMemoryStream block;
  PackPlain(shortSkip, block);
  EXPECT_FALSE(r.Loadfromstream(block));

  EXPECT_EQ(r.Num, 5);  // what it held before
  EXPECT_EQ(Member(r, u"title bar.bmp"), std::string(5000, 0x7E));
}

TEST(SkinReader, LimitsAndEmptyArchives) {
  std::vector<TSkinMember> members;
  for (int i = 0; i < kSkinMaxMembers; ++i) members.push_back({u"m" + IntToStr(i), Bytes(1, static_cast<uint8_t>(i))});
  TMemoryStream archive;
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(Archive(archive, 50000, members)));
  EXPECT_EQ(r.Num, 1001);
  EXPECT_EQ(Member(r, u"m1000"), std::string(1, static_cast<char>(1000 % 256)));

  TMemoryStream none;
  ASSERT_TRUE(r.Loadfromstream(Archive(none, 40000, {})));
  EXPECT_EQ(r.Num, 0);
  EXPECT_EQ(Member(r, u"m1"), "");

  members.push_back({u"one too many", {}});
  TMemoryStream tooMany;
  EXPECT_THROW(WriteSkinArchive(70000, members, tooMany), EConvertError);
  EXPECT_THROW(BuildSkinArchive(10000, {}), EConvertError);
  EXPECT_THROW(BuildSkinArchive(70000, {{u"", {}}}), EConvertError);
  EXPECT_THROW(BuildSkinArchive(70000, {{u"a\r\nb", {}}}), EConvertError);
  EXPECT_THROW(BuildSkinArchive(70000, {{u"\u4E00.bmp", {}}}), EConvertError);
}

TEST(SkinReader, DamagedBlocksRaiseTheBlockError) {
  TSkinReader r;
  TMemoryStream empty;
  EXPECT_THROW(r.Loadfromstream(empty), ElzhException);
  TMemoryStream archive;
  Archive(archive, 70000, SampleMembers());
  archive.SetSize(archive.Size() / 2);
  EXPECT_THROW(r.Loadfromstream(archive), ElzhException);
  EXPECT_EQ(r.Num, 0);
}

TEST(SkinReader, LoadsFromFiles) {
  const String path = FromUtf8(::testing::TempDir() + "qv_skin_reader.skn");
  TMemoryStream archive;
  Archive(archive, 30000, SampleMembers());
  archive.SaveToFile(path);
  TSkinReader r;
  EXPECT_TRUE(r.loadfromfile(path));
  EXPECT_EQ(Member(r, u"skin.ini"), "[Form]\r\nCaption=1\r\n");
  RemoveFile(path);
  EXPECT_FALSE(r.loadfromfile(path));
}
