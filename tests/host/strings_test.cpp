// String helpers: UTF conversions, positions, trimming, case, replacing,
// integer conversion, formatting and paths.
#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Format.h"
#include "platform/core/UString.h"

using namespace qv;

TEST(Utf, RoundTripsChineseAndAstral) {
  const std::string text = "备份完成！ a\xF0\x9F\x98\x80";
  const String s = FromUtf8(text);
  EXPECT_EQ(s.size(), 9u);  // the emoji is a surrogate pair
  EXPECT_EQ(ToUtf8(s), text);
}

TEST(Utf, BrokenBytesBecomeReplacementAndNeverThrow) {
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFD" u"b");
  EXPECT_EQ(FromUtf8("\xE5\xA4"), u"\uFFFD");          // truncated sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD");          // overlong '/'
  EXPECT_EQ(FromUtf8("\xED\xA0\x80x"), u"\uFFFDx");    // encoded surrogate
  EXPECT_EQ(ToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Pos, OneBasedAndZeroWhenAbsent) {
  EXPECT_EQ(Pos(u"b", u"abc"), 2);
  EXPECT_EQ(Pos(u"x", u"abc"), 0);
  EXPECT_EQ(Pos(u"", u"abc"), 0);
  EXPECT_EQ(Pos(u"abc", u"ab"), 0);
  EXPECT_EQ(PosEx(u"a", u"aXa", 2), 3);
  EXPECT_EQ(PosEx(u"a", u"aXa", 0), 0);
  EXPECT_EQ(PosEx(u"a", u"aXa", 4), 0);
}

TEST(Copy, ClampsInsteadOfThrowing) {
  EXPECT_EQ(Copy(u"abcdef", 2, 3), u"bcd");
  EXPECT_EQ(Copy(u"abcdef", 0, 2), u"ab");
  EXPECT_EQ(Copy(u"abcdef", -5, 2), u"ab");
  EXPECT_EQ(Copy(u"abcdef", 5, 100), u"ef");
  EXPECT_EQ(Copy(u"abcdef", 7, 1), u"");
  EXPECT_EQ(Copy(u"abcdef", 2, -1), u"");
  EXPECT_EQ(Copy(u"abcdef", 2, INT32_MAX), u"bcdef");
  EXPECT_EQ(Copy(u"", 1, 1), u"");
}

TEST(Trim, RemovesControlsAndBlanksOnly) {
  EXPECT_EQ(Trim(u" \t\r\n x y \x01"), u"x y");
  EXPECT_EQ(Trim(u"\u3000x\u3000"), u"\u3000x\u3000");  // ideographic space is kept
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(TrimLeft(u"  a "), u"a ");
  EXPECT_EQ(TrimRight(u"  a "), u"  a");
}

TEST(Case, AsciiOnly) {
  EXPECT_EQ(UpperCase(u"aZ\u00e9\u0444"), u"AZ\u00e9\u0444");
  EXPECT_EQ(LowerCase(u"TButton\u00c9"), u"tbutton\u00c9");
  EXPECT_TRUE(SameText(u"TForm1", u"tform1"));
  EXPECT_LT(CompareText(u"a", u"B"), 0);
  EXPECT_LT(CompareText(u"ab", u"abc"), 0);
}

TEST(StringReplace, FlagsAndEdges) {
  EXPECT_EQ(StringReplace(u"a.b.c", u".", u"-", 0), u"a-b.c");
  EXPECT_EQ(StringReplace(u"a.b.c", u".", u"-", rfReplaceAll), u"a-b-c");
  EXPECT_EQ(StringReplace(u"Src SRC src", u"src", u"x", rfReplaceAll | rfIgnoreCase), u"x x x");
  EXPECT_EQ(StringReplace(u"aaa", u"a", u"aa", rfReplaceAll), u"aaaaaa");  // no rescanning of output
  EXPECT_EQ(StringReplace(u"abc", u"", u"x", rfReplaceAll), u"abc");
  EXPECT_EQ(StringReplace(u"abab", u"ab", u"", rfReplaceAll), u"");
}

TEST(IntConversion, DecimalHexAndErrors) {
  EXPECT_EQ(StrToInt(u"42"), 42);
  EXPECT_EQ(StrToInt(u"-42"), -42);
  EXPECT_EQ(StrToInt(u"  7"), 7);
  EXPECT_EQ(StrToInt(u"$FF"), 255);
  EXPECT_EQ(StrToInt(u"0x1f"), 31);
  EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt(u"2147483647"), 2147483647);
  EXPECT_EQ(StrToInt(u"-2147483648"), INT32_MIN);
  EXPECT_THROW(StrToInt(u"2147483648"), EConvertError);
  EXPECT_THROW(StrToInt(u"$100000000"), EConvertError);
  EXPECT_THROW(StrToInt(u""), EConvertError);
  EXPECT_THROW(StrToInt(u"7 "), EConvertError);
  EXPECT_THROW(StrToInt(u"0x"), EConvertError);
  EXPECT_THROW(StrToInt(u"1e3"), EConvertError);
  EXPECT_EQ(StrToIntDef(u"zz", -1), -1);
  EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(IntToHex(0xABC, 6), u"000ABC");
  try {
    StrToInt(u"abc");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'abc' is not a valid integer value");
  }
}

TEST(Format, DirectivesWidthsAndMissingArguments) {
  EXPECT_EQ(Format(u"Socket Error # %d\r\n%s", {10061, u"Connection refused."}),
            u"Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(Format(u"[%5d|%-4s|%.2s|%x|%%]", {42, u"ab", u"xyz", 255}), u"[   42|ab  |xy|FF|%]");
  EXPECT_EQ(Format(u"%.3d", {-7}), u"-007");
  EXPECT_EQ(Format(u"%d %d", {1}), u"1 %d");  // never reads past the arguments
  EXPECT_EQ(Format(u"%d", {u"text"}), u"%d");
  EXPECT_EQ(Format(u"trailing %", {}), u"trailing %");
}

TEST(Paths, TakenApartWithEitherSeparator) {
  EXPECT_EQ(ExtractFilePath(u"C:\\a\\b.txt"), u"C:\\a\\");
  EXPECT_EQ(ExtractFileDir(u"C:\\a\\b.txt"), u"C:\\a");
  EXPECT_EQ(ExtractFileDir(u"C:\\b.txt"), u"C:\\");
  EXPECT_EQ(ExtractFileName(u"C:\\a/b.txt"), u"b.txt");
  EXPECT_EQ(ExtractFileExt(u"C:\\a.d\\b"), u"");
  EXPECT_EQ(ExtractFileExt(u"x.tar.gz"), u".gz");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"a"), String(u"a") + PathDelim);
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"a\\\\"), u"a");
}
