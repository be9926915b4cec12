#include "app/Hosts.h"

#include <cstdlib>

namespace qv {

namespace {

String FromEnvironment(const char* name, const char* fallback) {
#ifdef _WIN32
  const std::wstring wide(name, name + std::char_traits<char>::length(name));
  if (const wchar_t* v = _wgetenv(wide.c_str()); v && *v) return String(reinterpret_cast<const char16_t*>(v));
#else
  if (const char* v = std::getenv(name); v && *v) return FromUtf8(v);
#endif
  return FromUtf8(fallback);
}

constexpr int kDefaultRequestSeconds = 120;

}  // namespace

String BlogHost() { return FromEnvironment("QUILLVAULT_BLOG_HOST", "blog.quillvault.invalid"); }
String ImageHost() { return FromEnvironment("QUILLVAULT_IMAGE_HOST", "img.quillvault.invalid"); }
String AuthorPageUrl() {
  return u"http://" + FromEnvironment("QUILLVAULT_AUTHOR_HOST", "brenlow.quillvault.invalid") + u"/brenlow";
}
String FeedbackUrl() { return AuthorPageUrl() + u"/feedback"; }

int RequestTimeoutMs() {
  const String text = FromEnvironment("QUILLVAULT_REQUEST_TIMEOUT", "");
  int seconds = 0;
  // Whole seconds up to a day; anything else keeps the default.
  if (!TryStrToInt(text, seconds) || seconds <= 0 || seconds > 24 * 3600) seconds = kDefaultRequestSeconds;
  return seconds * 1000;
}

}  // namespace qv
