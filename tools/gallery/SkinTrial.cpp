#include "tools/gallery/SkinTrial.h"

#include <exception>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Streams.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {
constexpr unsigned kPauseMs = 1000;
}  // namespace

String LoadSkinOrKeep(TSkinData& skin, const String& file) {
  // The component would take a missing file for "no skin" and go empty.
  if (!FileExists(file)) return u"file not found";
  const std::vector<uint8_t> previous = skin.data->Bytes();
  String error;
  try {
    skin.LoadFromFile(file);
    if (!skin.Empty) return String();
    error = u"no skin archive this program reads";
  } catch (const Exception& e) {
    error = e.Message();
  } catch (const std::exception& e) {
    error = FromUtf8(e.what());
  }
  // A load that raised has kept the skin on already.
  if (skin.Empty) {
    TMemoryStream back;
    back.WriteBuffer(previous.data(), static_cast<int64_t>(previous.size()));
    back.SetPosition(0);
    skin.LoadFromStream(back);
  }
  return error;
}

TSkinTrial::TSkinTrial(TForm& form, TSkinData& skin, std::vector<String> files)
    : form_(form), skin_(skin), title_(form.Caption()), files_(std::move(files)), timer_(new TTimer(nullptr)) {
  timer_->SetInterval(kPauseMs);
  timer_->OnTimer = [this](TObject*) { Next(); };
  timer_->SetEnabled(!files_.empty());
}

void TSkinTrial::Next() {
  // Off while loading: a skin of an unknown version stops in a message box,
  // whose loop would let the timer in again.
  timer_->SetEnabled(false);
  const String& file = files_[next_++];
  const String error = LoadSkinOrKeep(skin_, file);
  String title = title_ + u" - " + ExtractFileName(file);
  if (!error.empty()) title += u": " + error;
  form_.SetCaption(title);
  timer_->SetEnabled(next_ < files_.size());
}

}  // namespace qv
