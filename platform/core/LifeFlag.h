// Whether an object still exists, for code that goes on after a call that
// may free it: an event handler, a message sent to a window, a nested
// message loop. The object holds a TLifeFlag and ends it first thing in its
// destructor; the code at risk takes a token before the call and looks at
// it afterwards, touching nothing of the object once it reads false.
#pragma once
#include <memory>
#include <utility>

namespace qv {

class TLifeToken {
 public:
  explicit operator bool() const { return *alive_; }

 private:
  friend class TLifeFlag;
  explicit TLifeToken(std::shared_ptr<const bool> alive) : alive_(std::move(alive)) {}
  std::shared_ptr<const bool> alive_;
};

class TLifeFlag {
 public:
  TLifeFlag() = default;
  TLifeFlag(const TLifeFlag&) = delete;
  TLifeFlag& operator=(const TLifeFlag&) = delete;
  ~TLifeFlag() { End(); }

  // Every token, taken before or after, reads false from now on.
  void End() { *alive_ = false; }
  TLifeToken Token() const { return TLifeToken(alive_); }

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qv
