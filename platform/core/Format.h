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
  FormatArg(long v) : isText_(false), number_(v), bits_(sizeof(long) * 8) {}
  FormatArg(long long v) : isText_(false), number_(v), bits_(64) {}
  FormatArg(unsigned long v) : isText_(false), number_(static_cast<int64_t>(v)), bits_(sizeof(long) * 8) {}
  FormatArg(unsigned long long v) : isText_(false), number_(static_cast<int64_t>(v)), bits_(64) {}
  FormatArg(StringView v) : isText_(true), text_(v) {}
  FormatArg(const String& v) : isText_(true), text_(v) {}
  FormatArg(const char16_t* v) : isText_(true), text_(v) {}

  bool IsText() const { return isText_; }
  int64_t Number() const { return number_; }
  // Width of the argument's type: %x of a negative 32-bit value prints 8 digits.
  int Bits() const { return bits_; }
  StringView Text() const { return text_; }

 private:
  bool isText_;
  int64_t number_ = 0;
  int bits_ = 32;
  StringView text_;
};

// A directive whose argument is missing or of the wrong kind is copied as it
// stands rather than raising: messages are for people.
String Format(StringView format, std::initializer_list<FormatArg> args);

// The text with a full stop at its end unless it ends in one already, or in
// a character that sorts below it: how the error box shows a message.
String WithFullStop(String text);

}  // namespace qv
