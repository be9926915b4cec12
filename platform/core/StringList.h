// String lists of the class library: lines with an optional object each,
// "Name=Value" pairs, text with CR LF breaks.
#pragma once
#include <vector>

#include "platform/core/Component.h"

namespace qv {

class TStrings : public TPersistent {
  QV_CLASS(TStrings)
 public:
  virtual int Count() const = 0;
  virtual String Get(int index) const = 0;
  virtual void Put(int index, StringView s);
  // The object stored with line index (the run-time library calls this Objects;
  // the name also stays clear of the platform header's GetObject macro).
  virtual TObject* Objects(int /*index*/) const { return nullptr; }
  virtual void PutObject(int /*index*/, TObject* /*obj*/) {}
  virtual void Insert(int index, StringView s) = 0;
  virtual void InsertObject(int index, StringView s, TObject* obj);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual int IndexOf(StringView s) const;  // without regard to letter case

  int Add(StringView s);
  int AddObject(StringView s, TObject* obj);
  void AddStrings(const TStrings& other);
  String operator[](int index) const { return Get(index); }

  // Lines joined by CR LF, with a break after the last line.
  virtual String Text() const;
  // Splits at CR LF, CR or LF; a final break adds no empty line.
  virtual void SetText(StringView text);
  // "Name=Value" access; names compared without regard to letter case.
  String Names(int index) const;
  String ValueFromIndex(int index) const;
  String Values(StringView name) const;
  void SetValue(StringView name, StringView value);
  int IndexOfName(StringView name) const;

  void Assign(const TPersistent& source) override;
  void DefineProperties(TFiler& filer) override;
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

  void LoadFromStream(TStream& stream);  // UTF-8 (a BOM is skipped)
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(StringView fileName);
  void SaveToFile(StringView fileName) const;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  QV_CLASS(TStringList)
 public:
  TStringList() = default;
  explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
  ~TStringList() override;

  int Count() const override { return static_cast<int>(items_.size()); }
  String Get(int index) const override;
  void Put(int index, StringView s) override;
  TObject* Objects(int index) const override;
  void PutObject(int index, TObject* obj) override;
  void Insert(int index, StringView s) override { InsertObject(index, s, nullptr); }
  void InsertObject(int index, StringView s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(StringView s) const override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool b) { caseSensitive_ = b; }
  // Binary search of a sorted list; index is where s is or would go.
  bool Find(StringView s, int& index) const;
  void Sort();

 private:
  struct Item {
    String text;
    TObject* object = nullptr;
  };
  int Compare(StringView a, StringView b) const;
  void CheckIndex(int index, bool allowEnd = false) const;

  std::vector<Item> items_;
  bool ownsObjects_ = false;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace qv
