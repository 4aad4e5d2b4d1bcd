#include "core/string_util.h"

namespace prunko {

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return -1;
}

QStringList SplitString(QStringView text, QStringView delimiter) {
  QStringList pieces;
  const qsizetype n = text.size();
  qsizetype pos = 0;
  while (pos < n && delimiter.contains(text[pos])) ++pos;
  if (delimiter.isEmpty()) {
    if (n > 0) pieces.append(text.toString());
    return pieces;
  }
  while (pos < n) {
    const qsizetype next = text.indexOf(delimiter, pos);
    const qsizetype end = next < 0 ? n : next;
    if (end > pos) pieces.append(text.mid(pos, end - pos).toString());
    if (next < 0) break;
    pos = next + delimiter.size();
  }
  return pieces;
}

void ReplaceAll(QString& text, QStringView from, QStringView to) {
  if (from.isEmpty()) return;
  qsizetype pos = 0;
  while ((pos = text.indexOf(from, pos)) >= 0) {
    text.replace(pos, from.size(), to.data(), to.size());
    pos += to.size();
  }
}

}  // namespace prunko
