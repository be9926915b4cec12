// One backup run: the walk over a blog's article-list pages, newest first,
// and the articles on them, up to the end of the list or the article where
// the previous run began. The run owns no window and no file: the pages come
// through the getter, and everything it leaves behind goes through the steps
// its caller supplies.
#pragma once
#include <functional>
#include <string>

#include "platform/core/HttpClient.h"
#include "platform/core/UString.h"

namespace qv {

// What a measured run adds its time to, phase by phase.
enum TRunPhase { tpRequest, tpReading, tpWriting, tpLogLine, tpPump, tpIndexRow, tpCount };

struct TBackupRunSettings {
  String userName;
  // The newest article of the last completed run: the run stops before it.
  String lastURL;
  String blogHost;
  String imageHost;
};

// What a run does outside itself, in the order it happens. An error thrown
// by a step ends the run where it stands.
class TBackupRunSteps {
 public:
  virtual ~TBackupRunSteps() = default;
  // The backup time the index header shows.
  virtual String Stamp() = 0;
  // Appends to the index document (header, rows and footer); what is written
  // stays written if the run fails later.
  virtual void WriteIndex(const std::string& bytes) = 0;
  // Saves one article; returns the file name it went under, without ".html".
  virtual String SaveArticle(StringView fragment, StringView numberedTitle) = 0;
  virtual void AddLogLine(StringView line) = 0;
  // Between requests: the window's chance to repaint, and to stop the run by
  // throwing.
  virtual void PumpMessages() = 0;
  // The normal end, after the index footer: newest is the stop mark for the
  // next run.
  virtual void EndRun(StringView newest) = 0;
  // Runs one step of the given phase; a measured run times it.
  virtual void Time(TRunPhase /*phase*/, const std::function<void()>& step) { step(); }
};

// Saves every article newer than settings.lastURL. The paging ends at a list
// page with no entry, at one whose first entry repeats the previous page's,
// or at lastURL; only then are the footer and the new stop mark written.
// Throws when the home page names no article list, and lets every error of
// the getter and the steps through.
void RunBackup(THttpGetter& http, const TBackupRunSettings& settings, TBackupRunSteps& steps);

}  // namespace qv
