// UTF-8 pieces for a UTF-16 console: names whole, however the writes split them.
#include "tools/console_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ConsoleText, EveryPieceGivesItsWholeCharactersAndKeepsACutOneForTheNext) {
  struct Case {
    const char* what;
    std::string first, second;
    std::u16string fromFirst, fromSecond;
  } cases[] = {
      {"an accented name",
       "Garc\xC3\xAD"
       "a\n",
       "", u"Garc\u00EDa\n", u""},
      {"a two-byte character cut in half", "Garc\xC3",
       "\xAD"
       "a",
       u"Garc", u"\u00EDa"},
      {"a three-byte character cut after one byte", "\xE2", "\x82\xAC", u"", u"\u20AC"},
      {"a character beyond the first plane", "\xF0\x9F\x98", "\x80", u"", u"\U0001F600"},
      {"a stray byte is not waited for",
       "a\x80"
       "b",
       "",
       u"a\uFFFD"
       "b",
       u""},
      {"a lead byte that cannot start a valid sequence", "\xE0\x80", "", u"\uFFFD\uFFFD", u""},
  };
  for (const Case& c : cases) {
    std::string pending = c.first;
    EXPECT_EQ(TakeUtf16(pending), c.fromFirst) << c.what;
    pending += c.second;
    EXPECT_EQ(TakeUtf16(pending), c.fromSecond) << c.what;
    EXPECT_TRUE(pending.empty()) << c.what;
  }
}

}  // namespace
