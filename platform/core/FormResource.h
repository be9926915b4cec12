// Form resources: our own small text format, close to what a form designer
// writes, embedded in the program and read when a form is created.
//
//   object Form1: TForm1
//     Caption = 'Quillvault'          string ('' for a quote, #13 a code unit)
//     Left = 0                        integer (decimal or $hex)
//     Position = poScreenCenter       enumeration member, Boolean, component
//                                     reference or event handler name
//     BorderIcons = [biSystemMenu]    set
//     Font.Name = 'Tahoma'            property of a sub-object
//     Lines.Strings = ('a' 'b')       list of strings (defined property)
//     SkinStream = {0A0B0C}           bytes in hex (defined property)
//     Store = < item Name = 'x' end > collection items
//     object Button1: TButton ... end owned component; a control's parent is
//   end                               the object it stands in
//
// The text is UTF-8; '//' starts a comment to the end of the line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"

namespace qv {

struct TFormValue;

struct TFormProperty {
  String name;  // may be dotted: "Font.Name"
  std::vector<TFormValue> value;  // exactly one element; a vector to allow the recursion
  int line = 0;
};

struct TFormValue {
  enum Kind { Integer, Text, Ident, Set, List, Binary, Collection } kind = Integer;
  int64_t integer = 0;
  String text;                      // Text, Ident
  std::vector<String> items;        // Set members, List strings
  std::vector<uint8_t> bytes;       // Binary
  std::vector<std::vector<TFormProperty>> collection;  // one property list per item
};

struct TFormObject {
  String name;
  String className;
  std::vector<TFormProperty> props;
  std::vector<TFormObject> children;
  int line = 0;
};

// Throws EReadError naming the line of the first fault.
TFormObject ParseFormText(std::string_view utf8);
std::string FormatFormText(const TFormObject& obj);

// Streams a form resource into an existing root component: creates the owned
// components (owner: root) by class name, sets stored properties by name,
// feeds defined properties, binds published fields and event handlers of the
// root, then calls Loaded on each component in creation order, root first.
void ReadComponentText(TComponent& root, std::string_view utf8);
// The root's published and defined properties and its owned components.
std::string WriteComponentText(TComponent& root);
// One persistent object's properties (no children), for a sub-object or item.
void ReadProperties(TPersistent& obj, const std::vector<TFormProperty>& props, TComponent* root);
std::vector<TFormProperty> WriteProperties(TPersistent& obj);

}  // namespace qv
