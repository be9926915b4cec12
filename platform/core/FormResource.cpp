#include "platform/core/FormResource.h"

#include <cctype>

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"

namespace qv {

// ---------------------------------------------------------------------------
// Parsing

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  TFormObject Document() {
    TFormObject obj = Object();
    SkipBlanks();
    if (i_ < s_.size()) Fail("text after the final 'end'");
    return obj;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw EReadError(u"Form resource, line " + IntToStr(line_) + u": " + FromUtf8(what));
  }

  void SkipBlanks() {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (c == '\n') {
        ++line_, ++i_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++i_;
      } else if (c == '/' && i_ + 1 < s_.size() && s_[i_ + 1] == '/') {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else {
        break;
      }
    }
  }

  bool PeekChar(char c) {
    SkipBlanks();
    return i_ < s_.size() && s_[i_] == c;
  }

  void Expect(char c) {
    if (!PeekChar(c)) Fail(std::string("'") + c + "' expected");
    ++i_;
  }

  static bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  String Ident(bool dotted = false) {
    SkipBlanks();
    if (i_ >= s_.size() || !IdentStart(s_[i_])) Fail("name expected");
    const size_t b = i_;
    while (i_ < s_.size() && (IdentChar(s_[i_]) || (dotted && s_[i_] == '.' && i_ + 1 < s_.size() && IdentStart(s_[i_ + 1]))))
      ++i_;
    return FromUtf8(s_.substr(b, i_ - b));
  }

  bool PeekWord(std::string_view w) {
    SkipBlanks();
    if (s_.size() - i_ < w.size()) return false;
    for (size_t k = 0; k < w.size(); ++k) {
      if (std::tolower(static_cast<unsigned char>(s_[i_ + k])) != w[k]) return false;
    }
    return i_ + w.size() == s_.size() || !IdentChar(s_[i_ + w.size()]);
  }

  void Word(std::string_view w) {
    if (!PeekWord(w)) Fail("'" + std::string(w) + "' expected");
    i_ += w.size();
  }

  TFormObject Object() {
    TFormObject obj;
    Word("object");
    obj.line = line_;
    obj.name = Ident();
    Expect(':');
    obj.className = Ident();
    for (;;) {
      if (PeekWord("end")) {
        Word("end");
        return obj;
      }
      if (PeekWord("object")) {
        obj.children.push_back(Object());
        continue;
      }
      if (i_ >= s_.size()) Fail("'end' expected");
      obj.props.push_back(Property());
    }
  }

  TFormProperty Property() {
    TFormProperty p;
    p.line = line_;
    p.name = Ident(true);
    Expect('=');
    p.value.push_back(Value());
    return p;
  }

  String QuotedText() {
    std::string bytes;
    String out;
    auto flush = [&] {
      out += FromUtf8(bytes);
      bytes.clear();
    };
    bool any = false;
    for (;;) {
      SkipBlanksSameLine();
      if (i_ < s_.size() && s_[i_] == '\'') {
        any = true;
        ++i_;
        for (;;) {
          if (i_ >= s_.size() || s_[i_] == '\n') Fail("unterminated string");
          if (s_[i_] == '\'') {
            if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
              bytes.push_back('\'');
              i_ += 2;
              continue;
            }
            ++i_;
            break;
          }
          bytes.push_back(s_[i_++]);
        }
      } else if (i_ < s_.size() && s_[i_] == '#') {
        any = true;
        ++i_;
        uint32_t code = 0;
        size_t digits = 0;
        while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_])) && digits < 6) {
          code = code * 10 + static_cast<uint32_t>(s_[i_++] - '0');
          ++digits;
        }
        if (!digits || code > 0xFFFF) Fail("bad character code");
        flush();
        out.push_back(static_cast<char16_t>(code));
      } else {
        break;
      }
    }
    if (!any) Fail("string expected");
    flush();
    return out;
  }

  void SkipBlanksSameLine() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
  }

  TFormValue Value() {
    SkipBlanks();
    if (i_ >= s_.size()) Fail("value expected");
    TFormValue v;
    const char c = s_[i_];
    if (c == '\'' || c == '#') {
      v.kind = TFormValue::Text;
      v.text = QuotedText();
    } else if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = TFormValue::Integer;
      const size_t b = i_;
      ++i_;
      while (i_ < s_.size() && (std::isxdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '$' || s_[i_] == 'x')) ++i_;
      if (!TryStrToInt64(FromUtf8(s_.substr(b, i_ - b)), v.integer)) Fail("bad number");
    } else if (c == '[') {
      v.kind = TFormValue::Set;
      ++i_;
      if (!PeekChar(']')) {
        v.items.push_back(Ident());
        while (PeekChar(',')) {
          ++i_;
          v.items.push_back(Ident());
        }
      }
      Expect(']');
    } else if (c == '(') {
      v.kind = TFormValue::List;
      ++i_;
      while (!PeekChar(')')) {
        if (i_ >= s_.size()) Fail("')' expected");
        v.items.push_back(QuotedText());
      }
      ++i_;
    } else if (c == '{') {
      v.kind = TFormValue::Binary;
      ++i_;
      int nibbles = 0;
      uint8_t cur = 0;
      for (;;) {
        SkipBlanks();
        if (i_ >= s_.size()) Fail("'}' expected");
        const char h = s_[i_++];
        if (h == '}') break;
        if (!std::isxdigit(static_cast<unsigned char>(h))) Fail("hex digit expected");
        const int d = std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10);
        cur = static_cast<uint8_t>((cur << 4) | d);
        if (++nibbles % 2 == 0) v.bytes.push_back(cur);
      }
      if (nibbles % 2) Fail("odd number of hex digits");
    } else if (c == '<') {
      v.kind = TFormValue::Collection;
      ++i_;
      while (!PeekChar('>')) {
        Word("item");
        std::vector<TFormProperty> props;
        while (!PeekWord("end")) {
          if (i_ >= s_.size()) Fail("'end' expected");
          props.push_back(Property());
        }
        Word("end");
        v.collection.push_back(std::move(props));
      }
      ++i_;
    } else if (IdentStart(c)) {
      v.kind = TFormValue::Ident;
      v.text = Ident(true);
    } else {
      Fail(std::string("unexpected '") + c + "'");
    }
    return v;
  }

  std::string_view s_;
  size_t i_ = 0;
  int line_ = 1;
};

}  // namespace

TFormObject ParseFormText(std::string_view utf8) {
  if (utf8.size() >= 3 && utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  return Parser(utf8).Document();
}

// ---------------------------------------------------------------------------
// Formatting

namespace {

std::string Quote(StringView s) {
  std::string out;
  bool open = false;
  for (char16_t c : s) {
    if (c < 0x20) {
      if (open) out += '\'', open = false;
      out += '#' + std::to_string(c);
      continue;
    }
    if (!open) out += '\'', open = true;
    if (c == u'\'') out += "''";
    else out += ToUtf8(StringView(&c, 1));
  }
  if (open) out += '\'';
  return out.empty() ? "''" : out;
}

void FormatProps(std::string& out, const std::vector<TFormProperty>& props, const std::string& indent);

void FormatValue(std::string& out, const TFormValue& v, const std::string& indent) {
  static const char kHex[] = "0123456789ABCDEF";
  switch (v.kind) {
    case TFormValue::Integer: out += std::to_string(v.integer); break;
    case TFormValue::Text: out += Quote(v.text); break;
    case TFormValue::Ident: out += ToUtf8(v.text); break;
    case TFormValue::Set:
      out += '[';
      for (size_t k = 0; k < v.items.size(); ++k) out += (k ? ", " : "") + ToUtf8(v.items[k]);
      out += ']';
      break;
    case TFormValue::List:
      out += '(';
      for (const auto& item : v.items) out += "\n" + indent + "  " + Quote(item);
      out += ')';
      break;
    case TFormValue::Binary:
      out += '{';
      for (size_t k = 0; k < v.bytes.size(); ++k) {
        if (k % 32 == 0) out += "\n" + indent + "  ";
        out += kHex[v.bytes[k] >> 4];
        out += kHex[v.bytes[k] & 15];
      }
      out += '}';
      break;
    case TFormValue::Collection:
      out += '<';
      for (const auto& item : v.collection) {
        out += "\n" + indent + "  item\n";
        FormatProps(out, item, indent + "    ");
        out += indent + "  end";
      }
      out += '>';
      break;
  }
}

void FormatProps(std::string& out, const std::vector<TFormProperty>& props, const std::string& indent) {
  for (const auto& p : props) {
    out += indent + ToUtf8(p.name) + " = ";
    FormatValue(out, p.value.front(), indent);
    out += '\n';
  }
}

void FormatObject(std::string& out, const TFormObject& obj, const std::string& indent) {
  out += indent + "object " + ToUtf8(obj.name) + ": " + ToUtf8(obj.className) + "\n";
  FormatProps(out, obj.props, indent + "  ");
  for (const auto& child : obj.children) FormatObject(out, child, indent + "  ");
  out += indent + "end\n";
}

}  // namespace

std::string FormatFormText(const TFormObject& obj) {
  std::string out;
  FormatObject(out, obj, "");
  return out;
}

// ---------------------------------------------------------------------------
// Reading

namespace {

// Finds the defined property of one name and hands it the value.
class ReadFiler : public TFiler {
 public:
  ReadFiler(StringView name, const TFormValue& value) : name_(name), value_(value) {}
  bool Done() const { return done_; }

  void DefineBinaryProperty(StringView name, BinaryReader read, BinaryWriter, bool) override {
    if (done_ || !SameText(name, name_) || !read) return;
    if (value_.kind != TFormValue::Binary) throw EReadError(u"Binary value expected");
    TMemoryStream ms;
    if (!value_.bytes.empty()) ms.WriteBuffer(value_.bytes.data(), static_cast<int64_t>(value_.bytes.size()));
    ms.SetPosition(0);
    read(ms);
    done_ = true;
  }

  void DefineListProperty(StringView name, ListReader read, ListWriter, bool) override {
    if (done_ || !SameText(name, name_) || !read) return;
    if (value_.kind != TFormValue::List) throw EReadError(u"List of strings expected");
    read(value_.items);
    done_ = true;
  }

 private:
  String name_;
  const TFormValue& value_;
  bool done_ = false;
};

struct Fixup {
  TObject* obj;
  const TPropInfo* prop;
  String target;
};

class Reader {
 public:
  explicit Reader(TComponent* root) : root_(root) {}

  std::vector<TComponent*> loaded;
  std::vector<Fixup> fixups;

  void Apply(TPersistent& obj, const std::vector<TFormProperty>& props) {
    for (const auto& p : props) {
      try {
        Set(obj, p.name, p.value.front());
      } catch (const EReadError&) {
        throw;
      } catch (const Exception& e) {
        throw EReadError(u"Error reading " + Describe(obj) + u"." + p.name + u" (line " + IntToStr(p.line) +
                         u"): " + e.Message());
      }
    }
  }

  void ReadChild(const TFormObject& node, TComponent* parent) {
    const TClassInfo* cls = FindClass(node.className);
    if (!cls || !cls->create) throw EClassNotFound(u"Class " + node.className + u" not found");
    TComponent* c = cls->create(root_);
    c->SetLoading();
    loaded.push_back(c);
    c->SetName(node.name);
    if (const TFieldInfo* f = root_ ? root_->ClassType().FindField(node.name) : nullptr) f->assign(root_, c);
    c->SetParentComponent(parent);
    Apply(*c, node.props);
    for (const auto& child : node.children) ReadChild(child, c);
  }

  void ResolveFixups() {
    for (const auto& f : fixups) {
      TComponent* target = root_ && SameText(root_->Name(), f.target) ? root_ : nullptr;
      if (!target && root_) target = root_->FindComponent(f.target);
      if (!target) throw EReadError(u"Invalid property value: no component named " + f.target);
      SetObjectProp(f.obj, *f.prop, target);
    }
  }

 private:
  static String Describe(TPersistent& obj) {
    if (auto* c = dynamic_cast<TComponent*>(&obj); c && !c->Name().empty()) return c->Name();
    return obj.ClassName();
  }

  void Set(TPersistent& start, StringView path, const TFormValue& v) {
    TObject* obj = &start;
    String rest(path);
    for (;;) {
      const size_t dot = rest.find(u'.');
      const String head = rest.substr(0, dot);
      const TPropInfo* prop = obj->ClassType().FindProp(head);
      if (dot == String::npos) {
        if (prop) {
          SetValue(obj, *prop, v);
          return;
        }
        auto* persistent = dynamic_cast<TPersistent*>(obj);
        ReadFiler filer(head, v);
        if (persistent) persistent->DefineProperties(filer);
        if (!filer.Done()) throw EReadError(u"Property " + String(path) + u" does not exist");
        return;
      }
      if (!prop || prop->kind != TPropKind::Object) throw EReadError(u"Property " + String(path) + u" does not exist");
      obj = GetObjectProp(obj, *prop);
      if (!obj) throw EReadError(u"Property " + head + u" holds no object");
      rest = rest.substr(dot + 1);
    }
  }

  void SetValue(TObject* obj, const TPropInfo& prop, const TFormValue& v) {
    auto expect = [&](TFormValue::Kind k) {
      if (v.kind != k) throw EReadError(u"Invalid property value for " + prop.name);
    };
    switch (prop.kind) {
      case TPropKind::Ordinal: {
        int64_t value = v.integer;
        if (v.kind != TFormValue::Ident || !IdentToInt(v.text, value)) expect(TFormValue::Integer);
        SetOrdProp(obj, prop, value);
        break;
      }
      case TPropKind::Enumeration:
        expect(TFormValue::Ident);
        SetEnumProp(obj, prop, v.text);
        break;
      case TPropKind::Set: {
        expect(TFormValue::Set);
        String text;
        for (const auto& m : v.items) text += m + u",";
        SetSetProp(obj, prop, text);
        break;
      }
      case TPropKind::String:
        expect(TFormValue::Text);
        SetStrProp(obj, prop, v.text);
        break;
      case TPropKind::Object:
        if (v.kind == TFormValue::Collection) {
          auto* coll = As<TCollection>(GetObjectProp(obj, prop));
          if (!coll) throw EReadError(u"Property " + prop.name + u" is no collection");
          coll->Clear();
          for (const auto& item : v.collection) Apply(*coll->Add(), item);
        } else {
          expect(TFormValue::Ident);
          if (!prop.setObj) throw EReadError(u"Property " + prop.name + u" is read-only");
          fixups.push_back({obj, &prop, v.text});
        }
        break;
      case TPropKind::Event: {
        expect(TFormValue::Ident);
        const TMethodInfo* m = root_ ? root_->ClassType().FindMethod(v.text) : nullptr;
        if (!m) throw EReadError(u"Method " + v.text + u" not found");
        if (!prop.setEvent || !prop.setEvent(obj, m->make(root_)))
          throw EReadError(u"Method " + v.text + u" does not fit event " + prop.name);
        break;
      }
    }
  }

  TComponent* root_;
};

}  // namespace

void ReadProperties(TPersistent& obj, const std::vector<TFormProperty>& props, TComponent* root) {
  Reader r(root);
  r.Apply(obj, props);
  r.ResolveFixups();
}

void ReadComponentText(TComponent& root, std::string_view utf8) {
  const TFormObject doc = ParseFormText(utf8);
  if (!SameText(doc.className, root.ClassName()))
    throw EReadError(u"Form resource is for " + doc.className + u", not " + root.ClassName());
  Reader r(&root);
  root.SetLoading();
  r.loaded.push_back(&root);
  try {
    root.SetName(doc.name);
    r.Apply(root, doc.props);
    for (const auto& child : doc.children) r.ReadChild(child, &root);
    r.ResolveFixups();
  } catch (...) {
    for (TComponent* c : r.loaded) c->Loaded();
    throw;
  }
  for (TComponent* c : r.loaded) c->Loaded();
}

// ---------------------------------------------------------------------------
// Writing

namespace {

class WriteFiler : public TFiler {
 public:
  std::vector<TFormProperty> out;

  void DefineBinaryProperty(StringView name, BinaryReader, BinaryWriter write, bool hasData) override {
    if (!hasData || !write) return;
    TMemoryStream ms;
    write(ms);
    TFormProperty p;
    p.name = String(name);
    TFormValue v;
    v.kind = TFormValue::Binary;
    v.bytes = ms.Bytes();
    p.value.push_back(std::move(v));
    out.push_back(std::move(p));
  }

  void DefineListProperty(StringView name, ListReader, ListWriter write, bool hasData) override {
    if (!hasData || !write) return;
    TFormProperty p;
    p.name = String(name);
    TFormValue v;
    v.kind = TFormValue::List;
    v.items = write();
    p.value.push_back(std::move(v));
    out.push_back(std::move(p));
  }
};

void AddProp(std::vector<TFormProperty>& out, String name, TFormValue v) {
  TFormProperty p;
  p.name = std::move(name);
  p.value.push_back(std::move(v));
  out.push_back(std::move(p));
}

void WritePropsInto(std::vector<TFormProperty>& out, TPersistent& obj, const String& prefix) {
  for (const TPropInfo* prop : obj.ClassType().AllProps()) {
    if (SameText(prop->name, u"Name") && obj.Is<TComponent>()) continue;  // in the object header
    TFormValue v;
    switch (prop->kind) {
      case TPropKind::Ordinal:
      case TPropKind::Enumeration:
      case TPropKind::Set: {
        if (!prop->Writable()) continue;
        const int64_t value = GetOrdProp(&obj, *prop);
        if (prop->defaultOrd && *prop->defaultOrd == value) continue;
        if (prop->kind == TPropKind::Ordinal) {
          v.kind = TFormValue::Integer;
          v.integer = value;
        } else if (prop->kind == TPropKind::Enumeration) {
          v.kind = TFormValue::Ident;
          v.text = GetEnumProp(&obj, *prop);
        } else {
          v.kind = TFormValue::Set;
          const String text = GetSetProp(&obj, *prop);
          size_t from = 0;
          while (from < text.size()) {
            size_t comma = text.find(u',', from);
            if (comma == String::npos) comma = text.size();
            v.items.push_back(text.substr(from, comma - from));
            from = comma + 1;
          }
        }
        break;
      }
      case TPropKind::String:
        if (!prop->Writable()) continue;
        v.kind = TFormValue::Text;
        v.text = GetStrProp(&obj, *prop);
        if (v.text.empty()) continue;
        break;
      case TPropKind::Object: {
        TObject* sub = GetObjectProp(&obj, *prop);
        if (!sub) continue;
        if (auto* coll = As<TCollection>(sub)) {
          v.kind = TFormValue::Collection;
          for (int k = 0; k < coll->Count(); ++k) v.collection.push_back(WriteProperties(*coll->Items(k)));
          break;
        }
        if (auto* comp = As<TComponent>(sub)) {
          if (!prop->Writable() || comp->Name().empty()) continue;
          v.kind = TFormValue::Ident;
          v.text = comp->Name();
          break;
        }
        if (auto* persistent = dynamic_cast<TPersistent*>(sub)) {
          WritePropsInto(out, *persistent, prefix + prop->name + u".");
        }
        continue;
      }
      case TPropKind::Event: continue;  // handlers are bound by the program, not stored by it
    }
    AddProp(out, prefix + prop->name, std::move(v));
  }
  WriteFiler filer;
  obj.DefineProperties(filer);
  for (auto& p : filer.out) {
    p.name = prefix + p.name;
    out.push_back(std::move(p));
  }
}

}  // namespace

std::vector<TFormProperty> WriteProperties(TPersistent& obj) {
  std::vector<TFormProperty> out;
  WritePropsInto(out, obj, String());
  return out;
}

std::string WriteComponentText(TComponent& root) {
  TFormObject doc;
  doc.name = root.Name();
  doc.className = root.ClassName();
  doc.props = WriteProperties(root);
  for (int i = 0; i < root.ComponentCount(); ++i) {
    TComponent* c = root.Components(i);
    TFormObject child;
    child.name = c->Name();
    child.className = c->ClassName();
    child.props = WriteProperties(*c);
    doc.children.push_back(std::move(child));
  }
  return FormatFormText(doc);
}

}  // namespace qv
