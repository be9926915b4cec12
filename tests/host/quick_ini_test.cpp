// The skin's quick ini: syntax, editing in place, plain and compressed files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "skin/data/WinConvert.h"
#include "skin/data/WinSkinIni.h"

using namespace qv;

namespace {

void Load(TQuickIni& ini, const std::string& bytes) {
  TMemoryStream s;
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
  ini.LoadFromStream(&s);
}

std::string Saved(const TQuickIni& ini) {
  TMemoryStream s;
  ini.SaveToStream(&s);
  return std::string(s.Bytes().begin(), s.Bytes().end());
}

String Sections(const TQuickIni& ini) {
  TStringList l;
  ini.ReadSections(&l);
  return l.Text();
}

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

}  // namespace

TEST(QuickIniSyntax, KeysValuesCommentsAndBlanks) {
  TQuickIni ini;
  Load(ini,
       "  [Main]  \r\n"
       "Key = Some Value\r\n"
       "a=b=c\r\n"
       "   ; a comment after blanks\r\n"
       "#x=1\r\n"
       "\t \r\n"
       "NoEquals\r\n"
       "Tab\t=\tx\t\r\n");
  EXPECT_EQ(ini.ReadString(u"Main", u"KEY", u"-"), u"Some Value");
  EXPECT_EQ(ini.ReadString(u"Main", u"a", u"-"), u"b=c");
  EXPECT_EQ(ini.ReadString(u"Main", u"#x", u"-"), u"1");
  EXPECT_EQ(ini.ReadString(u"Main", u"tab", u"-"), u"x");
  EXPECT_EQ(ini.ReadString(u"Main", u"NoEquals", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"Main", u"", u"-"), u"-");  // the empty key of "NoEquals" has no value
  // Kept lines are trimmed; comments and blank lines take no index.
  EXPECT_EQ(ini.IniFile()->Text(), u"[Main]\r\nKey = Some Value\r\na=b=c\r\n#x=1\r\nNoEquals\r\nTab\t=\tx\r\n");
  TStringList keys;
  ini.ReadSection(u"main", &keys);
  EXPECT_EQ(keys.Text(), u"key\r\na\r\n#x\r\ntab\r\n");
}

TEST(QuickIniSyntax, LineBreaksAndTheEndOfTheText) {
  TQuickIni crlf, lfcr, mixed;
  Load(crlf, "[S]\r\na=1\r\nb=2");
  Load(lfcr, "[S]\n\ra=1\n\rb=2\n\r");
  Load(mixed, std::string("[S]\ra=1\nb=2\r\n\0c=3\r\n", 20));
  EXPECT_EQ(lfcr.IniFile()->Text(), crlf.IniFile()->Text());
  EXPECT_EQ(mixed.IniFile()->Text(), crlf.IniFile()->Text());  // nothing after the NUL
  EXPECT_EQ(mixed.ReadString(u"S", u"c", u"none"), u"none");
}

TEST(QuickIniSyntax, SectionsMatchWithoutCaseButWithBlanks) {
  TQuickIni ini;
  Load(ini,
       "orphan=1\r\n"
       "[Colors]\r\nx=1\r\n"
       "[ Colors ]\r\nx=2\r\n"
       "[COLORS]\r\nx=3\r\n"
       "[]\r\nx=4\r\n");
  EXPECT_EQ(ini.ReadString(u"colors", u"x", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"COLORS", u"x", u""), u"1");  // the first of equal names
  EXPECT_EQ(ini.ReadString(u" Colors ", u"x", u""), u"2");
  EXPECT_EQ(ini.ReadString(u"Colors ", u"x", u"none"), u"none");
  EXPECT_EQ(ini.ReadString(u"", u"x", u""), u"4");
  EXPECT_EQ(ini.ReadString(u"", u"orphan", u"none"), u"none");  // before any section
  EXPECT_EQ(Sections(ini), u"Colors\r\nColors\r\nCOLORS\r\n\r\n");
  // "[" alone and "x]" are no section lines.
  TQuickIni odd;
  Load(odd, "[\r\n[A]\r\nk=v\r\n]\r\n");
  EXPECT_EQ(Sections(odd), u"A\r\n");
}

TEST(QuickIniSyntax, FirstKeyWinsAndAnEmptyValueGivesTheDefault) {
  TQuickIni ini;
  Load(ini, "[S]\r\nk=\r\nk=later\r\nj=first\r\nJ=second\r\n");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u"def"), u"def");
  EXPECT_EQ(ini.ReadString(u"S", u"j", u"def"), u"first");
  TStringList values;
  ini.ReadSectionValues(u"s", &values);
  EXPECT_EQ(values.Count(), 4);
  EXPECT_EQ(values[3], u"J=second");
}

TEST(QuickIniSyntax, IntegersAndBooleans) {
  TQuickIni ini;
  Load(ini,
       "[N]\r\nhex1=0x1F\r\nhex2=0X1f\r\nhex3=$1F\r\nhex4=x1f\r\nneg=-5\r\nbare=0x\r\nmixed=12abc\r\n"
       "empty=\r\nall=$FFFFFFFF\r\nnine=$100000000\r\nzeros=$000000001F\r\nmax=2147483647\r\n"
       "over=2147483648\r\nmin=-2147483648\r\nneghex=-0x10\r\nplus=+7\r\nblank=1 2\r\nt=1\r\nf=0\r\n");
  for (const char16_t* k : {u"hex1", u"hex2", u"hex3", u"hex4", u"zeros"}) EXPECT_EQ(ini.ReadInteger(u"N", k, 7), 31) << ToUtf8(k);
  EXPECT_EQ(ini.ReadInteger(u"N", u"neg", 7), -5);
  for (const char16_t* k : {u"bare", u"mixed", u"empty", u"missing", u"nine", u"over", u"blank"})
    EXPECT_EQ(ini.ReadInteger(u"N", k, 7), 7) << ToUtf8(k);
  EXPECT_EQ(ini.ReadInteger(u"N", u"all", 7), -1);
  EXPECT_EQ(ini.ReadInteger(u"N", u"max", 7), 2147483647);
  EXPECT_EQ(ini.ReadInteger(u"N", u"min", 7), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger(u"N", u"neghex", 7), -16);
  EXPECT_EQ(ini.ReadInteger(u"N", u"plus", 0), 7);
  EXPECT_TRUE(ini.ReadBool(u"N", u"t", false));
  EXPECT_FALSE(ini.ReadBool(u"N", u"f", true));
  EXPECT_TRUE(ini.ReadBool(u"N", u"missing", true));
  EXPECT_TRUE(ini.ReadBool(u"N", u"neg", false));
}

TEST(QuickIniSyntax, AnyBytesLoad) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 131 + 7) % 255 + 1));
  TQuickIni ini;
  Load(ini, bytes);
  Load(ini, "[\xE4\xF6]\r\n\xFF=\x80\r\n");  // 8-bit text goes back unchanged
  EXPECT_EQ(ini.ReadString(u"\u00E4\u00F6", u"\u00FF", u""), u"\u0080");
  EXPECT_EQ(Saved(ini), "[\xE4\xF6]\r\n\xFF=\x80\r\n");
  ini.LoadFromStream(nullptr);  // nothing happens
  EXPECT_EQ(ini.IniFile()->Count(), 2);
}

TEST(QuickIniEditing, WriteStringKeepsKeysInsideTheirSection) {
  TQuickIni ini;
  Load(ini, "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  ini.WriteString(u"A", u"NewKey", u"v");
  ini.WriteString(u"a", u"X", u"9");  // replaces x=1, written with the given case
  ini.WriteInteger(u"C", u"n", -3);
  ini.WriteBool(u"C", u"b", true);
  ini.WriteString(u"D", u"", u"ignored");
  EXPECT_EQ(Saved(ini), "[A]\r\nX=9\r\nNewKey=v\r\n[B]\r\ny=2\r\n[C]\r\nn=-3\r\nb=1\r\n[D]\r\n");
  EXPECT_EQ(ini.ReadString(u"A", u"newkey", u""), u"v");
  EXPECT_EQ(ini.ReadString(u"B", u"y", u""), u"2");
  EXPECT_EQ(ini.ReadInteger(u"C", u"n", 0), -3);
  EXPECT_EQ(Sections(ini), u"A\r\nB\r\nC\r\nD\r\n");
}

TEST(QuickIniEditing, DeletingKeepsTheSectionIndexes) {
  TQuickIni ini;
  Load(ini, "[A]\r\nk=1\r\nK=2\r\n[B]\r\nk=3\r\n[C]\r\nk=4\r\n");
  ini.DeleteKey(u"a", u"K");  // the first match only
  EXPECT_EQ(ini.ReadString(u"A", u"k", u""), u"2");
  EXPECT_EQ(ini.ReadString(u"B", u"k", u""), u"3");
  ini.EraseSection(u"B");  // an empty line takes its place
  EXPECT_EQ(Saved(ini), "[A]\r\nK=2\r\n\r\n[C]\r\nk=4\r\n");
  EXPECT_EQ(ini.ReadString(u"C", u"k", u""), u"4");
  EXPECT_EQ(ini.ReadString(u"B", u"k", u"gone"), u"gone");
  ini.EraseSection(u"A");  // the first line (its body holds the blank): nothing takes its place
  EXPECT_EQ(Saved(ini), "[C]\r\nk=4\r\n");
  ini.WriteString(u"C", u"new", u"1");
  EXPECT_EQ(ini.ReadString(u"C", u"new", u""), u"1");
}

TEST(QuickIniEditing, ReplacingTheLinesRebuildsTheSections) {
  TQuickIni ini;
  TStringList lines;
  lines.SetText(u" [X] \r\nk=1\r\n[Y]\r\nk=2");
  ini.SetIniFile(&lines);
  EXPECT_EQ(ini.ReadString(u"x", u"k", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"Y", u"k", u""), u"2");
  ini.Clear();
  EXPECT_EQ(ini.ReadString(u"Y", u"k", u"none"), u"none");
  EXPECT_THROW(ini.ReadSections(nullptr), Exception);
  try {
    ini.ReadSection(u"Y", nullptr);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"The parameter Strings is unassigned!");
  }
}

TEST(QuickIniFiles, PlainAndCompressedFilesRoundTrip) {
  TQuickIni ini;
  Load(ini, "[Skin]\r\nName=Test\r\nColor=255 0 255\r\n");
  const String plain = FromUtf8(TempPath("qv_quickini.ini"));
  const String zip = FromUtf8(TempPath("qv_quickini.lzh"));
  ini.SaveToFile(plain);
  ini.SavetoZip(zip);
  TQuickIni a, b;
  a.LoadFromFile(plain);
  b.LoadFromZip(zip);
  EXPECT_EQ(a.ReadString(u"skin", u"color", u""), u"255 0 255");
  EXPECT_EQ(b.IniFile()->Text(), ini.IniFile()->Text());
  // The compressed file is one block of the saved text.
  TMemoryStream block, text;
  block.LoadFromFile(zip);
  UnpackStream(block, text);
  EXPECT_EQ(std::string(text.Bytes().begin(), text.Bytes().end()), Saved(ini));
  RemoveFile(plain);
  RemoveFile(zip);
  EXPECT_THROW(a.LoadFromFile(plain), EFOpenError);
}
