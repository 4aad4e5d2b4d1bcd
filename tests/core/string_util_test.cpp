#include "core/string_util.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

TEST(SplitString, Cases) {
  const struct {
    const char16_t* text;
    const char16_t* delimiter;
    QStringList pieces;
  } cases[] = {
      {u"a;;b;", u";", {"a", "b"}},
      {u"  red  green blue", u" ", {"red", "green", "blue"}},
      {u"", u";", {}},
      {u";;;", u";", {}},
      {u"name*mm_1_2_3*tail", u"*", {"name", "mm_1_2_3", "tail"}},
      {u"x**y", u"*", {"x", "y"}},
      {u"8-22", u"-", {"8", "22"}},
      {u"a<br>b<br><br>c", u"<br>", {"a", "b", "c"}},
      // Leading characters of the delimiter are skipped one by one.
      {u"r>a<br>b", u"<br>", {"a", "b"}},
      {u"abc", u"", {"abc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitString(c.text, c.delimiter), c.pieces) << QString::fromUtf16(c.text).toStdString();
  }
}

TEST(ReplaceAll, Cases) {
  const struct {
    const char16_t* text;
    const char16_t* from;
    const char16_t* to;
    const char16_t* result;
  } cases[] = {
      {u"a\\rb\\r", u"\\r", u"\r", u"a\rb\r"},
      {u"aaa", u"a", u"aa", u"aaaaaa"},  // the replacement is not scanned again
      {u"abab", u"ab", u"", u""},
      {u"abc", u"", u"x", u"abc"},
      {u"xyz", u"q", u"r", u"xyz"},
  };
  for (const auto& c : cases) {
    QString text = QString::fromUtf16(c.text);
    ReplaceAll(text, c.from, c.to);
    EXPECT_EQ(text, QString::fromUtf16(c.result));
  }
}

}  // namespace
}  // namespace prunko
