#include "net/http_client.h"

#include <QDir>
#include <QFile>

#include "core/app_paths.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/text_convert.h"
#include "net/curl_transfer.h"
#include "net/request_log.h"
#include "net/url_split.h"

namespace prunko {

const char HttpClient::kUserAgent[] =
    "Mozilla/5.0 (Windows NT 6.3; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/50.0.2661.102 "
    "Safari/537.36";

namespace {

// The request headers, in this order, with no space after the colon but in
// Content-Type (as the services have always seen them).
QList<QByteArray> HeaderLines(const QString& referer, const QString& cookie) {
  QList<QByteArray> lines{"Content-Type: application/x-www-form-urlencoded", "Accept:*/*",
                          QByteArray("User-Agent:") + HttpClient::kUserAgent};
  if (!referer.isEmpty()) lines.append("Referer:" + WideToAnsi(referer));
  if (!cookie.isEmpty()) lines.append("Cookie:" + WideToAnsi(cookie));
  return lines;
}

// "a=1; Path=/" gives "a=1;": the first non-empty piece, or the whole value.
QByteArray CookiePairs(const QList<QByteArray>& set_cookie_values) {
  QByteArray pairs;
  for (const QByteArray& value : set_cookie_values) {
    QByteArray first = value;
    for (const QByteArray& piece : value.split(';')) {
      if (!piece.isEmpty()) {
        first = piece;
        break;
      }
    }
    pairs += WideToAnsi(QString::fromLatin1(first)) + ';';
  }
  return pairs;
}

}  // namespace

HttpClient::HttpClient() : HttpClient(Paths().log_dir) {}

HttpClient::HttpClient(const QString& log_dir) : log_dir_(log_dir) {
  if (!log_dir_.isEmpty()) QDir().mkpath(log_dir_);
}

void HttpClient::Log(QStringView message) const { WriteRequestLog(log_dir_, message); }

bool HttpClient::Get(const QString& url, const QString& referer, const QString& cookie, HttpResponse& response) {
  return Request(url, nullptr, referer, cookie, response);
}

bool HttpClient::Post(const QString& url, const QString& body, const QString& referer, const QString& cookie,
                      HttpResponse& response) {
  return Request(url, &body, referer, cookie, response);
}

void HttpClient::ProbeRedirects(const QString& url, const QString& referer, HttpResponse& response) {
  QString current = url;
  QString probe_referer = referer;
  for (int i = 0; i < kRedirectProbes; ++i) {
    QString target;
    if (!QueryLocation(current, probe_referer, target) || target.isEmpty() || target == current) break;
    probe_referer = current;
    response.final_location = WideToAnsi(target);
    current = target;
  }
}

bool HttpClient::Request(const QString& url, const QString* body, const QString& referer,
                         const QString& cookie, HttpResponse& response) {
  const std::optional<SplitUrlResult> split = SplitUrl(url);
  if (!split) return false;
  const bool post = body != nullptr;
  try {
    response.status_code = 0;
    Log(FormatString(u"Http:%s %s\n", split->host, split->path));
    ProbeRedirects(QString::fromLatin1(split->https ? "https://" : "http://") + split->host + split->path, referer,
                   response);
    Log(u"准备InternetOpen");
    Log(u"准备InternetConnect");
    Log(u"准备HttpOpenRequest");

    CurlTransfer transfer(*split, HeaderLines(referer, cookie));
    if (post) transfer.SetPost(body->isEmpty() ? QByteArray() : AnsiToUtf8(WideToAnsi(*body)));
    QByteArray received;
    transfer.on_headers = [&] {
      Log(u"ThreadHttpSendRequest 完成");
      Log(u"准备HttpQueryInfo");
      Log(u"准备InternetReadFile");
      return true;
    };
    transfer.on_body = [&](const char* data, size_t size) {
      // Reading stops after the piece that passes the cut; the buffer's
      // bound holds whatever size a piece has.
      const qsizetype room = kBodyBufferBytes - 1 - received.size();
      received.append(data, qMin(static_cast<qsizetype>(size), room));
      return received.size() <= kBodyCutBytes;
    };

    Log(u"准备ThreadSendRequest");
    const CurlTransfer::Outcome outcome = transfer.Perform();
    if (outcome != CurlTransfer::Outcome::kComplete) {
      if (outcome == CurlTransfer::Outcome::kSendTimedOut) {
        response.error_text += "ThreadHttpSendRequest error. ErrCode=[connect timeout]";
        Log(u"ThreadHttpSendRequest 超时");
      }
      Log(u"ThreadHttpSendRequest 完成");
      Log(u"ThreadHttpSendRequest error");
      response.error_text += WideToAnsi(FormatString(u"ThreadHttpSendRequest error. ErrCode=[%u]", transfer.error_code()));
      return false;
    }

    response.status_code = transfer.status_code();
    response.raw_headers = WideToAnsi(QString::fromLatin1(transfer.header_block()));
    response.set_cookies += CookiePairs(transfer.set_cookie_values());
    Log(u"本次Http请求完成");
    const qsizetype nul = received.indexOf('\0');
    response.body_raw = nul < 0 ? received : received.left(nul);
    response.body_text = Utf8ToAnsi(response.body_raw);
    return true;
  } catch (...) {
    Log(post ? u"Post请求时发生异常" : u"Get请求时发生异常");
    return false;
  }
}

bool HttpClient::QueryLocation(const QString& url, const QString& referer, QString& location) {
  const std::optional<SplitUrlResult> split = SplitUrl(url);
  if (!split) return false;
  try {
    CurlTransfer transfer(*split, HeaderLines(referer, QString()));
    transfer.SetFollowRedirects(false);
    transfer.on_headers = [] { return false; };  // the body is not needed
    const CurlTransfer::Outcome outcome = transfer.Perform();
    if (outcome == CurlTransfer::Outcome::kSendTimedOut) Log(u"QueryLocation-ThreadHttpSendRequest 超时");
    if (outcome != CurlTransfer::Outcome::kComplete || transfer.location().isEmpty()) return false;
    const QString target = QString::fromLatin1(transfer.location());
    if (target.contains(u"http://") || target.contains(u"https://")) {
      location = target;
    } else {
      location = split->host + split->path;
    }
    return true;
  } catch (...) {
    Log(u"QueryLocation时发生异常");
    return false;
  }
}

bool HttpClient::Download(int timeout_seconds, const QString& url, const QString& local_path, const QString& referer,
                          const QString& cookie) {
  const std::optional<SplitUrlResult> split = SplitUrl(url);
  if (!split) return false;
  CurlTransfer transfer(*split, HeaderLines(referer, cookie));
  QFile file(local_path);
  bool file_failed = false;
  bool too_slow = false;
  qint64 started_ms = 0;
  transfer.on_headers = [&] {
    // Unbuffered: each piece is in the file as soon as it arrived.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
      file_failed = true;
      return false;
    }
    started_ms = CurrentClock().TickCount();
    return true;
  };
  transfer.on_body = [&](const char* data, size_t size) {
    if (file.write(data, static_cast<qint64>(size)) != static_cast<qint64>(size)) return false;
    if (timeout_seconds > 0 && CurrentClock().TickCount() - started_ms > qint64{timeout_seconds} * 1000) {
      too_slow = true;
      return false;
    }
    return true;
  };
  const CurlTransfer::Outcome outcome = transfer.Perform();
  if (outcome == CurlTransfer::Outcome::kSendTimedOut) Log(u"Download-ThreadHttpSendRequest 超时");
  file.close();
  return outcome == CurlTransfer::Outcome::kComplete && !file_failed && !too_slow;
}

}  // namespace prunko
