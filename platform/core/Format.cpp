#include "platform/core/Format.h"

#include <vector>

namespace qv {

String Format(StringView fmt, std::initializer_list<FormatArg> argList) {
  const std::vector<FormatArg> args(argList);
  size_t next = 0;
  String out;
  for (size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != u'%') {
      out.push_back(fmt[i]);
      continue;
    }
    const size_t start = i++;
    if (i < fmt.size() && fmt[i] == u'%') {
      out.push_back(u'%');
      continue;
    }
    bool left = false;
    if (i < fmt.size() && fmt[i] == u'-') left = true, ++i;
    int width = 0, precision = -1;
    while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') width = width * 10 + (fmt[i++] - u'0');
    if (i < fmt.size() && fmt[i] == u'.') {
      precision = 0, ++i;
      while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') precision = precision * 10 + (fmt[i++] - u'0');
    }
    if (i >= fmt.size() || next >= args.size()) {
      out.append(fmt.substr(start, i - start + (i < fmt.size() ? 1 : 0)));
      continue;
    }
    const char16_t kind = fmt[i] | 0x20;  // letter case of the directive does not matter
    const FormatArg& arg = args[next];
    String piece;
    if (kind == u's' && arg.IsText()) {
      piece = String(arg.Text());
      if (precision >= 0 && piece.size() > static_cast<size_t>(precision)) piece.resize(precision);
    } else if (kind == u'd' && !arg.IsText()) {
      piece = IntToStr(arg.Number());
      if (precision > 0) {
        const bool neg = arg.Number() < 0;
        String digits = neg ? piece.substr(1) : piece;
        while (digits.size() < static_cast<size_t>(precision)) digits.insert(digits.begin(), u'0');
        piece = neg ? u"-" + digits : digits;
      }
    } else if (kind == u'u' && !arg.IsText()) {
      const std::string d = std::to_string(static_cast<uint32_t>(arg.Number()));
      piece.assign(d.begin(), d.end());
    } else if (kind == u'x' && !arg.IsText()) {
      const uint64_t mask = arg.Bits() == 64 ? ~0ull : 0xFFFFFFFFull;
      piece = IntToHex(static_cast<uint64_t>(arg.Number()) & mask, precision > 0 ? precision : 1);
    } else {
      out.append(fmt.substr(start, i - start + 1));
      continue;
    }
    ++next;
    if (piece.size() < static_cast<size_t>(width)) {
      const String pad(width - piece.size(), u' ');
      piece = left ? piece + pad : pad + piece;
    }
    out += piece;
  }
  return out;
}

String WithFullStop(String text) {
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

}  // namespace qv
