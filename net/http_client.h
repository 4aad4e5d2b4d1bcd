#pragma once

#include <QByteArray>
#include <QString>

namespace prunko {

// What Get and Post bring back. Text fields are narrow, in the ANSI code page.
struct HttpResponse {
  QByteArray final_location;  // the last target of the redirect probe; empty when none
  QByteArray body_text;       // the body read as UTF-8, in the ANSI code page
  QByteArray body_raw;        // the body as received, up to its first NUL byte
  QByteArray error_text;      // what failed, in the platform's words
  QByteArray raw_headers;     // the final response's header block, CR LF line ends
  QByteArray set_cookies;     // "name=value;" per Set-Cookie header, in header order
  int status_code = 0;
};

// The program's only way to talk HTTP: four synchronous operations on the
// calling thread. Nothing is kept between requests, no cookie is stored: the
// caller passes cookies in and gets the Set-Cookie pairs back. Every request
// leaves a trail in the day's request log.
class HttpClient {
 public:
  static constexpr qsizetype kBodyCutBytes = 614400;
  static constexpr qsizetype kBodyBufferBytes = 4194304;
  static constexpr int kRedirectProbes = 5;
  static const char kUserAgent[];

  // Logs to the process's log folder, which it creates when missing.
  HttpClient();
  // Logs to `log_dir` (nothing when empty).
  explicit HttpClient(const QString& log_dir);

  // True once the response's body was read, whatever its HTTP status. An
  // empty referer or cookie leaves that header out.
  bool Get(const QString& url, const QString& referer, const QString& cookie, HttpResponse& response);
  bool Post(const QString& url, const QString& body, const QString& referer, const QString& cookie,
            HttpResponse& response);
  // One GET that does not follow redirects: the Location target. A relative
  // target comes back as the request's own host and path, without scheme.
  bool QueryLocation(const QString& url, const QString& referer, QString& location);
  // Saves the body (an error page too) to `local_path`. False when it could
  // not be sent or saved, or when it took longer than `timeout_seconds`
  // (0 or less: no limit); a file cut short stays behind.
  bool Download(int timeout_seconds, const QString& url, const QString& local_path, const QString& referer,
                const QString& cookie);

 private:
  bool Request(const QString& url, const QString* body, const QString& referer,
               const QString& cookie, HttpResponse& response);
  void ProbeRedirects(const QString& url, const QString& referer, HttpResponse& response);
  void Log(QStringView message) const;

  QString log_dir_;
};

}  // namespace prunko
