#include "app/BackupRun.h"

#include <memory>

#include "app/BackupDocuments.h"
#include "app/PageReaders.h"
#include "platform/core/Exceptions.h"

namespace qv {

void RunBackup(THttpGetter& http, const TBackupRunSettings& settings, TBackupRunSteps& steps) {
  String first;
  steps.Time(tpReading, [&] { first = GetFirstMulu(http, settings.blogHost, settings.userName); });
  if (first.empty())
    throw Exception(NoArticleListMessage(settings.userName, BlogHomeUrl(settings.blogHost, settings.userName)));
  // The first list page's address ends in "1.html"; the others differ only there.
  const String prefix = Copy(first, 1, static_cast<int>(first.size()) - 6);
  steps.WriteIndex(IndexHeader(settings.userName, steps.Stamp()));
  int n = 0;
  String prevFirst, newest;
  for (int page = 1;; ++page) {
    steps.Time(tpPump, [&] { steps.PumpMessages(); });
    std::unique_ptr<TStringList> list;
    steps.Time(tpReading, [&] { list = GetURLS(http, prefix + IntToStr(page) + u".html"); });
    // A page that starts like the one before is the service repeating the
    // last page past the end of the list.
    if (list->Count() == 0 || list->Get(0) == prevFirst) break;
    prevFirst = list->Get(0);
    if (page == 1) newest = prevFirst;
    bool stopMarkReached = false;
    for (int i = 0; i < list->Count(); ++i) {
      const String url = list->Get(i);
      if (url == settings.lastURL) {
        stopMarkReached = true;
        break;
      }
      String title, fragment;
      steps.Time(tpReading, [&] {
        fragment = GetContent(http, url, title);
        ReplaceContent(fragment, settings.imageHost);
      });
      title = NumberedTitle(++n, title);
      String fileBase;
      steps.Time(tpWriting, [&] { fileBase = steps.SaveArticle(fragment, title); });
      steps.Time(tpLogLine, [&] { steps.AddLogLine(title); });
      steps.Time(tpIndexRow, [&] { steps.WriteIndex(IndexRow(url, fileBase, title)); });
      steps.Time(tpPump, [&] { steps.PumpMessages(); });
    }
    if (stopMarkReached) break;
  }
  steps.WriteIndex(IndexFooter());
  steps.EndRun(newest);
}

}  // namespace qv
