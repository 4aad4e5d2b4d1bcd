#include "net/url_split.h"

#include <QRegularExpression>

namespace prunko {

QString SplitUrlResult::HostName() const {
  const qsizetype colon = host.indexOf(u':');
  return colon < 0 ? host : host.left(colon);
}

int SplitUrlResult::Port() const {
  const qsizetype colon = host.indexOf(u':');
  bool ok = false;
  const int port = colon < 0 ? 0 : host.mid(colon + 1).toInt(&ok);
  if (ok && port > 0 && port < 65536) return port;
  return https ? 443 : 80;
}

QByteArray SplitUrlResult::RequestUrl() const {
  QByteArray url = https ? "https://" : "http://";
  url += HostName().toUtf8();
  url += ':';
  url += QByteArray::number(Port());
  const QByteArray path_bytes = path.toUtf8();
  if (!path_bytes.startsWith('/')) url += '/';
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : path_bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b >= 0x7F) {
      url += '%';
      url += kHex[b >> 4];
      url += kHex[b & 0x0F];
    } else {
      url += c;
    }
  }
  return url;
}

std::optional<SplitUrlResult> SplitUrl(const QString& url) {
  static const QRegularExpression pattern(QStringLiteral(R"((https?:)?(//)?([\w\.-]+[:\d{1,5}]*)([^"'<>;]*))"));
  const QRegularExpressionMatch m = pattern.match(url);
  if (!m.hasMatch() || m.capturedLength(0) < 5) return std::nullopt;
  SplitUrlResult result;
  result.https = m.captured(1) == u"https:";
  result.host = m.captured(3);
  result.path = m.captured(4);
  return result;
}

}  // namespace prunko
