// Remote page text through the page readers and the file-name rules: no
// crash, no hang, and every file name stays one safe name.
#include <cstdint>
#include <cstdlib>

#include "app/BackupDocuments.h"
#include "app/PageReaders.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const String page = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  (void)FirstMuluFromPage(page, u"http://blog.example.com/user");
  (void)UrlsFromPage(page);
  String title;
  String content = ContentFromPage(page, title);
  ReplaceContent(content, u"img.example.com");
  const String base = ArticleFileBase(NumberedTitle(1, title));
  if (base.empty() || base.size() > kMaxArticleBaseName) std::abort();
  for (char16_t c : base) {
    if (c < u' ' || String(u"<>:\"/\\|?*").find(c) != String::npos) std::abort();
  }
  (void)ArticleDocument(title, content);
  return 0;
}
