// Several skin archives kept in a form, to switch between them without skin
// files. Each item holds one archive as bytes; in a form resource an item is
// its Name and the binary property "DataStream" (written also when empty).
#pragma once
#include "platform/core/Component.h"

namespace qv {

class TSkinCollectionItem : public TCollectionItem {
  QV_CLASS(TSkinCollectionItem)
 public:
  // Named "SkinItem" + the item's ID.
  explicit TSkinCollectionItem(TCollection* ACollection);
  ~TSkinCollectionItem() override;

  // From another item: its name and a copy of its data.
  void Assign(const TPersistent& ASource) override;
  void DefineProperties(TFiler& filer) override;

  // Appends all of the data to AStream; the data's position is kept.
  void CopyData(TStream& AStream) const;
  // The data becomes the file's bytes (empty when the file cannot be read).
  void LoadFromFile(StringView value);

  const String& Name() const { return FName; }
  // Throws when another item of the collection has exactly this name.
  void SetName(StringView value);
  // The designer's caption for loading an archive; writing it does nothing.
  String SkinData() const { return u"Load Skin"; }
  void SetSkinData(StringView) {}
  int DataSize() const;
  TMemoryStream* Data() const { return FData; }

 private:
  String FName;
  TMemoryStream* FData;
};

class TSkinCollection : public TCollection {
  QV_CLASS(TSkinCollection)
 public:
  explicit TSkinCollection(TPersistent* AOwner);
  TPersistent* Owner() const { return FOwner; }
  TSkinCollectionItem* Add();
  TSkinCollectionItem* Items(int i) const { return static_cast<TSkinCollectionItem*>(TCollection::Items(i)); }
  // Replaces every item by a copy of the source's items.
  void Assign(const TPersistent& ASource) override;

 private:
  TPersistent* FOwner;
};

class TSkinStore : public TComponent {
  QV_CLASS(TSkinStore)
 public:
  explicit TSkinStore(TComponent* AOwner);
  ~TSkinStore() override;
  TSkinCollection* Store() const { return FStore; }
  // Copies the given collection's items; the store keeps its own collection.
  void SetStore(TSkinCollection* Value);

 private:
  TSkinCollection* FStore;
};

}  // namespace qv
