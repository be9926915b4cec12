// Addresses the HTTP client can request. Only plain http:// URLs are taken;
// the path keeps the text it was given and is percent-encoded only when the
// request line is written, so an address read from a remote page can never
// smuggle a blank, a control character or a line break onto the wire.
#pragma once
#include <cstdint>
#include <string>

#include "platform/core/UString.h"

namespace qv {

struct THttpUrl {
  String host;         // lower-case; letters, digits, '-', '.', '_'
  uint16_t port = 80;
  String path = u"/";  // path and query, starting with '/'; no fragment

  // "host" or "host:port" when the port is not 80: the Host header.
  String Authority() const;
  String ToString() const;  // "http://" + Authority() + path
};

// Throws EHttpProtocolError naming the address when it is not an http:// URL with a
// usable host and port. Blanks and control characters around the address
// and tabs and line breaks inside it are dropped, as browsers do.
THttpUrl ParseHttpUrl(StringView url);
bool TryParseHttpUrl(StringView url, THttpUrl& out);

// The address a reference (a Location header, a link) points to when read
// relative to base: absolute, scheme-relative, absolute-path, relative-path
// and query-only references, with "." and ".." segments removed.
String ResolveReference(StringView base, StringView reference);

// Path and query as they may stand in a request line: UTF-8, with every byte
// outside the characters allowed there written as %XX. An existing valid %XX
// escape is kept, so encoding twice changes nothing.
std::string EncodeRequestTarget(StringView pathAndQuery);

}  // namespace qv
