// Where a backup run's time goes, phase by phase, for the backup benchmark.
// Off (a test of one flag per phase) unless QUILLVAULT_TIMING names a file;
// then the totals are appended to that file at the end of each run.
#pragma once
#include <windows.h>

#include "app/BackupRun.h"
#include "platform/core/HttpClient.h"
#include "platform/core/UString.h"

namespace qv {

class TRunTiming {
 public:
  // tpReading is timed around the page readers, requests included; Write
  // gives it without them.
  using TPhase = TRunPhase;
  using enum TRunPhase;

  TRunTiming();
  bool On() const { return !file_.empty(); }

  // Runs call and adds its time to phase; its result, if any, is returned.
  template <class Call>
  decltype(auto) Time(TPhase phase, Call&& call) {
    if (!On()) return call();
    struct Stopwatch {
      TRunTiming& t;
      TPhase phase;
      LARGE_INTEGER start;
      ~Stopwatch() { t.Add(phase, start); }
    } watch{*this, phase, Now()};
    return call();
  }
  void CountArticle() { ++articles_; }
  // "articles=N requests=N request=S reading=S ..." in seconds, one line.
  void Write() const;

 private:
  static LARGE_INTEGER Now();
  void Add(TPhase phase, LARGE_INTEGER start);

  String file_;
  double seconds_[tpCount] = {};
  int articles_ = 0;
  int requests_ = 0;
  friend class TTimedGetter;
};

// The requests of a run, timed as tpRequest (server, socket and HTTP reading).
class TTimedGetter : public THttpGetter {
 public:
  TTimedGetter(THttpGetter& inner, TRunTiming& timing) : inner_(inner), timing_(timing) {}
  THttpResponse Get(StringView url) override {
    ++timing_.requests_;
    return timing_.Time(TRunTiming::tpRequest, [&] { return inner_.Get(url); });
  }

 private:
  THttpGetter& inner_;
  TRunTiming& timing_;
};

}  // namespace qv
