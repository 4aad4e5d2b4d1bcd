#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace prunko {

// All from the local clock of core/clock.h.
// The local date of now + offset_seconds as "%d-%d-%d" (2017-3-5). The
// offset moves the wall-clock time itself, so -86400 on the first of a month
// gives the last day of the month before.
QString DateString(qint64 offset_seconds = 0);
// "%02d:%02d:%02d".
QString TimeString();
// "%d-%d-%d %02d:%02d:%02d".
QString DateTimeString();

// The two halves of those texts for a time read once.
QString FormatDate(const QDate& date);
QString FormatTime(const QTime& time);

}  // namespace prunko
