// Formatted messages in the manner of the run-time library's Format: %s, %d,
// %u, %x (with optional '-', width and, for %s, precision) and %%.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "platform/core/UString.h"

namespace qv {

class FormatArg {
 public:
  FormatArg(int v) : isText_(false), number_(v) {}
  FormatArg(unsigned v) : isText_(false), number_(v) {}
  FormatArg(long v) : isText_(false), number_(v) {}
  FormatArg(long long v) : isText_(false), number_(v) {}
  FormatArg(unsigned long v) : isText_(false), number_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned long long v) : isText_(false), number_(static_cast<int64_t>(v)) {}
  FormatArg(StringView v) : isText_(true), text_(v) {}
  FormatArg(const String& v) : isText_(true), text_(v) {}
  FormatArg(const char16_t* v) : isText_(true), text_(v) {}

  bool IsText() const { return isText_; }
  int64_t Number() const { return number_; }
  StringView Text() const { return text_; }

 private:
  bool isText_;
  int64_t number_ = 0;
  StringView text_;
};

// A directive whose argument is missing or of the wrong kind is copied as it
// stands rather than raising: messages are for people.
String Format(StringView format, std::initializer_list<FormatArg> args);

}  // namespace qv
