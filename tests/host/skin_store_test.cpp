// The skin store's items: running ids, unique names, data copies and the
// form resources that hold them.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/FormResource.h"
#include "platform/core/StringList.h"
#include "platform/core/TypInfo.h"
#include "skin/data/WinSkinStore.h"

using namespace qv;

namespace {

class TStoreForm : public TComponent {
  QV_CLASS(TStoreForm)
 public:
  using TComponent::TComponent;
  TSkinStore* Store1 = nullptr;
};

const TClassInfo& TStoreForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TStoreForm>(u"TStoreForm", TComponent::StaticClass())
                                      .Field(u"Store1", &TStoreForm::Store1)
                                      .Done();
  return info;
}

void SetData(TSkinCollectionItem* item, const std::string& bytes) {
  item->Data()->Clear();
  item->Data()->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::string DataOf(const TSkinCollectionItem* item) {
  return std::string(item->Data()->Bytes().begin(), item->Data()->Bytes().end());
}

}  // namespace

TEST(SkinStore, ItemsAreNamedByTheirRunningId) {
  TSkinStore store(nullptr);
  TSkinCollection* c = store.Store();
  EXPECT_EQ(c->Owner(), &store);
  EXPECT_EQ(c->Add()->Name(), u"SkinItem0");
  TSkinCollectionItem* second = c->Add();
  EXPECT_EQ(c->Add()->Name(), u"SkinItem2");
  delete second;
  EXPECT_EQ(c->Add()->Name(), u"SkinItem3");  // ids are not reused
  EXPECT_EQ(c->Items(0)->SkinData(), u"Load Skin");
  c->Items(0)->SetSkinData(u"anything");
  EXPECT_EQ(c->Items(0)->SkinData(), u"Load Skin");
}

TEST(SkinStore, NamesAreUniqueAndCaseSensitive) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* a = store.Store()->Add();
  TSkinCollectionItem* b = store.Store()->Add();
  try {
    a->SetName(u"SkinItem1");
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"The name SkinItem1 is already used.");
  }
  EXPECT_EQ(a->Name(), u"SkinItem0");
  b->SetName(u"SkinItem1");  // its own name
  a->SetName(u"skinitem1");
  EXPECT_EQ(a->Name(), u"skinitem1");
}

TEST(SkinStore, DataCopiesKeepTheSourcePosition) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* item = store.Store()->Add();
  SetData(item, "archive bytes");
  item->Data()->SetPosition(4);
  EXPECT_EQ(item->DataSize(), 13);
  TMemoryStream out;
  out.WriteBuffer(">", 1);
  item->CopyData(out);
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), ">archive bytes");
  EXPECT_EQ(item->Data()->Position(), 4);

  TSkinStore other(nullptr);
  other.Store()->Add()->SetName(u"will go");
  other.SetStore(store.Store());
  ASSERT_EQ(other.Store()->Count(), 1);
  EXPECT_EQ(other.Store()->Items(0)->Name(), u"SkinItem0");
  EXPECT_EQ(DataOf(other.Store()->Items(0)), "archive bytes");
  TStringList notAnItem;
  EXPECT_THROW(item->Assign(notAnItem), EConvertError);

  const String missing = FromUtf8(::testing::TempDir() + "qv_no_such_skin.skn");
  EXPECT_THROW(item->LoadFromFile(missing), EFOpenError);
  EXPECT_EQ(item->DataSize(), 0);
}

TEST(SkinStore, FormResourcesHoldNamesAndDataStreamsEvenWhenEmpty) {
  TStoreForm form(nullptr);
  form.SetName(u"Form1");
  auto* store = new TSkinStore(&form);
  store->SetName(u"Store1");
  SetData(store->Store()->Add(), std::string("\x00\x01\xFF", 3));
  store->Store()->Add()->SetName(u"Blue");  // no data

  const std::string text = WriteComponentText(form);
  EXPECT_NE(text.find("Name = 'SkinItem0'"), std::string::npos) << text;
  EXPECT_NE(text.find("DataStream = {\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Name = 'Blue'\n        DataStream = {}"), std::string::npos) << text;
  EXPECT_EQ(text.find("SkinData"), std::string::npos);
  EXPECT_EQ(text.find("DataSize"), std::string::npos);

  TStoreForm again(nullptr);
  ReadComponentText(again, text);
  ASSERT_NE(again.Store1, nullptr);
  TSkinCollection* c = again.Store1->Store();
  ASSERT_EQ(c->Count(), 2);
  EXPECT_EQ(c->Items(0)->Name(), u"SkinItem0");
  EXPECT_EQ(DataOf(c->Items(0)), std::string("\x00\x01\xFF", 3));
  EXPECT_EQ(c->Items(1)->Name(), u"Blue");
  EXPECT_EQ(c->Items(1)->DataSize(), 0);
}
