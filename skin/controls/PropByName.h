// Reading and setting published properties by name, as the control skins
// do to find out about controls they only know by class name. Names are
// compared without regard to letter case. The readers never raise: a null
// object, a missing property or one of an unsuitable kind gives -1, empty
// text or null.
#pragma once
#include "platform/core/Object.h"
#include "platform/core/UString.h"

namespace qv {

// An integer-kind property (not enumerations, sets or booleans).
int32_t GetOrdPropByName(TObject* obj, StringView prop);
// An enumeration as its member name ("bsNone", "True"); a set as its member
// names separated by commas, in bit order.
String GetEnumPropByName(TObject* obj, StringView prop);
// The Boolean property prop of obj reads "True".
bool ReadsTrue(TObject* obj, StringView prop);
// String properties are wide and come back unchanged.
String GetStrPropByName(TObject* obj, StringView prop);
// The object held by an object property when it is of the given class or
// derives from it.
TObject* GetObjectPropByName(TObject* obj, StringView prop, const TClassInfo& cls);

// Sets a published property from text: an integer property from its decimal
// value (EConvertError for other text, hexadecimal included), an enumeration
// by member name (EPropertyError for an unknown name), a string as it
// stands. Nothing for a null object, a missing or read-only property or
// another kind.
void SetPropByName(TObject* obj, StringView prop, StringView value);

}  // namespace qv
