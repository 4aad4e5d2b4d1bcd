#pragma once

#include <QMap>
#include <QString>

namespace prunko {

// How the HTTP client reaches the network. Production uses the defaults;
// tests and the sandbox send named hosts to local stand-ins and trust the
// sandbox's certificate.
struct HttpSettings {
  // Host name -> "address:port" to connect to instead (the URL, the Host
  // header and the certificate check keep the name).
  QMap<QString, QString> connect_to;
  // Certificates to trust instead of the system's; empty: the system's.
  QString ca_file;
  // Each socket operation (connect, waiting for data) gives up after this.
  qint64 socket_timeout_ms = 10000;
  // Sending a request and getting its response headers gives up after this.
  qint64 send_wait_ms = 15000;

  bool operator==(const HttpSettings&) const = default;
};

HttpSettings CurrentHttpSettings();
void SetHttpSettings(const HttpSettings& settings);

}  // namespace prunko
