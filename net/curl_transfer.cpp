#include "net/curl_transfer.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "core/clock.h"
#include "net/http_settings.h"

namespace prunko {
namespace {

// WinINet's error numbers, which the client's error texts have always shown.
constexpr unsigned kErrorInternetTimeout = 12002;
constexpr unsigned kErrorInternetInternalError = 12004;
constexpr unsigned kErrorInternetInvalidUrl = 12005;
constexpr unsigned kErrorInternetNameNotResolved = 12007;
constexpr unsigned kErrorInternetCannotConnect = 12029;
constexpr unsigned kErrorInternetConnectionAborted = 12030;
constexpr unsigned kErrorInternetConnectionReset = 12031;
constexpr unsigned kErrorInternetSecurityChannelError = 12157;
constexpr unsigned kErrorInternetInvalidCa = 12045;

unsigned PlatformErrorOf(CURLcode code) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return kErrorInternetTimeout;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: return kErrorInternetInvalidUrl;
    case CURLE_COULDNT_RESOLVE_HOST: return kErrorInternetNameNotResolved;
    case CURLE_COULDNT_CONNECT: return kErrorInternetCannotConnect;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR: return kErrorInternetConnectionAborted;
    case CURLE_RECV_ERROR: return kErrorInternetConnectionReset;
    case CURLE_PEER_FAILED_VERIFICATION: return kErrorInternetInvalidCa;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return kErrorInternetSecurityChannelError;
    default: return kErrorInternetInternalError;
  }
}

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void Append(Slist& list, const QByteArray& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.constData());
  if (grown) {
    (void)list.release();
    list.reset(grown);
  }
}

bool StartsWithNoCase(const QByteArray& line, const char* prefix) {
  return line.left(static_cast<qsizetype>(std::strlen(prefix))).toLower() == prefix;
}

// A safety net in real time, should a test's clock stand still.
constexpr long kRealTimeStallSeconds = 60;

}  // namespace

CurlTransfer::CurlTransfer(const SplitUrlResult& url, QList<QByteArray> header_lines)
    : url_(url), header_lines_(std::move(header_lines)) {}

void CurlTransfer::SetPost(const QByteArray& body) {
  post_ = true;
  post_body_ = body;
}

CurlTransfer::Outcome CurlTransfer::Perform() {
  GlobalInit();
  const HttpSettings settings = CurrentHttpSettings();
  send_wait_ms_ = settings.send_wait_ms;
  socket_timeout_ms_ = settings.socket_timeout_ms;

  CurlHandle curl(curl_easy_init());
  if (!curl) {
    error_code_ = kErrorInternetInternalError;
    return Outcome::kSendFailed;
  }
  CURL* h = curl.get();
  const QByteArray request_url = url_.RequestUrl();
  curl_easy_setopt(h, CURLOPT_URL, request_url.constData());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROXY, "");
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, follow_redirects_ ? 1L : 0L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 30L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(socket_timeout_ms_));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, kRealTimeStallSeconds);

  Slist headers;
  for (const QByteArray& line : header_lines_) Append(headers, line);
  Append(headers, "Expect:");  // no 100-continue round trip
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());

  Slist connect_to;
  for (auto it = settings.connect_to.cbegin(); it != settings.connect_to.cend(); ++it) {
    Append(connect_to, (it.key() + QStringLiteral("::") + it.value()).toUtf8());
  }
  if (connect_to) curl_easy_setopt(h, CURLOPT_CONNECT_TO, connect_to.get());
  const QByteArray ca_file = settings.ca_file.toUtf8();
  if (!ca_file.isEmpty()) curl_easy_setopt(h, CURLOPT_CAINFO, ca_file.constData());

  if (post_) {
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, post_body_.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post_body_.size()));
  }

  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &CurlTransfer::HeaderCallback);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &CurlTransfer::WriteCallback);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::ProgressCallback);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

  started_ms_ = last_activity_ms_ = CurrentClock().TickCount();
  const CURLcode code = curl_easy_perform(h);
  if (headers_done_) return Outcome::kComplete;
  if (send_timed_out_) {
    error_code_ = kErrorInternetTimeout;
    return Outcome::kSendTimedOut;
  }
  error_code_ = socket_timed_out_ ? kErrorInternetTimeout : PlatformErrorOf(code);
  return Outcome::kSendFailed;
}

size_t CurlTransfer::HeaderCallback(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<CurlTransfer*>(self);
  const size_t bytes = size * count;
  t->last_activity_ms_ = CurrentClock().TickCount();
  t->OnHeaderLine(QByteArray(data, static_cast<qsizetype>(bytes)));
  // Reported once: trailers of a chunked body come through here too.
  if (t->headers_done_ && !t->headers_reported_) {
    t->headers_reported_ = true;
    if (t->on_headers && !t->on_headers()) {
      t->stopped_by_caller_ = true;
      return 0;
    }
  }
  return bytes;
}

void CurlTransfer::OnHeaderLine(const QByteArray& line) {
  if (line.startsWith("HTTP/")) {
    // A new response: after a redirect only the last one counts.
    header_block_.clear();
    set_cookie_values_.clear();
    location_.clear();
    const QList<QByteArray> parts = line.split(' ');
    status_code_ = parts.size() > 1 ? parts[1].toInt() : 0;
  }
  header_block_ += line;
  const QByteArray trimmed = line.trimmed();
  if (StartsWithNoCase(trimmed, "set-cookie:")) set_cookie_values_.append(trimmed.mid(11).trimmed());
  if (StartsWithNoCase(trimmed, "location:")) location_ = trimmed.mid(9).trimmed();
  if (!trimmed.isEmpty()) return;
  // The end of a header block: is this the response the caller gets?
  const bool interim = status_code_ >= 100 && status_code_ < 200;
  const bool followed = follow_redirects_ && status_code_ >= 300 && status_code_ < 400 && !location_.isEmpty();
  if (!interim && !followed) headers_done_ = true;
}

size_t CurlTransfer::WriteCallback(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<CurlTransfer*>(self);
  const size_t bytes = size * count;
  t->last_activity_ms_ = CurrentClock().TickCount();
  if (t->stopped_by_caller_) return 0;
  if (t->on_body && !t->on_body(data, bytes)) {
    t->stopped_by_caller_ = true;
    return 0;
  }
  return bytes;
}

int CurlTransfer::ProgressCallback(void* self, long long, long long, long long, long long uploaded) {
  auto* t = static_cast<CurlTransfer*>(self);
  const qint64 now = CurrentClock().TickCount();
  if (uploaded != t->uploaded_) {  // a request body on its way counts as activity
    t->uploaded_ = uploaded;
    t->last_activity_ms_ = now;
  }
  if (!t->headers_done_ && now - t->started_ms_ > t->send_wait_ms_) {
    t->send_timed_out_ = true;
    return 1;
  }
  if (now - t->last_activity_ms_ > t->socket_timeout_ms_) {
    t->socket_timed_out_ = true;
    return 1;
  }
  return 0;
}

}  // namespace prunko
