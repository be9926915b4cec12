// The property registry and form resources: reading every value kind,
// binding fields and handlers, faults that name their line, writing back.
#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/core/FormResource.h"
#include "platform/core/StringList.h"
#include "platform/core/TypInfo.h"

using namespace qv;

namespace {

enum TShade { shLight, shDark };
const TEnumInfo kShadeInfo{{u"shLight", u"shDark"}};
const TEnumInfo kFlagInfo{{u"fA", u"fB", u"fC"}};

std::vector<String>* gLog = nullptr;
void Log(const String& s) {
  if (gLog) gLog->push_back(s);
}

class TEntry : public TCollectionItem {
  QV_CLASS(TEntry)
 public:
  using TCollectionItem::TCollectionItem;
  String label;
};

class TWidget : public TComponent {
  QV_CLASS(TWidget)
 public:
  explicit TWidget(TComponent* owner)
      : TComponent(owner), entries([](TCollection* c) { return new TEntry(c); }) {}
  ~TWidget() override { delete lines; }
  void Loaded() override {
    TComponent::Loaded();
    Log(u"Loaded " + Name());
  }
  void SetParentComponent(TComponent* p) override { parent = p; }
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        u"Blob", [this](TStream& s) { blob.LoadFromStream(s); }, [this](TStream& s) { blob.SaveToStream(s); },
        blob.Size() > 0);
  }
  TCollection* Entries() { return &entries; }
  TStrings* Lines() { return lines; }

  int width = 10;
  TShade shade = shLight;
  bool visible = true;
  uint32_t flags = 0;
  String caption;
  TWidget* buddy = nullptr;
  TComponent* parent = nullptr;
  std::function<void(TObject*)> OnPing;
  TStringList* lines = new TStringList;
  TMemoryStream blob;
  TCollection entries;
};

const TClassInfo& TEntry::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TEntry>(u"TEntry", TCollectionItem::StaticClass()).Str(u"Label", &TEntry::label, &TEntry::label).Done();
  return info;
}

const TClassInfo& TWidget::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWidget>(u"TWidget", TComponent::StaticClass())
                                      .Int(u"Width", &TWidget::width, &TWidget::width, 10)
                                      .Enum(u"Shade", &TWidget::shade, &TWidget::shade, kShadeInfo, shLight)
                                      .Bool(u"Visible", &TWidget::visible, &TWidget::visible, true)
                                      .SetOf(u"Flags", &TWidget::flags, &TWidget::flags, kFlagInfo, 0)
                                      .Str(u"Caption", &TWidget::caption, &TWidget::caption)
                                      .Obj<TStrings>(u"Lines", &TWidget::Lines, nullptr)
                                      .Obj<TWidget>(u"Buddy", &TWidget::buddy, &TWidget::buddy)
                                      .Obj<TCollection>(u"Entries", &TWidget::Entries, nullptr)
                                      .Event(u"OnPing", &TWidget::OnPing)
                                      .Done();
  return info;
}

class TTestForm : public TWidget {
  QV_CLASS(TTestForm)
 public:
  using TWidget::TWidget;
  void Ping(TObject* sender) { pinged = sender; }
  void WrongShape(int) {}
  TWidget* First = nullptr;
  TWidget* Second = nullptr;
  TObject* pinged = nullptr;
};

const TClassInfo& TTestForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTestForm>(u"TTestForm", TWidget::StaticClass())
                                      .Field(u"First", &TTestForm::First)
                                      .Field(u"Second", &TTestForm::Second)
                                      .Method(u"Ping", &TTestForm::Ping)
                                      .Method(u"WrongShape", &TTestForm::WrongShape)
                                      .Done();
  return info;
}

const char* kForm = R"(object Main: TTestForm
  Caption = 'It''s '#13#10'备份'
  Width = $20
  Shade = shDark
  Flags = [fA, fC]
  OnPing = Ping   // a handler of the form itself
  object First: TWidget
    Visible = False
    Buddy = Second
    Lines.Strings = (
      'one'
      'two')
    Blob = {00FF
      7A}
    Entries = <
      item
        Label = 'x'
      end
      item
      end>
  end
  object Second: TWidget
    OnPing = ping
  end
end
)";

}  // namespace

TEST(PropertyRegistry, NamesIgnoreCaseAndInheritAlongTheChain) {
  TTestForm f(nullptr);
  const TPropInfo* p = GetPropInfo(&f, u"wIdTh");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->kind, TPropKind::Ordinal);
  EXPECT_NE(GetPropInfo(&f, u"tag"), nullptr);  // from TComponent
  EXPECT_EQ(GetPropInfo(&f, u"nothing"), nullptr);
  EXPECT_TRUE(f.Is<TWidget>());
  EXPECT_FALSE(TWidget(nullptr).Is<TTestForm>());
  EXPECT_EQ(FindClass(u"twidget"), &TWidget::StaticClass());
}

TEST(PropertyRegistry, EnumsAndSetsReadAsNames) {
  TWidget w(nullptr);
  const TPropInfo& shade = *GetPropInfo(&w, u"Shade");
  SetEnumProp(&w, shade, u"SHDARK");
  EXPECT_EQ(w.shade, shDark);
  EXPECT_EQ(GetEnumProp(&w, shade), u"shDark");
  EXPECT_THROW(SetEnumProp(&w, shade, u"shPurple"), EPropertyError);
  const TPropInfo& flags = *GetPropInfo(&w, u"Flags");
  SetSetProp(&w, flags, u"[fC, fb]");
  EXPECT_EQ(w.flags, 6u);
  EXPECT_EQ(GetSetProp(&w, flags, true), u"[fB,fC]");
  EXPECT_THROW(SetSetProp(&w, flags, u"fZ"), EPropertyError);
  EXPECT_EQ(GetEnumProp(&w, *GetPropInfo(&w, u"Visible")), u"True");
  EXPECT_THROW(SetObjectProp(&w, *GetPropInfo(&w, u"Lines"), nullptr), EPropertyError);
}

TEST(FormResource, ReadsEveryValueKindAndBindsFieldsAndHandlers) {
  std::vector<String> log;
  gLog = &log;
  TTestForm form(nullptr);
  ReadComponentText(form, kForm);
  gLog = nullptr;

  EXPECT_EQ(form.Name(), u"Main");
  EXPECT_EQ(form.caption, u"It's \r\n备份");
  EXPECT_EQ(form.width, 32);
  EXPECT_EQ(form.shade, shDark);
  EXPECT_EQ(form.flags, 5u);
  ASSERT_NE(form.First, nullptr);
  ASSERT_NE(form.Second, nullptr);
  EXPECT_EQ(form.First->Owner(), &form);
  EXPECT_EQ(form.First->parent, &form);
  EXPECT_FALSE(form.First->visible);
  EXPECT_EQ(form.First->buddy, form.Second);  // a forward reference, fixed up at the end
  EXPECT_EQ(form.First->lines->Text(), u"one\r\ntwo\r\n");
  EXPECT_EQ(form.First->blob.Bytes(), (std::vector<uint8_t>{0x00, 0xFF, 0x7A}));
  ASSERT_EQ(form.First->entries.Count(), 2);
  EXPECT_EQ(static_cast<TEntry*>(form.First->entries.Items(0))->label, u"x");
  ASSERT_TRUE(form.Second->OnPing);
  form.Second->OnPing(form.Second);
  EXPECT_EQ(form.pinged, form.Second);
  // Loaded runs after everything is read, in creation order, root first.
  EXPECT_EQ(log, (std::vector<String>{u"Loaded Main", u"Loaded First", u"Loaded Second"}));
  EXPECT_FALSE(form.First->Loading());
}

TEST(FormResource, FaultsNameTheLineAndTheProblem) {
  auto fails = [](const char* text, const char* fragment) {
    TTestForm form(nullptr);
    try {
      ReadComponentText(form, text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const Exception& e) {
      EXPECT_NE(ToUtf8(e.Message()).find(fragment), std::string::npos) << ToUtf8(e.Message());
    }
  };
  fails("object M: TTestForm\n  Nope = 1\nend", "Nope does not exist");
  fails("object M: TTestForm\n  Width = 'x'\nend", "Invalid property value");
  fails("object M: TTestForm\n  object A: TNoSuchClass\n  end\nend", "TNoSuchClass not found");
  fails("object M: TTestForm\n  OnPing = Missing\nend", "Method Missing not found");
  fails("object M: TTestForm\n  OnPing = WrongShape\nend", "does not fit");
  fails("object M: TTestForm\n  Buddy = Ghost\nend", "Ghost");
  fails("object M: TTestForm\n  Caption = 'open\nend", "line 2");
  fails("object M: TTestForm\n  Blob = {ABC}\nend", "odd number");
  fails("object M: TWidget\nend", "not TTestForm");
  fails("object M: TTestForm\n", "'end' expected");
}

TEST(FormResource, WrittenTextReadsBackTheSameValues) {
  TTestForm form(nullptr);
  ReadComponentText(form, kForm);
  const std::string text = WriteComponentText(form);
  EXPECT_EQ(text.find("Width = 10"), std::string::npos);  // defaults are not written
  EXPECT_NE(text.find("Visible = False"), std::string::npos);

  TTestForm again(nullptr);
  ReadComponentText(again, text);
  EXPECT_EQ(again.caption, form.caption);
  EXPECT_EQ(again.flags, form.flags);
  ASSERT_NE(again.First, nullptr);
  EXPECT_EQ(again.First->blob.Bytes(), form.First->blob.Bytes());
  EXPECT_EQ(again.First->lines->Text(), form.First->lines->Text());
  EXPECT_EQ(again.First->entries.Count(), 2);
  EXPECT_EQ(again.First->buddy, again.Second);
}
