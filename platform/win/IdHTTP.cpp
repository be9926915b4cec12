#include "platform/win/IdHTTP.h"

#include <algorithm>

#include "platform/core/AnsiText.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/core/HttpCharset.h"
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
                                      .Int(u"RequestTimeout", &T::requestTimeout, &T::requestTimeout)
                                      .Done();
  return info;
}

// Blocking sockets with the component's time-outs under the client.
class TIdHTTP::TWinsockTransport : public THttpTransport {
 public:
  explicit TWinsockTransport(const TIdHTTP& owner) : owner_(owner) {}
  void Connect(const String& host, uint16_t port) override { tcp_.Connect(ToUtf8(host), port, owner_.connectTimeout); }
  void Send(const void* data, size_t size) override {
    tcp_.SendAll(std::string(static_cast<const char*>(data), size));
  }
  size_t Receive(void* buffer, size_t size, std::chrono::milliseconds maxWait) override {
    const int waitMs = static_cast<int>(std::min<std::chrono::milliseconds::rep>(owner_.readTimeout, maxWait.count()));
    return tcp_.Receive(static_cast<char*>(buffer), size, waitMs);
  }
  void Disconnect() noexcept override { tcp_.Close(); }

 private:
  const TIdHTTP& owner_;
  TTcpClient tcp_;
};

namespace {
// GBK, GB2312 and the other code pages are the platform's to decode.
bool DecodeWithCodePage(unsigned codePage, std::string_view bytes, String& out) {
  // Bytes that decode give at least one character; none means a code page
  // the system does not know.
  out = CodePageToText(codePage, bytes);
  return bytes.empty() || !out.empty();
}
}  // namespace

TIdHTTP::TIdHTTP(TComponent* owner)
    : TComponent(owner),
      request_(new TIdHTTPRequest),
      proxyParams_(new TIdProxyConnectionInfo),
      transport_(std::make_unique<TWinsockTransport>(*this)),
      client_(std::make_unique<THttpClient>(*transport_)) {
  static const bool decoderSet = (SetCodePageDecoder(DecodeWithCodePage), true);
  (void)decoderSet;
}

TIdHTTP::~TIdHTTP() {
  client_.reset();
  transport_.reset();
  delete request_;
  delete proxyParams_;
}

THttpResponse TIdHTTP::Get(StringView url) {
  client_->SetHandleRedirects(handleRedirects);
  client_->SetAllowCookies(allowCookies);
  client_->SetReferer(request_->referer);
  THttpLimits limits;
  limits.wholeAnswerTime = std::chrono::milliseconds(requestTimeout);
  client_->SetLimits(limits);
  return client_->Get(url);
}

void TIdHTTP::Get(StringView url, TStream& body) {
  const THttpResponse response = Get(url);
  body.WriteBuffer(response.body.data(), static_cast<int64_t>(response.body.size()));
}

}  // namespace qv
