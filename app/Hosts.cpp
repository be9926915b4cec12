#include "app/Hosts.h"

#include <cstdlib>

namespace qv {

namespace {

String HostFromEnvironment(const char* name, const char* fallback) {
#ifdef _WIN32
  const std::wstring wide(name, name + std::char_traits<char>::length(name));
  if (const wchar_t* v = _wgetenv(wide.c_str()); v && *v) return String(reinterpret_cast<const char16_t*>(v));
#else
  if (const char* v = std::getenv(name); v && *v) return FromUtf8(v);
#endif
  return FromUtf8(fallback);
}

}  // namespace

String BlogHost() { return HostFromEnvironment("QUILLVAULT_BLOG_HOST", "blog.quillvault.invalid"); }
String ImageHost() { return HostFromEnvironment("QUILLVAULT_IMAGE_HOST", "img.quillvault.invalid"); }
String AuthorPageUrl() {
  return u"http://" + HostFromEnvironment("QUILLVAULT_AUTHOR_HOST", "brenlow.quillvault.invalid") + u"/brenlow";
}
String FeedbackUrl() { return AuthorPageUrl() + u"/feedback"; }

}  // namespace qv
