// The files a backup run writes, as bytes: the index document appended once
// per run (header, one row per article, footer) and one article document per
// article, all UTF-8 without a byte-order mark and with CR LF breaks. Also
// the names of those files, made safe for Windows, and the choice of a name
// that never overwrites or drops an article.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "platform/core/FileUtils.h"
#include "platform/core/UString.h"

namespace qv {

// Lines 1 to 13 of the index document, each ending in CR LF.
std::string IndexHeader(StringView userName, StringView stamp);
// One table row: links to the article's page and to html/<fileBase>.html,
// showing the numbered title as it is.
std::string IndexRow(StringView url, StringView fileBase, StringView numberedTitle);
// "</table>", "</body>", "</html>": no break after the last line.
std::string IndexFooter();

// The whole article file: XHTML head with the numbered title, then the
// fragment unchanged, then the closing tags (no break at the end).
std::string ArticleDocument(StringView numberedTitle, StringView fragment);

// The decimal number, one blank, the title.
String NumberedTitle(int number, StringView title);

// Longest article file name before ".html", in UTF-16 units, that leaves
// room for a " (n)" suffix and the folders in front within the classic
// 260-unit path limit for usual program folders.
inline constexpr size_t kMaxArticleBaseName = 100;

// The article file's name without ".html". First the fixed replacements:
// "*", "/", "\", ":", "?", the double quote and "|" removed, "<" -> "(",
// ">" -> ")", "#" -> "Sharp". Then what Windows would still refuse or
// misread: control characters are removed, a reserved device name (CON,
// PRN, AUX, NUL, COM1-9, LPT1-9) gets a leading "_", and the name is cut to
// maxUnits without splitting a surrogate pair. Trailing dots and blanks are
// kept: ".html" always follows them, so they never end a file name.
String ArticleFileBase(StringView numberedTitle, size_t maxUnits = kMaxArticleBaseName);

// Cuts the last character off the title part of an article file's name
// (the part after the article number and its blank); false when there is
// none left to cut.
bool ShortenTitlePart(String& fileBase);

// Where an article goes. create(fileName) writes the article as a new file
// of that name (fileName includes ".html"), or says that the name is taken
// or refused as too long; read(fileName) gives the bytes of what has that
// name (empty for anything but a file: an empty content never matches).
struct TArticleTarget {
  String fileBase;  // without ".html"
  bool written;     // false: an identical file was already there
};
using TNewArticleFile = std::function<TNewFileResult(StringView fileName)>;
using TExistingFileBytes = std::function<std::string(StringView fileName)>;
// The wanted name when it is free; nothing written when a file of that name
// holds exactly this document; otherwise the first free name among
// "<base> (2)", "<base> (3)", ... (or one holding this document), so that a
// different article with the same title is never lost. A name the file
// system refuses loses characters from its title part until one is taken.
// Throws EInOutError when no such name is found among the first thousand.
TArticleTarget ChooseArticleFile(StringView fileBase, std::string_view document, const TNewArticleFile& create,
                                 const TExistingFileBytes& read);

// ChooseArticleFile over the real folder htmlDir, each try written whole
// to tempPath first (see WriteNewFileBytes); returns the name used (without
// ".html") for the index row.
String WriteArticleFile(StringView htmlDir, StringView tempPath, StringView fileBase, std::string_view document);

// Whether a user name can be one folder beside the program (and the index
// file inside it): no path separators or characters Windows forbids, not
// "." or "..", no trailing dot or blank, no device name, not over-long.
inline constexpr size_t kMaxUserNameLength = 64;
bool IsValidUserName(StringView userName);
// The message the window shows when IsValidUserName refuses a name.
String InvalidUserNameMessage(StringView userName);
// The message a run ends with when another run, of this or another copy of
// the program in the same folder, is backing up the same user.
String UserBusyMessage(StringView userName);

}  // namespace qv
