// A file stream that cannot be created names the file and the reason.
#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/win/WinString.h"
#include "tests/support/WinTestSupport.h"

using namespace qv;

// The error box of a failed run shows only the message, so it must say why.
TEST(FileStream, CreateFailureNamesTheFileAndTheSystemsReason) {
  const std::wstring dir = qvtest::MakeTempDir(L"stream");
  const String base = FromW(dir.c_str());
  const struct {
    String path;
    DWORD code;
  } cases[] = {{base + u"\\missing\\a.html", ERROR_PATH_NOT_FOUND}, {base + u"\\bad<name>.html", ERROR_INVALID_NAME}};
  for (const auto& c : cases) {
    const String reason = SysErrorMessage(c.code);
    ASSERT_FALSE(reason.empty());
    try {
      TFileStream f(c.path, fmCreate);
      ADD_FAILURE() << "created " << ToUtf8(c.path);
    } catch (const EFCreateError& e) {
      EXPECT_EQ(e.Message(), u"Cannot create file \"" + c.path + u"\". " + reason);
    }
  }
  qvtest::RemoveTree(dir);
}
