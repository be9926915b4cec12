// The main window: the log box, the user-name box, the button that starts a
// backup and the author's link.
#pragma once
#include <memory>

#include "platform/core/SysFile.h"
#include "platform/win/Forms.h"
#include "platform/win/IdHTTP.h"
#include "platform/win/LinkLabel.h"
#include "platform/win/StdCtrls.h"
#include "skin/data/WinSkinData.h"

namespace qv {

class TForm1 : public TForm {
  QV_CLASS(TForm1)
 public:
  explicit TForm1(TComponent* owner) : TForm(owner) {}

  TMemo* Memo1 = nullptr;
  TButton* Button1 = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* Label1 = nullptr;
  TLinkLabel* LinkLabel1 = nullptr;
  TButton* Button2 = nullptr;
  TSkinData* SkinData1 = nullptr;
  TIdHTTP* IdHTTP1 = nullptr;

  void Button1Click(TObject* Sender);
  void FormCreate(TObject* Sender);
  void FormCanResize(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void LinkLabel1LinkClick(TObject* Sender, const String& Link, TSysLinkType LinkType);

  // One backup run of UserName; returns 0.
  int BeiFen();
  // Writes one article file; returns the name it was saved under (without
  // ".html"), which the index row links to.
  String SaveArticle(StringView content, StringView title);

 private:
  // Lets pending window messages through; a close asked for meanwhile ends
  // the run here.
  void PumpMessages();
  // config.ini's lock file, held while config.ini is read or replaced: every
  // copy of the program in this folder reads and replaces it, each for its
  // own users, and one copy's replacement must not drop what another wrote
  // meanwhile. Window messages go through while another copy holds it.
  // Where the lock file cannot be made, the result holds nothing: config.ini
  // cannot be replaced there either, and its own error says so.
  std::unique_ptr<TSysFile> HoldConfig();
  bool running_ = false;
  bool closeRequested_ = false;
};

extern TForm1* Form1;
// The program's folder without a trailing separator.
extern String AppDir;
// The blog user name and the stop mark of the current run.
extern String UserName;
extern String LastURL;

// The start-up visit of the author's page; every failure is silent.
void PingAuthorPage();

}  // namespace qv
