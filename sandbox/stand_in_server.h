#pragma once

#include <httplib.h>

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/clock.h"

namespace prunko::sandbox {

using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

// What a stand-in saw of one request.
struct RecordedRequest {
  std::string method;
  std::string host;  // the Host header without its port
  std::string path;  // without the query
  std::string target;  // path and query as sent
  std::string body;
  httplib::Headers headers;

  std::string Header(const std::string& name) const;
};

// A local stand-in for outside services: one loopback port, any number of
// host names (the Host header picks the handler), plain HTTP or TLS with a
// certificate made for the names it serves. Tests start it in-process; the
// sandbox program runs several.
class StandInServer {
 public:
  enum class Scheme { kHttp, kHttps };

  explicit StandInServer(Scheme scheme = Scheme::kHttp);
  ~StandInServer();
  StandInServer(const StandInServer&) = delete;
  StandInServer& operator=(const StandInServer&) = delete;

  // Serves `method` `path` (exact, without the query) for `host`; a host
  // "*.example.test" serves every name below example.test. Register every
  // host before Start: a TLS certificate names them.
  void Handle(const std::string& host, const std::string& method, const std::string& path, Handler handler);

  // Listens on 127.0.0.1 on a free port. False when it cannot.
  bool Start();
  void Stop();
  int port() const { return port_; }
  Scheme scheme() const { return scheme_; }
  // "http://host:port" or "https://host:port".
  std::string BaseUrl(const std::string& host) const;
  // Sends the HTTP client's requests for every registered host here and, for
  // TLS, makes it trust this server's certificate.
  void RouteClient() const;
  // The same for one name under a "*." host.
  void RouteClientHost(const std::string& host) const;

  // The certificate a TLS server presents (a file); empty for plain HTTP.
  QString certificate_path() const { return cert_path_; }
  // Every host registered, "*." ones included.
  std::vector<std::string> hosts() const;

  std::vector<RecordedRequest> Requests() const;
  void ClearRequests();

  // Set when the server stops; handlers that hold back a reply wait on it.
  Event& stopping() { return stopping_; }

 private:
  void Dispatch(const httplib::Request& request, httplib::Response& response);
  bool MakeCertificate();

  const Scheme scheme_;
  std::unique_ptr<httplib::Server> server_;
  std::thread listener_;
  int port_ = 0;
  Event stopping_{EventReset::kManual};
  QTemporaryDir cert_dir_;
  QString cert_path_;

  mutable std::mutex mutex_;
  std::map<std::tuple<std::string, std::string, std::string>, Handler> handlers_;
  std::vector<std::string> hosts_;
  std::vector<RecordedRequest> requests_;
};

// Ready-made replies, including the misbehaviours that are hard to provoke
// on a real service.
Handler Reply(int status, std::string body, std::string content_type = "text/html; charset=utf-8");
Handler RedirectTo(std::string location, int status = 302);
// Adds Set-Cookie headers, in this order, to what `inner` replies.
Handler WithCookies(std::vector<std::string> set_cookie_values, Handler inner);
// Sends the body in pieces, calling `between` before each piece after the first.
Handler InPieces(std::vector<std::string> pieces, std::function<void()> between);
// Never answers; lets go when the server stops (or after a minute).
Handler Silent(StandInServer& server);

}  // namespace prunko::sandbox
