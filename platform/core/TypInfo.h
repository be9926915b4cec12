// Published properties: one table per class, inherited along the class
// chain, names compared without regard to letter case. The form-resource
// reader and writer and the control skins read and write properties through
// it by name.
#pragma once
#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Component.h"

namespace qv {

enum class TPropKind { Ordinal, Enumeration, Set, String, Object, Event };

// Member names of an enumeration or of a set's element type; member n is
// value n (bit n of a set).
struct TEnumInfo {
  std::vector<String> names;
  int IndexOf(StringView name) const;  // without regard to letter case; -1 when absent
};

extern const TEnumInfo kBooleanInfo;  // False, True

struct TPropInfo {
  String name;
  TPropKind kind = TPropKind::Ordinal;
  const TEnumInfo* enumInfo = nullptr;
  const TClassInfo& (*objectClass)() = nullptr;
  std::optional<int64_t> defaultOrd;  // an ordinal equal to it is not written
  std::function<int64_t(TObject*)> getOrd;
  std::function<void(TObject*, int64_t)> setOrd;
  std::function<String(TObject*)> getStr;
  std::function<void(TObject*, StringView)> setStr;
  std::function<TObject*(TObject*)> getObj;
  std::function<void(TObject*, TObject*)> setObj;
  std::function<bool(TObject*)> hasEvent;
  std::function<bool(TObject*, const std::any&)> setEvent;  // false when the handler's type differs

  bool IsOrdinalKind() const { return kind == TPropKind::Ordinal || kind == TPropKind::Enumeration || kind == TPropKind::Set; }
  bool Writable() const;
};

const TPropInfo* GetPropInfo(const TObject* obj, StringView name);

// Names that stand for integers where an integer property is expected in a
// form resource ("clBtnFace", "DEFAULT_CHARSET"); lookup ignores letter case.
void RegisterIntegerIdent(StringView name, int64_t value);
bool IdentToInt(StringView name, int64_t& value);

int64_t GetOrdProp(TObject* obj, const TPropInfo& prop);
void SetOrdProp(TObject* obj, const TPropInfo& prop, int64_t value);
String GetEnumProp(TObject* obj, const TPropInfo& prop);
// Throws EPropertyError when the text names no member.
void SetEnumProp(TObject* obj, const TPropInfo& prop, StringView member);
// Set as text: member names separated by commas, in bit order ("a,b").
String GetSetProp(TObject* obj, const TPropInfo& prop, bool brackets = false);
// Accepts "[a, b]" or "a,b"; throws EPropertyError on an unknown name.
void SetSetProp(TObject* obj, const TPropInfo& prop, StringView text);
String GetStrProp(TObject* obj, const TPropInfo& prop);
void SetStrProp(TObject* obj, const TPropInfo& prop, StringView value);
TObject* GetObjectProp(TObject* obj, const TPropInfo& prop);
void SetObjectProp(TObject* obj, const TPropInfo& prop, TObject* value);

namespace detail {
template <class T, class G>
auto Read(const G& get, TObject* o) {
  return std::invoke(get, static_cast<T*>(o));
}
template <class T, class S, class V>
void Write(const S& set, TObject* o, V&& v) {
  if constexpr (std::is_member_object_pointer_v<S>) {
    static_cast<T*>(o)->*set = std::forward<V>(v);
  } else {
    std::invoke(set, static_cast<T*>(o), std::forward<V>(v));
  }
}
template <class S>
constexpr bool kHasSetter = !std::is_null_pointer_v<S>;
}  // namespace detail

// Describes class T (derived from TObject) once; Done() registers it and
// returns the descriptor that lives for the program's life. Getters and
// setters may be member functions or data members; a setter of nullptr makes
// the property read-only.
template <class T>
class TClassBuilder {
 public:
  TClassBuilder(StringView name, const TClassInfo& parent) : info_(new TClassInfo) {
    info_->name = String(name);
    info_->parent = &parent;
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> && !std::is_abstract_v<T>) {
      info_->create = [](TComponent* owner) -> TComponent* { return new T(owner); };
    }
  }

  template <class G, class S>
  TClassBuilder& Int(StringView name, G get, S set, std::optional<int64_t> def = std::nullopt) {
    auto& p = Add(name, TPropKind::Ordinal);
    p.defaultOrd = def;
    p.getOrd = [get](TObject* o) { return static_cast<int64_t>(detail::Read<T>(get, o)); };
    if constexpr (detail::kHasSetter<S>)
      p.setOrd = [set](TObject* o, int64_t v) { detail::Write<T>(set, o, static_cast<int32_t>(v)); };
    return *this;
  }

  template <class G, class S>
  TClassBuilder& Enum(StringView name, G get, S set, const TEnumInfo& names, std::optional<int64_t> def = std::nullopt) {
    auto& p = Add(name, TPropKind::Enumeration);
    p.enumInfo = &names;
    p.defaultOrd = def;
    p.getOrd = [get](TObject* o) { return static_cast<int64_t>(detail::Read<T>(get, o)); };
    if constexpr (detail::kHasSetter<S>) {
      p.setOrd = [set](TObject* o, int64_t v) {
        using V = std::decay_t<decltype(detail::Read<T>(std::declval<G>(), o))>;
        detail::Write<T>(set, o, static_cast<V>(v));
      };
    }
    return *this;
  }

  template <class G, class S>
  TClassBuilder& Bool(StringView name, G get, S set, std::optional<bool> def = std::nullopt) {
    std::optional<int64_t> d;
    if (def) d = *def ? 1 : 0;
    return Enum(name, get, set, kBooleanInfo, d);
  }

  // A set is held as a bit mask of at most 32 members.
  template <class G, class S>
  TClassBuilder& SetOf(StringView name, G get, S set, const TEnumInfo& names, std::optional<int64_t> def = std::nullopt) {
    auto& p = Add(name, TPropKind::Set);
    p.enumInfo = &names;
    p.defaultOrd = def;
    p.getOrd = [get](TObject* o) { return static_cast<int64_t>(detail::Read<T>(get, o)); };
    if constexpr (detail::kHasSetter<S>)
      p.setOrd = [set](TObject* o, int64_t v) { detail::Write<T>(set, o, static_cast<uint32_t>(v)); };
    return *this;
  }

  template <class G, class S>
  TClassBuilder& Str(StringView name, G get, S set) {
    auto& p = Add(name, TPropKind::String);
    p.getStr = [get](TObject* o) { return String(detail::Read<T>(get, o)); };
    if constexpr (detail::kHasSetter<S>)
      p.setStr = [set](TObject* o, StringView v) { detail::Write<T>(set, o, String(v)); };
    return *this;
  }

  template <class O, class G, class S>
  TClassBuilder& Obj(StringView name, G get, S set) {
    auto& p = Add(name, TPropKind::Object);
    p.objectClass = &O::StaticClass;
    p.getObj = [get](TObject* o) -> TObject* { return detail::Read<T>(get, o); };
    if constexpr (detail::kHasSetter<S>)
      p.setObj = [set](TObject* o, TObject* v) { detail::Write<T>(set, o, As<O>(v)); };
    return *this;
  }

  // An event property over a std::function data member.
  template <class F>
  TClassBuilder& Event(StringView name, F T::*field) {
    auto& p = Add(name, TPropKind::Event);
    p.hasEvent = [field](TObject* o) { return static_cast<bool>(static_cast<T*>(o)->*field); };
    p.setEvent = [field](TObject* o, const std::any& handler) {
      if (const F* f = std::any_cast<F>(&handler)) {
        static_cast<T*>(o)->*field = *f;
        return true;
      }
      return false;
    };
    return *this;
  }

  template <class C>
  TClassBuilder& Field(StringView name, C* T::*field) {
    RegisterComponentClass(C::StaticClass());
    info_->fields.push_back({String(name), [field](TObject* root, TObject* value) {
                               static_cast<T*>(root)->*field = As<C>(value);
                             }});
    return *this;
  }

  template <class R, class... A>
  TClassBuilder& Method(StringView name, R (T::*method)(A...)) {
    info_->methods.push_back({String(name), [method](TObject* instance) -> std::any {
                                T* self = static_cast<T*>(instance);
                                return std::function<R(A...)>(
                                    [self, method](A... args) { return (self->*method)(std::forward<A>(args)...); });
                              }});
    return *this;
  }

  const TClassInfo& Done();

 private:
  TPropInfo& Add(StringView name, TPropKind kind) {
    info_->props.push_back(std::make_unique<TPropInfo>());
    auto& p = *info_->props.back();
    p.name = String(name);
    p.kind = kind;
    return p;
  }

  std::unique_ptr<TClassInfo> info_;
};

// Keeps the descriptor for the program's life and registers it by name.
const TClassInfo& AdoptClassInfo(std::unique_ptr<TClassInfo> info);

template <class T>
const TClassInfo& TClassBuilder<T>::Done() {
  return AdoptClassInfo(std::move(info_));
}

}  // namespace qv
