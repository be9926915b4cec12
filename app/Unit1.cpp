#include "app/Unit1.h"

#include "app/AuthorPage.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/win/Shell.h"
#include "platform/win/WinString.h"

namespace qv {

TForm1* Form1 = nullptr;
String AppDir;

const TClassInfo& TForm1::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TForm1>(u"TForm1", TForm::StaticClass())
                                      .Field(u"Memo1", &TForm1::Memo1)
                                      .Field(u"Button1", &TForm1::Button1)
                                      .Field(u"Edit1", &TForm1::Edit1)
                                      .Field(u"Label1", &TForm1::Label1)
                                      .Field(u"LinkLabel1", &TForm1::LinkLabel1)
                                      .Field(u"Button2", &TForm1::Button2)
                                      .Field(u"IdHTTP1", &TForm1::IdHTTP1)
                                      .Method(u"FormCreate", &TForm1::FormCreate)
                                      .Method(u"FormCanResize", &TForm1::FormCanResize)
                                      .Method(u"FormClose", &TForm1::FormClose)
                                      .Method(u"LinkLabel1LinkClick", &TForm1::LinkLabel1LinkClick)
                                      .Done();
  return info;
}

void TForm1::FormCreate(TObject* Sender) {
  AppDir = ExtractFileDir(ProgramPath());
  Memo1->Clear();
  Edit1->SetText(String());
  Form1->SetCaption(u"Quillvault V1.1 By Marrowick");
  const String page = AuthorPageUrl();
  LinkLabel1->SetCaption(u"我的博客：<a href=\"" + page + u"?key=InkharborBackUp\" target=\"_blank\">" + page + u"</a>");
  TStrings& log = *Memo1->Lines();
  log.Add(u">程序不能备份您的私有文章。");
  log.Add(u">含有中文的用户名，请以IE地址栏中的字符串作为准。");
  log.Add(u">暂时不支持备份相册。");
  log.Add(u">程序会自动从上一次备份的基础上备份新的文章，如果想全部重新备份，请删掉配置文件config.ini。");
  log.Add(u">问题反馈：" + FeedbackUrl());
  log.Add(String(38, u'='));
  PingAuthorPage();
}

void TForm1::FormCanResize(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize) { Resize = false; }

void TForm1::FormClose(TObject* Sender, TCloseAction& Action) {
  delete IdHTTP1;
  IdHTTP1 = nullptr;
}

void TForm1::LinkLabel1LinkClick(TObject* Sender, const String& Link, TSysLinkType LinkType) {
  ShellOpen(Handle(), Link);
}

void PingAuthorPage() {
  if (FileExists(IncludeTrailingPathDelimiter(AppDir) + u"idhttp.txt")) return;
  TIdHTTP http(nullptr);
  // A host that never answers must not keep the window from showing for long.
  http.connectTimeout = 5000;
  http.readTimeout = 5000;
  const String page = AuthorPageUrl();
  http.Request()->referer = page + u"?key=QuillvaultBackUp";
  try {
    http.Get(page);
  } catch (const Exception&) {
    // The visit is a courtesy; no network is no reason to bother the user.
  } catch (const std::exception&) {
  }
}

}  // namespace qv
