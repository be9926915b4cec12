#include "app/BackupDocuments.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"

namespace qv {

namespace {

const char16_t kCrLf[] = u"\r\n";

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9 and LPT1-9 (with the
// superscript digits Windows also takes), whatever follows the first dot:
// "nul.html" opens the null device, not a file.
bool IsDeviceName(StringView name) {
  StringView stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  const String upper = UpperCase(stem);
  if (upper == u"CON" || upper == u"PRN" || upper == u"AUX" || upper == u"NUL" || upper == u"CONIN$" ||
      upper == u"CONOUT$") {
    return true;
  }
  if (upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT"))) {
    const char16_t d = upper[3];
    return (d >= u'1' && d <= u'9') || d == u'\u00B9' || d == u'\u00B2' || d == u'\u00B3';
  }
  return false;
}

bool IsForbiddenInName(char16_t c) {
  return c < u' ' || String(u"<>:\"/\\|?*").find(c) != String::npos;
}

}  // namespace

std::string IndexHeader(StringView userName, StringView stamp) {
  const String user(userName);
  String s;
  s += u"<html>" + String(kCrLf);
  s += u"<head>" + String(kCrLf);
  s += u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" + String(kCrLf);
  s += u"<title>" + user + u"的博客</title>" + kCrLf;
  s += u"<style type=\"text/css\">" + String(kCrLf);
  s += u"body{font-size: 12pt;}" + String(kCrLf);
  s += u"a{color: #000000;text-decoration : none;font-size: 10pt;}" + String(kCrLf);
  s += u"a:hover {color: red;text-decoration : underline;}" + String(kCrLf);
  s += u"</style>" + String(kCrLf);
  s += u"</head>" + String(kCrLf);
  s += u"<body>" + String(kCrLf);
  s += u"<h2>" + user + u"的博客<h4>[备份时间：" + String(stamp) + u"]</h4></h2>" + kCrLf;
  s += u"<table>" + String(kCrLf);
  return ToUtf8(s);
}

std::string IndexRow(StringView url, StringView fileBase, StringView numberedTitle) {
  const String s = u"<tr><td><a href=\"" + String(url) + u"\" target=_blank>[原网页]</a></td>" + u"<td><a href=\"" +
                   u"html/" + String(fileBase) + u".html\" target=_blank>" + String(numberedTitle) +
                   u"</a></td></tr>" + kCrLf;
  return ToUtf8(s);
}

std::string IndexFooter() { return "</table>\r\n</body>\r\n</html>"; }

std::string ArticleDocument(StringView numberedTitle, StringView fragment) {
  String s;
  s += u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
       u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">" + String(kCrLf);
  s += u"<html xmlns=\"http://www.w3.org/1999/xhtml\">" + String(kCrLf);
  s += u"<head>" + String(kCrLf);
  s += u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />" + String(kCrLf);
  s += u"<title>" + String(numberedTitle) + u"</title>" + kCrLf;
  s += u"</head>" + String(kCrLf);
  s += u"<body>" + String(kCrLf);
  s += fragment;
  s += String(kCrLf) + u"</body>" + kCrLf + u"</html>";
  return ToUtf8(s);
}

String NumberedTitle(int number, StringView title) { return IntToStr(number) + u" " + String(title); }

String ArticleFileBase(StringView numberedTitle, size_t maxUnits) {
  String name(numberedTitle);
  // The fixed replacements, in this order.
  for (const char16_t* removed : {u"*", u"/", u"\\", u":", u"?", u"\""}) name = StringReplace(name, removed, u"", rfReplaceAll);
  name = StringReplace(name, u"<", u"(", rfReplaceAll);
  name = StringReplace(name, u">", u")", rfReplaceAll);
  name = StringReplace(name, u"|", u"", rfReplaceAll);
  name = StringReplace(name, u"#", u"Sharp", rfReplaceAll);

  // What a remote title could still hold that Windows refuses.
  String safe;
  safe.reserve(name.size());
  for (char16_t c : name) {
    if (c >= u' ') safe.push_back(c);
  }
  if (maxUnits < 1) maxUnits = 1;
  if (safe.size() > maxUnits) {
    safe.resize(maxUnits);
    if (safe.back() >= 0xD800 && safe.back() <= 0xDBFF) safe.pop_back();  // half a surrogate pair
  }
  if (safe.empty()) safe = u"_";
  if (IsDeviceName(safe)) safe.insert(safe.begin(), u'_');
  return safe;
}

bool ShortenTitlePart(String& fileBase) {
  const size_t blank = fileBase.find(u' ');
  const size_t keep = blank == String::npos ? 1 : blank + 1;
  if (fileBase.size() <= keep) return false;
  fileBase.pop_back();
  if (fileBase.size() > keep && fileBase.back() >= 0xD800 && fileBase.back() <= 0xDBFF) fileBase.pop_back();
  return true;
}

TArticleTarget ChooseArticleFile(StringView fileBase, std::string_view document, const TNewArticleFile& create,
                                 const TExistingFileBytes& read) {
  constexpr int kMaxTries = 1000;
  String base(fileBase);
  for (int k = 1; k <= kMaxTries;) {
    const String name = k == 1 ? base : base + u" (" + IntToStr(k) + u")";
    const TNewFileResult result = create(name + u".html");
    if (result == TNewFileResult::Written) return {name, true};
    if (result == TNewFileResult::NameTooLong) {
      // A longer suffix never needs less, so the cut stays for later tries.
      if (!ShortenTitlePart(base)) {
        throw EInOutError(u"Cannot find a file name short enough for \"" + String(fileBase) + u".html\".");
      }
      continue;
    }
    // The same article saved before stays as it is; anything else there is
    // another article (or an edited one) and must not be lost.
    const std::string content = read(name + u".html");
    if (!content.empty() && content == document) return {name, false};
    ++k;
  }
  throw EInOutError(u"Cannot find a free file name for \"" + String(fileBase) + u".html\".");
}

String WriteArticleFile(StringView htmlDir, StringView tempPath, StringView fileBase, std::string_view document) {
  const String dir = IncludeTrailingPathDelimiter(htmlDir);
  // Most articles are new: the first try writes the file and moves it in
  // place, with no look-up before it (under Wine each look-up of a missing
  // name reads the whole folder, which grows with every article saved).
  auto create = [&](StringView fileName) {
    return WriteNewFileBytes(dir + String(fileName), tempPath, document.data(), document.size());
  };
  auto read = [&](StringView fileName) {
    const String path = dir + String(fileName);
    if (!FileExists(path)) return std::string();  // a folder: never ours to compare
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  };
  return ChooseArticleFile(fileBase, document, create, read).fileBase;
}

bool IsValidUserName(StringView userName) {
  if (userName.empty() || userName.size() > kMaxUserNameLength) return false;
  for (char16_t c : userName) {
    if (IsForbiddenInName(c)) return false;
  }
  // Windows drops a trailing dot or blank, so the folder would not be the
  // one the paths name; this also refuses "." and "..".
  if (userName.back() == u'.' || userName.back() == u' ') return false;
  return !IsDeviceName(userName);
}

String InvalidUserNameMessage(StringView userName) {
  return u"用户名“" + String(userName) + u"”不能用作文件夹名，请检查后重新输入。";
}

String UserBusyMessage(StringView userName) {
  return u"另一个备份正在备份用户“" + String(userName) + u"”的博客，请等它完成后再试";
}

}  // namespace qv
