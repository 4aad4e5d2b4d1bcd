#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

#include "net/url_split.h"

namespace prunko {

// One HTTP exchange on a libcurl easy handle, on the calling thread, with the
// client's rules: no cookie engine, no proxy, HTTP/1.1, the settings'
// host mapping and certificates, and every wait bounded through the clock.
class CurlTransfer {
 public:
  enum class Outcome {
    kComplete,        // the response arrived (its body may have been cut short)
    kSendTimedOut,    // no response headers within the send wait
    kSendFailed,      // no response: `error_code` says why
  };

  CurlTransfer(const SplitUrlResult& url, QList<QByteArray> header_lines);

  void SetPost(const QByteArray& body);
  void SetFollowRedirects(bool follow) { follow_redirects_ = follow; }
  // Called once the final response's headers are in; false ends the exchange
  // there (still kComplete).
  std::function<bool()> on_headers;
  // Called with every piece of the body; false stops reading (still kComplete).
  std::function<bool(const char* data, size_t size)> on_body;

  Outcome Perform();

  // The final response.
  int status_code() const { return status_code_; }
  const QByteArray& header_block() const { return header_block_; }
  const QList<QByteArray>& set_cookie_values() const { return set_cookie_values_; }
  const QByteArray& location() const { return location_; }
  // The platform's error number for a failed send (WinINet's numbering).
  unsigned error_code() const { return error_code_; }

 private:
  static size_t HeaderCallback(char* data, size_t size, size_t count, void* self);
  static size_t WriteCallback(char* data, size_t size, size_t count, void* self);
  static int ProgressCallback(void* self, long long, long long, long long, long long);
  void OnHeaderLine(const QByteArray& line);

  SplitUrlResult url_;
  QList<QByteArray> header_lines_;
  bool post_ = false;
  QByteArray post_body_;
  bool follow_redirects_ = true;

  // Progress of the exchange.
  qint64 started_ms_ = 0;
  qint64 last_activity_ms_ = 0;
  long long uploaded_ = 0;
  qint64 send_wait_ms_ = 0;
  qint64 socket_timeout_ms_ = 0;
  bool headers_done_ = false;
  bool headers_reported_ = false;
  bool send_timed_out_ = false;
  bool socket_timed_out_ = false;
  bool stopped_by_caller_ = false;

  int status_code_ = 0;
  QByteArray header_block_;
  QList<QByteArray> set_cookie_values_;
  QByteArray location_;
  unsigned error_code_ = 0;
};

}  // namespace prunko
