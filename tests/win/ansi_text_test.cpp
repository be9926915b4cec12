// Skin description INIs and skin archive directories are 8-bit text in the
// system's ANSI code page. The ctest entry "AnsiCodePage.Chinese" runs this
// under a Chinese code page (936); the ordinary run covers the Western one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinSkinIni.h"
#include "platform/win/WinString.h"

using namespace qv;

TEST(AnsiCodePage, SkinKeysAndMemberNamesAreReadInTheSystemsCodePage) {
  if (const char* want = std::getenv("QV_EXPECT_ACP")) ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(want)));
  const struct {
    UINT codePage;
    std::string key, name;  // bytes in that code page; then their text, the
                            // name's, and the name in lower case (A to Z only)
    String keyText, nameText, lowerText;
  } cases[] = {
      // The last character of the name has 'G' (0x47) as its second byte:
      // folding the bytes to lower case would break it.
      {936, "\xC6\xA4\xB7\xF4", "\xB0\xB4\xC5\xA5\x81\x47.BMP", u"皮肤", u"按钮丟.BMP", u"按钮丟.bmp"},
      {1252, "K\xE4se", "\xC4RGER.BMP", u"Käse", u"ÄRGER.BMP", u"Ärger.bmp"},
  };
  int checked = 0;
  for (const auto& c : cases) {
    if (c.codePage != GetACP()) continue;
    ++checked;
    // The description INI: a key in the code page, found by its text, and
    // written back as the same bytes.
    const std::string ini = "[Skin]\r\n" + c.key + "=1\r\n";
    TMemoryStream in;
    in.WriteBuffer(ini.data(), static_cast<int64_t>(ini.size()));
    in.SetPosition(0);
    TQuickIni quick;
    quick.LoadFromStream(&in);
    EXPECT_EQ(quick.ReadString(u"Skin", c.keyText, u"none"), u"1");
    TMemoryStream out;
    quick.SaveToStream(&out);
    EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), ini);

    // The archive's directory: the member is found by its name's text.
    TMemoryStream archive;
    WriteSkinArchive(70000, {{FromLatin1(c.name), {'B', 'M', '!'}}}, archive);
    archive.SetPosition(0);
    TSkinReader reader;
    ASSERT_TRUE(reader.Loadfromstream(archive));
    ASSERT_EQ(reader.Dir->Count(), 1);
    EXPECT_EQ(reader.Dir->Get(0), c.lowerText);
    TMemoryStream member;
    reader.readfile(c.nameText, member);  // asked for in upper case
    EXPECT_EQ(member.Size(), 3);
  }
  if (!checked) GTEST_SKIP() << "no case for code page " << GetACP();
}
