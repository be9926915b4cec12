#include "skin/controls/PropByName.h"

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"

namespace qv {

namespace {

const TPropInfo* Find(TObject* obj, StringView prop) { return obj ? GetPropInfo(obj, prop) : nullptr; }

// The general integer conversion also takes "$FF" and "0x1f"; these
// properties take decimal text only.
int32_t DecimalToInt(StringView text) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  bool digits = i < text.size();
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') digits = false;
  }
  if (!digits) throw EConvertError(u"'" + String(text) + u"' is not a valid integer value");
  return StrToInt(text);
}

}  // namespace

int32_t GetOrdPropByName(TObject* obj, StringView prop) {
  const TPropInfo* p = Find(obj, prop);
  if (!p || p->kind != TPropKind::Ordinal || !p->getOrd) return -1;
  return static_cast<int32_t>(GetOrdProp(obj, *p));
}

String GetEnumPropByName(TObject* obj, StringView prop) {
  const TPropInfo* p = Find(obj, prop);
  if (!p || !p->getOrd) return {};
  if (p->kind == TPropKind::Enumeration) return GetEnumProp(obj, *p);
  if (p->kind == TPropKind::Set) return GetSetProp(obj, *p);
  return {};
}

bool ReadsTrue(TObject* obj, StringView prop) { return SameText(GetEnumPropByName(obj, prop), u"true"); }

String GetStrPropByName(TObject* obj, StringView prop) {
  const TPropInfo* p = Find(obj, prop);
  if (!p || p->kind != TPropKind::String || !p->getStr) return {};
  return GetStrProp(obj, *p);
}

TObject* GetObjectPropByName(TObject* obj, StringView prop, const TClassInfo& cls) {
  const TPropInfo* p = Find(obj, prop);
  if (!p || p->kind != TPropKind::Object || !p->getObj) return nullptr;
  TObject* value = GetObjectProp(obj, *p);
  return value && value->InheritsFrom(cls) ? value : nullptr;
}

void SetPropByName(TObject* obj, StringView prop, StringView value) {
  const TPropInfo* p = Find(obj, prop);
  if (!p) return;
  switch (p->kind) {
    case TPropKind::Ordinal:
      if (p->setOrd) SetOrdProp(obj, *p, DecimalToInt(value));
      break;
    case TPropKind::Enumeration:
      if (p->setOrd) SetEnumProp(obj, *p, value);
      break;
    case TPropKind::String:
      if (p->setStr) SetStrProp(obj, *p, value);
      break;
    default:
      break;
  }
}

}  // namespace qv
