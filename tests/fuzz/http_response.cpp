// Remote bytes through the whole client path: the response parser fed in
// uneven pieces, the body decoded by its declared charset, cookies stored and
// sent back, the Location resolved into the next request. Whatever arrives,
// the next request's header block must stay well formed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/core/HttpCharset.h"
#include "platform/core/HttpClient.h"
#include "platform/core/HttpErrors.h"

using namespace qv;

namespace {

void CheckRequest(const std::string& request) {
  // Every CR is followed by LF and every LF preceded by CR; the block ends
  // with the one empty line; the request line has exactly two blanks.
  for (size_t i = 0; i < request.size(); ++i) {
    if (request[i] == '\r' && (i + 1 >= request.size() || request[i + 1] != '\n')) std::abort();
    if (request[i] == '\n' && (i == 0 || request[i - 1] != '\r')) std::abort();
    if (request[i] == '\0') std::abort();
  }
  if (request.find("\r\n\r\n") != request.size() - 4) std::abort();
  const std::string line = request.substr(0, request.find("\r\n"));
  size_t blanks = 0;
  for (char c : line) blanks += c == ' ';
  if (blanks != 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t piece = 1 + data[0] % 17;
  ++data, --size;

  THttpLimits limits;
  limits.maxBody = 1 << 20;
  THttpResponseParser parser(limits);
  try {
    bool done = false;
    for (size_t i = 0; i < size && !done; i += piece) done = parser.Feed(data + i, std::min(piece, size - i));
    if (!done) parser.FinishAtClose();
  } catch (const EHttpProtocolError&) {
    return 0;
  }
  if (!parser.Done() || parser.Body().size() > limits.maxBody) std::abort();

  const THttpHeaders& headers = parser.Headers();
  (void)DecodeText(parser.Body(), CharsetFromContentType(HeaderValue(headers, u"Content-Type")));

  const THttpUrl here = ParseHttpUrl(u"http://blog.example.com/s/articlelist_1_0_1.html");
  THttpCookieJar jar;
  jar.StoreFromResponse(here, headers, 1'700'000'000);
  THttpUrl next = here;
  const String location = HeaderValue(headers, u"Location");
  if (!location.empty()) {
    try {
      next = ParseHttpUrl(ResolveReference(here.ToString(), location));
    } catch (const EHttpProtocolError&) {
      return 0;
    }
  }
  CheckRequest(BuildGetRequest(next, location, jar.CookieHeader(next, 1'700'000'000)));
  return 0;
}
