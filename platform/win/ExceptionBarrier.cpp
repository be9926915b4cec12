#include "platform/win/ExceptionBarrier.h"

#include <exception>

#include "platform/core/Exceptions.h"
#include "platform/win/Application.h"

namespace qv {

void ReportCurrentException() noexcept {
  // The error box runs a modal loop whose messages may fail again: those
  // are reported by their own barriers, and a failure of the report itself
  // stops here.
  try {
    try {
      throw;
    } catch (const Exception& e) {
      HandleApplicationException(e.Message());
    } catch (const std::exception& e) {
      HandleApplicationException(FromUtf8(e.what()));
    } catch (...) {
      HandleApplicationException(u"Unknown error");
    }
  } catch (...) {
  }
}

}  // namespace qv
