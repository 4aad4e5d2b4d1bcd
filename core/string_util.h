#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace prunko {

// The value of a digit in bases up to 36 ("0"-"9", then "a"-"z" or "A"-"Z"),
// or -1 for any other character.
int DigitValue(char16_t c);

// Splits at every occurrence of the whole delimiter text, dropping empty
// pieces. Leading characters that occur anywhere in the delimiter are skipped
// first, so "a;;b;" at ";" gives a and b, and a text of delimiters only gives
// an empty list.
QStringList SplitString(QStringView text, QStringView delimiter);

// Replaces every occurrence of `from` by `to`, left to right, resuming after
// each inserted replacement (a replacement containing `from` is not replaced
// again). An empty `from` changes nothing.
void ReplaceAll(QString& text, QStringView from, QStringView to);

}  // namespace prunko
