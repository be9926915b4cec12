// Skins named on the gallery's command line, tried on every control kind
// from outside: once the gallery shows with its own skin, each file is
// loaded in turn into the form's skin component, as a program switching
// skins loads one, about a second apart, and the last stays on. The form's
// title names the skin on, or the file that failed with its error (the skin
// before it then stays on).
#pragma once
#include <memory>
#include <vector>

#include "platform/core/UString.h"
#include "platform/win/Forms.h"
#include "platform/win/Timer.h"

namespace qv {

class TSkinData;

// Loads file into skin. Empty when it is on; else the error, with the skin
// that was on kept (a file without a readable archive would leave the
// component empty, so the skin before it is loaded again).
String LoadSkinOrKeep(TSkinData& skin, const String& file);

class TSkinTrial {
 public:
  // Starts at once: the first file a second from now.
  TSkinTrial(TForm& form, TSkinData& skin, std::vector<String> files);
  TSkinTrial(const TSkinTrial&) = delete;
  TSkinTrial& operator=(const TSkinTrial&) = delete;

 private:
  void Next();
  TForm& form_;
  TSkinData& skin_;
  const String title_;
  const std::vector<String> files_;
  size_t next_ = 0;
  std::unique_ptr<TTimer> timer_;
};

}  // namespace qv
