// Exceptions carry a message the user can read; the application's default
// handler shows it in a message box.
#pragma once
#include <exception>
#include <string>

#include "platform/core/UString.h"

namespace qv {

class Exception : public std::exception {
 public:
  explicit Exception(String message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}
  const String& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  String message_;
  std::string utf8_;
};

#define QV_EXCEPTION(Name, Base)          \
  class Name : public Base {              \
   public:                                \
    using Base::Base;                     \
  };

QV_EXCEPTION(EConvertError, Exception)
QV_EXCEPTION(EStreamError, Exception)
QV_EXCEPTION(EReadError, EStreamError)
QV_EXCEPTION(EWriteError, EStreamError)
QV_EXCEPTION(EFOpenError, EStreamError)
QV_EXCEPTION(EFCreateError, EStreamError)
QV_EXCEPTION(EListError, Exception)
QV_EXCEPTION(EPropertyError, Exception)
QV_EXCEPTION(EClassNotFound, Exception)
QV_EXCEPTION(EInOutError, Exception)
QV_EXCEPTION(EOSError, Exception)
QV_EXCEPTION(EComponentError, Exception)
QV_EXCEPTION(EIniFileException, Exception)
QV_EXCEPTION(ESocketError, Exception)
QV_EXCEPTION(EHttpProtocolError, Exception)

}  // namespace qv
