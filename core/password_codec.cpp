#include "core/password_codec.h"

#include "core/text_convert.h"

namespace prunko {
namespace {

constexpr char16_t kShift = 3;
const QString kTrailer = QStringLiteral("@@@");

QString Shifted(QStringView text, int by) {
  QString out(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    out[i] = QChar(static_cast<char16_t>(text[i].unicode() + by));
  }
  return out;
}

}  // namespace

QString ScramblePassword(const QString& password) {
  const QString base64 = QString::fromLatin1(WideToAnsi(password).toBase64());
  return Shifted(base64, kShift) + kTrailer;
}

QString UnscramblePassword(const QString& stored) {
  QString base64 = stored;
  if (stored.contains(u'@')) base64 = Shifted(QStringView(stored).chopped(qMin<qsizetype>(3, stored.size())), -kShift);
  return AnsiToWide(QByteArray::fromBase64(WideToAnsi(base64)));
}

}  // namespace prunko
