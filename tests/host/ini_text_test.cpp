// Setting one value in an ini file's text without disturbing the rest.
#include <gtest/gtest.h>

#include "platform/core/IniText.h"

using namespace qv;

TEST(IniText, SetsOneValueAndKeepsEveryOtherLine) {
  const struct {
    const char* what;
    const char16_t* before;
    const char16_t* section;
    const char16_t* after;
  } cases[] = {
      {"new file", u"", u"ann", u"[ann]\r\nlastURL=v\r\n"},
      {"value replaced, case ignored", u"[x]\r\nlastURL=a\r\n[ANN]\r\n; note\r\n LastUrl = old\r\nk=1\r\n", u"ann",
       u"[x]\r\nlastURL=a\r\n[ANN]\r\n; note\r\nlastURL=v\r\nk=1\r\n"},
      {"key added after the section's last line", u"[ann]\r\nk=1\r\n\r\n[b]\r\nk=2", u"Ann",
       u"[ann]\r\nk=1\r\nlastURL=v\r\n\r\n[b]\r\nk=2"},
      {"key added at the end without a last break", u"[ann]\r\nk=1", u"ann", u"[ann]\r\nk=1\r\nlastURL=v\r\n"},
      {"section added, LF lines kept", u"[b]\nk=2", u"小明", u"[b]\nk=2\r\n[小明]\r\nlastURL=v\r\n"},
      {"first of two sections of that name", u"[ a ]\r\n[a]\r\nlastURL=2\r\n", u"A",
       u"[ a ]\r\nlastURL=v\r\n[a]\r\nlastURL=2\r\n"},
      {"a key of another section is not ours", u"[b]\r\nlastURL=2\r\n", u"ann",
       u"[b]\r\nlastURL=2\r\n[ann]\r\nlastURL=v\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(IniTextWithValue(c.before, c.section, u"lastURL", u"v")), ToUtf8(c.after)) << c.what;
  }
}

// On the host the ANSI code page is Latin-1.
TEST(IniText, KeepsTheFileEncodingUnlessItCannotHoldTheName) {
  const std::string utf16Mark = "\xFF\xFE";
  auto utf16 = [&](std::u16string_view text) {
    std::string out = utf16Mark;
    for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return out;
  };
  const struct {
    const char* what;
    std::optional<std::string> before;
    const char16_t* section;
    std::string after;
  } cases[] = {
      {"new file", std::nullopt, u"ann", utf16(u"[ann]\r\nlastURL=v\r\n")},
      {"ANSI that holds the name", std::string("[caf\xE9]\r\nk=1\r\n"), u"zoë",
       "[caf\xE9]\r\nk=1\r\n[zo\xEB]\r\nlastURL=v\r\n"},
      {"ANSI that does not: every section goes along", std::string("[caf\xE9]\r\nk=1\r\n"), u"小明",
       utf16(u"[café]\r\nk=1\r\n[小明]\r\nlastURL=v\r\n")},
      {"UTF-16", utf16(u"[小明]\r\nlastURL=old\r\n"), u"小明", utf16(u"[小明]\r\nlastURL=v\r\n")},
      {"UTF-8 with its mark", std::string("\xEF\xBB\xBF[a]\r\n"), u"小明",
       "\xEF\xBB\xBF[a]\r\n[\xE5\xB0\x8F\xE6\x98\x8E]\r\nlastURL=v\r\n"},
  };
  for (const auto& c : cases) {
    std::optional<std::string_view> bytes;
    if (c.before) bytes = *c.before;
    EXPECT_EQ(IniFileWithValue(bytes, c.section, u"lastURL", u"v"), c.after) << c.what;
  }
}
