#include "platform/core/Object.h"

#include <map>

#include "platform/core/TypInfo.h"

namespace qv {

namespace {

struct Registry {
  std::vector<std::unique_ptr<TClassInfo>> owned;
  std::map<String, const TClassInfo*> byName;  // upper-case class name
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

}  // namespace

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    if (c == &other) return true;
  }
  return false;
}

const TPropInfo* TClassInfo::FindProp(StringView propName) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    for (const auto& p : c->props) {
      if (SameText(p->name, propName)) return p.get();
    }
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> out;
  for (const TClassInfo* c : chain) {
    for (const auto& p : c->props) out.push_back(p.get());
  }
  return out;
}

const TFieldInfo* TClassInfo::FindField(StringView fieldName) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    for (const auto& f : c->fields) {
      if (SameText(f.name, fieldName)) return &f;
    }
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(StringView methodName) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    for (const auto& m : c->methods) {
      if (SameText(m.name, methodName)) return &m;
    }
  }
  return nullptr;
}

void RegisterComponentClass(const TClassInfo& info) { TheRegistry().byName[UpperCase(info.name)] = &info; }

const TClassInfo* FindClass(StringView className) {
  auto& map = TheRegistry().byName;
  auto it = map.find(UpperCase(className));
  return it == map.end() ? nullptr : it->second;
}

const TClassInfo& AdoptClassInfo(std::unique_ptr<TClassInfo> info) {
  auto& r = TheRegistry();
  r.owned.push_back(std::move(info));
  RegisterComponentClass(*r.owned.back());
  return *r.owned.back();
}

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo& info = [] {
    auto c = std::make_unique<TClassInfo>();
    c->name = u"TObject";
    return std::ref(AdoptClassInfo(std::move(c)));
  }();
  return info;
}

}  // namespace qv
