#include "app/AuthorPage.h"

#include <cstdlib>

namespace qv {

namespace {
constexpr char kAuthorHost[] = "brenlow.quillvault.invalid";

String AuthorHost() {
#ifdef _WIN32
  if (const wchar_t* v = _wgetenv(L"QUILLVAULT_AUTHOR_HOST"); v && *v) return String(reinterpret_cast<const char16_t*>(v));
#else
  if (const char* v = std::getenv("QUILLVAULT_AUTHOR_HOST"); v && *v) return FromUtf8(v);
#endif
  return FromUtf8(kAuthorHost);
}
}  // namespace

String AuthorPageUrl() { return u"http://" + AuthorHost() + u"/brenlow"; }

String FeedbackUrl() { return AuthorPageUrl() + u"/feedback"; }

}  // namespace qv
