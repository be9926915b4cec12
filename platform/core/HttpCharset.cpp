#include "platform/core/HttpCharset.h"

namespace qv {

namespace {

CodePageDecoder gDecoder = nullptr;

struct CharsetEntry {
  const char16_t* name;
  unsigned codePage;
};

const CharsetEntry kCharsets[] = {
    {u"utf-8", 65001},        {u"utf8", 65001},           {u"unicode-1-1-utf-8", 65001},
    {u"iso-8859-1", 28591},   {u"iso8859-1", 28591},      {u"latin1", 28591},
    {u"l1", 28591},           {u"us-ascii", 20127},       {u"ascii", 20127},
    {u"gbk", 936},            {u"gb2312", 936},           {u"x-gbk", 936},
    {u"cp936", 936},          {u"windows-936", 936},      {u"gb_2312-80", 936},
    {u"euc-cn", 936},         {u"gb18030", 54936},        {u"big5", 950},
    {u"big5-hkscs", 950},     {u"cp950", 950},            {u"shift_jis", 932},
    {u"shift-jis", 932},      {u"sjis", 932},             {u"x-sjis", 932},
    {u"windows-31j", 932},    {u"euc-jp", 20932},         {u"euc-kr", 949},
    {u"ks_c_5601-1987", 949}, {u"koi8-r", 20866},         {u"koi8-u", 21866},
    {u"windows-1250", 1250},  {u"windows-1251", 1251},    {u"windows-1252", 1252},
    {u"windows-1253", 1253},  {u"windows-1254", 1254},    {u"windows-1255", 1255},
    {u"windows-1256", 1256},  {u"windows-1257", 1257},    {u"windows-1258", 1258},
    {u"iso-8859-2", 28592},   {u"iso-8859-5", 28595},     {u"iso-8859-7", 28597},
    {u"iso-8859-9", 28599},   {u"iso-8859-15", 28605},
};

bool IsDoubleByte(unsigned codePage) {
  return codePage == 936 || codePage == 54936 || codePage == 950 || codePage == 932 || codePage == 949 ||
         codePage == 20932;
}

// ASCII stays; a lead byte and its trail (four bytes for GB18030's long
// form) become one U+FFFD.
String DecodeDoubleByteFallback(std::string_view bytes, unsigned codePage) {
  String out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    size_t len = 1;
    if (i + 1 < bytes.size()) {
      const auto t = static_cast<unsigned char>(bytes[i + 1]);
      len = 2;
      if (codePage == 54936 && t >= 0x30 && t <= 0x39 && i + 3 < bytes.size()) len = 4;
    }
    out.push_back(u'\uFFFD');
    i += len;
  }
  return out;
}

}  // namespace

String CharsetFromContentType(StringView contentType) {
  // Parameters follow the media type, separated by ';'.
  size_t i = contentType.find(u';');
  while (i != StringView::npos) {
    const size_t next = contentType.find(u';', i + 1);
    const StringView param = contentType.substr(i + 1, next == StringView::npos ? StringView::npos : next - i - 1);
    const size_t eq = param.find(u'=');
    if (eq != StringView::npos && SameText(Trim(param.substr(0, eq)), u"charset")) {
      String value = Trim(param.substr(eq + 1));
      if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') value = value.substr(1, value.size() - 2);
      return LowerCase(Trim(value));
    }
    i = next;
  }
  return String();
}

unsigned CodePageOfCharset(StringView charset) {
  const String name = LowerCase(Trim(charset));
  for (const auto& e : kCharsets) {
    if (name == e.name) return e.codePage;
  }
  return 0;
}

void SetCodePageDecoder(CodePageDecoder decoder) { gDecoder = decoder; }

String DecodeText(std::string_view bytes, StringView charset) {
  const unsigned codePage = CodePageOfCharset(charset);
  if (codePage == 0 || codePage == 65001) return FromUtf8(bytes);
  if (codePage == 28591 || codePage == 20127) return FromLatin1(bytes);
  String text;
  if (gDecoder && gDecoder(codePage, bytes, text)) return text;
  if (IsDoubleByte(codePage)) return DecodeDoubleByteFallback(bytes, codePage);
  return FromUtf8(bytes);
}

}  // namespace qv
