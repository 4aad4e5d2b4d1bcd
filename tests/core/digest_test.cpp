#include "core/digest.h"

#include <gtest/gtest.h>

#include "core/password_codec.h"
#include "support/test_support.h"

namespace prunko {
namespace {

TEST(Md5Hex, Cases) {
  EXPECT_EQ(Md5Hex(u""), u"d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex(u"abc"), u"900150983cd24fb0d6963f7d28e17f72");
  // Each unit gives its low byte: U+4F60 hashes like "`" (0x60).
  EXPECT_EQ(Md5Hex(QString(QChar(0x4F60))), u"833344d5e1432da82ef02e1301477ce8");
}

TEST(Md5HexUtf8, Cases) {
  EXPECT_EQ(Md5HexUtf8(u"abc"), u"900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5HexUtf8(u"a\r\nb"), u"8cdeb44417f3c26826595d5820cf5700");
  EXPECT_EQ(Md5HexUtf8(QString::fromUtf8("你好")), u"7eca689f0d3389d9dea66ae112e5cfd7");
  EXPECT_EQ(Md5HexUtf8(QString::fromUtf8("😀")), u"2a02eac39d716a70ecf37579185927b6");
  EXPECT_EQ(Md5HexUtf8(u"token&1700000000000&30691825&{\"a\":1}"), u"5fe8d994e67985b5740b8c81b53e8b69");
}

TEST(PasswordCodec, ShiftedBase64) {
  EXPECT_EQ(ScramblePassword(u"abc123"_qs), u"\\ZMmPWL}@@@");
  EXPECT_EQ(ScramblePassword(u"ab"_qs), u"\\ZL@@@@");  // the padding "=" becomes "@"
  EXPECT_EQ(ScramblePassword(u""_qs), u"@@@");
  EXPECT_EQ(UnscramblePassword(u"\\ZMmPWL}@@@"_qs), u"abc123");
  EXPECT_EQ(UnscramblePassword(u"\\ZL@@@@"_qs), u"ab");
  EXPECT_EQ(UnscramblePassword(u"YWJjMTIz"_qs), u"abc123");  // never shifted
  EXPECT_EQ(UnscramblePassword(u""_qs), u"");
  EXPECT_EQ(UnscramblePassword(u"@"_qs), u"");
}

TEST(PasswordCodec, NonAsciiGoesThroughTheAnsiCodePage) {
  const QString password = QString::fromUtf8("密码pw");
  EXPECT_EQ(UnscramblePassword(ScramblePassword(password)), password);
  test::ScopedAnsiCodePage gbk("GBK");
  ASSERT_TRUE(gbk.ok());
  EXPECT_EQ(ScramblePassword(QString::fromUtf8("密码")), u"z<}F9z@@@@@");  // w9zC6w== shifted
  EXPECT_EQ(UnscramblePassword(ScramblePassword(password)), password);
}

}  // namespace
}  // namespace prunko
