#pragma once

#include <QString>

namespace prunko {

// How config.cfg stores the account password: the Base64 form of its ANSI
// bytes with every character moved up by 3 ("A" -> "D", "=" -> "@") and
// "@@@" appended.
QString ScramblePassword(const QString& password);
// The reverse. A stored text without "@" is plain Base64 that was never
// shifted, and reads as such.
QString UnscramblePassword(const QString& stored);

}  // namespace prunko
