#include "platform/core/TypInfo.h"

#include <map>

namespace qv {

const TEnumInfo kBooleanInfo{{u"False", u"True"}};

int TEnumInfo::IndexOf(StringView name) const {
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

bool TPropInfo::Writable() const {
  switch (kind) {
    case TPropKind::String: return static_cast<bool>(setStr);
    case TPropKind::Object: return static_cast<bool>(setObj);
    case TPropKind::Event: return static_cast<bool>(setEvent);
    default: return static_cast<bool>(setOrd);
  }
}

namespace {
std::map<String, int64_t>& IntegerIdents() {
  static std::map<String, int64_t> idents;
  return idents;
}
}  // namespace

void RegisterIntegerIdent(StringView name, int64_t value) { IntegerIdents()[UpperCase(name)] = value; }

bool IdentToInt(StringView name, int64_t& value) {
  auto it = IntegerIdents().find(UpperCase(name));
  if (it == IntegerIdents().end()) return false;
  value = it->second;
  return true;
}

const TPropInfo* GetPropInfo(const TObject* obj, StringView name) {
  return obj ? obj->ClassType().FindProp(name) : nullptr;
}

namespace {

[[noreturn]] void InvalidValue(const TPropInfo& prop, StringView text) {
  throw EPropertyError(u"Invalid property value '" + String(text) + u"' for " + prop.name);
}

[[noreturn]] void ReadOnly(const TPropInfo& prop) { throw EPropertyError(u"Property " + prop.name + u" is read-only"); }

}  // namespace

int64_t GetOrdProp(TObject* obj, const TPropInfo& prop) { return prop.getOrd ? prop.getOrd(obj) : 0; }

void SetOrdProp(TObject* obj, const TPropInfo& prop, int64_t value) {
  if (!prop.setOrd) ReadOnly(prop);
  prop.setOrd(obj, value);
}

String GetEnumProp(TObject* obj, const TPropInfo& prop) {
  const int64_t v = GetOrdProp(obj, prop);
  if (!prop.enumInfo || v < 0 || v >= static_cast<int64_t>(prop.enumInfo->names.size())) return IntToStr(v);
  return prop.enumInfo->names[static_cast<size_t>(v)];
}

void SetEnumProp(TObject* obj, const TPropInfo& prop, StringView member) {
  const int i = prop.enumInfo ? prop.enumInfo->IndexOf(Trim(member)) : -1;
  if (i < 0) InvalidValue(prop, member);
  SetOrdProp(obj, prop, i);
}

String GetSetProp(TObject* obj, const TPropInfo& prop, bool brackets) {
  const auto bits = static_cast<uint64_t>(GetOrdProp(obj, prop));
  String out;
  for (size_t i = 0; prop.enumInfo && i < prop.enumInfo->names.size() && i < 32; ++i) {
    if (!(bits & (1ull << i))) continue;
    if (!out.empty()) out += u',';
    out += prop.enumInfo->names[i];
  }
  return brackets ? u"[" + out + u"]" : out;
}

void SetSetProp(TObject* obj, const TPropInfo& prop, StringView text) {
  String t = Trim(text);
  if (!t.empty() && t.front() == u'[') t.erase(0, 1);
  if (!t.empty() && t.back() == u']') t.pop_back();
  uint32_t bits = 0;
  size_t from = 0;
  while (from <= t.size()) {
    size_t comma = t.find(u',', from);
    if (comma == String::npos) comma = t.size();
    const String item = Trim(StringView(t).substr(from, comma - from));
    if (!item.empty()) {
      const int i = prop.enumInfo ? prop.enumInfo->IndexOf(item) : -1;
      if (i < 0 || i >= 32) InvalidValue(prop, item);
      bits |= 1u << i;
    }
    from = comma + 1;
  }
  SetOrdProp(obj, prop, bits);
}

String GetStrProp(TObject* obj, const TPropInfo& prop) { return prop.getStr ? prop.getStr(obj) : String(); }

void SetStrProp(TObject* obj, const TPropInfo& prop, StringView value) {
  if (!prop.setStr) ReadOnly(prop);
  prop.setStr(obj, value);
}

TObject* GetObjectProp(TObject* obj, const TPropInfo& prop) { return prop.getObj ? prop.getObj(obj) : nullptr; }

void SetObjectProp(TObject* obj, const TPropInfo& prop, TObject* value) {
  if (!prop.setObj) ReadOnly(prop);
  prop.setObj(obj, value);
}

}  // namespace qv
