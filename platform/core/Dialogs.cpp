#include "platform/core/Dialogs.h"

#include <cstdio>

namespace qv {

namespace {

TMessageBoxHandler& Handler() {
  static TMessageBoxHandler h = [](StringView text, StringView caption, unsigned) {
    std::fprintf(stderr, "[%s] %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
    return 1;
  };
  return h;
}

String& Title() {
  static String t;
  return t;
}

}  // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  TMessageBoxHandler old = Handler();
  Handler() = std::move(handler);
  return old;
}

int ShowMessageBox(StringView text, StringView caption, unsigned flags) {
  return Handler() ? Handler()(text, caption, flags) : 0;
}

void ShowMessage(StringView text) { ShowMessageBox(text, Title(), mbOK); }
void SetApplicationTitle(StringView title) { Title() = String(title); }
const String& ApplicationTitle() { return Title(); }

}  // namespace qv
