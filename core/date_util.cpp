#include "core/date_util.h"

#include <QDateTime>

#include "core/clock.h"
#include "core/format.h"

namespace prunko {
QString FormatDate(const QDate& d) { return FormatString(u"%d-%d-%d", d.year(), d.month(), d.day()); }

QString FormatTime(const QTime& t) {
  return FormatString(u"%02d:%02d:%02d", t.hour(), t.minute(), t.second());
}

QString DateString(qint64 offset_seconds) {
  const QDateTime now = CurrentClock().LocalNow();
  // Wall-clock arithmetic, free of daylight-saving jumps.
  const QDateTime wall(now.date(), now.time(), Qt::UTC);
  return FormatDate(wall.addSecs(offset_seconds).date());
}

QString TimeString() { return FormatTime(CurrentClock().LocalNow().time()); }

QString DateTimeString() {
  const QDateTime now = CurrentClock().LocalNow();
  return FormatDate(now.date()) + u' ' + FormatTime(now.time());
}

}  // namespace prunko
