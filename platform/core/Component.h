// Persistent objects, components with owners and names, and collections:
// the objects a form resource creates and fills.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/Streams.h"

namespace qv {

// What a persistent object stores beyond its published properties
// (DefineProperties): raw bytes, or a list of strings.
class TFiler {
 public:
  using BinaryReader = std::function<void(TStream&)>;
  using BinaryWriter = std::function<void(TStream&)>;
  using ListReader = std::function<void(const std::vector<String>&)>;
  using ListWriter = std::function<std::vector<String>()>;

  virtual ~TFiler() = default;
  virtual void DefineBinaryProperty(StringView name, BinaryReader read, BinaryWriter write, bool hasData) = 0;
  virtual void DefineListProperty(StringView name, ListReader read, ListWriter write, bool hasData) = 0;
};

class TPersistent : public TObject {
  QV_CLASS(TPersistent)
 public:
  // Copies source's value; the default refuses with EConvertError.
  virtual void Assign(const TPersistent& source);
  virtual void DefineProperties(TFiler& /*filer*/) {}
};

enum TComponentStateBit : unsigned { csLoading = 1, csReading = 2, csWriting = 4, csDestroying = 8, csDesigning = 16 };
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  QV_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int i) const { return components_[static_cast<size_t>(i)]; }
  int ComponentIndex() const;
  TComponent* FindComponent(StringView name) const;
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  const String& Name() const { return name_; }
  virtual void SetName(StringView name);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }
  unsigned ComponentState() const { return state_; }
  bool Loading() const { return state_ & csLoading; }
  bool Designing() const { return state_ & csDesigning; }
  bool Destroying() const { return state_ & csDestroying; }
  void SetLoading() { state_ |= csLoading | csReading; }

  // After the form resource has been read; clears the loading state.
  virtual void Loaded();
  // A component this one was told about (owned, or FreeNotification) is going.
  virtual void Notification(TComponent* component, TOperation operation);
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // The component that holds this one in a form resource (a control's parent).
  virtual void SetParentComponent(TComponent* /*parent*/) {}
  virtual TComponent* GetParentComponent() const { return nullptr; }

 protected:
  // Frees the owned components, last first. Called by ~TComponent; a class
  // whose owned components still use its own parts calls it earlier.
  void DestroyComponents();
  unsigned state_ = 0;

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  String name_;
  intptr_t tag_ = 0;
};

class TCollection;

class TCollectionItem : public TPersistent {
  QV_CLASS(TCollectionItem)
 public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return collection_; }
  int Index() const;
  // Given from the collection's running count: stays with the item while
  // others come and go.
  int ID() const { return id_; }

 private:
  friend class TCollection;
  TCollection* collection_;
  int id_ = 0;
};

// An owned, ordered list of items of one class, stored in a form resource
// as "< item ... end >".
class TCollection : public TPersistent {
  QV_CLASS(TCollection)
 public:
  using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
  explicit TCollection(ItemFactory factory) : factory_(std::move(factory)) {}
  ~TCollection() override;

  TCollectionItem* Add() { return factory_(this); }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int i) const { return items_[static_cast<size_t>(i)]; }
  void Clear();
  void Delete(int index);

 private:
  friend class TCollectionItem;
  ItemFactory factory_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
};

}  // namespace qv
