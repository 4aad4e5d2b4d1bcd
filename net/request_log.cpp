#include "net/request_log.h"

#include <QFile>

#include "core/clock.h"
#include "core/date_util.h"
#include "core/format.h"
#include "core/text_convert.h"
#include "core/thread_id.h"

namespace prunko {

void WriteRequestLog(const QString& log_dir, QStringView message) {
  if (log_dir.isEmpty()) return;
  const QDateTime now = CurrentClock().LocalNow();
  QFile file(log_dir + QStringLiteral("request_") + FormatDate(now.date()) + QStringLiteral(".txt"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  const QString line = FormatString(u"%s [%X] %s\r\n", FormatTime(now.time()), CurrentThreadId(), message);
  file.write(WideToAnsi(line));
}

}  // namespace prunko
