#include "core/text_convert.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

using test::ScopedAnsiCodePage;

TEST(TextConvert, Utf8CodePageRoundTripsAndStopsAtNul) {
  const QString wide = QString::fromUtf8("券后价 ¥9.9 😀");
  EXPECT_EQ(WideToAnsi(wide), wide.toUtf8());
  EXPECT_EQ(AnsiToWide(wide.toUtf8()), wide);
  EXPECT_EQ(AnsiToWide(QByteArray("ab\0cd", 5)), u"ab");
  EXPECT_EQ(WideToAnsi(QString::fromUtf16(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(AnsiToWide(QByteArray()), QString());
  EXPECT_EQ(AnsiToUtf8(QByteArray("x\0y", 3)), "x");
}

TEST(TextConvert, GbkCodePageMakesUnmappableCharactersQuestionMarks) {
  ScopedAnsiCodePage gbk("GBK");
  ASSERT_TRUE(gbk.ok());
  // 你好 in GBK is C4 E3 BA C3; the Thai letter has no GBK form.
  const QString wide = QString::fromUtf8("你好ก!");
  EXPECT_EQ(WideToAnsi(wide), QByteArray("\xC4\xE3\xBA\xC3?!"));
  EXPECT_EQ(AnsiToWide(QByteArray("\xC4\xE3\xBA\xC3")), QString::fromUtf8("你好"));
  EXPECT_EQ(AnsiToUtf8(QByteArray("\xC4\xE3")), QByteArray("你"));
  EXPECT_EQ(Utf8ToAnsi(QByteArray("好ก")), QByteArray("\xBA\xC3?"));
}

TEST(TextConvert, UnknownCodePageIsRefused) {
  EXPECT_FALSE(SetAnsiCodePage("no-such-code-page"));
  EXPECT_EQ(WideToAnsi(u"é"), QByteArray("\xC3\xA9"));
}

TEST(TextConvert, WideToLongReadsLeadingDigits) {
  const struct {
    const char16_t* text;
    qint32 value;
  } cases[] = {
      {u"42", 42},           {u"  -17abc", -17}, {u"+8", 8},       {u"abc", 0},
      {u"", 0},              {u"3.9", 3},        {u"99999999999", 2147483647},
      {u"-99999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(WideToLong(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
}

TEST(TextConvert, UnescapeUnicode) {
  const struct {
    QByteArray narrow;
    QString wide;
  } cases[] = {
      {"\\u4f60\\U597D", QString::fromUtf8("你好")},
      {"a\\u00", QStringLiteral("a\\u00")},          // too short for an escape
      {"\\u12G4", QStringLiteral("\\u12G4")},        // not hexadecimal
      {"\\\\u0041", QStringLiteral("\\A")},          // the second backslash starts the escape
      {"\x80", QString(QChar(0xFF80))},              // sign extension
      {QByteArray("ab\0c", 4), QStringLiteral("ab")},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeUnicode(c.narrow), c.wide) << c.narrow.toStdString();
}

TEST(TextConvert, Utf8OfUnitsKeepsLoneSurrogates) {
  EXPECT_EQ(Utf8OfUnits(QString::fromUtf8("é😀")), QByteArray("\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_EQ(Utf8OfUnits(QString(QChar(0xD83D))), QByteArray("\xED\xA0\xBD"));
}

}  // namespace
}  // namespace prunko
