#pragma once

#include <QString>
#include <QStringView>

namespace prunko {

// Appends "%02d:%02d:%02d [%X] %s\r\n" (local time, the calling thread's id,
// the message) to `log_dir` + "request_" + date + ".txt", in the ANSI code
// page. One write per line, so concurrent writers never mix their lines.
// An empty folder logs nothing.
void WriteRequestLog(const QString& log_dir, QStringView message);

}  // namespace prunko
