// Reading and setting published properties by name and as text.
#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/core/TypInfo.h"
#include "skin/controls/PropByName.h"

using namespace qv;

namespace {

enum TBorder { bsNone, bsSingle, bsDouble };
const TEnumInfo kBorderInfo{{u"bsNone", u"bsSingle", u"bsDouble"}};
const TEnumInfo kSideInfo{{u"sLeft", u"sTop", u"sRight", u"sBottom"}};

class TProbe : public TComponent {
  QV_CLASS(TProbe)
 public:
  using TComponent::TComponent;
  ~TProbe() override { delete lines; }
  TStrings* Lines() const { return lines; }
  int ReadOnlyCount() const { return 5; }

  int numButtons = 0;
  TBorder border = bsSingle;
  bool transparent = false;
  uint32_t sides = 0;
  String caption;
  TComponent* buddy = nullptr;
  TStringList* lines = new TStringList;
  std::function<void(TObject*)> OnPing;
};

const TClassInfo& TProbe::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TProbe>(u"TProbe", TComponent::StaticClass())
                                      .Int(u"NumButtons", &TProbe::numButtons, &TProbe::numButtons)
                                      .Int(u"ReadOnlyCount", &TProbe::ReadOnlyCount, nullptr)
                                      .Enum(u"BorderStyle", &TProbe::border, &TProbe::border, kBorderInfo)
                                      .Bool(u"Transparent", &TProbe::transparent, &TProbe::transparent)
                                      .SetOf(u"Sides", &TProbe::sides, &TProbe::sides, kSideInfo)
                                      .Str(u"Caption", &TProbe::caption, &TProbe::caption)
                                      .Obj<TComponent>(u"Buddy", &TProbe::buddy, &TProbe::buddy)
                                      .Obj<TStrings>(u"Lines", &TProbe::Lines, nullptr)
                                      .Event(u"OnPing", &TProbe::OnPing)
                                      .Done();
  return info;
}

// A class derived from the probe finds the inherited properties too.
class TProbeChild : public TProbe {
  QV_CLASS(TProbeChild)
 public:
  using TProbe::TProbe;
};

const TClassInfo& TProbeChild::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TProbeChild>(u"TProbeChild", TProbe::StaticClass()).Done();
  return info;
}

}  // namespace

TEST(PropByName, OrdinalReadsIntegersOnlyAndIgnoresCase) {
  TProbeChild p(nullptr);
  p.numButtons = 7;
  EXPECT_EQ(GetOrdPropByName(&p, u"NumButtons"), 7);
  EXPECT_EQ(GetOrdPropByName(&p, u"NUMBUTTONS"), 7);
  EXPECT_EQ(GetOrdPropByName(&p, u"numbuttons"), 7);
  EXPECT_EQ(GetOrdPropByName(&p, u"ReadOnlyCount"), 5);
  p.numButtons = -1;  // a real -1 reads the same as "absent", as intended
  EXPECT_EQ(GetOrdPropByName(&p, u"NumButtons"), -1);
  // Not an integer, not there, no object: -1 without raising.
  EXPECT_EQ(GetOrdPropByName(&p, u"BorderStyle"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u"Transparent"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u"Sides"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u"Caption"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u"Lines"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u"OnPing"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u"Missing"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, u""), -1);
  EXPECT_EQ(GetOrdPropByName(nullptr, u"NumButtons"), -1);
}

TEST(PropByName, EnumerationsAndSetsReadAsText) {
  TProbe p(nullptr);
  EXPECT_EQ(GetEnumPropByName(&p, u"borderstyle"), u"bsSingle");
  p.border = bsNone;
  EXPECT_EQ(GetEnumPropByName(&p, u"BorderStyle"), u"bsNone");
  EXPECT_EQ(GetEnumPropByName(&p, u"Transparent"), u"False");
  p.transparent = true;
  EXPECT_EQ(GetEnumPropByName(&p, u"TRANSPARENT"), u"True");
  EXPECT_EQ(GetEnumPropByName(&p, u"Sides"), u"");
  p.sides = (1u << 0) | (1u << 3);
  EXPECT_EQ(GetEnumPropByName(&p, u"sides"), u"sLeft,sBottom");
  // Other kinds, missing properties and no object give empty text.
  EXPECT_EQ(GetEnumPropByName(&p, u"NumButtons"), u"");
  EXPECT_EQ(GetEnumPropByName(&p, u"Caption"), u"");
  EXPECT_EQ(GetEnumPropByName(&p, u"Missing"), u"");
  EXPECT_EQ(GetEnumPropByName(nullptr, u"BorderStyle"), u"");
}

TEST(PropByName, StringsComeBackUnchangedIncludingChinese) {
  TProbe p(nullptr);
  p.caption = u"备份 — ünïcode 𝄞";
  EXPECT_EQ(GetStrPropByName(&p, u"caption"), u"备份 — ünïcode 𝄞");
  EXPECT_EQ(GetStrPropByName(&p, u"NumButtons"), u"");
  EXPECT_EQ(GetStrPropByName(&p, u"BorderStyle"), u"");
  EXPECT_EQ(GetStrPropByName(&p, u"Missing"), u"");
  EXPECT_EQ(GetStrPropByName(nullptr, u"Caption"), u"");
}

TEST(PropByName, ObjectsOfTheAskedClassOnly) {
  TProbe p(nullptr);
  TProbeChild other(nullptr);
  EXPECT_EQ(GetObjectPropByName(&p, u"Buddy", TComponent::StaticClass()), nullptr);  // holds nil
  p.buddy = &other;
  EXPECT_EQ(GetObjectPropByName(&p, u"buddy", TComponent::StaticClass()), &other);  // a derived class counts
  EXPECT_EQ(GetObjectPropByName(&p, u"Buddy", TProbeChild::StaticClass()), &other);
  EXPECT_EQ(GetObjectPropByName(&p, u"Buddy", TStrings::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectPropByName(&p, u"Lines", TStrings::StaticClass()), p.lines);
  EXPECT_EQ(GetObjectPropByName(&p, u"Lines", TStringList::StaticClass()), p.lines);
  EXPECT_EQ(GetObjectPropByName(&p, u"Lines", TComponent::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectPropByName(&p, u"Caption", TStrings::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectPropByName(&p, u"Missing", TStrings::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectPropByName(nullptr, u"Lines", TStrings::StaticClass()), nullptr);
}

TEST(PropByName, SetFromText) {
  TProbe p(nullptr);
  SetPropByName(&p, u"numbuttons", u"12");
  EXPECT_EQ(p.numButtons, 12);
  SetPropByName(&p, u"NumButtons", u"-3");
  EXPECT_EQ(p.numButtons, -3);
  SetPropByName(&p, u"BORDERSTYLE", u"bsDouble");
  EXPECT_EQ(p.border, bsDouble);
  SetPropByName(&p, u"Transparent", u"true");
  EXPECT_TRUE(p.transparent);
  SetPropByName(&p, u"Caption", u"备份");
  EXPECT_EQ(p.caption, u"备份");
  EXPECT_EQ(GetStrPropByName(&p, u"Caption"), u"备份");
}

TEST(PropByName, SetRaisesOnlyForBadValues) {
  TProbe p(nullptr);
  p.numButtons = 4;
  for (const char16_t* bad : {u"abc", u"", u"$FF", u"0x1f", u"1.5", u"7 ", u"-"}) {
    EXPECT_THROW(SetPropByName(&p, u"NumButtons", bad), EConvertError) << ToUtf8(bad);
  }
  EXPECT_THROW(SetPropByName(&p, u"NumButtons", u"99999999999"), EConvertError);
  EXPECT_EQ(p.numButtons, 4);
  EXPECT_THROW(SetPropByName(&p, u"BorderStyle", u"bsTriple"), EPropertyError);
  EXPECT_EQ(p.border, bsSingle);

  // Sets, objects, events, read-only and missing properties, no object: nothing.
  EXPECT_NO_THROW(SetPropByName(&p, u"Sides", u"sLeft"));
  EXPECT_EQ(p.sides, 0u);
  EXPECT_NO_THROW(SetPropByName(&p, u"Buddy", u"x"));
  EXPECT_EQ(p.buddy, nullptr);
  EXPECT_NO_THROW(SetPropByName(&p, u"OnPing", u"x"));
  EXPECT_NO_THROW(SetPropByName(&p, u"ReadOnlyCount", u"9"));
  EXPECT_EQ(GetOrdPropByName(&p, u"ReadOnlyCount"), 5);
  EXPECT_NO_THROW(SetPropByName(&p, u"Missing", u"abc"));
  EXPECT_NO_THROW(SetPropByName(nullptr, u"NumButtons", u"abc"));
}
