#include "core/date_util.h"

#include <gtest/gtest.h>

#include "core/fake_clock.h"
#include "support/test_support.h"

namespace prunko {
namespace {

QDateTime At(int y, int m, int d, int hh = 12, int mm = 0, int ss = 0) {
  return QDateTime(QDate(y, m, d), QTime(hh, mm, ss));
}

TEST(DateString, OffsetsCrossMonthAndYearEnds) {
  FakeClock clock;
  ScopedClock use(clock);
  const struct {
    QDateTime now;
    qint64 offset;
    const char16_t* date;
  } cases[] = {
      {At(2017, 3, 5), 0, u"2017-3-5"},
      {At(2017, 3, 1), -86400, u"2017-2-28"},
      {At(2016, 3, 1), -86400, u"2016-2-29"},
      {At(2018, 1, 1, 0, 0, 5), -86400, u"2017-12-31"},
      {At(2018, 1, 5), -3 * 86400, u"2018-1-2"},
      {At(2017, 12, 31, 23, 59, 59), 1, u"2018-1-1"},
  };
  for (const auto& c : cases) {
    clock.SetLocalNow(c.now);
    EXPECT_EQ(DateString(c.offset), QString::fromUtf16(c.date)) << c.now.toString().toStdString();
  }
}

TEST(DateString, TimeAndDateTimeTexts) {
  FakeClock clock(At(2018, 1, 5, 7, 5, 3));
  ScopedClock use(clock);
  EXPECT_EQ(TimeString(), u"07:05:03");
  EXPECT_EQ(DateTimeString(), u"2018-1-5 07:05:03");
  EXPECT_EQ(DateString(), u"2018-1-5");
}

}  // namespace
}  // namespace prunko
