// Objects with class names and "is-a" tests, and the registry that finds a
// class by name (for form resources) and its published properties, fields and
// methods. Each class describes itself once with TClassBuilder (TypInfo.h).
#pragma once
#include <any>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/UString.h"

namespace qv {

class TObject;
class TComponent;
struct TPropInfo;

using TComponentFactory = TComponent* (*)(TComponent* owner);

// A published field of a form: the reader stores the component it creates
// under that name into the field.
struct TFieldInfo {
  String name;
  std::function<void(TObject* root, TObject* value)> assign;
};

// A published method of a form: an event property named in a form resource
// is bound to it. make() returns the handler bound to the instance, wrapped in
// std::any holding the exact std::function type of the event.
struct TMethodInfo {
  String name;
  std::function<std::any(TObject* instance)> make;
};

struct TClassInfo {
  String name;
  const TClassInfo* parent = nullptr;
  TComponentFactory create = nullptr;
  std::vector<std::unique_ptr<TPropInfo>> props;  // own properties, in declaration order
  std::vector<TFieldInfo> fields;
  std::vector<TMethodInfo> methods;

  bool InheritsFrom(const TClassInfo& other) const;
  // Property by name without regard to letter case, searching the class chain.
  const TPropInfo* FindProp(StringView propName) const;
  // Every property, base classes first.
  std::vector<const TPropInfo*> AllProps() const;
  const TFieldInfo* FindField(StringView fieldName) const;
  const TMethodInfo* FindMethod(StringView methodName) const;
};

// Classes that a form resource may name; lookup ignores letter case.
void RegisterComponentClass(const TClassInfo& info);
const TClassInfo* FindClass(StringView className);

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const String& ClassName() const { return ClassType().name; }
  bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
  template <class T>
  bool Is() const { return InheritsFrom(T::StaticClass()); }
};

template <class T>
T* As(TObject* obj) {
  return obj && obj->Is<T>() ? static_cast<T*>(obj) : nullptr;
}

}  // namespace qv

// Declares the class descriptor of Cls; the .cpp defines Cls::StaticClass()
// with TClassBuilder.
#define QV_CLASS(Cls)                                                 \
 public:                                                              \
  static const ::qv::TClassInfo& StaticClass();                       \
  const ::qv::TClassInfo& ClassType() const override { return StaticClass(); }
