// The backup's documents: the index and article pages byte for byte, safe
// article file names that never overwrite one another, and user names.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "app/BackupDocuments.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"

using namespace qv;

TEST(IndexDocument, ByteForByte) {
  EXPECT_EQ(IndexHeader(u"ann", u"2024/5/1 8:03:09"),
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
            "<title>ann\xE7\x9A\x84\xE5\x8D\x9A\xE5\xAE\xA2</title>\r\n<style type=\"text/css\">\r\n"
            "body{font-size: 12pt;}\r\na{color: #000000;text-decoration : none;font-size: 10pt;}\r\n"
            "a:hover {color: red;text-decoration : underline;}\r\n</style>\r\n</head>\r\n<body>\r\n"
            "<h2>ann\xE7\x9A\x84\xE5\x8D\x9A\xE5\xAE\xA2<h4>[\xE5\xA4\x87\xE4\xBB\xBD\xE6\x97\xB6\xE9\x97\xB4\xEF\xBC\x9A"
            "2024/5/1 8:03:09]</h4></h2>\r\n<table>\r\n");
  // The link goes to the file's name, the text shows the title as it is.
  EXPECT_EQ(IndexRow(u"http://h/s/b1.html", u"1 CSharp (x)", u"1 C# <x>"),
            "<tr><td><a href=\"http://h/s/b1.html\" target=_blank>[\xE5\x8E\x9F\xE7\xBD\x91\xE9\xA1\xB5]</a></td>"
            "<td><a href=\"html/1 CSharp (x).html\" target=_blank>1 C# <x></a></td></tr>\r\n");
  EXPECT_EQ(IndexFooter(), "</table>\r\n</body>\r\n</html>");
}

TEST(ArticleDocument, WrapsTheFragmentUnchanged) {
  const String fragment = u"<div class=\"articalContent\">\r\n<p>正文 &amp; <b>x</b></p>\n";
  EXPECT_EQ(ArticleDocument(NumberedTitle(12, u"标题 <1>"), fragment),
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<head>\r\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
            "<title>12 \xE6\xA0\x87\xE9\xA2\x98 <1></title>\r\n</head>\r\n<body>\r\n" +
                ToUtf8(fragment) + "\r\n</body>\r\n</html>");
  EXPECT_EQ(ArticleDocument(u"1 ", u"").substr(0, 3), "<!D");  // no byte-order mark
}

TEST(ArticleFileBase, FixedReplacementsThenWindowsSafety) {
  EXPECT_EQ(ArticleFileBase(u"3 C#: <Why>? a/b\\c*\"d\"|e"), u"3 CSharp (Why) abcde");
  EXPECT_EQ(ArticleFileBase(NumberedTitle(1, u"")), u"1 ");         // "1 .html"
  EXPECT_EQ(ArticleFileBase(u"2 dots..."), u"2 dots...");            // ".html" follows
  EXPECT_EQ(ArticleFileBase(u"4 tab\there\r\nnew\x1F"), u"4 tabherenew");
  // Device names open devices whatever follows the first dot.
  EXPECT_EQ(ArticleFileBase(u"CON"), u"_CON");
  EXPECT_EQ(ArticleFileBase(u"nul .txt"), u"_nul .txt");
  EXPECT_EQ(ArticleFileBase(u"Com7"), u"_Com7");
  EXPECT_EQ(ArticleFileBase(u"LPT\u00B9"), u"_LPT\u00B9");
  EXPECT_EQ(ArticleFileBase(u"1 CON"), u"1 CON");
  EXPECT_EQ(ArticleFileBase(u"COM10"), u"COM10");
  EXPECT_EQ(ArticleFileBase(u"\x01"), u"_");
  // Long names are cut without splitting a surrogate pair.
  const String longTitle = u"1 " + String(200, u'长');
  EXPECT_EQ(ArticleFileBase(longTitle).size(), kMaxArticleBaseName);
  const String astral = u"1 " + String(97, u'x') + u"\U0001F600";  // pair at units 100 and 101
  EXPECT_EQ(ArticleFileBase(astral), u"1 " + String(97, u'x'));
  EXPECT_EQ(ArticleFileBase(u"1 abc", 3), u"1 a");
}

// A folder of files whose names hold at most maxBytes bytes of UTF-8, as on
// the file systems Wine runs on.
struct FakeFolder {
  size_t maxBytes = 255;
  std::map<String, std::string> files;

  TArticleTarget Save(StringView base, const std::string& doc) {
    auto create = [&](StringView name) {
      if (ToUtf8(name).size() > maxBytes) return TNewFileResult::NameTooLong;
      if (files.count(String(name))) return TNewFileResult::Taken;
      files[String(name)] = doc;
      return TNewFileResult::Written;
    };
    auto read = [&](StringView name) { return files[String(name)]; };
    return ChooseArticleFile(base, doc, create, read);
  }
};

TEST(ChooseArticleFile, NeverOverwritesNorDropsAnArticle) {
  FakeFolder disk;
  TArticleTarget t = disk.Save(u"1 a", "first");
  EXPECT_EQ(t.fileBase, u"1 a");
  EXPECT_TRUE(t.written);
  t = disk.Save(u"1 a", "first");  // the same article again: left as it is
  EXPECT_EQ(t.fileBase, u"1 a");
  EXPECT_FALSE(t.written);
  t = disk.Save(u"1 a", "second");  // another article under the same title
  EXPECT_EQ(t.fileBase, u"1 a (2)");
  EXPECT_TRUE(t.written);
  EXPECT_EQ(disk.Save(u"1 a", "third").fileBase, u"1 a (3)");
  t = disk.Save(u"1 a", "second");
  EXPECT_EQ(t.fileBase, u"1 a (2)");
  EXPECT_FALSE(t.written);
  EXPECT_EQ(disk.files.size(), 3u);
  EXPECT_EQ(disk.files[u"1 a.html"], "first");

  // Something that is not a comparable file (a folder) counts as taken.
  auto taken = [](StringView) { return TNewFileResult::Taken; };
  auto nothing = [](StringView) { return std::string(); };
  EXPECT_THROW(ChooseArticleFile(u"x", "", taken, nothing), EInOutError);
}

TEST(ChooseArticleFile, ARefusedNameLosesTitleCharactersUntilItFits) {
  // 100 Chinese characters are 300 bytes; the first 84 are shared.
  const String shared(84, u'长');
  const String a = u"1 " + shared + String(16, u'甲'), b = u"1 " + shared + String(16, u'乙');
  FakeFolder disk;
  const String cutA = u"1 " + String(82, u'长');  // 2 + 246 + ".html" = 253 bytes
  EXPECT_EQ(disk.Save(a, "A").fileBase, cutA);
  EXPECT_EQ(disk.Save(a, "A").fileBase, cutA);                      // found again, not rewritten
  EXPECT_EQ(disk.Save(b, "B").fileBase, u"1 " + String(81, u'长') + u" (2)");  // the suffix stays
  EXPECT_EQ(disk.Save(b, "B").fileBase, u"1 " + String(81, u'长') + u" (2)");
  EXPECT_EQ(disk.files.size(), 2u);
  for (const auto& [name, doc] : disk.files) EXPECT_TRUE(name.ends_with(u".html")) << ToUtf8(name);

  // A surrogate pair goes as a whole; the article number is never cut.
  disk.maxBytes = 11;  // "1 x" + ".html" + nothing else
  EXPECT_EQ(disk.Save(u"1 x\U0001F600", "C").fileBase, u"1 x");
  disk.maxBytes = 6;
  EXPECT_THROW(disk.Save(u"2 y", "D"), EInOutError);
}

TEST(ChooseArticleFile, WritesIntoARealFolder) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("qv_articles_" + std::to_string(std::random_device()()));
  fs::remove_all(dir);
  fs::create_directories(dir / "html" / "1 b.html");  // a folder squatting on the name
  const String htmlDir = FromUtf8((dir / "html").string()), temp = FromUtf8((dir / "article.tmp").string());
  EXPECT_EQ(WriteArticleFile(htmlDir, temp, u"1 a", "doc"), u"1 a");
  EXPECT_EQ(WriteArticleFile(htmlDir, temp, u"1 a", "doc"), u"1 a");
  EXPECT_EQ(WriteArticleFile(htmlDir, temp, u"1 a", "other"), u"1 a (2)");
  EXPECT_EQ(WriteArticleFile(htmlDir, temp, u"1 b", "doc"), u"1 b (2)");
  const auto bytes = ReadFileBytes(htmlDir + u"/1 a.html");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "doc");
  // The system refuses a name over 255 bytes.
  const String saved = WriteArticleFile(htmlDir, temp, u"3 " + String(98, u'长'), "long");
  EXPECT_EQ(saved, u"3 " + String(82, u'长'));
  EXPECT_EQ(ReadFileBytes(htmlDir + u"/" + saved + u".html").size(), 4u);
  EXPECT_FALSE(FileExists(temp));
  fs::remove_all(dir);
}

TEST(UserName, MustBeOneFolderName) {
  for (const char16_t* ok : {u"ann", u"用户名", u"a.b", u"a b", u"con1", u"LPT0", u"_", u"%E7%94%A8"}) {
    EXPECT_TRUE(IsValidUserName(ok)) << ToUtf8(ok);
  }
  for (const char16_t* bad : {u"", u".", u"..", u"a/b", u"a\\b", u"../x", u"a:b", u"a*", u"a?", u"a\"b", u"<a>", u"a|b",
                              u"a\tb", u"abc.", u"abc ", u"CON", u"con.txt", u"Nul", u"COM3", u"lpt9.x"}) {
    EXPECT_FALSE(IsValidUserName(bad)) << ToUtf8(bad);
  }
  EXPECT_TRUE(IsValidUserName(String(kMaxUserNameLength, u'a')));
  EXPECT_FALSE(IsValidUserName(String(kMaxUserNameLength + 1, u'a')));
  EXPECT_NE(InvalidUserNameMessage(u"a/b").find(u"a/b"), String::npos);
}
