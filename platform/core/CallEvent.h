// Calling an event of the class library. A handler may free the object that
// holds the event, its sender (a click that deletes its button), and with
// it the handler itself while the handler still runs: so a copy of the
// handler is called, which lives until the call returns. The caller touches
// nothing of the sender afterwards unless it knows the sender is alive.
#pragma once
#include <utility>

namespace qv {

template <class Handler, class... Args>
void CallEvent(const Handler& handler, Args&&... args) {
  if (!handler) return;
  const Handler copy = handler;
  copy(std::forward<Args>(args)...);
}

}  // namespace qv
