#include "skin/data/WinSkinStore.h"

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"

namespace qv {

const TClassInfo& TSkinCollectionItem::StaticClass() {
  // SkinData and DataSize are for the designer; only Name and "DataStream" are stored.
  static const TClassInfo& info =
      TClassBuilder<TSkinCollectionItem>(u"TSkinCollectionItem", TCollectionItem::StaticClass())
          .Str(u"Name", &TSkinCollectionItem::Name, &TSkinCollectionItem::SetName)
          .Str(u"SkinData", &TSkinCollectionItem::SkinData, nullptr)
          .Int(u"DataSize", &TSkinCollectionItem::DataSize, nullptr)
          .Done();
  return info;
}

TSkinCollectionItem::TSkinCollectionItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FName(u"SkinItem" + IntToStr(ID())), FData(new TMemoryStream) {}

TSkinCollectionItem::~TSkinCollectionItem() { delete FData; }

void TSkinCollectionItem::Assign(const TPersistent& ASource) {
  if (const auto* other = dynamic_cast<const TSkinCollectionItem*>(&ASource)) {
    if (other == this) return;
    FName = other->FName;
    FData->Clear();
    other->CopyData(*FData);
    return;
  }
  TCollectionItem::Assign(ASource);
}

void TSkinCollectionItem::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"DataStream",
      [this](TStream& s) {
        FData->Clear();
        FData->CopyFrom(s, 0);
        FData->SetPosition(0);
      },
      [this](TStream& s) { CopyData(s); }, true);
}

void TSkinCollectionItem::CopyData(TStream& AStream) const {
  if (FData->Size() > 0) AStream.WriteBuffer(FData->Memory(), FData->Size());
}

void TSkinCollectionItem::LoadFromFile(StringView value) {
  FData->Clear();
  FData->LoadFromFile(value);
}

void TSkinCollectionItem::SetName(StringView value) {
  if (FName == value) return;
  if (TCollection* c = Collection()) {
    for (int i = 0; i < c->Count(); ++i) {
      const auto* other = static_cast<const TSkinCollectionItem*>(c->Items(i));
      if (other != this && other->FName == value)
        throw Exception(u"The name " + String(value) + u" is already used.");
    }
  }
  FName = String(value);
}

int TSkinCollectionItem::DataSize() const { return static_cast<int>(FData->Size()); }

const TClassInfo& TSkinCollection::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinCollection>(u"TSkinCollection", TCollection::StaticClass()).Done();
  return info;
}

TSkinCollection::TSkinCollection(TPersistent* AOwner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TSkinCollectionItem(c); }), FOwner(AOwner) {}

TSkinCollectionItem* TSkinCollection::Add() { return static_cast<TSkinCollectionItem*>(TCollection::Add()); }

void TSkinCollection::Assign(const TPersistent& ASource) {
  if (const auto* other = dynamic_cast<const TCollection*>(&ASource)) {
    if (other == this) return;
    Clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(*other->Items(i));
    return;
  }
  TCollection::Assign(ASource);
}

const TClassInfo& TSkinStore::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinStore>(u"TSkinStore", TComponent::StaticClass())
                                      .Obj<TSkinCollection>(u"Store", &TSkinStore::Store, &TSkinStore::SetStore)
                                      .Done();
  return info;
}

TSkinStore::TSkinStore(TComponent* AOwner) : TComponent(AOwner), FStore(new TSkinCollection(this)) {}

TSkinStore::~TSkinStore() { delete FStore; }

void TSkinStore::SetStore(TSkinCollection* Value) {
  if (Value) FStore->Assign(*Value);
}

namespace {
// Form resources find the store by class name.
[[maybe_unused]] const TClassInfo& kSkinStoreClass = TSkinStore::StaticClass();
}  // namespace

}  // namespace qv
