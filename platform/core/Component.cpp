#include "platform/core/Component.h"

#include <algorithm>

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"

namespace qv {

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TPersistent>(u"TPersistent", TObject::StaticClass()).Done();
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  throw EConvertError(u"Cannot assign a " + source.ClassName() + u" to a " + ClassName());
}

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TComponent>(u"TComponent", TPersistent::StaticClass())
                                      .Str(u"Name", &TComponent::Name, &TComponent::SetName)
                                      .Int(u"Tag", &TComponent::tag_, &TComponent::tag_, 0)
                                      .Done();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // Tell everyone who asked that this component is going.
  for (size_t i = freeNotifies_.size(); i-- > 0;) {
    if (i < freeNotifies_.size()) {
      TComponent* c = freeNotifies_[i];
      auto& theirs = c->freeNotifies_;
      theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
      c->Notification(this, opRemove);
    }
  }
  freeNotifies_.clear();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  state_ |= csDestroying;
  for (TComponent* c : components_) c->state_ |= csDestroying;
  // Last first, as the class library frees them.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;
  }
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& v = owner_->components_;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent* TComponent::FindComponent(StringView name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  Notification(c, opRemove);
  components_.erase(std::find(components_.begin(), components_.end(), c));
  c->owner_ = nullptr;
}

void TComponent::SetName(StringView name) {
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError(u"A component named " + String(name) + u" already exists");
  }
  name_ = String(name);
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  }
  for (size_t i = 0; i < components_.size(); ++i) {
    if (components_[i] != component) components_[i]->Notification(component, operation);
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  auto& theirs = component->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

const TClassInfo& TCollectionItem::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TCollectionItem>(u"TCollectionItem", TPersistent::StaticClass()).Done();
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {
  if (collection_) {
    id_ = collection_->nextId_++;
    collection_->items_.push_back(this);
  }
}

TCollectionItem::~TCollectionItem() {
  if (collection_) {
    auto& v = collection_->items_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& v = collection_->items_;
  return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

const TClassInfo& TCollection::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TCollection>(u"TCollection", TPersistent::StaticClass()).Done();
  return info;
}

TCollection::~TCollection() { Clear(); }

void TCollection::Clear() {
  while (!items_.empty()) delete items_.back();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
  delete items_[static_cast<size_t>(index)];
}

}  // namespace qv
