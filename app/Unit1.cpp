#include "app/Unit1.h"

#include <memory>

#include "app/BackupDocuments.h"
#include "app/BackupRun.h"
#include "app/Hosts.h"
#include "app/RunTiming.h"
#include "platform/core/Dialogs.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysError.h"
#include "platform/core/SysFile.h"
#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "platform/win/IniFiles.h"
#include "platform/win/Shell.h"
#include "platform/win/WinString.h"

namespace qv {

TForm1* Form1 = nullptr;
String AppDir;
String UserName;
String LastURL;

namespace {

// A run stopped because the window is closing: it ends as a failed run does,
// without a message.
class ERunStopped : public Exception {
 public:
  ERunStopped() : Exception(String()) {}
};

String UserFolder() { return AppDir + u"\\" + UserName; }
String ConfigPath() { return AppDir + u"\\config.ini"; }
// Where an article is written until it is whole: beside the html folder, so
// that the look-up of a new name reads a short folder, not the long one.
String ArticleTempPath() { return UserFolder() + u"\\article.tmp"; }

// A copy holds config.ini's lock for the few milliseconds of one read or
// replacement; one that holds it longer has hung.
constexpr DWORD kConfigWaitMs = 30000;

// The user's folder for this run alone, for as long as the result lives: a
// second run on it, from this or another copy of the program in the same
// folder, ends here before it writes anything.
std::unique_ptr<TSysFile> HoldUserFolder() {
  const String path = UserFolder() + u"\\backup.lock";
  auto lock = std::make_unique<TSysFile>(path, TSysFile::omLock);
  if (lock->HeldElsewhere()) throw Exception(UserBusyMessage(UserName));
  if (!lock->IsOpen()) throw EFCreateError(FileErrorMessage(u"Cannot create file", path, lock->Error()));
  return lock;
}

// The index file opened at its end (created when missing); every write
// reaches the file at once, so a failed run leaves the rows written so far.
std::unique_ptr<TFileStream> OpenForAppending(const String& path) {
  if (!FileExists(path)) return std::make_unique<TFileStream>(path, fmCreate);
  auto f = std::make_unique<TFileStream>(path, fmOpenReadWrite);
  f->Seek(0, soEnd);
  return f;
}

// A write that fails takes back the part of it that went in, so that the
// index holds whole pieces only.
void WriteText(TStream& out, const std::string& bytes) {
  const int64_t at = out.Position();
  try {
    out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  } catch (const EStreamError&) {
    try {
      out.SetSize(at);
    } catch (const EStreamError&) {
      // The write's own error is the one to show.
    }
    throw;
  }
}

// The user's short date, a blank and the user's long time; the time is left
// out at exactly midnight.
String BackupStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t date[128] = {}, time[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128);
  String stamp = FromW(date);
  if (now.wHour || now.wMinute || now.wSecond || now.wMilliseconds) {
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 128);
    stamp += u" " + FromW(time);
  }
  return stamp;
}

}  // namespace

const TClassInfo& TForm1::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TForm1>(u"TForm1", TForm::StaticClass())
                                      .Field(u"Memo1", &TForm1::Memo1)
                                      .Field(u"Button1", &TForm1::Button1)
                                      .Field(u"Edit1", &TForm1::Edit1)
                                      .Field(u"Label1", &TForm1::Label1)
                                      .Field(u"LinkLabel1", &TForm1::LinkLabel1)
                                      .Field(u"Button2", &TForm1::Button2)
                                      .Field(u"SkinData1", &TForm1::SkinData1)
                                      .Field(u"IdHTTP1", &TForm1::IdHTTP1)
                                      .Method(u"Button1Click", &TForm1::Button1Click)
                                      .Method(u"FormCreate", &TForm1::FormCreate)
                                      .Method(u"FormCanResize", &TForm1::FormCanResize)
                                      .Method(u"FormClose", &TForm1::FormClose)
                                      .Method(u"LinkLabel1LinkClick", &TForm1::LinkLabel1LinkClick)
                                      .Done();
  return info;
}

void TForm1::FormCreate(TObject* /*Sender*/) {
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
  IdHTTP1->requestTimeout = RequestTimeoutMs();
  PingAuthorPage();
}

void TForm1::FormCanResize(TObject* /*Sender*/, int& /*NewWidth*/, int& /*NewHeight*/, bool& Resize) { Resize = false; }

void TForm1::FormClose(TObject* /*Sender*/, TCloseAction& Action) {
  if (running_) {
    // The run still uses the client: it stops at its next message pump and
    // closes the window once it has unwound.
    closeRequested_ = true;
    Action = caNone;
    return;
  }
  delete IdHTTP1;
  IdHTTP1 = nullptr;
}

void TForm1::Button1Click(TObject* /*Sender*/) {
  const String name = Trim(Edit1->Text());
  if (name.empty() || running_) return;
  if (!IsValidUserName(name)) {
    ShowMessageBox(InvalidUserNameMessage(name), Application->Title(), mbOK | mbIconWarning);
    return;
  }
  Button1->SetEnabled(false);
  UserName = name;
  running_ = true;
  try {
    // The user's folder and its html folder, or an error naming the one
    // that cannot be made.
    CreateFolders(UserFolder() + u"\\html");
    const std::unique_ptr<TSysFile> folder = HoldUserFolder();
    // What a run that was killed part of the way left of an article.
    RemoveFile(ArticleTempPath());
    {
      const std::unique_ptr<TSysFile> config = HoldConfig();
      LastURL = TIniFile(ConfigPath()).ReadString(UserName, u"lastURL", u"");
    }
    BeiFen();
  } catch (const ERunStopped&) {
    running_ = false;
    Button1->SetEnabled(true);
    if (closeRequested_) {
      closeRequested_ = false;
      Close();
    }
    return;
  } catch (...) {
    // A failed run leaves the button usable, so the user can try again. What
    // the user did while the request held the window comes first: a close
    // among it ends the program, where behind the error box it would be lost.
    Application->ProcessMessages();
    running_ = false;
    Button1->SetEnabled(true);
    if (!closeRequested_) throw;
    closeRequested_ = false;
    Close();
    return;
  }
  running_ = false;
  Button1->SetEnabled(true);
  Memo1->Lines()->Add(u"备份完成！");
}

void TForm1::PumpMessages() {
  Application->ProcessMessages();
  if (closeRequested_ || Application->Terminated() || !IdHTTP1) throw ERunStopped();
}

std::unique_ptr<TSysFile> TForm1::HoldConfig() {
  for (const DWORD start = GetTickCount();;) {
    auto lock = std::make_unique<TSysFile>(ConfigPath() + u".lock", TSysFile::omLock);
    if (!lock->HeldElsewhere()) return lock;
    if (GetTickCount() - start > kConfigWaitMs)
      throw EFOpenError(FileErrorMessage(u"Cannot open file", ConfigPath(), lock->Error()));
    PumpMessages();
    Sleep(10);
  }
}

int TForm1::BeiFen() {
  TRunTiming timing;
  TTimedGetter timedHttp(*IdHTTP1, timing);
  THttpGetter& http = timing.On() ? static_cast<THttpGetter&>(timedHttp) : *IdHTTP1;
  // The run's effects on this window and beside the program.
  class TFormSteps : public TBackupRunSteps {
   public:
    TFormSteps(TForm1& form, TRunTiming& timing)
        : form_(form), timing_(timing), index_(OpenForAppending(UserFolder() + u"\\" + UserName + u".html")) {}
    String Stamp() override { return BackupStamp(); }
    void WriteIndex(const std::string& bytes) override { WriteText(*index_, bytes); }
    String SaveArticle(StringView fragment, StringView numberedTitle) override {
      timing_.CountArticle();
      return form_.SaveArticle(fragment, numberedTitle);
    }
    void AddLogLine(StringView line) override { form_.Memo1->Lines()->Add(line); }
    void PumpMessages() override { form_.PumpMessages(); }
    void EndRun(StringView newest) override {
      index_.reset();
      const std::unique_ptr<TSysFile> config = form_.HoldConfig();
      TIniFile(ConfigPath()).WriteString(UserName, u"lastURL", newest);
    }
    void Time(TRunPhase phase, const std::function<void()>& step) override { timing_.Time(phase, step); }

   private:
    TForm1& form_;
    TRunTiming& timing_;
    std::unique_ptr<TFileStream> index_;
  } steps(*this, timing);
  RunBackup(http, {UserName, LastURL, BlogHost(), ImageHost()}, steps);
  timing.Write();
  return 0;
}

String TForm1::SaveArticle(StringView content, StringView title) {
  return WriteArticleFile(UserFolder() + u"\\html", ArticleTempPath(), ArticleFileBase(title),
                          ArticleDocument(title, content));
}

void TForm1::LinkLabel1LinkClick(TObject* /*Sender*/, const String& Link, TSysLinkType /*LinkType*/) {
  ShellOpen(Handle(), Link);
}

void PingAuthorPage() {
  if (FileExists(IncludeTrailingPathDelimiter(AppDir) + u"idhttp.txt")) return;
  TIdHTTP http(nullptr);
  // A host that never answers must not keep the window from showing for long.
  http.connectTimeout = 5000;
  http.readTimeout = 5000;
  http.requestTimeout = 5000;
  const String page = AuthorPageUrl();
  http.Request()->referer = page + u"?key=QuillvaultBackUp";
  try {
    http.GetText(page);
  } catch (const Exception&) {
    // The visit is a courtesy; no network is no reason to bother the user.
  } catch (const std::exception&) {
  }
}

}  // namespace qv
