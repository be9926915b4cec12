#include "platform/win/IdHTTP.h"

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/win/Sockets.h"

namespace qv {

namespace {
const TEnumInfo kHttpOptionInfo{{u"hoInProcessAuth", u"hoKeepOrigProtocol", u"hoForceEncodeParams"}};
}

const TClassInfo& TIdProxyConnectionInfo::StaticClass() {
  using T = TIdProxyConnectionInfo;
  static const TClassInfo& info = TClassBuilder<T>(u"TIdProxyConnectionInfo", TPersistent::StaticClass())
                                      .Bool(u"BasicAuthentication", &T::basicAuthentication, &T::basicAuthentication)
                                      .Int(u"ProxyPort", &T::proxyPort, &T::proxyPort)
                                      .Str(u"ProxyServer", &T::proxyServer, &T::proxyServer)
                                      .Done();
  return info;
}

const TClassInfo& TIdHTTPRequest::StaticClass() {
  using T = TIdHTTPRequest;
  static const TClassInfo& info = TClassBuilder<T>(u"TIdHTTPRequest", TPersistent::StaticClass())
                                      .Int(u"ContentLength", &T::contentLength, &T::contentLength)
                                      .Str(u"Accept", &T::accept, &T::accept)
                                      .Bool(u"BasicAuthentication", &T::basicAuthentication, &T::basicAuthentication)
                                      .Str(u"UserAgent", &T::userAgent, &T::userAgent)
                                      .Str(u"Referer", &T::referer, &T::referer)
                                      .Done();
  return info;
}

const TClassInfo& TIdHTTP::StaticClass() {
  using T = TIdHTTP;
  static const TClassInfo& info = TClassBuilder<T>(u"TIdHTTP", TComponent::StaticClass())
                                      .Bool(u"AllowCookies", &T::allowCookies, &T::allowCookies)
                                      .Bool(u"HandleRedirects", &T::handleRedirects, &T::handleRedirects)
                                      .Obj<TIdProxyConnectionInfo>(u"ProxyParams", &T::ProxyParams, nullptr)
                                      .Obj<TIdHTTPRequest>(u"Request", &T::Request, nullptr)
                                      .SetOf(u"HTTPOptions", &T::httpOptions, &T::httpOptions, kHttpOptionInfo)
                                      .Int(u"ConnectTimeout", &T::connectTimeout, &T::connectTimeout)
                                      .Int(u"ReadTimeout", &T::readTimeout, &T::readTimeout)
                                      .Done();
  return info;
}

TIdHTTP::TIdHTTP(TComponent* owner)
    : TComponent(owner), request_(new TIdHTTPRequest), proxyParams_(new TIdProxyConnectionInfo) {}

TIdHTTP::~TIdHTTP() {
  delete request_;
  delete proxyParams_;
}

String TIdHTTP::Get(StringView url) {
  TMemoryStream body;
  Get(url, body);
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(body.Memory()), static_cast<size_t>(body.Size())));
}

void TIdHTTP::Get(StringView url, TStream& body) {
  // Only what the start-up visit needs: http://host[:port]/path, the status
  // line and the body up to the end of the connection.
  std::string u = ToUtf8(url);
  if (u.rfind("http://", 0) != 0) throw EHttpProtocolError(u"Unsupported URL: " + String(url));
  u.erase(0, 7);
  const size_t slash = u.find('/');
  std::string hostPort = u.substr(0, slash);
  const std::string path = slash == std::string::npos ? "/" : u.substr(slash);
  uint16_t port = 80;
  if (const size_t colon = hostPort.find(':'); colon != std::string::npos) {
    port = static_cast<uint16_t>(std::stoi(hostPort.substr(colon + 1)));
    hostPort.erase(colon);
  }
  TTcpClient tcp;
  tcp.Connect(hostPort, port, connectTimeout);
  std::string req = "GET " + path + " HTTP/1.1\r\nHost: " + u.substr(0, slash) + "\r\nAccept: " + ToUtf8(request_->accept) +
                    "\r\nUser-Agent: " + ToUtf8(request_->userAgent) + "\r\n";
  if (!request_->referer.empty()) req += "Referer: " + ToUtf8(request_->referer) + "\r\n";
  req += "Connection: close\r\n\r\n";
  tcp.SendAll(req);
  std::string response;
  char buf[8192];
  for (;;) {
    const size_t n = tcp.Receive(buf, sizeof buf, readTimeout);
    if (n == 0) break;
    response.append(buf, n);
  }
  const size_t lineEnd = response.find("\r\n");
  const std::string statusLine = response.substr(0, lineEnd);
  const size_t sp = statusLine.find(' ');
  responseCode_ = sp == std::string::npos ? 0 : std::atoi(statusLine.c_str() + sp + 1);
  if (responseCode_ < 200 || responseCode_ > 299) throw EHttpProtocolError(FromUtf8(statusLine));
  const size_t headEnd = response.find("\r\n\r\n");
  if (headEnd != std::string::npos)
    body.WriteBuffer(response.data() + headEnd + 4, static_cast<int64_t>(response.size() - headEnd - 4));
}

}  // namespace qv
