// The HTTP client component: GET into a stream or as text, with the request
// settings the form stores.
#pragma once
#include "platform/core/Component.h"
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

class TIdHTTP : public TComponent {
  QV_CLASS(TIdHTTP)
 public:
  explicit TIdHTTP(TComponent* owner);
  ~TIdHTTP() override;

  // The body as text. Throws EHttpProtocolError ("HTTP/1.1 404 Not Found")
  // for a status that is no success, ESocketError for a network failure.
  String Get(StringView url);
  void Get(StringView url, TStream& body);

  TIdHTTPRequest* Request() const { return request_; }
  TIdProxyConnectionInfo* ProxyParams() const { return proxyParams_; }
  int ResponseCode() const { return responseCode_; }

  bool allowCookies = true;
  bool handleRedirects = false;
  uint32_t httpOptions = 1u << hoForceEncodeParams;
  int connectTimeout = 30000;  // milliseconds
  int readTimeout = 30000;

 private:
  TIdHTTPRequest* request_;
  TIdProxyConnectionInfo* proxyParams_;
  int responseCode_ = 0;
};

}  // namespace qv
