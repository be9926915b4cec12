// The ini file class on a real file under Wine.
#include <gtest/gtest.h>

#include "platform/core/FileUtils.h"
#include "platform/win/IniFiles.h"
#include "tests/support/WinTestSupport.h"

using namespace qv;

TEST(IniFile, WritesAndReadsBackSectionsWithoutRegardToCase) {
  const std::wstring dir = qvtest::MakeTempDir(L"ini");
  const String path = String(reinterpret_cast<const char16_t*>(dir.c_str())) + u"\\config.ini";
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString(u"alice", u"lastURL", u"none"), u"none");
  ini.WriteString(u"alice", u"lastURL", u"http://blog/1.html");
  ini.WriteInteger(u"alice", u"count", 12);
  EXPECT_EQ(ini.ReadString(u"ALICE", u"lasturl", u""), u"http://blog/1.html");
  EXPECT_EQ(ini.ReadInteger(u"alice", u"count", 0), 12);
  EXPECT_TRUE(ini.SectionExists(u"Alice"));
  ini.EraseSection(u"alice");
  EXPECT_FALSE(ini.SectionExists(u"alice"));
  qvtest::RemoveTree(dir);
}
