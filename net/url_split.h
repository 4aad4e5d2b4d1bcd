#pragma once

#include <QString>

#include <optional>

namespace prunko {

// A request target as the client splits it.
struct SplitUrlResult {
  bool https = false;
  QString host;  // as written, with a ":port" when there is one
  QString path;  // everything after the host up to the first " ' < > ; (may be empty)

  // The host name without the port, and the port (443 or 80 when none).
  QString HostName() const;
  int Port() const;
  // The URL the request goes to; bytes a URL cannot hold are %-escaped.
  QByteArray RequestUrl() const;
};

// Searches `url` for (https?:)?(//)?([\w\.-]+[:\d{1,5}]*)([^"'<>;]*); no
// match, or a match shorter than 5 characters, is no URL.
std::optional<SplitUrlResult> SplitUrl(const QString& url);

}  // namespace prunko
