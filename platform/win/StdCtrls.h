// The standard controls: push button, single-line edit, memo and label.
#pragma once
#include "platform/core/StringList.h"
#include "platform/win/Controls.h"

namespace qv {

class TButton : public TWinControl {
  QV_CLASS(TButton)
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

 private:
  bool default_ = false;
};

// The system edit control; single-line here, many lines in TCustomMemo.
class TCustomEdit : public TWinControl {
  QV_CLASS(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* owner);
  String Text() const { return GetText(); }
  // The most characters the user or EM_REPLACESEL may put in; 0 lifts the
  // edit control's own default, which stops a multi-line box at some 30,000
  // characters (a long backup's log would end mid-line).
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;

 private:
  int maxLength_ = 0;
};

class TEdit : public TCustomEdit {
  QV_CLASS(TEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo;

// The memo's lines, read and written through the edit control itself.
class TMemoStrings : public TStrings {
  QV_CLASS(TMemoStrings)
 public:
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
  int Count() const override;
  String Get(int index) const override;
  void Put(int index, StringView s) override;
  void Insert(int index, StringView s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetText(StringView text) override;
  String Text() const override;

 private:
  TCustomMemo* memo_;
};

class TCustomMemo : public TCustomEdit {
  QV_CLASS(TCustomMemo)
 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;
  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* lines) { if (lines) lines_->Assign(*lines); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s);
  void Clear() { SetText(String()); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWnd() override;

 private:
  TMemoStrings* lines_;
  TScrollStyle scrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
  QV_CLASS(TMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

class TLabel : public TGraphicControl {
  QV_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);
  void Paint(TCanvas& canvas) override;
};

}  // namespace qv
