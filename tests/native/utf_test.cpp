// The one conversion between UTF-8 and UTF-16: exact both ways, or none.
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace quorvel::utf {
namespace {

TEST(Utf, ConvertsExactlyBothWaysAndRefusesIllFormedText) {
  for (const std::u16string text :
       {u"", u"plain", u"Sp\u00eele \u65e5\u672c \u2603", u"\U0001F600x"}) {
    const std::optional<std::string> utf8 = ToUtf8(text);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(ToUtf16(*utf8), text);
  }
  EXPECT_EQ(ToUtf8(u"\u00e9\U0001F600"), "\xc3\xa9\xf0\x9f\x98\x80");
  for (const std::u16string units : {u"a\xD800", u"\xDC00z", u"\xDBFF\xDBFF\xDC00\xDC00"})
    EXPECT_EQ(ToUtf8(units), std::nullopt) << "an unpaired surrogate";
  for (const char* bytes : {"\x80", "a\xc3", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                            "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80", "\xff", "x\xe9t\xe9"})
    EXPECT_EQ(ToUtf16(bytes), std::nullopt) << "stray, cut, overlong, surrogate or too big";
}

}  // namespace
}  // namespace quorvel::utf
