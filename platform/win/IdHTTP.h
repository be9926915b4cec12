// The HTTP client component: GET as text or into a stream, with the request
// settings the form stores and one cookie jar for the component's life, over
// Windows Sockets with connect and receive time-outs.
#pragma once
#include <memory>

#include "platform/core/Component.h"
#include "platform/core/HttpClient.h"
#include "platform/core/Streams.h"

namespace qv {

class TIdProxyConnectionInfo : public TPersistent {
  QV_CLASS(TIdProxyConnectionInfo)
 public:
  bool basicAuthentication = false;
  int proxyPort = 0;
  String proxyServer;
};

class TIdHTTPRequest : public TPersistent {
  QV_CLASS(TIdHTTPRequest)
 public:
  int contentLength = -1;
  String accept = u"text/html, */*";
  bool basicAuthentication = false;
  String userAgent = u"Mozilla/3.0 (compatible; Indy Library)";
  String referer;
};

enum THTTPOption { hoInProcessAuth, hoKeepOrigProtocol, hoForceEncodeParams };

class TIdHTTP : public TComponent, public THttpGetter {
  QV_CLASS(TIdHTTP)
 public:
  explicit TIdHTTP(TComponent* owner);
  ~TIdHTTP() override;

  // The body as text decoded by the response's charset. Throws
  // EHttpStatusError ("HTTP/1.1 404 Not Found") for a status that is no
  // success, EHttpProtocolError for an address that cannot be requested or a
  // broken answer, ESocketError for a network failure or time-out; each
  // message ends in a line naming the address (THttpClient::Get).
  String GetText(StringView url) { return Get(url).Text(); }
  void Get(StringView url, TStream& body);
  THttpResponse Get(StringView url) override;

  TIdHTTPRequest* Request() const { return request_; }
  TIdProxyConnectionInfo* ProxyParams() const { return proxyParams_; }

  bool allowCookies = true;
  bool handleRedirects = false;
  uint32_t httpOptions = 1u << hoForceEncodeParams;
  int connectTimeout = 30000;  // milliseconds
  int readTimeout = 30000;
  // The whole answer of one Get, redirects included.
  int requestTimeout = 120000;

 private:
  class TWinsockTransport;
  TIdHTTPRequest* request_;
  TIdProxyConnectionInfo* proxyParams_;
  std::unique_ptr<TWinsockTransport> transport_;
  std::unique_ptr<THttpClient> client_;
};

}  // namespace qv
