#include "platform/core/StringList.h"

#include <algorithm>

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"

namespace qv {

const TClassInfo& TStrings::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TStrings>(u"TStrings", TPersistent::StaticClass()).Done();
  return info;
}

void TStrings::Put(int index, StringView s) {
  TObject* obj = Objects(index);
  Delete(index);
  InsertObject(index, s, obj);
}

void TStrings::InsertObject(int index, StringView s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

int TStrings::IndexOf(StringView s) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(Get(i), s)) return i;
  }
  return -1;
}

int TStrings::Add(StringView s) {
  const int i = Count();
  Insert(i, s);
  return i;
}

int TStrings::AddObject(StringView s, TObject* obj) {
  const int i = Count();
  InsertObject(i, s, obj);
  return i;
}

void TStrings::AddStrings(const TStrings& other) {
  for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.Objects(i));
}

String TStrings::Text() const {
  String out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += u"\r\n";
  }
  return out;
}

void TStrings::SetText(StringView text) {
  BeginUpdate();
  Clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != u'\r' && text[j] != u'\n') ++j;
    Add(text.substr(i, j - i));
    if (j < text.size() && text[j] == u'\r') ++j;
    if (j < text.size() && text[j] == u'\n') ++j;
    i = j;
  }
  EndUpdate();
}

String TStrings::Names(int index) const {
  const String s = Get(index);
  const size_t eq = s.find(u'=');
  return eq == String::npos ? String() : s.substr(0, eq);
}

String TStrings::ValueFromIndex(int index) const {
  const String s = Get(index);
  const size_t eq = s.find(u'=');
  return eq == String::npos ? String() : s.substr(eq + 1);
}

int TStrings::IndexOfName(StringView name) const {
  for (int i = 0; i < Count(); ++i) {
    const String s = Get(i);
    const size_t eq = s.find(u'=');
    if (eq != String::npos && SameText(StringView(s).substr(0, eq), name)) return i;
  }
  return -1;
}

String TStrings::Values(StringView name) const {
  const int i = IndexOfName(name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValue(StringView name, StringView value) {
  const int i = IndexOfName(name);
  const String line = String(name) + u"=" + String(value);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i >= 0) {
    Put(i, line);
  } else {
    Add(line);
  }
}

void TStrings::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TStrings*>(&source)) {
    if (other == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*other);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::DefineProperties(TFiler& filer) {
  filer.DefineListProperty(
      u"Strings",
      [this](const std::vector<String>& lines) {
        BeginUpdate();
        Clear();
        for (const auto& l : lines) Add(l);
        EndUpdate();
      },
      [this] {
        std::vector<String> lines;
        for (int i = 0; i < Count(); ++i) lines.push_back(Get(i));
        return lines;
      },
      Count() > 0);
}

void TStrings::LoadFromStream(TStream& stream) {
  const int64_t n = stream.Size() - stream.Position();
  std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  SetText(FromUtf8(bytes));
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string bytes = ToUtf8(Text());
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TStrings::LoadFromFile(StringView fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TStrings::SaveToFile(StringView fileName) const {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TStringList>(u"TStringList", TStrings::StaticClass()).Done();
  return info;
}

TStringList::~TStringList() { Clear(); }

void TStringList::CheckIndex(int index, bool allowEnd) const {
  if (index < 0 || index > Count() || (!allowEnd && index == Count()))
    throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

String TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, StringView s) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].text = String(s);
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].object = obj;
}

void TStringList::InsertObject(int index, StringView s, TObject* obj) {
  if (sorted_) {
    int at;
    if (Find(s, at)) {
      if (duplicates_ == dupIgnore) return;
      if (duplicates_ == dupError) throw EListError(u"String list does not allow duplicates");
    }
    index = at;
  }
  CheckIndex(index, true);
  items_.insert(items_.begin() + index, Item{String(s), obj});
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  TObject* obj = items_[static_cast<size_t>(index)].object;
  items_.erase(items_.begin() + index);
  if (ownsObjects_) delete obj;
}

void TStringList::Clear() {
  std::vector<Item> old;
  old.swap(items_);
  if (ownsObjects_) {
    for (auto& it : old) delete it.object;
  }
}

int TStringList::Compare(StringView a, StringView b) const {
  if (caseSensitive_) return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
  return CompareText(a, b);
}

int TStringList::IndexOf(StringView s) const {
  if (sorted_) {
    int i;
    return Find(s, i) ? i : -1;
  }
  for (int i = 0; i < Count(); ++i) {
    if (Compare(items_[static_cast<size_t>(i)].text, s) == 0) return i;
  }
  return -1;
}

bool TStringList::Find(StringView s, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int c = Compare(items_[static_cast<size_t>(mid)].text, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    sorted_ = true;
    Sort();
  }
  sorted_ = sorted;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
}

}  // namespace qv
