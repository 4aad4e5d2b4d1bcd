#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace prunko {

// Narrow text is either in the ANSI code page or in UTF-8, as each caller
// states. The ANSI code page is a process setting: the system's active code
// page on Windows, UTF-8 elsewhere. Tests switch it (for example to "GBK").
// Returns false, and keeps the current code page, for an unknown name.
bool SetAnsiCodePage(const QByteArray& name);
// Back to the platform's own ANSI code page.
void ResetAnsiCodePage();

// Every conversion treats its input as NUL-terminated: text after an embedded
// NUL is lost. Characters the code page cannot hold become "?".
QString AnsiToWide(const QByteArray& ansi);
QByteArray WideToAnsi(QStringView wide);
QByteArray AnsiToUtf8(const QByteArray& ansi);
QByteArray Utf8ToAnsi(const QByteArray& utf8);

// WideToAnsi, then the C library's decimal conversion: optional blanks and
// sign, leading digits, 0 when there are none; clamped to 32 bits.
qint32 WideToLong(QStringView wide);

// Turns each backslash-u escape of four hexadecimal digits into its UTF-16
// unit; every other byte becomes one unit, bytes of 0x80 and above
// sign-extended to 0xFF00 + byte.
QString UnescapeUnicode(const QByteArray& narrow);

// UTF-8 of a UTF-16 text in which a surrogate pair becomes the four bytes of
// its code point and a lone surrogate half the three bytes of its own value,
// so no unit is ever replaced or dropped.
QByteArray Utf8OfUnits(QStringView wide);

}  // namespace prunko
