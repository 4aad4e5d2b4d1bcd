#include "core/url_util.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

TEST(UrlEncode, Cases) {
  const struct {
    QString text;
    QString encoded;
  } cases[] = {
      {"AZaz09", "AZaz09"},
      {"~", "%7e"},
      {"a b-c.d_e", "a%20b%2dc%2ed%5fe"},
      {QString(QChar(0xE9)), "%c3%a9"},
      {QString::fromUtf8("你"), "%e4%bd%a0"},
      {QString::fromUtf8("😀"), "%f0%9f%98%80"},   // one four-byte sequence
      {QString(QChar(0xD83D)), "%ed%a0%bd"},        // a lone half
      {"http://x/?a=1&b=2", "http%3a%2f%2fx%2f%3fa%3d1%26b%3d2"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.text), c.encoded) << c.text.toStdString();
}

TEST(UrlDecode, Cases) {
  const struct {
    QString text;
    QString decoded;
  } cases[] = {
      {"%e4%bd%a0", QString(QChar(0x4F60))},
      {"a+b", "a+b"},
      {"%41%42c", "ABc"},
      {"%c3%A9", QString(QChar(0xE9))},
      {"%f0%9f%98%80", QString::fromUtf8("😀")},
      {"%4", "%4"},        // fewer than two characters follow
      {"50%", "50%"},
      {"%zz", QString(QChar(0))},  // two non-hexadecimal characters give 0
      {"%4g", "\x04"},             // read as far as hexadecimal
      {"%ff%41", "A"},             // 0xF8 and above are dropped
      {"%bd%41", "A"},             // a continuation with nothing pending
      {"%e4x%bd", "x"},            // a sequence cut short
      {UrlEncode(QString::fromUtf8("券后 9.9元 ~😀")), QString::fromUtf8("券后 9.9元 ~😀")},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlDecode(c.text), c.decoded) << c.text.toStdString();
}

TEST(GetUrlParam, Cases) {
  const struct {
    const char16_t* url;
    const char16_t* name;
    const char16_t* value;
  } cases[] = {
      {u"h/p?xid=1&id=2", u"id", u""},  // the first match follows "x"
      {u"h/p?id=2&xid=1", u"id", u"2"},
      {u"h/p?a=1&id=%e4#frag", u"id", u"%e4"},
      {u"h/p?id=7#top", u"id", u"7"},
      {u"id=3&b=4", u"id", u"3"},
      {u"h/p?a=1", u"id", u""},
      {u"h/p?id=", u"id", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(GetUrlParam(c.url, c.name), QString::fromUtf16(c.value));
}

}  // namespace
}  // namespace prunko
