#include "net/cookie_store.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

TEST(GetCookieValue, FirstOccurrenceWinsWhereverItStands) {
  const struct {
    const char16_t* cookies;
    const char16_t* name;
    bool found;
    const char16_t* value;
  } cases[] = {
      {u"a=1;_tb_token_=xyz;b=2;", u"_tb_token_", true, u"xyz"},
      {u"a=1; b=2", u"b", true, u"2"},
      {u"x_m_h5_tk=old;_m_h5_tk=new_1", u"_m_h5_tk", true, u"old"},  // inside a longer name
      {u"a=1;", u"c", false, u""},
      {u"a=", u"a", true, u""},
      {u"", u"a", false, u""},
  };
  for (const auto& c : cases) {
    QString value;
    EXPECT_EQ(GetCookieValue(c.cookies, c.name, value), c.found) << QString::fromUtf16(c.cookies).toStdString();
    EXPECT_EQ(value, QString::fromUtf16(c.value));
  }
}

TEST(BrowserCookieStore, DomainPathSecureAndHttpOnly) {
  BrowserCookieStore& store = BrowserCookies();
  store.Clear();
  store.Set({".alimama.test", "/", "cookie2", "c2", false, true});
  store.Set({"pub.alimama.test", "/", "_tb_token_", "tok", false, false});
  store.Set({".alimama.test", "/report", "r", "1", false, false});
  store.Set({".alimama.test", "/", "sec", "s", true, false});
  store.Set({".other.test", "/", "o", "o", false, false});
  store.Set({".alimama.test", "/", "cookie2", "c2new", false, true});  // replaces

  QString cookies = "untouched";
  EXPECT_TRUE(GetCookies("http://pub.alimama.test/index.htm", cookies));
  EXPECT_EQ(cookies, u"cookie2=c2new; _tb_token_=tok");
  EXPECT_TRUE(GetCookies("https://www.alimama.test/report/x", cookies));
  EXPECT_EQ(cookies, u"cookie2=c2new; r=1; sec=s");
  EXPECT_TRUE(GetCookies("http://alimama.test/", cookies));
  EXPECT_EQ(cookies, u"cookie2=c2new");
  cookies = "untouched";
  EXPECT_FALSE(GetCookies("http://notalimama.test/", cookies));
  EXPECT_EQ(cookies, u"untouched");
  store.Clear();
}

}  // namespace
}  // namespace prunko
