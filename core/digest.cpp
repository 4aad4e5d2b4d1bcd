#include "core/digest.h"

#include <QCryptographicHash>

#include "core/text_convert.h"

namespace prunko {
namespace {

QString HexMd5(const QByteArray& bytes) {
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

}  // namespace

QString Md5Hex(QStringView text) {
  QByteArray narrow(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    narrow[i] = static_cast<char>(text[i].unicode() & 0xFF);
  }
  return HexMd5(narrow);
}

QString Md5HexUtf8(QStringView text) {
  QString unix_lines = text.toString();
  unix_lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return HexMd5(Utf8OfUnits(unix_lines));
}

}  // namespace prunko
