// The gallery's loading of a skin file named on its command line: a file
// that holds no skin the component reads would leave it empty (and every
// frame unpainted), so the skin on before stays.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/FileUtils.h"
#include "platform/core/Streams.h"
#include "platform/win/WinString.h"
#include "skin/data/WinConvert.h"
#include "skin/data/WinSkinData.h"
#include "tests/support/SkinVariants.h"
#include "tests/win/SkinWindowFixture.h"
#include "tools/gallery/SkinTrial.h"

using namespace qv;

namespace {

// The skin on stays whether the load raises (bytes that are no compressed
// block), finds no archive (a block whose directory runs past its end) or
// finds no file; a good file goes on.
TEST(GallerySkinLoad, KeepsTheSkinOnWhenTheFileHoldsNone) {
  TSkinData skin(nullptr);
  skin.SetLoading();  // no manager: nothing is skinned
  skin.LoadFromFile(FromW(qvtest::ProgramSkinPath().c_str()));
  ASSERT_FALSE(skin.Empty);
  const String name = skin.SkinName;
  const std::wstring dir = qvtest::MakeTempDir(L"gallery-trial");
  const std::wstring junk = dir + L"\\junk.skin", cut = dir + L"\\cut.skin";
  WriteFileBytes(FromW(junk.c_str()), std::string(400, 'j').data(), 400);
  TMemoryStream plain, packed;
  const int32_t header[4] = {70000, 1 << 20, 0, 0};  // version, directory length
  plain.WriteBuffer(header, sizeof header);
  plain.SetPosition(0);
  PackStream(plain, packed);
  packed.SaveToFile(FromW(cut.c_str()));
  for (const std::wstring& file : {junk, cut, dir + L"\\missing.skin"}) {
    EXPECT_FALSE(LoadSkinOrKeep(skin, FromW(file.c_str())).empty());
    EXPECT_FALSE(skin.Empty);
    EXPECT_EQ(skin.SkinName, name);
  }
  const std::wstring red = dir + L"\\red.skin";
  const std::string ini = qvtest::WithValue(qvtest::ProgramSkinIni(), "TitlebarSkin", "SkinName", "Red");
  qvtest::WriteProgramSkin(red, qvtest::WithValue(ini, "Colours", "ButtonFace", "200 40 40"));
  EXPECT_EQ(LoadSkinOrKeep(skin, FromW(red.c_str())), u"");
  EXPECT_EQ(skin.SkinName, u"Red");
  EXPECT_EQ(skin.Colors[3], 0x2828C8);
  qvtest::RemoveTree(dir);
}

}  // namespace
