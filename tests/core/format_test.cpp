#include "core/format.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

TEST(FormatString, Directives) {
  const QString name = QString::fromUtf8("淘宝");
  EXPECT_EQ(FormatString(u"%d-%d-%d", 2017, 3, 5), u"2017-3-5");
  EXPECT_EQ(FormatString(u"%02d:%02d:%02d", 7, 5, 0), u"07:05:00");
  EXPECT_EQ(FormatString(u"%lld", 9007199254740993LL), u"9007199254740993");
  EXPECT_EQ(FormatString(u"%I64d|%ld", -5LL, 7L), u"-5|7");
  EXPECT_EQ(FormatString(u"%.1f%%", 12.345), u"12.3%");
  EXPECT_EQ(FormatString(u"%.2f", 5), u"5.00");
  EXPECT_EQ(FormatString(u"【×】%s", name), QString::fromUtf8("【×】淘宝"));
  EXPECT_EQ(FormatString(u"[%5s|%-4s|%.1s]", u"ab", u"c", name), QString::fromUtf8("[   ab|c   |淘]"));
  EXPECT_EQ(FormatString(u"%x %X %o %u", 255, 255, 8, 3u), u"ff FF 10 3");
  EXPECT_EQ(FormatString(u"%c%c", QChar(u'好'), 65), QString::fromUtf8("好A"));
  EXPECT_EQ(FormatString(u"%*d|%-*d|", 4, 7, 3, 1), u"   7|1  |");
  EXPECT_EQ(FormatString(u"%s", "utf8 ✓"), QString::fromUtf8("utf8 ✓"));
}

TEST(FormatString, MalformedFormatsAreHarmless) {
  EXPECT_EQ(FormatString(u"%d and %s"), u"%d and %s");  // no arguments
  EXPECT_EQ(FormatString(u"%d %d", 1), u"1 %d");
  EXPECT_EQ(FormatString(u"100%"), u"100%");
  EXPECT_EQ(FormatString(u"%y %n", 1, 2), u"%y %n");
  const FormatArg one[] = {1};
  EXPECT_EQ(FormatArgs(u"%99999999999d", one, 1 << 20).size(), 1 << 16);  // width is bounded
}

TEST(FormatString, CutsToTheBuffer) {
  const QString long_text(50000, u'x');
  EXPECT_EQ(FormatString(u"%s", long_text).size(), kFormatBufferChars - 1);
  EXPECT_EQ(FormatString(u"ab%s", long_text).left(3), u"abx");
  EXPECT_EQ(FormatArgs(u"abcdef", {}, 4), u"abcd");
}

}  // namespace
}  // namespace prunko
